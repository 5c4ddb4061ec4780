// The clean-up of a drawn line of defence, apart from its planning so that
// the shapes it removes can be checked on their own.
#pragma once

#include <list>

#include "world/hex_geometry.h"

namespace tr {

class cMap;

// Marks the line's hexes 3 on the front-node marks, removes its spurs, then
// its corners until none is left; the marks end on the remaining line.
void CleanLineOfDefence(cMap& map, std::list<sPoint>& line);

}  // namespace tr
