// A hex with a number: a step of a unit's path (value = action-point cost) or
// a hex whose controller a move changed (value = previous controller).
#pragma once

#include <cstdint>
#include <vector>

namespace tr {

struct sHexEntry {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t value = 0;
  friend bool operator==(const sHexEntry&, const sHexEntry&) = default;
};

using HexEntryList = std::vector<sHexEntry>;

inline void PushBackHexEntry(HexEntryList& list, int x, int y, int value) { list.push_back({x, y, value}); }

}  // namespace tr
