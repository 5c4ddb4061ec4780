// Naval visibility: the spotting chance, the rolls, the counters and markers
// of a node, the port secrecy switch, and the carrier that defends a node.
#include <gtest/gtest.h>

#include <iterator>
#include <stdexcept>

#include "foundation/format.h"
#include "foundation/random.h"
#include "foundation/settings.h"
#include "support/log_capture.h"
#include "support/naval_world.h"
#include "turn/sea_graph.h"
#include "world/headless_presentation.h"

namespace tr {
namespace {

using test::RangeDraw;

// Base chance 30; friendly threshold 2, step 3, bonus 10, carrier bonus 15;
// enemy threshold 0, step 2, bonus 5. Country 1 views.
class NavalVisibility : public testing::Test {
 protected:
  NavalVisibility() : scoped_(presentation_) {
    savedFog_ = gFogOfWar;
    gFogOfWar = 3;
    sea.SetConstant(165, 1, 30);
    sea.SetConstant(166, 1, 2);
    sea.SetConstant(166, 2, 3);
    sea.SetConstant(166, 3, 10);
    sea.SetConstant(166, 4, 15);
    sea.SetConstant(167, 1, 0);
    sea.SetConstant(167, 2, 2);
    sea.SetConstant(167, 3, 5);
    sea.graph().viewingCountry = 1;
    zone = sea.AddSea();
  }
  ~NavalVisibility() override { gFogOfWar = savedFog_; }
  sWezelGrafuMorz& node(int id) { return sea.graph().GetNode(id - 1); }

