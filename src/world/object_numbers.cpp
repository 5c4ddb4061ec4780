#include "world/object_numbers.h"

#include <unordered_set>

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "world/gra.h"
#include "world/value_limits.h"

namespace tr {
namespace {

using NumberSet = std::unordered_set<std::int32_t>;

template <typename List>
void Collect(const List& list, NumberSet& used) {
  for (const auto& object : list) used.insert(object->id);
}

void CollectReserve(const cGame& game, int category, NumberSet& used) {
  for (const auto& unit : game.reservePool) {
    if (unit->category == category) used.insert(unit->id);
  }
}

// The counter moves on while it is below the top; at the top the search for
// a free number is rare enough to walk every object of the kind.
template <typename CollectUsed>
std::int32_t NextNumber(std::int32_t& counter, const char16_t* kind, CollectUsed collectUsed) {
  if (counter < kMaxObjectNumber) {
    if (++counter == kMaxObjectNumber) {
      LogFormat(u"The %s numbers reached %i; the next ones are free numbers given again", kind, kMaxObjectNumber);
    }
    return counter;
  }
  NumberSet used;
  collectUsed(used);
  for (std::int32_t number = 1; number <= kMaxObjectNumber; ++number) {
    if (used.count(number) == 0) return number;
  }
  LogFormat(u"ERROR: every %s number up to %i is in use", kind, kMaxObjectNumber);
  FatalExit(1);
}

}  // namespace

std::int32_t NewLandUnitNumber(cGame& game) {
  return NextNumber(game.nextLandUnitId, u"land unit", [&](NumberSet& used) {
    Collect(game.landUnits, used);
    Collect(game.aboardUnitsA, used);
    Collect(game.aboardUnitsB, used);
    CollectReserve(game, kCategoryLand, used);
  });
}

std::int32_t NewAirUnitNumber(cGame& game) {
  return NextNumber(game.nextAirUnitId, u"air unit", [&](NumberSet& used) {
    Collect(game.airUnits, used);
    CollectReserve(game, kCategoryAir, used);
  });
}

std::int32_t NewShipNumber(cGame& game) {
  return NextNumber(game.nextNavalUnitId, u"ship", [&](NumberSet& used) {
    Collect(game.navalUnits, used);
    Collect(game.navalReserve, used);
  });
}

std::int32_t NewFleetNumber(cGame& game) {
  return NextNumber(game.nextFleetId, u"fleet", [&](NumberSet& used) { Collect(game.fleets, used); });
}

std::int32_t NewConvoyNumber(cGame& game) {
  return NextNumber(game.nextConvoyId, u"convoy", [&](NumberSet& used) {
    for (const auto& list : game.convoys.convoys) {
      for (const auto& convoy : list) used.insert(convoy.id);
    }
  });
}

}  // namespace tr
