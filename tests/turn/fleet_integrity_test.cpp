// Every ship of the loaded game finds the fleet it names.
#include <gtest/gtest.h>

#include "foundation/fatal.h"
#include "support/log_capture.h"
#include "support/naval_world.h"
#include "support/world_builder.h"
#include "turn/fleet.h"
#include "turn/fleet_integrity.h"

namespace tr {
namespace {

cJednostkaMorska& AddShip(cGame& game, int fleetId, std::u16string name) {
  auto ship = std::make_unique<cJednostkaMorska>();
  ship->fleetId = fleetId;
  ship->name = std::move(name);
  game.navalUnits.push_back(std::move(ship));
  return *game.navalUnits.back();
}

TEST(FleetIntegrity, ShipOfAMissingFleetIsFatal) {
  test::TestWorld world(2, 2, 1);
  AddShip(world.game(), 7, u"Lonely");
  test::LogCapture log;
  try {
    CheckFleetIntegrity(world.game());
    FAIL() << "a ship without its fleet must end the program";
  } catch (const FatalExitError& error) {
    EXPECT_EQ(error.code(), 1);
  }
  EXPECT_TRUE(log.Contains(u"Data integrity error: Lonely belongs to fleet id=7, but no such fleet exists"));
}

// Each ship joins the fleet it names; a fleet that no ship names is dropped
// with a line, and the fleets around it stay.
TEST(FleetIntegrity, ShipsJoinTheirFleetAndAFleetOfNoShipIsDropped) {
  test::TestWorld world(2, 2, 3);
  cGame& game = world.game();
  for (const int id : {14, 23, 31}) {
    auto fleet = std::make_unique<cFleet>();
    fleet->id = id;
    fleet->countryId = 3;
    fleet->name = id == 23 ? u"Idle" : u"Home";
    game.fleets.push_back(std::move(fleet));
  }
  cJednostkaMorska& first = AddShip(game, 31, u"Resolute");
  cJednostkaMorska& second = AddShip(game, 14, u"Valiant");
  first.owner = second.owner = 3;
  test::LogCapture log;
  CheckFleetIntegrity(game);
  ASSERT_EQ(game.fleets.size(), 2u);
  const cFleet& kept = *game.fleets.front();
  const cFleet& last = *game.fleets.back();
  EXPECT_EQ(kept.id, 14);
  EXPECT_EQ(last.id, 31);
  EXPECT_EQ(second.fleet, &kept);
  ASSERT_EQ(last.ships.size(), 1u);
  EXPECT_EQ(last.ships.front(), &first);
  EXPECT_TRUE(log.ContainsText(u"fleet Idle (ID=23)"));
  EXPECT_FALSE(log.ContainsText(u"fleet Home"));
}

// A saved game gives up a fleet with its last ship: one no ship names is
// refused naming its line in fleets.csv.
TEST(FleetIntegrity, ASavedFleetOfNoShipIsRefusedNamingItsLine) {
  test::TestWorld world(2, 2, 3);
  cGame& game = world.game();
  game.loadedGame = 1;
  game.folderTemplate = u"data\\save\\s\\%s";
  for (const auto& [id, line] : {std::pair{14, 3}, std::pair{23, 4}}) {
    auto fleet = std::make_unique<cFleet>();
    fleet->id = id;
    fleet->countryId = 3;
    fleet->name = id == 23 ? u"Idle" : u"Home";
    fleet->fileLine = line;
    game.fleets.push_back(std::move(fleet));
  }
  AddShip(game, 14, u"Valiant").owner = 3;
  test::LogCapture log;
  EXPECT_THROW(CheckFleetIntegrity(game), FatalExitError);
  EXPECT_TRUE(log.ContainsText(u"ERROR: data\\save\\s\\fleets.csv at line 4 (counting from 1) holds fleet Idle (ID=23), "
                               u"which no ship of naval_units.csv names;"));
  game.fleets.pop_back();
  log.Clear();
  CheckFleetIntegrity(game);
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
}

class FleetOwner : public testing::TestWithParam<int> {};

// A loaded fleet must belong to one of the game's countries: 0 and one past
// the last are refused and end the load.
TEST_P(FleetOwner, OutsideTheCountriesIsFatal) {
  test::NavalWorld sea;
  const int count = sea.game().CountryCount();
  const int owner = GetParam() < 0 ? count - GetParam() - 1 : GetParam();  // -1: the last, -2: one past it
  cFleet& fleet = sea.AddFleet(1, sea.AddSea(), {});
  fleet.countryId = owner;
  const bool known = owner >= 1 && owner <= count;
  test::LogCapture log;
  try {
    CheckFleetReferences(sea.game());
    EXPECT_TRUE(known) << "fleet of country " << owner << " loaded";
  } catch (const FatalExitError& error) {
    EXPECT_FALSE(known) << "fleet of country " << owner << " refused";
    EXPECT_EQ(error.code(), 1);
  }
  EXPECT_EQ(log.ContainsText(u"names country"), !known);
}

INSTANTIATE_TEST_SUITE_P(Owners, FleetOwner, testing::Values(0, 1, -1, -2));

class FleetDestination : public testing::TestWithParam<int> {};

// The computer's destination node: -1 and 0 stand for none, the last node is
// the highest it may name; -2 and one past the last end the load.
TEST_P(FleetDestination, OutsideTheGraphIsFatal) {
  test::NavalWorld sea;
  const int zone = sea.AddSea();
  sea.AddSea();
  const int count = sea.graph().NodeCount();
  const int destination = GetParam() == 99 ? count + 1 : GetParam() == 98 ? count : GetParam();
  cFleet& fleet = sea.AddFleet(1, zone, {});
  fleet.aiDestinationNode = destination;
  const bool known = destination >= -1 && destination <= count;
  test::LogCapture log;
  try {
    CheckFleetReferences(sea.game());
    EXPECT_TRUE(known) << "fleet bound for node " << destination << " loaded";
  } catch (const FatalExitError& error) {
    EXPECT_FALSE(known) << "fleet bound for node " << destination << " refused";
    EXPECT_EQ(error.code(), 1);
  }
  EXPECT_EQ(log.ContainsText(u"names destination sea node"), !known);
}

// 98: the last node, 99: one past it.
INSTANTIATE_TEST_SUITE_P(Destinations, FleetDestination, testing::Values(-2, -1, 0, 98, 99));

}  // namespace
}  // namespace tr
