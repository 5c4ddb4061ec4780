#include "app/map_skin.h"

#include <algorithm>
#include <optional>
#include <string>
#include <system_error>

#include "app/eyecandies.h"
#include "app/skin_rows.h"
#include "app/skin_tables.h"
#include "foundation/console_log.h"
#include "foundation/file_read.h"
#include "foundation/text_file.h"
#include "foundation/format.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "platform/font.h"
#include "platform/frame.h"
#include "world/gra.h"
#include "world/map_camera.h"

namespace tr {
namespace {

constexpr int kCitySectionRows = 18;
constexpr int kCitySections = 4;  // the fifth record is never read from the file

void ResetCityRecord(sCityAppearance& record) {
  record.threshold = -100;
  for (sAppearanceFont& f : record.fonts) {
    f.font.face.clear();
    f.object.reset();
  }
}

void SetCityValidity(sCityAppearance& record) {
  for (std::size_t k = 0; k < record.valid.size(); ++k) {
    const sPlacement& p = record.placement[k];
    bool ok = p[2] != 0 && p[3] != 0;
    if (k < 6) ok = ok && record.source[k].right != 0 && record.source[k].bottom != 0;
    if (k >= 6 && k <= 8) ok = ok && p[2] != p[0] && p[3] != p[1];
    record.valid[k] = ok ? 1 : 0;
  }
}

void ReadCityRow(sCityAppearance& record, int row, const std::vector<std::u16string>& fields,
                 const sSkinRowPlace& place) {
  if (row == 0) {
    record.threshold = fields.empty() ? 0 : ParseLeadingInt(fields[0]);
  } else if (row <= 12 && row % 2 == 1) {
    record.source[static_cast<std::size_t>((row - 1) / 2)] = PlacementToRect(ParseSkinIntRow(fields, true));
  } else if (row <= 12) {
    record.placement[static_cast<std::size_t>((row - 2) / 2)] = ParseSkinIntRow(fields, false);
  } else if (row <= 15) {
    record.placement[static_cast<std::size_t>(row - 7)] = ParseSkinIntRow(fields, true);
    record.fonts[static_cast<std::size_t>(row - 13)].font = ParseSkinUnitRow(fields, place);
  } else if (row < kCitySectionRows) {
    record.placement[static_cast<std::size_t>(row - 7)] = ParseSkinIntRow(fields, false);
  }
  // Rows past the eighteenth are not part of a section and are ignored.
}

}  // namespace

sMapSkinTextures& MapSkinTextures() {
  static sMapSkinTextures textures;
  return textures;
}

int SkinTextureLevels(int widthLimit) {
  AppFrame* frame = CurrentFrame();
  const int largest = frame != nullptr && frame->has_device() ? frame->graphics().max_texture_size() : 0;
  return largest > widthLimit ? 3 : 1;
}

bool LoadCityAppearance(const std::filesystem::path& file) {
  const std::optional<std::string> bytes = ReadTextFile(file);
  if (!bytes) return false;
  sSkinTables& tables = SkinTables();
  // Fonts of the old records go first, so a record the new file leaves out never keeps a stale font.
  for (sCityAppearance& record : tables.cities) {
    for (sAppearanceFont& f : record.fonts) f.object.reset();
  }
  tables.headerFont.object.reset();

  int section = -1;
  int row = 0;
  int lastFilled = -1;
  const std::u16string fileName = Utf8ToUtf16(file.string());
  int lineNo = 0;
  for (std::string_view whole : TextLineViews(std::string_view(*bytes))) {
    ++lineNo;
    const std::string line(whole.substr(0, 500));
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '#') {
      if (line.rfind("#AP", 0) == 0) {
        const std::vector<std::u16string> fields = SplitSkinLine(line);
        std::vector<std::u16string> rect(fields.begin() + 1, fields.end());
        tables.headerRect = PlacementToRect(ParseSkinIntRow(rect, true));
        tables.headerFont.font = ParseSkinFont(fields, 5, {fileName, lineNo});
      }
      if (section >= 0) SetCityValidity(tables.cities[static_cast<std::size_t>(section)]);
      ++section;
      row = 0;
      if (section >= kCitySections) break;
      continue;
    }
    if (section < 0) continue;
    ReadCityRow(tables.cities[static_cast<std::size_t>(section)], row, SplitSkinLine(line), {fileName, lineNo});
    lastFilled = section;
    ++row;
  }
  // A last section that no '#' line closes is still complete.
  if (section >= 0 && section < kCitySections) SetCityValidity(tables.cities[static_cast<std::size_t>(section)]);
  for (int i = lastFilled + 1; i < kCitySections; ++i) ResetCityRecord(tables.cities[static_cast<std::size_t>(i)]);
  CreateFontSets();
  SelectFontSetForZoom(gDisplayedScale);
  return true;
}

void LoadMapSkin(std::u16string_view name) {
  const std::u16string folder = Format(u"data\\gfx\\[MapSkin]%s", name);
  std::error_code error;
  if (std::filesystem::is_directory(ResolveGamePath(folder), error)) {
    const int levels = SkinTextureLevels(2048);
    sMapSkinTextures& skin = MapSkinTextures();
    skin.terrain.Release();
    skin.terrain.Load(folder + u"\\terrain.png", TextureHolder::kModeFile, levels);
    skin.others.Release();
    skin.others.Load(folder + u"\\others.png", TextureHolder::kModeFile, levels);
    skin.decorations.Release();
    skin.decorations.Load(folder + u"\\eyecandies.png", TextureHolder::kModeFile, levels);
    if (gGame != nullptr && gGame->map) {
      // A save names its scenario; a name that is not a folder name would
      // read pictures from outside the scenarios.
      if (IsSafeFileName(gGame->scenarioName)) {
        LoadEyecandies(*gGame->map, ResolveGamePath(Format(u"data\\scenarios\\%s", gGame->scenarioName)));
      } else {
        gGame->map->CreatePathCells();
        LogFormat(u"Save names the scenario \"%s\", which is not a folder name: no scenery loaded",
                  gGame->scenarioName);
      }
    }
    sSkinTables& tables = SkinTables();
    for (int i = 0; i < kSpriteDepthCount; ++i) {
      tables.depths[static_cast<std::size_t>(i)] = {2 * i, 1.0f - 0.02f * static_cast<float>(i)};
    }
    LoadSpriteDepths(ResolveGamePath(folder + u"\\sprites_depth.csv"));
  }
  const std::u16string appearance = folder + u"\\appearance.csv";
  LogLine(u"Opening file with cities appearance definition...");
  LogLine(appearance);
  LoadCityAppearance(ResolveGamePath(appearance));
}

}  // namespace tr
