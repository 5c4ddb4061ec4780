#include "platform/texel_runs.h"

#include <algorithm>

namespace tr {
namespace {

// What areas may hold, in texels, before all are dropped and found again as
// they are drawn: a texture drawn from ever new areas or at ever new sizes
// must not grow without end, while the cells of a sheet, which do not
// overlap, fit at their own size and a smaller one.
std::size_t KeptLimit(int width, int height) {
  return 2 * static_cast<std::size_t>(width) * static_cast<std::size_t>(height) + 65536;
}

// A span costs about as much to keep as this many texels.
constexpr std::size_t kRunWeight = 4;

}  // namespace

void AreaRuns::EndRow(int r) {
  const auto end = static_cast<std::uint32_t>(runs_.size());
  if (end > rows_.back()) {
    const int left = runs_[rows_.back()].begin, right = runs_[end - 1].end;
    if (bounds_.empty()) {
      bounds_ = Rect{left, r, right, r + 1};
    } else {
      bounds_ = Rect{std::min(bounds_.left, left), bounds_.top, std::max(bounds_.right, right), r + 1};
    }
  }
  rows_.push_back(end);
}

std::size_t AreaRuns::Footprint() const { return texels_.size() + kRunWeight * (runs_.size() + rows_.size()); }

AreaRuns AreaRuns::OfPicture(const std::uint32_t* texels, int pitch, int width, int height) {
  AreaRuns runs;
  runs.rows_.reserve(static_cast<std::size_t>(std::max(height, 0)) + 1);
  runs.rows_.push_back(0);
  for (int r = 0; r < height; ++r) {
    TexelRuns::Scan(texels + static_cast<std::ptrdiff_t>(r) * pitch, width, runs.runs_, runs.texels_);
    runs.EndRow(r);
  }
  runs.runs_.shrink_to_fit();
  runs.texels_.shrink_to_fit();
  return runs;
}

void TexelRuns::Sync(const std::uint32_t* texels, int width, int height, std::uint64_t version) {
  if (texels == texels_ && width == width_ && height == height_ && version == version_) return;
  texels_ = texels;
  width_ = width;
  height_ = height;
  version_ = version;
  Forget();
}

void TexelRuns::Forget() {
  areas_.clear();
  scaled_.clear();
  recent_.fill(Recent{});
  kept_ = 0;
}

void TexelRuns::MakeRoom() {
  if (kept_ > KeptLimit(width_, height_)) Forget();
}

void TexelRuns::Count(const AreaRuns& runs) { kept_ += runs.Footprint(); }

const AreaRuns& TexelRuns::Of(const Rect& area) {
  // Kept among the recent ones with a size no scaled area has.
  const SizedArea key{area, -1, -1};
  const std::size_t hash = SizedAreaHash{}(key);
  if (const AreaRuns* recent = FindRecent(key, hash)) return *recent;
  if (areas_.find(area) == areas_.end()) MakeRoom();
  const AreaRuns& runs = Find(area);
  Remember(key, hash, &runs);
  return runs;
}

const AreaRuns& TexelRuns::Find(const Rect& area) {
  if (const auto found = areas_.find(area); found != areas_.end()) return found->second;
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
    runs.EndRow(r);
  }
  runs.runs_.shrink_to_fit();
  runs.texels_.shrink_to_fit();
  Count(runs);
  return runs;
}

const AreaRuns* TexelRuns::Scaled(const Rect& area, int width, int height) {
  if (width <= 0 || height <= 0 || area.empty()) return nullptr;
  const SizedArea key{area, width, height};
  const std::size_t hash = SizedAreaHash{}(key);
  if (const AreaRuns* recent = FindRecent(key, hash)) return recent;
  auto found = scaled_.find(key);
  if (found != scaled_.end() && found->second.found) {
    Remember(key, hash, &found->second.runs);
    return &found->second.runs;
  }
  if (found == scaled_.end()) {
    MakeRoom();
    scaled_.emplace(key, ScaledRuns{});
    kept_ += kRunWeight;
    return nullptr;
  }
  const AreaRuns& from = Find(area);
  ScaledRuns& entry = found->second;
  AreaRuns& to = entry.runs;
  const NearestSteps across(area.width(), width), down(area.height(), height);
  to.rows_.reserve(static_cast<std::size_t>(height) + 1);
  to.rows_.push_back(0);
  for (int j = 0; j < height; ++j) {
    const std::size_t row_start = to.runs_.size();
    for (const TexelRun& run : from.Row(down.TexelOf(j))) {
      const int i0 = std::min(across.FirstPixelAt(run.begin), width);
      const int i1 = std::min(across.FirstPixelAt(run.end), width);
      if (i0 >= i1) continue;
      const std::uint32_t* texels = from.Texels(run);
      // A span whose neighbour vanished between pixel centres joins the span before it.
      if (to.runs_.size() > row_start && to.runs_.back().end == i0 && to.runs_.back().opaque == run.opaque) {
        to.runs_.back().end = i1;
      } else {
        to.runs_.push_back(TexelRun{i0, i1, static_cast<std::uint32_t>(to.texels_.size()), run.opaque});
      }
      for (int i = i0; i < i1; ++i) to.texels_.push_back(texels[across.TexelOf(i) - run.begin]);
    }
    to.EndRow(j);
  }
  to.runs_.shrink_to_fit();
  to.texels_.shrink_to_fit();
  entry.found = true;
  Count(to);
  Remember(key, hash, &to);
  return &to;
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
