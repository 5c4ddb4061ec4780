// The rules of a played impulse's end: surrenders with the succession of
// alliance leaders, sieges, and research on the first impulse of a month.
#include <gtest/gtest.h>

#include "foundation/format.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "support/log_capture.h"
#include "turn/turn_fixture.h"
#include "turn/turn_rules.h"
#include "world/rules_fixture.h"

namespace tr {
namespace {

int CountReports(const cGame& game, int type) {
  int count = 0;
  for (const auto& report : game.reports.Reports()) count += report.type == type ? 1 : 0;
  return count;
}

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
  EXPECT_EQ(Boxes(Format(GetText("leader_of_%s_eliminated!"), GetText("axis2"))), 1);
  EXPECT_EQ(recorder_.CountEvents(u"text "), 3);
  EXPECT_TRUE(log_.Contains(u"CHECKING FOR SURRENDERS FINISHED"));
}

TEST_F(SurrenderTest, LastMemberGoneTurnsTheCampToTheOthers) {
  world_.country(3).orientation = kNationalistRegime;
  world_.country(4).orientation = kProAxis;
  ScopedRandomDraws draws({0, 32767});
  CheckSurrenders(world_.game());
  EXPECT_EQ(world_.country(3).orientation, kProAllied);
  EXPECT_EQ(world_.country(4).orientation, kProCommunist);
  EXPECT_EQ(world_.country(2).orientation, kFirmDemocracy);
  EXPECT_EQ(Boxes(Format(GetText("%s_eliminated!"), GetText("axis2"))), 1);
  EXPECT_TRUE(log_.Contains(u"Could not determine new leader - no countries left in alliance!"));
}

TEST(Sieges, BesiegedCityReportsToEveryCountryAndShowsOneBox) {
  test::TestWorld world(5, 5, 3);
  cHeadlessPresentation recorder;
  ScopedPresentation screen(recorder);
  world.country(3).isActive = 0;
  test::SetWar(world, 1, 2);
  test::AddCity(world, 2, 2, kCityNormal, u"Fortress");
  world.hex(2, 2).controller = 1;
  world.hex(2, 2).owner = 1;
  test::AddLandUnit(world, 2, 2, 1);
  for (int d = 0; d < 6; ++d) {
    const sHex* n = world.map().GetNeighbour(2, 2, d);
    ASSERT_NE(n, nullptr);
    test::AddLandUnit(world, n->x, n->y, 2);
  }
  test::LogCapture log;
  CheckSieges(world.game());
  EXPECT_EQ(CountReports(world.game(), 21), 3);
  EXPECT_EQ(recorder.CountEvents(u"text Siege of Fortress (Country1)\n\n|"), 1);
  EXPECT_TRUE(log.Contains(u"Checking city Fortress"));
}

TEST(Research, OnlyOnTheFirstImpulseOfAMonthAndOnlyForTakingPartCountries) {
  test::TestWorld world(2, 2, 3);
  test::SetGameImpulses(world.game(), 3);
  world.country(2).politicalStrength = -1;
  world.country(3).isActive = 0;
  world.country(1).dpGrowthPerMonth = 4;
  world.game().turn = 2;
  CalculateResearch(world.game());
  EXPECT_EQ(CountReports(world.game(), 23), 0);
  world.game().turn = 4;
  CalculateResearch(world.game());
  EXPECT_EQ(CountReports(world.game(), 23), 1);
  EXPECT_EQ(world.country(1).diplomaticPoints, 4);
  CalculateProduction(world.game());
  CalculateUpkeep(world.game());
  EXPECT_EQ(CountReports(world.game(), 22), 1);
  EXPECT_EQ(CountReports(world.game(), 26), 1);
}

}  // namespace
}  // namespace tr
