#include <gtest/gtest.h>

#include "foundation/fatal.h"
#include "support/log_capture.h"
#include "support/world_builder.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "world/object_numbers.h"
#include "world/value_limits.h"
#include "world/game_services.h"
#include "world/gra.h"
#include "world/headless_presentation.h"

namespace tr {
namespace {

int CountLines(const test::LogCapture& log, std::u16string_view line) {
  int n = 0;
  for (const auto& l : log.lines()) n += l == line;
  return n;
}

TEST(Game, EmptyGame) {
  test::LogCapture log;
  cGame game;
  EXPECT_EQ(game.GetGameState(), kGameLoading);
  EXPECT_EQ(game.lastMonthProcessed, -666);
  ASSERT_EQ(game.flags.size(), 40000u);
  EXPECT_EQ(std::count(game.flags.begin(), game.flags.end(), 0), 40000);
  EXPECT_EQ(game.pbemGameName, u"unknown");
  EXPECT_EQ(game.map, nullptr);
  EXPECT_TRUE(log.lines().empty());  // the constructor's state 0 has no log line
}

TEST(GameState, PauseAndResume) {
  test::TestWorld world(1, 1, 1);
  cHeadlessPresentation screen;
  ScopedPresentation installed(screen);
  world.game().StoreGameState(kGameHumanIdle);
  test::LogCapture log;
  world.game().Pause();
  EXPECT_EQ(world.game().GetGameState(), kGamePaused);
  world.game().Resume();
  EXPECT_EQ(world.game().GetGameState(), kGameHumanIdle);
  EXPECT_EQ(log.lines(), (std::vector<std::u16string>{u"---- Game state = 2", u"---- Game state = 7"}));
  EXPECT_EQ(screen.events(), (std::vector<std::u16string>{u"menu-callbacks", u"game-callbacks"}));
}

struct AnimationCase {
  eGameState before;
  eGameState after;
};

class GameStateAnimationEnd : public testing::TestWithParam<AnimationCase> {};

TEST_P(GameStateAnimationEnd, LowersMovingStatesWithoutALogLine) {
  cGame game;
  game.StoreGameState(GetParam().before);
  test::LogCapture log;
  game.EndMoveAnimationState();
  EXPECT_EQ(game.GetGameState(), GetParam().after);
  EXPECT_TRUE(log.lines().empty());
}

INSTANTIATE_TEST_SUITE_P(States, GameStateAnimationEnd,
                         testing::Values(AnimationCase{kGameHumanMoving, kGameHumanIdle},
                                         AnimationCase{kGameComputerMoving, kGameComputerTurn},
                                         AnimationCase{kGameHumanIdle, kGameHumanIdle},
                                         AnimationCase{kGamePaused, kGamePaused}));

TEST(GameTeardown, StateFifteenIsLoggedBeforeTheWorkerStops) {
  cHeadlessPresentation screen;
  ScopedPresentation installed(screen);
  test::LogCapture log;
  test::TestWorld world(1, 1, 2);
  world.country(1).flagTexture = 7;
  cGame* game = &world.game();
  std::vector<std::u16string> linesWhenStopped;
  eGameState stateWhenStopped = kGameLoading;
  SetWorkerStopService([&] {
    linesWhenStopped = log.lines();
    stateWhenStopped = game->GetGameState();
  });
  world.DestroyGame();
  SetWorkerStopService(nullptr);
  ASSERT_FALSE(linesWhenStopped.empty());
  EXPECT_EQ(linesWhenStopped.back(), u"---- Game state = 15");
  EXPECT_EQ(stateWhenStopped, kGameTeardown);
  EXPECT_EQ(gGame, nullptr);
  const auto events = screen.events();
  EXPECT_NE(std::find(events.begin(), events.end(), u"release-game-textures"), events.end());
  EXPECT_NE(std::find(events.begin(), events.end(), u"release-texture 7"), events.end());
  EXPECT_NE(std::find(events.begin(), events.end(), u"map-fonts-lost"), events.end());
}

TEST(GameTeardown, FatalExitTearsDownOnce) {
  test::LogCapture log;
  test::TestWorld world(1, 1, 1);
  EXPECT_THROW(ExitDestroyingGame(1), FatalExitError);
  EXPECT_EQ(world.game().GetGameState(), kGameTeardown);
  world.DestroyGame();
  EXPECT_EQ(CountLines(log, u"---- Game state = 15"), 1);
}

TEST(Game, CountryLookup) {
  test::TestWorld world(1, 1, 2);
  test::LogCapture log;
  EXPECT_EQ(world.game().GetCountry(0), nullptr);
  EXPECT_TRUE(log.lines().empty());
  EXPECT_EQ(world.game().GetCountry(2), &world.country(2));
  EXPECT_EQ(world.game().GetCountry(3), nullptr);
  EXPECT_EQ(world.game().GetCountry(-1), nullptr);
  EXPECT_EQ(CountLines(log, u"ERROR: Country ID 3 does not exist (2 countries)"), 1);
}

// Below the top the counter moves on; at it a new ship takes the lowest
// number no ship holds, in a fleet or in the reserve.
TEST(ObjectNumbers, AtTheTopANewShipTakesTheLowestFreeNumber) {
  test::TestWorld world(2, 2, 2);
  cGame& game = world.game();
  for (const int id : {3, 1}) {
    auto ship = std::make_unique<cJednostkaMorska>();
    ship->id = id;
    game.navalUnits.push_back(std::move(ship));
  }
  for (const int id : {2, 5}) {
    game.navalReserve.push_back(std::make_unique<cJednostkaMorska>());
    game.navalReserve.back()->id = id;
  }
  test::LogCapture log;
  game.nextNavalUnitId = kMaxObjectNumber - 1;
  EXPECT_EQ(NewShipNumber(game), kMaxObjectNumber);
  EXPECT_EQ(CountLines(log, u"The ship numbers reached 999999999; the next ones are free numbers given again"), 1);
  EXPECT_EQ(NewShipNumber(game), 4);
  EXPECT_EQ(game.nextNavalUnitId, kMaxObjectNumber);
}

// Land and air units waiting in the reserve hold their numbers too; each
// kind's search passes over only its own kind's reserve.
TEST(ObjectNumbers, AtTheTopANewLandOrAirUnitPassesOverItsKindsReserve) {
  test::TestWorld world(2, 2, 2);
  cGame& game = world.game();
  for (const int id : {1, 3}) {
    game.landUnits.push_back(std::make_unique<cJednostkaLadowa>());
    game.landUnits.back()->id = id;
  }
  game.airUnits.push_back(std::make_unique<cJednostkaLotnicza>());
  game.airUnits.back()->id = 2;
  for (const int id : {2, 6}) {
    game.reservePool.push_back(std::make_unique<cJednostkaLadowa>());
    game.reservePool.back()->id = id;
  }
  for (const int id : {1, 4}) {
    game.reservePool.push_back(std::make_unique<cJednostkaLotnicza>());
    game.reservePool.back()->id = id;
  }
  game.nextLandUnitId = kMaxObjectNumber;
  game.nextAirUnitId = kMaxObjectNumber;
  EXPECT_EQ(NewLandUnitNumber(game), 4);
  EXPECT_EQ(NewAirUnitNumber(game), 3);
  // Land units aboard either kind of ship hold their numbers as well.
  game.aboardUnitsA.push_back(std::make_unique<cJednostkaLadowa>());
  game.aboardUnitsA.back()->id = 4;
  EXPECT_EQ(NewLandUnitNumber(game), 5);
  game.aboardUnitsB.push_back(std::make_unique<cJednostkaLadowa>());
  game.aboardUnitsB.back()->id = 5;
  EXPECT_EQ(NewLandUnitNumber(game), 7);
}

// After a scenario load the ships are sorted and their counter stands two
// past the last ship's number, unless a ship of the reserve has a higher one;
// land and air counters stand one past the highest of their kind anywhere.
TEST(ObjectNumbers, AScenarioLoadSetsEachCounterPastTheHighestNumber) {
  test::TestWorld world(2, 2, 2);
  cGame& game = world.game();
  for (const int id : {9, 4}) {
    game.navalUnits.push_back(std::make_unique<cJednostkaMorska>());
    game.navalUnits.back()->id = id;
  }
  game.landUnits.push_back(std::make_unique<cJednostkaLadowa>());
  game.landUnits.back()->id = 5;
  game.reservePool.push_back(std::make_unique<cJednostkaLadowa>());
  game.reservePool.back()->id = 8;
  game.airUnits.push_back(std::make_unique<cJednostkaLotnicza>());
  game.airUnits.back()->id = 7;
  game.InitNextIds(false);
  EXPECT_EQ(game.nextNavalUnitId, 11);
  EXPECT_EQ(game.nextLandUnitId, 9);
  EXPECT_EQ(game.nextAirUnitId, 8);
  game.navalReserve.push_back(std::make_unique<cJednostkaMorska>());
  game.navalReserve.back()->id = 13;
  game.InitNextIds(false);
  EXPECT_EQ(game.nextNavalUnitId, 14);
  // A save that keeps its numbering starts each counter at the highest
  // number in use, for its own counter from Info.ini to raise.
  game.nextLandUnitId = 2;
  game.nextAirUnitId = 3;
  game.InitNextIds(true);
  EXPECT_EQ(game.nextNavalUnitId, 13);
  EXPECT_EQ(game.nextLandUnitId, 8);
  EXPECT_EQ(game.nextAirUnitId, 7);
}

// The tests of the rules read a text box's title, text and layout from the
// headless screen's record; waiting for the box only pushes it there.
TEST(HeadlessPresentation, RecordsATextBoxWithItsTextAndLayout) {
  cHeadlessPresentation screen;
  screen.ShowTextInLayoutAndWait(u"Raiders", u"Two ships sunk", 37);
  EXPECT_EQ(screen.events(), (std::vector<std::u16string>{u"text-dialog Raiders|Two ships sunk|37"}));
}

}  // namespace
}  // namespace tr
