#include "world/unit_room.h"

#include <algorithm>

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/unit_caps.h"
#include "units/unit.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"

namespace tr {
namespace {

const char16_t* KindName(int category) {
  return category == kCategoryLand ? u"land units" : category == kCategoryAir ? u"air units" : u"ships";
}

}  // namespace

int UnitsHeld(const cGame& game, int category) {
  if (category == kCategoryNaval) {
    // A transport is made for the land unit it carries and goes with it.
    const auto warships = std::count_if(game.navalUnits.begin(), game.navalUnits.end(),
                                        [](const auto& ship) { return ship->carriedUnit == nullptr; });
    return static_cast<int>(static_cast<std::size_t>(warships) + game.navalReserve.size());
  }
  const auto reserve = std::count_if(game.reservePool.begin(), game.reservePool.end(),
                                     [category](const auto& unit) { return unit->category == category; });
  const std::size_t placed = category == kCategoryLand
                                 ? game.landUnits.size() + game.aboardUnitsA.size() + game.aboardUnitsB.size()
                                 : game.airUnits.size();
  return static_cast<int>(placed + static_cast<std::size_t>(reserve));
}

int MostUnits(int category) {
  return category == kCategoryLand ? kMostLandUnits : category == kCategoryAir ? kMostAirUnits : kMostShips;
}

bool RoomForUnit(const cGame& game, int category, std::u16string_view what) {
  if (UnitsHeld(game, category) < MostUnits(category)) return true;
  LogFormat(u"%s: none added, the game holds the %i %s a game may hold", what, MostUnits(category),
            KindName(category));
  return false;
}

void CheckUnitCaps(const cGame& game) {
  // Ships are counted whole: a load links transports to their cargo later.
  const int ships = static_cast<int>(game.navalUnits.size() + game.navalReserve.size());
  const struct {
    int held;
    int most;
    const char16_t* kind;
  } counts[] = {{UnitsHeld(game, kCategoryLand), kMostLandUnits, u"land units"},
                {UnitsHeld(game, kCategoryAir), kMostAirUnits, u"air units"},
                {ships, kMostShips + kMostLandUnits, u"ships and transports"}};
  for (const auto& count : counts) {
    if (count.held <= count.most) continue;
    LogFormat(u"ERROR: The game holds %i %s, more than the %i a game may hold (its saves could not be read back); "
              u"the game is not loaded",
              count.held, count.kind, count.most);
    ExitDestroyingGame(1);
  }
}

}  // namespace tr
