#include "scenario/scenario_constants.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "foundation/fatal.h"
#include "foundation/game_date.h"
#include "foundation/paths.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

class ScenarioConstantsTest : public testing::Test {
 protected:
  void SetUp() override { SetGameRoot(dir_.path()); }
  void TearDown() override { SetGameRoot({}); }

  // 184 data lines of "0", with some lines replaced.
  static std::string File(const std::map<int, std::string>& lines, const std::string& end = "\r\n") {
    std::string text = "#consts\r\n";
    for (int line = 1; line <= 184; ++line) {
      const auto it = lines.find(line);
      text += (it == lines.end() ? "0" : it->second) + end;
    }
    return text;
  }

  sScenarioConstants Load(const std::string& bytes) {
    dir_.Write("data/scenarios/test/consts.csv", bytes);
    sScenarioConstants constants;
    LoadScenarioConstants(constants, u"test");
    return constants;
  }

  test::TempDir dir_;
};

TEST_F(ScenarioConstantsTest, CommentsDoNotCountButABareLineBreakDoes) {
  std::string text = "#header\r\n";
  for (int line = 1; line <= 126; ++line) text += "0\r\n";
  text += "# a comment between data lines\r\n12;;5\r\n";
  EXPECT_EQ(Load(text).CommandRadius(), 12);

  std::string shifted = "#header\r\n";
  for (int line = 1; line <= 125; ++line) shifted += "0\r\n";
  shifted += "\r\n12;;5\r\n";
  const sScenarioConstants c = Load(shifted);
  EXPECT_EQ(c.CommandRadius(), 12);
  EXPECT_EQ(c.CommandRangeConstant(), 5);
  EXPECT_EQ(c.Int(127, 2), 5);
}

TEST_F(ScenarioConstantsTest, LineEndsOfEveryKindReadAlike) {
  for (const std::string end : {"\r\n", "\r", "\n"}) {
    const sScenarioConstants c = Load(File({{127, "12;;5"}, {73, "3;9;2;1;0;4"}}, end));
    EXPECT_EQ(c.CommandRadius(), 12);
    EXPECT_EQ(c.CommandRangeConstant(), 5);
    EXPECT_EQ(c.ShipHitPoints(41), 9);
  }
}

TEST_F(ScenarioConstantsTest, TheCalendarTakesTheImpulsesOfLineOne) {
  Load(File({{1, "4;4;4;4;3;3;3;3;2;2;2;2"}}));
  EXPECT_EQ(ImpulsesInMonth(1), 4);
  EXPECT_EQ(ImpulsesInMonth(12), 2);
  SetImpulsesPerMonth({});
}

TEST_F(ScenarioConstantsTest, LabelledAndUnlabelledLines) {
  const sScenarioConstants c = Load(File({{19, "die 1;10;20;30;40;50;60;70"}, {34, "1;2;3;4;5;6"},
                                          {73, "3;9;2;1;0;4"}, {134, "2.9"}, {76, "x;0.1;0.2;0.3;0.4;0.5;0.6"}}));
  for (int column = 1; column <= 7; ++column) EXPECT_EQ(c.DefenderLossPercent(1, column), column * 10);
  for (int level = 0; level <= 5; ++level) EXPECT_EQ(c.AttackActionPointCost(level), level + 1);
  EXPECT_EQ(c.ShipHitPoints(40), 3);
  EXPECT_EQ(c.ShipHitPoints(45), 4);
  EXPECT_EQ(c.ShipHitPointsMax(), 9);
  EXPECT_EQ(c.ParadropInterval(), 2);
  EXPECT_DOUBLE_EQ(c.NavalFactor(40), 0.1);
  EXPECT_EQ(c.Int(19, 1), 0);  // the label is stored nowhere
}

