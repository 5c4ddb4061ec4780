// The program's version, shown in the caption and stored in saved games.
#pragma once

#include <cmath>

namespace tr {

inline constexpr double kGameVersion = 1.02;
inline constexpr int kBuildNumber = 100;

// Whether a save's version, as Info.ini gives it back, is one before this
// program's. The versions are written to two decimals: a save of this very
// program reads back as 1.02f, which is not quite the double 1.02.
inline bool IsOlderThanProgram(float gameVersion) {
  return std::lround(kGameVersion * 100.0) > std::lround(static_cast<double>(gameVersion) * 100.0);
}

}  // namespace tr
