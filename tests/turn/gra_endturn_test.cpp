// The end of impulse: its steps in order, the short form of a new game, the
// calendar and entrenchment.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "support/log_capture.h"
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

}  // namespace
}  // namespace tr
