// How far a fleet sails in a turn and where it goes: the reach search over
// the sea graph, the move along a path cut to that reach, and the route
// highlight of the fleets manager.
#include <algorithm>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "turn/fleet.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"

namespace tr {
namespace {

inline constexpr std::uint32_t kFlagRoute = 0x8000;
inline constexpr std::uint32_t kFlagsRouteAndZone = 0xC000;

const sHex* HexAt(int x, int y) {
  if (!gGame->map || !gGame->map->IsInside(x, y)) return nullptr;
  return gGame->map->GetHex(x, y);
}

// Held by the country or an ally; an uncontrolled hex is neither.
bool IsFriendlyHex(int x, int y, int countryId) {
  const sHex* hex = HexAt(x, y);
  return hex && hex->controller != 0 && countryId >= 1 && hex->IsControlledByFriend(countryId);
}

// The largest port size any ship of the fleet needs; 0 for an empty fleet.
int RequiredPortSize(const cFleet& fleet) {
  int required = 0;
  for (const cJednostkaMorska* ship : fleet.ships) required = std::max(required, ship->GetRequiredPortSize());
  return required;
}

bool IsUsable(const sWezelGrafuMorz& node, int required, int countryId) {
  if (node.type == kSeaNodeOpenSea) return true;
  if (node.type != kSeaNodePort) return false;
  return node.portSize >= required && IsFriendlyHex(node.x, node.y, countryId);
}

bool IsEdgeOpen(const sSeaEdge& edge, int countryId) {
  return edge.passageX == -1 || IsFriendlyHex(edge.passageX, edge.passageY, countryId);
}

}  // namespace

// The nodes' search distance serves as the step counter; 0 means not reached
// (the start has 0 too and is never taken again).
int cFleet::FindReachableNodes() {
  reachableNodes.clear();
  if (!gGame) return 0;
  cSeaGraph& graph = gGame->seaGraph;
  if (!graph.IsNodeId(seaNodeId)) {
    LogFormat(u"ERROR: fleet %s (ID=%i) stands on sea node %i, which does not exist", name, id, seaNodeId);
    return 0;
  }
  const int required = RequiredPortSize(*this);
  const int reach = gGame->constants.FleetValue();
  for (sWezelGrafuMorz& node : graph.nodes) node.searchDistance = 0;
  const bool startsAtSea = graph.GetNode(seaNodeId - 1).type == kSeaNodeOpenSea;
  reachableNodes.push_back(seaNodeId);
  for (const std::int32_t fromId : reachableNodes) {
    const sWezelGrafuMorz& from = graph.nodes[static_cast<std::size_t>(fromId - 1)];
    if (from.searchDistance >= reach) continue;
    for (const sSeaEdge& edge : from.edges) {
      if (!graph.IsNodeId(edge.toNode) || edge.toNode == seaNodeId) continue;
      sWezelGrafuMorz& to = graph.nodes[static_cast<std::size_t>(edge.toNode - 1)];
      if (to.searchDistance != 0 || !IsUsable(to, required, countryId)) continue;
      if (!IsEdgeOpen(edge, countryId)) continue;
      // Out of a port a fleet must first put to sea: another port only from step 1.
      if (!startsAtSea && to.type == kSeaNodePort && from.searchDistance != 1) continue;
      to.searchDistance = from.searchDistance + 1;
      reachableNodes.push_back(edge.toNode);
    }
  }
  reachableNodes.pop_front();
  return static_cast<int>(reachableNodes.size());
}

bool cFleet::IsNodeWithinReach(int nodeId) {
  FindReachableNodes();
  return std::find(reachableNodes.begin(), reachableNodes.end(), nodeId) != reachableNodes.end();
}

void cFleet::MoveTo(int nodeId) {
  if (!gGame) return;
  if (hasMoved) {
    LogFormat(u"WARNING: Fleet %s wanted to go: node %i -> %i, but it already moved this turn.", name, seaNodeId,
              nodeId);
    return;
  }
  if (nodeId == seaNodeId) {
    hasMoved = 1;
    return;
  }
  cSeaGraph& graph = gGame->seaGraph;
  std::list<std::int32_t> path;
  if (!graph.FindPath(seaNodeId, nodeId, countryId, true, path)) {
    LogFormat(u"WARNING: fleet %s (at node %i) wants to go to node %i but there's no path", name, seaNodeId, nodeId);
    return;
  }
  const int from = seaNodeId;
  int to = -1;
  if (IsNodeWithinReach(nodeId)) {
    LogFormat(u"Fleet %s going: node %i -> %i, movement finished.", name, from, nodeId);
    to = nodeId;
  } else {
    // The farthest node of the path that the reach covers; the start never is.
    for (auto it = path.rbegin(); it != path.rend() && *it != from; ++it) {
      if (std::find(reachableNodes.begin(), reachableNodes.end(), *it) == reachableNodes.end()) continue;
      LogFormat(u"Fleet %s going: node %i -> %i, final destination = %i.", name, from, *it, nodeId);
      to = *it;
      break;
    }
    if (to == -1) {
      LogFormat(u"WARNING: Fleet %s wanted to go: node %i -> %i, but theres no path!", name, from, nodeId);
      return;
    }
  }
  GameLockGuard lock(__FILE__, __LINE__);
  seaNodeId = to;
  hasMoved = 1;
  graph.GetNode(from - 1).RemoveFleetFromCounts(*this);
  graph.GetNode(to - 1).CalculateNavalVisibility(true);
}

void MarkFleetRouteHexes(const cFleet& fleet) {
  if (!gGame || !gGame->map) return;
  cMap& map = *gGame->map;
  map.ClearHexFlags(kFlagsRouteAndZone, false);
  const cSeaGraph& graph = gGame->seaGraph;
  for (const std::int32_t nodeId : fleet.reachableNodes) {
    if (!graph.IsNodeId(nodeId)) continue;
    const sWezelGrafuMorz& node = graph.GetNode(nodeId - 1);
    const bool sea = node.type == kSeaNodeOpenSea;
    const int x = sea ? node.x : node.playerMarkerX;
    const int y = sea ? node.y : node.playerMarkerY;
    if (map.IsInside(x, y)) map.GetHex(x, y)->AddFlags(kFlagRoute, -1);
  }
}

}  // namespace tr
