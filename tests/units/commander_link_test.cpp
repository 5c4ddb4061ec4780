// Commanders and units: the bonus at a distance, which headquarters a unit
// stands under, and the factors that follow from it.
#include <gtest/gtest.h>

#include "support/log_capture.h"
#include "units/unit_fixture.h"

namespace tr {
namespace {

using test::UnitWorld;

// Skill 50 and experience 20 give v = 20 * 50 / 100 + 10 * 20 / 100 = 12.
class CommanderLink : public UnitWorld {};

TEST_F(CommanderLink, BonusByDistance) {
  sCommander& commander = AddCommander(1, 1, 50, 20);
  EXPECT_FLOAT_EQ(commander.GetBonus(0), 13.0f);
  EXPECT_FLOAT_EQ(commander.GetBonus(1), 6.0f);
  EXPECT_FLOAT_EQ(commander.GetBonus(3), 2.0f);
  // Beyond the radius the factor is undiminished.
  EXPECT_FLOAT_EQ(commander.GetBonus(4), 12.0f);
}

class CommanderRadius : public CommanderLink, public testing::WithParamInterface<std::pair<int, bool>> {};

TEST_P(CommanderRadius, HeadquartersWithinTheRadiusCounts) {
  sCommander& commander = AddCommander(7, 1, 50, 20);
  Attach(commander, AddLand(1, 2, 2));
  cJednostkaLadowa& unit = AddLand(1, 2, 2 + GetParam().first);
  unit.AssignCommander();
  EXPECT_EQ(unit.commanderId, GetParam().second ? 7 : -1);
}

INSTANTIATE_TEST_SUITE_P(Distances, CommanderRadius,
                         testing::Values(std::pair{1, true}, std::pair{3, true}, std::pair{4, false}));

TEST_F(CommanderLink, EqualScoresGoToTheFirstInTheList) {
  Attach(AddCommander(3, 1, 50, 20), AddLand(1, 4, 2));
  Attach(AddCommander(4, 1, 50, 20), AddLand(1, 4, 6));
  cJednostkaLadowa& unit = AddLand(1, 4, 4);
  unit.AssignCommander();
  EXPECT_EQ(unit.commanderId, 3);
}

TEST_F(CommanderLink, OnlyOwnHeadquartersOfTheUnitsKind) {
  Attach(AddCommander(3, 2, 90, 90), AddLand(2, 4, 3));
  Attach(AddCommander(4, 1, 90, 90, kCategoryAir), AddLand(1, 4, 5));
  cJednostkaLadowa& unit = AddLand(1, 4, 4);
  unit.commanderId = 9;
  unit.AssignCommander();
  EXPECT_EQ(unit.commanderId, -1);
}

TEST_F(CommanderLink, UnitsThatKeepOrDropTheirCommander) {
  Attach(AddCommander(3, 1, 50, 20), AddLand(1, 4, 2));
  cJednostkaLadowa& offMap = AddLand(1, -1, -1);
  offMap.commanderId = 8;
  offMap.AssignCommander();
  EXPECT_EQ(offMap.commanderId, 8);

  cJednostkaLadowa& headquarters = AddLand(1, 4, 3);
  Attach(AddCommander(5, 1, 10, 10), headquarters);
  headquarters.commanderId = 8;
  headquarters.AssignCommander();
  EXPECT_EQ(headquarters.commanderId, 8);

  // A ship stands under no commander and its own operation leaves the id alone.
  cJednostkaMorska ship;
  ship.commanderId = 3;
  ship.cUnit::AssignCommander();
  EXPECT_EQ(ship.commanderId, -1);
}

TEST_F(CommanderLink, CombatValueWithCommanders) {
  game().constants.SetSlot(consts_layout::kCommanderSkillFactor, 1);
  game().constants.SetSlot(consts_layout::kCommanderExperienceFactor, 1);
  sCommander& commander = AddCommander(3, 1, 10, 10);  // v = 0.2
  cJednostkaLadowa& headquarters = AddLand(1, 4, 2);
  Attach(commander, headquarters);
  headquarters.turnsWithoutSupply = 0;
  headquarters.ComputeCombatValue();
  EXPECT_EQ(headquarters.combatValue, 120);

  cJednostkaLadowa& unit = AddLand(1, 4, 6);  // 4 hexes: beyond the radius, bonus trunc(0.2) = 0
  unit.turnsWithoutSupply = 0;
  unit.commanderId = 3;
  unit.ComputeCombatValue();
  EXPECT_EQ(unit.combatValue, 100);
  EXPECT_EQ(unit.GetCommanderBonus(), 0);
}

TEST_F(CommanderLink, RangeFactorAndDistance) {
  sCommander& commander = AddCommander(3, 1, 50, 20);
  cJednostkaLadowa& unit = AddLand(1, 4, 4);
  EXPECT_FLOAT_EQ(unit.GetCommandRangeFactor(), 1.0f);
  EXPECT_EQ(unit.GetCommanderBonus(), 0);  // no commander
  unit.commanderId = 3;
  EXPECT_EQ(unit.GetDistanceToCommander(), 100);
  EXPECT_FLOAT_EQ(unit.GetCommandRangeFactor(), 0.5f);
  EXPECT_EQ(unit.GetCommanderBonus(), 0);  // a commander without headquarters
  Attach(commander, AddLand(1, 4, 6));
  EXPECT_EQ(unit.GetDistanceToCommander(), 2);
  EXPECT_FLOAT_EQ(unit.GetCommandRangeFactor(), 25.0f);
  EXPECT_EQ(unit.GetCommanderBonus(), 3);  // trunc(12 * 0.5 / 2)
}

TEST_F(CommanderLink, UnknownCommanderIsLoggedNegativeIsQuiet) {
  test::LogCapture log;
  EXPECT_EQ(game().FindCommanderById(-1), nullptr);
  EXPECT_TRUE(log.lines().empty());
  EXPECT_EQ(game().FindCommanderById(7), nullptr);
  EXPECT_TRUE(log.Contains(u"Commander with ID=7 not found"));
}

}  // namespace
}  // namespace tr
