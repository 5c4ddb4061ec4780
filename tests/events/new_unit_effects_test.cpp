// The effects that create units: where each new unit goes, what it starts
// with, and the refusals that leave nothing half-made behind.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "event_builders.h"
#include "events/effect_dispatch.h"
#include "foundation/random.h"
#include "scenario/scenario_constants_layout.h"
#include "support/log_capture.h"
#include "support/naval_world.h"

namespace tr::test {
namespace {

class NewUnitTest : public testing::Test {
 protected:
  NewUnitTest() {
    game().constants.SetSlot(consts_layout::kFullSupplyLevel, 10);
    game().constants.SetSlot(consts_layout::kMulberryValue, 30);
    game().constants.SetSlot(consts_layout::kMulberryStrength, 4.9);
    game().constants.SetSlot(consts_layout::kMulberryDuration, 3.5);
    for (int type = kAircraftCarrier; type <= kAmphibiousShip; ++type) {
      game().constants.SetSlot(consts_layout::kShipHitPoints + type - kAircraftCarrier, type - 30);
    }
  }
  TestWorld& world() { return naval_.world(); }
  cGame& game() { return naval_.game(); }
  sHex& hex(int x, int y) { return world().hex(x, y); }
  // Land units everywhere: on the map, in the reserve, aboard.
  std::size_t LandUnitCount() {
    std::size_t reserveLand = 0;
    for (const auto& unit : game().reservePool) reserveLand += unit->category == kCategoryLand;
    return game().landUnits.size() + reserveLand + game().aboardUnitsA.size() + game().aboardUnitsB.size();
  }
  bool LogHas(std::u16string_view part) const { return log_.ContainsText(part); }

