#include "app/skin_tables.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "foundation/file_read.h"
#include "foundation/number_text.h"
#include "foundation/text_file.h"
#include "foundation/settings.h"
#include "platform/font.h"

namespace tr {
namespace {

void MakeFont(sAppearanceFont& f) {
  // A record without a face has nothing to draw with; Font::Create would log a miss.
  f.object = f.font.face.empty() ? nullptr : Font::Create(f.font.face, f.font.height, f.font.weight);
}

// Every record of the list whose threshold exceeds z becomes the chosen one; the last wins.
template <typename Records, typename Active>
void PickForZoom(Records& records, Active*& active, float zoom) {
  const int z = static_cast<int>(std::trunc(zoom * 100.0f));
  for (auto& record : records) {
    if (record.threshold > z) active = &record;
  }
}

}  // namespace

sSkinTables& SkinTables() {
  static sSkinTables tables;
  return tables;
}

void CreateMapZoomFonts() {
  for (auto& table : SkinTables().units) {
    for (sUnitAppearance& record : table) {
      if (record.threshold <= 0) continue;
      for (sAppearanceFont& f : record.fonts) MakeFont(f);
    }
  }
}

void CreateFontSets() {
  sSkinTables& tables = SkinTables();
  for (sCityAppearance& record : tables.cities) {
    if (record.threshold <= 0) continue;
    for (sAppearanceFont& f : record.fonts) MakeFont(f);
  }
  MakeFont(tables.headerFont);
}

void ReleaseAppearanceFonts() {
  sSkinTables& tables = SkinTables();
  for (auto& table : tables.units) {
    for (sUnitAppearance& record : table) {
      for (sAppearanceFont& f : record.fonts) f.object.reset();
    }
  }
  for (sCityAppearance& record : tables.cities) {
    for (sAppearanceFont& f : record.fonts) f.object.reset();
  }
  tables.headerFont.object.reset();
}

void SelectMapFontsForZoom(float zoom) {
  if (!gDynamicUnitAppearance) return;
  sSkinTables& tables = SkinTables();
  for (int t = 0; t < kUnitTableCount; ++t) {
    PickForZoom(tables.units[static_cast<std::size_t>(t)], tables.activeUnit[static_cast<std::size_t>(t)], zoom);
  }
}

void SelectFontSetForZoom(float zoom) {
  sSkinTables& tables = SkinTables();
  PickForZoom(tables.cities, tables.activeCity, zoom);
}

void LoadSpriteDepths(const std::filesystem::path& file) {
  const std::optional<std::string> bytes = ReadTextFile(file);
  if (!bytes) return;
  int row = 0;
  for (std::string_view whole : TextLineViews(std::string_view(*bytes))) {
    if (row >= kSpriteDepthCount) break;
    const std::string line(whole.substr(0, 500));
    // Comments and blank lines are not rows.
    if (TrimBlanks(line).empty() || line[0] == '#') continue;
    // A first field without a number counts as 0, as it always has.
    const int value = std::min(ParseLeadingInt(line), 39);
    SkinTables().depths[static_cast<std::size_t>(row)] = {value, static_cast<float>(39 - value) / 100.0f + 0.6f};
    ++row;
  }
}

}  // namespace tr
