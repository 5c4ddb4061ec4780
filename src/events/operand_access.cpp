#include "events/operand_access.h"

#include <algorithm>

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "world/gra.h"

namespace tr {

const cCountry* ParamCountry(const sEventOperand& operand, int index) {
  const int id = IntParam(operand, index);
  if (id < 1 || id > gGame->CountryCount()) {
    LogFormat(u"ERROR: operand %s at line %i names country %i, which does not exist; its value is 0",
              operand.method, operand.line, id);
    return nullptr;
  }
  return gGame->countries[static_cast<std::size_t>(id - 1)].get();
}

const sHex* ParamHex(const sEventOperand& operand, int xIndex, int yIndex) {
  const int x = IntParam(operand, xIndex);
  const int y = IntParam(operand, yIndex);
  if (!gGame->map) {
    LogFormat(u"ERROR: operand %s at line %i reads hex (%d, %d) while the game has no map; its value is 0",
              operand.method, operand.line, x, y);
    return nullptr;
  }
  // Scenarios rely on the map's answer for a coordinate off the map: the hex (0, 0).
  if (!gGame->map->IsInside(x, y)) {
    LogFormat(u"WARNING: operand %s at line %i names hex (%d, %d), which is off the map; hex (0, 0) is read",
              operand.method, operand.line, x, y);
  }
  return gGame->map->GetHex(x, y);
}

bool ParamInRange(const sEventOperand& operand, int index, int low, int high) {
  const int value = IntParam(operand, index);
  if (value >= low && value <= high) return true;
  LogFormat(u"ERROR: operand %s at line %i has param%i = %i outside %i..%i; its value is 0", operand.method,
            operand.line, index, value, low, high);
  return false;
}

namespace {

template <typename List>
int CountInList(const List& list, int countryId, int type) {
  return static_cast<int>(std::count_if(list.begin(), list.end(), [&](const auto& unit) {
    return unit->owner == countryId && unit->type == type;
  }));
}

}  // namespace

int CountUnitsOfCountry(int countryId, int type) {
  switch (CategoryOfType(type)) {
    case kCategoryLand:
      return CountInList(gGame->landUnits, countryId, type) + CountInList(gGame->aboardUnitsA, countryId, type) +
             CountInList(gGame->aboardUnitsB, countryId, type);
    case kCategoryAir:
      return CountInList(gGame->airUnits, countryId, type);
    case kCategoryNaval:
      return CountInList(gGame->navalUnits, countryId, type);
    default:
      return 0;
  }
}

int CountCountryVictoryPoints(int countryId) {
  int points = 0;
  for (const auto& city : gGame->cities) {
    const sHex* hex = gGame->map ? gGame->map->GetHex(city->x, city->y) : nullptr;
    if (hex == nullptr || hex->controller == 0) {
      LogFormat(u"ERROR: City %s is not controlled by any country (controller id = 0)! (Counting country VPs)",
                city->name);
      FatalExit(1);
    }
    if (hex->controller == countryId) points += city->victoryPoints;
  }
  return points;
}

int CountShipsAtSeaNode(int countryId, int seaNodeId, int type) {
  return static_cast<int>(std::count_if(gGame->navalUnits.begin(), gGame->navalUnits.end(), [&](const auto& ship) {
    return ship->owner == countryId && ship->type == type && ship->fleet != nullptr &&
           ship->fleet->seaNodeId == seaNodeId;
  }));
}

}  // namespace tr
