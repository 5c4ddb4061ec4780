// Surrenders at the end of a played impulse and the succession of alliance leaders.
#include <gtest/gtest.h>

#include "foundation/format.h"
#include "foundation/string_base.h"
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
  EXPECT_EQ(Boxes(Format(GetText("leader_of_%s_eliminated!"), GetText("axis2"))), 1);
  EXPECT_EQ(recorder_.CountEvents(u"text "), 3);
  EXPECT_TRUE(log_.Contains(u"CHECKING FOR SURRENDERS FINISHED"));
}

}  // namespace
}  // namespace tr
