#include "units/shore_bombardment_ships.h"

#include <map>

#include "world/gra.h"

namespace tr {
namespace {

bool CanBombard(const cJednostkaMorska& ship) { return ship.IsBattleshipOrCruiser() && !ship.shoreBombardmentDone; }

}  // namespace

cFleet* FindShoreBombardmentShips(cGame& game, int countryId, int seaNodeId) {
  // Ordered by fleet number, so the first of equal counts is the lowest number.
  std::map<int, cFleet*> candidates;
  for (const auto& ship : game.navalUnits) {
    if (CanBombard(*ship) && ship->owner == countryId && ship->fleet && ship->fleet->seaNodeId == seaNodeId) {
      candidates.emplace(ship->fleet->id, ship->fleet);
    }
  }
  cFleet* chosen = nullptr;
  int bestCount = 0;
  for (const auto& [fleetId, fleet] : candidates) {
    int count = 0;
    for (const auto& ship : game.navalUnits) {
      if (CanBombard(*ship) && ship->fleet && ship->fleet->id == fleetId) ++count;
    }
    if (count > bestCount) {
      bestCount = count;
      chosen = fleet;
    }
  }
  if (!chosen) return nullptr;
  for (const auto& ship : game.navalUnits) {
    ship->selectedForBombardment = ship->fleet == chosen && CanBombard(*ship) ? 1 : 0;
  }
  return chosen;
}

}  // namespace tr
