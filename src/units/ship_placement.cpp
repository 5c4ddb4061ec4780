// Where a ship of the reserve may be placed and how it joins a fleet: the own
// ports large enough for its type, and the fleet it sails with at a node. A
// ship is always in one place: the naval reserve, or the naval-unit list and
// exactly one fleet.
#include <algorithm>
#include <memory>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "turn/fleet.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"

namespace tr {
namespace {

inline constexpr std::uint32_t kFlagPlacement = 64;
// Every highlight but the selected hex.
inline constexpr std::uint32_t kAllButSelected = ~std::uint32_t{1};

// Takes the ship's owning pointer out of the naval reserve into the naval-unit
// list; a ship already listed stays where it is. False when it is in neither.
bool ListAsNavalUnit(cGame& game, cJednostkaMorska& ship) {
  auto& reserve = game.navalReserve;
  const auto it = std::find_if(reserve.begin(), reserve.end(), [&](const auto& p) { return p.get() == &ship; });
  if (it != reserve.end()) {
    game.navalUnits.push_back(std::move(*it));
    reserve.erase(it);
    return true;
  }
  return std::any_of(game.navalUnits.begin(), game.navalUnits.end(),
                     [&](const auto& p) { return p.get() == &ship; });
}

// A ship already in a fleet leaves it first; a fleet it empties goes.
void LeaveFleet(cJednostkaMorska& ship) {
  cFleet* old = ship.fleet;
  if (!old) return;
  old->ships.remove(&ship);
  ship.fleet = nullptr;
  ship.fleetId = -1;
  if (old->ships.empty()) DeleteFleet(old);
}

cFleet* FindJoinableFleet(const cGame& game, int owner, int nodeId, bool onlyUnmoved) {
  for (const auto& fleet : game.fleets) {
    if (fleet->countryId != owner || fleet->seaNodeId != nodeId) continue;
    if (onlyUnmoved && fleet->hasMoved) continue;
    return fleet.get();
  }
  return nullptr;
}

bool JoinFleetAt(cJednostkaMorska& ship, int nodeId, bool onlyUnmoved) {
  cGame& game = *gGame;
  // The screen reads the lists while events and the computer place ships.
  GameLockGuard lock(__FILE__, __LINE__);
  if (!ListAsNavalUnit(game, ship)) {
    LogFormat(u"ERROR: ship %s (ID=%i) is neither in the naval reserve nor among the naval units; not assigned",
              ship.name, ship.id);
    return false;
  }
  cFleet* fleet = FindJoinableFleet(game, ship.owner, nodeId, onlyUnmoved);
  if (fleet == ship.fleet && fleet) {
    ship.inReserve = 0;
    return true;
  }
  LeaveFleet(ship);
  if (!fleet) {
    auto made = std::make_unique<cFleet>();
    made->countryId = ship.owner;
    made->formation = kFleetRegular;
    made->id = NewFleetId();
    made->seaNodeId = nodeId;
    made->name = NewFleetName(made->id);
    fleet = made.get();
    game.fleets.push_back(std::move(made));
  }
  fleet->ships.push_back(&ship);
  ship.fleet = fleet;
  ship.fleetId = fleet->id;
  ship.inReserve = 0;
  return true;
}

}  // namespace

int cJednostkaMorska::MarkPlacementHexes(int mark) {
  if (!gGame || !gGame->map) return 0;
  cMap& map = *gGame->map;
  if (mark) map.ClearHexFlags(kAllButSelected, false);
  const int required = GetRequiredPortSize();
  int count = 0;
  for (const sWezelGrafuMorz& node : gGame->seaGraph.nodes) {
    if (node.type != kSeaNodePort || node.portSize < required) continue;
    if (!map.IsInside(node.x, node.y) || map.GetHex(node.x, node.y)->controller != owner) continue;
    ++count;
    if (mark && map.IsInside(node.playerMarkerX, node.playerMarkerY)) {
      map.GetHex(node.playerMarkerX, node.playerMarkerY)->AddFlags(kFlagPlacement, -1);
    }
  }
  return count;
}

void cJednostkaMorska::AssignToFleetAtNode(int seaNodeId) {
  if (!gGame) return;
  if (!gGame->seaGraph.IsNodeId(seaNodeId)) {
    LogFormat(u"WARNING: Could not find sea node with ID = %i while assigning ship %s (ID = %i)", seaNodeId, name,
              id);
    return;
  }
  JoinFleetAt(*this, seaNodeId, false);
}

// A fleet at a node that does not exist could never be drawn or moved, so
// the node is checked here too.
void cJednostkaMorska::FormNewFleet(int seaNodeId) {
  if (!gGame) return;
  if (!gGame->seaGraph.IsNodeId(seaNodeId)) {
    LogFormat(u"WARNING: Could not find sea node with ID = %i while assigning ship %s (ID = %i)", seaNodeId, name,
              id);
    return;
  }
  if (JoinFleetAt(*this, seaNodeId, true)) gGame->seaGraph.CalculateNavalVisibilityAll(owner, false);
}

}  // namespace tr
