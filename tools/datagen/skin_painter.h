// A small ARGB canvas that draws the shapes the GUI skin is made of: rounded
// boxes with a gradient fill, circles, check marks, arrows, lines and fills,
// each blended over what is already there, with smoothed edges.
#pragma once

#include <cstdint>
#include <string>

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

 private:
  template <typename Inside, typename Colour>
  void ShadeBox(const Box& box, Inside inside, Colour colour) {
    Shade<4>(box.left, box.top, box.right, box.bottom, inside, colour);
  }
};

// Draws one line of the skin source ("kind;left;top;right;bottom;..."); false
// with a reason when the line cannot be understood.
bool DrawSkinLine(Canvas& canvas, const std::string& line, std::string* error);

}  // namespace tr::skin
