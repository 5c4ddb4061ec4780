// The player control: the planned attack, selection, hovering and the status text.
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
  if (kept) {
    EXPECT_EQ(control().GetPendingAttack()->CountAttackers(), count);
  }
}

INSTANTIATE_TEST_SUITE_P(Plans, AttackCheck,
                         testing::Values(std::tuple{1, 0, false, true}, std::tuple{1, 0, true, true},
                                         std::tuple{2, 1, false, false}, std::tuple{2, -1, true, false},
                                         std::tuple{2, -1, false, true}));

TEST_F(PlayerControl, SelectingALandHexFlagsItAndTakesItsUnit) {
  cJednostkaLadowa& unit = AddLand(1, 4, 4);
  map().GetHex(7, 7)->AddFlags(64, -1);
  control().SelectHex(4, 4);
  EXPECT_EQ(control().selectedHex, map().GetHex(4, 4));
  EXPECT_EQ(control().selectedUnit, &unit);
  EXPECT_EQ(map().GetHex(4, 4)->flags, 1u);
  EXPECT_EQ(map().GetHex(7, 7)->flags, 0u);
  EXPECT_EQ(port_.CountEvents(u"unit-panel"), 1);

  control().ClearSelection();
  EXPECT_EQ(control().selectedHex, nullptr);
  EXPECT_TRUE(map().FlaggedHexes().empty());
}

// Selecting a sea hex that marks a zone with the player's ships opens its
// fleets, unless a dialog is up already.
TEST_F(PlayerControl, SelectingAZoneWithOwnShipsOpensItsFleetsOnlyWithoutADialogUp) {
  sWezelGrafuMorz node;
  node.id = 1;
  node.ownShips[2] = 3;
  game().seaGraph.nodes.push_back(node);
  sHex& sea = *map().GetHex(3, 6);
  sea.terrain = kTerrainWater;
  sea.seaNodeMarker = 1;
  control().SelectHex(3, 6);
  EXPECT_EQ(port_.CountEvents(u"fleet-dialog 1"), 1);
  port_.SetModalDialogShown(true);
  control().SelectHex(3, 6);
  EXPECT_EQ(port_.CountEvents(u"fleet-dialog 1"), 1);
}

// A turn opens on the country's supply city, the richest of them, before any
// richer city of another kind.
TEST_F(PlayerControl, TurnStartCentresOnTheMainCity) {
  const auto city = [&](int x, int y, int type, float production) {
    auto c = std::make_unique<cCity>();
    c->x = x;
    c->y = y;
    c->type = type;
    c->productionPoints = production;
    map().GetHex(x, y)->city = c.get();
    map().GetHex(x, y)->controller = 1;
    game().cities.push_back(std::move(c));
  };
  city(6, 6, kCityNormal, 50.0f);
  city(2, 3, kCitySupply, 20.0f);
  city(3, 7, kCitySupply, 10.0f);
  control().currentCountry = &country(1);
  game().StoreGameState(kGameHumanIdle);
  control().CenterOnCurrentCountry(true);
  EXPECT_EQ(port_.CountEvents(u"camera 2 3 0"), 1);
  EXPECT_EQ(game().GetGameState(), kGameCameraGlide);
}

TEST_F(PlayerControl, HoveringTheSameHexTwiceDoesNothing) {
  map().GetHex(3, 3)->seaNodeMarker = 7;
  control().SetHoveredHex(map().GetHex(3, 3));
  control().SetHoveredHex(map().GetHex(3, 3));
  control().SetHoveredHex(nullptr);
  EXPECT_EQ(port_.CountEvents(u"hover-sea-node 7"), 1);
  EXPECT_EQ(port_.CountEvents(u"hover-sea-node 0"), 1);
}

TEST_F(PlayerControl, StatusTextTurnsEveryLineFeedIntoASpace) {
  SetPanelHintText(u"a\n\nb\n");
  EXPECT_EQ(port_.CountEvents(u"status a  b "), 1);
}

}  // namespace
}  // namespace tr
