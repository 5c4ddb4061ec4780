// The invariant checks the autoplay runner makes after every turn: each way
// a game can be broken is found and named.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "ai/game_invariants.h"
#include "ai_fixture.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"

namespace tr {
namespace {

struct sBrokenCase {
  const char* name;
  std::function<void(test::AiWorld&)> breakIt;
  const char* says;
};

class InvariantTest : public testing::TestWithParam<sBrokenCase> {};

TEST_P(InvariantTest, FirstViolationIsNamed) {
  test::AiWorld world;
  world.AddLand(1, 1, 1);
  world.AddAir(1, 2, 1);
  cJednostkaMorska& ship = world.AddShip(1);
  auto fleet = std::make_unique<cFleet>();
  fleet->id = 4;
  fleet->ships.push_back(&ship);
  ship.fleet = fleet.get();
  world.game().fleets.push_back(std::move(fleet));
  // Debts a sound game keeps: production, diplomatic, sea transport and invasion points.
  world.country(1).productionPoints = -12.5;
  world.country(1).diplomaticPoints = -3;
  world.country(2).seaTransportPoints = -4;
  world.country(3).invasionPoints = -5;
  ASSERT_EQ(FindInvariantViolation(world.game()), "");

  GetParam().breakIt(world);

  EXPECT_NE(FindInvariantViolation(world.game()).find(GetParam().says), std::string::npos)
      << FindInvariantViolation(world.game());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InvariantTest,
    testing::Values(
        sBrokenCase{"HexAndUnitDisagree", [](test::AiWorld& w) { w.game().landUnits.front()->x = 3; },
                    "hex (1,1) holds unit"},
        sBrokenCase{"TwoUnitsOnAHex",
                    [](test::AiWorld& w) {
                      w.game().airUnits.front()->x = 1;
                      w.hex(2, 1).unit = nullptr;
                    },
                    "two units on hex (1,1)"},
        sBrokenCase{"ListedUnitOffTheMap",
                    [](test::AiWorld& w) {
                      w.hex(1, 1).unit = nullptr;
                      w.game().landUnits.front()->x = -1;
                      w.game().landUnits.front()->y = -1;
                    },
                    "listed on the map at (-1,-1)"},
        sBrokenCase{"LandUnitOnTheSea", [](test::AiWorld& w) { w.hex(1, 1).terrain = kTerrainWater; },
                    "\"Land1\" stands on the sea hex (1,1) and is not aboard"},
        sBrokenCase{"HexForgotItsUnit", [](test::AiWorld& w) { w.hex(2, 1).unit = nullptr; },
                    "but the hex does not hold it"},
        // Every listed unit stands right; only the hexes show the stray one.
        sBrokenCase{"SecondHexHoldsAListedUnit",
                    [](test::AiWorld& w) { w.hex(5, 5).unit = w.game().landUnits.front().get(); },
                    "hex (5,5) holds unit"},
        sBrokenCase{"EmptyFleet", [](test::AiWorld& w) { w.game().fleets.front()->ships.clear(); }, "has no ship"},
        sBrokenCase{"ShipPointsElsewhere", [](test::AiWorld& w) { w.game().navalUnits.front()->fleet = nullptr; },
                    "points to another fleet"},
        sBrokenCase{"ShipTwiceInItsFleet",
                    [](test::AiWorld& w) {
                      cFleet& fleet = *w.game().fleets.front();
                      fleet.ships.push_back(fleet.ships.front());
                    },
                    "is listed 2 times in fleets"},
        sBrokenCase{"ReserveShipInAFleet",
                    [](test::AiWorld& w) {
                      auto spare = std::make_unique<cJednostkaMorska>();
                      spare->id = 9;
                      spare->fleet = w.game().fleets.front().get();
                      w.game().fleets.front()->ships.push_back(spare.get());
                      w.game().navalReserve.push_back(std::move(spare));
                    },
                    "of the naval reserve is in a fleet"},
        sBrokenCase{"FleetShipNotInTheGame",
                    [](test::AiWorld& w) {
                      static cJednostkaMorska stray;
                      stray.fleet = w.game().fleets.front().get();
                      w.game().fleets.front()->ships.push_back(&stray);
                    },
                    "a ship in fleet 4 is not among the game's naval units"},
        sBrokenCase{"NegativePoints", [](test::AiWorld& w) { w.country(2).strategicMovementPoints = -1; },
                    "has SMPs = -1"},
        sBrokenCase{"BrokenCity", [](test::AiWorld& w) { w.AddCity(u"Ruin", 5, 5, 1).victoryPoints = -1; },
                    "city \"Ruin\""},
        sBrokenCase{"PointsNotANumber",
                    [](test::AiWorld& w) { w.country(3).productionPoints = std::numeric_limits<double>::quiet_NaN(); },
                    "has PPs = "}),
    [](const testing::TestParamInfo<sBrokenCase>& info) { return info.param.name; });

}  // namespace
}  // namespace tr
