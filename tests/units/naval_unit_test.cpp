// Ships: their values, hit points and battle flags, joining fleets from the
// reserve, going ashore from a transport, and sinking.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "foundation/format.h"
#include "foundation/string_base.h"
#include "support/log_capture.h"
#include "support/naval_world.h"
#include "units/jednostka_ladowa.h"
#include "world/city.h"
#include "world/commander.h"
#include "world/headless_presentation.h"

namespace tr {
namespace {

class NavalUnit : public testing::Test {
 protected:
  test::NavalWorld sea;
};

struct StrengthCase {
  const char* name;
  int type;
  int navy;
  int submarine;
  float expected;
};
class NavalStrength : public NavalUnit, public testing::WithParamInterface<StrengthCase> {};

// Lines 74 and 75 give 7 and 8 for every type: the base is (8 + 7) / 2 = 7.
TEST_P(NavalStrength, HalfTheNavalValuesScaledByTechnology) {
  const StrengthCase& c = GetParam();
  for (int token = 2; token <= 7; ++token) {
    sea.SetConstant(74, token, 7);
    sea.SetConstant(75, token, 8);
  }
  sea.world().country(1).techLevels[kNavyTech] = c.navy;
  sea.world().country(1).techLevels[kSubmarineTech] = c.submarine;
  const int node = sea.AddSea();
  cJednostkaMorska& ship = sea.AddShip(sea.AddFleet(1, node, {}), c.type);
  EXPECT_NEAR(ship.GetCombatStrength(), c.expected, 1e-5f);
  const int level = c.type == kSubmarine ? c.submarine : c.navy;
  EXPECT_EQ(ship.GetTechRating(), (level + 3) * 10);
}

INSTANTIATE_TEST_SUITE_P(Ships, NavalStrength,
                         testing::Values(StrengthCase{"BattleshipNavy3", kBattleship, 3, 1, 4.9f},
                                         StrengthCase{"SubmarineReadsSubmarineTech", kSubmarine, 1, 5, 6.3f},
                                         StrengthCase{"NavyZero", kCruiser, 0, 0, 2.8f}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(NavalUnit, TypeOutsideTheTablesIsReadAsTheNearestShipType) {
  sea.SetConstant(162, 1, 3);  // carriers
  sea.SetConstant(162, 6, 7);  // amphibious ships
  cJednostkaMorska ship;
  ship.type = 12;
  test::LogCapture log;
  EXPECT_EQ(ship.GetRequiredPortSize(), 3);
  ship.type = 99;
  EXPECT_EQ(ship.GetRequiredPortSize(), 7);
  EXPECT_TRUE(log.ContainsText(u"has type 99, outside the ship tables; read as type 45"));
}

struct HitPointCase {
  const char* name;
  int hitPoints;
  float amount;
  int expected;
};
class NavalHitPoints : public NavalUnit, public testing::WithParamInterface<HitPointCase> {};

TEST_P(NavalHitPoints, StayWithinZeroAndTheMaximum) {
  cJednostkaMorska ship;
  ship.maxHitPoints = 8;
  ship.hitPoints = GetParam().hitPoints;
  EXPECT_EQ(ship.AddHitPoints(GetParam().amount), GetParam().expected);
  EXPECT_EQ(ship.hitPoints, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, NavalHitPoints,
    testing::Values(HitPointCase{"Loss", 5, -2.0f, 3}, HitPointCase{"TruncatesTheSum", 5, -1.5f, 3},
                    HitPointCase{"BelowZero", 2, -5.0f, 0}, HitPointCase{"AboveMaximum", 6, 4.0f, 8},
                    HitPointCase{"HugeGain", 1, 3e9f, 8}, HitPointCase{"HugeLoss", 7, -3e9f, 0},
                    HitPointCase{"Infinite", 4, std::numeric_limits<float>::infinity(), 8},
                    HitPointCase{"NotANumber", 4, std::numeric_limits<float>::quiet_NaN(), 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NavalUnit, LossesStopAtTheMinimumShare) {
  sea.SetConstant(155, 1, 30.0);
  cJednostkaMorska ship;
  ship.maxHitPoints = 10;
  ship.hitPoints = 1;
  ship.RaiseHitPointsToMinimum();
  EXPECT_EQ(ship.hitPoints, 3);
  ship.hitPoints = 5;
  ship.RaiseHitPointsToMinimum();
  EXPECT_EQ(ship.hitPoints, 5);
}

struct BattleFlagCase {
  const char* name;
  int type;
  int hitPoints;
  int mayAct;
};
class NavalBattleFlags : public NavalUnit, public testing::WithParamInterface<BattleFlagCase> {};

// The carrier limit is 3 hit points.
TEST_P(NavalBattleFlags, DamagedCarriersAndTransportsStayOut) {
  sea.SetConstant(156, 1, 3);
  cJednostkaMorska ship;
  ship.SetType(GetParam().type);
  ship.hitPoints = GetParam().hitPoints;
  ship.mayAct = 7;
  ship.retreated = 1;
  ship.InitBattleFlags();
  EXPECT_EQ(ship.mayAct, GetParam().mayAct);
  EXPECT_EQ(ship.retreated, 0);
}

INSTANTIATE_TEST_SUITE_P(Types, NavalBattleFlags,
                         testing::Values(BattleFlagCase{"CarrierAtTheLimit", kAircraftCarrier, 3, 0},
                                         BattleFlagCase{"CarrierAbove", kAircraftCarrier, 4, 1},
                                         BattleFlagCase{"Battleship", kBattleship, 1, 1},
                                         BattleFlagCase{"Cargo", kCargoShip, 6, 0},
                                         BattleFlagCase{"Amphibious", kAmphibiousShip, 6, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(NavalUnit, UnknownNodeLeavesTheShipInTheReserve) {
  cJednostkaMorska& ship = sea.AddReserveShip(1, kCruiser);
  test::LogCapture log;
  ship.AssignToFleetAtNode(4);
  EXPECT_TRUE(log.Contains(u"WARNING: Could not find sea node with ID = 4 while assigning ship Ship1 (ID = 1)"));
  EXPECT_EQ(sea.game().navalReserve.size(), 1u);
  EXPECT_TRUE(sea.game().fleets.empty());
  EXPECT_EQ(ship.fleet, nullptr);
}

TEST_F(NavalUnit, AssignedShipJoinsTheOwnersFirstFleetAtTheNode) {
  const int node = sea.AddSea();
  sea.AddFleet(3, node, {kCruiser});  // another country's
  cFleet& first = sea.AddFleet(1, node, {kCruiser});
  sea.AddFleet(1, node, {kCruiser});
  first.hasMoved = 1;
  cJednostkaMorska& ship = sea.AddReserveShip(1, kBattleship);
  ship.AssignToFleetAtNode(node);
  EXPECT_EQ(ship.fleet, &first);
  EXPECT_EQ(first.ships.back(), &ship);
  EXPECT_EQ(ship.inReserve, 0);
  EXPECT_TRUE(sea.game().navalReserve.empty());
  EXPECT_EQ(sea.game().navalUnits.back().get(), &ship);
}

TEST_F(NavalUnit, FormNewFleetPassesAFleetThatHasMoved) {
  const int node = sea.AddSea();
  cFleet& moved = sea.AddFleet(1, node, {kCruiser});
  moved.hasMoved = 1;
  const int expectedId = sea.game().nextFleetId + 1;
  cJednostkaMorska& ship = sea.AddReserveShip(1, kSubmarine);
  ship.FormNewFleet(node);
  ASSERT_NE(ship.fleet, nullptr);
  EXPECT_NE(ship.fleet, &moved);
  EXPECT_EQ(ship.fleet->id, expectedId);
  EXPECT_EQ(ship.fleet->name, Format(GetText("fleet_#%i"), expectedId));
  EXPECT_EQ(ship.fleet->seaNodeId, node);
  EXPECT_EQ(ship.fleet->countryId, 1);
  EXPECT_EQ(ship.fleet->formation, kFleetRegular);
  EXPECT_EQ(ship.fleet->ships, (std::list<cJednostkaMorska*>{&ship}));
  EXPECT_EQ(sea.game().fleets.back().get(), ship.fleet);

  // Joining the unmoved fleet now.
  cJednostkaMorska& second = sea.AddReserveShip(1, kSubmarine);
  second.FormNewFleet(node);
  EXPECT_EQ(second.fleet, ship.fleet);
  EXPECT_EQ(sea.game().fleets.size(), 2u);
}

TEST_F(NavalUnit, PlacementCountsOwnPortsLargeEnough) {
  sea.SetPortSizeFor(kBattleship, 4);
  const int big = sea.AddPort(1, 4);
  sea.AddPort(1, 3);  // too small
  sea.AddPort(2, 9);  // an ally's
  sea.AddSea();
  cJednostkaMorska& ship = sea.AddReserveShip(1, kBattleship);
  EXPECT_EQ(ship.MarkPlacementHexes(0), 1);
  EXPECT_EQ(sea.world().hex(big, 1).flags, 0u);
  sea.world().hex(9, 5).AddFlags(0x41, -1);
  EXPECT_EQ(ship.MarkPlacementHexes(1), 1);
  EXPECT_EQ(sea.world().hex(big, 1).flags, 64u);
  EXPECT_EQ(sea.world().hex(9, 5).flags, 1u);
}

// A transport at port node 1 (hex (1, 0)) carrying a land unit.
class NavalTransport : public NavalUnit {
 protected:
  NavalTransport() {
    port = sea.AddPort(1);
    sea.AddFleet(1, port, {kCruiser});
  }
  cJednostkaLadowa& Board(cJednostkaMorska& ship) {
    auto unit = std::make_unique<cJednostkaLadowa>();
    unit->owner = ship.owner;
    unit->name = u"Marines";
    unit->transporter = &ship;
    unit->transporterId = ship.id;
    ship.carriedUnit = unit.get();
    auto& list = ship.type == kAmphibiousShip ? sea.game().aboardUnitsB : sea.game().aboardUnitsA;
    list.push_back(std::move(unit));
    return *list.back();
  }
  cJednostkaMorska& Transport(int type) { return sea.AddShip(*sea.game().fleets.front(), type); }

  int port = 0;
};

TEST_F(NavalTransport, OnlyCargoAndAmphibiousShipsUnload) {
  cJednostkaMorska& cruiser = *sea.game().fleets.front()->ships.front();
  cJednostkaLadowa& unit = Board(cruiser);
  test::LogCapture log;
  EXPECT_FALSE(cruiser.UnloadTransport(2, 2, 1, 0));
  EXPECT_TRUE(log.Contains(
      u"ERR: Trying to unload sea transport from sea unit of subtype of neither cargo nor amphibious! Details below"));
  EXPECT_TRUE(log.Contains(
      u"ERR: Unloading sea transport into friendly-controlled hex 2, 2 with land unit Marines [ID 1] transported by "
      u"sea unit Ship1 [ID 1] of subtype 42 (INVALID SUBTYPE FOR THIS ACTION!)"));
  EXPECT_EQ(cruiser.carriedUnit, &unit);
  EXPECT_EQ(sea.world().hex(2, 2).unit, nullptr);
}

TEST_F(NavalTransport, CargoSetsTheUnitAshoreAndReturnsTransportPoints) {
  sea.SetConstant(69, 2, 3);  // infantry division
  // The port's city supplies the unit at its level for country 1.
  auto city = std::make_unique<cCity>();
  city->x = 1;
  city->y = 0;
  city->supplyInfo = {7, 4, 9};
  sea.world().hex(1, 0).city = city.get();
  sea.game().cities.push_back(std::move(city));
  cJednostkaMorska& cargo = Transport(kCargoShip);
  cJednostkaLadowa& unit = Board(cargo);
  unit.SetType(kInfantryDivision);
  unit.actionPoints = 4;
  unit.supply = 3;
  sea.world().country(1).seaTransportPoints = 10;
  sea.game().playerControl.currentCountry = &sea.world().country(1);
  EXPECT_TRUE(cargo.UnloadCarriedUnit(1));
  EXPECT_EQ(sea.game().aboardUnitsA.size(), 1u);  // only a test
  EXPECT_TRUE(cargo.UnloadCarriedUnit(0));
  // The port's own hex (1, 0) is free, friendly land.
  EXPECT_EQ(sea.world().hex(1, 0).unit, &unit);
  EXPECT_EQ(unit.x, 1);
  EXPECT_EQ(unit.actionPoints, 0);
  EXPECT_EQ(unit.supply, 7);
  EXPECT_EQ(unit.supplySourceX, 1);
  EXPECT_EQ(unit.transporter, nullptr);
  EXPECT_EQ(unit.transporterId, -1);
  EXPECT_EQ(cargo.carriedUnit, nullptr);
  EXPECT_TRUE(sea.game().aboardUnitsA.empty());
  EXPECT_EQ(sea.game().landUnits.back().get(), &unit);
  EXPECT_EQ(sea.world().country(1).seaTransportPoints, 13);
  test::LogCapture log;
  EXPECT_FALSE(cargo.UnloadCarriedUnit(0));
  EXPECT_TRUE(log.Contains(u"ERROR! Trying to unload non-existing unit from transport!"));
}

TEST_F(NavalTransport, SinkingWithoutTheKillFlagLeavesTheUnitAboard) {
  cJednostkaMorska& amph = Transport(kAmphibiousShip);
  cJednostkaLadowa& unit = Board(amph);
  amph.Sink(0);
  ASSERT_EQ(sea.game().aboardUnitsB.size(), 1u);
  EXPECT_EQ(unit.transporter, nullptr);
  EXPECT_EQ(unit.transporterId, -1);  // a saved game names no sunk ship
  EXPECT_EQ(sea.game().navalUnits.size(), 1u);
  EXPECT_EQ(sea.game().fleets.front()->ships.size(), 1u);
}

TEST_F(NavalTransport, SinkingWithTheKillFlagTakesTheUnitDown) {
  cJednostkaMorska& cargo = Transport(kCargoShip);
  Board(cargo);
  test::LogCapture log;
  cargo.Sink(1);
  EXPECT_TRUE(sea.game().aboardUnitsA.empty());
  EXPECT_TRUE(log.Contains(Format(GetText("killing_%s_carried_by_transport/amph."), u"Marines")));
  EXPECT_TRUE(log.Contains(Format(GetText("killing_%s_naval_unit"), u"Ship2")));
}

TEST_F(NavalUnit, AmphibiousShipsLandOnEnemyPortHexesOfTheirZone) {
  const int zone = sea.AddSea();
  cJednostkaMorska& amph = sea.AddShip(sea.AddFleet(1, zone, {}), kAmphibiousShip);
  const auto coast = [&](int x, int y, int controller) -> sHex& {
    sHex& hex = sea.world().hex(x, y);
    hex.seaZone = static_cast<std::uint16_t>(zone);
    hex.port = 1;
    hex.controller = static_cast<std::uint8_t>(controller);
    return hex;
  };
  coast(3, 3, 3);                                      // free enemy port hex
  coast(4, 3, 3);
  sea.world().PlaceLandUnit(3, 4, 3);                  // held by an enemy: attacked
  coast(5, 3, 3);
  sea.world().PlaceLandUnit(2, 5, 3);                  // an ally stands there
  coast(6, 3, 1);                                      // own
  coast(7, 3, 3).port = 0;                             // no port
  EXPECT_EQ(amph.MarkPlacementPorts(1), 2);
  EXPECT_EQ(sea.world().hex(3, 3).flags, 64u);
  EXPECT_EQ(sea.world().hex(4, 3).flags, 64u);
  EXPECT_EQ(sea.world().hex(5, 3).flags, 0u);
  cJednostkaMorska& cargo = sea.AddShip(*amph.fleet, kCargoShip);
  EXPECT_EQ(cargo.MarkPlacementPorts(1), 0);  // only amphibious ships land from the open sea
  EXPECT_EQ(sea.world().hex(3, 3).flags, 0u);
}

TEST_F(NavalUnit, ShipsInPortUnloadOnTheFreeFriendlyHexesAround) {
  const int port = sea.AddPort(1);  // hex (1, 0)
  cJednostkaMorska& cargo = sea.AddShip(sea.AddFleet(1, port, {}), kCargoShip);
  sea.world().PlaceLandUnit(1, 1, 0);  // the port hex is taken
  sea.world().hex(0, 0).controller = 2;
  sea.world().hex(2, 1).controller = 3;
  // Of the neighbours only (0, 0), held by an ally, is free friendly land.
  EXPECT_EQ(cargo.MarkPlacementPorts(0), 1);
}

TEST_F(NavalUnit, ReconFromTheSeaRevealsUnitsWithinTheAircraftLevel) {
  sea.world().country(1).techLevels[3] = 1;
  const int zone = sea.AddSea();
  cJednostkaMorska& ship = sea.AddShip(sea.AddFleet(1, zone, {}), kCruiser);
  cJednostkaLadowa& near = sea.world().PlaceLandUnit(3, 5, 4);
  cJednostkaLadowa& far = sea.world().PlaceLandUnit(3, 7, 4);
  ship.ReconArea(4, 4);
  EXPECT_EQ(near.spotted, 1);
  EXPECT_EQ(far.spotted, 0);
  EXPECT_EQ(ship.reconDone, 1);
  EXPECT_EQ(sea.world().country(1).reconSpottedUnits, (std::list<cUnit*>{&near}));
}

// The recon counts the zone's ships anew: its own, and the enemy's it sees
// (a base chance above 100 sees them all).
TEST_F(NavalUnit, ReconOfTheZoneIsHeardOnlyFromAVisibleShip) {
  cHeadlessPresentation presentation;
  ScopedPresentation scoped(presentation);
  sea.SetConstant(165, 1, 150);
  const int zone = sea.AddSea();
  sea.graph().viewingCountry = 1;
  cJednostkaMorska& ship = sea.AddShip(sea.AddFleet(1, zone, {}), kCruiser);
  cJednostkaMorska& enemy = sea.AddShip(sea.AddFleet(3, zone, {}), kBattleship);
  ship.ReconSeaNode(zone);
  EXPECT_EQ(ship.reconDone, 1);
  EXPECT_EQ(enemy.spotted, 1);
  EXPECT_EQ(sea.graph().GetNode(zone - 1).CountOwnShips(), 1);
  EXPECT_EQ(sea.graph().GetNode(zone - 1).CountSpottedEnemyShips(), 1);
  EXPECT_TRUE(presentation.events().empty());
  ship.spotted = 1;
  ship.ReconSeaNode(zone);
  EXPECT_EQ(presentation.events(), (std::vector<std::u16string>{u"sound data\\sound\\AirRecon.wav"}));
}

TEST_F(NavalUnit, SinkingTheLastShipDisbandsTheFleetAndFreesTheCommander) {
  const int node = sea.AddSea();
  cFleet& fleet = sea.AddFleet(1, node, {kBattleship});
  cFleet& other = sea.AddFleet(1, node, {kCruiser});
  cJednostkaMorska& ship = *fleet.ships.front();
  sCommander admiral;
  admiral.id = 4;
  admiral.skill = 3;
  admiral.state = kCommanderAssigned;
  admiral.headquarters = &ship;
  ship.attachedCommander = &admiral;
  other.ships.front()->commanderId = 4;
  sea.graph().GetNode(node - 1).playerMarkerShip = &ship;

  ship.Sink(0);
  ASSERT_EQ(sea.game().fleets.size(), 1u);
  EXPECT_EQ(sea.game().fleets.front().get(), &other);
  EXPECT_EQ(sea.game().navalUnits.size(), 1u);
  EXPECT_EQ(admiral.state, kCommanderOnHisWay);
  EXPECT_EQ(admiral.headquarters, nullptr);
  EXPECT_EQ(other.ships.front()->commanderId, -1);
  EXPECT_EQ(sea.graph().GetNode(node - 1).playerMarkerShip, nullptr);
}

}  // namespace
}  // namespace tr
