// The map of the running game on screen: the visible hexes drawn in the
// display mode "MapDisplay/Mode" through one depth-sorted sprite batch under
// the view's scaling, then the black rectangles behind the panels and the
// panels themselves. Main thread, under the game lock.
#pragma once

#include "app/map_draw_state.h"

namespace tr {

class Graphics;
class SpriteBatch;
class cMap;

// Draws the hexes around the camera for a screen of the size; the sprite's
// transform is left as it was.
void RenderHexes(SpriteBatch& sprite, const cMap& map, const sMapDrawState& state, int screenWidth,
                 int screenHeight);

// The frame of a running game: the map, the two cleared rectangles, then the
// minimap, hex, unit, attack, diplomacy and information panels.
void RenderGame(Graphics& device, float elapsed);

// Picks the city and unit appearances (their fonts among them) for the zoom
// the map shows, or will show once its next step has settled the scale.
void ChooseAppearanceForZoom();

// Puts the camera over the middle of the map at the scale that fits the whole
// map on screen, at once, with the fonts of that zoom.
void ViewWholeMap(cMap& map);

// Makes RenderGame the frame's map renderer and the map's art the sea nodes' art.
void InstallMapDrawing();
void UninstallMapDrawing();

}  // namespace tr
