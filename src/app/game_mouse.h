// The human player's actions on the hex map: the wheel zooms, the pointer
// picks the hex under it, and a left click in the player's idle state
// selects the hex and carries out the action of the current action mode -
// moving, rebasing, planning and launching a land attack. Main thread only.
#pragma once

namespace tr {

struct sCombatResult;

// A map cell under a screen point, before it is checked against the map:
// negative or past the map's edge when the point lies off the map.
struct sPickedHex {
  int column = 0;
  int row = 0;
};

// The hex under the screen point (x, y) for a screen of the size, the map
// drawn at the zoom around the camera point. Every step rounds down, so
// points left of or above the map give negative cells.
sPickedHex PickHexAt(int x, int y, int screenWidth, int screenHeight, float zoom, float cameraX, float cameraY);

// Ends the map action a manager hid itself for, when the manager is closed
// without it: no action mode, no action marks on the map.
void EndManagerMapAction();

// The game's mouse handler (cGame::OnMouse).
void OnGameMouse(bool left, bool right, bool middle, bool side1, bool side2, int wheel, int x, int y);

// The combat-result dialog on top of the modal stack, closing after the
// player's combat-result delay; nothing when that delay is 0.
void ShowPlayerCombatResult(const sCombatResult& result);

}  // namespace tr
