// The technology levels a country keeps and the levels its tables are read at.
#pragma once

#include <algorithm>

#include "world/value_limits.h"

namespace tr {

// Research raises a level up to the scenario's highest and an event sets any
// level, below 0 too: a level is kept as far as points are.
inline constexpr int kMaxStoredTechLevel = kMaxPoints;

// The tables of the scenario constants hold one entry per level up to
// kMaxTechLevel, from level 1 (the land-warfare doctrine and air range tables
// from level 0). A level beyond a table reads its nearest entry; the level
// itself stays.
constexpr int TechTableLevel(int level, int lowest = 1) { return std::clamp(level, lowest, kMaxTechLevel); }

}  // namespace tr
