// The computer puts its reserve on the map: the cities it may use, the city
// each kind of unit goes to, and its ships as new fleets in its ports.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "ai_fixture.h"
#include "support/naval_world.h"
#include "units/player_control.h"
#include "world/cities_diagram.h"
#include "world/gra.h"

namespace tr {
namespace {

class DeploymentTest : public testing::Test {
 protected:
  cCountryAI& ai() { return world.AiOf(1); }

  template <typename Unit>
  Unit& Reserve(int type) {
    auto unit = std::make_unique<Unit>();
    unit->owner = 1;
    unit->SetType(type);
    unit->inReserve = 1;
    unit->name = u"New" + std::u16string(1, static_cast<char16_t>(u'0' + world.game().reservePool.size()));
    Unit& made = *unit;
    world.game().reservePool.push_back(std::move(unit));
    return made;
  }
  cCity& City(int x, float production) {
    cCity& city = world.AddCity(u"City" + std::u16string(1, static_cast<char16_t>(u'0' + x / 5)), x, 5, 1);
    city.productionPoints = production;
    return city;
  }
  // A front that lists the city, with the city's own land strength.
  void OnFront(cCity& city, float strength) {
    nodes_.push_back(std::make_unique<sCitiesDiagramNode>());
    nodes_.back()->city = &city;
    nodes_.back()->stats.landOwn = strength;
    sFront front;
    front.cities.push_back(nodes_.back().get());
    ai().fronts.push_back(front);
  }
  void DeclareWar() {
    world.game().relations.SetWar(1, 3, true);
    world.game().relations.SetWar(3, 1, true);
  }
  void FillAround(int x, int y) {
    for (int d = 0; d < kDirectionCount; ++d) {
      const sHex* next = world.game().map->GetNeighbour(x, y, d);
      if (next && !next->unit) world.AddLand(2, next->x, next->y);
    }
  }

