// The six hexes around one: searches that look at the sides of many hexes
// take them here, a fixed step each in the map's hexes away from the edges.
#pragma once

#include <cstddef>

#include "world/hex_geometry.h"
#include "world/map.h"

namespace tr {

// By direction, null off the map: what GetNeighbour gives for each.
struct sHexesBeside {
  const sHex* hex[kDirectionCount];
};

[[gnu::always_inline]] inline sHexesBeside HexesBeside(const cMap& map, int x, int y) {
  sHexesBeside beside;
  const int width = map.GetWidth();
  if (x >= 1 && y >= 1 && x + 1 < width && y + 1 < map.GetHeight()) {
    const sHex* at = &map.Hexes()[static_cast<std::size_t>(y) * width + x];
    const int up = IsOddColumn(x) ? -width : 0;  // the row of the side neighbours above
    beside.hex[0] = at - width;
    beside.hex[1] = at + 1 + up;
    beside.hex[2] = at + 1 + up + width;
    beside.hex[3] = at + width;
    beside.hex[4] = at - 1 + up + width;
    beside.hex[5] = at - 1 + up;
  } else {
    for (int d = 0; d < kDirectionCount; ++d) beside.hex[d] = map.GetNeighbour(x, y, d);
  }
  return beside;
}

}  // namespace tr
