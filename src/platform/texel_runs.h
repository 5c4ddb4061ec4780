// Where an area of a texture can be seen: for each row, the spans of texels
// that are not fully transparent, each span either wholly opaque or wholly of
// partial alpha, with a packed copy of their texels. The software blitter
// skips what lies between the spans, copies the opaque ones and blends only
// the rest: most map sprites are largely clear. Sprites are drawn from a few
// areas (the cells of a sheet, the glyphs of a font) over and over, so each
// area is looked at once and kept until the texels change; its packed texels
// lie together in memory, where the rows of a large sheet lie far apart.
// An area drawn again and again at one other size (every hex of a zoomed-out
// map) keeps its spans at that size too, sampled once.
// Main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "platform/geometry.h"

namespace tr {

// Nearest texels sampled at pixel centres in 16.16 steps, as SDL's scaler
// does: pixel i of a run of pixels shows texel TexelOf(i).
class NearestSteps {
 public:
  NearestSteps(int texels, int pixels)
      : inc_((static_cast<std::uint64_t>(texels) << 16) / static_cast<std::uint64_t>(pixels)) {}
  int TexelOf(int pixel) const {
    return static_cast<int>((inc_ / 2 + static_cast<std::uint64_t>(pixel) * inc_) >> 16);
  }
  // The first pixel showing texel t or one beyond it.
  int FirstPixelAt(int t) const {
    const std::uint64_t goal = static_cast<std::uint64_t>(t) << 16;
    return goal <= inc_ / 2 ? 0 : static_cast<int>((goal - inc_ / 2 + inc_ - 1) / inc_);
  }

 private:
  std::uint64_t inc_;
};

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
  int height() const { return static_cast<int>(rows_.size()) - 1; }
  // The texels of a span, from its first: Texels(run)[t - run.begin] is the texel at column t.
  const std::uint32_t* Texels(const TexelRun& run) const { return texels_.data() + run.first; }
  // About what the spans cost to keep, in texels.
  std::size_t Footprint() const;

  // The spans of a whole picture of width x height texels, `pitch` texels a row.
  static AreaRuns OfPicture(const std::uint32_t* texels, int pitch, int width, int height);

 private:
  friend class TexelRuns;
  std::vector<std::uint32_t> rows_;  // row r holds runs_[rows_[r]] up to runs_[rows_[r + 1]]
  std::vector<TexelRun> runs_;
  std::vector<std::uint32_t> texels_;
  Rect bounds_;

  // Closes row r, whose spans are those added since the last row.
  void EndRow(int r);
};

class TexelRuns {
 public:
  // Points at the texels a texture has now; areas found before are forgotten
  // when the version, the place or the size differ from the last call.
  void Sync(const std::uint32_t* texels, int width, int height, std::uint64_t version);

  // The spans of an area that lies inside the texture, found at its first use
  // after a change. The reference holds until the next call of Sync, Of or Scaled.
  const AreaRuns& Of(const Rect& area);

  // The spans of the area drawn at width x height pixels (TexelOf in both
  // directions), counted in pixels: null the first time a size is asked for,
  // as a size seen once may never come back, then found and kept. The
  // pointer holds until the next call of Sync, Of or Scaled.
  const AreaRuns* Scaled(const Rect& area, int width, int height);

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

  struct SizedArea {
    Rect area;
    int width = 0;
    int height = 0;
    bool operator==(const SizedArea&) const = default;
  };
  struct SizedAreaHash {
    std::size_t operator()(const SizedArea& a) const {
      return RectHash{}(a.area) * 31 + static_cast<std::size_t>(a.width) * 0x10001u + static_cast<std::size_t>(a.height);
    }
  };
  struct ScaledRuns {
    bool found = false;  // false while the size was asked for once only
    AreaRuns runs;
  };

  // The areas asked for last, by a hash of their key: the maps cost more to search.
  struct Recent {
    SizedArea key;
    const AreaRuns* runs = nullptr;
  };
  static constexpr std::size_t kRecent = 512;
  const AreaRuns* FindRecent(const SizedArea& key, std::size_t hash) const {
    const Recent& r = recent_[hash % kRecent];
    return r.runs != nullptr && r.key == key ? r.runs : nullptr;
  }
  void Remember(const SizedArea& key, std::size_t hash, const AreaRuns* runs) {
    recent_[hash % kRecent] = Recent{key, runs};
  }
  void Forget();

  // Drops every area when they hold too much.
  void MakeRoom();
  const AreaRuns& Find(const Rect& area);
  void Count(const AreaRuns& runs);

  const std::uint32_t* texels_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  std::uint64_t version_ = 0;
  std::unordered_map<Rect, AreaRuns, RectHash> areas_;
  std::unordered_map<SizedArea, ScaledRuns, SizedAreaHash> scaled_;
  std::array<Recent, kRecent> recent_{};
  std::size_t kept_ = 0;  // texels and spans held by areas_ and scaled_
};

}  // namespace tr
