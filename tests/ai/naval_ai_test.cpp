// The computer at sea: the safety of a zone, patrol fleets, the naval moves
// of transports and invasion fleets, carrier strikes and supply convoys.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "ai/country_ai.h"
#include "ai/fleet_mission.h"
#include "foundation/format.h"
#include "foundation/settings.h"
#include "support/log_capture.h"
#include "support/naval_world.h"
#include "turn/convoy.h"
#include "turn/sea_graph.h"
#include "units/combat_result.h"
#include "units/jednostka_ladowa.h"
#include "world/headless_presentation.h"
#include "world/topography.h"

namespace tr {
namespace {

// Countries 1 and 2 allies at war with 3; every ship counted by the
// estimates, every enemy ship spotted, no delay.
class NavalAi : public testing::Test {
 protected:
  NavalAi() : scoped_(screen) {
    savedDelays_ = gDelays;
    gDelays.fill(0.0f);
    savedFog_ = gFogOfWar;
    gFogOfWar = 0;
    savedFollow_ = game().playerControl.follow;
    sea.SetConstant(146, 1, 100);
    sea.SetConstant(147, 1, 100);
    SetShipValue(kBattleship, 5);
    SetShipValue(kCruiser, 5);
    SetShipValue(kCargoShip, 5);
    SetShipValue(kAmphibiousShip, 5);
    game().convoys.Reset(game().CountryCount());
    game().strategicMovement->Init(game().CountryCount());
  }
  ~NavalAi() override {
    gDelays = savedDelays_;
    gFogOfWar = savedFog_;
    game().playerControl.follow = savedFollow_;
  }

  cGame& game() { return sea.game(); }
  cCountry& country(int id) { return sea.world().country(id); }
  sHex& hex(int x, int y) { return sea.world().hex(x, y); }
  cCountryAI& Ai(int id) {
    game().playerControl.currentCountry = &country(id);
    cCountryAI& ai = CountryAiOf(game(), country(id));
    ai.country = &country(id);
    return ai;
  }
  // Both naval values of the type; a navy of level 0 counts 0.4 of them.
  void SetShipValue(int type, int value) {
    sea.SetConstant(74, type - kAircraftCarrier + 2, value);
    sea.SetConstant(75, type - kAircraftCarrier + 2, value);
  }
  cFleet* FleetWithShip(const cJednostkaMorska* ship) { return ship ? ship->fleet : nullptr; }
  int FleetCount(int owner) {
    return static_cast<int>(std::count_if(game().fleets.begin(), game().fleets.end(),
                                          [owner](const auto& f) { return f->countryId == owner; }));
  }
  // A land unit aboard the ship (the cargo list for type 44).
  cJednostkaLadowa& Load(cJednostkaMorska& ship, int owner) {
    auto unit = std::make_unique<cJednostkaLadowa>();
    unit->owner = owner;
    unit->x = unit->y = -1;
    unit->name = Format(u"Cargo%i", unit->id);
    unit->transporter = &ship;
    ship.carriedUnit = unit.get();
    auto& list = ship.type == kCargoShip ? game().aboardUnitsA : game().aboardUnitsB;
    list.push_back(std::move(unit));
    return *list.back();
  }

  test::NavalWorld sea;
  cHeadlessPresentation screen;
  test::LogCapture log;

