#include "app/eyecandies.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "app/map_skin.h"
#include "foundation/console_log.h"
#include "foundation/file_read.h"
#include "foundation/number_text.h"
#include "foundation/text_file.h"
#include "foundation/format.h"
#include "foundation/text.h"
#include "world/map.h"

namespace tr {
namespace {

constexpr int kCell = 167;

// The leading decimal integer of a field, or false.
bool ParseField(std::string_view text, int& out, std::string& error) {
  const std::optional<std::int64_t> value = LeadingWhole(text);
  if (!value || *value > std::numeric_limits<int>::max() || *value < std::numeric_limits<int>::min()) {
    error = "bad lexical cast: source type value could not be interpreted as target";
    return false;
  }
  out = static_cast<int>(*value);
  return true;
}

}  // namespace

void LoadEyecandies(cMap& map, const std::filesystem::path& scenarioFolder) {
  map.CreatePathCells();
  if (MapSkinTextures().decorations.GetTexture() == nullptr) return;
  const std::u16string folder = Utf8ToUtf16(scenarioFolder.generic_string());
  const std::optional<std::string> bytes = ReadTextFile(scenarioFolder / "eyecandies.csv");
  if (!bytes) {
    LogLine(Format(u"ERROR unable to load eyecandies data from %s/eyecandies.csv", folder));
    return;
  }
  for (std::string_view view : TextLineViews(std::string_view(*bytes))) {
    const std::string line(view);
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    for (std::size_t start = 0;;) {
      const std::size_t end = line.find(';', start);
      fields.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
      if (end == std::string::npos) break;
      start = end + 1;
    }
    // Every source field is needed: a short line would leave a picture without a cell.
    if (fields.size() < 9) {
      LogLine(Format(u"WARNING incorrect entry in %s/eyecandies.csv:\n%s", folder, CodePageToUtf16(line)));
      continue;
    }
    int v[9] = {};
    std::string error;
    bool ok = true;
    for (int i = 0; i < 9 && ok; ++i) ok = ParseField(fields[static_cast<std::size_t>(i)], v[i], error);
    if (!ok) {
      LogLine(Format(u"ERROR incorrect entry data format in %s/eyecandies.csv: %s", folder, AsciiToUtf16(error)));
      continue;
    }
    if (!map.IsInside(v[0], v[1])) {
      LogLine(Format(u"WARNING incorrect entry in %s/eyecandies.csv:\n%s", folder, CodePageToUtf16(line)));
      continue;
    }
    sHexPathCell& cell = map.PathCells()[static_cast<std::size_t>(v[1]) * map.GetWidth() + v[0]];
    for (int k = 0; k < 3; ++k) {
      cell.texture[static_cast<std::size_t>(k)] = {v[3 + 2 * k] * kCell + 1, v[4 + 2 * k] * kCell + 1};
    }
    cell.depth = static_cast<float>(39 - v[2]) / 100.0f + 0.6f;
    cell.layer = v[2];
  }
}

}  // namespace tr