// Every data line but 158 has a place: a line left out of the layout would
// leave its rule at 0 whatever the scenario says.
TEST_F(ScenarioConstantsTest, EveryLineButOneIsStoredAndTheWeatherLinesEachReadTheirOwn) {
  for (int line = 1; line <= 184; ++line) {
    bool stored = false;
    for (int field = 0; field <= 40 && !stored; ++field) stored = sScenarioConstants::SlotOf(line, field) >= 0;
    EXPECT_EQ(stored, line != 158) << "line " << line;
  }
  const sScenarioConstants c = Load(File({{138, "0.25"}, {139, "0.5"}, {140, "0.75"}, {141, "1.5"}}));
  EXPECT_FLOAT_EQ(c.WinterBattlePercent(), 0.25f);
  EXPECT_FLOAT_EQ(c.WinterMovePercent(), 0.5f);
  EXPECT_FLOAT_EQ(c.MudBattlePercent(), 0.75f);
  EXPECT_FLOAT_EQ(c.MudMovePercent(), 1.5f);
}

TEST_F(ScenarioConstantsTest, ShipsWithoutHitPointsStillGiveAMaximumOfOne) {
  EXPECT_EQ(Load(File({{73, "0;0;0;0;0;0"}})).ShipHitPointsMax(), 1);
}

TEST_F(ScenarioConstantsTest, SupplyLevelsComeFromSegments) {
  const sScenarioConstants c = Load(File({{49, "77"},
                                          {50, "bounds;50;40;30;20;10"},
                                          {51, "steps;1;2;3;4;5"},
                                          {52, "ap;10;20;30;40;50"},
                                          {53, "air;1;1;1;1;1"},
                                          {55, "a;7"}}));
  EXPECT_EQ(c.SupplyCombatPercent(0), 77);
  EXPECT_EQ(c.SupplyCombatPercent(50), 99);
  EXPECT_EQ(c.SupplyCombatPercent(41), 90);
  EXPECT_EQ(c.SupplyCombatPercent(40), 88);
  EXPECT_EQ(c.SupplyCombatPercent(31), 70);
  EXPECT_EQ(c.SupplyCombatPercent(1), 100 - 10 * (1 + 2 + 3 + 4 + 5));
  EXPECT_EQ(c.SupplyApReductionPercent(45), 10);
  EXPECT_EQ(c.SupplyApReductionPercent(35), 20);
  EXPECT_EQ(c.SupplyApReductionPercent(5), 50);
  // Line 54 defaults to 100 in every segment.
  EXPECT_EQ(c.SupplyBombardedPercent(5), 100);
  EXPECT_EQ(c.SupplyReplacementValueA(50), 7);
  EXPECT_EQ(c.SupplyReplacementValueA(40), 0);
  EXPECT_EQ(c.SupplyApReductionPercent(0), 100);
  EXPECT_EQ(c.SupplyAirModifier(0), -4);
  EXPECT_EQ(c.SupplyBombardedPercent(0), 50);
}

TEST_F(ScenarioConstantsTest, WithoutBoundsEveryLevelTakesTheLastSegment) {
  const sScenarioConstants c = Load(File({{52, "ap;1;2;3;4;5;6;7;8;9;10"}}));
  EXPECT_EQ(c.SupplyApReductionPercent(1), 10);
  EXPECT_EQ(c.SupplyApReductionPercent(50), 10);
  EXPECT_EQ(c.SupplyBombardedPercent(50), 100);
}

TEST_F(ScenarioConstantsTest, FallingBoundsFillLevelsWithTheirOwnSegment) {
  const sScenarioConstants c = Load(File({{50, "b;50;40;30;20;10;0;0;0;0;0"},
                                          {52, "ap;10;20;30;40;50"}}));
  EXPECT_EQ(c.SupplyApReductionPercent(50), 10);
  EXPECT_EQ(c.SupplyApReductionPercent(40), 20);
  EXPECT_EQ(c.SupplyApReductionPercent(1), 50);
}

struct AliasCase {
  int line;
  std::string text;
  int (*read)(const sScenarioConstants&);
  int expected;
};

class ScenarioConstantsAliasTest : public ScenarioConstantsTest,
                                   public testing::WithParamInterface<AliasCase> {};