  test::AiWorld world;
  std::vector<std::unique_ptr<sCitiesDiagramNode>> nodes_;
};

TEST_F(DeploymentTest, LandUnitGoesToMostProductiveCityByWholePoints) {
  City(5, 6.2f);
  City(10, 6.9f);
  City(15, 6.5f);
  cJednostkaLadowa& unit = Reserve<cJednostkaLadowa>(0);

  ai().DeployLandUnits();

  EXPECT_EQ(unit.x, 15);
  EXPECT_EQ(unit.y, 5);
  EXPECT_EQ(unit.inReserve, 0);
  EXPECT_EQ(world.hex(15, 5).unit, &unit);
  EXPECT_TRUE(world.game().reservePool.empty());
}

// The city of each choice among three, by production and fronts.
struct sChoiceCase {
  const char* name;
  bool land;
  std::array<float, 3> production;
  std::array<float, 3> front;  // strength of the front that lists the city; -1 none
  int chosen;
};

class DeployCityChoiceTest : public DeploymentTest, public testing::WithParamInterface<sChoiceCase> {};

TEST_P(DeployCityChoiceTest, ChoosesTheCity) {
  std::vector<cCity*> cities;
  for (int i = 0; i < 3; ++i) {
    cities.push_back(&City(5 + 5 * i, GetParam().production[static_cast<std::size_t>(i)]));
    if (GetParam().front[static_cast<std::size_t>(i)] >= 0) {
      OnFront(*cities.back(), GetParam().front[static_cast<std::size_t>(i)]);
    }
  }
  const cCity* chosen = GetParam().land ? ai().ChooseLandDeployCity(cities) : ai().ChooseAirDeployCity(cities);
  EXPECT_EQ(chosen, cities[static_cast<std::size_t>(GetParam().chosen)]);
}

INSTANTIATE_TEST_SUITE_P(
    Cities, DeployCityChoiceTest,
    testing::Values(sChoiceCase{"LandWeakestFront", true, {9, 1, 5}, {30, 20, -1}, 1},
                    sChoiceCase{"LandFirstOfEqualFronts", true, {1, 9, 5}, {20.5f, 20.9f, -1}, 0},
                    sChoiceCase{"LandNoFront", true, {6.2f, 6.9f, 6.5f}, {-1, -1, -1}, 2},
                    sChoiceCase{"AirAwayFromFronts", false, {9, 3, 5}, {10, -1, -1}, 2},
                    sChoiceCase{"AirEveryCityOnFront", false, {3, 9, 5}, {10, 10, 10}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeploymentTest, NoCityNoChoice) {
  EXPECT_EQ(ai().ChooseLandDeployCity({}), nullptr);
  EXPECT_EQ(ai().ChooseAirDeployCity({}), nullptr);
}

// At war a city must hold half the supply maximum; at peace supply is not looked at.
struct sSupplyCase {
  bool war;
  int supply;
  bool placed;
};

class DeploySupplyTest : public DeploymentTest, public testing::WithParamInterface<sSupplyCase> {};

TEST_P(DeploySupplyTest, SupplyDecidesAtWar) {
  world.game().constants.SetSlot(sScenarioConstants::SlotOf(48, 1), 11);
  if (GetParam().war) DeclareWar();
  cCity& city = City(5, 3.0f);
  city.supplyInfo.assign(4, 0);
  city.supplyInfo[0] = GetParam().supply;
  cJednostkaLadowa& land = Reserve<cJednostkaLadowa>(0);
  cJednostkaLotnicza& air = Reserve<cJednostkaLotnicza>(kFighter);

  ai().DeployLandUnits();
  ai().DeployAirUnits();

  EXPECT_EQ(land.inReserve == 0, GetParam().placed);
  EXPECT_EQ(air.inReserve == 0, GetParam().placed);
  EXPECT_EQ(world.game().reservePool.empty(), GetParam().placed);
}

INSTANTIATE_TEST_SUITE_P(Supply, DeploySupplyTest,
                         testing::Values(sSupplyCase{true, 4, false}, sSupplyCase{true, 5, true},
                                         sSupplyCase{false, 0, true}));

TEST_F(DeploymentTest, EachKindTakesOnlyItsUnitsAndTheCityFillsUp) {
  cCity& city = City(5, 3.0f);
  FillAround(city.x, city.y);
  // One neighbour stays free.
  const sHex* free = world.game().map->GetNeighbour(city.x, city.y, 2);
  world.game().landUnits.remove_if([&](const auto& u) { return u->x == free->x && u->y == free->y; });
  world.hex(free->x, free->y).unit = nullptr;
  cJednostkaLotnicza& air = Reserve<cJednostkaLotnicza>(kTacticalBomber);
  cJednostkaLadowa& first = Reserve<cJednostkaLadowa>(0);
  cJednostkaLadowa& second = Reserve<cJednostkaLadowa>(1);

  ai().DeployLandUnits();

  EXPECT_EQ(first.x, city.x);
  EXPECT_EQ(second.x, free->x);
  EXPECT_EQ(second.y, free->y);
  EXPECT_EQ(air.inReserve, 1);
  // Nothing is left for the air unit: it waits for the next turn.
  ai().DeployAirUnits();
  EXPECT_EQ(air.inReserve, 1);
  ASSERT_EQ(world.game().reservePool.size(), 1u);
}

// A city where the deployment refuses the unit is left out: the units go on
// to the next city rather than all waiting for the next turn.
TEST_F(DeploymentTest, ARefusedCityKeepsNoUnitFromTheNext) {
  cCity& other = City(10, 1.0f);
  cCity& city = City(5, 3.0f);
  world.AddLand(1, city.x, city.y);
  FillAround(city.x, city.y);
  // The only free neighbour is sea the country holds: the city counts, but
  // no land hex takes the unit.
  sHex& sea = *world.game().map->GetNeighbour(city.x, city.y, 0);
  world.game().landUnits.remove_if([&](const auto& u) { return u->x == sea.x && u->y == sea.y; });
  sea.unit = nullptr;
  sea.terrain = kTerrainWater;
  cJednostkaLadowa& first = Reserve<cJednostkaLadowa>(0);
  cJednostkaLadowa& second = Reserve<cJednostkaLadowa>(1);

  ai().DeployLandUnits();

  const std::u16string refused = u"Error while deploying unit: hex (-1,-1) is off the map or taken";
  EXPECT_EQ(test::LinesStartingWith(world.log, refused).size(), 1u);
  EXPECT_EQ(first.inReserve, 0);
  EXPECT_EQ(second.inReserve, 0);
  EXPECT_EQ(first.x, other.x);
  EXPECT_EQ(world.hex(other.x, other.y).unit, &first);
  EXPECT_TRUE(world.game().reservePool.empty());
}

// At war a country a player plays deploys nowhere a convoy supplies: the
// computer does not pick such a city, since the deployment would refuse it.
// A play-by-e-mail id of 0 or less means no player.
struct sConvoyCase {
  const char* name;
  int pbemPlayerId;
  bool human;
  bool convoyCityTaken;
};

class DeployConvoyTest : public DeploymentTest, public testing::WithParamInterface<sConvoyCase> {};

TEST_P(DeployConvoyTest, APlayedCountryDeploysNowhereAConvoySupplies) {
  const sConvoyCase& c = GetParam();
  world.game().constants.SetSlot(sScenarioConstants::SlotOf(48, 1), 10);
  DeclareWar();
  world.country(1).pbemPlayerId = c.pbemPlayerId;
  cCity& convoyCity = City(5, 9.0f);
  cCity& inland = City(10, 3.0f);
  for (cCity* city : {&convoyCity, &inland}) city->supplyInfo.assign(4, 10);
  convoyCity.convoyInfo.assign(4, false);
  convoyCity.convoyInfo[0] = true;
  cJednostkaLadowa& land = Reserve<cJednostkaLadowa>(0);
  cJednostkaLotnicza& air = Reserve<cJednostkaLotnicza>(kFighter);
  cCountryAI& computer = ai();
  world.country(1).humanControlled = c.human ? 1 : 0;

  computer.DeployLandUnits();
  computer.DeployAirUnits();

  const cCity& expected = c.convoyCityTaken ? convoyCity : inland;
  EXPECT_EQ(land.inReserve, 0);
  EXPECT_EQ(land.x, expected.x);
  EXPECT_EQ(air.inReserve, 0);
  EXPECT_EQ(air.supplySourceX, expected.x);
  EXPECT_FALSE(world.log.ContainsText(u"Error while deploying unit"));
}

INSTANTIATE_TEST_SUITE_P(Players, DeployConvoyTest,
                         testing::Values(sConvoyCase{"Computer", 0, false, true},
                                         sConvoyCase{"NegativePbemId", -1, false, true},
                                         sConvoyCase{"PbemPlayer", 2, false, false},
                                         sConvoyCase{"Human", 0, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// A city takes a new unit when its own hex is free or a neighbour is free
// and held by the country; a city without room is not tried at all.
struct sRoomCase {
  const char* name;
  bool cityTaken;
  int freeNeighbourController;  // 0: every neighbour taken
  bool deployed;
};

class DeployRoomTest : public DeploymentTest, public testing::WithParamInterface<sRoomCase> {};

TEST_P(DeployRoomTest, OnlyACityWithRoomIsTried) {
  const sRoomCase& c = GetParam();
  // Off the diagonal, so the hex at (y, x) is another one, and free.
  cCity& city = City(7, 3.0f);
  if (c.cityTaken) world.AddLand(2, city.x, city.y);
  FillAround(city.x, city.y);
  sHex& free = *world.game().map->GetNeighbour(city.x, city.y, 2);
  if (c.freeNeighbourController != 0) {
    world.game().landUnits.remove_if([&](const auto& u) { return u->x == free.x && u->y == free.y; });
    free.unit = nullptr;
    free.controller = static_cast<std::uint8_t>(c.freeNeighbourController);
  }
  cJednostkaLadowa& unit = Reserve<cJednostkaLadowa>(0);

  ai().DeployLandUnits();

  EXPECT_EQ(unit.inReserve, c.deployed ? 0 : 1);
  if (c.deployed) {
    const sHex& at = c.cityTaken ? free : world.hex(city.x, city.y);
    EXPECT_EQ(at.unit, &unit);
  }
  EXPECT_FALSE(world.log.ContainsText(u"Error while deploying unit"));
}

INSTANTIATE_TEST_SUITE_P(Hexes, DeployRoomTest,
                         testing::Values(sRoomCase{"FreeCityHex", false, 0, true},
                                         sRoomCase{"NoRoomAtAll", true, 0, false},
                                         sRoomCase{"FreeOwnNeighbour", true, 1, true},
                                         sRoomCase{"FreeForeignNeighbour", true, 2, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// The computer places every unit waiting in its reserve, also one a player
// would still wait for.
TEST_F(DeploymentTest, UnitsStillOnTheirWayAreDeployedToo) {
  City(5, 3.0f);
  City(10, 2.0f);
  cJednostkaLadowa& due = Reserve<cJednostkaLadowa>(0);
  due.availableInTurns = 2;
  cJednostkaLadowa& ready = Reserve<cJednostkaLadowa>(1);
  cJednostkaLotnicza& plane = Reserve<cJednostkaLotnicza>(kFighter);
  plane.availableInTurns = 1;

  ai().DeployLandUnits();
  ai().DeployAirUnits();

  EXPECT_EQ(due.inReserve, 0);
  EXPECT_EQ(due.x, 5);
  EXPECT_EQ(ready.inReserve, 0);
  EXPECT_EQ(plane.inReserve, 0);
  EXPECT_TRUE(world.game().reservePool.empty());
}

TEST_F(DeploymentTest, VisibleUnitIsShownWhenMovesAreFollowed) {
  City(5, 3.0f);
  world.game().playerControl.follow = 1;
  world.game().viewingCountry = &world.country(1);
  Reserve<cJednostkaLadowa>(0);

  ai().DeployLandUnits();

  const cJednostka& unit = *world.game().landUnits.back();
  EXPECT_EQ(unit.spotted, 1);
  EXPECT_EQ(test::LinesStartingWith(world.log, u"CenterAtHex").size(), 1u);
  EXPECT_EQ(test::LinesStartingWith(world.log, u"S: ai_deployment").size(), 2u);
}

class NavalDeploymentTest : public testing::Test {
 protected:
  test::NavalWorld sea;
  test::LogCapture log;
};

TEST_F(NavalDeploymentTest, ReserveShipsSailFromTheFirstPortInOneFleet) {
  sea.AddSea();
  const int portId = sea.AddPort(1);
  const sWezelGrafuMorz& node = sea.graph().GetNode(portId - 1);
  auto city = std::make_unique<cCity>();
  city->name = u"Haven";
  city->x = node.x;
  city->y = node.y;
  city->type = kCityPort;
  sea.world().hex(node.x, node.y).city = city.get();
  sea.game().cities.push_back(std::move(city));
  sea.AddReserveShip(2, kCruiser);
  cJednostkaMorska& first = sea.AddReserveShip(1, kCruiser);
  cJednostkaMorska& second = sea.AddReserveShip(1, kSubmarine);
  cJednostkaMorska& due = sea.AddReserveShip(1, kBattleship);
  due.availableInTurns = 3;
  cCountry& own = sea.world().country(1);
  sea.game().playerControl.currentCountry = &own;
  cCountryAI& ai = CountryAiOf(sea.game(), own);
  ai.country = &own;

  ai.DeployNavalUnits();

  EXPECT_EQ(test::LinesStartingWith(log, u"Country1 is deploying").size(), 3u);
  EXPECT_TRUE(log.Contains(u"Country1 is deploying " + first.name + u" in Haven"));
  EXPECT_TRUE(log.Contains(u"Country1 is deploying " + second.name + u" in Haven"));
  EXPECT_TRUE(log.Contains(u"Country1 is deploying " + due.name + u" in Haven"));
  EXPECT_EQ(test::LinesStartingWith(log, u"Deployment succesful.").size(), 3u);
  ASSERT_NE(first.fleet, nullptr);
  EXPECT_EQ(first.fleet, second.fleet);
  EXPECT_EQ(first.fleet, due.fleet);
  EXPECT_EQ(first.fleet->seaNodeId, portId);
  EXPECT_EQ(sea.game().fleets.size(), 1u);
  // The other country's ship stays where it waits.
  ASSERT_EQ(sea.game().navalReserve.size(), 1u);
  EXPECT_EQ(sea.game().navalReserve.front()->owner, 2);
}

}  // namespace
}  // namespace tr
