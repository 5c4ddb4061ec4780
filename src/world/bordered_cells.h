// Cells over the map's hexes with a border of one cell around them, which
// the searches on them never enter: a neighbour is then a fixed offset with
// no test of the edges. The row length is even, so a column is even exactly
// when its cell is odd.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

#include "world/hex_geometry.h"

namespace tr {

class cBorderedCells {
 public:
  cBorderedCells() = default;
  cBorderedCells(int width, int height)
      : width_(std::max(width, 0)), height_(std::max(height, 0)), stride_((width_ + 3) & ~1) {
    // By the map's directions: N, NE, SE, S, SW, NW.
    evenColumn_ = {-stride_, 1, 1 + stride_, stride_, -1 + stride_, -1};
    oddColumn_ = {-stride_, 1 - stride_, 1, stride_, -1, -1 - stride_};
  }

  int Width() const { return width_; }
  int Height() const { return height_; }
  std::size_t Count() const { return static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height_ + 2); }
  int Cell(int x, int y) const { return (y + 1) * stride_ + x + 1; }
  int XOf(int cell) const { return cell % stride_ - 1; }
  int YOf(int cell) const { return cell / stride_ - 1; }
  // The offsets of the cells beside, indexed by the map's direction.
  const int* NeighbourOffsets(int cell) const { return (cell & 1) ? evenColumn_.data() : oddColumn_.data(); }

 private:
  int width_ = 0;
  int height_ = 0;
  int stride_ = 2;
  std::array<int, kDirectionCount> evenColumn_{};
  std::array<int, kDirectionCount> oddColumn_{};
};

}  // namespace tr
