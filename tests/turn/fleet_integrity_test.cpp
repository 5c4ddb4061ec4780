// Every ship of the loaded game finds the fleet it names.
#include <gtest/gtest.h>

#include "foundation/fatal.h"
#include "support/log_capture.h"
#include "support/world_builder.h"
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

}  // namespace
}  // namespace tr
