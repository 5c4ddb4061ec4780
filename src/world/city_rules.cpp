// City rules that read the map and the cities diagram; the siege rules,
// which look at the units around a city, are in city_siege.cpp.
#include "world/city_rules.h"

#include <deque>
#include <utility>

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "world/cities_diagram.h"
#include "world/gra.h"
#include "world/map.h"
#include "world/sea_graph_access.h"

namespace tr {

sHex* GetCityHex(const cCity& city) {
  if (!gGame || !gGame->map || !gGame->map->IsInside(city.x, city.y)) return nullptr;
  return gGame->map->GetHex(city.x, city.y);
}

int GetControllerId(const cCity& city) {
  const sHex* hex = GetCityHex(city);
  return hex ? hex->controller : 0;
}

int GetOwnerId(const cCity& city) {
  const sHex* hex = GetCityHex(city);
  return hex ? hex->owner : 0;
}

int GetOriginalOwnerId(const cCity& city) {
  const sHex* hex = GetCityHex(city);
  return hex ? hex->originalOwner : 0;
}

bool IsPort(const cCity& city) { return city.type == kCitySupplyPort || city.type == kCityPort; }

sPoint FindFreeHexForCountry(const cCity& city, const cCountry& country) {
  return FindFreeHexForCountry(city.x, city.y, country);
}

sPoint FindFreeHexForCountry(int x, int y, const cCountry& country) {
  if (!gGame || !gGame->map || !gGame->map->IsInside(x, y)) return {-1, -1};
  const auto free = [&](const sHex& hex) { return hex.IsLand() && hex.IsControlledByFriend(country.id) && !hex.unit; };
  if (free(*gGame->map->GetHex(x, y))) return {x, y};
  for (int d = 0; d < kDirectionCount; ++d) {
    const sHex* n = gGame->map->GetNeighbour(x, y, d);
    if (n && free(*n)) return {n->x, n->y};
  }
  return {-1, -1};
}

bool CanSupplyDeployment(const cCity& city, const cCountry& country) {
  if (city.type == kCityResources || GetControllerId(city) != country.id) return false;
  if (!country.IsAtWarWithAnyone()) return true;
  const std::size_t i = static_cast<std::size_t>(country.id - 1);
  const int supply = i < city.supplyInfo.size() ? city.supplyInfo[i] : 0;
  if (supply < gGame->constants.FullSupplyLevel() / 2) return false;
  const bool convoyMatters = country.humanControlled || country.HasPbemPlayer();
  return !(convoyMatters && i < city.convoyInfo.size() && city.convoyInfo[i]);
}

bool HasNoFreeLandNeighbour(const cCity& city) {
  if (!GetCityHex(city)) return true;
  for (int d = 0; d < kDirectionCount; ++d) {
    const sHex* n = gGame->map->GetNeighbour(city.x, city.y, d);
    if (n && n->IsLand() && !n->unit) return false;
  }
  return true;
}

int GetSeaNodeId(const cCity& city) {
  const cSeaGraphAccess* graph = SeaGraphAccess();
  const int node = graph ? graph->FindNodeIdByHex(city.x, city.y) : -1;
  if (node < 0) {
    LogFormat(u"ERROR! Cannot find sea node for city %s (%i,%i). City type=%i", city.name, city.x, city.y,
              city.type);
    FatalExit(1);
  }
  return node;
}

void ComputeHopDistances(cCity& city, cCitiesDiagram& diagram) {
  city.hopCounts.assign(static_cast<std::size_t>(diagram.NodeCount()), -1);
  for (const auto& [other, node] : diagram.CityNodes()) other->visited = 0;
  const sCitiesDiagramNode* start = diagram.GetNode(city.diagramNode);
  if (!start) return;
  std::vector<std::pair<int, int>> queue{{city.diagramNode, 0}};  // node, depth
  start->city->visited = 1;
  for (std::size_t i = 0; i < queue.size(); ++i) {
    const auto [node, depth] = queue[i];
    for (const sCitiesDiagramEdge& edge : diagram.GetNode(node)->edges) {
      const sCitiesDiagramNode* target = diagram.GetNode(edge.target);
      if (edge.kind != 0 || !target || target->city->visited) continue;
      target->city->visited = 1;
      queue.emplace_back(edge.target, depth + 1);
    }
  }
  for (const auto& [node, depth] : queue) city.hopCounts[static_cast<std::size_t>(node)] = depth;
}

int GetHopsTo(const cCity& city, const cCity& other) {
  if (other.diagramNode < 0 || static_cast<std::size_t>(other.diagramNode) >= city.hopCounts.size()) return -1;
  return city.hopCounts[static_cast<std::size_t>(other.diagramNode)];
}

}  // namespace tr
