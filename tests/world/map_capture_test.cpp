#include <gtest/gtest.h>

#include "foundation/fatal.h"
#include "support/log_capture.h"
#include "world/city_rules.h"
#include "world/headless_presentation.h"
#include "world/map.h"
#include "world/sea_graph_access.h"
#include "rules_fixture.h"

namespace tr {
namespace {

// Country 1 holds a 5 x 5 map and is at war with country 2; country 3 is at peace with both.
class MapCapture : public testing::Test {
 protected:
  MapCapture() : world(5, 5, 3) {
    test::HoldAll(world, 1);
    test::SetWar(world, 1, 2);
  }
  void Enemy(int x, int y) { world.hex(x, y).controller = 2; }

  cHeadlessPresentation screen;
  ScopedPresentation scoped{screen};
  test::TestWorld world;
  HexEntryList undo;
};

TEST_F(MapCapture, TakesTargetAndUnguardedNeighboursButNoCity) {
  Enemy(2, 2);
  Enemy(2, 1);  // N of the target
  Enemy(3, 3);  // SE
  Enemy(1, 2);  // NW, a city
  test::AddCity(world, 1, 2);
  world.map().CaptureHex(1, 2, 2, undo);
  EXPECT_EQ(undo, (HexEntryList{{2, 2, 2}, {2, 1, 2}, {3, 3, 2}}));
  EXPECT_EQ(world.hex(2, 2).controller, 1);
  EXPECT_EQ(world.hex(2, 1).controller, 1);
  EXPECT_EQ(world.hex(3, 3).controller, 1);
  EXPECT_EQ(world.hex(1, 2).controller, 2);
}

TEST_F(MapCapture, NeighbourNextToAnEnemyUnitStays) {
  Enemy(2, 2);
  Enemy(2, 3);                         // S of the target
  test::AddLandUnit(world, 2, 4, 2);   // two hexes from the target, next to (2, 3)
  world.map().CaptureHex(1, 2, 2, undo);
  EXPECT_EQ(undo, (HexEntryList{{2, 2, 2}}));
  EXPECT_EQ(world.hex(2, 3).controller, 2);
  EXPECT_TRUE(IsHexAdjacentToEnemyUnit(1, 2, 3));
  EXPECT_FALSE(IsHexAdjacentToEnemyUnit(3, 2, 3));
}

TEST_F(MapCapture, PeacefulNeighboursAndOwnTargetStay) {
  world.hex(2, 1).controller = 3;
  world.map().CaptureHex(1, 2, 2, undo);
  EXPECT_TRUE(undo.empty());
  EXPECT_EQ(world.hex(2, 1).controller, 3);
}

TEST_F(MapCapture, TargetWithoutControllerIsSkippedWithALogLine) {
  world.hex(2, 2).controller = 0;
  Enemy(2, 1);
  test::LogCapture log;
  world.map().CaptureHex(1, 2, 2, undo);
  EXPECT_TRUE(undo.empty());
  EXPECT_EQ(world.hex(2, 1).controller, 2);
  EXPECT_TRUE(log.ContainsText(u"without a controller"));
}

TEST_F(MapCapture, AirborneLandingHexes) {
  cCountry& c1 = world.country(1);
  EXPECT_TRUE(world.hex(0, 0).CanBeEnteredBy(c1));
  Enemy(0, 0);
  EXPECT_TRUE(world.hex(0, 0).CanBeEnteredBy(c1));
  world.hex(0, 0).controller = 3;
  EXPECT_FALSE(world.hex(0, 0).CanBeEnteredBy(c1));
  world.hex(0, 0).controller = 0;
  EXPECT_TRUE(world.hex(0, 0).CanBeEnteredBy(c1));
  world.hex(0, 0).terrain = kTerrainMountain;
  EXPECT_FALSE(world.hex(0, 0).CanBeEnteredBy(c1));
  auto& unit = test::AddLandUnit(world, 1, 1, 2);
  EXPECT_TRUE(world.hex(1, 1).CanBeEnteredBy(c1));  // a hidden unit does not stop the drop
  unit.spotted = 1;
  EXPECT_FALSE(world.hex(1, 1).CanBeEnteredBy(c1));
}

// A sea graph of node 1 (a port on (0, 0)), node 2 (a sea zone) and node 3 (a sea zone).
class FakeSeaGraph : public cSeaGraphAccess {
 public:
  int FindNodeIdByHex(int x, int y) const override { return x == 0 && y == 0 ? 1 : -1; }
  int NodeCount() const override { return 3; }
  bool IsPortNode(int id) const override { return id == 1; }
  bool LeavePortBecameEnemy(cFleet& fleet) override {
    if (!canLeave) return false;
    fleet.seaNodeId = 2;
    return true;
  }
  bool canLeave = true;
};

class MapPorts : public MapCapture {
 protected:
  MapPorts() { previous = SetSeaGraphAccess(&graph); }
  ~MapPorts() override { SetSeaGraphAccess(previous); }
  cFleet& AddFleet(int node) {
    world.game().fleets.push_back(std::make_unique<cFleet>());
    world.game().fleets.back()->seaNodeId = node;
    world.game().fleets.back()->name = u"Fleet";
    return *world.game().fleets.back();
  }
  FakeSeaGraph graph;
  cSeaGraphAccess* previous = nullptr;
};

TEST_F(MapPorts, CapturedPortSendsItsFleetsToSea) {
  cCity& port = test::AddCity(world, 0, 0, kCityPort);
  Enemy(0, 0);
  cFleet& inPort = AddFleet(1);
  cFleet& atSea = AddFleet(3);
  world.map().CaptureHex(1, 0, 0, undo);
  EXPECT_EQ(inPort.seaNodeId, 2);
  EXPECT_EQ(atSea.seaNodeId, 3);
  EXPECT_EQ(GetSeaNodeId(port), 1);
}

TEST_F(MapPorts, FleetThatCannotLeaveStaysAndPlayGoesOn) {
  test::AddCity(world, 0, 0, kCitySupplyPort);
  AddFleet(1);
  graph.canLeave = false;
  test::LogCapture log;
  world.map().OnPortCaptured(0, 0);
  EXPECT_TRUE(log.Contains(u"ERROR: Fleet cannot retreat to adjacent seazone from captured port!"));
  EXPECT_EQ(world.game().fleets.front()->seaNodeId, 1);
}

TEST_F(MapPorts, PortOrCityMissingFromTheSeaGraphIsFatal) {
  cCity& port = test::AddCity(world, 1, 1, kCityPort);
  test::LogCapture log;
  EXPECT_THROW(world.map().OnPortCaptured(1, 1), FatalExitError);
  EXPECT_THROW(GetSeaNodeId(port), FatalExitError);
  EXPECT_TRUE(log.Contains(u"ERROR! Cannot find sea node for city CityA (1,1). City type=3"));
}

TEST_F(MapPorts, RefreshSetsSeaZoneBordersBetweenSeaZonesOnly) {
  // Column 2 is sea: zone 2 above zone 3, a port zone at the bottom.
  for (int y = 0; y < 5; ++y) world.hex(2, y).terrain = kTerrainWater;
  world.hex(2, 0).seaZone = 2;
  world.hex(2, 1).seaZone = 2;
  world.hex(2, 2).seaZone = 3;
  world.hex(2, 3).seaZone = 9;  // no such node
  world.hex(2, 4).seaZone = 1;  // the port node keeps its bits
  world.hex(2, 4).borders = 0x100;
  world.map().RefreshHexes();
  const auto seaBits = [&](int y) { return world.hex(2, y).borders & kSeaZoneBorderBits; };
  EXPECT_EQ(seaBits(0), 0);
  EXPECT_EQ(seaBits(1), 256);  // side 3 (S) looks at zone 3
  EXPECT_EQ(seaBits(2), 0);    // zone 9 is no node
  EXPECT_EQ(seaBits(4), 0x100);
}

}  // namespace
}  // namespace tr
