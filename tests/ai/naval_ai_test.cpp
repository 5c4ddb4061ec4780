// The computer at sea: the safety of a zone, patrol fleets and the naval
// moves of transports and invasion fleets.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "naval_ai_fixture.h"

namespace tr {
namespace {

using test::NavalAi;

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

}  // namespace
}  // namespace tr
