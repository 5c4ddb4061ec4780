// The one frame-render callback of menus and game alike. It holds the game
// lock for the whole frame, so the worker never changes dialogs or shared
// game data while they are drawn: clear, the map (when the game shows one),
// the current menu, the visible dialogs of the modal stack from the bottom up,
// and the hint box above everything.
#pragma once

#include <functional>

namespace tr {

class Graphics;

void OnFrameRender(Graphics& device, double time, float elapsed);

// Draws the map, its units and overlays of the running game; installed by the map drawing.
void SetMapRenderer(std::function<void(Graphics& device, float elapsed)> renderer);

}  // namespace tr
