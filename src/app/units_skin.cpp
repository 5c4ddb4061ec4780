#include "app/units_skin.h"

#include <system_error>

#include "app/map_skin.h"
#include "app/skin_rows.h"
#include "app/skin_tables.h"
#include "platform/font.h"
#include "foundation/console_log.h"
#include "foundation/csv_reader.h"
#include "foundation/format.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "world/gra.h"
#include "world/map_camera.h"

namespace tr {
namespace {

// Lines per record and the line of each kind of row, by table.
struct sTableLayout {
  int lines;
  int sources;
  int fontRowFirst;
  int fontRows;
  int extraFirst;  // first of the two further raw rows
};
constexpr sTableLayout kLayouts[kUnitTableCount] = {
    {25, 9, 20, 3, 23},
    {21, 7, 16, 3, 19},
    {13, 3, 9, 2, 11},
};

void ReadUnitLine(sUnitAppearance& record, const sTableLayout& layout, int line,
                  const std::vector<std::u16string>& fields, const sSkinRowPlace& place) {
  const int placementAfterSources = layout.sources;  // entries of rows without a source
  if (line == 0) {
    record.name = fields.empty() ? std::u16string() : fields[0];
  } else if (line == 1) {
    record.threshold = fields.empty() ? 0 : ParseLeadingInt(fields[0]);
  } else if (line < layout.fontRowFirst) {
    if (layout.lines == 13) {
      // Naval: rectangle and entry pairs for 0 to 2, then entry 3 alone on line 8.
      if (line == 8) {
        record.placement[3] = ParseSkinIntRow(fields, false);
      } else if (line % 2 == 0) {
        record.source[static_cast<std::size_t>((line - 2) / 2)] = PlacementToRect(ParseSkinIntRow(fields, true));
      } else {
        record.placement[static_cast<std::size_t>((line - 3) / 2)] = ParseSkinIntRow(fields, false);
      }
    } else if (line % 2 == 0) {
      record.source[static_cast<std::size_t>((line - 2) / 2)] = PlacementToRect(ParseSkinIntRow(fields, true));
    } else {
      record.placement[static_cast<std::size_t>((line - 3) / 2)] = ParseSkinIntRow(fields, false);
    }
  } else if (line < layout.fontRowFirst + layout.fontRows) {
    const int k = line - layout.fontRowFirst;
    const int entry = (layout.lines == 13 ? 4 : placementAfterSources) + k;
    record.placement[static_cast<std::size_t>(entry)] = ParseSkinIntRow(fields, true);
    record.fonts[static_cast<std::size_t>(k)].font = ParseSkinUnitRow(fields, place);
  } else {
    const int entry = (layout.lines == 13 ? 6 : placementAfterSources + 3) + (line - layout.extraFirst);
    record.placement[static_cast<std::size_t>(entry)] = ParseSkinIntRow(fields, false);
  }
}

void SetUnitValidity(sUnitAppearance& record, int sources) {
  for (std::size_t k = 0; k < record.valid.size(); ++k) {
    const sPlacement& p = record.placement[k];
    bool ok = p[2] != 0 && p[3] != 0;
    if (static_cast<int>(k) < sources) ok = ok && record.source[k].right != 0 && record.source[k].bottom != 0;
    record.valid[k] = ok ? 1 : 0;
  }
}

}  // namespace

sUnitsSkinTextures& UnitsSkinTextures() {
  static sUnitsSkinTextures textures;
  return textures;
}

void LoadUnitAppearanceTable(int table, const std::filesystem::path& file) {
  const sTableLayout& layout = kLayouts[table];
  auto& records = SkinTables().units[static_cast<std::size_t>(table)];
  for (sUnitAppearance& record : records) {
    record = sUnitAppearance{};
  }
  cCsvReader reader;
  int complete = 0;
  const std::u16string fileName = Utf8ToUtf16(file.string());
  if (!reader.LoadFile(fileName)) {
    LogLine(Format(u"ERROR during opening CSV file %s", fileName));
  } else {
    int line = 0;
    while (complete < kUnitAppearanceCount && !reader.AtEnd()) {
      // Comments and blank lines are not lines of a record.
      if (reader.ReadRecord(true) == 0 || (reader.fields.size() == 1 && reader.fields[0].empty())) continue;
      sUnitAppearance& record = records[static_cast<std::size_t>(complete)];
      ReadUnitLine(record, layout, line, reader.fields, {fileName, static_cast<int>(reader.RecordCount())});
      if (++line == layout.lines) {
        SetUnitValidity(record, layout.sources);
        ++complete;
        line = 0;
      }
    }
  }
  // Records that were not completed stay unloaded, whatever lines they got.
  for (int i = complete; i < kUnitAppearanceCount; ++i) {
    sUnitAppearance& record = records[static_cast<std::size_t>(i)];
    record.threshold = -100;
    record.valid.fill(0);
    for (sAppearanceFont& f : record.fonts) {
      f.font.face.clear();
      f.object.reset();
    }
  }
  SkinTables().activeUnit[static_cast<std::size_t>(table)] = &records[0];
}

void LoadUnitsSkin(std::u16string_view name) {
  const std::u16string folder = Format(u"data\\gfx\\[UnitsSkin]%s", name);
  std::error_code error;
  if (std::filesystem::exists(ResolveGamePath(folder + u"\\units.png"), error)) {
    sUnitsSkinTextures& skin = UnitsSkinTextures();
    skin.units.Release();
    skin.units.Load(folder + u"\\units.png", TextureHolder::kModeFile, SkinTextureLevels(1024));
    skin.info.Release();
    skin.info.Load(folder + u"\\info.png", TextureHolder::kModeFile, 1);
    if (gGame != nullptr) {
      for (auto& country : gGame->countries) country->LoadUnitsTexture(name);
    }
  }
  LoadUnitAppearanceTable(0, ResolveGamePath(folder + u"\\land_units.csv"));
  LoadUnitAppearanceTable(1, ResolveGamePath(folder + u"\\air_units.csv"));
  LoadUnitAppearanceTable(2, ResolveGamePath(folder + u"\\naval_units.csv"));
  CreateMapZoomFonts();
  SelectMapFontsForZoom(gDisplayedScale);
}

}  // namespace tr
