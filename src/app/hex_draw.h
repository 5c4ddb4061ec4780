// One hex of the map in each display mode: the full map (terrain, rivers,
// weather, decoration, ownership tint, highlight, borders, grid, city, fort,
// sea-node markers, unit and attack arrows), the terrain alone, the political
// map, and the full map with port markers; also the sea-node markers of the
// marked hex and the cell of the sea-battle grid. Every layer takes its depth
// from the skin's sprite-depth table, so the sprite batch puts them in order.
#pragma once

#include "platform/geometry.h"

namespace tr {

class SpriteBatch;
struct sHex;
struct sHexPathCell;
struct sMapDrawState;

// Mode 0.
void DrawHex(SpriteBatch& sprite, const sHex& hex, PointF position, const sHexPathCell& decoration,
             const sMapDrawState& state);
// Mode 1: clear-weather terrain, rivers and decoration only.
void DrawHexTerrainOnly(SpriteBatch& sprite, const sHex& hex, PointF position, const sHexPathCell& decoration);
// Mode 2: land in the colour of its controller's alliance, the sea plain, flags on cities.
void DrawHexPolitical(SpriteBatch& sprite, const sHex& hex, PointF position);
// Mode 3: mode 0 with the port marker on land hexes that have a port.
void DrawHexWithPort(SpriteBatch& sprite, const sHex& hex, PointF position, const sHexPathCell& decoration,
                     const sMapDrawState& state);
// The markers of the hex's sea node, standing out while the player picks a node.
void DrawHexSeaNodeMarkers(SpriteBatch& sprite, const sHex& hex, PointF position, const sMapDrawState& state);
// A cell of the sea-battle grid: the sea, its highlight and the ship on it just in front.
void DrawHexTerrainSprite(SpriteBatch& sprite, const sHex& hex, PointF position, float depth);

}  // namespace tr
