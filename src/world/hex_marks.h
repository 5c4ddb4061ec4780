// A set of the map's hexes, by index y x width + x, that empties in constant
// time: searches run thousands of times an impulse, and a hash set would
// allocate for every hex they list. Each user keeps one (per thread); a new
// set is a new mark value over the same grid.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tr {

class cHexMarks {
 public:
  // An empty set for a map of width x height hexes.
  void Reset(int width, int height) {
    const std::size_t count = static_cast<std::size_t>(std::max(width, 0)) * static_cast<std::size_t>(std::max(height, 0));
    if (marks_.size() != count) {
      marks_.assign(count, 0);
      mark_ = 0;
    }
    if (++mark_ == 0) {
      std::fill(marks_.begin(), marks_.end(), 0);
      mark_ = 1;
    }
  }
  // False when the hex was in the set already.
  bool Insert(std::size_t index) {
    if (marks_[index] == mark_) return false;
    marks_[index] = mark_;
    return true;
  }
  void InsertRun(std::size_t first, std::size_t count) { std::fill_n(marks_.begin() + first, count, mark_); }
  bool Contains(std::size_t index) const { return marks_[index] == mark_; }

 private:
  std::vector<std::uint32_t> marks_;
  std::uint32_t mark_ = 0;
};

}  // namespace tr
