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

// Fill one hex from one record. Both leave x and y at -1 (the caller stores
// the column and row) and reset the runtime members.
void ReadQelHexRecord(sHex& hex, std::string_view record);
void ReadHmfHexRecord(sHex& hex, std::string_view record);
void AppendQelHexRecord(std::string& out, const sHex& hex);

}  // namespace tr
