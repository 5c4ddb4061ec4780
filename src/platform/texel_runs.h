// Where an area of a texture can be seen: for each row, the spans of texels
// that are not fully transparent, each span either wholly opaque or wholly of
// partial alpha, with a packed copy of their texels. The software blitter
// skips what lies between the spans, copies the opaque ones and blends only
// the rest: most map sprites are largely clear. Sprites are drawn from a few
// areas (the cells of a sheet, the glyphs of a font) over and over, so each
// area is looked at once and kept until the texels change; its packed texels
// lie together in memory, where the rows of a large sheet lie far apart.
// Main thread only.
#pragma once

#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "platform/geometry.h"

namespace tr {

struct TexelRun {
  std::int32_t begin = 0;   // first texel of the span, counted from the area's left edge
  std::int32_t end = 0;     // one past the last
  std::uint32_t first = 0;  // where the span's texels start in the packed copy
  bool opaque = false;      // every texel has alpha 255; otherwise every one has alpha 1..254
  bool operator==(const TexelRun&) const = default;
};

// The spans of one area, row by row.
class AreaRuns {
 public:
  // Row r of the area (0 <= r < its height), left to right.
  std::span<const TexelRun> Row(int r) const {
    const auto i = static_cast<std::size_t>(r);
    return std::span<const TexelRun>(runs_).subspan(rows_[i], rows_[i + 1] - rows_[i]);
  }
  // The smallest rectangle holding every span, counted from the area's
  // top-left corner; empty when nothing of the area can be seen.
  const Rect& bounds() const { return bounds_; }
  // The texels of a span, from its first: Texels(run)[t - run.begin] is the texel at column t.
  const std::uint32_t* Texels(const TexelRun& run) const { return texels_.data() + run.first; }

 private:
  friend class TexelRuns;
  std::vector<std::uint32_t> rows_;  // row r holds runs_[rows_[r]] up to runs_[rows_[r + 1]]
  std::vector<TexelRun> runs_;
  std::vector<std::uint32_t> texels_;
  Rect bounds_;
};

class TexelRuns {
 public:
  // Points at the texels a texture has now; areas found before are forgotten
  // when the version, the place or the size differ from the last call.
  void Sync(const std::uint32_t* texels, int width, int height, std::uint64_t version);

  // The spans of an area that lies inside the texture, found at its first use
  // after a change. The reference holds until the next Sync or Of call.
  const AreaRuns& Of(const Rect& area);

  // Appends the spans of a row of texels to out, counted from the row's
  // start, and their texels to packed.
  static void Scan(const std::uint32_t* row, int width, std::vector<TexelRun>& out,
                   std::vector<std::uint32_t>& packed);

 private:
  struct RectHash {
    std::size_t operator()(const Rect& r) const {
      std::uint64_t h = static_cast<std::uint32_t>(r.left);
      for (std::int32_t v : {r.top, r.right, r.bottom}) h = h * 0x9E3779B97F4A7C15ull + static_cast<std::uint32_t>(v);
      return static_cast<std::size_t>(h ^ (h >> 29));
    }
  };

  const std::uint32_t* texels_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  std::uint64_t version_ = 0;
  std::unordered_map<Rect, AreaRuns, RectHash> areas_;
  std::size_t kept_ = 0;  // texels and spans held by areas_
};

}  // namespace tr
