// The readable text form of a scenario map, from which the build makes
// "map.qel". One directive a line; '#' starts a comment line.
//
//   size W H                 map size in hexes (first directive)
//   terrain | owner | zone   followed by H rows of W characters each
//   controller X Y C         a hex held by another country than its owner
//   river X Y SIDES          river sides as digits 0-5 (0 N .. 5 NW)
//   fort X Y LEVEL
//   port X Y
//   weather X Y STATE TAKES  current weather (0 clear, 1 winter, 2 mud) and
//                            whether the hex takes weather at all (0 or 1)
//   winter X0 Y0 X1 Y1 M1..M12   monthly snow chances in percent added over the
//   mud    X0 Y0 X1 Y1 M1..M12   rectangle, both corners included
//
// Terrain characters: '.' sea, 'p' plain, 'f' forest, 'r' rough, 's' swamp,
// 'h' hill, 'm' mountain, 'd' desert. Owner and zone characters encode a
// number: '.' 0, '1'-'9', 'A'-'Z' 10-35, 'a'-'z' 36-61. An owner row sets the
// owner, controller and original owner; a zone is the sea node ID.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "world/map.h"

namespace tr {

// The map described by the text, or null with the reason (and line) in error.
std::unique_ptr<cMap> ParseMapText(std::string_view text, std::string& error);

// The number a grid character stands for, or -1 for a character outside the code.
int MapTextNumber(char c);

}  // namespace tr
