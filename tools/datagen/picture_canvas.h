// The ARGB pixel buffer every build-time picture tool draws on: source-over
// blending with a coverage, shapes shaded by supersampling, and saving as PNG.
// Each tool's own shapes live beside the text source they are drawn from.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace tr::picture {

struct Pt {
  float x = 0, y = 0;
};

// The distance from p to the segment a-b (to a when the segment is a point).
float SegmentDistance(Pt p, Pt a, Pt b);

// How a blended value becomes a byte: the map, unit and skin art round the
// 0-1 value, the menu pictures round on the 0-255 scale. The two differ by one
// in a few pixels, and the shipped pictures were drawn with each.
enum class Rounding { kUnit, kByte };

class Canvas {
 public:
  Canvas(int width, int height, Rounding rounding = Rounding::kUnit);
  int width() const { return width_; }
  int height() const { return height_; }
  const std::vector<std::uint32_t>& pixels() const { return pixels_; }
  std::uint32_t Pixel(int x, int y) const { return pixels_[Index(x, y)]; }

  // Source-over blend of one pixel with the coverage 0-1; outside pixels are ignored.
  void Blend(int x, int y, std::uint32_t colour, float coverage);
  // Writes the picture; false with the reason on stderr.
  bool Save(const std::filesystem::path& file) const;

 protected:
  std::uint32_t& At(int x, int y) { return pixels_[Index(x, y)]; }

  // Covers each pixel of the area by the share of Samples x Samples points
  // inside(x, y) accepts, in the colour colour_at(x, y) gives.
  template <int Samples, typename Inside, typename ColourAt>
  void Shade(float l, float t, float r, float b, Inside inside, ColourAt colour_at) {
    const int x0 = std::max(0, static_cast<int>(std::floor(l))), x1 = std::min(width_, static_cast<int>(std::ceil(r)));
    const int y0 = std::max(0, static_cast<int>(std::floor(t))), y1 = std::min(height_, static_cast<int>(std::ceil(b)));
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        int hits = 0;
        for (int sy = 0; sy < Samples; ++sy) {
          for (int sx = 0; sx < Samples; ++sx) {
            hits += inside(x + (sx + 0.5f) / Samples, y + (sy + 0.5f) / Samples) ? 1 : 0;
          }
        }
        if (hits > 0) Blend(x, y, colour_at(x, y), hits / static_cast<float>(Samples * Samples));
      }
    }
  }
  template <int Samples, typename Inside>
  void Shade(float l, float t, float r, float b, Inside inside, std::uint32_t colour) {
    Shade<Samples>(l, t, r, b, inside, [colour](int, int) { return colour; });
  }

 private:
  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }

  int width_, height_;
  Rounding rounding_;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace tr::picture
