#include <gtest/gtest.h>

#include "support/world_builder.h"
#include "world/map.h"

namespace tr {
namespace {

struct NeighbourCase {
  sPoint from;
  int direction;
  sPoint to;
};

void PrintTo(const NeighbourCase& c, std::ostream* os) {
  *os << "(" << c.from.x << "," << c.from.y << ") d" << c.direction;
}

class MapNeighbour : public testing::TestWithParam<NeighbourCase> {};

TEST_P(MapNeighbour, PointAndDirectionCodeAgree) {
  const NeighbourCase& c = GetParam();
  cMap map(10, 10);
  EXPECT_EQ(map.GetNeighbourPoint(c.from.x, c.from.y, c.direction), c.to);
  int x = -7, y = -7;
  map.GetNeighbourCoords(c.from.x, c.from.y, c.direction, x, y);
  EXPECT_EQ((sPoint{x, y}), c.to);
  EXPECT_EQ(map.GetDirectionTo(c.from.x, c.from.y, c.to.x, c.to.y), c.direction + 1);
  // Going back the opposite way returns to the start.
  EXPECT_EQ(map.GetNeighbourPoint(c.to.x, c.to.y, OppositeDirection(c.direction)), c.from);
}

INSTANTIATE_TEST_SUITE_P(
    EvenAndOddColumns, MapNeighbour,
    testing::Values(NeighbourCase{{2, 2}, 0, {2, 1}}, NeighbourCase{{2, 2}, 1, {3, 2}},
                    NeighbourCase{{2, 2}, 2, {3, 3}}, NeighbourCase{{2, 2}, 3, {2, 3}},
                    NeighbourCase{{2, 2}, 4, {1, 3}}, NeighbourCase{{2, 2}, 5, {1, 2}},
                    NeighbourCase{{3, 2}, 1, {4, 1}}, NeighbourCase{{3, 2}, 2, {4, 2}},
                    NeighbourCase{{3, 2}, 4, {2, 2}}, NeighbourCase{{3, 2}, 5, {2, 1}},
                    NeighbourCase{{-1, 2}, 1, {0, 1}}));

TEST(MapGeometry, DirectionToNonNeighbourIsZero) {
  cMap map(10, 10);
  EXPECT_EQ(map.GetDirectionTo(2, 2, 2, 2), 0);
  EXPECT_EQ(map.GetDirectionTo(2, 2, 4, 2), 0);
}

TEST(MapGeometry, NeighbourCoordsKeepOutputsForBadDirection) {
  cMap map(4, 4);
  int x = 11, y = 12;
  map.GetNeighbourCoords(1, 1, 6, x, y);
  EXPECT_EQ(x, 11);
  EXPECT_EQ(y, 12);
}

TEST(MapGeometry, GetHexOffTheMapGivesTheFirstCell) {
  cMap map(5, 4);
  const sHex* first = map.GetHex(0, 0);
  for (sPoint p : {sPoint{-1, 0}, sPoint{5, 0}, sPoint{0, 4}, sPoint{0, -1}, sPoint{-3, -3}}) {
    EXPECT_EQ(map.GetHex(p.x, p.y), first) << p.x << "," << p.y;
  }
  EXPECT_EQ(map.GetHex(4, 3)->x, 4);
  EXPECT_EQ(map.GetHex(4, 3)->y, 3);
  EXPECT_NE(cMap().GetHex(0, 0), nullptr);
}

// HasNeighbour and GetNeighbour agree with the bounds of the map everywhere.
TEST(MapGeometry, HasNeighbourMatchesBoundsOnEveryHex) {
  for (auto [w, h] : {std::pair{1, 1}, std::pair{2, 3}, std::pair{5, 4}}) {
    cMap map(w, h);
    for (int x = 0; x < w; ++x) {
      for (int y = 0; y < h; ++y) {
        for (int d = 0; d < 6; ++d) {
          const sPoint p = NeighbourPoint(x, y, d);
          EXPECT_EQ(map.HasNeighbour(x, y, d), map.IsInside(p.x, p.y)) << x << "," << y << " d" << d;
          EXPECT_EQ(map.GetNeighbour(x, y, d) != nullptr, map.IsInside(p.x, p.y));
        }
        EXPECT_FALSE(map.HasNeighbour(x, y, 6));
        EXPECT_EQ(map.GetNeighbour(x, y, 6), nullptr);
      }
    }
  }
}

TEST(MapGeometry, CornerNeighbours) {
  cMap map(2, 2);
  EXPECT_FALSE(map.HasNeighbour(0, 0, 4));
  EXPECT_FALSE(map.HasNeighbour(0, 0, 5));
  EXPECT_TRUE(map.HasNeighbour(0, 0, 2));
}

TEST(MapPasses, CoastTakesZoneOfHighestSeaSide) {
  cMap map(5, 5);
  for (sHex& hex : map.Hexes()) hex.terrain = 1;
  // Land at (2, 2): zone 3 to its N, zone 7 to its SE.
  map.GetHex(2, 1)->terrain = 0;
  map.GetHex(2, 1)->seaZone = 3;
  map.GetHex(3, 3)->terrain = 0;
  map.GetHex(3, 3)->seaZone = 7;
  // A sea hex without a zone gives nothing.
  map.GetHex(1, 3)->terrain = 0;
  map.PropagateSeaZonesToCoast();
  EXPECT_EQ(map.GetHex(2, 2)->seaZone, 7);
  EXPECT_EQ(map.GetHex(2, 3)->seaZone, 7);  // touches only zone 7 (NE) and the zoneless sea
  EXPECT_EQ(map.GetHex(0, 0)->seaZone, 0);
  EXPECT_EQ(map.GetHex(2, 1)->seaZone, 3);
}

TEST(MapPasses, RiverMouthMarksSeaNeighbours) {
  cMap map(4, 4);
  for (sHex& hex : map.Hexes()) hex.terrain = 1;
  sHex& land = *map.GetHex(2, 2);
  land.rivers = 1;                   // a river on side 0 (N)
  map.GetHex(1, 2)->terrain = 0;     // NW of (2, 2)
  map.MarkRiverMouths();
  EXPECT_EQ(map.GetHex(1, 2)->rivers, 65);
  EXPECT_EQ(map.GetHex(3, 2)->rivers, 0);  // NE is land
  EXPECT_FALSE(map.GetHex(1, 2)->HasRiver(0));
}

TEST(MapPasses, FlagSeaZoneHexesFlagsOnlyThatZonesSea) {
  test::TestWorld world(3, 3, 1);
  world.hex(0, 0).terrain = 0;
  world.hex(0, 0).seaZone = 4;
  world.hex(1, 0).terrain = 0;
  world.hex(1, 0).seaZone = 5;
  world.hex(2, 0).seaZone = 4;  // coastal land of zone 4
  world.map().FlagSeaZoneHexes(4, 0x4000);
  EXPECT_EQ(world.hex(0, 0).flags, 0x4000u);
  EXPECT_EQ(world.hex(0, 0).flagValue, -1);
  EXPECT_EQ(world.hex(1, 0).flags, 0u);
  EXPECT_EQ(world.hex(2, 0).flags, 0u);
  EXPECT_EQ(world.map().FlaggedHexes().size(), 1u);
}

TEST(MapPasses, RestoreControlToOwnersTouchesOnlyTheCountrysHexes) {
  test::TestWorld world(3, 1, 3);
  world.hex(0, 0).owner = 1;
  world.hex(0, 0).controller = 2;
  world.hex(1, 0).owner = 2;
  world.hex(1, 0).controller = 1;
  world.hex(2, 0).owner = 3;
  world.hex(2, 0).controller = 2;
  world.map().RestoreControlToOwners(1);
  EXPECT_EQ(world.hex(0, 0).controller, 1);
  EXPECT_EQ(world.hex(1, 0).controller, 2);
  EXPECT_EQ(world.hex(2, 0).controller, 2);
}

}  // namespace
}  // namespace tr
