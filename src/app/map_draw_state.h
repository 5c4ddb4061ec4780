// What the map drawing needs to know of the player's side of the screen each
// frame: whose units are "own", what a click does now, the unit lifted for a
// move, the marked hex, the planned attack and the blink phase.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace tr {

class cUnit;
struct sHex;

struct sMapDrawState {
  int ownCountry = 0;  // the player control's current country; its units blink and show every mark
  int actionMode = 0;
  cUnit* movingUnit = nullptr;     // on its walk, held by no hex: drawn where it stands, on top
  const sHex* markedHex = nullptr; // its sea-node markers are drawn last
  const cUnit* attackDefender = nullptr;
  std::array<bool, 6> attackSides{};  // sides of the defender's hex with an attacker
  int animationPhase = 0;             // 0..5, one step every 100 ms
};

// Installed by the player interface; without one the viewing country's units
// are own and nothing is lifted, marked or attacked.
void SetMapDrawStateSource(std::function<sMapDrawState()> source);
sMapDrawState CurrentMapDrawState();

}  // namespace tr
