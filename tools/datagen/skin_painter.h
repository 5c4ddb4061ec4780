// A small ARGB canvas that draws the shapes the GUI skin is made of: rounded
// boxes with a gradient fill, circles, check marks, arrows, lines, fills and
// the buttons' pictures, each blended over what is already there, with
// smoothed edges.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "pictogram.h"
#include "picture_canvas.h"

namespace tr::skin {

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
};

class Canvas : public picture::Canvas {
 public:
  using picture::Canvas::Canvas;

  void Fill(const Box& box, std::uint32_t colour);
  // A rounded rectangle: a border of border_px in border colour around a
  // vertical gradient from fill_top to fill_bottom.
  void RoundedBox(const Box& box, int radius, int border_px, std::uint32_t border, std::uint32_t fill_top,
                  std::uint32_t fill_bottom);
  void Circle(const Box& box, float inset, std::uint32_t border, std::uint32_t fill);
  void Tick(const Box& box, std::uint32_t colour);
  void Arrow(const Box& box, bool up, std::uint32_t colour);
  void VerticalLine(const Box& box, std::uint32_t colour);
  // The picture in the largest square centred in the box, in the icon's colours.
  void Icon(const Box& box, const Pictogram& picture, const IconColours& colours);

 private:
  template <typename Inside, typename Colour>
  void ShadeBox(const Box& box, Inside inside, Colour colour) {
    Shade<4>(box.left, box.top, box.right, box.bottom, inside, colour);
  }
};

// Draws a skin source line by line: shape lines ("kind;left;top;right;bottom;..."),
// and the picture blocks ("picture;<name>", its shape lines, "end") that the
// icon lines ("icon;l;t;r;b;<name>;ink;accent;dark") draw.
class SkinPainter {
 public:
  explicit SkinPainter(Canvas& canvas) : canvas_(canvas) {}
  // False with a reason when the line cannot be understood.
  bool Line(const std::string& line, std::string* error);
  // False when a picture block was left open.
  bool Finish(std::string* error) const;

 private:
  bool DrawLine(const std::string& line, std::string* error);

  Canvas& canvas_;
  std::map<std::string, Pictogram> pictures_;
  std::string open_;  // the name of the picture being read; empty outside a block
};

}  // namespace tr::skin
