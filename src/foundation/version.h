// The program's version, shown in the caption and stored in saved games.
#pragma once

namespace tr {

inline constexpr double kGameVersion = 1.02;
inline constexpr int kBuildNumber = 100;

}  // namespace tr
