// Small pictures for the skin's buttons, described in the skin source as
// shapes on a 0-100 square and drawn in an icon's colours at any size:
//   poly;<paint>;x,y;x,y;...            a filled polygon
//   path;<paint>;<width>;x,y;x,y;...    a thick line through the points, round at the joints
//   disc;<paint>;cx;cy;rx[;ry]          a filled circle or ellipse
//   ring;<paint>;cx;cy;r;<width>        a circle's outline
//   arc;<paint>;cx;cy;r;<width>;from;to a part of a ring, in degrees clockwise from the top
//   rect;<paint>;l;t;r;b                a rectangle
//   star;<paint>;cx;cy;outer;inner;n    a star of n points, one pointing up
//   spokes;<paint>;cx;cy;inner;outer;n;<width>   n thick rays, one pointing up
// The paint is "ink" (the picture), "accent" (its highlights) or "dark" (cut-outs
// and details drawn over the ink).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "picture_canvas.h"

namespace tr::skin {

enum class Paint { kInk, kAccent, kDark };

struct IconColours {
  std::uint32_t ink = 0, accent = 0, dark = 0;
  std::uint32_t Of(Paint paint) const { return paint == Paint::kInk ? ink : paint == Paint::kAccent ? accent : dark; }
};

struct Shape {
  enum class Kind { kPoly, kPath, kDisc, kRing, kArc, kRect, kStar, kSpokes };
  Kind kind = Kind::kPoly;
  Paint paint = Paint::kInk;
  std::vector<float> numbers;          // the kind's numbers, in order
  std::vector<picture::Pt> points;     // the points of a polygon or path
};

using Pictogram = std::vector<Shape>;

// Reads one shape line; false with a reason when it cannot be understood.
bool ParseShape(const std::string& line, Shape* shape, std::string* error);

// Whether the point (in the 0-100 square) lies in the shape.
bool InsideShape(const Shape& shape, float x, float y);

// The part of the 0-100 square the shape can touch: left, top, right, bottom.
void ShapeBounds(const Shape& shape, float* l, float* t, float* r, float* b);

}  // namespace tr::skin
