// Geometry of the map's offset grid: flat-topped hexes standing in columns,
// even columns half a hex lower than odd ones. Directions run clockwise from
// north: 0 N, 1 NE, 2 SE, 3 S, 4 SW, 5 NW.
#pragma once

#include <cstdint>

namespace tr {

struct sPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const sPoint&, const sPoint&) = default;
};

inline constexpr int kDirectionCount = 6;

inline constexpr int OppositeDirection(int d) { return (d + 3) % kDirectionCount; }

// A negative odd column counts as odd: the remainder keeps its sign.
inline constexpr bool IsOddColumn(int x) { return x % 2 != 0; }

// The neighbour of (x, y) in direction d (0..5), without a bounds check.
// A direction outside 0..5 gives the hex itself.
inline constexpr sPoint NeighbourPoint(int x, int y, int d) {
  const bool odd = IsOddColumn(x);
  switch (d) {
    case 0: return {x, y - 1};
    case 1: return odd ? sPoint{x + 1, y - 1} : sPoint{x + 1, y};
    case 2: return odd ? sPoint{x + 1, y} : sPoint{x + 1, y + 1};
    case 3: return {x, y + 1};
    case 4: return odd ? sPoint{x - 1, y} : sPoint{x - 1, y + 1};
    case 5: return odd ? sPoint{x - 1, y - 1} : sPoint{x - 1, y};
    default: return {x, y};
  }
}

}  // namespace tr
