#include <gtest/gtest.h>

#include "support/log_capture.h"
#include "world/headless_presentation.h"
#include "world/topography.h"
#include "rules_fixture.h"

namespace tr {
namespace {

// An 8 x 3 map with a water column at x = 3 and x = 6: a mainland of columns
// 0..2 with cities A (0,0), B (2,2) and a resource site; an island of columns
// 4..5 with city C (4,1); a lone column 7 with city D (7,0).
class Topography : public testing::Test {
 protected:
  Topography() : world(8, 3, 3) {
    for (int y = 0; y < 3; ++y) {
      world.hex(3, y).terrain = kTerrainWater;
      world.hex(6, y).terrain = kTerrainWater;
    }
    a = &test::AddCity(world, 0, 0);
    b = &test::AddCity(world, 2, 2);
    r = &test::AddCity(world, 1, 1, kCityResources);
    c = &test::AddCity(world, 4, 1);
    d = &test::AddCity(world, 7, 0);
    topography.ComputeWorldTopography(world.map(), world.game().cities);
    topography.BuildNearestCityMap(world.map(), world.game().cities);
  }
  cHeadlessPresentation screen;
  ScopedPresentation scoped{screen};
  test::TestWorld world;
  cCity *a, *b, *r, *c, *d;
  cWorldTopography topography;
};

TEST_F(Topography, WorldGroupsJoinCitiesOverLandAndSkipResourceSites) {
  const cTopography& groups = topography.Groups();
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_EQ(groups[0].cities, (std::vector<cCity*>{a, b}));
  EXPECT_EQ(groups[1].cities, (std::vector<cCity*>{c}));
  EXPECT_EQ(groups[2].cities, (std::vector<cCity*>{d}));

  // A group grows north as well: d moved to the foot of its lone column
  // reaches a city at its top.
  world.hex(7, 0).city = nullptr;
  d->y = 2;
  world.hex(7, 2).city = d;
  cCity* e = &test::AddCity(world, 7, 0);
  cWorldTopography again;
  again.ComputeWorldTopography(world.map(), world.game().cities);
  ASSERT_EQ(again.Groups().size(), 3u);
  EXPECT_EQ(again.Groups()[2].cities, (std::vector<cCity*>{d, e}));
}

TEST_F(Topography, NearestCityAndSameGroupTest) {
  EXPECT_EQ(topography.NearestCity(0, 1), a);
  EXPECT_EQ(topography.NearestCity(1, 1), a);  // the resource site is nobody's nearest city
  EXPECT_EQ(topography.NearestCity(2, 1), b);
  EXPECT_EQ(topography.NearestCity(7, 2), d);  // the last city of the list
  EXPECT_EQ(topography.NearestCity(3, 1), nullptr);   // water
  EXPECT_EQ(topography.NearestCity(-1, 0), nullptr);  // off the map
  EXPECT_EQ(topography.NearestCity(0, 3), nullptr);   // below the map
  // Groups computed again before the nearest cities are: no hex has one yet.
  cWorldTopography fresh;
  fresh.ComputeWorldTopography(world.map(), world.game().cities);
  EXPECT_EQ(fresh.NearestCity(0, 1), nullptr);
  EXPECT_FALSE(fresh.AreHexesInSameTopographyGroup(0, 2, 2, 0));
  EXPECT_TRUE(topography.AreHexesInSameTopographyGroup(0, 2, 2, 0));
  EXPECT_FALSE(topography.AreHexesInSameTopographyGroup(0, 2, 5, 2));
  EXPECT_FALSE(topography.AreHexesInSameTopographyGroup(3, 0, 3, 1));  // two water hexes
}

TEST_F(Topography, CountryGroupsAndSameGroupTest) {
  cStrategicMovement movement;
  test::LogCapture log;
  movement.Init(3);
  EXPECT_TRUE(log.Contains(u"Initializuje modu\u010f\u017c\u02dd ruchu strategicznego"));
  movement.SetCountryTopography(2, cTopography{{{a, b}}, {{c}}});
  EXPECT_TRUE(log.ContainsText(u"topografia kraju o id=2 ma 2 element"));
  EXPECT_TRUE(log.Contains(u"Nowa Grupa. Oto jej miasta:"));
  EXPECT_TRUE(movement.AreInSameGroup(2, a, b));
  EXPECT_FALSE(movement.AreInSameGroup(2, a, c));
  EXPECT_FALSE(movement.AreInSameGroup(2, a, d));  // no group holds d
  EXPECT_FALSE(movement.AreInSameGroup(9, a, b));
  movement.SetCountryTopography(4, {});
  EXPECT_TRUE(log.ContainsText(u"no topography for country id=4"));
}

class StrategicMove : public Topography {
 protected:
  StrategicMove() {
    test::HoldAll(world, 1);
    world.hex(7, 0).controller = 2;  // d is held by another country
    world.country(1).alliance = kAllies;
    movement.Init(3);
    movement.SetWorldTopography(&topography);
    movement.SetCountryTopography(1, cTopography{{{a, b}}, {{c}}});
  }
  template <typename Unit>
  Unit& UnitAt(int x, int y) {
    auto& unit = test::AddLandUnit<Unit>(world, x, y, 1);
    unit.supplySourceX = 0;
    unit.supplySourceY = 0;
    return unit;
  }
  cStrategicMovement movement;
};

TEST_F(StrategicMove, LandUnitsNeedSupplySourceAndTheSameGroup) {
  auto& unit = UnitAt<cJednostkaLadowa>(1, 2);
  EXPECT_TRUE(movement.CanMoveStrategically(unit, *b));
  EXPECT_FALSE(movement.CanMoveStrategically(unit, *c));
  EXPECT_FALSE(movement.CanMoveStrategically(unit, *d));
  unit.supplySourceX = -1;
  EXPECT_FALSE(movement.CanMoveStrategically(unit, *b));
  unit.supplySourceX = 1;
  unit.supplySourceY = 2;  // a hex without a city
  EXPECT_FALSE(movement.CanMoveStrategically(unit, *b));
}

TEST_F(StrategicMove, AirUnitsGoToAnyFriendlyCity) {
  cJednostkaLotnicza air;
  air.owner = 1;
  air.supplySourceX = 0;
  air.supplySourceY = 0;
  EXPECT_TRUE(movement.CanMoveStrategically(air, *c));
  EXPECT_FALSE(movement.CanMoveStrategically(air, *d));
  world.country(2).alliance = kAlliesLeader;
  EXPECT_TRUE(movement.CanMoveStrategically(air, *d));
}

TEST_F(StrategicMove, NeutralsUseTheWorldGroups) {
  world.country(1).alliance = kNeutral;
  auto& unit = UnitAt<cJednostkaLadowa>(1, 2);
  movement.SetCountryTopography(1, {});
  EXPECT_TRUE(movement.CanMoveStrategically(unit, *b));
  EXPECT_FALSE(movement.CanMoveStrategically(unit, *c));
}

TEST_F(StrategicMove, MarkingFlagsFreeCityHexAndFriendlyFreeLandNeighbours) {
  auto& unit = UnitAt<cJednostkaLadowa>(0, 0);  // stands on a
  world.hex(2, 1).controller = 2;               // an enemy neighbour of b
  test::AddLandUnit(world, 1, 2, 1);            // an occupied neighbour of b
  world.hex(0, 2).AddFlags(64, -1);             // an old highlight goes
  movement.MarkStrategicMoveTargets(unit);
  const auto flagged = [&](int x, int y) { return (world.hex(x, y).flags & 32) != 0; };
  EXPECT_FALSE(flagged(0, 0));  // a's own hex holds the unit
  EXPECT_TRUE(flagged(1, 0));   // free neighbour of a
  EXPECT_TRUE(flagged(2, 2));
  EXPECT_FALSE(flagged(2, 1));
  EXPECT_FALSE(flagged(1, 2));
  EXPECT_EQ(world.hex(0, 2).flags, 0u);
  EXPECT_FALSE(flagged(4, 1));  // another group
  EXPECT_EQ(world.hex(2, 2).flagValue, -1);
}

TEST(TopographyGrid, AllocatesZeroedCellsForTheMap) {
  test::TestWorld world(4, 3, 1);
  cTopographyGrid grid;
  grid.cells.assign(3, 7);
  grid.Allocate(world.map());
  EXPECT_EQ(grid.width, 4);
  EXPECT_EQ(grid.height, 3);
  EXPECT_EQ(grid.cells, std::vector<std::int32_t>(12, 0));
}

}  // namespace
}  // namespace tr
