// The canvas the map and unit art is drawn on: filled polygons, hexes,
// ellipses and thick lines with smoothed edges, blended over what is there.
#pragma once

#include <cstdint>
#include <vector>

#include "picture_canvas.h"

namespace tr::art {

using picture::Pt;

class Canvas : public picture::Canvas {
 public:
  using picture::Canvas::Canvas;

  void Rect(float l, float t, float r, float b, std::uint32_t colour);
  void Polygon(const std::vector<Pt>& points, std::uint32_t colour);
  void Ellipse(float cx, float cy, float rx, float ry, std::uint32_t colour);
  void EllipseRing(float cx, float cy, float rx, float ry, float thickness, std::uint32_t colour);
  void Line(Pt a, Pt b, float thickness, std::uint32_t colour);
  // The flat-topped hex of a 167-pixel cell (column, row), inset by the margin.
  static std::vector<Pt> Hex(int column, int row, float margin = 0.0f);
  // Scatters small dots inside the hex of a cell: a texture for plains and deserts.
  void Speckle(int column, int row, int count, float radius, std::uint32_t colour, unsigned seed);
};

// A 167-pixel cell's hex centre.
inline Pt CellCentre(int column, int row) { return {column * 167.0f + 84.0f, row * 167.0f + 84.0f}; }

}  // namespace tr::art
