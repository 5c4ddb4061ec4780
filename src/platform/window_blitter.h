// Textured rectangles drawn straight into a 32-bit surface by our own
// blitter, with the very pixels SDL's software renderer would draw: the
// off-screen surface's, and a window's under SDL's software renderer, whose
// scaled textures are smoothed as SDL smooths them. SDL's software renderer
// makes a temporary surface for most blended draws, and its blitters visit
// every texel, clear or not, which cost most of a frame. Main thread only.
#pragma once

#include <cstdint>
#include <span>

#include "platform/geometry.h"
#include "platform/render_backend.h"
#include "platform/smoothed_pictures.h"
#include "platform/software_blit.h"

namespace tr {

class Texture;

// The pixels drawn into: `pitch` pixels a row, red, green and blue where ours are.
struct Surface32 {
  std::uint32_t* pixels = nullptr;
  int pitch = 0;
  int width = 0;
  int height = 0;
};

class WindowBlitter {
 public:
  // Whether Draw draws these quads: every one an unmirrored, unrotated
  // rectangle within the texture; with smooth, a texture SDL would not cut
  // into tiles of at most `limit` texels a side (0: no limit).
  static bool Accepts(const Texture& texture, std::span<const TexturedQuad> quads, bool smooth, int limit);

  // Draws accepted quads, cut by the clip (null: none). Rectangles and texels
  // are chosen as SDL's software renderer chooses them; with smooth, scaled
  // pictures are smoothed as it smooths a window's textures.
  void Draw(const Surface32& surface, const Rect* clip, const Texture& texture, std::span<const TexturedQuad> quads,
            bool smooth);

 private:
  // A scaled rectangle as SDL's software renderer draws it on a window.
  void DrawSmooth(const BlitTarget& target, const Rect& whole, const Texture& texture, Rect source, Rect dest,
                  Argb colour);

  SoftwareBlitter blitter_;
  SmoothedPictures smoothed_;
};

}  // namespace tr
