// Distance in hex steps on the map's offset grid, in which even columns sit
// half a row lower than odd ones.
#pragma once

namespace tr {

int HexDistance(int x1, int y1, int x2, int y2);

}  // namespace tr
