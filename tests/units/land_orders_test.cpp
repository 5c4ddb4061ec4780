// The computer's orders to land units, deployment, the reserve pool and the
// destruction of a unit.
#include <gtest/gtest.h>

#include "support/log_capture.h"
#include "units/movement_fixture.h"
#include "world/hex_distance.h"

namespace tr {
namespace {

using test::LogCapture;
using test::MovementWorld;

class LandOrders : public MovementWorld {
 protected:
  LandOrders() {
    for (sHex& hex : map().Hexes()) hex.controller = hex.owner = 1;
    game().StoreGameState(kGameComputerTurn);
  }

  cCity& AddCity(int x, int y, int supply) {
    auto city = std::make_unique<cCity>();
    city->x = x;
    city->y = y;
    city->supplyInfo = {supply, 0, 0};
    city->convoyInfo = {false, false, false};
    map().GetHex(x, y)->city = city.get();
    game().cities.push_back(std::move(city));
    return *game().cities.back();
  }

  cJednostkaLadowa& Reserve(int owner) {
    auto unit = std::make_unique<cJednostkaLadowa>();
    unit->owner = owner;
    unit->inReserve = 1;
    game().reservePool.push_back(std::move(unit));
    return static_cast<cJednostkaLadowa&>(*game().reservePool.back());
  }
};

TEST_F(LandOrders, OrderToTheOwnHexMovesNothing) {
  cJednostkaLadowa& unit = Mover(1, 5, 5, 3);
  LogCapture log;
  EXPECT_FALSE(unit.ExecuteMoveOrder(5, 5));
  EXPECT_TRUE(log.Contains(u"Jednostka dostaďż˝a rozkaz by iďż˝ďż˝ na pole na ktďż˝rym juďż˝ stoi. No to stoi dalej."));
}

TEST_F(LandOrders, OccupiedTargetSendsTheUnitToTheNearestFreeHexNearer) {
  cJednostkaLadowa& unit = Mover(1, 5, 8, 3);
  AddLand(1, 5, 5);
  unit.ComputeMoveRange(1);
  EXPECT_TRUE(unit.ExecuteMoveOrder(5, 5));
  // The first of the free hexes next to the target, in the range's row order.
  EXPECT_EQ(map().GetHex(4, 5)->unit, &unit);
  EXPECT_EQ(map().GetHex(5, 8)->unit, nullptr);
  EXPECT_EQ(game().GetGameState(), kGameComputerTurn);
  EXPECT_EQ(port_.CountEvents(u"animate-move"), 1);

  unit.ComputeMoveRange(1);
  unit.actionPoints = 0;
  unit.moveRange.clear();  // nothing nearer than where it stands
  EXPECT_FALSE(unit.ExecuteMoveOrder(5, 5));
  EXPECT_EQ(unit.x, 4);
}

// The computer's walk along a path counts the unit's range itself; a hex
// another unit holds or one off the map is refused.
TEST_F(LandOrders, WalkAlongAPathCountsItsOwnRange) {
  cJednostkaLadowa& unit = Mover(1, 5, 8, 3);
  AddLand(1, 5, 7);
  EXPECT_FALSE(unit.MoveAlongPath(5, 7));
  EXPECT_FALSE(unit.MoveAlongPath(5, 40));
  EXPECT_TRUE(unit.MoveAlongPath(4, 7));
  EXPECT_EQ(map().GetHex(4, 7)->unit, &unit);
  EXPECT_EQ(map().GetHex(5, 8)->unit, nullptr);
}

// Standing aside takes the cheapest free hex of a range it counts anew.
TEST_F(LandOrders, StandingAsideCountsTheRangeFromWhereTheUnitStands) {
  cJednostkaLadowa& unit = Mover(1, 5, 8, 3);
  unit.moveRange.clear();
  EXPECT_TRUE(unit.OrderMove());
  EXPECT_EQ(HexDistance(unit.x, unit.y, 5, 8), 1);
  EXPECT_EQ(map().GetHex(unit.x, unit.y)->unit, &unit);
  EXPECT_EQ(map().GetHex(5, 8)->unit, nullptr);
}

// Toward a hex beyond its reach the computer's unit goes as near as it can,
// however much more a farther hex would cost: here the sea on row 4 stops
// it on row 5, five hexes from the target.
TEST_F(LandOrders, MoveTowardAHexGoesAsNearAsTheRangeAllows) {
  for (int x = 0; x < 12; ++x) map().GetHex(x, 4)->terrain = 0;
  cJednostkaLadowa& unit = Mover(1, 5, 6, 6);
  unit.MoveTowardHex(5, 0);
  EXPECT_EQ(unit.y, 5);
  EXPECT_EQ(HexDistance(unit.x, unit.y, 5, 0), 5);
  EXPECT_EQ(map().GetHex(unit.x, unit.y)->unit, &unit);
  EXPECT_EQ(map().GetHex(5, 6)->unit, nullptr);
}

// An order whose route cannot be found is dropped, and so are its targets:
// a saved game keeps -1, never a hex, for a unit without one.
TEST_F(LandOrders, AnOrderWithoutARouteClearsEveryTarget) {
  cJednostkaLadowa& unit = Mover(1, 5, 8, 3);
  unit.aiOrder = 4;
  unit.aiTargetX = 6;
  unit.aiTargetY = 7;
  LogCapture log;
  unit.SetAiOrder(3, 9, 2, 4);  // no city at (9, 2)
  EXPECT_EQ(unit.aiOrder, 0);
  EXPECT_EQ(unit.aiTargetX, -1);
  EXPECT_EQ(unit.aiTargetY, -1);
  EXPECT_TRUE(log.Contains(u"ERROR: Nie znaleziono sciezki dla rozkazu nr 3"));

  unit.aiOrder = 5;
  unit.aiTargetX = 3;
  unit.aiTargetY = 2;
  unit.aiUltimateTargetX = 8;
  unit.aiUltimateTargetY = 9;
  EXPECT_EQ(unit.GetHopsToCity(9, 2), -1);
  EXPECT_EQ(unit.aiOrder, 0);
  EXPECT_EQ(unit.aiTargetX, -1);
  EXPECT_EQ(unit.aiTargetY, -1);
  EXPECT_EQ(unit.aiUltimateTargetX, -1);
  EXPECT_EQ(unit.aiUltimateTargetY, -1);
}

TEST_F(LandOrders, GreedyWalkToTheUltimateTargetStopsAtTheSea) {
  cJednostkaLadowa& unit = Mover(1, 5, 8, 3);
  unit.aiUltimateTargetX = 5;
  unit.aiUltimateTargetY = 2;
  for (int x = 0; x < 12; ++x) map().GetHex(x, 5)->terrain = 0;
  EXPECT_FALSE(unit.MoveTowardUltimateTarget());
  EXPECT_EQ(unit.y, 8);
  for (int x = 0; x < 12; ++x) map().GetHex(x, 5)->terrain = 1;
  EXPECT_TRUE(unit.MoveTowardUltimateTarget());
  EXPECT_EQ(unit.y, 5);
}

TEST_F(LandOrders, DeploymentTakesTheCityInTheLaterDirection) {
  game().playerControl.currentCountry = &country(1);
  AddCity(5, 4, 6);  // north of (5, 5)
  AddCity(5, 6, 7);  // south
  cJednostkaLadowa& unit = Reserve(1);
  unit.turnsSinceParadrop = 8;
  ASSERT_TRUE(unit.DeployNearCity(5, 5));
  EXPECT_EQ(unit.supplySourceY, 6);
  EXPECT_EQ(unit.supply, 7);
  EXPECT_EQ(unit.movedThisTurn, 1);
  EXPECT_EQ(unit.turnsSinceParadrop, 0);  // its count starts anew on the map
  EXPECT_EQ(unit.inReserve, 0);
  EXPECT_TRUE(game().reservePool.empty());
  EXPECT_EQ(game().landUnits.back().get(), &unit);
  EXPECT_EQ(map().GetHex(5, 5)->unit, &unit);
}

TEST_F(LandOrders, DeploymentWithoutACityIsRefusedAndTheUnitWaits) {
  game().playerControl.currentCountry = &country(1);
  cJednostkaLadowa& unit = Reserve(1);
  LogCapture log;
  EXPECT_FALSE(unit.DeployNearCity(8, 8));
  EXPECT_TRUE(log.Contains(u"Error while deploying unit: cant find appropriate city near (8,8)"));
  EXPECT_EQ(game().reservePool.size(), 1u);
  EXPECT_EQ(map().GetHex(8, 8)->unit, nullptr);
}

// A land or an air unit taken from the map into the reserve is in the pool,
// off the map, at full supply as a loaded game puts the pool's units.
TEST_F(LandOrders, UnitsTakenFromTheMapIntoTheReserveAreAtFullSupply) {
  cJednostkaLadowa& land = AddLand(1, 5, 5);
  cJednostkaLotnicza& air = AddAir(1, 6, 6);
  for (cJednostka* unit : {static_cast<cJednostka*>(&land), static_cast<cJednostka*>(&air)}) {
    const int x = unit->x;
    const int y = unit->y;
    unit->supply = 1;
    unit->MoveToReservePool();
    EXPECT_EQ(unit->supply, 10);
    EXPECT_EQ(unit->inReserve, 1);
    EXPECT_EQ(unit->x, -1);
    EXPECT_EQ(map().GetHex(x, y)->unit, nullptr);
    EXPECT_EQ(game().reservePool.back().get(), unit);
  }
}

class KillAboard : public LandOrders, public testing::WithParamInterface<int> {};

TEST_P(KillAboard, LeavesItsListAndSendsTheCommanderHome) {
  const int shipType = GetParam();
  auto ship = std::make_unique<cJednostkaMorska>();
  ship->SetType(shipType);
  auto owned = std::make_unique<cJednostkaLadowa>();
  cJednostkaLadowa& unit = *owned;
  unit.owner = 1;
  unit.transporter = ship.get();
  ship->carriedUnit = &unit;
  auto& list = shipType == kCargoShip ? game().aboardUnitsA : game().aboardUnitsB;
  list.push_back(std::move(owned));
  sCommander& commander = AddCommander(1, 1, 2, 0);
  commander.state = kCommanderAssigned;
  Attach(commander, unit);
  country(2).reconSpottedUnits.push_back(&unit);

  unit.Kill();
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(commander.state, kCommanderOnHisWay);
  EXPECT_EQ(commander.headquarters, nullptr);
  EXPECT_EQ(ship->carriedUnit, nullptr);
  EXPECT_TRUE(country(2).reconSpottedUnits.empty());
}

INSTANTIATE_TEST_SUITE_P(Ships, KillAboard, testing::Values(kCargoShip, kAmphibiousShip));

TEST_F(LandOrders, KillOnTheMapForgetsTheUnitEverywhere) {
  cJednostkaLadowa& unit = Mover(1, 4, 4, 2);
  sAttack attack;
  attack.defender = &unit;
  game().playerControl.BeginAttack(attack);
  game().playerControl.undo.unit = &unit;
  unit.Kill();
  EXPECT_TRUE(game().landUnits.empty());
  EXPECT_EQ(map().GetHex(4, 4)->unit, nullptr);
  EXPECT_EQ(game().playerControl.undo.unit, nullptr);
  EXPECT_EQ(game().playerControl.GetPendingAttack()->defender, nullptr);
}

}  // namespace
}  // namespace tr
