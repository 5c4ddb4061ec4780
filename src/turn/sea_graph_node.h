// A node of the sea graph: an open-sea zone or a port, with its directed
// edges, the per-type ship counters of the viewing country, the two marker
// ships the map shows, and the scratch fields of the searches. Ships live on
// these nodes, never on hexes.
#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "foundation/hoverable.h"

namespace tr {

class cFleet;
class cJednostkaMorska;

enum eSeaNodeType : std::int32_t {
  kSeaNodePort = 0,
  kSeaNodeOpenSea = 1,
};

// Ship types 40 to 45, one counter each.
inline constexpr int kShipTypeCount = 6;
// Names were held in 150 units with the terminator.
inline constexpr std::size_t kSeaNodeNameLength = 149;

// One directed edge; the passage hex (a strait or canal) must be held by a
// friend to pass, x = -1 when there is none.
struct sSeaEdge {
  std::int32_t toNode = 0;
  std::int32_t passageX = -1;
  std::int32_t passageY = -1;
};

struct sWezelGrafuMorz : public cHoverable {
  // Hint box: the size of layout entry 15; the content is drawn by the
  // installed sea-node art.
  sHintSize GetHintSize() override;
  void DrawHint(SpriteBatch& sprite, int x, int y) override;

  // Gives the best naval commander of the country's fleets here to the ships
  // without a commander of their own; below 1: every owner present, in
  // ascending number.
  void ShareBestCommander(int countryId);
  // The game's fleets standing here, in fleet-list order.
  void CollectFleets(std::list<cFleet*>& out) const;
  // Naval visibility of the sea graph's viewing country
  // (turn/naval_visibility.cpp): the counters, spotted flags and markers of
  // this node. A full recomputation rolls every enemy ship here again; an
  // incremental one only gives the unseen ones a chance to be spotted.
  void CalculateNavalVisibility(bool incremental);
  // Makes the country the sea graph's viewer first.
  void CalculateNavalVisibilityFor(int countryId, bool incremental);
  // The node a fleet leaves: its ships leave the own-ship counters.
  void RemoveFleetFromCounts(const cFleet& fleet);
  // Picks the requested markers again from the ships already spotted.
  void RecalculateSpotting(bool playerMarker, bool enemyMarker);
  // The carrier here that defends the node against an air attack by the
  // country: the one with most hit points of those at war with it and fit
  // to fly; null when there is none.
  cJednostkaMorska* SearchInterceptor(int attackingCountry) const;
  int CountOwnShips() const;
  int CountSpottedEnemyShips() const;
  // Called for every drawn hex: the marker ships standing on it and, on the
  // main hex of an open-sea zone, the zone's name.
  void DrawMarkers(float screenX, float screenY, int hexX, int hexY, bool suppressLabel) const;

  bool IsPort() const { return type == kSeaNodePort; }

  std::int32_t id = 0;
  std::int32_t type = kSeaNodeOpenSea;
  std::int32_t maxPortSize = 0;
  std::int32_t portSize = 0;
  std::u16string name;
  std::int32_t x = 0;  // main hex: the zone's label hex, or the port city's hex
  std::int32_t y = 0;
  cJednostkaMorska* playerMarkerShip = nullptr;  // not owned
  std::int32_t playerMarkerX = 0;
  std::int32_t playerMarkerY = 0;
  cJednostkaMorska* enemyMarkerShip = nullptr;  // not owned
  std::int32_t enemyMarkerX = 0;
  std::int32_t enemyMarkerY = 0;
  std::vector<sSeaEdge> edges;  // in file order
  std::array<std::int32_t, kShipTypeCount> ownShips{};
  std::array<std::int32_t, kShipTypeCount> alliedShips{};
  std::array<std::int32_t, kShipTypeCount> spottedEnemyShips{};
  std::int32_t searchDistance = -1;
  std::int32_t searchPredecessor = -1;
};

// What the rules cannot draw themselves: the presentation installs the art
// that draws a node's hint, its marker ships and its zone label. Until one is
// installed nothing is drawn.
class cSeaNodeArt {
 public:
  virtual ~cSeaNodeArt() = default;
  // The name, the six ship counters and "%i/%i" of the port sizes.
  virtual void DrawHint(const sWezelGrafuMorz& node, SpriteBatch& sprite, int x, int y) = 0;
  virtual void DrawMarkerShip(const cJednostkaMorska& ship, float screenX, float screenY) = 0;
  virtual void DrawZoneName(const sWezelGrafuMorz& node, float screenX, float screenY) = 0;
};

// The port secrecy switch: while it is on (always, but for one computation
// of a reconnaissance), the fleets of every country but the viewer are
// ignored in ports.
bool PortSecrecyOn();
// Turns the switch off for its lifetime; it is on again when the guard goes,
// also when the computation throws.
class PortSecrecyOffGuard {
 public:
  PortSecrecyOffGuard();
  ~PortSecrecyOffGuard();
  PortSecrecyOffGuard(const PortSecrecyOffGuard&) = delete;
  PortSecrecyOffGuard& operator=(const PortSecrecyOffGuard&) = delete;
};

cSeaNodeArt* SeaNodeArt();
// Installs art the caller keeps alive (null removes it); returns the previous.
cSeaNodeArt* SetSeaNodeArt(cSeaNodeArt* art);

}  // namespace tr
