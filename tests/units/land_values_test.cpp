// Combat value, new-turn action points and the strength values of land units.
#include <gtest/gtest.h>

#include <utility>

#include "units/unit_fixture.h"

namespace tr {
namespace {

using test::UnitWorld;

class LandValues : public UnitWorld {
 protected:
  cJednostkaLadowa& Unit(int type = kInfantryDivision) {
    cJednostkaLadowa& unit = AddLand(1, 5, 5, type);
    unit.turnsWithoutSupply = 0;
    unit.supply = 3;
    return unit;
  }
};

TEST_F(LandValues, CombatValueFromDoctrineSupplyAndEvents) {
  cJednostkaLadowa& unit = Unit();
  EXPECT_EQ(unit.ComputeCombatValue(), 1);
  EXPECT_EQ(unit.combatValue, 100);
  country(1).techLevels[2] = 2;
  unit.ComputeCombatValue();
  EXPECT_EQ(unit.combatValue, 120);
  unit.eventsEffect = 50;
  unit.ComputeCombatValue();
  EXPECT_EQ(unit.combatValue, 180);
  game().constants.SetSlot(consts_layout::kSupplyCombatPercent + 3, 50);
  unit.ComputeCombatValue();
  EXPECT_EQ(unit.combatValue, 90);
  // Events may lift the value up to a million and no further.
  game().constants.SetSlot(consts_layout::kSupplyCombatPercent + 3, 100);
  country(1).techLevels[2] = 0;
  for (const int effect : {999900, 999950}) {
    unit.eventsEffect = effect;
    unit.ComputeCombatValue();
    EXPECT_EQ(unit.combatValue, 1000000) << effect;
  }
}

TEST_F(LandValues, TurnsWithoutSupplyWearTheCombatValueDown) {
  cJednostkaLadowa& unit = Unit();
  unit.turnsWithoutSupply = 2;
  unit.ComputeCombatValue();
  EXPECT_EQ(unit.combatValue, 50);
  unit.turnsWithoutSupply = 4;
  unit.ComputeCombatValue();
  EXPECT_EQ(unit.combatValue, 1);
  unit.turnsWithoutSupply = 9;
  unit.ComputeCombatValue();
  EXPECT_EQ(unit.combatValue, 1);
  // A limit of 0 does not divide: the value is simply gone.
  game().constants.SetSlot(consts_layout::kSupplyLossLimit, 0);
  unit.turnsWithoutSupply = 1;
  unit.ComputeCombatValue();
  EXPECT_EQ(unit.combatValue, 1);
  unit.ResetActionPoints();
  EXPECT_EQ(unit.actionPoints, 1);
}

TEST_F(LandValues, ShoreBombardmentCannotPushBelowOne) {
  cJednostkaLadowa& unit = Unit();
  unit.shoreBombardmentEffect = 30.5f;
  unit.ComputeCombatValue();
  EXPECT_EQ(unit.combatValue, 69);
  unit.shoreBombardmentEffect = 150.0f;
  unit.ComputeCombatValue();
  EXPECT_EQ(unit.combatValue, 1);
}

struct ApCase {
  int type;
  int turnsWithoutSupply;
  int supplyReduction;
  int expected;
};
class LandActionPoints : public LandValues, public testing::WithParamInterface<ApCase> {};

TEST_P(LandActionPoints, NewTurnPoints) {
  const ApCase& c = GetParam();
  cJednostkaLadowa& unit = Unit(c.type);
  game().constants.SetSlot(consts_layout::kSupplyApReductionPercent + 3, c.supplyReduction);
  unit.turnsWithoutSupply = c.turnsWithoutSupply;
  unit.movedThisTurn = 1;
  unit.ResetActionPoints();
  EXPECT_EQ(unit.actionPoints, c.expected);
  EXPECT_EQ(unit.startingActionPoints, c.expected);
  EXPECT_EQ(unit.movedThisTurn, 0);
}

// LandActionPoints[doctrine 0][type] is 4 + type in the test constants.
INSTANTIATE_TEST_SUITE_P(
    Types, LandActionPoints,
    testing::Values(ApCase{kInfantryDivision, 0, 0, 4}, ApCase{kMechanizedDivision, 0, 50, 3},
                    ApCase{kArmouredCorps, 1, 0, 6}, ApCase{kInfantryDivision, 4, 0, 1}, ApCase{kInfantryCorps, 4, 0, 1},
                    ApCase{kAirborneDivision, 4, 0, 1}, ApCase{kMechanizedDivision, 4, 0, 0},
                    ApCase{kMechanizedCorps, 4, 0, 0}, ApCase{kArmouredDivision, 4, 0, 0},
                    ApCase{kArmouredCorps, 6, 0, 0}, ApCase{kArmouredDivision, 0, 150, 0}));

// Doctrine levels that events set past the table, above it or below 0, read
// its nearest row rather than the constants beside it.
TEST_F(LandValues, DoctrineLevelsPastTheActionPointTableReadItsEnds) {
  cJednostkaLadowa& unit = Unit(kArmouredDivision);
  const auto setRow = [this](int row, int points) {
    game().constants.SetSlot(consts_layout::kLandActionPoints + row * 7 + kArmouredDivision, points);
  };
  setRow(-1, 13);
  setRow(0, 3);
  setRow(5, 8);
  setRow(6, 17);
  for (const auto& [level, points] : {std::pair{-2, 3}, std::pair{0, 3}, std::pair{5, 8}, std::pair{6, 8}}) {
    country(1).techLevels[2] = level;
    unit.ResetActionPoints();
    EXPECT_EQ(unit.actionPoints, points) << level;
  }
}

TEST_F(LandValues, FrozenUnitKeepsLastTurnsStart) {
  // One frozen turn left is still a frozen turn: the points come with the turn after it.
  for (const int frozen : {1, 3}) {
    SCOPED_TRACE(frozen);
    cJednostkaLadowa& unit = Unit();
    unit.freezeTime = frozen;
    unit.actionPoints = 3;
    unit.startingActionPoints = 5;
    unit.movedThisTurn = 2;
    unit.ResetActionPoints();
    EXPECT_EQ(unit.actionPoints, 0);
    EXPECT_EQ(unit.startingActionPoints, 5);
    EXPECT_EQ(unit.movedThisTurn, 2);
    unit.Unfreeze();
    EXPECT_EQ(unit.freezeTime, 0);
    EXPECT_EQ(unit.actionPoints, 4);
  }
}

TEST_F(LandValues, StrengthValues) {
  cJednostkaLadowa& unit = Unit(kMechanizedCorps);
  unit.level = 2;
  unit.strength = 50;
  unit.combatValue = 80;
  EXPECT_FLOAT_EQ(unit.GetBaseValue(), 23.0f);
  EXPECT_FLOAT_EQ(unit.GetStrengthValue(), 11.5f);
  EXPECT_FLOAT_EQ(unit.GetEffectiveStrength(), 9.2f);
  EXPECT_EQ(unit.GetStrength(), 50);
  cMulberry harbour;
  harbour.level = 1;
  EXPECT_FLOAT_EQ(harbour.GetBaseValue(), 0.0f);
}

}  // namespace
}  // namespace tr
