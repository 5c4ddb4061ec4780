// Whether a game may take one more unit of a kind (foundation/unit_caps.h).
#pragma once

#include <string_view>

namespace tr {

class cGame;

// The units of the category (kCategoryLand, kCategoryAir, kCategoryNaval) the
// game holds: on the map, aboard ships and in reserve; warships in fleets
// and in the naval reserve (not the transports made for land units at sea).
int UnitsHeld(const cGame& game, int category);
// The most units of the category a game holds.
int MostUnits(int category);
// Whether one more unit of the category fits; when not, logs that `what`
// (who adds the unit, and how) adds none.
bool RoomForUnit(const cGame& game, int category, std::u16string_view what);
// Refuses (ExitDestroyingGame) a game that holds more units of a kind than a
// game may: its saves could not be written.
void CheckUnitCaps(const cGame& game);

}  // namespace tr
