// The end of impulse: its steps in order, the short form of a new game, the
// calendar and entrenchment.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "scenario/scenario_constants_layout.h"
#include "support/log_capture.h"
#include "turn/sea_graph.h"
#include "turn/fleet.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "world/commander.h"
#include "turn/game_steps.h"
#include "turn/gra_endturn.h"
#include "turn/turn_fixture.h"
#include "world/rules_fixture.h"

namespace tr {
namespace {

using test::LogCapture;

const std::vector<std::u16string_view> kFullRun = {
    u"Zaczynam wykonywanie konca impulsu",
    u"Zmniejszam liczniki zycia mulberry",
    u"Losuje pogode",
    u"Modyfikuje jednostkam bonusy z okopania",
    u"DowĂłdcy w drodze do sztabu docieraja do nich",
    u"Zaznaczam kazdemu panstwu rozne pierdoly",
    u"Odbudowuje zniszczenia produkcji",
    u"Odbudowuje zniszczenia z portow",
    u"Zeruje efektywnosci z eventu dla jedn ladowych",
    u"CHECKING FOR SURRENDERS...",
    u"CHECKING FOR SURRENDERS FINISHED",
    u"CHECKING FOR SIEGES...",
    u"CHECKING FOR SIEGES FINISHED",
    u"CALCULATING PRODUCTION...",
    u"CALCULATING PRODUCTION FINISHED.",
    u"CALCULATING UNITS UPKEEP COSTS...",
    u"CALCULATING UNITS UPKEEP COSTS FINISHED",
    u"CALCULATING RESEARCH...",
    u"CALCULATING RESEARCH FINISHED",
    u"CHECKING FOR GAME OVER...",
    u"CHECKING FOR GAME OVER FINISHED",
    u"Rozgrywam dodatkowe",
    u"Refreshuje wspolczynniki dla jednostek ladowych",
    u"Refreshuje wspolczynniki dla jednostek lotniczych",
    u"Refreshuje wspolczynniki dla jednostek morskich",
    u"Refreshuje wspolczynniki dla flot",
    u"Zmniejszam czas produkcji...",
    u"Czyszcze listy odkrytych jednostek",
    u"Odswiezam rozne wspolczynniki dla wszystkich krajow",
    u"Rozgrywam bitwy morskie",
    u"Zmieniam date",
    u"Koniec impulsu wykonany",
};

const std::vector<std::u16string_view> kFullOnly = {
    u"CHECKING FOR SURRENDERS...", u"CHECKING FOR SIEGES...", u"CALCULATING PRODUCTION...",
    u"CHECKING FOR GAME OVER...",  u"Rozgrywam dodatkowe",    u"Zmniejszam czas produkcji...",
    u"Rozgrywam bitwy morskie",
};

// Two alliances led by a human and a computer country, time left.
class EndOfImpulseTest : public testing::Test {
 protected:
  EndOfImpulseTest() : world_(3, 3, 2) {
    test::SetGameImpulses(game(), 3);
    game().turnsLeft = 5;
    game().turn = 1;
    world_.country(1).alliance = kAxisLeader;
    world_.country(1).humanControlled = 1;
    world_.country(2).alliance = kAlliesLeader;
  }
  cGame& game() { return world_.game(); }

  // The step lines that were logged, in the order they were logged.
  std::vector<std::u16string_view> StepLines(const std::vector<std::u16string_view>& steps) const {
    std::vector<std::u16string_view> seen;
    for (const auto& line : log_.lines()) {
      for (auto step : steps) {
        if (line == step) seen.push_back(step);
      }
    }
    return seen;
  }

