// Fleets: the reach of a turn over the sea graph, moves cut to it, splitting
// and merging by marks, deletion, and the computer's strength estimates.
#include <gtest/gtest.h>

#include <algorithm>
#include <list>
#include <vector>

#include "foundation/format.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "support/log_capture.h"
#include "support/naval_world.h"
#include "turn/fleet.h"

namespace tr {
namespace {

using Nodes = std::vector<std::int32_t>;

Nodes Sorted(const std::list<std::int32_t>& list) {
  Nodes nodes(list.begin(), list.end());
  std::sort(nodes.begin(), nodes.end());
  return nodes;
}

// P1 - S1 - P2 both ways, plus P1 - P3: a port is entered only from step 1
// of a fleet that starts in a port.
class FleetReach : public testing::Test {
 protected:
  FleetReach() {
    p1 = sea.AddPort(1);
    s1 = sea.AddSea();
    p2 = sea.AddPort(1);
    p3 = sea.AddPort(1);
    sea.Link(p1, s1);
    sea.Link(s1, p2);
    sea.Link(p1, p3);
  }
  sHex& MainHex(int node) { return sea.world().hex(node, 0); }

  test::NavalWorld sea;
  int p1 = 0, s1 = 0, p2 = 0, p3 = 0;
};

TEST_F(FleetReach, FromAPortOnlyPortsBehindTheFirstZone) {
  cFleet& fleet = sea.AddFleet(1, p1, {kBattleship});
  EXPECT_EQ(fleet.FindReachableNodes(), 2);
  EXPECT_EQ(Sorted(fleet.reachableNodes), (Nodes{s1, p2}));
  EXPECT_FALSE(fleet.IsNodeWithinReach(p3));
  EXPECT_TRUE(fleet.IsNodeWithinReach(p2));
}

TEST_F(FleetReach, FromTheSeaEveryPortWithinReach) {
  cFleet& fleet = sea.AddFleet(1, s1, {kCruiser});
  fleet.FindReachableNodes();
  EXPECT_EQ(Sorted(fleet.reachableNodes), (Nodes{p1, p2, p3}));
}

TEST_F(FleetReach, ReachOfOneStopsAtTheFirstZone) {
  sea.SetConstant(71, 1, 1);
  cFleet& fleet = sea.AddFleet(1, p1, {kCruiser});
  fleet.FindReachableNodes();
  EXPECT_EQ(Sorted(fleet.reachableNodes), (Nodes{s1}));
}

struct PortCase {
  const char* name;
  int controller;
  int portSize;
  bool reachable;
};
class FleetReachPort : public FleetReach, public testing::WithParamInterface<PortCase> {};

// The fleet's largest need is the battleship's 4.
TEST_P(FleetReachPort, PortMustBeFriendlyAndLargeEnough) {
  const PortCase& c = GetParam();
  sea.SetPortSizeFor(kBattleship, 4);
  MainHex(p2).controller = static_cast<std::uint8_t>(c.controller);
  sea.graph().GetNode(p2 - 1).portSize = c.portSize;
  cFleet& fleet = sea.AddFleet(1, p1, {kSubmarine, kBattleship});
  fleet.FindReachableNodes();
  EXPECT_EQ(Sorted(fleet.reachableNodes), c.reachable ? (Nodes{s1, p2}) : (Nodes{s1}));
}

INSTANTIATE_TEST_SUITE_P(Ports, FleetReachPort,
                         testing::Values(PortCase{"Own", 1, 4, true}, PortCase{"Ally", 2, 5, true},
                                         PortCase{"TooSmall", 1, 3, false}, PortCase{"Enemy", 3, 9, false},
                                         PortCase{"Neutral", 4, 9, false}, PortCase{"Uncontrolled", 0, 9, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct PassageCase {
  const char* name;
  int controller;
  bool open;
};
class FleetReachPassage : public FleetReach, public testing::WithParamInterface<PassageCase> {};

TEST_P(FleetReachPassage, StraitMustBeHeldByAFriend) {
  sea.world().hex(9, 5).controller = static_cast<std::uint8_t>(GetParam().controller);
  sea.graph().GetNode(s1 - 1).edges = {{p1, -1, -1}, {p2, 9, 5}};
  cFleet& fleet = sea.AddFleet(1, p1, {kCruiser});
  fleet.FindReachableNodes();
  EXPECT_EQ(Sorted(fleet.reachableNodes), GetParam().open ? (Nodes{s1, p2}) : (Nodes{s1}));
}

INSTANTIATE_TEST_SUITE_P(Controllers, FleetReachPassage,
                         testing::Values(PassageCase{"Own", 1, true}, PassageCase{"Ally", 2, true},
                                         PassageCase{"Enemy", 3, false}, PassageCase{"Nobody", 0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// A chain of zones 1 - 2 - 3 - 4 - 5, reach 2.
class FleetMove : public testing::Test {
 protected:
  FleetMove() {
    for (int i = 0; i < 5; ++i) sea.AddSea();
    for (int i = 1; i < 5; ++i) sea.Link(i, i + 1);
  }
  test::NavalWorld sea;
};

TEST_F(FleetMove, FarTargetStopsAtTheLastNodeWithinReachAndMovesOnce) {
  cFleet& fleet = sea.AddFleet(1, 1, {kCruiser});
  test::LogCapture log;
  fleet.MoveTo(5);
  EXPECT_EQ(fleet.seaNodeId, 3);
  EXPECT_EQ(fleet.hasMoved, 1);
  EXPECT_TRUE(log.Contains(u"Fleet Fleet1 going: node 1 -> 3, final destination = 5."));
  fleet.MoveTo(5);
  EXPECT_EQ(fleet.seaNodeId, 3);
  EXPECT_TRUE(log.Contains(u"WARNING: Fleet Fleet1 wanted to go: node 3 -> 5, but it already moved this turn."));
}

TEST_F(FleetMove, TargetWithinReachIsReached) {
  cFleet& fleet = sea.AddFleet(1, 4, {kCruiser});
  test::LogCapture log;
  fleet.MoveTo(2);
  EXPECT_EQ(fleet.seaNodeId, 2);
  EXPECT_TRUE(log.Contains(u"Fleet Fleet1 going: node 4 -> 2, movement finished."));
}

TEST_F(FleetMove, StayingCountsAsTheMove) {
  cFleet& fleet = sea.AddFleet(1, 2, {kCruiser});
  fleet.MoveTo(2);
  EXPECT_EQ(fleet.hasMoved, 1);
  EXPECT_EQ(fleet.seaNodeId, 2);
}

TEST_F(FleetMove, NoPathLeavesTheFleetWhereItIs) {
  const int island = sea.AddSea();
  cFleet& fleet = sea.AddFleet(1, 1, {kCruiser});
  test::LogCapture log;
  fleet.MoveTo(island);
  EXPECT_EQ(fleet.seaNodeId, 1);
  EXPECT_EQ(fleet.hasMoved, 0);
  EXPECT_TRUE(log.Contains(u"WARNING: fleet Fleet1 (at node 1) wants to go to node 6 but there's no path"));
}

// The only path runs through an own port too small for the battleship: the
// path search may use it, the reach may not, so nothing on it is in reach.
TEST_F(FleetMove, PathBeyondTheReachOnlyWarns) {
  sea.SetPortSizeFor(kBattleship, 9);
  const int port = sea.AddPort(1, 3);
  sea.graph().GetNode(0).edges.clear();
  sea.Link(1, port);
  sea.AddEdge(port, 2);
  cFleet& fleet = sea.AddFleet(1, 1, {kBattleship});
  test::LogCapture log;
  fleet.MoveTo(2);
  EXPECT_EQ(fleet.seaNodeId, 1);
  EXPECT_TRUE(log.Contains(u"WARNING: Fleet Fleet1 wanted to go: node 1 -> 2, but theres no path!"));
}

TEST_F(FleetMove, RouteHighlightMarksZonesAndPortMarkers) {
  const int port = sea.AddPort(1);
  sea.Link(1, port);
  cFleet& fleet = sea.AddFleet(1, 1, {kCruiser});
  fleet.FindReachableNodes();
  sea.world().hex(5, 0).AddFlags(0x4000, -1);
  MarkFleetRouteHexes(fleet);
  EXPECT_TRUE(sea.world().hex(2, 0).flags & 0x8000);    // zone 2's main hex
  EXPECT_TRUE(sea.world().hex(3, 0).flags & 0x8000);    // zone 3, two steps
  EXPECT_FALSE(sea.world().hex(4, 0).flags & 0x8000);   // zone 4 is out of reach
  EXPECT_TRUE(sea.world().hex(port, 1).flags & 0x8000);  // the port's marker hex
  EXPECT_FALSE(sea.world().hex(5, 0).flags & 0x4000);
}

class FleetShips : public testing::Test {
 protected:
  test::NavalWorld sea;
};

TEST_F(FleetShips, SplitOffCopiesTheFleetAndTakesTheMarkedShips) {
  sea.AddSea();
  cFleet& source = sea.AddFleet(1, 1, {kAircraftCarrier, kBattleship, kCruiser});
  source.formation = kFleetRaiders;
  source.active = 0;
  source.hasMoved = 1;
  source.aiOrder = 5;
  source.aiDestinationNode = 1;
  source.aiInvasionX = 3;
  source.aiInvasionY = 4;
  auto it = source.ships.begin();
  cJednostkaMorska* carrier = *it++;
  cJednostkaMorska* battleship = *it++;
  cJednostkaMorska* cruiser = *it;
  carrier->mark = 1;
  cruiser->mark = 1;
  const int expectedId = sea.game().nextFleetId + 1;

  cFleet* split = cFleet::SplitOff(source);
  ASSERT_NE(split, nullptr);
  EXPECT_EQ(split->id, expectedId);
  EXPECT_EQ(split->name, Format(GetText("fleet_#%i"), expectedId));
  EXPECT_EQ(split->countryId, 1);
  EXPECT_EQ(split->seaNodeId, 1);
  EXPECT_EQ(split->formation, kFleetRaiders);
  EXPECT_EQ(split->active, 0);
  EXPECT_EQ(split->hasMoved, 1);
  EXPECT_EQ(split->aiOrder, 5);
  EXPECT_EQ(split->aiDestinationNode, 1);
  EXPECT_EQ(split->aiInvasionX, 3);
  EXPECT_EQ(split->aiInvasionY, 4);
  EXPECT_EQ(split->ships, (std::list<cJednostkaMorska*>{carrier, cruiser}));
  EXPECT_EQ(carrier->fleet, split);
  EXPECT_EQ(source.ships.size(), 3u);  // until the caller removes them
  EXPECT_EQ(sea.game().fleets.back().get(), split);

  source.RemoveMarkedShips();
  EXPECT_EQ(source.ships, (std::list<cJednostkaMorska*>{battleship}));
  EXPECT_EQ(battleship->fleet, &source);
}

TEST_F(FleetShips, MarkedShipsMoveToAnotherFleet) {
  sea.AddSea();
  cFleet& from = sea.AddFleet(1, 1, {kCruiser, kSubmarine, kCruiser});
  cFleet& to = sea.AddFleet(1, 1, {kBattleship});
  from.MarkShipsOfGroup(-1);
  from.ships.front()->mark = 0;
  from.MoveMarkedShipsTo(to);
  EXPECT_EQ(from.ships.size(), 1u);
  ASSERT_EQ(to.ships.size(), 3u);
  for (const cJednostkaMorska* ship : to.ships) {
    EXPECT_EQ(ship->fleet, &to);
    EXPECT_EQ(ship->fleetId, to.id);
  }
  to.ClearShipMarks();
  EXPECT_TRUE(std::none_of(to.ships.begin(), to.ships.end(), [](const auto* s) { return s->mark; }));
}

TEST_F(FleetShips, GroupsAndSums) {
  sea.AddSea();
  cFleet& fleet = sea.AddFleet(1, 1, {kCruiser, kCruiser, kSubmarine});
  int group = 0;
  EXPECT_TRUE(cFleet{}.HasSingleGroup(group));
  EXPECT_EQ(group, -1);
  for (cJednostkaMorska* ship : fleet.ships) ship->group = 2;
  EXPECT_TRUE(fleet.HasSingleGroup(group));
  EXPECT_EQ(group, -1);
  fleet.ships.back()->group = 7;
  EXPECT_FALSE(fleet.HasSingleGroup(group));
  EXPECT_EQ(group, 7);

  fleet.ships.front()->hitPoints = 2;
  EXPECT_EQ(fleet.SumMaxHitPoints(), 18);
  EXPECT_EQ(fleet.SumHitPoints(), 14);
  EXPECT_TRUE(std::all_of(fleet.ships.begin(), fleet.ships.end(), [](const auto* s) { return s->group == -1; }));
  test::LogCapture log;
  EXPECT_TRUE(fleet.HasSingleGroup(group));
  EXPECT_TRUE(log.Contains(u"ERROR: Unexpected assignment of ship to seazone (-1)"));
}

TEST_F(FleetShips, DeleteRefusesAFleetWithShipsAndFreesAnEmptyOne) {
  sea.AddSea();
  cFleet& fleet = sea.AddFleet(1, 1, {kCruiser});
  test::LogCapture log;
  EXPECT_FALSE(DeleteFleet(&fleet));
  EXPECT_EQ(sea.game().fleets.size(), 1u);
  EXPECT_TRUE(log.ContainsText(u"still has 1 ships"));
  fleet.ships.clear();
  EXPECT_TRUE(DeleteFleet(&fleet));
  EXPECT_TRUE(sea.game().fleets.empty());
}

TEST_F(FleetShips, StrengthEstimatesCountFriendsAndNearbyEnemies) {
  const int zone = sea.AddSea();
  const int next = sea.AddSea();
  const int far = sea.AddSea();
  sea.Link(zone, next);
  sea.AddEdge(far, next);
  for (int token = 2; token <= 7; ++token) {
    sea.SetConstant(74, token, 4);
    sea.SetConstant(75, token, 4);
  }
  sea.SetConstant(146, 1, 100);
  sea.SetConstant(147, 1, 100);
  sea.AddFleet(1, zone, {kCruiser, kCargoShip});
  sea.AddFleet(2, zone, {kAmphibiousShip});
  sea.AddFleet(4, zone, {kCruiser});     // neutral: neither
  sea.AddFleet(3, next, {kBattleship});  // an enemy one step away
  sea.AddFleet(3, far, {kSubmarine});    // two steps away
  std::list<cJednostkaMorska*> ships;
  int transports = 0;
  SeedRandom(1);
  // Navy technology 0 everywhere: 4 x 0.4 per ship.
  EXPECT_FLOAT_EQ(SumFriendlyNavalStrengthInZone(1, zone, ships, transports), 3 * 1.6f);
  EXPECT_EQ(ships.size(), 3u);
  EXPECT_EQ(transports, 2);
  EXPECT_FLOAT_EQ(SumEnemyNavalStrengthInZone(1, zone, ships), 1.6f);
  ASSERT_EQ(ships.size(), 1u);
  EXPECT_EQ(ships.front()->type, kBattleship);

  sea.SetConstant(146, 1, 0);  // the roll of 1..100 never comes out at most 0
  EXPECT_EQ(SumFriendlyNavalStrengthInZone(1, zone, ships, transports), 0.0f);
  EXPECT_TRUE(ships.empty());
  EXPECT_EQ(transports, 0);
}

struct LimitCase {
  int roll;
  bool counted;
};
class FleetLimit : public FleetShips, public testing::WithParamInterface<LimitCase> {};

// A ship counts in a zone's estimate when its roll of 1..100 is at most the
// limit (40 for friends and enemies here).
TEST_P(FleetLimit, AShipCountsWhenItsRollIsAtMostTheLimit) {
  const int zone = sea.AddSea();
  sea.SetConstant(146, 1, 40);
  sea.SetConstant(147, 1, 40);
  sea.AddFleet(1, zone, {kCruiser});
  sea.AddFleet(3, zone, {kCruiser});
  int draw = -1;
  for (int d = 0; d <= 32767 && draw < 0; ++d) {
    ScopedRandomDraws one({d});
    if (RandomRange(1, 100) == GetParam().roll) draw = d;
  }
  std::list<cJednostkaMorska*> ships;
  int transports = 0;
  {
    ScopedRandomDraws roll({draw});
    SumFriendlyNavalStrengthInZone(1, zone, ships, transports);
  }
  EXPECT_EQ(ships.size(), GetParam().counted ? 1u : 0u);
  {
    ScopedRandomDraws roll({draw});
    SumEnemyNavalStrengthInZone(1, zone, ships);
  }
  EXPECT_EQ(ships.size(), GetParam().counted ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Rolls, FleetLimit,
                         testing::Values(LimitCase{39, true}, LimitCase{40, true}, LimitCase{41, false}));

}  // namespace
}  // namespace tr