 private:
  ScopedPresentation scoped_;
  std::array<float, kDelayCount> savedDelays_{};
  int savedFog_ = 0;
  std::uint8_t savedFollow_ = 0;
};

// ---- The safety of a zone ----

struct SafetyCase {
  const char* name;
  int enemyShips;
  int enemyValue;  // battleships of country 3 at the zone
  std::vector<int> friendly;
  bool safe;
};

class ZoneSafety : public NavalAi, public testing::WithParamInterface<SafetyCase> {};

TEST_P(ZoneSafety, FollowsTheRatioAndTheTransports) {
  const SafetyCase& c = GetParam();
  const int zone = sea.AddSea();
  SetShipValue(kBattleship, c.enemyValue);
  if (c.enemyShips > 0) {
    cFleet& enemy = sea.AddFleet(3, zone, {});
    for (int i = 0; i < c.enemyShips; ++i) sea.AddShip(enemy, kBattleship);
  }
  if (!c.friendly.empty()) {
    cFleet& own = sea.AddFleet(1, zone, {});
    for (int type : c.friendly) sea.AddShip(own, type);
  }
  EXPECT_EQ(Ai(1).IsSeaZoneSafe(zone), c.safe);
}

// Friendly ships count 2.0 each; a battleship of value 5 counts 2.0, of 2 0.8.
INSTANTIATE_TEST_SUITE_P(
    Rules, ZoneSafety,
    testing::Values(SafetyCase{"OneEnemyShipIsAlwaysSafe", 1, 50, {}, true},
                    SafetyCase{"TwiceTheFriendlyStrength", 2, 5, {kCruiser}, false},
                    SafetyCase{"HalfWithThreeTransports", 2, 5, {kCargoShip, kCargoShip, kAmphibiousShip, kCruiser}, false},
                    SafetyCase{"HalfWithTwoTransports", 2, 5, {kCargoShip, kCargoShip, kCruiser, kCruiser}, true},
                    SafetyCase{"FifthWithHalfTransports", 2, 2, {kCargoShip, kAmphibiousShip, kCruiser, kCruiser}, false},
                    SafetyCase{"FifthWithOneTransport", 2, 2, {kCargoShip, kCruiser, kCruiser, kCruiser}, true},
                    SafetyCase{"TwoEnemyShipsAndNoFriend", 2, 1, {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NavalAi, NoZoneCountsNothingAndIsSafe) {
  const int zone = sea.AddSea();
  sea.AddFleet(3, zone, {kBattleship, kBattleship, kBattleship});
  EXPECT_TRUE(Ai(1).IsSeaZoneSafe(-1));
}

// ---- Patrol fleets ----

TEST_F(NavalAi, FreeShipsAreSharedOutByHitPointsAndBusyFleetsStay) {
  const int home = sea.AddSea();
  const int first = sea.AddSea();
  const int second = sea.AddSea();
  sea.Link(home, first);
  sea.Link(home, second);
  cFleet& free = sea.AddFleet(1, home, {kCruiser, kCruiser, kCruiser, kCruiser});
  for (cJednostkaMorska* ship : free.ships) ship->hitPoints = 5;
  std::vector<cJednostkaMorska*> ships(free.ships.begin(), free.ships.end());
  cFleet& transport = sea.AddFleet(1, home, {kCargoShip, kCruiser});
  transport.aiOrder = kMissionTransport;
  transport.aiDestinationNode = second;
  cFleet& invasion = sea.AddFleet(1, home, {kAmphibiousShip});
  invasion.aiOrder = kMissionInvasionGather;
  country(1).aiSettings.SeaZonesToPatrol = {{first, 7}, {second, 3}};

  Ai(1).OrganiseFleets();

  for (int i = 0; i < 3; ++i) EXPECT_EQ(ships[i]->fleet, &free);
  cFleet* split = ships[3]->fleet;
  ASSERT_NE(split, &free);
  EXPECT_EQ(free.ships.size(), 3u);
  EXPECT_EQ(split->ships.size(), 1u);
  EXPECT_EQ(free.aiOrder, kMissionPatrol);
  EXPECT_EQ(free.aiDestinationNode, first);
  EXPECT_EQ(free.patrolValue, 7);
  EXPECT_EQ(free.seaNodeId, first);
  EXPECT_EQ(split->aiOrder, kMissionPatrol);
  EXPECT_EQ(split->aiDestinationNode, second);
  EXPECT_EQ(split->patrolValue, 3);
  EXPECT_EQ(split->seaNodeId, second);
  EXPECT_EQ(transport.ships.size(), 2u);
  EXPECT_EQ(transport.seaNodeId, home);
  EXPECT_EQ(transport.hasMoved, 0);
  EXPECT_EQ(invasion.seaNodeId, home);
  EXPECT_EQ(FleetCount(1), 4);
}

TEST_F(NavalAi, WithoutZonesPatrolsBecomeFreeAndNothingMoves) {
  const int home = sea.AddSea();
  const int away = sea.AddSea();
  sea.Link(home, away);
  cFleet& patrol = sea.AddFleet(1, home, {kCruiser});
  patrol.aiOrder = kMissionPatrol;
  patrol.aiDestinationNode = away;
  Ai(1).OrganiseFleets();
  EXPECT_EQ(patrol.aiOrder, kMissionFree);
  EXPECT_EQ(patrol.seaNodeId, home);
}

TEST_F(NavalAi, OneZoneTakesEveryFreeShipInOneFleet) {
  const int home = sea.AddSea();
  const int zone = sea.AddSea();
  sea.Link(home, zone);
  cFleet& a = sea.AddFleet(1, home, {kCruiser, kBattleship});
  sea.AddFleet(1, home, {kCruiser});
  country(1).aiSettings.SeaZonesToPatrol = {{zone, 2}};
  Ai(1).OrganiseFleets();
  EXPECT_EQ(FleetCount(1), 2);
  for (const auto& fleet : game().fleets) {
    EXPECT_EQ(fleet->aiOrder, kMissionPatrol);
    EXPECT_EQ(fleet->seaNodeId, zone);
  }
  EXPECT_EQ(a.ships.size(), 2u);
}

// ---- Naval moves ----

TEST_F(NavalAi, TransportsUnloadAndGoWhileTheNextFleetIsStillHandled) {
  const int port = sea.AddPort(1);
  const int sea1 = sea.AddSea();
  sea.Link(port, sea1);
  cFleet& first = sea.AddFleet(1, port, {kCargoShip});
  first.aiOrder = kMissionTransport;
  first.aiDestinationNode = port;
  cJednostkaLadowa& one = Load(*first.ships.front(), 1);
  cFleet& second = sea.AddFleet(1, sea1, {kCargoShip, kCargoShip});
  second.aiOrder = kMissionTransport;
  second.aiDestinationNode = port;
  cJednostkaLadowa& two = Load(*second.ships.front(), 1);
  cJednostkaLadowa& three = Load(*second.ships.back(), 1);
  for (sHex& each : game().map->Hexes()) {
    if (each.IsLand()) each.controller = 1;
  }

  Ai(1).NavalMoves();

  EXPECT_EQ(FleetCount(1), 0);
  EXPECT_TRUE(game().aboardUnitsA.empty());
  EXPECT_EQ(game().navalUnits.size(), 0u);
  for (const cJednostkaLadowa* unit : {&one, &two, &three}) {
    ASSERT_TRUE(game().map->IsInside(unit->x, unit->y));
    EXPECT_EQ(hex(unit->x, unit->y).unit, unit);
  }
  EXPECT_EQ(one.x, port);  // the port hex first, then its free neighbours
  EXPECT_EQ(one.y, 0);
}

// A transport whose port fell lands its units at the nearest friendly port:
// one a voyage away, or the one it stands at.
class LostPort : public NavalAi, public testing::WithParamInterface<bool> {};

TEST_P(LostPort, TheTransportLandsItsUnitsAtAFriendlyPort) {
  const int lost = sea.AddPort(3);
  const int open = sea.AddSea();
  const int home = sea.AddPort(2);
  sea.Link(lost, open);
  sea.Link(home, open);
  cFleet& transport = sea.AddFleet(1, GetParam() ? home : open, {kCargoShip});
  transport.aiOrder = kMissionTransport;
  transport.aiDestinationNode = lost;
  cJednostkaLadowa& unit = Load(*transport.ships.front(), 1);
  const std::u16string name = transport.name;

  Ai(1).NavalMoves();

  // The fleet went down with its last transport once the unit was ashore.
  EXPECT_EQ(FleetCount(1), 0);
  EXPECT_TRUE(game().aboardUnitsA.empty());
  EXPECT_EQ(unit.x, home);  // the allied port's hex
  EXPECT_EQ(unit.y, 0);
  EXPECT_EQ(hex(home, 0).unit, &unit);
  EXPECT_TRUE(log.ContainsText(u"[AI] Country1: " + name + u" lost its port"));
}

INSTANTIATE_TEST_SUITE_P(Starts, LostPort, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "AtAPort" : "AtSea"; });

// An invasion whose units find no landing hex is given up after four
// impulses at its landing zone however long the voyage there, after four in
// which its fleet got no nearer, or at once when the target is friendly by
// now; the fleet then takes the units to a friendly port and lands them
// there. A fleet the scenario set to land is never given up.
struct GiveUpCase {
  const char* name;
  int targetController;  // of the inland target hex
  int start;             // the fleet's node on the way Port - 5 seas - zone (0: the port, 6: the zone)
  bool zoneReachable;
  int impulsesBeforeGivingUp;
  const char16_t* line;
};
class InvasionGiveUp : public NavalAi, public testing::WithParamInterface<GiveUpCase> {
 protected:
  void NextImpulse() {
    for (const auto& fleet : game().fleets) fleet->hasMoved = 0;
    Ai(1).NavalMoves();
  }
};

TEST_P(InvasionGiveUp, TheFleetTakesItsUnitsToAFriendlyPort) {
  const GiveUpCase& c = GetParam();
  sea.SetConstant(71, 1, 1);  // one sea step a move
  std::vector<int> way{sea.AddPort(1)};
  for (int i = 1; i <= 6; ++i) {
    way.push_back(sea.AddSea());
    if (i < 6 || c.zoneReachable) sea.Link(way[i - 1], way[i]);
  }
  const int home = way.front();
  const int gather = way.back();
  cFleet& invasion = sea.AddFleet(1, way[static_cast<std::size_t>(c.start)], {kAmphibiousShip});
  invasion.aiOrder = kMissionInvasionGather;
  invasion.aiDestinationNode = gather;
  invasion.aiInvasionX = 8;  // inland: no landing hex within reach
  invasion.aiInvasionY = 5;
  hex(8, 5).controller = c.targetController;
  cJednostkaLadowa& unit = Load(*invasion.ships.front(), 1);
  const std::u16string name = invasion.name;
  cFleet& scripted = sea.AddFleet(1, gather, {kAmphibiousShip});
  scripted.aiOrder = kMissionInvasionLand;
  scripted.aiDestinationNode = gather;
  scripted.aiInvasionX = 8;
  scripted.aiInvasionY = 5;
  cJednostkaLadowa& waiting = Load(*scripted.ships.front(), 1);

  for (int turn = 1; turn < c.impulsesBeforeGivingUp; ++turn) {
    NextImpulse();
    ASSERT_EQ(invasion.aiOrder, kMissionInvasionGather) << "impulse " << turn;
    ASSERT_EQ(unit.transporter, invasion.ships.front());
  }
  if (c.targetController == 3) {
    EXPECT_EQ(invasion.seaNodeId, c.zoneReachable ? gather : way[static_cast<std::size_t>(c.start)]);
  }
  NextImpulse();
  EXPECT_TRUE(log.ContainsText(u"[AI] Country1: Amphibious invasion - " + name + c.line));
  EXPECT_EQ(invasion.aiOrder, kMissionTransport);
  EXPECT_EQ(invasion.aiDestinationNode, home);

  for (int turn = 0; turn < 6 && FleetCount(1) > 1; ++turn) NextImpulse();
  ASSERT_EQ(FleetCount(1), 1);  // the scripted fleet alone
  ASSERT_TRUE(game().map->IsInside(unit.x, unit.y));
  EXPECT_EQ(hex(unit.x, unit.y).unit, &unit);
  EXPECT_EQ(unit.x, home);  // the port's own hex
  EXPECT_EQ(scripted.aiOrder, kMissionInvasionLand);
  EXPECT_EQ(waiting.transporter, scripted.ships.front());
  ASSERT_EQ(game().aboardUnitsB.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InvasionGiveUp,
    testing::Values(GiveUpCase{"FourImpulsesAtTheZone", 3, 6, true, 4, u" cannot land near (8, 5)"},
                    GiveUpCase{"AVoyageOfSixMovesCostsNoPatience", 3, 0, true, 9, u" cannot land near (8, 5)"},
                    GiveUpCase{"FourImpulsesWithNoWayOn", 3, 4, false, 5, u" cannot reach the landing zone of (8, 5)"},
                    GiveUpCase{"TargetAnAllyTookAtOnce", 2, 1, true, 1, u" finds (8, 5) in friendly hands"}),
    [](const testing::TestParamInfo<GiveUpCase>& info) { return info.param.name; });

TEST_F(NavalAi, TransportWhosePortFellWithNoFriendlyPortLeftKeepsItsCourse) {
  const int lost = sea.AddPort(3);
  const int open = sea.AddSea();
  sea.Link(lost, open);
  cFleet& transport = sea.AddFleet(1, open, {kCargoShip});
  transport.aiOrder = kMissionTransport;
  transport.aiDestinationNode = lost;
  Load(*transport.ships.front(), 1);

  Ai(1).NavalMoves();

  EXPECT_EQ(transport.aiDestinationNode, lost);
  EXPECT_FALSE(log.ContainsText(u"lost its port"));
}

// A transport at a port whose hexes are all taken sails for the friendly
// port with room it reaches in the fewest steps, and lands there.
TEST_F(NavalAi, ATransportAtAFullPortSailsForTheNearestPortWithRoom) {
  const int full = sea.AddPort(1);
  const int open = sea.AddSea();
  const int far = sea.AddPort(1);
  const int mid = sea.AddSea();
  const int near = sea.AddPort(2);
  sea.Link(full, open);
  sea.Link(open, mid);
  sea.Link(mid, far);
  sea.Link(open, near);
  sea.world().PlaceLandUnit(1, full, 0);
  cFleet& transport = sea.AddFleet(1, full, {kCargoShip});
  transport.aiOrder = kMissionTransport;
  transport.aiDestinationNode = full;
  cJednostkaLadowa& unit = Load(*transport.ships.front(), 1);
  const std::u16string name = transport.name;

  Ai(1).NavalMoves();
  EXPECT_EQ(transport.aiDestinationNode, near);
  EXPECT_TRUE(log.Contains(u"[AI] Country1: " + name + u" finds no free hex at Port1 and sails for Port5"));
  EXPECT_EQ(unit.transporter, transport.ships.front());

  transport.hasMoved = 0;
  Ai(1).NavalMoves();
  EXPECT_EQ(FleetCount(1), 0);
  EXPECT_EQ(unit.x, near);
  EXPECT_EQ(hex(near, 0).unit, &unit);
}

// With no friendly port with room the units go back to the reserve, from a
// cargo ship and from the amphibious ship of a given-up invasion alike, the
// cargo ship's sea-transport points are given back, their ships go down and
// the escort stays.
TEST_F(NavalAi, WithNoPortWithRoomTheUnitsGoBackToTheReserve) {
  const int full = sea.AddPort(1);
  const int open = sea.AddSea();
  const int other = sea.AddPort(2);
  sea.Link(full, open);
  sea.Link(open, other);
  sea.world().PlaceLandUnit(1, full, 0);
  sea.world().PlaceLandUnit(2, other, 0);
  sea.SetConstant(69, 3, 4);  // sea-transport points of land type 1
  cFleet& transport = sea.AddFleet(1, full, {kCargoShip, kCruiser, kAmphibiousShip});
  transport.aiOrder = kMissionTransport;
  transport.aiDestinationNode = full;
  cJednostkaMorska* escort = *std::next(transport.ships.begin());
  std::vector<cJednostkaLadowa*> units{&Load(*transport.ships.front(), 1), &Load(*transport.ships.back(), 1)};
  for (cJednostkaLadowa* unit : units) unit->type = 1;
  const std::int32_t points = country(1).seaTransportPoints;
  const std::size_t reserve = game().reservePool.size();

  Ai(1).NavalMoves();

  EXPECT_TRUE(game().aboardUnitsA.empty());
  EXPECT_TRUE(game().aboardUnitsB.empty());
  ASSERT_EQ(game().reservePool.size(), reserve + 2);
  for (cJednostkaLadowa* unit : units) {
    EXPECT_NE(std::find_if(game().reservePool.begin(), game().reservePool.end(),
                           [unit](const auto& p) { return p.get() == unit; }),
              game().reservePool.end());
    EXPECT_EQ(unit->inReserve, 1);
    EXPECT_EQ(unit->transporter, nullptr);
    EXPECT_EQ(unit->transporterId, -1);
    EXPECT_EQ(unit->x, -1);
    EXPECT_TRUE(log.ContainsText(u"finds no port with room and takes " + unit->name + u" back to the reserve"));
  }
  EXPECT_EQ(country(1).seaTransportPoints, points + 4);
  ASSERT_EQ(FleetCount(1), 1);
  EXPECT_EQ(escort->fleet, &transport);
  EXPECT_EQ(transport.ships.size(), 1u);
}

struct GatheringCase {
  const char* name;
  int enemyShips;
  int missionAfter;
};
class Gathering : public NavalAi, public testing::WithParamInterface<GatheringCase> {};

TEST_P(Gathering, AllButLandingGatheringAndTransportFleetsJoinAndASafeInvasionFreesThem) {
  const int gather = sea.AddSea();
  const int near = sea.AddSea();
  const int patrolZone = sea.AddSea();
  const int alone = sea.AddSea();
  sea.Link(gather, near);
  sea.Link(gather, patrolZone);
  cFleet& invasion = sea.AddFleet(1, gather, {kAmphibiousShip});
  invasion.aiOrder = kMissionInvasionGather;
  invasion.aiDestinationNode = gather;
  invasion.aiInvasionX = 8;  // inland: nowhere to land from the gathering zone
  invasion.aiInvasionY = 5;
  cFleet& free = sea.AddFleet(1, near, {kCruiser});
  cFleet& patrol = sea.AddFleet(1, patrolZone, {kCruiser});
  patrol.aiOrder = kMissionPatrol;
  patrol.aiDestinationNode = patrolZone;
  cFleet& stranded = sea.AddFleet(1, alone, {kCruiser});
  cFleet& transport = sea.AddFleet(1, near, {kCruiser});
  transport.aiOrder = kMissionTransport;
  transport.aiDestinationNode = near;
  // A fleet set to land by the scenario keeps its own zone; one that joined
  // an earlier gathering joins again.
  cFleet& landing = sea.AddFleet(1, near, {kCruiser});
  landing.aiOrder = kMissionInvasionLand;
  landing.aiDestinationNode = alone;
  landing.aiInvasionX = 8;
  landing.aiInvasionY = 5;
  cFleet& joined = sea.AddFleet(1, patrolZone, {kCruiser});
  joined.aiOrder = kMissionJoinedGathering;
  joined.aiDestinationNode = patrolZone;
  if (GetParam().enemyShips > 0) {
    SetShipValue(kBattleship, 50);
    cFleet& enemy = sea.AddFleet(3, gather, {});
    for (int i = 0; i < GetParam().enemyShips; ++i) sea.AddShip(enemy, kBattleship);
  }

  Ai(1).NavalMoves();

  EXPECT_EQ(free.seaNodeId, gather);
  EXPECT_EQ(patrol.seaNodeId, gather);
  EXPECT_EQ(free.aiDestinationNode, gather);
  EXPECT_EQ(free.aiOrder, GetParam().missionAfter);
  EXPECT_EQ(patrol.aiOrder, GetParam().missionAfter);
  EXPECT_EQ(stranded.aiOrder, kMissionFree);
  EXPECT_EQ(stranded.seaNodeId, alone);
  EXPECT_EQ(transport.aiOrder, kMissionTransport);
  EXPECT_EQ(transport.seaNodeId, near);
  EXPECT_EQ(invasion.aiOrder, kMissionInvasionGather);
  EXPECT_EQ(landing.aiOrder, kMissionInvasionLand);
  EXPECT_EQ(landing.aiDestinationNode, alone);
  EXPECT_EQ(landing.seaNodeId, near);
  EXPECT_EQ(joined.seaNodeId, gather);
  EXPECT_EQ(joined.aiDestinationNode, gather);
  EXPECT_EQ(joined.aiOrder, GetParam().missionAfter);
}

INSTANTIATE_TEST_SUITE_P(Zones, Gathering,
                         testing::Values(GatheringCase{"SafeZone", 0, kMissionFree},
                                         GatheringCase{"GuardedZone", 2, kMissionJoinedGathering}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Carrier strikes ----

// A carrier of country 1 in open sea zone 1, an enemy cruiser there (kind 3)
// and a seen enemy division on the coast of the zone (kind 8).
class CarrierStrikes : public NavalAi {
 protected:
  CarrierStrikes() {
    sea.SetConstant(156, 1, 3);
    zone = sea.AddSea();
    own = &sea.AddFleet(1, zone, {kAircraftCarrier});
    carrier = own->ships.front();
    hex(2, 2).seaZone = static_cast<std::uint16_t>(zone);
    auto& enemy = sea.world().PlaceLandUnit(3, 2, 2);
    enemy.name = u"Coast guard";
    enemy.strength = 50;
    enemy.spotted = 1;
    sea.graph().GetNode(zone - 1).enemyMarkerX = 1;
    sea.graph().GetNode(zone - 1).enemyMarkerY = 1;
  }
  void EnemyShipsAtZone() { sea.AddFleet(3, zone, {kCruiser}); }
  bool Struck(std::u16string_view where) {
    return log.Contains(Format(u"[AI] %ls: carrier %s strikes targets of kind ", country(1).name, carrier->name) +
                        std::u16string(where));
  }

  int zone = 0;
  cFleet* own = nullptr;
  cJednostkaMorska* carrier = nullptr;
};

// The carriers strike before the fleets move and again after: the carrier
// at the coast guard's zone strikes the strongest target there before it
// sails off, and a carrier that sails into the zone strikes the other one.
TEST_F(CarrierStrikes, CarriersStrikeBeforeAndAfterTheFleetsMove) {
  hex(3, 2).seaZone = static_cast<std::uint16_t>(zone);
  auto& lookout = sea.world().PlaceLandUnit(3, 3, 2);
  lookout.name = u"Lookout";
  lookout.strength = 10;
  lookout.spotted = 1;
  const int start = sea.AddSea();
  sea.Link(start, zone);
  own->aiOrder = kMissionInvasionGather;
  own->aiDestinationNode = start;
  cFleet& sailing = sea.AddFleet(1, start, {kAircraftCarrier});
  sailing.aiOrder = kMissionInvasionGather;
  sailing.aiDestinationNode = zone;
  cJednostkaMorska& second = *sailing.ships.front();

  Ai(1).NavalMoves();

  EXPECT_EQ(carrier->fleet ? carrier->fleet->seaNodeId : -1, start);
  EXPECT_EQ(second.fleet ? second.fleet->seaNodeId : -1, zone);
  EXPECT_TRUE(Struck(u"8 at (2, 2)"));
  EXPECT_TRUE(log.Contains(Format(u"[AI] %ls: carrier %s strikes targets of kind ", country(1).name, second.name) +
                           u"8 at (3, 2)"));
}

struct PriorityCase {
  const char* name;
  std::array<std::int32_t, 9> priorities;
  const char16_t* target;
};
class CarrierPriorities : public CarrierStrikes, public testing::WithParamInterface<PriorityCase> {};

TEST_P(CarrierPriorities, TheHighestRankedKindWithATargetIsStruck) {
  EnemyShipsAtZone();
  country(1).aiSettings.CarrierTargetsPriorities = GetParam().priorities;
  Ai(1).CarrierBombardment();
  EXPECT_TRUE(Struck(GetParam().target));
  EXPECT_EQ(carrier->airstrikeDone, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Ranks, CarrierPriorities,
    testing::Values(PriorityCase{"EqualTriesKindsInOrder", {5, 5, 5, 5, 5, 5, 5, 5, 5}, u"3 in sea zone 1"},
                    PriorityCase{"CoastFirst", {1, 1, 1, 1, 1, 1, 1, 1, 9}, u"8 at (2, 2)"},
                    PriorityCase{"DefaultOrder", {90, 80, 70, 60, 50, 40, 30, 20, 10}, u"3 in sea zone 1"}),
    [](const auto& info) { return std::string(info.param.name); });

struct IdleCarrierCase {
  const char* name;
  int hitPoints;
  int struckAlready;
  bool enemyLeft;
};
class IdleCarrier : public CarrierStrikes, public testing::WithParamInterface<IdleCarrierCase> {};

TEST_P(IdleCarrier, LaunchesNothing) {
  const IdleCarrierCase& c = GetParam();
  carrier->hitPoints = c.hitPoints;
  carrier->airstrikeDone = static_cast<std::uint8_t>(c.struckAlready);
  if (!c.enemyLeft) {
    cUnit* enemy = hex(2, 2).unit;
    hex(2, 2).unit = nullptr;
    enemy->x = enemy->y = -1;
  }
  Ai(1).CarrierBombardment();
  EXPECT_FALSE(log.ContainsText(u"strikes targets"));
  EXPECT_EQ(carrier->airstrikeDone, c.struckAlready);
}

INSTANTIATE_TEST_SUITE_P(Carriers, IdleCarrier,
                         testing::Values(IdleCarrierCase{"BelowTheLeastHitPoints", 2, 0, true},
                                         IdleCarrierCase{"HasStruckThisTurn", 6, 1, true},
                                         IdleCarrierCase{"NoTargetKeepsItsFlag", 6, 0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// The least hit points (3) still let a carrier strike; one fewer does not.
TEST_F(CarrierStrikes, ACarrierAtTheLeastHitPointsStrikes) {
  EnemyShipsAtZone();
  carrier->hitPoints = 3;
  Ai(1).CarrierBombardment();
  EXPECT_TRUE(log.ContainsText(u"strikes targets"));
  EXPECT_EQ(carrier->airstrikeDone, 1);
}

TEST_F(CarrierStrikes, TargetListsFollowTheKinds) {
  const int port = sea.AddPort(3);
  const int quiet = sea.AddSea();
  sea.Link(zone, port);
  sea.Link(zone, quiet);
  sea.AddFleet(3, port, {kCruiser});
  cCountryAI& ai = Ai(1);
  std::list<sPoint> hexes;
  std::list<int> nodes;
  ai.CollectCarrierTargets(*own, 1, hexes, nodes);  // the enemy port, empty hex, with ships
  EXPECT_EQ(nodes, std::list<int>{port});
  ai.CollectCarrierTargets(*own, 4, hexes, nodes);
  EXPECT_EQ(nodes, std::list<int>{port});
  ai.CollectCarrierTargets(*own, 3, hexes, nodes);  // nobody in the carrier's own zone
  EXPECT_TRUE(nodes.empty());
  auto& defender = sea.world().PlaceLandUnit(3, port, 0);
  defender.spotted = 1;
  ai.CollectCarrierTargets(*own, 0, hexes, nodes);
  EXPECT_EQ(hexes, (std::list<sPoint>{{port, 0}}));
  ai.CollectCarrierTargets(*own, 1, hexes, nodes);
  EXPECT_TRUE(nodes.empty());
  ai.CollectCarrierTargets(*own, 8, hexes, nodes);
  EXPECT_EQ(hexes, (std::list<sPoint>{{2, 2}}));
  ai.CollectCarrierTargets(*own, 7, hexes, nodes);
  EXPECT_TRUE(hexes.empty());
  EXPECT_TRUE(PortSecrecyOn());
}

// The four land kinds on the carrier's coast: air or land units, in an enemy
// city or on open land (where only a seen enemy counts).
struct CoastKindCase {
  const char* name;
  int kind;
  sPoint expected;
};
class CoastKinds : public CarrierStrikes, public testing::WithParamInterface<CoastKindCase> {};

TEST_P(CoastKinds, EachKindTakesOnlyItsHexes) {
  std::vector<std::unique_ptr<cCity>> cities;
  auto enemyCity = [&](int x, int y) {
    cities.push_back(std::make_unique<cCity>());
    cities.back()->x = x;
    cities.back()->y = y;
    hex(x, y).city = cities.back().get();
    hex(x, y).controller = 3;
  };
  for (const sPoint at : {sPoint{3, 2}, sPoint{4, 2}, sPoint{2, 3}}) {
    hex(at.x, at.y).seaZone = static_cast<std::uint16_t>(zone);
  }
  enemyCity(3, 2);
  sea.world().PlaceLandUnit(3, 3, 2).spotted = 1;
  enemyCity(4, 2);
  sea.world().PlaceAirUnit(3, 4, 2).spotted = 1;
  sea.world().PlaceAirUnit(3, 2, 3).spotted = 1;
  std::list<sPoint> hexes;
  std::list<int> nodes;
  Ai(1).CollectCarrierTargets(*own, GetParam().kind, hexes, nodes);
  EXPECT_EQ(hexes, std::list<sPoint>{GetParam().expected});
  for (const auto& city : cities) hex(city->x, city->y).city = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Kinds, CoastKinds,
                         testing::Values(CoastKindCase{"AirInAnEnemyCity", 5, {4, 2}},
                                         CoastKindCase{"AirOnOpenLand", 6, {2, 3}},
                                         CoastKindCase{"LandInAnEnemyCity", 7, {3, 2}},
                                         CoastKindCase{"LandOnOpenLand", 8, {2, 2}}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ShowCase {
  const char* name;
  bool seen;
  bool follow;
  float resultDelay;
  int pauses;  // of "Delay/AICombatBefore" and "Delay/AICombatAfter"
  int popups;
};
class StrikeShown : public CarrierStrikes, public testing::WithParamInterface<ShowCase> {};

TEST_P(StrikeShown, PausesAndPopupFollowTheSettings) {
  const ShowCase& c = GetParam();
  game().playerControl.follow = c.follow ? 1 : 0;
  gDelays[kDelayAICombatResult] = c.resultDelay;
  sCombatResult result;
  hex(2, 2).unit->spotted = c.seen ? 1 : 0;
  Ai(1).ShowAirStrikeResult(result, 2, 2, c.seen);
  int pauses = 0;
  for (const std::u16string& line : log.lines()) pauses += line.starts_with(u"S: ai_carriers") ? 1 : 0;
  EXPECT_EQ(pauses, c.pauses);
  EXPECT_EQ(screen.CountEvents(u"combat-result"), c.popups);
  EXPECT_EQ(hex(2, 2).flags & 2u, 0u);
}

INSTANTIATE_TEST_SUITE_P(Settings, StrikeShown,
                         testing::Values(ShowCase{"HiddenOnlyPauses", false, true, 100.0f, 1, 0},
                                         ShowCase{"NoResultDelayNoPopup", true, true, 0.0f, 3, 0},
                                         ShowCase{"SeenAndFollowed", true, true, 100.0f, 3, 1},
                                         ShowCase{"SeenNotFollowed", true, false, 100.0f, 1, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Supply convoys ----

class Convoys : public NavalAi {
 protected:
  Convoys() {
    sea.SetConstant(48, 1, 10);
  }
  cCity& PortCity(int nodeId, std::u16string name, int type, int supply) {
    auto city = std::make_unique<cCity>();
    city->name = std::move(name);
    city->x = nodeId;
    city->y = 0;
    city->type = type;
    city->supplyInfo.assign(4, supply);
    hex(nodeId, 0).city = city.get();
    hex(nodeId, 0).owner = 1;
    game().cities.push_back(std::move(city));
    return *game().cities.back();
  }
};

struct ConvoyCase {
  const char* name;
  bool secondSourceNearer;
  const char16_t* departure;
};
class ConvoySource : public Convoys, public testing::WithParamInterface<ConvoyCase> {};

// Src1 - A - B - Dest; Src2 joins B (3 nodes to Dest) or A (4, a tie).
TEST_P(ConvoySource, IsThePortNearestTheDestinationAndServedGroupsGetNone) {
  const int src1 = sea.AddPort(1);
  const int a = sea.AddSea();
  const int b = sea.AddSea();
  const int src2 = sea.AddPort(1);
  const int dest = sea.AddPort(1);
  const int served = sea.AddPort(1);
  sea.Link(src1, a);
  sea.Link(a, b);
  sea.Link(b, dest);
  sea.Link(served, b);
  sea.Link(src2, GetParam().secondSourceNearer ? b : a);
  cCity& s1 = PortCity(src1, u"Src1", kCitySupplyPort, 10);
  cCity& s2 = PortCity(src2, u"Src2", kCityPort, 0);
  cCity& d = PortCity(dest, u"Dest", kCityPort, 4);
  cCity& other = PortCity(served, u"Served", kCityPort, 0);
  game().strategicMovement->SetCountryTopography(1, {{{&s1, &s2}}, {{&d}}, {{&other}}});
  game().convoys.AddSupplyConvoy(&s1, &other, 1);
  game().convoys.AddSupplyConvoy(&s1, &other, 1);  // the oldest goes first

  cCountryAI& ai = Ai(1);
  const std::list<cCity*> sources = ai.FindConvoySourcePorts();
  EXPECT_EQ(sources, (std::list<cCity*>{&s1, &s2}));
  ai.NavalAndConvoyStep();

  const std::vector<sConvoy>& convoys = game().convoys.ConvoysOf(1);
  ASSERT_EQ(convoys.size(), 2u);
  EXPECT_EQ(convoys[0].destination, &other);
  EXPECT_EQ(convoys[1].destination, &d);
  EXPECT_EQ(convoys[1].departure->name, GetParam().departure);
  EXPECT_EQ(convoys[1].amount, 6);
}

INSTANTIATE_TEST_SUITE_P(Paths, ConvoySource,
                         testing::Values(ConvoyCase{"FewerNodes", true, u"Src2"},
                                         ConvoyCase{"TieTakesTheFirst", false, u"Src1"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Sea nodes are numbered from 1: a port on the first node is a port like any other.
TEST_F(Convoys, APortOnTheFirstNodeIsSupplied) {
  const int dest = sea.AddPort(1);
  const int src = sea.AddPort(1);
  ASSERT_EQ(dest, 1);
  sea.Link(src, dest);
  cCity& s = PortCity(src, u"Src", kCitySupplyPort, 10);
  cCity& d = PortCity(dest, u"Dest", kCityPort, 4);
  game().strategicMovement->SetCountryTopography(1, {{{&s}}, {{&d}}});
  Ai(1).NavalAndConvoyStep();
  const std::vector<sConvoy>& convoys = game().convoys.ConvoysOf(1);
  ASSERT_EQ(convoys.size(), 1u);
  EXPECT_EQ(convoys[0].departure, &s);
  EXPECT_EQ(convoys[0].destination, &d);
  EXPECT_EQ(convoys[0].amount, 6);
}

TEST_F(Convoys, AWellSuppliedOrUnreachablePortGetsNone) {
  const int src = sea.AddPort(1);
  const int full = sea.AddPort(1);
  const int cut = sea.AddPort(1);
  sea.Link(src, full);
  cCity& s = PortCity(src, u"Src", kCitySupplyPort, 10);
  cCity& f = PortCity(full, u"Full", kCityPort, 10);
  cCity& c = PortCity(cut, u"Cut", kCityPort, 0);
  game().strategicMovement->SetCountryTopography(1, {{{&s}}, {{&f}}, {{&c}}});
  cCountryAI& ai = Ai(1);
  EXPECT_EQ(ai.PlanConvoys(ai.FindConvoySourcePorts()), nullptr);
  ai.NavalAndConvoyStep();
  EXPECT_TRUE(game().convoys.ConvoysOf(1).empty());
}

}  // namespace
}  // namespace tr
