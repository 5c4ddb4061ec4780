#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/log_capture.h"
#include "turn/supply.h"
#include "turn/supply_fixture.h"
#include "world/hex_distance.h"

namespace tr::test {
namespace {

// Country 2 holds the land; column 9 is sea zone 1, column 8 its coast.
class SupplyDrawTest : public ::testing::Test, public SupplyWorld {
 protected:
  SupplyDrawTest() {
    Control(0, 0, 8, 7, 2);
    for (int y = 0; y < 8; ++y) {
      hex(9, y).terrain = 0;
      hex(9, y).seaZone = 1;
      hex(8, y).seaZone = 1;
    }
    War(2, 3);
    SetConstant(game(), 135, 2, 5.0);
    SetConstant(game(), 168, 1, 10);
    SetConstant(game(), 169, 1, 3);
    const int own[6] = {2, 3, 4, 1, 5, 6};
    for (int token = 1; token <= 6; ++token) {
      SetConstant(game(), 170, token, own[token - 1]);
      SetConstant(game(), 171, token, 2);
    }
  }

  LogCapture log_;
};

struct sMulberryCase {
  const char* name;
  int unitX;
  int owner;
  bool enemyWall;  // columns 1 and 2 held by the enemy
  int supply;
  int expectedSupply;
  int expectedTurns;
};

class MulberrySpread : public SupplyDrawTest, public ::testing::WithParamInterface<sMulberryCase> {};

TEST_P(MulberrySpread, GivesWhatIsLeftOfItsReach) {
  const sMulberryCase& c = GetParam();
  if (c.enemyWall) Control(1, 0, 2, 7, 3);
  cMulberry* mulberry = AddLandUnit<cMulberry>(1, 2, 0, 3);
  mulberry->turnsWithoutSupply = 4;
  cJednostkaLadowa* unit = AddLandUnit(2, c.owner, c.unitX, 3);
  unit->supply = c.supply;
  unit->turnsWithoutSupply = 2;
  cJednostkaLotnicza* air = AddAirUnit(3, 2, 2, 3);
  air->supply = 0;
  air->turnsWithoutSupply = 2;
  DrawSupplyFromMulberries(game());
  EXPECT_EQ(HexDistance(0, 3, c.unitX, 3), c.unitX);
  EXPECT_EQ(unit->supply, c.expectedSupply);
  EXPECT_EQ(unit->turnsWithoutSupply, c.expectedTurns);
  EXPECT_EQ(mulberry->turnsWithoutSupply, 0);
  // An air unit two hexes away draws on the harbour too, but counts no turns.
  EXPECT_EQ(air->supply, c.enemyWall ? 0 : 3);
  EXPECT_EQ(air->turnsWithoutSupply, 2);
  EXPECT_TRUE(log_.Contains(u"Ciagne zaopatrzenie z mulberry..."));
}

INSTANTIATE_TEST_SUITE_P(
    Distances, MulberrySpread,
    ::testing::Values(sMulberryCase{"Next", 1, 2, false, 0, 4, 0}, sMulberryCase{"ThreeAway", 3, 2, false, 0, 2, 0},
                      sMulberryCase{"FourAway", 4, 2, false, 0, 1, 0}, sMulberryCase{"FiveAway", 5, 2, false, 0, 0, 2},
                      sMulberryCase{"SixAway", 6, 2, false, 0, 0, 2}, sMulberryCase{"Ally", 3, 1, false, 0, 2, 0},
                      sMulberryCase{"HigherSupplyKept", 1, 2, false, 8, 8, 0},
                      sMulberryCase{"Enemy", 3, 3, false, 0, 0, 2},
                      sMulberryCase{"BehindEnemyGround", 3, 2, true, 0, 0, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SupplyDrawLargeTest, WideMulberryReachDoesNotExhaustTheStack) {
  TestWorld world(200, 200, 2);
  for (sHex& hex : world.map().Hexes()) hex.controller = 1;
  SetConstant(world.game(), 135, 2, 1000000.0);
  auto mulberry = std::make_unique<cMulberry>();
  mulberry->owner = 1;
  mulberry->x = 100;
  mulberry->y = 100;
  world.hex(100, 100).unit = mulberry.get();
  world.game().landUnits.push_back(std::move(mulberry));
  auto unit = std::make_unique<cJednostkaLadowa>();
  unit->owner = 1;
  unit->x = 0;
  unit->y = 199;
  world.hex(0, 199).unit = unit.get();
  cJednostkaLadowa* far = unit.get();
  world.game().landUnits.push_back(std::move(unit));
  DrawSupplyFromMulberries(world.game());
  EXPECT_EQ(far->supply, 1000000 - HexDistance(0, 199, 100, 100));
}

struct sShipCase {
  const char* name;
  std::vector<std::pair<int, int>> ships;  // owner, type
  int expectedSupply;
};

class ShipSupply : public SupplyDrawTest, public ::testing::WithParamInterface<sShipCase> {};

// The unit stands one hex from the coast.
TEST_P(ShipSupply, OwnShipsAddEnemiesSubtractAlliesCountNothing) {
  const sShipCase& c = GetParam();
  for (const auto& [owner, type] : c.ships) AddShip(owner, type, 1);
  cJednostkaLadowa* unit = AddLandUnit(1, 2, 7, 3);
  unit->supply = 0;
  DrawSupplyFromShips(game());
  EXPECT_EQ(unit->supply, c.expectedSupply);
  EXPECT_TRUE(log_.Contains(u"Ciagne zaopatrzenie ze statkow"));
}

INSTANTIATE_TEST_SUITE_P(
    Fleets, ShipSupply,
    ::testing::Values(sShipCase{"OwnBattleship", {{2, kBattleship}}, 2},
                      sShipCase{"OwnBattleshipAndCruiser", {{2, kBattleship}, {2, kCruiser}}, 6},
                      sShipCase{"EnemyCruiserSubtracts", {{2, kBattleship}, {2, kCruiser}, {3, kCruiser}}, 4},
                      sShipCase{"EnemyCancelsAll", {{2, kBattleship}, {3, kCruiser}}, 0},
                      sShipCase{"AlliedShipsCountNothing", {{1, kAircraftCarrier}, {1, kBattleship}}, 0},
                      sShipCase{"NeutralShipsCountNothing", {{2, kBattleship}, {4, kCruiser}, {4, kCruiser}}, 2},
                      sShipCase{"CappedAtTheMaximum",
                                {{2, kCargoShip}, {2, kAmphibiousShip}, {2, kAircraftCarrier}, {1, kCruiser}},
                                9},
                      sShipCase{"NoShips", {}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct sComputerCase {
  const char* name;
  int switchOn;
  bool human;
  bool pbem;
  int expectedSupply;
};

class ComputerShipSupply : public SupplyDrawTest, public ::testing::WithParamInterface<sComputerCase> {};

TEST_P(ComputerShipSupply, OneOwnShipGivesTheMaximumWhenSwitchedOn) {
  const sComputerCase& c = GetParam();
  SetConstant(game(), 181, 1, c.switchOn);
  country(2).humanControlled = c.human ? 1 : 0;
  country(2).pbemPlayerId = 1;
  game().pbemGame = c.pbem ? 1 : 0;
  AddShip(2, kSubmarine, 1);
  cJednostkaLadowa* unit = AddLandUnit(1, 2, 7, 3);
  unit->supply = 0;
  DrawSupplyFromShips(game());
  EXPECT_EQ(unit->supply, c.expectedSupply);
}

INSTANTIATE_TEST_SUITE_P(Owners, ComputerShipSupply,
                         ::testing::Values(sComputerCase{"Off", 0, false, false, 0},
                                           sComputerCase{"Computer", 1, false, true, 9},
                                           sComputerCase{"HumanByEmail", 1, true, true, 0},
                                           sComputerCase{"HumanAlone", 1, true, false, 9}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SupplyDrawTest, ShipsReachOnlyWithinTheRadius) {
  AddShip(2, kBattleship, 1);
  AddShip(2, kCruiser, 1);
  cJednostkaLadowa* far = AddLandUnit(1, 2, 4, 3);  // the coast is 4 away, the radius 3
  cJednostkaLadowa* edge = AddLandUnit(2, 2, 5, 1);  // 3 away: 7 - 3
  far->supply = 0;
  edge->supply = 0;
  DrawSupplyFromShips(game());
  EXPECT_EQ(far->supply, 0);
  EXPECT_EQ(edge->supply, 4);
}

// A radius of 0 or below still lets a unit standing on the coast draw.
class ShipRadiusAtMostZero : public SupplyDrawTest, public ::testing::WithParamInterface<int> {};

TEST_P(ShipRadiusAtMostZero, OnlyAUnitOnTheCoastDraws) {
  SetConstant(game(), 169, 1, GetParam());
  AddShip(2, kBattleship, 1);
  cJednostkaLadowa* onCoast = AddLandUnit(1, 2, 8, 3);
  cJednostkaLadowa* inland = AddLandUnit(2, 2, 7, 3);
  onCoast->supply = 0;
  inland->supply = 0;
  DrawSupplyFromShips(game());
  EXPECT_EQ(onCoast->supply, 3);
  EXPECT_EQ(inland->supply, 0);
}

INSTANTIATE_TEST_SUITE_P(Radii, ShipRadiusAtMostZero, ::testing::Values(0, -2));

TEST_F(SupplyDrawTest, ShipsReachOnlyOverFriendlyGround) {
  AddShip(2, kBattleship, 1);
  cJednostkaLadowa* walledOff = AddLandUnit(1, 2, 6, 3);  // 2 from the coast, behind an enemy column
  Control(7, 0, 7, 7, 3);
  walledOff->supply = 0;
  DrawSupplyFromShips(game());
  EXPECT_EQ(walledOff->supply, 0);
  Control(7, 0, 7, 7, 2);
  DrawSupplyFromShips(game());
  EXPECT_EQ(walledOff->supply, 1);
}

TEST_F(SupplyDrawTest, UnitShortOfSupplyKeepsItsCountWhenNoShipHelps) {
  cJednostkaLadowa* waiting = AddLandUnit(1, 2, 2, 3);
  waiting->supply = 6;
  waiting->turnsWithoutSupply = 1;
  AddShip(2, kBattleship, 1);
  cJednostkaLadowa* coastal = AddLandUnit(2, 2, 8, 3);
  coastal->supply = 7;
  coastal->turnsWithoutSupply = 1;
  DrawSupplyFromShips(game());
  EXPECT_EQ(waiting->supply, 6);
  EXPECT_EQ(waiting->turnsWithoutSupply, 1);
  EXPECT_EQ(coastal->supply, 3);  // the ship is its source now, at what it gives
  EXPECT_EQ(coastal->turnsWithoutSupply, 0);
}

}  // namespace
}  // namespace tr::test
