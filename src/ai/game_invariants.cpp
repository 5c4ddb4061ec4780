#include "ai/game_invariants.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <unordered_map>

#include "foundation/text.h"
#include "world/gra.h"

namespace tr {
namespace {

std::string Describe(const cUnit& unit) {
  std::ostringstream text;
  text << "unit " << unit.id << " \"" << Utf16ToUtf8(unit.name) << "\"";
  return text.str();
}

template <typename List>
std::string CheckMapUnits(const cGame& game, const List& units, const char* kind,
                          std::unordered_map<int, const cUnit*>& taken) {
  const cMap& map = *game.map;
  for (const auto& unit : units) {
    std::ostringstream text;
    if (unit->x == -1 && unit->y == -1) {
      text << kind << ' ' << Describe(*unit) << " is listed on the map at (-1,-1)";
      return text.str();
    }
    if (!map.IsInside(unit->x, unit->y)) {
      text << kind << ' ' << Describe(*unit) << " stands off the map at (" << unit->x << ',' << unit->y << ')';
      return text.str();
    }
    const int key = unit->y * map.GetWidth() + unit->x;
    const auto [where, fresh] = taken.emplace(key, unit.get());
    if (!fresh) {
      text << "two units on hex (" << unit->x << ',' << unit->y << "): " << Describe(*where->second) << " and "
           << Describe(*unit);
      return text.str();
    }
    if (map.GetHex(unit->x, unit->y)->unit != unit.get()) {
      text << kind << ' ' << Describe(*unit) << " stands at (" << unit->x << ',' << unit->y
           << ") but the hex does not hold it";
      return text.str();
    }
  }
  return {};
}

std::string CheckHexes(const cGame& game) {
  for (const sHex& hex : game.map->Hexes()) {
    if (hex.unit && (hex.unit->x != hex.x || hex.unit->y != hex.y)) {
      std::ostringstream text;
      text << "hex (" << hex.x << ',' << hex.y << ") holds " << Describe(*hex.unit) << " whose coordinates are ("
           << hex.unit->x << ',' << hex.unit->y << ')';
      return text.str();
    }
  }
  return {};
}

std::string CheckFleets(const cGame& game) {
  for (const auto& fleet : game.fleets) {
    std::ostringstream text;
    if (fleet->ships.empty()) {
      text << "fleet " << fleet->id << " \"" << Utf16ToUtf8(fleet->name) << "\" has no ship";
      return text.str();
    }
    for (const cJednostkaMorska* ship : fleet->ships) {
      if (ship->fleet != fleet.get()) {
        text << "ship " << Describe(*ship) << " of fleet " << fleet->id << " points to another fleet";
        return text.str();
      }
    }
  }
  for (const auto& ship : game.navalUnits) {
    const cFleet* fleet = ship->fleet;
    const bool listed = fleet && std::any_of(game.fleets.begin(), game.fleets.end(),
                                             [fleet](const auto& each) { return each.get() == fleet; });
    if (!listed || std::find(fleet->ships.begin(), fleet->ships.end(), ship.get()) == fleet->ships.end()) {
      return "ship " + Describe(*ship) + " is not in the fleet it points to";
    }
  }
  return {};
}

bool IsBadPoints(double value) { return !std::isfinite(value) || value < 0.0; }

std::string CheckPoints(const cGame& game) {
  for (const auto& country : game.countries) {
    struct sPoints {
      const char* name;
      double value;
      bool mayBeNegative;
    };
    // Upkeep is charged without bound, so production points may run into
    // debt; they must still be a number.
    const sPoints points[] = {{"PPs", country->productionPoints, true},
                              {"DPs", double(country->diplomaticPoints), false},
                              {"SMPs", double(country->strategicMovementPoints), false},
                              {"STPs", double(country->seaTransportPoints), false},
                              {"AIPs", double(country->invasionPoints), false}};
    for (const sPoints& each : points) {
      if (std::isfinite(each.value) && (each.mayBeNegative || each.value >= 0.0)) continue;
      std::ostringstream text;
      text << "country " << country->id << " \"" << Utf16ToUtf8(country->name) << "\" has " << each.name << " = "
           << each.value;
      return text.str();
    }
  }
  for (const auto& city : game.cities) {
    if (IsBadPoints(city->productionPoints) || city->victoryPoints < 0) {
      std::ostringstream text;
      text << "city \"" << Utf16ToUtf8(city->name) << "\" has production points " << city->productionPoints
           << " and victory points " << city->victoryPoints;
      return text.str();
    }
  }
  return {};
}

}  // namespace

std::string FindInvariantViolation(const cGame& game) {
  if (!game.map) return "the game has no map";
  std::unordered_map<int, const cUnit*> taken;
  for (std::string found : {CheckHexes(game), CheckMapUnits(game, game.landUnits, "land", taken),
                            CheckMapUnits(game, game.airUnits, "air", taken), CheckFleets(game), CheckPoints(game)}) {
    if (!found.empty()) return found;
  }
  return {};
}

}  // namespace tr
