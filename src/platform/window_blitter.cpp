#include "platform/window_blitter.h"

#include <algorithm>
#include <cmath>

#include "platform/texture.h"

namespace tr {
namespace {

// The texels and pixels SDL's software renderer draws a rectangular quad
// with: it turns the texture coordinates back into whole texels and the
// corners into whole pixels, truncating.
void DirectRects(const TexturedQuad& q, int tw, int th, Rect& source, Rect& dest) {
  const float fw = static_cast<float>(tw), fh = static_cast<float>(th);
  const int sx = static_cast<int>((q.source.left / fw) * fw);
  const int sy = static_cast<int>((q.source.top / fh) * fh);
  const int sw = static_cast<int>((q.source.right / fw) * fw - static_cast<float>(sx));
  const int sh = static_cast<int>((q.source.bottom / fh) * fh - static_cast<float>(sy));
  const PointF from{SnapToPixel(q.corners[0].x), SnapToPixel(q.corners[0].y)};
  const PointF to{SnapToPixel(q.corners[2].x), SnapToPixel(q.corners[2].y)};
  const int dw = static_cast<int>(to.x - from.x);
  const int dh = static_cast<int>(to.y - from.y);
  source = RectFromSize(sx, sy, std::max(0, sw), std::max(0, sh));
  dest = RectFromSize(static_cast<int>(from.x), static_cast<int>(from.y), std::max(0, dw), std::max(0, dh));
}

}  // namespace

bool WindowBlitter::Accepts(const Texture& texture, std::span<const TexturedQuad> quads, bool smooth, int limit) {
  const int tw = texture.width(), th = texture.height();
  if (tw <= 0 || th <= 0) return true;
  // SDL scales each tile of a texture larger than it allows on its own.
  if (smooth && limit > 0 && (tw > limit || th > limit)) return false;
  for (const TexturedQuad& q : quads) {
    const PointF* c = q.corners;
    if (c[0].y != c[1].y || c[1].x != c[2].x || c[2].y != c[3].y || c[3].x != c[0].x) return false;
    if (!(c[0].x < c[2].x && c[0].y < c[2].y)) return false;
    if (!(q.source.left < q.source.right && q.source.top < q.source.bottom)) return false;
    if (q.source.left < 0 || q.source.top < 0 || q.source.right > tw || q.source.bottom > th) return false;
  }
  return true;
}

void WindowBlitter::Draw(const Surface32& surface, const Rect* clip, const Texture& texture,
                         std::span<const TexturedQuad> quads, bool smooth) {
  const int tw = texture.width(), th = texture.height();
  if (tw <= 0 || th <= 0) return;
  // The area that may be written: the surface, cut by the clip rectangle.
  const Rect whole{0, 0, surface.width, surface.height};
  const Rect area = clip ? Intersect(whole, *clip) : whole;
  if (area.empty()) return;
  BlitTarget target;
  target.pixels = surface.pixels;
  target.pitch = surface.pitch;
  target.area = area;
  for (const TexturedQuad& q : quads) {
    Rect source, dest;
    DirectRects(q, tw, th, source, dest);
    if (source.empty() || dest.empty()) continue;
    if (smooth && (source.width() != dest.width() || source.height() != dest.height())) {
      DrawSmooth(target, whole, texture, source, dest, q.colour);
    } else {
      blitter_.Draw(target, texture, source, dest, q.colour);
    }
  }
}

// One that reaches past the surface is scaled whole and the picture cut; one
// inside is first cut to the clip, the texels it keeps rounded as SDL rounds
// them, and that part scaled to what is left.
void WindowBlitter::DrawSmooth(const BlitTarget& target, const Rect& whole, const Texture& texture, Rect source,
                               Rect dest, Argb colour) {
  if (dest.left >= whole.left && dest.top >= whole.top && dest.right <= whole.right && dest.bottom <= whole.bottom) {
    const Rect& clip = target.area;
    const double scale_x = static_cast<double>(dest.width()) / source.width();
    const double scale_y = static_cast<double>(dest.height()) / source.height();
    double sx0 = source.left, sy0 = source.top, sx1 = source.right, sy1 = source.bottom;
    double dx0 = dest.left - clip.left, dy0 = dest.top - clip.top;
    double dx1 = dest.right - clip.left, dy1 = dest.bottom - clip.top;
    if (dx0 < 0) sx0 -= dx0 / scale_x, dx0 = 0;
    if (dx1 > clip.width()) sx1 -= (dx1 - clip.width()) / scale_x, dx1 = clip.width();
    if (dy0 < 0) sy0 -= dy0 / scale_y, dy0 = 0;
    if (dy1 > clip.height()) sy1 -= (dy1 - clip.height()) / scale_y, dy1 = clip.height();
    dx0 += clip.left, dx1 += clip.left, dy0 += clip.top, dy1 += clip.top;
    const auto whole_of = [](double v) { return static_cast<int>(std::round(v)); };
    source = Intersect(RectFromSize(whole_of(sx0), whole_of(sy0), whole_of(sx1 - sx0), whole_of(sy1 - sy0)),
                       Rect{0, 0, texture.width(), texture.height()});
    dest = Intersect(RectFromSize(whole_of(dx0), whole_of(dy0), whole_of(dx1 - dx0), whole_of(dy1 - dy0)), clip);
    if (source.empty() || dest.empty()) return;
  }
  blitter_.DrawSpans(target, smoothed_.Get(texture, source, dest.width(), dest.height()), dest, colour);
}

}  // namespace tr
