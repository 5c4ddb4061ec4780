// Naval visibility: which ships of a sea node the viewing country sees. Own
// and allied ships are always seen; enemy ships are spotted by a roll whose
// chance grows with the friendly ships, the enemy ships and the carriers in
// the node. The node keeps the counters by type and one marker ship per side
// for the map. Also the carrier that defends a node against air attacks.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/game_lock.h"
#include "foundation/random.h"
#include "foundation/settings.h"
#include "turn/fleet.h"
#include "turn/sea_graph.h"
#include "units/air_support.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"

namespace tr {
namespace {

inline constexpr int kBaseChanceLine = 165;
inline constexpr int kFriendlyLine = 166;
inline constexpr int kEnemyLine = 167;

std::atomic<bool> gPortSecrecy{true};

enum eRelation { kOwn = 0, kAllied = 1, kEnemy = 2, kIgnored = -1 };

struct sNodeShips {
  std::vector<cJednostkaMorska*> friendly;
  std::vector<cJednostkaMorska*> enemy;
};

int ViewingCountry() { return gGame ? gGame->seaGraph.viewingCountry : 0; }

eRelation RelationToViewer(int owner, const cCountry* viewer, int viewingId) {
  if (owner == viewingId) return kOwn;
  if (!viewer || owner < 1) return kIgnored;
  if (viewer->IsAlly(owner)) return kAllied;
  if (viewer->IsAtWarWith(owner)) return kEnemy;
  return kIgnored;
}

// The counter slot of the ship's type; -1 (logged) for a type that is no
// ship: that ship is left out, the others still count.
int TypeSlot(const cJednostkaMorska& ship, int nodeId) {
  const int slot = ship.type - kAircraftCarrier;
  if (slot >= 0 && slot < kShipTypeCount) return slot;
  LogFormat(u"ERROR: Unknown naval unit type (%i) while calculating ships for node id=%i", ship.type, nodeId);
  return -1;
}

// The ships of the fleets here by their relation to the viewer, fleets in
// list order; only known ship types.
sNodeShips CollectShips(const sWezelGrafuMorz& node) {
  sNodeShips out;
  if (!gGame) return out;
  const int viewingId = ViewingCountry();
  const cCountry* viewer = gGame->GetCountry(viewingId);
  const bool secret = node.IsPort() && PortSecrecyOn();
  for (const auto& fleet : gGame->fleets) {
    if (fleet->seaNodeId != node.id) continue;
    const eRelation relation = RelationToViewer(fleet->countryId, viewer, viewingId);
    if (relation == kIgnored) continue;
    if (secret && relation != kOwn) continue;
    for (cJednostkaMorska* ship : fleet->ships) {
      if (!ship || TypeSlot(*ship, node.id) < 0) continue;
      (relation == kEnemy ? out.enemy : out.friendly).push_back(ship);
    }
  }
  return out;
}

cJednostkaMorska* PickSpotted(std::vector<cJednostkaMorska*> ships) {
  std::erase_if(ships, [](const cJednostkaMorska* ship) { return !ship->spotted; });
  if (ships.empty()) return nullptr;
  const int index = RandomRange(0, static_cast<int>(ships.size()) - 1);
  return ships[static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(ships.size()) - 1))];
}

void PickMarkers(sWezelGrafuMorz& node, const sNodeShips& ships, bool player, bool enemy) {
  if (enemy) {
    // A port never shows an enemy marker, so none is drawn there either.
    node.enemyMarkerShip = node.IsPort() ? nullptr : PickSpotted(ships.enemy);
  }
  if (player) node.playerMarkerShip = PickSpotted(ships.friendly);
}

int Sum(const std::array<std::int32_t, kShipTypeCount>& counters) {
  std::int64_t sum = 0;
  for (const std::int32_t value : counters) sum += value;
  return static_cast<int>(std::clamp<std::int64_t>(sum, INT32_MIN, INT32_MAX));
}

// Whole steps above the threshold times the bonus; a step below 1 counts as 1
// so a bad constant never divides by zero.
std::int64_t StepBonus(int count, int threshold, int step, int bonus) {
  if (count <= threshold) return 0;
  const std::int64_t steps = (static_cast<std::int64_t>(count) - threshold) / std::max(step, 1);
  return steps * bonus;
}

int SpottingChance(int friendly, int enemy, int carriers) {
  const sScenarioConstants& k = gGame->constants;
  std::int64_t chance = k.Int(kBaseChanceLine, 1);
  chance += StepBonus(friendly, k.Int(kFriendlyLine, 1), k.Int(kFriendlyLine, 2), k.Int(kFriendlyLine, 3));
  chance += StepBonus(enemy, k.Int(kEnemyLine, 1), k.Int(kEnemyLine, 2), k.Int(kEnemyLine, 3));
  chance += static_cast<std::int64_t>(carriers) * k.Int(kFriendlyLine, 4);
  if (gFogOfWar == 0 || chance > 100) return 100;
  return static_cast<int>(std::max<std::int64_t>(chance, 0));
}

}  // namespace

