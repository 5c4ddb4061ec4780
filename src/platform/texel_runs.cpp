#include "platform/texel_runs.h"

#include <algorithm>

namespace tr {
namespace {

// What areas may hold, in texels, before all are dropped and found again as
// they are drawn: a texture drawn from ever new areas must not grow without
// end, while the areas of a sheet's cells, which do not overlap, always fit.
std::size_t KeptLimit(int width, int height) {
  return 2 * static_cast<std::size_t>(width) * static_cast<std::size_t>(height) + 65536;
}

// A span costs about as much to keep as this many texels.
constexpr std::size_t kRunWeight = 4;

}  // namespace

void TexelRuns::Sync(const std::uint32_t* texels, int width, int height, std::uint64_t version) {
  if (texels == texels_ && width == width_ && height == height_ && version == version_) return;
  texels_ = texels;
  width_ = width;
  height_ = height;
  version_ = version;
  areas_.clear();
  kept_ = 0;
}

const AreaRuns& TexelRuns::Of(const Rect& area) {
  if (const auto found = areas_.find(area); found != areas_.end()) return found->second;
  if (kept_ > KeptLimit(width_, height_)) {
    areas_.clear();
    kept_ = 0;
  }
  AreaRuns& runs = areas_[area];
  const Rect inside = Intersect(area, Rect{0, 0, width_, height_});
  const int rows = std::max(area.height(), 0);
  runs.rows_.reserve(static_cast<std::size_t>(rows) + 1);
  runs.rows_.push_back(0);
  for (int r = 0; r < rows; ++r) {
    const int y = area.top + r;
    if (y >= inside.top && y < inside.bottom && !inside.empty()) {
      const std::size_t first = runs.runs_.size();
      Scan(texels_ + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + inside.left, inside.width(),
           runs.runs_, runs.texels_);
      // Counted from the area's left edge, which may lie outside the texture.
      for (std::size_t i = first; i < runs.runs_.size(); ++i) {
        runs.runs_[i].begin += inside.left - area.left;
        runs.runs_[i].end += inside.left - area.left;
      }
    }
    const std::uint32_t end = static_cast<std::uint32_t>(runs.runs_.size());
    if (end > runs.rows_.back()) {
      Rect& b = runs.bounds_;
      const TexelRun &leftmost = runs.runs_[runs.rows_.back()], &rightmost = runs.runs_[end - 1];
      if (b.empty()) {
        b = Rect{leftmost.begin, r, rightmost.end, r + 1};
      } else {
        b = Rect{std::min(b.left, leftmost.begin), b.top, std::max(b.right, rightmost.end), r + 1};
      }
    }
    runs.rows_.push_back(end);
  }
  runs.runs_.shrink_to_fit();
  runs.texels_.shrink_to_fit();
  kept_ += runs.texels_.size() + kRunWeight * (runs.runs_.size() + runs.rows_.size());
  return runs;
}

void TexelRuns::Scan(const std::uint32_t* row, int width, std::vector<TexelRun>& out,
                     std::vector<std::uint32_t>& packed) {
  int x = 0;
  while (x < width) {
    const std::uint32_t alpha = row[x] >> 24;
    if (alpha == 0) {
      ++x;
      continue;
    }
    const bool opaque = alpha == 255;
    const int begin = x++;
    while (x < width) {
      const std::uint32_t a = row[x] >> 24;
      if (a == 0 || (a == 255) != opaque) break;
      ++x;
    }
    out.push_back(TexelRun{begin, x, static_cast<std::uint32_t>(packed.size()), opaque});
    packed.insert(packed.end(), row + begin, row + x);
  }
}

}  // namespace tr
