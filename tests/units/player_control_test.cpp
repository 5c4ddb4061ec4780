// The player control: the planned attack, selection, the current country and
// the status text.
#include <gtest/gtest.h>

#include "units/movement_fixture.h"

namespace tr {
namespace {

using test::MovementWorld;

class PlayerControl : public MovementWorld {
 protected:
  cPlayerControl& control() { return game().playerControl; }
};

// Attackers on sides 0 and 1 (when two), which of them has attacked already,
// whether the defender was attacked, and whether the plan survives.
class AttackCheck : public PlayerControl, public testing::WithParamInterface<std::tuple<int, int, bool, bool>> {};

TEST_P(AttackCheck, DropsOnlyPlansOfSeveralUnits) {
  const auto [count, spentSide, defenderHit, kept] = GetParam();
  sAttack attack;
  attack.defender = &AddLand(2, 5, 5);
  attack.defender->wasAttacked = defenderHit;
  attack.targetX = attack.targetY = 5;
  for (int side = 0; side < count; ++side) {
    cJednostkaLadowa& unit = AddLand(1, 0, side);
    unit.attacked = side == spentSide;
    attack.SetAttacker(side, &unit);
  }
  control().BeginAttack(attack);
  attack.ClearAttacker(0);  // the control keeps its own copy
  control().ValidateAttack(0);
  EXPECT_EQ(control().GetPendingAttack() != nullptr, kept);
  if (kept) EXPECT_EQ(control().GetPendingAttack()->CountAttackers(), count);
}

INSTANTIATE_TEST_SUITE_P(Plans, AttackCheck,
                         testing::Values(std::tuple{1, 0, false, true}, std::tuple{1, 0, true, true},
                                         std::tuple{2, 1, false, false}, std::tuple{2, -1, true, false},
                                         std::tuple{2, -1, false, true}));

TEST_F(PlayerControl, AttackRecordOperations) {
  sAttack attack;
  cJednostkaLadowa& unit = AddLand(3, 1, 1);
  EXPECT_EQ(attack.GetFirstAttackerCountry(), nullptr);
  attack.SetAttacker(4, &unit);
  attack.SetAttacker(6, &unit);  // no such side
  EXPECT_EQ(attack.CountAttackers(), 1);
  EXPECT_TRUE(attack.IsAttacker(&unit));
  EXPECT_EQ(attack.GetFirstAttackerCountry(), &country(3));
  attack.Clear();
  EXPECT_EQ(attack.CountAttackers(), 0);
  control().BeginAttack(attack);
  control().DropAttack();
  EXPECT_EQ(control().GetPendingAttack(), nullptr);
}

TEST_F(PlayerControl, SelectingALandHexFlagsItAndTakesItsUnit) {
  cJednostkaLadowa& unit = AddLand(1, 4, 4);
  map().GetHex(7, 7)->AddFlags(64, -1);
  control().SelectHex(4, 4);
  EXPECT_EQ(control().selectedHex, map().GetHex(4, 4));
  EXPECT_EQ(control().selectedUnit, &unit);
  EXPECT_EQ(map().GetHex(4, 4)->flags, 1u);
  EXPECT_EQ(map().GetHex(7, 7)->flags, 0u);
  EXPECT_EQ(port_.CountEvents(u"unit-panel"), 1);

  for (int y = 0; y < 3; ++y) {
    map().GetHex(9, y)->terrain = 0;
    map().GetHex(9, y)->seaZone = 4;
  }
  control().SelectHex(9, 1);
  EXPECT_EQ(control().selectedUnit, nullptr);
  EXPECT_EQ(map().GetHex(9, 0)->flags, 0x4000u);
  EXPECT_EQ(map().GetHex(9, 1)->flags, 0x4000u);

  control().ClearSelection();
  EXPECT_EQ(control().selectedHex, nullptr);
  EXPECT_TRUE(map().FlaggedHexes().empty());
}

TEST_F(PlayerControl, HoveringTheSameHexTwiceDoesNothing) {
  map().GetHex(3, 3)->seaNodeMarker = 7;
  control().SetHoveredHex(map().GetHex(3, 3));
  control().SetHoveredHex(map().GetHex(3, 3));
  control().SetHoveredHex(nullptr);
  EXPECT_EQ(port_.CountEvents(u"hover-sea-node 7"), 1);
  EXPECT_EQ(port_.CountEvents(u"hover-sea-node 0"), 1);
}

TEST_F(PlayerControl, FollowFlagHidesAlliesWhenTheSettingSaysSo) {
  const bool saved = gShowAlliesActions;
  gShowAlliesActions = false;
  control().SetCurrentCountry(&country(1));  // a member of an active alliance
  EXPECT_EQ(control().follow, 0);
  control().SetCurrentCountry(&country(3));  // neutral
  EXPECT_EQ(control().follow, 1);
  gShowAlliesActions = true;
  control().SetCurrentCountry(&country(1));
  EXPECT_EQ(control().follow, 1);
  EXPECT_EQ(control().currentCountry, &country(1));
  gShowAlliesActions = saved;
}

TEST_F(PlayerControl, StatusTextTurnsEveryLineFeedIntoASpace) {
  SetPanelHintText(u"a\n\nb\n");
  EXPECT_EQ(port_.CountEvents(u"status a  b "), 1);
}

}  // namespace
}  // namespace tr
