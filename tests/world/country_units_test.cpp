#include <gtest/gtest.h>

#include "scenario/scenario_constants_layout.h"
#include "units/jednostka_morska.h"
#include "world/city_rules.h"
#include "world/headless_presentation.h"
#include "rules_fixture.h"

namespace tr {
namespace {

class CountryUnits : public testing::Test {
 protected:
  CountryUnits() : world(5, 5, 3) { test::HoldAll(world, 1); }
  cJednostkaMorska& AddShip(int owner, int type, cJednostkaLadowa* carried = nullptr) {
    auto ship = std::make_unique<cJednostkaMorska>();
    ship->owner = owner;
    ship->SetType(type);
    ship->carriedUnit = carried;
    cJednostkaMorska& ref = *ship;
    world.game().navalUnits.push_back(std::move(ship));
    return ref;
  }
  cHeadlessPresentation screen;
  ScopedPresentation scoped{screen};
  test::TestWorld world;
};

TEST_F(CountryUnits, MainCityPrefersSupplyCitiesAndTheFirstOfATie) {
  EXPECT_EQ(world.country(1).FindMainCity(), nullptr);
  cCity& port = test::AddCity(world, 0, 0, kCityPort);
  port.productionPoints = 50;
  EXPECT_EQ(world.country(1).FindMainCity(), &port);
  cCity& first = test::AddCity(world, 1, 0, kCitySupply);
  first.productionPoints = 5;
  cCity& second = test::AddCity(world, 2, 0, kCitySupplyPort);
  second.productionPoints = 5;
  EXPECT_EQ(world.country(1).FindMainCity(), &first);
  world.hex(1, 0).controller = 2;
  EXPECT_EQ(world.country(1).FindMainCity(), &second);
}

TEST_F(CountryUnits, CountsByTypeOnMapAndInReserve) {
  test::AddLandUnit(world, 0, 0, 1).SetType(kArmouredCorps);
  test::AddLandUnit(world, 3, 0, 1).SetType(kMechanizedCorps);
  for (const int y : {2, 3}) test::AddLandUnit(world, 4, y, 1).SetType(kArmouredDivision);
  test::AddAirUnit(world, 1, 1, 1, kFighter, 5);
  test::AddAirUnit(world, 1, 2, 2, kFighter, 5);  // another country's
  AddShip(1, kCruiser);
  auto reserve = std::make_unique<cJednostkaLotnicza>();
  reserve->owner = 1;
  reserve->SetType(kStrategicBomber);
  world.game().reservePool.push_back(std::move(reserve));
  UnitTypeCountTable table;
  table[0][0] = 9;
  world.country(1).CountUnitsByType(table);
  EXPECT_EQ(table[0][0], 0);
  EXPECT_EQ(table[5][0], 1);   // armoured corps, display row 6
  EXPECT_EQ(table[21][0], 1);  // and by code
  EXPECT_EQ(table[3][0], 1);   // mechanized corps, display row 4
  EXPECT_EQ(table[4][0], 2);   // armoured divisions, display row 5
  EXPECT_EQ(table[20][0], 2);
  EXPECT_EQ(table[9][0], 1);   // fighter: display row 10
  EXPECT_EQ(table[23][0], 1);
  EXPECT_EQ(table[10][0], 1);  // cruiser first among ships
  EXPECT_EQ(table[28][0], 1);
  EXPECT_EQ(table[7][1], 1);   // strategic bomber in reserve
  EXPECT_EQ(table[25][1], 1);
}

TEST_F(CountryUnits, TransportPointsAndTransferOfForces) {
  world.game().constants.SetSlot(consts_layout::kSeaTransportCost + kMechanizedDivision, 4);
  world.game().constants.SetSlot(consts_layout::kAmphibiousTransportCost + kMechanizedDivision, 6);
  cJednostkaLadowa carried;
  carried.SetType(kMechanizedDivision);
  carried.owner = 1;
  AddShip(1, kCargoShip, &carried);
  AddShip(1, kCargoShip);  // empty: adds nothing
  AddShip(1, kAmphibiousShip, &carried);
  cCountry& c1 = world.country(1);
  c1.seaTransportPoints = 10;
  c1.seaTransportUsedByConvoys = 3;
  EXPECT_EQ(c1.GetTotalSeaTransportPoints(), 17);
  c1.AddAmphibiousShipCapacity();
  EXPECT_EQ(c1.invasionPointsUsed, 6);
  world.game().fleets.push_back(std::make_unique<cFleet>());
  world.game().fleets.back()->countryId = 1;
  c1.TransferForcesTo(3);
  EXPECT_EQ(world.game().fleets.back()->countryId, 3);
  EXPECT_EQ(world.game().navalUnits.front()->owner, 3);
  EXPECT_EQ(carried.owner, 3);
}

TEST_F(CountryUnits, FreeHexForACountryAtItsCity) {
  cCity& city = test::AddCity(world, 2, 2);
  EXPECT_EQ(FindFreeHexForCountry(city, world.country(1)), (sPoint{2, 2}));
  test::AddLandUnit(world, 2, 2, 1);
  EXPECT_EQ(FindFreeHexForCountry(city, world.country(1)), (sPoint{2, 1}));  // N first
  world.hex(2, 1).terrain = kTerrainWater;
  world.hex(3, 2).controller = 2;  // NE is foreign
  EXPECT_EQ(FindFreeHexForCountry(city, world.country(1)), (sPoint{3, 3}));
  EXPECT_FALSE(HasNoFreeLandNeighbour(city));
  EXPECT_EQ(FindFreeHexForCountry(city, world.country(2)), (sPoint{3, 2}));
  EXPECT_EQ(FindFreeHexForCountry(city, world.country(3)), (sPoint{-1, -1}));
  // A sea node's hex off the map has none either.
  EXPECT_EQ(FindFreeHexForCountry(-3, 2, world.country(1)), (sPoint{-1, -1}));
}

TEST_F(CountryUnits, AirSuperiorityCountsFightersWithinTheRadius) {
  world.game().constants.SetSlot(consts_layout::kAirRangeBase, 2);
  world.game().constants.SetSlot(consts_layout::kAirRangeFactor, 1.0);  // aircraft level 0
  world.game().constants.SetSlot(consts_layout::kAirMaxStrength, 10);  // fighter base value
  test::SetWar(world, 1, 2);
  test::AddAirUnit(world, 0, 0, 1, kFighter, 10);
  EXPECT_EQ(world.country(1).GetAirSuperiorityRatio(1, 1), -1.0f);
  test::AddAirUnit(world, 4, 4, 2, kFighter, 5);  // too far
  EXPECT_EQ(world.country(1).GetAirSuperiorityRatio(1, 1), -1.0f);
  test::AddAirUnit(world, 2, 2, 2, kFighter, 5);
  test::AddAirUnit(world, 2, 1, 1, kTacticalBomber, 10);  // bombers do not count
  const float friendly = static_cast<float>(world.country(1).GetFriendlyAirPowerAt(1, 1));
  const float enemy = static_cast<float>(world.country(1).GetEnemyAirPowerAt(1, 1));
  ASSERT_GT(enemy, 0.0f);
  EXPECT_FLOAT_EQ(world.country(1).GetAirSuperiorityRatio(1, 1), friendly / enemy);
  // The radius grows with the aircraft level, and a level past the range
  // table's top reads its top entry: 3 times 2 hexes reach (4, 4) as well.
  const std::int32_t near = world.country(2).GetFriendlyAirPowerAt(1, 1);
  ASSERT_GT(near, 0);
  world.game().constants.SetSlot(consts_layout::kAirRangeFactor + 4, 0.25);
  world.game().constants.SetSlot(consts_layout::kAirRangeFactor + 5, 3.0);
  world.country(2).techLevels[3] = 4;
  EXPECT_EQ(world.country(2).GetFriendlyAirPowerAt(1, 1), 0);
  world.country(2).techLevels[3] = 8;
  EXPECT_EQ(world.country(2).GetFriendlyAirPowerAt(1, 1), 2 * near);
  world.country(2).techLevels[3] = 0;

  // At sea the enemy's carriers count with their hit points, wherever they
  // are, from the limit up; a sea hex of zone 0 has no air power.
  world.game().constants.SetSlot(consts_layout::kCarrierHitPointLimit, 4);
  world.hex(3, 3).terrain = kTerrainWater;
  world.hex(3, 3).seaZone = 6;
  world.hex(4, 0).terrain = kTerrainWater;
  const std::pair<int, int> ships[] = {{2, 7}, {2, 3}, {1, 8}, {3, 6}};  // owner, hit points
  for (const auto& [owner, hitPoints] : ships) AddShip(owner, kAircraftCarrier).hitPoints = hitPoints;
  AddShip(2, kCruiser).hitPoints = 9;
  EXPECT_EQ(world.country(1).GetEnemyAirPowerAt(3, 3), 7);
  AddShip(2, kAircraftCarrier).hitPoints = 4;
  EXPECT_EQ(world.country(1).GetEnemyAirPowerAt(3, 3), 11);
  EXPECT_EQ(world.country(1).GetEnemyAirPowerAt(4, 0), 0);
}

TEST_F(CountryUnits, WithdrawalSendsUnitsOnForeignHexesHomeAndMakesPeace) {
  struct Recorder : cJednostkaLadowa {
    int MoveToReservePool() override { return ++moves, -1; }
    int moves = 0;
  };
  test::SetWar(world, 1, 2);
  world.hex(0, 0).controller = 2;
  world.hex(0, 0).owner = 1;
  world.hex(4, 4).controller = 2;
  world.hex(4, 4).owner = 2;
  auto& inside = test::AddLandUnit<Recorder>(world, 4, 4, 1);
  auto& home = test::AddLandUnit<Recorder>(world, 1, 1, 1);
  world.country(1).WithdrawUnitsFromForeignHexes(true);
  EXPECT_EQ(world.hex(0, 0).controller, 1);
  EXPECT_EQ(inside.moves, 1);
  EXPECT_EQ(home.moves, 0);
  EXPECT_FALSE(world.game().relations.IsAtWar(1, 2));
}

}  // namespace
}  // namespace tr
