// The sea graph held by the game: the sea nodes of "sea_nodes.csv" (node
// number = position + 1) with their edges from "sea_edges.csv", and the
// searches over it that respect who holds the straits and the ports.
#pragma once

#include <cstdint>
#include <list>
#include <string_view>
#include <vector>

#include "scenario/saved_fields.h"
#include "turn/sea_graph_node.h"
#include "world/sea_graph_access.h"

namespace tr {

extern const sSavedTable kSeaNodesFields;

class cGame;

// Once loaded, the graph serves the map and city rules as their sea graph.
class cSeaGraph : public cSeaGraphAccess {
 public:
  cSeaGraph() = default;
  cSeaGraph(const cSeaGraph&) = default;
  cSeaGraph& operator=(const cSeaGraph&) = default;
  ~cSeaGraph() override;

  // Reads "sea_nodes.csv" of the folder template into the nodes, marks their
  // hexes on the game's map and installs the graph for the map rules. A node
  // number out of order, or a port city left without a node, is fatal (exit
  // code 1).
  void LoadNodes(cGame& game, std::u16string_view folderTemplate);
  // Reads "sea_edges.csv" of the scenario; run after LoadNodes. Edges naming
  // a node that does not exist are logged and skipped.
  void LoadEdges(std::u16string_view scenarioName);
  void Clear();

  // The node at a 0-based index (number - 1); an index outside the nodes
  // throws std::out_of_range.
  sWezelGrafuMorz& GetNode(int index);
  const sWezelGrafuMorz& GetNode(int index) const;
  sWezelGrafuMorz& NodeAt(int index) { return GetNode(index); }
  int NodeCount() const override { return static_cast<int>(nodes.size()); }
  bool IsNodeId(int nodeId) const { return nodeId >= 1 && nodeId <= NodeCount(); }

  // The first node whose main hex is (x, y), or -1.
  int FindNodeIdByHex(int x, int y) const override;
  bool IsPortNode(int nodeId) const override { return IsNodeId(nodeId) && GetNode(nodeId - 1).IsPort(); }
  // The first edge of the node (file order) that leads to open sea, or -1.
  int FindFirstSeaNeighbour(int nodeId) const;
  // Whether some edge from -> to needs no passage hex or has one held by the
  // country or an ally.
  bool HasPassableEdge(int fromId, int toId, int countryId) const;
  // A fleet in a port that fell to the enemy moves to the first open-sea
  // zone beside it; false (nothing changed) when there is none.
  bool LeavePortBecameEnemy(cFleet& fleet) override;

  // Breadth-first search over the running game's graph for the country. With
  // friendlyPortsOnly only ports held by the country or an ally are entered,
  // else every port but those of its enemies. The path runs from the start to
  // the destination, both included. Among equally short paths each node takes
  // the last node of the previous depth, in search order, that reaches it.
  // Makes the country the viewer and computes the naval visibility of every
  // node in order (turn/naval_visibility.cpp).
  void CalculateNavalVisibilityAll(int countryId, bool incremental);

  bool FindPath(int fromId, int toId, int countryId, bool friendlyPortsOnly, std::list<std::int32_t>& path);

  std::vector<sWezelGrafuMorz> nodes;
  std::int32_t viewingCountry = 0;  // whose counters and markers the nodes hold
};

// Writes "<folder>\sea_nodes.csv"; false (logged) when it cannot be written.
bool WriteSeaNodes(const cSeaGraph& graph, std::u16string_view folder);

}  // namespace tr
