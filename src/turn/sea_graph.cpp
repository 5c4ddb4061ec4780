#include "turn/sea_graph.h"

#include <algorithm>
#include <stdexcept>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "turn/fleet.h"
#include "world/gra.h"

namespace tr {
namespace {

// The hex of a coordinate on the running game's map, or null off the map.
const sHex* HexAt(int x, int y) {
  if (!gGame || !gGame->map || !gGame->map->IsInside(x, y)) return nullptr;
  return gGame->map->GetHex(x, y);
}

// An edge without a passage hex is always open; a passage hex off the map
// has no controller and so blocks, like an uncontrolled one.
bool IsPassageOpen(const sSeaEdge& edge, int countryId) {
  if (edge.passageX == -1) return true;
  const sHex* hex = HexAt(edge.passageX, edge.passageY);
  return hex && hex->controller != 0 && hex->IsControlledByFriend(countryId);
}

bool MayEnter(const sWezelGrafuMorz& node, int countryId, bool friendlyPortsOnly) {
  if (node.type == kSeaNodeOpenSea) return true;
  if (node.type != kSeaNodePort) return false;
  const sHex* hex = HexAt(node.x, node.y);
  const int controller = hex ? hex->controller : 0;
  if (friendlyPortsOnly) return controller != 0 && hex->IsControlledByFriend(countryId);
  return controller == 0 || !gGame->relations.IsAtWar(countryId, controller);
}

}  // namespace

cSeaGraph::~cSeaGraph() {
  if (SeaGraphAccess() == this) SetSeaGraphAccess(nullptr);
}

void cSeaGraph::Clear() {
  nodes.clear();
  viewingCountry = 0;
}

sWezelGrafuMorz& cSeaGraph::GetNode(int index) {
  if (index < 0 || index >= NodeCount()) throw std::out_of_range("invalid vector<T> subscript");
  return nodes[static_cast<std::size_t>(index)];
}

const sWezelGrafuMorz& cSeaGraph::GetNode(int index) const { return const_cast<cSeaGraph*>(this)->GetNode(index); }

int cSeaGraph::FindNodeIdByHex(int x, int y) const {
  for (const sWezelGrafuMorz& node : nodes) {
    if (node.x == x && node.y == y) return node.id;
  }
  return -1;
}

int cSeaGraph::FindFirstSeaNeighbour(int nodeId) const {
  if (!IsNodeId(nodeId)) return -1;
  for (const sSeaEdge& edge : GetNode(nodeId - 1).edges) {
    if (GetNode(edge.toNode - 1).type == kSeaNodeOpenSea) return edge.toNode;
  }
  return -1;
}

bool cSeaGraph::HasPassableEdge(int fromId, int toId, int countryId) const {
  if (!IsNodeId(fromId)) return false;
  return std::any_of(GetNode(fromId - 1).edges.begin(), GetNode(fromId - 1).edges.end(),
                     [&](const sSeaEdge& edge) { return edge.toNode == toId && IsPassageOpen(edge, countryId); });
}

bool cSeaGraph::LeavePortBecameEnemy(cFleet& fleet) {
  const int zone = FindFirstSeaNeighbour(fleet.seaNodeId);
  if (zone == -1) return false;
  fleet.seaNodeId = zone;
  LogFormat(u"%s left port which became enemy controlled and moved to %s", fleet.name, GetNode(zone - 1).name);
  return true;
}

// The search goes depth by depth. A node reached again at the same depth
// takes the new predecessor, so of the nodes of the previous depth the one
// that comes last in search order wins; that order is the order in which the
// nodes were last reached. Walking each depth once, in that order, keeps the
// choice without queueing a node once per path that leads to it.
bool cSeaGraph::FindPath(int fromId, int toId, int countryId, bool friendlyPortsOnly,
                         std::list<std::int32_t>& path) {
  path.clear();
  for (sWezelGrafuMorz& node : nodes) {
    node.searchDistance = -1;
    node.searchPredecessor = -1;
  }
  if (!IsNodeId(fromId) || !IsNodeId(toId)) {
    LogFormat(u"ERROR: Sea path from node %i to node %i asked for, there's no such sea node!", fromId, toId);
    return false;
  }
  if (!gGame || !gGame->map || !gGame->GetCountry(countryId)) {
    LogFormat(u"ERROR: Sea path asked for country ID=%i, there's no such country!", countryId);
    return false;
  }
  sWezelGrafuMorz& start = nodes[static_cast<std::size_t>(fromId - 1)];
  start.searchDistance = 0;
  start.searchPredecessor = 0;

  const std::size_t count = nodes.size();
  std::vector<std::int8_t> enterable(count + 1, -1);  // by node number; -1 not yet asked
  std::vector<std::uint32_t> lastReached(count + 1, 0);
  std::uint32_t stamp = 0;
  std::vector<std::int32_t> depth{fromId};
  std::vector<std::int32_t> next;
  sWezelGrafuMorz& destination = nodes[static_cast<std::size_t>(toId - 1)];
  while (!depth.empty() && destination.searchDistance == -1) {
    next.clear();
    for (std::int32_t id : depth) {
      const sWezelGrafuMorz& from = nodes[static_cast<std::size_t>(id - 1)];
      for (const sSeaEdge& edge : from.edges) {
        sWezelGrafuMorz& to = nodes[static_cast<std::size_t>(edge.toNode - 1)];
        if (!IsPassageOpen(edge, countryId)) continue;
        if (to.searchDistance != -1 && to.searchDistance <= from.searchDistance) continue;
        std::int8_t& may = enterable[static_cast<std::size_t>(edge.toNode)];
        if (may < 0) may = MayEnter(to, countryId, friendlyPortsOnly) ? 1 : 0;
        if (!may) continue;
        if (to.searchDistance == -1) next.push_back(edge.toNode);
        to.searchDistance = from.searchDistance + 1;
        to.searchPredecessor = id;
        lastReached[static_cast<std::size_t>(edge.toNode)] = ++stamp;
      }
    }
    std::sort(next.begin(), next.end(), [&](std::int32_t a, std::int32_t b) {
      return lastReached[static_cast<std::size_t>(a)] < lastReached[static_cast<std::size_t>(b)];
    });
    depth.swap(next);
  }
  if (destination.searchDistance == -1) return false;
  for (std::int32_t id = toId; id != 0; id = nodes[static_cast<std::size_t>(id - 1)].searchPredecessor) {
    path.push_front(id);
  }
  return true;
}

}  // namespace tr
