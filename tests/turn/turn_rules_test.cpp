// Surrenders at the end of a played impulse and the succession of alliance leaders.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "foundation/format.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "scenario/scenario_constants_layout.h"
#include "support/log_capture.h"
#include "turn/turn_fixture.h"
#include "turn/turn_rules.h"
#include "world/rules_fixture.h"

namespace tr {
namespace {

// Country 1 leads the axis and is at war with country 2, the allied leader,
// who holds the only victory city.
class SurrenderTest : public testing::Test {
 protected:
  SurrenderTest() : world_(4, 1, 4), screen_(recorder_) {
    world_.country(1).alliance = kAxisLeader;
    world_.country(1).politicalStrength = 50;
    world_.country(2).alliance = kAlliesLeader;
    world_.country(2).politicalStrength = 50;
    test::SetWar(world_, 1, 2);
    cCity& city = test::AddCity(world_, 3, 0);
    city.victoryPoints = 1;
    world_.hex(3, 0).controller = 2;
    world_.hex(3, 0).owner = 2;
  }
  int Boxes(std::u16string_view title) const {
    return recorder_.CountEvents(u"text " + std::u16string(title) + u"|");
  }

  test::LogCapture log_;
  test::TestWorld world_;
  cHeadlessPresentation recorder_;
  ScopedPresentation screen_;
};

TEST_F(SurrenderTest, SuccessorLeadsBeforeTheNextCountryIsLookedAt) {
  world_.country(3).alliance = kAxis;
  world_.country(3).politicalStrength = 20;
  test::SetWar(world_, 3, 2);
  world_.country(4).alliance = kAxis;
  world_.country(4).politicalStrength = 30;
  CheckSurrenders(world_.game());
  EXPECT_EQ(world_.country(1).alliance, kNeutral);
  EXPECT_EQ(world_.country(1).isActive, 0);
  EXPECT_EQ(world_.country(3).isActive, 0);
  EXPECT_EQ(world_.country(4).alliance, kAxisLeader);
  // The box names the fallen leader, then its successor.
  const std::u16string axis = GetText("axis2");
  EXPECT_EQ(recorder_.CountEvents(u"text " + Format(GetText("leader_of_%s_eliminated!"), axis) + u"|" +
                                  Format(GetText("with_%s_annexed,_%s_becomes_new_leader_of_%s"),
                                         world_.country(1).name, world_.country(4).name, axis)),
            1);
  EXPECT_EQ(recorder_.CountEvents(u"text "), 3);
  EXPECT_TRUE(log_.Contains(u"CHECKING FOR SURRENDERS FINISHED"));
}

// The last member of the axis falls: every nationalist or pro-axis country
// turns pro-allied on a roll of 1 or pro-communist on a roll of 2, and the
// alliance is gone.
TEST_F(SurrenderTest, TheLastMemberFallingEndsItsAllianceAndItsCampRealigns) {
  world_.country(1).orientation = kNationalistRegime;
  world_.country(3).orientation = kProAxis;
  world_.country(4).orientation = kNationalistRegime;
  world_.country(2).orientation = kFirmDemocracy;
  {
    // RandomRange(1, 2) gives 2 only for the highest draw.
    ScopedRandomDraws draws({0, 32767, 16000});
    CheckSurrenders(world_.game());
    EXPECT_EQ(draws.remaining(), 0u);
  }
  EXPECT_EQ(world_.country(1).alliance, kNeutral);
  EXPECT_EQ(world_.country(1).orientation, kProAllied);
  EXPECT_EQ(world_.country(3).orientation, kProCommunist);
  EXPECT_EQ(world_.country(4).orientation, kProAllied);
  EXPECT_EQ(world_.country(2).orientation, kFirmDemocracy);
  EXPECT_EQ(world_.country(2).alliance, kAlliesLeader);
  const std::u16string axis = GetText("axis2");
  EXPECT_EQ(Boxes(Format(GetText("%s_eliminated!"), axis)), 1);
  EXPECT_TRUE(log_.Contains(
      Format(GetText("since_%s_is_eliminated_%s_changes_alignment_to_%i"), axis, world_.country(3).name, kProCommunist)));
  EXPECT_TRUE(log_.Contains(u"Could not determine new leader - no countries left in alliance!"));
}

// A city of country 1 held by a unit and besieged by two units of country 2;
// country 3 is inactive and still hears of the siege.
TEST(SiegeReports, EveryCountryGetsOneAndOneBoxIsShown) {
  test::TestWorld world(3, 3, 3);
  cHeadlessPresentation recorder;
  ScopedPresentation screen(recorder);
  test::HoldAll(world, 1);
  test::SetWar(world, 1, 2);
  world.country(3).isActive = 0;
  test::AddCity(world, 1, 1, kCityNormal, u"Harbour");
  test::AddLandUnit(world, 1, 1, 1);
  for (int d = 0; d < 6; ++d) {
    const sPoint p = NeighbourPoint(1, 1, d);
    if (d < 2) {
      test::AddLandUnit(world, p.x, p.y, 2);
    } else {
      world.hex(p.x, p.y).terrain = kTerrainWater;
    }
  }
  for (int level = 1; level <= 2; ++level) {
    world.game().constants.SetSlot(consts_layout::kLandBaseValue + level * 7, 100.0);
  }
  world.game().constants.SetSlot(consts_layout::kSiegeValues, -5.0);  // the siege goes on
  world.game().reports.Clear();
  CheckSieges(world.game());
  const std::u16string heading = u"Siege of Harbour (Country1)\n\n";
  std::vector<int> recipients;
  for (const sReport& report : world.game().reports.Reports()) {
    EXPECT_EQ(report.type, 21);
    EXPECT_TRUE(report.text.starts_with(heading)) << Utf16ToUtf8(report.text);
    EXPECT_NE(report.text.find(GetText("check_failed,_siege_continues...")), std::u16string::npos);
    recipients.push_back(report.country);
  }
  EXPECT_EQ(recipients, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(recorder.CountEvents(u"text " + heading + u"|"), 1);
}

// Production and upkeep come at every full end of impulse, research with the
// diplomatic points only on the month's impulses (turns 1, 4, 7 with 3 a
// month), and only for active countries that act (political strength 0 or more).
struct ScheduleCase {
  int turn;
  bool monthly;
};
class MonthlyScheduleTest : public testing::TestWithParam<ScheduleCase> {};

TEST_P(MonthlyScheduleTest, ProductionAndUpkeepEveryImpulseResearchMonthly) {
  test::TestWorld world(2, 2, 4);
  cHeadlessPresentation recorder;
  ScopedPresentation screen(recorder);
  cGame& game = world.game();
  test::SetGameImpulses(game, 3);
  game.turn = GetParam().turn;
  world.country(3).politicalStrength = -1;
  world.country(4).isActive = 0;
  for (int id = 1; id <= 4; ++id) world.country(id).dpGrowthPerMonth = 5;
  game.reports.Clear();
  CalculateProduction(game);
  CalculateUpkeep(game);
  CalculateResearch(game);
  std::map<int, std::vector<int>> byKind;
  for (const sReport& report : game.reports.Reports()) byKind[report.type].push_back(report.country);
  const std::vector<int> takingPart{1, 2};
  EXPECT_EQ(byKind[22], takingPart);
  EXPECT_EQ(byKind[26], takingPart);
  EXPECT_EQ(byKind[23], GetParam().monthly ? takingPart : std::vector<int>{});
  const int points = GetParam().monthly ? 5 : 0;
  EXPECT_EQ(world.country(1).diplomaticPoints, points);
  EXPECT_EQ(world.country(2).diplomaticPoints, points);
  EXPECT_EQ(world.country(3).diplomaticPoints, 0);
  EXPECT_EQ(world.country(4).diplomaticPoints, 0);
}

INSTANTIATE_TEST_SUITE_P(Turns, MonthlyScheduleTest,
                         testing::Values(ScheduleCase{1, true}, ScheduleCase{2, false}, ScheduleCase{3, false},
                                         ScheduleCase{4, true}, ScheduleCase{7, true}),
                         [](const auto& info) { return "Turn" + std::to_string(info.param.turn); });

}  // namespace
}  // namespace tr
