// The canvas the menu pictures are painted on (wallpapers, logos, cursor,
// console, the unknown flag): gradients, glows, hex grids, smoothed polygons,
// rough land masses, waves, lines and text, each blended over what is there.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "picture_canvas.h"

namespace tr::menuart {

using Point = picture::Pt;

class Canvas : public picture::Canvas {
 public:
  Canvas(int width, int height) : picture::Canvas(width, height, picture::Rounding::kByte) {}

  // Top to bottom, replacing what is there.
  void VerticalGradient(std::uint32_t top, std::uint32_t bottom);
  // A colour fading out from the centre to the radius.
  void Glow(float cx, float cy, float radius, std::uint32_t colour);
  // Darkens the corners; strength 0-255.
  void Vignette(int strength);
  // Outlines of flat-topped hexes of the side length over the whole picture.
  void HexGrid(float side, float thickness, std::uint32_t colour);
  // Filled with smoothed edges (even-odd rule).
  void Polygon(const std::vector<Point>& points, std::uint32_t colour);
  // A land mass: a circle whose radius wanders by a sum of seeded sines.
  void Blob(float cx, float cy, float radius, float roughness, unsigned seed, std::uint32_t colour);
  void Line(Point a, Point b, float thickness, std::uint32_t colour);
  // A sine wave across the picture at height y.
  void Wave(float y, float amplitude, float wavelength, float phase, float thickness, std::uint32_t colour);
  void Ring(float cx, float cy, float radius, float thickness, std::uint32_t colour);
  // A star of the points, alternating outer and inner radius.
  void Star(float cx, float cy, float outer, float inner, int points, std::uint32_t colour);
  void Fill(float l, float t, float r, float b, std::uint32_t colour);
};

// Text in an installed face (resolved by name and weight), its left edge at x
// or centred on x, its top at y; false with a reason when no font opens.
bool DrawText(Canvas& canvas, const std::string& face, int weight, int height, float x, float y, bool centred,
              std::uint32_t colour, const std::string& utf8, std::string* error);

// A source line split at ';'.
std::vector<std::string> SplitFields(const std::string& line);
// Paints one source line, "kind;values" (the kinds of data/skin/menu_pictures.txt);
// false with the reason in *error.
bool PaintLine(Canvas& canvas, const std::vector<std::string>& fields, std::string* error);

}  // namespace tr::menuart
