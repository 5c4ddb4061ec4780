// The row parsers shared by the map and units skin loaders: four integers of
// a rectangle row and the font of a font row, both tolerant of short rows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/skin_tables.h"
#include "foundation/gui_layout.h"
#include "platform/geometry.h"

namespace tr {

// The first four fields as integers (a field without leading digits, or a
// missing one, counts as 0). With relative set, (x, y, width, height) becomes
// (left, top, right, bottom).
sPlacement ParseSkinIntRow(const std::vector<std::u16string>& fields, bool relative);
inline Rect PlacementToRect(const sPlacement& p) { return Rect{p[0], p[1], p[2], p[3]}; }

// Where a skin row came from, named by the log lines of its bad values.
struct sSkinRowPlace {
  std::u16string_view file;
  int line = 0;
};

// The font of a row whose fields from `first` on are: face, height, weight
// (stored as value x 8 + 100), red, green, blue, then the second colour's red,
// green and blue. Colours become 0xFFRRGGBB; missing fields read as 0 or empty.
// A height beyond kMaxGuiFontHeight either way is logged and read as 0.
sGuiFont ParseSkinFont(const std::vector<std::u16string>& fields, std::size_t first, const sSkinRowPlace& place);
// A unit font row: the font starts at the fifth field.
inline sGuiFont ParseSkinUnitRow(const std::vector<std::u16string>& fields, const sSkinRowPlace& place) {
  return ParseSkinFont(fields, 4, place);
}

// Splits an 8-bit line at ';' into UTF-16 fields (empty fields kept).
std::vector<std::u16string> SplitSkinLine(const std::string& line);

}  // namespace tr
