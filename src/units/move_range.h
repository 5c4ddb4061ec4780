// The working data of one land move-range computation: a square window of
// hexes centred on the unit, with the best cell found so far and the mark of
// every hex (enemy zone of control, impassable). Each thread keeps one and
// resets it per computation, so its grids are allocated only when they grow.
#pragma once

#include <cstdint>
#include <vector>

#include "units/unit.h"

namespace tr {

enum eMoveMark : std::int32_t {
  kMarkFree = 0,
  kMarkZoneOfControl = 1,
  kMarkImpassable = 2,
};

// A cell no route has reached yet.
inline constexpr std::int32_t kUnreachedCost = 999999;

struct sMoveRangeWindow {
  // n = 2 x action points + 3 hexes a side, so the window reaches one hex
  // further than any route can; the part of it beyond the map is left out,
  // since no route goes there, which keeps the grids within the map's size
  // whatever the points.
  sMoveRangeWindow(cUnit* unit, int centreX, int centreY, int actionPoints, int mapWidth, int mapHeight);
  sMoveRangeWindow() = default;
  // The window of a new computation: every cell unreached, every mark free.
  void Reset(cUnit* unit, int centreX, int centreY, int actionPoints, int mapWidth, int mapHeight);

  bool Contains(int x, int y) const {
    return x >= originX && x < originX + width && y >= originY && y < originY + height;
  }
  int Index(int x, int y) const { return (y - originY) * width + (x - originX); }
  sMoveRangeCell& Cell(int x, int y) { return cells[Index(x, y)]; }
  std::int32_t& Mark(int x, int y) { return marks[Index(x, y)]; }

  int originX = 0;
  int originY = 0;
  int width = 0;
  int height = 0;
  std::vector<sMoveRangeCell> cells;  // row by row
  std::vector<std::int32_t> marks;
  // The cost of entering each cell, worked out once per flood: from a hex
  // outside an enemy's zone of control, and from one inside it.
  std::vector<std::int32_t> steps;
  std::vector<std::int32_t> zocSteps;
  // The least cost of every cell, found before the relaxation that keeps routes.
  std::vector<std::int32_t> least;
};

}  // namespace tr
