// The computer's strategic move of a land unit: where the unit ends, what it
// pays, what the log says, and when the move is shown.
#include <gtest/gtest.h>

#include <tuple>

#include "ai_fixture.h"
#include "world/gra.h"

namespace tr {
namespace {

class StrategicMoveTest : public testing::Test {
 protected:
  StrategicMoveTest() {
    // Line 68 holds the strategic-move cost of land type t in field t + 2.
    for (int type = 0; type < kLandTypeCount; ++type) {
      world.game().constants.SetSlot(sScenarioConstants::SlotOf(68, type + 2), type + 1);
    }
    world.country(1).strategicMovementPoints = 10;
    target = &world.AddCity(u"Target", 5, 5, 1);
    unit = &world.AddLand(1, 1, 1, 100, kMechanizedDivision);
    unit->actionPoints = 6;
  }

  test::AiWorld world;
  cCity* target = nullptr;
  cJednostkaLadowa* unit = nullptr;
};

TEST_F(StrategicMoveTest, UnitMovesSpendsItsActionPointsAndPaysItsTypesCost) {
  world.AiOf(1).PrzeniesStrategicznieJednostke(*unit, *target, 5, 6);

  EXPECT_EQ(world.hex(1, 1).unit, nullptr);
  EXPECT_EQ(world.hex(5, 6).unit, unit);
  EXPECT_EQ(unit->x, 5);
  EXPECT_EQ(unit->y, 6);
  EXPECT_EQ(unit->actionPoints, 0);
  EXPECT_EQ(world.country(1).strategicMovementPoints, 10 - (kMechanizedDivision + 1));
  EXPECT_TRUE(world.log.Contains(u"[AI] PrzeniesStrategicznieJednostke"));
  EXPECT_TRUE(world.log.Contains(u"[AI] Country1: Land1 - strategic move to Target (10 SMP left)"));
}

// Shown only when the unit is visible and the view follows computer moves:
// then centred twice and four sleeps, else only the sleep after the move.
class StrategicMovePacingTest : public StrategicMoveTest, public testing::WithParamInterface<std::tuple<bool, bool>> {};

TEST_P(StrategicMovePacingTest, OnlyAShownMoveIsCentredAndPaced) {
  const auto [follow, visible] = GetParam();
  world.game().playerControl.follow = follow ? 1 : 0;
  unit->spotted = visible ? 1 : 0;

  world.AiOf(1).PrzeniesStrategicznieJednostke(*unit, *target, 5, 5);

  const bool shown = follow && visible;
  EXPECT_EQ(test::LinesStartingWith(world.log, u"S: strategic_move").size(), shown ? 4u : 1u);
  EXPECT_EQ(test::LinesStartingWith(world.log, u"CenterAtHex").size(), shown ? 2u : 0u);
  EXPECT_EQ(world.hex(5, 5).unit, unit);
}

INSTANTIATE_TEST_SUITE_P(FollowAndVisibility, StrategicMovePacingTest,
                         testing::Combine(testing::Bool(), testing::Bool()));

// A target the callers should never pass is refused and nothing changes.
class StrategicMoveRefusedTest : public StrategicMoveTest, public testing::WithParamInterface<sPoint> {};

TEST_P(StrategicMoveRefusedTest, TakenOrOffMapTargetIsRefused) {
  world.AddLand(2, 5, 6);
  const sPoint to = GetParam();

  world.AiOf(1).PrzeniesStrategicznieJednostke(*unit, *target, to.x, to.y);

  EXPECT_EQ(world.hex(1, 1).unit, unit);
  EXPECT_EQ(unit->x, 1);
  EXPECT_EQ(unit->actionPoints, 6);
  EXPECT_EQ(world.country(1).strategicMovementPoints, 10);
  EXPECT_TRUE(world.log.ContainsText(u"strategic move of Land"));
}

INSTANTIATE_TEST_SUITE_P(Targets, StrategicMoveRefusedTest,
                         testing::Values(sPoint{5, 6}, sPoint{-1, -1}, sPoint{40, 3}));

TEST_F(StrategicMoveTest, ArtificialHarbourIsNeverMovedStrategically) {
  cJednostkaLadowa& harbour = world.AddLand(1, 2, 2, 100, kMulberryType);
  world.AiOf(1).PrzeniesStrategicznieJednostke(harbour, *target, 5, 5);
  EXPECT_EQ(world.hex(2, 2).unit, &harbour);
  EXPECT_EQ(world.country(1).strategicMovementPoints, 10);
}

}  // namespace
}  // namespace tr
