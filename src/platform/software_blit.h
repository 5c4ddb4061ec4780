// Textured rectangles drawn straight into a 32-bit ARGB surface: the
// off-screen renderer's sprite and glyph drawing. Each pixel takes the
// texel nearest its centre, modulated by a colour and blended source-over,
// with the arithmetic of SDL's software blitters, so a picture comes out as
// SDL would draw it; only the clear spans of a texture are skipped, opaque
// spans copied and partial alpha blended, row by row, from the spans the
// texture keeps for each area drawn (and for each size it is drawn at again).
// Main thread only (it reads the textures' span lists).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/geometry.h"

namespace tr {

class AreaRuns;
class Texture;

// The surface written into.
struct BlitTarget {
  std::uint32_t* pixels = nullptr;
  int pitch = 0;  // in pixels
  Rect area;      // the pixels that may change: the surface, cut by the clip rectangle
};

class SoftwareBlitter {
 public:
  // Draws the texels of source, which lies inside the texture, over the
  // pixels of dest (any size; different sizes scale). Nothing outside the
  // target's area changes.
  void Draw(const BlitTarget& target, const Texture& texture, const Rect& source, const Rect& dest, Argb colour);

  // Blends the spans of a picture already at its drawn size (a smoothed
  // one) over the pixels of dest, as SDL's blitter blends an unscaled draw:
  // the clear pixels between the spans are skipped. Nothing outside the
  // target's area changes.
  void DrawSpans(const BlitTarget& target, const AreaRuns& runs, const Rect& dest, Argb colour);

 private:
  // Spans that have one texel per pixel: an unscaled area, or an area's
  // spans sampled at the draw's size (blended as scaled draws are).
  void DrawRuns(const BlitTarget& target, const AreaRuns& runs, const Rect& dest, const Rect& visible, Argb colour,
                bool unscaled);
  // Samples the area's spans while drawing, for a size not kept.
  void DrawScaled(const BlitTarget& target, const AreaRuns& runs, int source_width, const Rect& dest,
                  const Rect& visible, Argb colour);

  // For a scaled draw: the source column of each visible pixel, and the
  // first visible pixel of each source column; kept to spare an allocation per draw.
  struct ColumnKey {
    int source_width = 0;
    int dest_width = 0;
    int offset = 0;  // of the first visible pixel from the left edge
    int pixels = 0;  // visible
    bool operator==(const ColumnKey&) const = default;
  };
  ColumnKey column_key_;
  std::vector<int> columns_;
  std::vector<int> firsts_;
};

}  // namespace tr