TEST_P(ScenarioConstantsAliasTest, SharedSlotsGiveTheSameValue) {
  const AliasCase& param = GetParam();
  EXPECT_EQ(param.read(Load(File({{param.line, param.text}}))), param.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Aliases, ScenarioConstantsAliasTest,
    testing::Values(
        AliasCase{70, "x;1;2;3;4;5;6;33", [](const sScenarioConstants& c) { return c.StrategicMoveCost(20); }, 33},
        AliasCase{71, "44", [](const sScenarioConstants& c) { return c.StrategicMoveCost(21); }, 44},
        AliasCase{72, "55;1;1;1;1;1;1;1", [](const sScenarioConstants& c) { return c.StrategicMoveCost(22); }, 55},
        AliasCase{72, "55;2;3;4;5;6;7;48", [](const sScenarioConstants& c) { return c.Int(72, 8); }, 48},
        AliasCase{150, "1;1;1;1;2.5", [](const sScenarioConstants& c) { return int(c.AirRangeFactor(0) * 10); }, 25},
        AliasCase{117, "x;1;2;3;4;5;6;7;8;9;10;11;12;1.5",
                  [](const sScenarioConstants& c) { return int(c.ShoreBombardmentExponent() * 10); }, 15},
        AliasCase{117, "x;1;2;3;4;5;6;7;8;9;10;11;12;1.5",
                  [](const sScenarioConstants& c) { return int(c.RetreatColumnFactor(0) * 10); }, 15},
        AliasCase{175, "6", [](const sScenarioConstants& c) { return c.NuclearStrikeRadius(); }, 6},
        AliasCase{175, "6", [](const sScenarioConstants& c) { return c.StrategicBombingLoss(0); }, 6},
        AliasCase{8, "4;5;6", [](const sScenarioConstants& c) { return c.AirActionPoints(22); }, 6},
        AliasCase{14, "100;80;60", [](const sScenarioConstants& c) { return c.MoveCost(0, 0); }, 60},
        AliasCase{154, "1;2;3;4;5;6;7;8;9;10;11;12;13;14",
                  [](const sScenarioConstants& c) { return c.ShipSupplyTable(1) * 100 + c.PurchaseTable(1); }, 1101},
        AliasCase{15, "land;1;2;3;4;5;6;7;8;9",
                  [](const sScenarioConstants& c) { return c.MoveCostDefault(0) * 10 + c.ZocMoveSurcharge(0); }, 89},
        AliasCase{166, "1;2;3;4", [](const sScenarioConstants& c) { return c.SeaGraphFactor(); }, 4}));

TEST_F(ScenarioConstantsTest, ShortAndOverlongLinesStayInsideTheTable) {
  std::string open_row = "x";
  for (int i = 0; i < 400; ++i) open_row += ";7";
  const sScenarioConstants c = Load(File({{15, "land;3"}, {13, open_row}, {127, "1;2;3;4;5;6;7;8"}}));
  // Line 13 ran on over line 14 into the movement costs; short line 15 leaves the rest as it was.
  EXPECT_EQ(c.MoveCost(0, 1), 3);
  EXPECT_EQ(c.MoveCost(0, 2), 7);
  EXPECT_EQ(c.MoveCostDefault(0), 7);
  EXPECT_EQ(c.SeaBattleChanceLimit(), 0);  // line 127 is not open
  EXPECT_EQ(c.Slot(consts_layout::kSlotCount), 0.0);
  // Nor is line 18, after the movement costs: its stray value goes nowhere.
  EXPECT_EQ(Load(File({{18, "95;41"}, {19, "3"}})).DefenderLossPercent(1, 1), 0);
}

TEST_F(ScenarioConstantsTest, OpenRowsRunIntoTheNextRow) {
  const sScenarioConstants c = Load(File({{2, "lvl0;1;2;3;4;5;6;7;8;9"}, {3, "lvl1"}}));
  EXPECT_EQ(c.LandActionPoints(0, 6), 7);
  EXPECT_EQ(c.LandActionPoints(1, 0), 8);
  EXPECT_EQ(c.LandActionPoints(1, 1), 9);
  EXPECT_EQ(c.Int(2, 10), 9);
}

TEST_F(ScenarioConstantsTest, LinesAfterTheLastAndLine158StoreNothing) {
  std::string text = File({{158, "99"}});
  text += "12345\r\n";
  const sScenarioConstants c = Load(text);
  EXPECT_EQ(sScenarioConstants::SlotOf(158, 1), -1);
  EXPECT_EQ(c.InvasionFactor(), 0.0f);
  EXPECT_EQ(c.FleetRangeBase(), 0);
}

TEST_F(ScenarioConstantsTest, NumbersAreReadAsFarAsTheyGo) {
  const sScenarioConstants c = Load(File({{1, " 4;5x;abc;-2;+3"}, {31, "1.5e1;2.;.25;x"}}));
  EXPECT_EQ(c.ImpulsesPerMonth(1), 4);
  EXPECT_EQ(c.ImpulsesPerMonth(2), 5);
  EXPECT_EQ(c.ImpulsesPerMonth(3), 0);
  EXPECT_EQ(c.ImpulsesPerMonth(4), -2);
  EXPECT_EQ(c.ImpulsesPerMonth(5), 3);
  EXPECT_FLOAT_EQ(c.ArmourAttackFactor(), 15.0f);
  EXPECT_FLOAT_EQ(c.NonLandDefenderAttackFactor(), 2.0f);
  EXPECT_FLOAT_EQ(c.DirectionsFactor(1), 0.25f);
}

// The full supply level (line 48) is one of the levels the unit files read
// back. The supply's share of action points (line 52) and the air radius factors
// (line 151) multiply other constants of up to 100000, and the move and
// transport costs (lines 68-70) are paid and refunded: they are held to what
// their rules use, with a line naming the file and line.
TEST_F(ScenarioConstantsTest, FactorsOfProductsAndCostsAreHeldToWhatTheirRulesUse) {
  test::LogCapture log;
  const sScenarioConstants c = Load(File({{2, "lvl0;100000"},
                                          {47, "100000;12"},
                                          {48, "51"},
                                          {52, "AP;-1;0;100000;20"},
                                          {68, "SMP;-1;2"},
                                          {69, "STP;-2147483648;3"},
                                          {70, "AMP;4;-5"},
                                          {151, "100000;1.5;-3;2;1"}}));
  EXPECT_EQ(c.FullSupplyLevel(), 50);
  EXPECT_TRUE(log.ContainsText(u"constant 1 of data line 48 (51) out of range"));
  EXPECT_EQ(c.StrategicMoveCost(0), 0);
  EXPECT_EQ(c.StrategicMoveCost(1), 2);
  EXPECT_EQ(c.SeaTransportCost(0), 0);
  EXPECT_EQ(c.SeaTransportCost(1), 3);
  EXPECT_EQ(c.AmphibiousTransportCost(0), 4);
  EXPECT_EQ(c.AmphibiousTransportCost(1), 0);
  EXPECT_TRUE(log.ContainsText(u"constant 2 of data line 69 (-2147483648) out of range"));
  EXPECT_EQ(c.Int(52, 2), 0);
  EXPECT_EQ(c.Int(52, 4), 100);
  EXPECT_EQ(c.Int(52, 5), 20);
  EXPECT_EQ(c.AirRangeFactor(1), 100.0f);
  EXPECT_EQ(c.AirRangeFactor(2), 1.5f);
  EXPECT_EQ(c.AirRangeFactor(3), 0.0f);
  EXPECT_EQ(c.AirRangeBase(1), 100000);
  EXPECT_EQ(c.LandActionPoints(0, 0), 100000);
  EXPECT_TRUE(log.Contains(u"WARNING: constant 4 of data line 52 (100000) out of range in "
                           u"data\\scenarios\\test\\consts.csv at line 53 (counting from 1); held at 100"));
  EXPECT_TRUE(log.ContainsText(u"constant 2 of data line 52 (-1) out of range"));
  EXPECT_TRUE(log.ContainsText(u"constant 1 of data line 151 (100000) out of range"));
}

TEST_F(ScenarioConstantsTest, MissingFileIsFatal) {
  test::LogCapture log;
  sScenarioConstants constants;
  try {
    LoadScenarioConstants(constants, u"nowhere");
    FAIL() << "a missing consts.csv must end the program";
  } catch (const FatalExitError& error) {
    EXPECT_EQ(error.code(), 1);
  }
  const auto lines = log.lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], u"Otwieram plik ze sta\u010f\u017c\u02ddymi ze \u010f\u017c\u02ddcie\u010f\u017c\u02ddk\u010f\u017c\u02dd...");
  EXPECT_EQ(lines[1], u"data\\scenarios\\nowhere\\consts.csv");
  EXPECT_EQ(lines[2], u"Blad otwarcia pliku! (nie istnieje?)");
}

}  // namespace
}  // namespace tr
