// Distance in hex steps on the map's offset grid, in which even columns sit
// half a row lower than odd ones. Inline: the computer's scans over every
// enemy unit call it millions of times an impulse.
#pragma once

#include <cstdlib>

namespace tr {

inline int HexDistance(int x1, int y1, int x2, int y2) {
  const int adx = std::abs(x2 - x1);
  const int dy = y2 - y1;
  const int base = std::abs(dy) + adx / 2;
  if (adx % 2 == 0) return adx / 2 >= std::abs(dy) ? adx : base;
  const int lo = adx / 2;
  const int hi = (adx + 1) / 2;
  // The parity test keeps the sign of the remainder, as the map code does.
  const bool x1_even = x1 % 2 == 0;
  if ((!x1_even && -hi <= dy && dy <= lo) || (x1_even && -lo <= dy && dy <= hi)) return adx;
  if ((x1_even && y2 < y1) || (!x1_even && y2 > y1)) return base + 1;
  return base;
}

}  // namespace tr
