#include "turn/sea_graph_node.h"

#include <atomic>
#include <numeric>
#include <set>

#include "foundation/gui_layout.h"
#include "turn/fleet.h"
#include "units/jednostka_morska.h"
#include "world/commander.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr int kHintLayoutEntry = 15;

std::atomic<cSeaNodeArt*> gArt{nullptr};

int Sum(const std::array<std::int32_t, kShipTypeCount>& counters) {
  return std::accumulate(counters.begin(), counters.end(), 0);
}

void ShareBestCommanderOf(int nodeId, int countryId) {
  std::vector<cFleet*> present;
  for (const auto& fleet : gGame->fleets) {
    if (fleet->countryId == countryId && fleet->seaNodeId == nodeId) present.push_back(fleet.get());
  }
  // Strictly better only, so the first found wins a tie.
  const sCommander* best = nullptr;
  for (const cFleet* fleet : present) {
    for (const cJednostkaMorska* ship : fleet->ships) {
      const sCommander* own = ship->attachedCommander;
      if (own && (!best || own->skill > best->skill)) best = own;
    }
  }
  for (cFleet* fleet : present) {
    for (cJednostkaMorska* ship : fleet->ships) {
      if (!ship->attachedCommander) ship->commanderId = best ? best->id : -1;
    }
  }
}

}  // namespace

sHintSize sWezelGrafuMorz::GetHintSize() {
  const sGuiLayoutEntry& entry = sGuiLayoutTable[kHintLayoutEntry];
  return {entry.width, entry.height};
}

void sWezelGrafuMorz::DrawHint(SpriteBatch& sprite, int hintX, int hintY) {
  if (cSeaNodeArt* art = SeaNodeArt()) art->DrawHint(*this, sprite, hintX, hintY);
}

void sWezelGrafuMorz::ShareBestCommander(int countryId) {
  if (!gGame) return;
  if (countryId >= 1) {
    ShareBestCommanderOf(id, countryId);
    return;
  }
  std::set<int> owners;
  for (const auto& fleet : gGame->fleets) {
    if (fleet->seaNodeId == id) owners.insert(fleet->countryId);
  }
  for (int owner : owners) ShareBestCommanderOf(id, owner);
}

void sWezelGrafuMorz::CollectFleets(std::list<cFleet*>& out) const {
  out.clear();
  if (!gGame) return;
  for (const auto& fleet : gGame->fleets) {
    if (fleet->seaNodeId == id) out.push_back(fleet.get());
  }
}

int sWezelGrafuMorz::CountOwnShips() const { return Sum(ownShips); }

int sWezelGrafuMorz::CountSpottedEnemyShips() const { return Sum(spottedEnemyShips); }

void sWezelGrafuMorz::DrawMarkers(float screenX, float screenY, int hexX, int hexY, bool suppressLabel) const {
  cSeaNodeArt* art = SeaNodeArt();
  if (!art) return;
  if (playerMarkerShip && hexX == playerMarkerX && hexY == playerMarkerY) {
    art->DrawMarkerShip(*playerMarkerShip, screenX, screenY);
  }
  if (enemyMarkerShip && hexX == enemyMarkerX && hexY == enemyMarkerY) {
    art->DrawMarkerShip(*enemyMarkerShip, screenX, screenY);
  }
  if (type == kSeaNodeOpenSea && !suppressLabel && hexX == x && hexY == y) art->DrawZoneName(*this, screenX, screenY);
}

cSeaNodeArt* SeaNodeArt() { return gArt.load(); }

cSeaNodeArt* SetSeaNodeArt(cSeaNodeArt* art) { return gArt.exchange(art); }

}  // namespace tr
