// A small ARGB canvas that draws the shapes the GUI skin is made of: rounded
// boxes with a gradient fill, circles, check marks, arrows, lines and fills,
// each blended over what is already there, with smoothed edges.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tr::skin {

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
};

class Canvas {
 public:
  Canvas(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  const std::vector<std::uint32_t>& pixels() const { return pixels_; }
  std::uint32_t Pixel(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }

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
  // Covers each pixel of box by the share of 4 x 4 samples inside(x, y) accepts.
  template <typename Inside, typename ColourAt>
  void Shade(const Box& box, Inside inside, ColourAt colour_at);
  void Blend(int x, int y, std::uint32_t colour, float coverage);

  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;
};

// Draws one line of the skin source ("kind;left;top;right;bottom;..."); false
// with a reason when the line cannot be understood.
bool DrawSkinLine(Canvas& canvas, const std::string& line, std::string* error);

}  // namespace tr::skin