  test::NavalWorld sea;
  cHeadlessPresentation presentation_;
  ScopedPresentation scoped_;
  int savedFog_ = 0;
  int zone = 0;
};

struct ChanceCase {
  const char* name;
  int ownShips;  // one of them a carrier
  int alliedShips;
  int expected;
};
class SpottingChance : public NavalVisibility, public testing::WithParamInterface<ChanceCase> {};

TEST_P(SpottingChance, GrowsOnlyByWholeStepsAboveTheThresholdAndByCarriers) {
  const ChanceCase& c = GetParam();
  cFleet& own = sea.AddFleet(1, zone, {kAircraftCarrier});
  for (int i = 1; i < c.ownShips; ++i) sea.AddShip(own, kCruiser);
  if (c.alliedShips > 0) {
    cFleet& allied = sea.AddFleet(2, zone, {});
    for (int i = 0; i < c.alliedShips; ++i) sea.AddShip(allied, kBattleship);
  }
  test::LogCapture log;
  node(zone).CalculateNavalVisibility(false);
  EXPECT_TRUE(log.Contains(u"Calculating naval units visibility for zone Sea1 (ID=1)"));
  EXPECT_TRUE(log.Contains(Format(u"Chance of spotting enemy unit = %i", c.expected)));
  EXPECT_EQ(node(zone).CountOwnShips(), c.ownShips);
  EXPECT_EQ(node(zone).ownShips[0], 1);
}

INSTANTIATE_TEST_SUITE_P(Counts, SpottingChance,
                         testing::Values(ChanceCase{"FiveShipsOneStep", 5, 0, 55},
                                         ChanceCase{"FourShipsNoWholeStep", 4, 0, 45},
                                         ChanceCase{"AtTheThreshold", 2, 0, 45},
                                         ChanceCase{"AlliesCountAsFriends", 2, 6, 65}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(NavalVisibility, EnemyShipsAddWholeStepsAndTheSumIsHeldToAHundred) {
  sea.AddFleet(3, zone, {kCruiser, kCruiser, kCruiser, kCruiser, kCruiser});
  test::LogCapture log;
  {
    ScopedRandomDraws draws({0, 0, 0, 0, 0, 0});
    node(zone).CalculateNavalVisibility(false);
  }
  // 30 + (5 - 0) / 2 x 5.
  EXPECT_TRUE(log.Contains(u"Chance of spotting enemy unit = 40"));
  sea.SetConstant(165, 1, 500);
  node(zone).CalculateNavalVisibility(false);
  EXPECT_TRUE(log.Contains(u"Chance of spotting enemy unit = 100"));
  sea.SetConstant(165, 1, -500);
  node(zone).CalculateNavalVisibility(false);
  EXPECT_TRUE(log.Contains(u"Chance of spotting enemy unit = 0"));
}

TEST_F(NavalVisibility, FullRecomputationHidesTheEnemiesThatRollAboveTheChance) {
  cFleet& enemy = sea.AddFleet(3, zone, {kBattleship, kCruiser, kSubmarine});
  sea.AddFleet(4, zone, {kCruiser});  // neutral: never counted
  // Chance 30 + 3 / 2 x 5 = 35: the cruiser rolls 36 and is lost.
  ScopedRandomDraws draws({RangeDraw(0, 100, 35), RangeDraw(0, 100, 36), RangeDraw(0, 100, 0), 0});
  node(zone).CalculateNavalVisibility(false);
  auto it = enemy.ships.begin();
  EXPECT_EQ((*it++)->spotted, 1);
  EXPECT_EQ((*it++)->spotted, 0);
  EXPECT_EQ((*it)->spotted, 1);
  EXPECT_EQ(node(zone).spottedEnemyShips[1], 1);
  EXPECT_EQ(node(zone).spottedEnemyShips[2], 0);
  EXPECT_EQ(node(zone).spottedEnemyShips[3], 1);
  EXPECT_EQ(node(zone).CountSpottedEnemyShips(), 2);
  // The marker is the first spotted enemy (draw 0); no own ship, no player marker.
  EXPECT_EQ(node(zone).enemyMarkerShip, enemy.ships.front());
  EXPECT_EQ(node(zone).playerMarkerShip, nullptr);
  EXPECT_EQ(draws.remaining(), 0u);
}

TEST_F(NavalVisibility, WithoutFogOfWarEveryEnemyStaysSpotted) {
  gFogOfWar = 0;
  cFleet& enemy = sea.AddFleet(3, zone, {kBattleship, kCruiser, kSubmarine});
  test::LogCapture log;
  SeedRandom(7);
  node(zone).CalculateNavalVisibility(false);
  EXPECT_TRUE(log.Contains(u"Chance of spotting enemy unit = 100"));
  for (const cJednostkaMorska* ship : enemy.ships) EXPECT_EQ(ship->spotted, 1);
  EXPECT_EQ(node(zone).CountSpottedEnemyShips(), 3);
}

TEST_F(NavalVisibility, IncrementalRollsOnlyForUnseenShipsAndKeepsTheSpottedOnes) {
  cFleet& enemy = sea.AddFleet(3, zone, {kCruiser, kCruiser});
  cJednostkaMorska* seen = enemy.ships.front();
  cJednostkaMorska* unseen = enemy.ships.back();
  seen->spotted = 1;
  unseen->spotted = 0;
  node(zone).spottedEnemyShips[2] = 1;
  // Chance 30 + 1 / 2 x 5 = 30: one roll, for the unseen ship, at exactly 30.
  ScopedRandomDraws draws({RangeDraw(0, 100, 30), 0});
  node(zone).CalculateNavalVisibility(true);
  EXPECT_EQ(unseen->spotted, 1);
  EXPECT_EQ(seen->spotted, 1);
  EXPECT_EQ(node(zone).spottedEnemyShips[2], 2);
  EXPECT_EQ(draws.remaining(), 0u);
}

TEST_F(NavalVisibility, PortWithTheSecrecySwitchOnShowsOnlyTheViewersOwnShips) {
  const int port = sea.AddPort(1);
  cFleet& own = sea.AddFleet(1, port, {kCruiser});
  sea.AddFleet(2, port, {kBattleship});
  cFleet& enemy = sea.AddFleet(3, port, {kCruiser});
  enemy.ships.front()->spotted = 0;
  ASSERT_TRUE(PortSecrecyOn());
  node(port).CalculateNavalVisibility(false);
  EXPECT_EQ(node(port).CountOwnShips(), 1);
  EXPECT_EQ(node(port).alliedShips[1], 0);
  EXPECT_EQ(node(port).CountSpottedEnemyShips(), 0);
  EXPECT_EQ(node(port).enemyMarkerShip, nullptr);
  EXPECT_EQ(node(port).playerMarkerShip, own.ships.front());
  EXPECT_EQ(enemy.ships.front()->spotted, 0);
}

// A port opened to the viewer shows its enemies but draws no enemy marker:
// the rolls of the two enemies, then the own marker, and nothing more.
TEST_F(NavalVisibility, APortWithoutSecrecyDrawsOnlyTheOwnMarker) {
  const int port = sea.AddPort(1);
  cFleet& own = sea.AddFleet(1, port, {kCruiser, kBattleship});
  sea.AddFleet(3, port, {kCruiser, kBattleship});
  PortSecrecyOffGuard open;
  ScopedRandomDraws draws({RangeDraw(0, 100, 0), RangeDraw(0, 100, 0), RangeDraw(0, 1, 1), 0});
  node(port).CalculateNavalVisibility(false);
  EXPECT_EQ(node(port).CountSpottedEnemyShips(), 2);
  EXPECT_EQ(node(port).enemyMarkerShip, nullptr);
  EXPECT_EQ(node(port).playerMarkerShip, own.ships.back());
  EXPECT_EQ(draws.remaining(), 1u);
}

TEST_F(NavalVisibility, ReconnaissanceOpensThePortForOneComputationAndTheSwitchComesBack) {
  gFogOfWar = 0;
  const int port = sea.AddPort(3);
  cFleet& scout = sea.AddFleet(1, zone, {kCruiser});
  cFleet& enemy = sea.AddFleet(3, port, {kCruiser, kBattleship});
  scout.ships.front()->ReconSeaNode(port);
  EXPECT_TRUE(PortSecrecyOn());
  EXPECT_EQ(node(port).CountSpottedEnemyShips(), 2);
  EXPECT_EQ(node(port).enemyMarkerShip, nullptr);  // a port never shows one
  EXPECT_EQ(enemy.ships.front()->spotted, 1);
  try {
    PortSecrecyOffGuard open;
    EXPECT_FALSE(PortSecrecyOn());
    throw std::runtime_error("computation failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_TRUE(PortSecrecyOn());
}

TEST_F(NavalVisibility, MarkerRefreshPicksAgainWithoutRollsOrCounting) {
  cFleet& own = sea.AddFleet(1, zone, {kCruiser, kBattleship, kCruiser});
  for (cJednostkaMorska* ship : own.ships) ship->spotted = 1;
  cFleet& enemy = sea.AddFleet(3, zone, {kCruiser, kBattleship});
  enemy.ships.front()->spotted = 0;
  enemy.ships.back()->spotted = 1;
  node(zone).spottedEnemyShips[1] = 7;
  // The own marker is picked among the three ships alike: the middle draw gives the middle one.
  ScopedRandomDraws draws({32767, RangeDraw(0, 2, 1)});
  node(zone).RecalculateSpotting(true, true);
  EXPECT_EQ(node(zone).enemyMarkerShip, enemy.ships.back());  // the only spotted one
  EXPECT_EQ(node(zone).playerMarkerShip, *std::next(own.ships.begin()));
  EXPECT_EQ(node(zone).spottedEnemyShips[1], 7);
  EXPECT_EQ(draws.remaining(), 0u);
}

TEST_F(NavalVisibility, FleetSailingAwayLeavesTheCountersOfTheViewerAndItsMarker) {
  const int next = sea.AddSea();
  sea.Link(zone, next);
  cFleet& staying = sea.AddFleet(1, zone, {kCruiser});
  cFleet& leaving = sea.AddFleet(1, zone, {kCruiser, kBattleship});
  SeedRandom(3);
  node(zone).CalculateNavalVisibility(false);
  ASSERT_EQ(node(zone).CountOwnShips(), 3);
  leaving.MoveTo(next);
  ASSERT_EQ(leaving.seaNodeId, next);
  EXPECT_EQ(node(zone).CountOwnShips(), 1);
  EXPECT_EQ(node(zone).playerMarkerShip, staying.ships.front());
  EXPECT_EQ(node(next).CountOwnShips(), 2);
  // Another country's fleet leaving changes no counter of the viewer.
  cFleet& allied = sea.AddFleet(2, next, {kCruiser});
  node(next).RemoveFleetFromCounts(allied);
  EXPECT_EQ(node(next).CountOwnShips(), 2);
}

TEST_F(NavalVisibility, UnknownShipTypeIsLoggedAndLeftOutWhileTheOthersCount) {
  cFleet& own = sea.AddFleet(1, zone, {kCruiser, kCruiser});
  own.ships.back()->type = 47;
  test::LogCapture log;
  node(zone).CalculateNavalVisibility(false);
  EXPECT_TRUE(log.Contains(u"ERROR: Unknown naval unit type (47) while calculating ships for node id=1"));
  EXPECT_EQ(node(zone).CountOwnShips(), 1);
  node(zone).RemoveFleetFromCounts(own);
  EXPECT_EQ(node(zone).CountOwnShips(), 0);
}

TEST_F(NavalVisibility, WholeGraphForACountryAndTheFogOfWarOfACountry) {
  const int second = sea.AddSea();
  sea.AddFleet(3, zone, {kCruiser});
  sea.AddFleet(3, second, {kCruiser});
  gFogOfWar = 0;
  sea.graph().CalculateNavalVisibilityAll(2, false);
  EXPECT_EQ(sea.graph().viewingCountry, 2);
  EXPECT_EQ(node(zone).CountSpottedEnemyShips(), 1);
  EXPECT_EQ(node(second).CountSpottedEnemyShips(), 1);
  sea.world().country(3).RecalculateUnitsVisibility();
  EXPECT_EQ(sea.graph().viewingCountry, 3);
  EXPECT_EQ(node(zone).CountOwnShips(), 1);
  EXPECT_EQ(node(second).CountSpottedEnemyShips(), 0);
}

TEST_F(NavalVisibility, NewFleetFromTheReserveRecomputesTheOwnersView) {
  gFogOfWar = 0;
  sea.AddFleet(3, zone, {kCruiser});
  cJednostkaMorska& ship = sea.AddReserveShip(2, kCruiser);
  ship.FormNewFleet(zone);
  EXPECT_EQ(sea.graph().viewingCountry, 2);
  EXPECT_EQ(node(zone).CountOwnShips(), 1);
  EXPECT_EQ(node(zone).CountSpottedEnemyShips(), 1);
}

class InterceptorSearch : public NavalVisibility {
 protected:
  InterceptorSearch() { sea.SetConstant(156, 1, 4); }
};

TEST_F(InterceptorSearch, StrongestFitCarrierAtWarWithTheAttackerFirstOnATie) {
  const int other = sea.AddSea();
  cJednostkaMorska& weak = sea.AddShip(sea.AddFleet(1, zone, {}), kAircraftCarrier);
  weak.hitPoints = 3;                                             // below line 156
  sea.AddShip(sea.AddFleet(4, zone, {}), kAircraftCarrier);      // neutral
  sea.AddShip(sea.AddFleet(1, other, {}), kAircraftCarrier);     // elsewhere
  sea.AddFleet(1, zone, {kBattleship});                           // no carrier
  cJednostkaMorska& first = sea.AddShip(sea.AddFleet(1, zone, {}), kAircraftCarrier);
  cJednostkaMorska& second = sea.AddShip(sea.AddFleet(2, zone, {}), kAircraftCarrier);
  first.hitPoints = second.hitPoints = 4;
  test::LogCapture log;
  EXPECT_EQ(node(zone).SearchInterceptor(3), &first);
  const std::vector<std::u16string> expected = {
      u"Searching for interceptor while attacking sea node: Sea1)",
      Format(u"Possible interceptor: %s, power: 4", first.name),
      u"Interceptor above is best so far!",
      Format(u"Possible interceptor: %s, power: 4", second.name),
      u"Searching for interceptor finished"};
  EXPECT_EQ(log.lines(), expected);
  second.hitPoints = 5;
  EXPECT_EQ(node(zone).SearchInterceptor(3), &second);
}

TEST_F(InterceptorSearch, NoneFoundIsLogged) {
  sea.AddFleet(1, zone, {kAircraftCarrier});
  test::LogCapture log;
  EXPECT_EQ(node(zone).SearchInterceptor(2), nullptr);  // an ally attacks
  const std::vector<std::u16string> expected = {u"Searching for interceptor while attacking sea node: Sea1)",
                                                u"Searching for interceptor finished, no interceptor found"};
  EXPECT_EQ(log.lines(), expected);
}

}  // namespace
}  // namespace tr
