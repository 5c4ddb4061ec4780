// Conversion of a map of the older hex-map format ("map.hmf") with the
// weather tables beside it into the running game's map, saved as
// "output_map.qel".
#include <algorithm>
#include <optional>

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "world/byte_io.h"
#include "world/file_io.h"
#include "world/folder_path.h"
#include "world/map.h"
#include "world/map_records.h"

namespace tr {
namespace {

constexpr int kMaxSide = 32767;

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t semicolon = line.find(';', start);
    fields.push_back(line.substr(start, semicolon - start));
    if (semicolon == std::string_view::npos) break;
    start = semicolon + 1;
  }
  return fields;
}

void LogSkippedLine(std::u16string_view path, int lineNo) {
  LogFormat(u"WARNING: line %i in file %s has too few fields or a field that is not a number, skipped",
            lineNo, path);
}

// Calls apply(fields, line number) for every data line of a table.
template <typename Apply>
void ForEachTableLine(std::u16string_view path, Apply apply) {
  const std::optional<std::string> file = ReadTextFile(ResolveGamePath(path));
  if (!file) {
    LogLine(u"ERROR: file does not exist");
    return;
  }
  int lineNo = 0;
  for (const sTextLine& line : SplitTextLines(*file)) {
    ++lineNo;
    if (TrimBlanks(line.text).empty() || line.text.front() == '#') continue;
    apply(SplitFields(line.text), lineNo);
  }
}

void ApplyWeatherTable(cMap& map, std::u16string_view path) {
  ForEachTableLine(path, [&](const std::vector<std::string_view>& f, int lineNo) {
    std::optional<int> v[4];
    for (std::size_t i = 0; i < 4 && i < f.size(); ++i) v[i] = WholeNumber(f[i]);
    if (f.size() < 4 || !v[0] || !v[1] || !v[2] || !v[3] || *v[2] < 0 || *v[2] > 2) {
      LogSkippedLine(path, lineNo);
      return;
    }
    if (!map.IsInside(*v[0], *v[1])) {
      LogFormat(u"WARNING: line %i in file %s names hex (%i, %i) outside the map, skipped", lineNo,
                path, *v[0], *v[1]);
      return;
    }
    sHex& hex = *map.GetHex(*v[0], *v[1]);
    hex.weather = *v[2];
    hex.takesWeather = *v[3] == 1 ? 1 : 0;
  });
}

// Adds the twelve monthly chances of each rectangle line to the chosen chances
// of its hexes (x0..x1 inclusive, y0 up to but not including y1). A chance
// stops at 0 and 255 instead of wrapping round.
void ApplyAreaTable(cMap& map, std::u16string_view path,
                    std::array<std::uint8_t, kMonthsPerYear> sHex::*chances) {
  ForEachTableLine(path, [&](const std::vector<std::string_view>& f, int lineNo) {
    constexpr std::size_t kFields = 4 + kMonthsPerYear;
    if (f.size() < kFields) return LogSkippedLine(path, lineNo);
    std::optional<int> corner[4];
    for (int i = 0; i < 4; ++i) corner[i] = WholeNumber(f[i]);
    if (!corner[0] || !corner[1] || !corner[2] || !corner[3]) return LogSkippedLine(path, lineNo);
    std::array<int, kMonthsPerYear> add{};
    bool emptyField = false;
    for (int m = 0; m < kMonthsPerYear; ++m) {
      const std::string_view field = TrimBlanks(f[4 + m]);
      if (field.empty()) {
        emptyField = true;
        continue;
      }
      const std::optional<int> value = WholeNumber(field);
      if (!value) return LogSkippedLine(path, lineNo);
      add[m] = *value;
    }
    if (emptyField) LogFormat(u"WARNING: empty field in file %s (line %i)", path, lineNo);
    const int x0 = std::max(*corner[0], 0), x1 = std::min(*corner[2], map.GetWidth() - 1);
    const int y0 = std::max(*corner[1], 0), y1 = std::min(*corner[3], map.GetHeight());
    for (int x = x0; x <= x1; ++x) {
      for (int y = y0; y < y1; ++y) {
        auto& table = map.GetHex(x, y)->*chances;
        for (int m = 0; m < kMonthsPerYear; ++m) {
          table[m] = static_cast<std::uint8_t>(std::clamp(table[m] + add[m], 0, 255));
        }
      }
    }
  });
}

}  // namespace

void cMap::ConvertHmfMap(std::u16string_view pathTemplate) {
  LogLine(u"------ Converting HMF map to QEL ------");
  const std::u16string path = FolderFilePath(pathTemplate, u"map.hmf");
  const std::optional<std::string> file = ReadWholeFile(ResolveGamePath(path), kMapFileBudget);
  if (!file) {
    LogFormat(u"Loading from %s... FAILED", path);
    FatalExit(1);
  }
  const std::string_view bytes = *file;
  if (bytes.size() < kHmfHeaderSize) {
    LogLine(u"ERROR: Wrong map file version");
    FatalExit(1);
  }
  const std::uint32_t width = ReadU32(bytes, 4132);
  const std::uint32_t height = ReadU32(bytes, 4136);
  LogFormat(u"Map size: %ix%i", width, height);
  LogLine(u"Loading hexes data...");
  if (width == 0 || height == 0) {
    // The weather tables would otherwise act on the old hexes.
    LogLine(u"ERROR: map cannot have 0 heigth or 0 width!");
    return;
  }
  if (width > kMaxSide || height > kMaxSide) {
    LogFormat(u"ERROR: Map size %ix%i is too large", width, height);
    return;
  }
  const std::size_t count = static_cast<std::size_t>(width) * height;
  if (bytes.size() < kHmfHeaderSize + count * kHmfRecordSize) {
    LogLine(u"ERROR: Wrong map file version");
    FatalExit(1);
  }
  const bool resized = static_cast<int>(width) != width_ || static_cast<int>(height) != height_;
  SetWidth(static_cast<int>(width));
  SetHeight(static_cast<int>(height));
  ReplaceHexes(width_, height_);
  std::size_t at = kHmfHeaderSize;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x, at += kHmfRecordSize) {
      sHex& hex = *GetHex(x, y);
      ReadHmfHexRecord(hex, bytes.substr(at, kHmfRecordSize));
      hex.x = static_cast<std::int16_t>(x);
      hex.y = static_cast<std::int16_t>(y);
    }
  }
  MarkRiverMouths();
  PropagateSeaZonesToCoast();
  if (resized) {
    // Per-hex tables of the old size would be read past their end.
    CreatePathCells();
    RunMapOperation([this] { CreateFrontNodeGrid(); });
    frontNodeDistance_ = -1;
    frontNodes_.clear();
  }

  LogLine(u"Loading weather state from weather.csv");
  ApplyWeatherTable(*this, FolderFilePath(pathTemplate, u"weather.csv"));
  LogLine(u"Loading winter_area.csv");
  ApplyAreaTable(*this, FolderFilePath(pathTemplate, u"winter_area.csv"), &sHex::winterChance);
  LogLine(u"Loading mud_area.csv");
  ApplyAreaTable(*this, FolderFilePath(pathTemplate, u"mud_area.csv"), &sHex::mudChance);
  Save(u"", pathTemplate);
}

}  // namespace tr
