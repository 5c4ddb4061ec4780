// The most units of each kind a game holds at once, far above any
// scenario's (the largest generated one starts with 18,000 land, 1,350 air
// and 2,700 naval units): purchases and events add no unit past them, a game
// that starts with more is not played, and the budgets of the files that
// list units are derived from them, so every game a scenario can reach is
// saved and loaded.
#pragma once

namespace tr {

inline constexpr int kMostLandUnits = 19000;
inline constexpr int kMostAirUnits = 4000;
// Warships; every land unit at sea rides a transport of its own besides.
inline constexpr int kMostShips = 4000;

}  // namespace tr
