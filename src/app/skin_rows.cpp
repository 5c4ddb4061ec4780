#include "app/skin_rows.h"

#include <cstdint>

#include "foundation/console_log.h"
#include "foundation/number_text.h"
#include "foundation/text.h"

namespace tr {

sPlacement ParseSkinIntRow(const std::vector<std::u16string>& fields, bool relative) {
  sPlacement out{};
  if (fields.size() < 4) return out;
  for (std::size_t i = 0; i < 4; ++i) out[i] = ParseLeadingInt(fields[i]);
  if (relative) {
    out[2] += out[0];
    out[3] += out[1];
  }
  return out;
}

sGuiFont ParseSkinFont(const std::vector<std::u16string>& fields, std::size_t first, const sSkinRowPlace& place) {
  auto at = [&](std::size_t i) { return first + i < fields.size() ? ParseLeadingInt(fields[first + i]) : 0; };
  auto colour = [&](std::size_t i) {
    return 0xFF000000u | (static_cast<std::uint32_t>(at(i) & 0xFF) << 16) |
           (static_cast<std::uint32_t>(at(i + 1) & 0xFF) << 8) | static_cast<std::uint32_t>(at(i + 2) & 0xFF);
  };
  sGuiFont font;
  if (first < fields.size()) font.face = fields[first];
  font.height = at(1);
  if (font.height < -kMaxGuiFontHeight || font.height > kMaxGuiFontHeight) {
    LogFormat(u"Skin \"%s\", line %i: font height %i is outside %i to %i, 0 used", std::u16string(place.file),
              place.line, font.height, -kMaxGuiFontHeight, kMaxGuiFontHeight);
    font.height = 0;
  }
  font.weight = at(2) * 8 + 100;
  font.color = colour(3);
  font.color2 = colour(6);
  return font;
}

std::vector<std::u16string> SplitSkinLine(const std::string& line) {
  std::vector<std::u16string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = line.find(';', start);
    fields.push_back(CodePageToUtf16(line.substr(start, end == std::string::npos ? std::string::npos : end - start)));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return fields;
}

}  // namespace tr