bool PortSecrecyOn() { return gPortSecrecy.load(); }

PortSecrecyOffGuard::PortSecrecyOffGuard() { gPortSecrecy.store(false); }

PortSecrecyOffGuard::~PortSecrecyOffGuard() { gPortSecrecy.store(true); }

void sWezelGrafuMorz::CalculateNavalVisibility(bool incremental) {
  if (!gGame) return;
  LogFormat(u"Calculating naval units visibility for zone %s (ID=%i)", name, id);
  // The screen draws the markers and counters while the worker computes them.
  GameLockGuard lock;
  playerMarkerShip = nullptr;
  enemyMarkerShip = nullptr;
  ownShips.fill(0);
  alliedShips.fill(0);
  if (!incremental) spottedEnemyShips.fill(0);

  const int viewingId = ViewingCountry();
  const sNodeShips ships = CollectShips(*this);
  for (cJednostkaMorska* ship : ships.friendly) {
    ship->spotted = 1;
    const int slot = ship->type - kAircraftCarrier;
    ++(ship->owner == viewingId ? ownShips : alliedShips)[static_cast<std::size_t>(slot)];
  }
  if (!incremental) {
    for (cJednostkaMorska* ship : ships.enemy) {
      ship->spotted = 1;
      ++spottedEnemyShips[static_cast<std::size_t>(ship->type - kAircraftCarrier)];
    }
  }

  const int chance = SpottingChance(Sum(ownShips) + Sum(alliedShips), Sum(spottedEnemyShips),
                                    ownShips[0] + alliedShips[0]);
  LogFormat(u"Chance of spotting enemy unit = %i", chance);

  for (cJednostkaMorska* ship : ships.enemy) {
    auto& counter = spottedEnemyShips[static_cast<std::size_t>(ship->type - kAircraftCarrier)];
    if (!incremental) {
      if (RandomRange(0, 100) > chance) {
        ship->spotted = 0;
        --counter;
      }
    } else if (!ship->spotted && RandomRange(0, 100) <= chance) {
      ship->spotted = 1;
      ++counter;
    }
  }
  PickMarkers(*this, ships, true, true);
}

void sWezelGrafuMorz::CalculateNavalVisibilityFor(int countryId, bool incremental) {
  if (!gGame) return;
  gGame->seaGraph.viewingCountry = countryId;
  CalculateNavalVisibility(incremental);
}

void sWezelGrafuMorz::RecalculateSpotting(bool playerMarker, bool enemyMarker) {
  if (!gGame) return;
  GameLockGuard lock;
  PickMarkers(*this, CollectShips(*this), playerMarker, enemyMarker);
}

void sWezelGrafuMorz::RemoveFleetFromCounts(const cFleet& fleet) {
  if (!gGame) return;
  GameLockGuard lock;
  if (fleet.countryId == ViewingCountry()) {
    for (const cJednostkaMorska* ship : fleet.ships) {
      if (!ship) continue;
      const int slot = TypeSlot(*ship, id);
      // Counters of a viewer computed before the fleet came never go below 0.
      if (slot >= 0 && ownShips[static_cast<std::size_t>(slot)] > 0) --ownShips[static_cast<std::size_t>(slot)];
    }
  }
  RecalculateSpotting(true, false);
}

cJednostkaMorska* sWezelGrafuMorz::SearchInterceptor(int attackingCountry) const {
  LogFormat(u"Searching for interceptor while attacking sea node: %s)", name);
  cJednostkaMorska* best = nullptr;
  if (gGame) {
    const int minimum = gGame->constants.CarrierHitPointLimit();
    for (const auto& ship : gGame->navalUnits) {
      if (ship->type != kAircraftCarrier || ship->hitPoints < minimum) continue;
      if (!ship->fleet || ship->fleet->seaNodeId != id || !AtWar(ship->owner, attackingCountry)) continue;
      LogFormat(u"Possible interceptor: %s, power: %i", ship->name, ship->hitPoints);
      if (!best || ship->hitPoints > best->hitPoints) {
        LogLine(u"Interceptor above is best so far!");
        best = ship.get();
      }
    }
  }
  LogLine(best ? u"Searching for interceptor finished" : u"Searching for interceptor finished, no interceptor found");
  return best;
}

void cSeaGraph::CalculateNavalVisibilityAll(int countryId, bool incremental) {
  viewingCountry = countryId;
  for (sWezelGrafuMorz& node : nodes) node.CalculateNavalVisibility(incremental);
}

}  // namespace tr
