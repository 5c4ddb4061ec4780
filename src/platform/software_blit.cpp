#include "platform/software_blit.h"

#include <algorithm>
#include <cstring>

#include "platform/texel_runs.h"
#include "platform/texture.h"

namespace tr {
namespace {

// One texel over one pixel as SDL's blitter blends an unscaled, unmodulated
// draw: shifts by 8 instead of divisions by 255.
inline std::uint32_t BlendUnmodulated(std::uint32_t src, std::uint32_t dst) {
  const std::uint32_t a = src >> 24, k = 255 - a;
  const auto channel = [&](int shift) {
    return (((src >> shift) & 0xFF) * a >> 8) + (((dst >> shift) & 0xFF) * k >> 8);
  };
  return ((a * 255 >> 8) + ((dst >> 24) * k >> 8)) << 24 | channel(16) << 16 | channel(8) << 8 | channel(0);
}

// The modulating colour's channels.
struct Modulation {
  std::uint32_t r, g, b, a;
  explicit Modulation(Argb c) : r(ArgbR(c)), g(ArgbG(c)), b(ArgbB(c)), a(ArgbA(c)) {}
};

// One texel over one pixel as SDL blends modulated and scaled draws.
inline std::uint32_t BlendModulated(std::uint32_t src, std::uint32_t dst, const Modulation& m) {
  const std::uint32_t a = (src >> 24) * m.a / 255;
  if (a == 0) return dst;
  std::uint32_t r = ((src >> 16) & 0xFF) * m.r / 255;
  std::uint32_t g = ((src >> 8) & 0xFF) * m.g / 255;
  std::uint32_t b = (src & 0xFF) * m.b / 255;
  if (a == 255) return 0xFF000000u | r << 16 | g << 8 | b;
  r = r * a / 255;
  g = g * a / 255;
  b = b * a / 255;
  const std::uint32_t k = 255 - a;
  const std::uint32_t da = dst >> 24, dr = (dst >> 16) & 0xFF, dg = (dst >> 8) & 0xFF, db = dst & 0xFF;
  return (a + k * da / 255) << 24 | (r + k * dr / 255) << 16 | (g + k * dg / 255) << 8 | (b + k * db / 255);
}

// How many rows ahead a draw asks for the pixels it will blend: the rows of a
// sprite lie a surface row apart, misses the hardware does not foresee, and a
// sprite's row is too short to wait for its own.
constexpr int kRowsAhead = 3;
// Narrower sprites are done with a row before the pixels asked for would come.
constexpr int kPrefetchWidth = 96;

// Asks for the pixels from..to (exclusive) of a row before they are needed.
inline void Prefetch(std::uint32_t* row, int from, int to) {
  for (int x = from; x < to; x += 16) __builtin_prefetch(row + x, 1);
  if (from < to) __builtin_prefetch(row + (to - 1), 1);
}

std::uint32_t* TargetRow(const BlitTarget& target, int y) {
  return target.pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(target.pitch);
}

// Draws spans of one texel per pixel, row by row: opaque spans are copied
// when copy_opaque, every other texel goes through blend.
template <class Blend>
void DrawRows(const BlitTarget& target, const AreaRuns& runs, const Rect& dest, const Rect& visible, bool copy_opaque,
              Blend blend) {
  // The visible columns, counted from the left edge as the spans are.
  const int first = visible.left - dest.left, last = visible.right - dest.left;
  const bool prefetch = visible.width() >= kPrefetchWidth;
  for (int y = visible.top; y < visible.bottom; ++y) {
    if (const int ahead = y + kRowsAhead; prefetch && ahead < visible.bottom) {
      const std::span<const TexelRun> next = runs.Row(ahead - dest.top);
      if (!next.empty()) {
        Prefetch(TargetRow(target, ahead), dest.left + std::max(next.front().begin, first),
                 dest.left + std::min(next.back().end, last));
      }
    }
    std::uint32_t* dst = TargetRow(target, y) + (dest.left + first);
    for (const TexelRun& run : runs.Row(y - dest.top)) {
      const int begin = std::max(run.begin, first), end = std::min(run.end, last);
      if (begin >= end) continue;
      const std::uint32_t* src = runs.Texels(run) + (begin - run.begin);
      std::uint32_t* out = dst + (begin - first);
      const int n = end - begin;
      if (copy_opaque && run.opaque) {
        std::memcpy(out, src, sizeof(std::uint32_t) * static_cast<std::size_t>(n));
      } else {
        for (int i = 0; i < n; ++i) out[i] = blend(src[i], out[i]);
      }
    }
  }
}

}  // namespace

void SoftwareBlitter::DrawSpans(const BlitTarget& target, const AreaRuns& runs, const Rect& dest, Argb colour) {
  if (ArgbA(colour) == 0) return;
  const Rect visible = Intersect(dest, target.area);
  if (!visible.empty()) DrawRuns(target, runs, dest, visible, colour, true);
}

void SoftwareBlitter::Draw(const BlitTarget& target, const Texture& texture, const Rect& source, const Rect& dest,
                           Argb colour) {
  if (ArgbA(colour) == 0 || source.empty() || dest.empty()) return;
  if (source.left < 0 || source.top < 0 || source.right > texture.width() || source.bottom > texture.height()) {
    return;
  }
  const Rect visible = Intersect(dest, target.area);
  if (visible.empty()) return;
  TexelRuns& texels = texture.runs();
  const bool scaled = source.width() != dest.width() || source.height() != dest.height();
  if (scaled) {
    if (const AreaRuns* runs = texels.Scaled(source, dest.width(), dest.height())) {
      DrawRuns(target, *runs, dest, visible, colour, false);
      return;
    }
  }
  const AreaRuns& runs = texels.Of(source);
  if (!scaled) {
    DrawRuns(target, runs, dest, visible, colour, true);
    return;
  }
  // Only the pixels that may show a texel are visited: many sprites are a thin line in a large cell.
  const Rect& seen = runs.bounds();
  const NearestSteps across(source.width(), dest.width()), down(source.height(), dest.height());
  const Rect inner = Intersect(visible, Rect{dest.left + across.FirstPixelAt(seen.left),
                                             dest.top + down.FirstPixelAt(seen.top),
                                             dest.left + across.FirstPixelAt(seen.right),
                                             dest.top + down.FirstPixelAt(seen.bottom)});
  if (!seen.empty() && !inner.empty()) DrawScaled(target, runs, source.width(), dest, inner, colour);
}

void SoftwareBlitter::DrawRuns(const BlitTarget& target, const AreaRuns& runs, const Rect& dest,
                               const Rect& clipped, Argb colour, bool unscaled) {
  const Rect& seen = runs.bounds();
  const Rect visible =
      Intersect(clipped, Rect{dest.left + seen.left, dest.top + seen.top, dest.left + seen.right, dest.top + seen.bottom});
  if (seen.empty() || visible.empty()) return;
  if (colour != 0xFFFFFFFFu) {
    const Modulation m(colour);
    DrawRows(target, runs, dest, visible, false, [&m](std::uint32_t s, std::uint32_t d) { return BlendModulated(s, d, m); });
  } else if (unscaled) {
    DrawRows(target, runs, dest, visible, true, BlendUnmodulated);
  } else {
    const Modulation white(colour);
    DrawRows(target, runs, dest, visible, true,
             [&white](std::uint32_t s, std::uint32_t d) { return BlendModulated(s, d, white); });
  }
}

void SoftwareBlitter::DrawScaled(const BlitTarget& target, const AreaRuns& runs, int source_width, const Rect& dest,
                                 const Rect& visible, Argb colour) {
  const bool plain = colour == 0xFFFFFFFFu;
  const Modulation m(colour);
  // The source column of each visible pixel, and for each source column the
  // first visible pixel at or after it: a span's pixels are then looked up,
  // not searched. Sprites of one size follow each other, so the last tables
  // are often the ones needed.
  const int pixels = visible.width(), sw = source_width;
  const NearestSteps down(runs.height(), dest.height());
  const ColumnKey key{sw, dest.width(), visible.left - dest.left, pixels};
  if (!(key == column_key_)) {
    column_key_ = key;
    const NearestSteps across(sw, dest.width());
    columns_.resize(static_cast<std::size_t>(pixels));
    for (int i = 0; i < pixels; ++i) columns_[static_cast<std::size_t>(i)] = across.TexelOf(key.offset + i);
    firsts_.resize(static_cast<std::size_t>(sw) + 1);
    for (int t = 0, i = 0; t <= sw; ++t) {
      while (i < pixels && columns_[static_cast<std::size_t>(i)] < t) ++i;
      firsts_[static_cast<std::size_t>(t)] = i;
    }
  }
  const int* column = columns_.data();
  const int* firsts = firsts_.data();
  const auto source_row = [&](int y) { return down.TexelOf(y - dest.top); };
  const bool prefetch = pixels >= kPrefetchWidth;
  for (int y = visible.top; y < visible.bottom; ++y) {
    if (const int ahead = y + kRowsAhead; prefetch && ahead < visible.bottom) {
      const std::span<const TexelRun> next = runs.Row(source_row(ahead));
      if (!next.empty()) {
        Prefetch(TargetRow(target, ahead), visible.left + firsts[next.front().begin],
                 visible.left + firsts[next.back().end]);
      }
    }
    const int r = source_row(y);
    std::uint32_t* dst = TargetRow(target, y) + visible.left;
    for (const TexelRun& run : runs.Row(r)) {
      const int i0 = firsts[run.begin], i1 = firsts[run.end];
      if (i0 >= i1) continue;
      // Indexed by source column, which starts at run.begin.
      const std::uint32_t* src = runs.Texels(run);
      const int shift = run.begin;
      if (plain && run.opaque) {
        for (int i = i0; i < i1; ++i) dst[i] = src[column[i] - shift];
      } else {
        for (int i = i0; i < i1; ++i) dst[i] = BlendModulated(src[column[i] - shift], dst[i], m);
      }
    }
  }
}

}  // namespace tr
