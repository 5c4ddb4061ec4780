// The sea nodes on the map: the marker ship of each side on its marker hex,
// the zone's name on the main hex of an open-sea zone, and the hint of a
// hovered node (its name, the ships there by type, and the port's size).
#pragma once

#include "platform/geometry.h"
#include "turn/sea_graph_node.h"

namespace tr {

class SpriteBatch;

class cMapSeaNodeArt : public cSeaNodeArt {
 public:
  // Where the next markers go and whether they stand out (the player is
  // choosing a node); markers are drawn only between Begin and End.
  void Begin(SpriteBatch* sprite, bool highlighted);
  void End();

  void DrawHint(const sWezelGrafuMorz& node, SpriteBatch& sprite, int x, int y) override;
  void DrawMarkerShip(const cJednostkaMorska& ship, float screenX, float screenY) override;
  void DrawZoneName(const sWezelGrafuMorz& node, float screenX, float screenY) override;

 private:
  SpriteBatch* sprite_ = nullptr;
  bool highlighted_ = false;
};

// The art the map drawing installs for the rules' sea nodes.
cMapSeaNodeArt& MapSeaNodeArt();

// The markers of a node that fall on hex (hexX, hexY), drawn at the map position.
void DrawSeaNodeMarkers(SpriteBatch& sprite, const sWezelGrafuMorz& node, PointF position, int hexX, int hexY,
                        bool highlighted, bool suppressLabel);

}  // namespace tr
