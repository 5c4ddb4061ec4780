// The cities diagram: a directed graph over the cities that are not resource
// sites, with edges from the scenario's "cities_diagram.csv". Kind-0 edges
// carry land routes for path searches and hop counts; kind-1 edges are only
// asked whether they lead to an allied city. The file is never written: a
// saved game reads it from its scenario folder again.
#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "world/front_statistics.h"

namespace tr {

class cCity;
class cMap;

struct sCitiesDiagramEdge {
  std::int32_t target = 0;  // node index
  std::int32_t kind = 0;
};

struct sCitiesDiagramNode {
  cCity* city = nullptr;  // not owned
  std::list<sCitiesDiagramEdge> edges{};
  std::uint8_t visited = 0;
  // The computer opponent's front statistics over the city's area, and the
  // number of own land and air units there.
  sFrontStatistics stats{};
  std::int32_t ownUnitCount = 0;

  // Clears the visited mark and the statistics.
  void ResetStatistics();
};

class cCitiesDiagram {
 public:
  cCitiesDiagram() = default;

  // One node per city that is not a resource site, in list order; each city
  // learns its node index (resource sites get -1).
  void Build(const std::list<std::unique_ptr<cCity>>& cities);
  // Reads the edges from "data\scenarios\<scenarioName>\cities_diagram.csv";
  // the cities are found on the map. Every failure is fatal.
  void Load(const cMap* map, std::u16string_view scenarioName);

  // The city route from one city to another over kind-0 edges through
  // cities held by the country or its allies. The list runs from the goal
  // back towards the start, without the start.
  bool FindPath(cCity* from, cCity* to, int countryId, std::list<cCity*>& path);
  bool HasAlliedNeighbourOfKind1(int node, int countryId) const;
  // Clears the visited marks and the computer opponent's fields.
  void ResetNodes();

  // Null for an index outside the diagram.
  sCitiesDiagramNode* GetNode(int index);
  const sCitiesDiagramNode* GetNode(int index) const;
  int NodeCount() const { return static_cast<int>(nodes_.size()); }
  const std::vector<std::pair<cCity*, int>>& CityNodes() const { return cityNodes_; }

 private:
  std::vector<sCitiesDiagramNode> nodes_;
  std::vector<std::pair<cCity*, int>> cityNodes_;
};

}  // namespace tr
