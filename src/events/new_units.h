// Making the units that effects create, once their numbers are checked.
// Every check comes before the constructor, which takes the next unit
// number: an effect that is refused leaves no half-made unit and no used
// number behind.
#pragma once

#include <memory>

#include "events/event_model.h"
#include "units/jednostka_ladowa.h"

namespace tr {

// The owner, type, level and strength of a new land unit, checked.
struct sNewLandUnit {
  int owner = 0;
  int type = 0;
  int level = 1;
  int strength = 0;
};

// Reads owner, type, level and strength from params ownerI, ownerI + 1 ...
// in the order (owner, type, level, strength) given by their indexes. False
// (logged) for an owner that is no country, a type that is no land type, or
// a game without room for another land unit;
// a level outside the tables is logged and becomes 1, a strength outside 0
// to 100 is logged and held within it.
bool ReadNewLandUnit(const sEffect& effect, int ownerI, int typeI, int levelI, int strengthI, sNewLandUnit& out);

// Whether the game has room for one more unit of the category; false
// (logged) when it holds as many as a game may.
bool RoomForNewUnit(const sEffect& effect, int category);

// A level outside the unit tables is logged and read as 1.
int CheckedNewUnitLevel(const sEffect& effect, int level);

// The new land unit at (x, y), not yet in any list: no commander, no moves
// in the turn it is made, full supply.
std::unique_ptr<cJednostkaLadowa> MakeLandUnit(const sEffect& effect, const sNewLandUnit& values, int x, int y);

// Appends the unit to the land-unit list and makes it the unit of its hex.
cJednostkaLadowa& PutOnMap(std::unique_ptr<cJednostkaLadowa> unit);

}  // namespace tr
