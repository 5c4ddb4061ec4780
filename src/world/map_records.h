// The hex records of the map files: the program's own format "Qelv1"
// ("map.qel") and the older hex-map format ("map.hmf").
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "world/hex.h"
#include "world/value_limits.h"

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

// Holds the fields of a hex read from the map file at `path` to what the
// rules accept: a weather code beyond mud, a chance above 100 percent, an
// unknown terrain, variant or river bit are brought within, each with a line
// naming the file and the hex. A fort keeps
// any level, as an event may set one past the scale. The countries are checked once they are loaded.
void HoldQelHexRecord(sHex& hex, std::u16string_view path);
// The same hex record of a save's map, the record `index` (from 0) of the
// hex (x, y): a value of a field beyond what the game writes there refuses
// the load (RefuseDamagedTable), naming the file, the hex and the field.
void RefuseUnwrittenQelHex(std::string_view record, int x, int y, int index, std::u16string_view path);

}  // namespace tr
