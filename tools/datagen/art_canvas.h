// The canvas the map and unit art is drawn on: filled polygons, hexes,
// ellipses and thick lines with smoothed edges, blended over what is there.
#pragma once

#include <cstdint>
#include <vector>

namespace tr::art {

struct Pt {
  float x = 0, y = 0;
};

class Canvas {
 public:
  Canvas(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }
  const std::vector<std::uint32_t>& pixels() const { return pixels_; }

  void Rect(float l, float t, float r, float b, std::uint32_t colour);
  void Polygon(const std::vector<Pt>& points, std::uint32_t colour);
  void Ellipse(float cx, float cy, float rx, float ry, std::uint32_t colour);
  void EllipseRing(float cx, float cy, float rx, float ry, float thickness, std::uint32_t colour);
  void Line(Pt a, Pt b, float thickness, std::uint32_t colour);
  // The flat-topped hex of a 167-pixel cell (column, row), inset by the margin.
  static std::vector<Pt> Hex(int column, int row, float margin = 0.0f);
  // Scatters small dots inside the hex of a cell: a texture for plains and deserts.
  void Speckle(int column, int row, int count, float radius, std::uint32_t colour, unsigned seed);

 private:
  template <typename Inside>
  void Shade(float l, float t, float r, float b, Inside inside, std::uint32_t colour);
  void Blend(int x, int y, std::uint32_t colour, float coverage);

  int width_, height_;
  std::vector<std::uint32_t> pixels_;
};

// A 167-pixel cell's hex centre.
inline Pt CellCentre(int column, int row) { return {column * 167.0f + 84.0f, row * 167.0f + 84.0f}; }

}  // namespace tr::art
