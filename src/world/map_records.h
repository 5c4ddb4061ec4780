// The hex records of the map files: the program's own format "Qelv1"
// ("map.qel") and the older hex-map format ("map.hmf").
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "world/hex.h"

namespace tr {

inline constexpr std::size_t kQelHeaderSize = 268;
inline constexpr std::size_t kQelRecordSize = 37;
inline constexpr std::size_t kHmfHeaderSize = 4148;
inline constexpr std::size_t kHmfRecordSize = 20;

// The highest fort level: events raise a fort no higher, and an air strike
// on a hex takes the level as a share of its effect.
inline constexpr int kMaxFortLevel = 9;
// Weather codes run 0 clear, 1 winter, 2 mud; chances are percentages.
inline constexpr int kMaxWeatherCode = 2;
inline constexpr int kMaxChancePercent = 100;

// Fill one hex from one record. Both leave x and y at -1 (the caller stores
// the column and row) and reset the runtime members.
void ReadQelHexRecord(sHex& hex, std::string_view record);
void ReadHmfHexRecord(sHex& hex, std::string_view record);
void AppendQelHexRecord(std::string& out, const sHex& hex);

// Holds the fields of a hex read from the map file at `path` to what the
// rules accept: a fort above the highest level, a weather code beyond mud and
// a chance above 100 percent are brought within, each with a line naming the
// file and the hex. The countries are checked once they are loaded.
void HoldQelHexRecord(sHex& hex, std::u16string_view path);

}  // namespace tr
