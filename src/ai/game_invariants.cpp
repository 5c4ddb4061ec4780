#include "ai/game_invariants.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

#include "foundation/text.h"
#include "world/hex_marks.h"
#include "world/gra.h"

namespace tr {
namespace {

std::string Describe(const cUnit& unit) {
  return "unit " + std::to_string(unit.id) + " \"" + Utf16ToUtf8(unit.name) + "\"";
}

std::string Place(int x, int y) { return '(' + std::to_string(x) + ',' + std::to_string(y) + ')'; }

template <typename List>
std::string CheckMapUnits(const cGame& game, const List& units, const std::string& kind) {
  const cMap& map = *game.map;
  cUnitPrefetcher<List> prefetcher(units);
  std::size_t position = 0;
  for (const auto& unit : units) {
    prefetcher.Visit(position++, unit);
    if (unit->x == -1 && unit->y == -1) return kind + " " + Describe(*unit) + " is listed on the map at (-1,-1)";
    if (!map.IsInside(unit->x, unit->y)) {
      return kind + " " + Describe(*unit) + " stands off the map at " + Place(unit->x, unit->y);
    }
    const sHex& hex = *map.GetHex(unit->x, unit->y);
    // A land unit at sea is carried by a ship and stands on no hex.
    if (unit->category == kCategoryLand && !hex.IsLand()) {
      return kind + " " + Describe(*unit) + " stands on the sea hex " + Place(unit->x, unit->y) + " and is not aboard";
    }
    // A hex holds one unit, so a second unit at the same place is the one it does not hold.
    const cUnit* held = hex.unit;
    if (held == unit.get()) continue;
    if (held && held->x == unit->x && held->y == unit->y) {
      return "two units on hex " + Place(unit->x, unit->y) + ": " + Describe(*held) + " and " + Describe(*unit);
    }
    return kind + " " + Describe(*unit) + " stands at " + Place(unit->x, unit->y) + " but the hex does not hold it";
  }
  return {};
}

std::string CheckHexes(const cGame& game) {
  for (const sHex& hex : game.map->Hexes()) {
    if (hex.unit && (hex.unit->x != hex.x || hex.unit->y != hex.y)) {
      return "hex " + Place(hex.x, hex.y) + " holds " + Describe(*hex.unit) + " whose coordinates are " +
             Place(hex.unit->x, hex.unit->y);
    }
  }
  return {};
}

// Sorted pointer lists instead of hash sets: the checks run after every
// country's turn, and a node per unit was most of their cost.
template <typename T>
bool Holds(const std::vector<const T*>& sorted, const T* item) {
  return std::binary_search(sorted.begin(), sorted.end(), item);
}

std::string CheckFleets(const cGame& game) {
  std::vector<const cFleet*> listed;
  // Each place a fleet lists a ship, by ship: exactly one for a ship at sea.
  struct sPlace {
    const cJednostkaMorska* ship;
    int fleetId;
    bool taken;  // matched with a naval unit
  };
  std::vector<sPlace> places;
  listed.reserve(game.fleets.size());
  places.reserve(game.navalUnits.size());
  for (const auto& fleet : game.fleets) {
    listed.push_back(fleet.get());
    const std::string name = "fleet " + std::to_string(fleet->id);
    if (fleet->ships.empty()) return name + " \"" + Utf16ToUtf8(fleet->name) + "\" has no ship";
    for (const cJednostkaMorska* ship : fleet->ships) {
      if (ship->fleet != fleet.get()) return "ship " + Describe(*ship) + " of " + name + " points to another fleet";
      places.push_back({ship, fleet->id, false});
    }
  }
  std::sort(listed.begin(), listed.end());
  std::stable_sort(places.begin(), places.end(), [](const sPlace& a, const sPlace& b) { return a.ship < b.ship; });
  const auto placesOf = [&](const cJednostkaMorska* ship) {
    auto [first, last] = std::equal_range(places.begin(), places.end(), sPlace{ship, 0, false},
                                          [](const sPlace& a, const sPlace& b) { return a.ship < b.ship; });
    // A ship already matched counts as listed nowhere.
    if (first != last && first->taken) first = last;
    return std::make_pair(first, last);
  };
  for (const auto& ship : game.navalUnits) {
    // Every ship a fleet lists points back to that fleet, so a ship listed
    // anywhere is listed in its own fleet: no search of the fleet is needed.
    const auto [first, last] = placesOf(ship.get());
    if (!Holds(listed, static_cast<const cFleet*>(ship->fleet)) || first == last) {
      return "ship " + Describe(*ship) + " is not in the fleet it points to";
    }
    if (last - first != 1) return "ship " + Describe(*ship) + " is listed " + std::to_string(last - first) + " times in fleets";
    first->taken = true;
  }
  for (const auto& ship : game.navalReserve) {
    const auto [first, last] = placesOf(ship.get());
    if (ship->fleet || first != last) return "ship " + Describe(*ship) + " of the naval reserve is in a fleet";
  }
  // What is left was never listed as a naval unit: a ship the game does not hold.
  for (const sPlace& place : places) {
    if (!place.taken) {
      return "a ship in fleet " + std::to_string(place.fleetId) + " is not among the game's naval units";
    }
  }
  return {};
}

// A carried unit stands on no hex and is linked both ways with a listed
// transport of its list's type; a transport's cargo is in that list.
std::string CheckAboard(const cGame& game) {
  std::vector<const cJednostkaLadowa*> aboard;
  std::vector<const cJednostkaMorska*> ships;
  ships.reserve(game.navalUnits.size());
  for (const auto& ship : game.navalUnits) ships.push_back(ship.get());
  std::sort(ships.begin(), ships.end());
  const auto check = [&](const auto& list, int shipType) -> std::string {
    for (const auto& unit : list) {
      aboard.push_back(unit.get());
      const cJednostkaMorska* ship = unit->transporter;
      if (unit->x != -1 || unit->y != -1) return "carried " + Describe(*unit) + " stands at " + Place(unit->x, unit->y);
      if (!ship || ship->type != shipType || ship->carriedUnit != unit.get()) {
        return "carried " + Describe(*unit) + " is not carried by a ship of type " + std::to_string(shipType);
      }
      if (!Holds(ships, ship)) return "carried " + Describe(*unit) + " is aboard a ship the game does not hold";
    }
    return {};
  };
  std::string found = check(game.aboardUnitsA, kCargoShip);
  if (found.empty()) found = check(game.aboardUnitsB, kAmphibiousShip);
  if (!found.empty()) return found;
  std::sort(aboard.begin(), aboard.end());
  for (const auto& ship : game.navalUnits) {
    if (ship->carriedUnit && !Holds(aboard, static_cast<const cJednostkaLadowa*>(ship->carriedUnit))) {
      return "ship " + Describe(*ship) + " carries a land unit that is in no aboard list";
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
    // debt, and events may take more diplomatic, sea transport and invasion
    // points than a country holds; they must still be numbers.
    const sPoints points[] = {{"PPs", country->productionPoints, true},
                              {"DPs", double(country->diplomaticPoints), true},
                              {"SMPs", double(country->strategicMovementPoints), false},
                              {"STPs", double(country->seaTransportPoints), true},
                              {"AIPs", double(country->invasionPoints), true}};
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

// Whether each listed unit stands inside the map on a hex that holds it (land
// units on land), no unit is listed twice, and no other hex holds a unit: then
// CheckHexes and CheckMapUnits find nothing, since every unit a hex holds is a
// listed one standing on that very hex. So the hexes need not visit their
// units (a scattered read each): a count of the held ones suffices. Anything
// else is left to those checks, which say what is wrong.
template <typename List>
bool AllStandOnTheirHexes(const cMap& map, const List& units, cHexMarks& taken, std::size_t& standing) {
  cUnitPrefetcher<List> prefetcher(units);
  std::size_t position = 0;
  for (const auto& unit : units) {
    prefetcher.Visit(position++, unit);
    if (!map.IsInside(unit->x, unit->y)) return false;
    const sHex& hex = *map.GetHex(unit->x, unit->y);
    if (hex.unit != unit.get() || hex.x != unit->x || hex.y != unit->y) return false;
    if (unit->category == kCategoryLand && !hex.IsLand()) return false;
    if (!taken.Insert(static_cast<std::size_t>(unit->y) * map.GetWidth() + unit->x)) return false;
    ++standing;
  }
  return true;
}

bool MapUnitsAreSound(const cGame& game) {
  const cMap& map = *game.map;
  static thread_local cHexMarks taken;
  taken.Reset(map.GetWidth(), map.GetHeight());
  std::size_t standing = 0;
  if (!AllStandOnTheirHexes(map, game.landUnits, taken, standing)) return false;
  if (!AllStandOnTheirHexes(map, game.airUnits, taken, standing)) return false;
  std::size_t held = 0;
  for (const sHex& hex : map.Hexes()) held += hex.unit != nullptr;
  return held == standing;
}

}  // namespace

std::string FindInvariantViolation(const cGame& game) {
  if (!game.map) return "the game has no map";
  std::string found;
  if (!MapUnitsAreSound(game)) {
    found = CheckHexes(game);
    if (found.empty()) found = CheckMapUnits(game, game.landUnits, "land");
    if (found.empty()) found = CheckMapUnits(game, game.airUnits, "air");
  }
  if (found.empty()) found = CheckFleets(game);
  if (found.empty()) found = CheckAboard(game);
  if (found.empty()) found = CheckPoints(game);
  return found;
}

}  // namespace tr