  LogCapture log_;
  test::ScopedTurnSteps steps_;
  test::TestWorld world_;
};

// The game's start-up puts every subsystem's step in place: none of them is
// skipped at the end of an impulse.
TEST_F(EndOfImpulseTest, TheGamesOwnStepsAreAllInstalled) {
  InstallGameSteps();
  ComputeSupplyStep(game());
  ShowConvoyResults(game());
  RunSeaBattleGenerator(game());
  EXPECT_FALSE(log_.ContainsText(u"skipped"));
}

TEST_F(EndOfImpulseTest, FullRunLogsEveryStepInOrder) {
  EndOfImpulse(game(), 1);
  EXPECT_EQ(StepLines(kFullRun), kFullRun);
  EXPECT_TRUE(log_.Contains(u"Sea battles skipped: no sea-battle generator installed"));
  EXPECT_EQ(game().GetGameState(), kGameEndOfImpulse);

  // In the same month the Mulberry step does not run again.
  log_.Clear();
  EndOfImpulse(game(), 1);
  EXPECT_FALSE(log_.Contains(u"Zmniejszam liczniki zycia mulberry"));
  EXPECT_TRUE(log_.Contains(u"Koniec impulsu wykonany"));
}

// An installed generator fights the impulse's battles in their own state;
// one that leaves the game there hands the end of impulse back all the same.
TEST_F(EndOfImpulseTest, FullRunFightsTheSeaBattlesOnceInTheirState) {
  int runs = 0;
  SetSeaBattleStep([&](cGame& played) {
    ++runs;
    EXPECT_EQ(played.GetGameState(), kGameSeaBattles);
  });
  EndOfImpulse(game(), 1);
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(log_.Contains(u"Sea battles skipped: no sea-battle generator installed"));
  EXPECT_EQ(game().GetGameState(), kGameEndOfImpulse);
}

TEST_F(EndOfImpulseTest, ShortRunSkipsTheFullOnlyStepsAndStillAdvancesTheDate) {
  game().date = {1, 9, 1939};
  EndOfImpulse(game(), 0);
  EXPECT_TRUE(StepLines(kFullOnly).empty());
  EXPECT_EQ(game().date.impulse, 2);
  EXPECT_EQ(game().turn, 2);
  EXPECT_EQ(game().turnsLeft, 4);
  EXPECT_TRUE(log_.Contains(u"Koniec impulsu wykonany"));
}

struct DateCase {
  cGameDate before;
  int impulses;
  cGameDate after;
};
class AdvanceDateTest : public EndOfImpulseTest, public testing::WithParamInterface<DateCase> {};

TEST_P(AdvanceDateTest, MovesOneImpulse) {
  test::SetGameImpulses(game(), GetParam().impulses);
  game().date = GetParam().before;
  AdvanceDate(game());
  EXPECT_EQ(game().date.impulse, GetParam().after.impulse);
  EXPECT_EQ(game().date.month, GetParam().after.month);
  EXPECT_EQ(game().date.year, GetParam().after.year);
}

INSTANTIATE_TEST_SUITE_P(Calendar, AdvanceDateTest,
                         testing::Values(DateCase{{1, 9, 1939}, 3, {2, 9, 1939}},
                                         DateCase{{3, 9, 1939}, 3, {1, 10, 1939}},
                                         DateCase{{2, 12, 1940}, 2, {1, 1, 1941}},
                                         DateCase{{1, 12, 1940}, 1, {1, 1, 1941}}));

struct TrenchCase {
  const char* name;
  int startingPoints;
  int points;
  bool moved;
  int entrenchment;
  int expected;
};
class EntrenchmentTest : public EndOfImpulseTest, public testing::WithParamInterface<TrenchCase> {};

TEST_P(EntrenchmentTest, FollowsHowTheUnitSpentItsTurn) {
  const TrenchCase& c = GetParam();
  test::SetConstant(game(), 143, 1, 3);
  auto& unit = test::AddLandUnit(world_, 1, 1, 1);
  unit.startingActionPoints = c.startingPoints;
  unit.actionPoints = c.points;
  unit.movedThisTurn = c.moved ? 1 : 0;
  unit.trenchBonusMultiplier = c.entrenchment;
  unit.lastX = c.moved ? 0 : 1;
  unit.lastY = 1;
  UpdateEntrenchment(game());
  EXPECT_EQ(unit.trenchBonusMultiplier, c.expected);
  EXPECT_EQ(unit.lastX, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Units, EntrenchmentTest,
    testing::Values(TrenchCase{"NoPointsUnmoved", 0, 0, false, 1, 2}, TrenchCase{"FullPoints", 4, 4, false, 0, 1},
                    TrenchCase{"PointsUsedInPlace", 4, 2, false, 2, 2}, TrenchCase{"Moved", 4, 1, true, 2, 0},
                    TrenchCase{"Capped", 4, 4, false, 3, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EndOfImpulseTest, FreezeTimesRunDownBelowTenThousandAndStopAtZero) {
  const int before[] = {10000, 10001, 0, 1, 3, 9999};
  const int after[] = {10000, 10001, 0, 0, 2, 9998};
  std::vector<cJednostkaLadowa*> units;
  for (int i = 0; i < 6; ++i) {
    units.push_back(&test::AddLandUnit(world_, i % 3, i / 3, 1));
    units.back()->freezeTime = before[i];
  }
  RefreshUnitsAndFleets(game(), true);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(units[static_cast<std::size_t>(i)]->freezeTime, after[i]) << before[i];
}

TEST_F(EndOfImpulseTest, BombedProductionAndPortsComeBackOneAStepUpToTheirLimits) {
  cCity& bombed = test::AddCity(world_, 0, 0);
  bombed.bombedPP = 2;
  bombed.productionPoints = 5.0f;
  cCity& whole = test::AddCity(world_, 1, 0);
  whole.productionPoints = 5.0f;
  struct NodeCase {
    int type;
    int size;
    int max;
    int expected;
  };
  const NodeCase nodes[] = {{kSeaNodePort, 1, 3, 2}, {kSeaNodePort, 3, 3, 3}, {kSeaNodeOpenSea, 0, 2, 0}};
  for (const NodeCase& c : nodes) {
    sWezelGrafuMorz& node = game().seaGraph.nodes.emplace_back();
    node.id = static_cast<int>(game().seaGraph.nodes.size());
    node.type = c.type;
    node.portSize = c.size;
    node.maxPortSize = c.max;
  }
  RepairProductionAndPorts(game());
  EXPECT_EQ(bombed.bombedPP, 1);
  EXPECT_FLOAT_EQ(bombed.productionPoints, 6.0f);
  EXPECT_EQ(whole.bombedPP, 0);
  EXPECT_FLOAT_EQ(whole.productionPoints, 5.0f);
  for (std::size_t i = 0; i < std::size(nodes); ++i) EXPECT_EQ(game().seaGraph.nodes[i].portSize, nodes[i].expected) << i;
}

TEST_F(EndOfImpulseTest, CommandersOnTheWayArriveAndAssignedOnesStay) {
  const int states[] = {kCommanderOnHisWay, kCommanderAssigned, kCommanderNotAssigned};
  for (int i = 0; i < 3; ++i) {
    auto commander = std::make_unique<sCommander>();
    commander->id = i + 1;
    commander->state = states[i];
    game().commanders.push_back(std::move(commander));
  }
  EndOfImpulse(game(), 0);
  EXPECT_EQ(game().commanders[0]->state, kCommanderNotAssigned);
  EXPECT_EQ(game().commanders[1]->state, kCommanderAssigned);
  EXPECT_EQ(game().commanders[2]->state, kCommanderNotAssigned);
}

// Every mark that limits a unit, ship, fleet or country to once an impulse
// is cleared for the next impulse, in the short run as in the full one.
TEST_F(EndOfImpulseTest, EveryOnceAnImpulseMarkIsClearedForTheNextImpulse) {
  cCountry& country = world_.country(2);
  for (std::uint8_t* mark : {&country.finishedTurn, &country.doneDelayWarEntry, &country.doneHasteWarEntry,
                             &country.doneTurnInOrientation, &country.doneExertPressureAxis,
                             &country.doneExertPressureAllied, &country.doneExertPressureComintern}) {
    *mark = 1;
  }
  cJednostkaLadowa& land = test::AddLandUnit(world_, 0, 0, 1);
  cJednostkaLotnicza& air = test::AddAirUnit(world_, 1, 0, 1, kFighter, 10);
  for (cJednostka* unit : std::initializer_list<cJednostka*>{&land, &air}) {
    unit->attacked = 1;
    unit->wasAttacked = 1;
    unit->newEnemyRevealed = 1;
  }
  land.eventsEffect = 3;
  land.shoreBombardmentEffect = 0.5f;
  air.airReconDone = 1;
  auto ship = std::make_unique<cJednostkaMorska>();
  ship->owner = 1;
  ship->shoreBombardmentDone = ship->airstrikeDone = ship->reconDone = 1;
  ship->canBeRepaired = 0;
  cJednostkaMorska& cruiser = *ship;
  game().navalUnits.push_back(std::move(ship));
  auto fleet = std::make_unique<cFleet>();
  fleet->hasMoved = 1;
  cFleet& moved = *fleet;
  game().fleets.push_back(std::move(fleet));
  country.reconSpottedUnits.push_back(&land);

  EndOfImpulse(game(), 0);
  for (std::uint8_t mark : {country.finishedTurn, country.doneDelayWarEntry, country.doneHasteWarEntry,
                            country.doneTurnInOrientation, country.doneExertPressureAxis,
                            country.doneExertPressureAllied, country.doneExertPressureComintern}) {
    EXPECT_EQ(mark, 0);
  }
  for (const cJednostka* unit : std::initializer_list<const cJednostka*>{&land, &air}) {
    EXPECT_EQ(unit->attacked, 0);
    EXPECT_EQ(unit->wasAttacked, 0);
    EXPECT_EQ(unit->newEnemyRevealed, 0);
  }
  EXPECT_EQ(land.eventsEffect, 0);
  EXPECT_FLOAT_EQ(land.shoreBombardmentEffect, 0.0f);
  EXPECT_EQ(air.airReconDone, 0);
  EXPECT_EQ(cruiser.shoreBombardmentDone, 0);
  EXPECT_EQ(cruiser.airstrikeDone, 0);
  EXPECT_EQ(cruiser.reconDone, 0);
  EXPECT_EQ(cruiser.canBeRepaired, 1);
  EXPECT_EQ(moved.hasMoved, 0);
  EXPECT_TRUE(country.reconSpottedUnits.empty());
}

// Land and air units stand under the commander of their forces at the
// nearest headquarters when the next impulse begins.
TEST_F(EndOfImpulseTest, LandAndAirUnitsTakeTheCommanderOfTheirForcesNearby) {
  game().constants.SetSlot(consts_layout::kCommandRadius, 3);
  game().constants.SetSlot(consts_layout::kCommandRangeConstant, 50);
  game().constants.SetSlot(consts_layout::kCommanderSkillFactor, 20);
  game().constants.SetSlot(consts_layout::kCommanderExperienceFactor, 10);
  for (int forces : {kCategoryLand, kCategoryAir}) {
    auto commander = std::make_unique<sCommander>();
    commander->id = 7 + forces;
    commander->countryId = 1;
    commander->skill = 50;
    commander->experience = 20;
    commander->type = forces;
    commander->state = kCommanderAssigned;
    cJednostkaLadowa& headquarters = test::AddLandUnit(world_, forces * 2, forces * 2, 1);
    headquarters.attachedCommander = commander.get();
    commander->headquarters = &headquarters;
    game().commanders.push_back(std::move(commander));
  }
  cJednostkaLadowa& land = test::AddLandUnit(world_, 1, 0, 1);
  cJednostkaLotnicza& air = test::AddAirUnit(world_, 1, 2, 1, kFighter, 10);
  land.commanderId = air.commanderId = -1;
  EndOfImpulse(game(), 0);
  EXPECT_EQ(land.commanderId, 7);
  EXPECT_EQ(air.commanderId, 8);
}

// The weather is drawn from the chances of the month the impulse ends in:
// only that month is certain winter here, the months around it certain mud.
TEST_F(EndOfImpulseTest, TheWeatherIsDrawnForTheMonthThatEnds) {
  game().date = {1, 3, 1940};
  sHex& hex = world_.hex(0, 0);
  hex.takesWeather = 1;
  hex.mudChance.fill(100);
  hex.winterChance.fill(0);
  hex.winterChance[2] = 100;
  EndOfImpulse(game(), 0);
  EXPECT_EQ(hex.weather, 1);
  game().date = {1, 4, 1940};
  EndOfImpulse(game(), 0);
  EXPECT_EQ(hex.weather, 2);
}

TEST_F(EndOfImpulseTest, MulberriesAgeOnceAMonthFromTheFirstEndOfImpulseOfTheGameObject) {
  game().date = {1, 9, 1939};
  cMulberry& lastMonth = world_.PlaceLandUnit<cMulberry>(1, 0, 0);
  lastMonth.remainingTime = 1;
  cMulberry& twoMonths = world_.PlaceLandUnit<cMulberry>(1, 1, 0);
  twoMonths.remainingTime = 2;
  EndOfImpulse(game(), 0);
  ASSERT_EQ(game().landUnits.size(), 1u);
  EXPECT_EQ(game().landUnits.front().get(), &twoMonths);
  EXPECT_EQ(world_.hex(0, 0).unit, nullptr);
  EXPECT_EQ(twoMonths.remainingTime, 1);
  EndOfImpulse(game(), 0);  // the same month again
  ASSERT_EQ(game().landUnits.size(), 1u);
  EXPECT_EQ(twoMonths.remainingTime, 1);
  game().date = {1, 10, 1939};
  EndOfImpulse(game(), 0);
  EXPECT_TRUE(game().landUnits.empty());
  EXPECT_EQ(world_.hex(1, 0).unit, nullptr);
}

TEST_F(EndOfImpulseTest, ReserveProductionCountsDownOnlyInAFullRun) {
  auto reserve = std::make_unique<cJednostkaLadowa>();
  reserve->owner = 1;
  reserve->availableInTurns = 2;
  cJednostka& waiting = *reserve;
  game().reservePool.push_back(std::move(reserve));
  auto ready = std::make_unique<cJednostkaLadowa>();
  ready->owner = 1;
  cJednostka& readyNow = *ready;
  game().reservePool.push_back(std::move(ready));
  auto ship = std::make_unique<cJednostkaMorska>();
  ship->owner = 1;
  ship->availableInTurns = 1;
  cJednostkaMorska& dock = *ship;
  game().navalReserve.push_back(std::move(ship));

  RefreshUnitsAndFleets(game(), false);
  EXPECT_EQ(waiting.availableInTurns, 2);
  EXPECT_EQ(dock.availableInTurns, 1);
  RefreshUnitsAndFleets(game(), true);
  EXPECT_EQ(waiting.availableInTurns, 1);
  EXPECT_EQ(readyNow.availableInTurns, 0);
  EXPECT_EQ(dock.availableInTurns, 0);
  RefreshUnitsAndFleets(game(), true);
  EXPECT_EQ(dock.availableInTurns, 0);
}

// With 3 impulses a month a country at war grows its war economy at the end
// of turns 1, 4, 7...: a regime (nationalist) by 5, others by 2, both capped
// at 100 from below; at 100 or more by 1.5 without a cap. Country 3 is at
// war with nobody.
struct WarEconomyCase {
  const char* name;
  int turn;
  bool full;
  float regime;
  float other;
  float regimeAfter;
  float otherAfter;
};
class WarEconomyTest : public testing::TestWithParam<WarEconomyCase> {};

TEST_P(WarEconomyTest, GrowsOnTheMonthlyImpulseOfAFullRun) {
  const WarEconomyCase& c = GetParam();
  test::TestWorld world(3, 3, 3);
  cGame& game = world.game();
  test::SetGameImpulses(game, 3);
  test::SetConstant(game, 115, 4, 2.0);
  test::SetConstant(game, 115, 5, 5.0);
  test::SetConstant(game, 115, 7, 1.5);
  test::SetConstant(game, 115, 6, 3.5);
  test::SetWar(world, 1, 2);
  // Unrest falls every impulse, run and month alike, and stops at 0.
  world.country(1).socialUnrest = 40.0f;
  world.country(2).socialUnrest = 2.0f;
  world.country(3).socialUnrest = 77.0f;
  world.country(1).orientation = kNationalistRegime;
  world.country(1).warEconomy = c.regime;
  world.country(2).warEconomy = c.other;
  world.country(3).orientation = kNationalistRegime;
  world.country(3).warEconomy = 50.0f;
  game.turn = c.turn;
  RefreshCountries(game, c.full);
  EXPECT_FLOAT_EQ(world.country(1).warEconomy, c.regimeAfter);
  EXPECT_FLOAT_EQ(world.country(2).warEconomy, c.otherAfter);
  EXPECT_FLOAT_EQ(world.country(3).warEconomy, 50.0f);
  EXPECT_FLOAT_EQ(world.country(1).socialUnrest, 36.5f);
  EXPECT_FLOAT_EQ(world.country(2).socialUnrest, 0.0f);
  EXPECT_FLOAT_EQ(world.country(3).socialUnrest, 73.5f);
}

INSTANTIATE_TEST_SUITE_P(
    Schedule, WarEconomyTest,
    testing::Values(WarEconomyCase{"FirstTurn", 1, true, 50, 50, 55, 52},
                    WarEconomyCase{"SecondTurn", 2, true, 50, 50, 50, 50},
                    WarEconomyCase{"ThirdTurn", 3, true, 50, 50, 50, 50},
                    WarEconomyCase{"FourthTurn", 4, true, 50, 50, 55, 52},
                    WarEconomyCase{"SeventhTurn", 7, true, 50, 50, 55, 52},
                    WarEconomyCase{"ShortRun", 1, false, 50, 50, 50, 50},
                    WarEconomyCase{"CappedFromBelow", 1, true, 98, 99.5f, 100, 100},
                    WarEconomyCase{"AtOrAboveAHundred", 1, true, 100, 120, 101.5f, 121.5f}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EndOfImpulseTest, NewLeaderIsTheStrongestActiveMemberAndTheLaterOnATie) {
  test::TestWorld world(2, 2, 5);
  cGame& g = world.game();
  const int strengths[] = {30, 30, 50, -1, 40};
  const int alliances[] = {kAxis, kAxis, kAxis, kAxis, kAllies};
  for (int id = 1; id <= 5; ++id) {
    world.country(id).alliance = alliances[id - 1];
    world.country(id).politicalStrength = strengths[id - 1];
  }
  world.country(3).isActive = 0;
  EXPECT_EQ(ChooseNewAllianceLeader(g, kAxisLeader), &world.country(2));
  EXPECT_EQ(ChooseNewAllianceLeader(g, kAxis), &world.country(2));
  EXPECT_EQ(ChooseNewAllianceLeader(g, kComintern), nullptr);
  EXPECT_TRUE(log_.Contains(u"Could not determine new leader - no countries left in alliance!"));
  world.country(1).politicalStrength = -1;
  world.country(2).politicalStrength = -1;
  EXPECT_EQ(ChooseNewAllianceLeader(g, kAxisLeader), nullptr);
}

TEST_F(EndOfImpulseTest, AnAllianceWhoseMembersAllHaveNoStrengthStillGetsTheLastAsLeader) {
  test::TestWorld world(2, 2, 3);
  for (int id = 1; id <= 3; ++id) {
    world.country(id).alliance = kAllies;
    world.country(id).politicalStrength = 0;
  }
  EXPECT_EQ(ChooseNewAllianceLeader(world.game(), kAlliesLeader), &world.country(3));
}

}  // namespace
}  // namespace tr