  NavalWorld naval_;  // 16 x 8 land, four countries; sea nodes on row 0
  LogCapture log_;
};

sEffect Land(const char16_t* method, std::initializer_list<double> params, int line = 7) {
  return MakeEffect(method, params, line, {u"1st Rifles"});
}

struct LandCase {
  const char* name;
  sEffect effect;
  bool created;
  bool inReserve;
  int level;
  int strength;
  const char16_t* logPart;  // empty: nothing logged
};

class NewLandUnitTest : public NewUnitTest, public testing::WithParamInterface<LandCase> {};

// (3, 0) is sea; (5, 5) holds a unit of country 2.
TEST_P(NewLandUnitTest, GoesToExactlyOnePlaceOrNowhere) {
  naval_.AddSea();
  naval_.AddSea();
  naval_.AddSea();
  world().PlaceLandUnit(2, 5, 5);
  const int counter = game().nextLandUnitId;
  const std::size_t before = LandUnitCount();
  const LandCase& c = GetParam();
  ExecuteEffect(c.effect);
  EXPECT_EQ(LandUnitCount(), before + (c.created ? 1 : 0));
  EXPECT_EQ(game().nextLandUnitId, counter + (c.created ? 1 : 0));
  if (c.logPart[0] == 0) {
    EXPECT_TRUE(log_.lines().empty()) << std::string(log_.lines()[0].begin(), log_.lines()[0].end());
  } else {
    EXPECT_TRUE(LogHas(c.logPart));
  }
  if (!c.created) return;
  const cJednostkaLadowa* unit = nullptr;
  if (c.inReserve) {
    ASSERT_EQ(game().reservePool.size(), 1u);
    unit = dynamic_cast<const cJednostkaLadowa*>(game().reservePool[0].get());
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->inReserve, 1);
    EXPECT_EQ(unit->x, -1);
    EXPECT_EQ(unit->y, -1);
  } else {
    unit = game().landUnits.back().get();
    EXPECT_EQ(unit->inReserve, 0);
    EXPECT_EQ(hex(unit->x, unit->y).unit, unit);
    EXPECT_TRUE(game().reservePool.empty());
  }
  EXPECT_EQ(unit->id, counter + 1);
  EXPECT_EQ(unit->owner, 1);
  EXPECT_EQ(unit->name, u"1st Rifles");
  EXPECT_EQ(unit->type, kArmouredDivision);
  EXPECT_EQ(unit->level, c.level);
  EXPECT_EQ(unit->strength, c.strength);
  EXPECT_EQ(unit->actionPoints, 0);
  EXPECT_EQ(unit->startingActionPoints, 0);
  EXPECT_EQ(unit->supply, 10);
  EXPECT_EQ(unit->commanderId, -1);
  EXPECT_EQ(unit->supplySourceX, -1);
  EXPECT_EQ(unit->transporter, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Placements, NewLandUnitTest,
    testing::Values(
        LandCase{"ToTheReserve", Land(u"Hex.AddLandUnit", {-1, -1, 1, 4, 2, 80}), true, true, 2, 80, u""},
        LandCase{"OnAFreeLandHex", Land(u"Hex.AddLandUnit", {6.5, 4, 1.2, 4, 3, 50.9}), true, false, 3, 50, u""},
        LandCase{"NotOnASeaHex", Land(u"Hex.AddLandUnit", {3, 0, 1, 4, 2, 80}), false, false, 0, 0, u""},
        LandCase{"NotOnATakenHex", Land(u"Hex.AddLandUnit", {5, 5, 1, 4, 2, 80}), false, false, 0, 0, u""},
        LandCase{"OneCoordinateMinusOneIsOffTheMap", Land(u"Hex.AddLandUnit", {-1, 3, 1, 4, 2, 80}), false, false, 0, 0,
                 u"hex (-1, 3) is off the map"},
        LandCase{"LevelOutsideTheTablesIsOne", Land(u"Hex.AddLandUnit", {6, 4, 1, 4, 9, 80}), true, false, 1, 80,
                 u"unit level 9 is outside 1 to 5; 1 is used"},
        LandCase{"StrengthIsHeld", Land(u"Hex.AddLandUnit", {-1, -1, 1, 4, 1, 250}), true, true, 1, 100,
                 u"strength 250 is outside 0 to 100; 100 is used"},
        LandCase{"StrengthZeroIsKept", Land(u"Hex.AddLandUnit", {-1, -1, 1, 4, 1, 0}), true, true, 1, 0, u""},
        LandCase{"StrengthBelowZeroIsHeldAtZero", Land(u"Hex.AddLandUnit", {-1, -1, 1, 4, 1, -1}), true, true, 1, 0,
                 u"strength -1 is outside 0 to 100; 0 is used"},
        LandCase{"HarbourTypeRefused", Land(u"Hex.AddLandUnit", {6, 4, 1, 60, 1, 80}), false, false, 0, 0,
                 u"60 is not a land unit type; nothing is created"},
        LandCase{"AirTypeRefused", Land(u"Hex.AddLandUnit", {-1, -1, 1, 20, 1, 80}), false, false, 0, 0,
                 u"20 is not a land unit type"},
        LandCase{"NoCountryZero", Land(u"Hex.AddLandUnit", {6, 4, 0, 4, 1, 80}), false, false, 0, 0,
                 u"there is no country 0"},
        LandCase{"NoCountryFive", Land(u"Hex.AddLandUnit", {-1, -1, 5, 4, 1, 80}), false, false, 0, 0,
                 u"there is no country 5"},
        LandCase{"PassControlOnLand", Land(u"Hex.AddUnitAndPassControlOverHexIfEmpty", {6, 4, 1, 4, 2, 80}), true,
                 false, 2, 80, u""},
        LandCase{"PassControlNeverAtSea", Land(u"Hex.AddUnitAndPassControlOverHexIfEmpty", {3, 0, 1, 4, 2, 80}), false,
                 false, 0, 0, u"(3, 0) is a sea hex; no land unit is placed there"},
        LandCase{"PassControlNotToTheReserve", Land(u"Hex.AddUnitAndPassControlOverHexIfEmpty", {-1, -1, 1, 4, 2, 80}),
                 false, false, 0, 0, u""},
        LandCase{"PassControlNotOnATakenHex", Land(u"Hex.AddUnitAndPassControlOverHexIfEmpty", {5, 5, 1, 4, 2, 80}),
                 false, false, 0, 0, u""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NewUnitTest, PassingControlLeavesTheOwner) {
  hex(6, 4).SetController(3);
  hex(6, 4).SetOwner(3);
  ExecuteEffect(Land(u"Hex.AddUnitAndPassControlOverHexIfEmpty", {6, 4, 1, 0, 1, 80}));
  EXPECT_EQ(hex(6, 4).controller, 1);
  EXPECT_EQ(hex(6, 4).owner, 3);
}

struct AirCase {
  const char* name;
  std::vector<double> place;  // x, y
  bool inReserve;
};

class NewAirUnitTest : public NewUnitTest, public testing::WithParamInterface<AirCase> {};

TEST_P(NewAirUnitTest, GoesToTheHexOrTheReserve) {
  world().PlaceLandUnit(2, 5, 5);
  const AirCase& c = GetParam();
  ExecuteEffect(MakeEffect(u"Hex.AddAirUnit", {2, c.place[0], c.place[1], 21, 7, 6}, 7, {u"Wing"}));
  ASSERT_EQ(game().airUnits.size() + game().reservePool.size(), 1u);
  const cJednostkaLotnicza* unit = c.inReserve ? dynamic_cast<const cJednostkaLotnicza*>(game().reservePool.at(0).get())
                                               : game().airUnits.front().get();
  ASSERT_NE(unit, nullptr);
  EXPECT_EQ(unit->inReserve, c.inReserve ? 1 : 0);
  EXPECT_EQ(unit->owner, 2);
  EXPECT_EQ(unit->type, kTacticalBomber);
  EXPECT_EQ(unit->level, 1);  // 7 is outside the tables
  EXPECT_EQ(unit->strength, 6);
  EXPECT_EQ(unit->actionPoints, 0);
  EXPECT_EQ(unit->supply, 10);
  if (c.inReserve) {
    EXPECT_EQ(unit->x, -1);
    EXPECT_NE(hex(5, 5).unit, unit);
  } else {
    EXPECT_EQ(hex(unit->x, unit->y).unit, unit);
  }
}

INSTANTIATE_TEST_SUITE_P(Places, NewAirUnitTest,
                         testing::Values(AirCase{"FreeHex", {7, 2}, false}, AirCase{"TakenHex", {5, 5}, true},
                                         AirCase{"Reserve", {-1, -1}, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(NewUnitTest, AirUnitOfALandTypeIsRefused) {
  const int counter = game().nextAirUnitId;
  ExecuteEffect(MakeEffect(u"Hex.AddAirUnit", {2, 7, 2, 4, 1, 6}, 7, {u"Wing"}));
  EXPECT_TRUE(game().airUnits.empty());
  EXPECT_EQ(game().nextAirUnitId, counter);
  EXPECT_TRUE(LogHas(u"4 is not an air unit type; nothing is created"));
}

class PartisanTest : public NewUnitTest {
 protected:
  // The city on (8, 4) held by country 3 with all land around it.
  PartisanTest() {
    for (int x = 0; x < 16; ++x) {
      for (int y = 0; y < 8; ++y) hex(x, y).controller = 3;
    }
  }
  // The draws that make the candidate (cx, cy) for the city at (8, 4).
  static std::deque<int> Candidate(int cx, int cy) { return {RangeDraw(3, 14, cx), RangeDraw(-1, 10, cy)}; }
  sEffect Fire() { return MakeEffect(u"City.FirePartisans", {8, 4, 1, 0, 2, 40}, 7, {u"Partisans"}); }
};

TEST_F(PartisanTest, NeverTakesTheCitysOwnColumnOrRow) {
  std::deque<int> draws;
  for (const auto& part : {Candidate(8, 2), Candidate(5, 4), Candidate(8, 4), Candidate(6, 2)}) {
    draws.insert(draws.end(), part.begin(), part.end());
  }
  {
    ScopedRandomDraws scripted(draws);
    ExecuteEffect(Fire());
  }
  ASSERT_EQ(game().landUnits.size(), 1u);
  const cJednostkaLadowa& unit = *game().landUnits.front();
  EXPECT_EQ(unit.x, 6);
  EXPECT_EQ(unit.y, 2);
  EXPECT_EQ(unit.owner, 1);
  EXPECT_EQ(hex(6, 2).controller, 1);
  EXPECT_EQ(hex(6, 2).unit, &unit);
}

TEST_F(PartisanTest, RefusesTakenFarForeignAndSeaHexes) {
  hex(7, 2).terrain = kTerrainWater;
  world().PlaceLandUnit(3, 7, 3);
  hex(9, 5).controller = 2;
  std::deque<int> draws;
  // Taken, held by another country, sea, too far (distance 6), then off the map.
  for (const auto& part :
       {Candidate(7, 3), Candidate(9, 5), Candidate(7, 2), Candidate(14, 5), Candidate(10, -1), Candidate(10, 6)}) {
    draws.insert(draws.end(), part.begin(), part.end());
  }
  {
    ScopedRandomDraws scripted(draws);
    ExecuteEffect(Fire());
  }
  ASSERT_EQ(game().landUnits.size(), 2u);
  EXPECT_EQ(game().landUnits.back()->x, 10);
  EXPECT_EQ(game().landUnits.back()->y, 6);
}

TEST_F(PartisanTest, NothingWhenThePartisansHoldTheCityOrNoHexFits) {
  hex(8, 4).controller = 1;
  ExecuteEffect(Fire());
  EXPECT_TRUE(game().landUnits.empty());
  // Around a city of country 2 no hex is held by country 2: thirty tries fail.
  hex(8, 4).controller = 2;
  SeedRandom(3);
  ExecuteEffect(Fire());
  EXPECT_TRUE(game().landUnits.empty());
  EXPECT_TRUE(log_.lines().empty());
}

TEST_F(NewUnitTest, MulberryIsPlacedNumberedAndLogged) {
  world().PlaceLandUnit(2, 1, 1);
  ExecuteEffect(MakeEffect(u"Hex.AddMulberry", {1, 5, 3}, 7, {u"Harbour A"}));
  ExecuteEffect(MakeEffect(u"Hex.AddMulberry", {2, 6, 3}, 7, {u"Harbour B"}));
  ASSERT_EQ(game().landUnits.size(), 3u);
  auto* a = dynamic_cast<cMulberry*>(hex(5, 3).unit);
  auto* b = dynamic_cast<cMulberry*>(hex(6, 3).unit);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a->id, b->id);
  EXPECT_GT(a->id, game().landUnits.front()->id);
  EXPECT_EQ(a->type, kMulberryType);
  EXPECT_EQ(a->category, kCategoryLand);
  EXPECT_EQ(a->level, 1);
  EXPECT_EQ(a->strength, 4);
  EXPECT_EQ(a->remainingTime, 3);
  EXPECT_EQ(a->actionPoints, 0);
  EXPECT_EQ(a->owner, 1);
  EXPECT_EQ(log_.lines(),
            (std::vector<std::u16string>{u"Mulberry  \"Harbour A\" created at (5, 3) for country Country1",
                                         u"Mulberry  \"Harbour B\" created at (6, 3) for country Country2"}));
}

struct MulberryCase {
  const char* name;
  bool sea;
  bool port;
  bool taken;
  double refund;
};

class MulberryRefusalTest : public NewUnitTest, public testing::WithParamInterface<MulberryCase> {};

TEST_P(MulberryRefusalTest, PlacesNothingAndRefundsOnlyOnATakenPlainLandHex) {
  const MulberryCase& c = GetParam();
  if (c.sea) hex(4, 4).terrain = kTerrainWater;
  hex(4, 4).port = c.port ? 1 : 0;
  if (c.taken) world().PlaceLandUnit(2, 4, 4);
  world().country(1).productionPoints = 100;
  const std::size_t before = game().landUnits.size();
  ExecuteEffect(MakeEffect(u"Hex.AddMulberry", {1, 4, 4}, 7, {u"Harbour"}));
  EXPECT_EQ(game().landUnits.size(), before);
  EXPECT_DOUBLE_EQ(world().country(1).productionPoints, 100 + c.refund);
  EXPECT_FALSE(LogHas(u"Mulberry  "));
}

INSTANTIATE_TEST_SUITE_P(Hexes, MulberryRefusalTest,
                         testing::Values(MulberryCase{"TakenLand", false, false, true, 15},
                                         MulberryCase{"TakenPort", false, true, true, 0},
                                         MulberryCase{"TakenSea", true, false, true, 0},
                                         MulberryCase{"FreeSea", true, false, false, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(NewUnitTest, HexAddNavalUnitWaitsInTheNavalReserve) {
  const int counter = game().nextNavalUnitId;
  ExecuteEffect(MakeEffect(u"Hex.AddNavalUnit", {3, 42}, 7, {u"Cruiser"}));
  ExecuteEffect(MakeEffect(u"Hex.AddNavalUnit", {3, 46}, 8, {u"Nothing"}));
  ExecuteEffect(MakeEffect(u"Hex.AddNavalUnit", {0, 42}, 9, {u"Nothing"}));
  ASSERT_EQ(game().navalReserve.size(), 1u);
  const cJednostkaMorska& ship = *game().navalReserve[0];
  EXPECT_EQ(ship.id, counter + 1);
  EXPECT_EQ(game().nextNavalUnitId, counter + 1);
  EXPECT_EQ(ship.owner, 3);
  EXPECT_EQ(ship.type, kCruiser);
  EXPECT_EQ(ship.hitPoints, 12);
  EXPECT_EQ(ship.maxHitPoints, 12);
  EXPECT_EQ(ship.inReserve, 1);
  EXPECT_EQ(ship.canBeRepaired, 1);
  EXPECT_EQ(ship.fleet, nullptr);
  EXPECT_TRUE(game().navalUnits.empty());
  EXPECT_TRUE(LogHas(u"46 is not a ship type"));
}

struct ShipCase {
  const char* name;
  int node;          // 1 sea zone, 2 own port, 3 port of country 2
  double hitPoints;  // -2147483647.0: not given
  bool inFleet;
  int expectedHitPoints;
};

class SeaNodeShipTest : public NewUnitTest, public testing::WithParamInterface<ShipCase> {};

TEST_P(SeaNodeShipTest, JoinsAFleetAtTheNodeOrStaysInTheReserve) {
  naval_.AddSea();
  naval_.AddPort(1);
  naval_.AddPort(2);
  const ShipCase& c = GetParam();
  sEffect effect = MakeEffect(u"SeaNode.AddNavalUnit", {double(c.node), 1, 41}, 5, {u"Warspite"});
  effect.params[3] = c.hitPoints;
  ExecuteEffect(effect);
  ASSERT_EQ(game().navalUnits.size() + game().navalReserve.size(), 1u);
  const cJednostkaMorska& ship = c.inFleet ? *game().navalUnits.front() : *game().navalReserve.front();
  EXPECT_EQ(ship.hitPoints, c.expectedHitPoints);
  EXPECT_EQ(ship.maxHitPoints, c.expectedHitPoints);
  EXPECT_EQ(ship.inReserve, c.inFleet ? 0 : 1);
  if (c.inFleet) {
    ASSERT_NE(ship.fleet, nullptr);
    EXPECT_EQ(ship.fleet->seaNodeId, c.node);
    EXPECT_EQ(ship.fleet->countryId, 1);
  } else {
    EXPECT_TRUE(game().fleets.empty());
  }
  EXPECT_EQ(LogHas(u"ERROR: param3 for effect at line 5 is not defined!"), c.hitPoints == -2147483647.0);
}

INSTANTIATE_TEST_SUITE_P(Nodes, SeaNodeShipTest,
                         testing::Values(ShipCase{"SeaZoneAboveTheTypesHitPoints", 1, 40, true, 11},
                                         ShipCase{"SeaZoneBelow", 1, 7.9, true, 7},
                                         ShipCase{"OwnPortWithoutHitPoints", 2, -2147483647.0, true, 11},
                                         ShipCase{"ForeignPortKeepsItInTheReserve", 3, 5, false, 5},
                                         ShipCase{"ZeroHitPointsGiveOne", 1, 0, true, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(NewUnitTest, SeaNodeShipAtAnUnknownNodeIsNotMade) {
  const int counter = game().nextNavalUnitId;
  ExecuteEffect(MakeEffect(u"SeaNode.AddNavalUnit", {4, 1, 41, 5}, 5, {u"Warspite"}));
  EXPECT_TRUE(game().navalReserve.empty());
  EXPECT_EQ(game().nextNavalUnitId, counter);
  EXPECT_TRUE(LogHas(u"there is no sea node 4"));
}

sEffect AtSea(const char16_t* method, std::initializer_list<double> params, int line = 7) {
  return MakeEffect(method, params, line, {u"2nd Marines"});
}

class LandAtSeaTest : public NewUnitTest {
 protected:
  // Node 1 a sea zone at (1, 0); node 2 a port of country 1 at (2, 0); node
  // 3 a port of country 2 at (3, 0). Hex (6, 6) is coast of zone 1, (6, 5)
  // inland.
  LandAtSeaTest() {
    naval_.AddSea();
    naval_.AddPort(1);
    naval_.AddPort(2);
    hex(6, 6).seaZone = 1;
  }
};

TEST_F(LandAtSeaTest, UnitsForOneNodeShareAFleet) {
  const int counter = game().nextNavalUnitId;
  ExecuteEffect(AtSea(u"SeaNode.AddLandUnit", {1, 44, 1, 0, 2, 70}));
  ExecuteEffect(AtSea(u"SeaNode.AddLandUnit", {1, 45, 1, 1, 2, 70}));
  ExecuteEffect(AtSea(u"SeaNode.AddLandUnit", {2, 44, 1, 1, 2, 70}));
  ASSERT_EQ(game().fleets.size(), 2u);
  const cFleet& first = *game().fleets.front();
  EXPECT_EQ(first.ships.size(), 2u);
  EXPECT_EQ(first.seaNodeId, 1);
  EXPECT_EQ(first.countryId, 1);
  EXPECT_EQ(first.name, u"new_transporter_fleet_#" + std::u16string(1, char16_t(u'0' + first.id)));
  EXPECT_EQ(game().fleets.back()->seaNodeId, 2);
  ASSERT_EQ(game().aboardUnitsA.size(), 2u);
  ASSERT_EQ(game().aboardUnitsB.size(), 1u);
  EXPECT_TRUE(game().landUnits.empty());
  EXPECT_TRUE(game().reservePool.empty());
  for (const cJednostkaMorska* ship : first.ships) {
    ASSERT_NE(ship->carriedUnit, nullptr);
    const cJednostkaLadowa& unit = *ship->carriedUnit;
    EXPECT_EQ(unit.transporter, ship);
    EXPECT_EQ(unit.transporterId, ship->id);
    EXPECT_EQ(unit.x, -1);
    EXPECT_EQ(unit.y, -1);
    EXPECT_EQ(unit.inReserve, 0);
    EXPECT_EQ(unit.actionPoints, 0);
    EXPECT_EQ(ship->name, u"2nd Marines");
    EXPECT_EQ(ship->fleet, &first);
    EXPECT_EQ(ship->fleetId, first.id);
    EXPECT_EQ(ship->inReserve, 0);
    EXPECT_EQ(ship->hitPoints, ship->type - 30);
  }
  EXPECT_EQ(first.ships.front()->carriedUnit, game().aboardUnitsA.front().get());
  EXPECT_EQ(first.ships.back()->carriedUnit, game().aboardUnitsB.front().get());
  EXPECT_EQ(game().navalUnits.size(), 3u);
  // Each ship takes a number of its own from the ship counter.
  std::set<int> numbers;
  for (const auto& ship : game().navalUnits) numbers.insert(ship->id);
  EXPECT_EQ(numbers.size(), 3u);
  EXPECT_EQ(game().nextNavalUnitId, counter + 3);
}

TEST_F(LandAtSeaTest, UnitsWithADestinationGetAFleetEach) {
  ExecuteEffect(AtSea(u"SeaNode.AddLandUnitWithDest", {1, 44, 1, 0, 1, 70, 2, 3}));
  ExecuteEffect(AtSea(u"SeaNode.AddLandUnitWithDest", {1, 44, 1, 0, 1, 70, 9, 3}, 8));
  ASSERT_EQ(game().fleets.size(), 2u);
  EXPECT_EQ(game().fleets.front()->aiDestinationNode, 2);
  EXPECT_EQ(game().fleets.front()->aiOrder, 3);
  EXPECT_EQ(game().fleets.back()->aiDestinationNode, -1);
  EXPECT_TRUE(LogHas(u"effect SeaNode.AddLandUnitWithDest at line 8: there is no sea node 9"));
}

TEST_F(LandAtSeaTest, LandingUnitsShareAFleetPerInvasionHex) {
  ExecuteEffect(AtSea(u"SeaNode.AddLandingLandUnit", {1, 45, 1, 0, 1, 70, 6, 6}));
  ExecuteEffect(AtSea(u"SeaNode.AddLandingLandUnit", {1, 45, 1, 0, 1, 70, 6.5, 6}));
  ExecuteEffect(AtSea(u"SeaNode.AddLandingLandUnit", {1, 45, 1, 0, 1, 70, 6, 5}));
  ASSERT_EQ(game().fleets.size(), 2u);
  const cFleet& coast = *game().fleets.front();
  EXPECT_EQ(coast.ships.size(), 2u);
  EXPECT_EQ(coast.aiOrder, 2);
  EXPECT_EQ(coast.aiInvasionX, 6);
  EXPECT_EQ(coast.aiInvasionY, 6);
  EXPECT_EQ(coast.aiDestinationNode, 1);
  const cFleet& inland = *game().fleets.back();
  EXPECT_EQ(inland.aiDestinationNode, -1);
  EXPECT_EQ(inland.aiInvasionY, 5);
  EXPECT_TRUE(
      log_.Contains(u"Nieprawidłowy event SeaNode.AddLandingLandUnit: chce inwazji na hex 6, 5 ktory jest srodladowy"));
  EXPECT_EQ(game().aboardUnitsB.size(), 3u);
}

struct RefusedAtSeaCase {
  const char* name;
  sEffect effect;
  const char16_t* logPart;
};

class RefusedAtSeaTest : public LandAtSeaTest, public testing::WithParamInterface<RefusedAtSeaCase> {};

TEST_P(RefusedAtSeaTest, MakesNoUnitShipOrFleet) {
  const int land = game().nextLandUnitId;
  const int naval = game().nextNavalUnitId;
  const int fleets = game().nextFleetId;
  ExecuteEffect(GetParam().effect);
  EXPECT_TRUE(game().aboardUnitsA.empty());
  EXPECT_TRUE(game().aboardUnitsB.empty());
  EXPECT_TRUE(game().navalUnits.empty());
  EXPECT_TRUE(game().fleets.empty());
  EXPECT_EQ(game().nextLandUnitId, land);
  EXPECT_EQ(game().nextNavalUnitId, naval);
  EXPECT_EQ(game().nextFleetId, fleets);
  if (GetParam().logPart[0] != 0) {
    EXPECT_TRUE(LogHas(GetParam().logPart));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, RefusedAtSeaTest,
    testing::Values(
        RefusedAtSeaCase{"ForeignPort", AtSea(u"SeaNode.AddLandUnit", {3, 44, 1, 0, 1, 70}), u""},
        RefusedAtSeaCase{"UnknownNode", AtSea(u"SeaNode.AddLandUnit", {7, 44, 1, 0, 1, 70}), u"no sea node 7"},
        RefusedAtSeaCase{"Battleship", AtSea(u"SeaNode.AddLandUnitWithDest", {1, 41, 1, 0, 1, 70, 2, 3}),
                         u"ship type 41 carries no land units"},
        RefusedAtSeaCase{"HarbourType", AtSea(u"SeaNode.AddLandUnit", {1, 44, 1, 60, 1, 70}),
                         u"60 is not a land unit type"},
        RefusedAtSeaCase{"NoOwner", AtSea(u"SeaNode.AddLandUnit", {1, 44, 7, 0, 1, 70}), u"there is no country 7"},
        RefusedAtSeaCase{"InvasionHexOffTheMap", AtSea(u"SeaNode.AddLandingLandUnit", {1, 45, 1, 0, 1, 70, 6, 8}),
                         u"hex (6, 8) is off the map"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tr::test
