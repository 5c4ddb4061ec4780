#include "foundation/gui_layout.h"

#include <cstdint>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/file_read.h"
#include "foundation/number_text.h"
#include "foundation/text_file.h"
#include "foundation/fatal.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/text.h"

namespace tr {

std::array<sGuiLayoutEntry, kGuiLayoutEntryCount> sGuiLayoutTable = [] {
  std::array<sGuiLayoutEntry, kGuiLayoutEntryCount> table{};
  table.fill({-1, -1, -1, -1});
  return table;
}();
std::array<sGuiFont, kGuiFontCount> gGuiFonts;
sGuiClearRect gGuiClearRect = {0, 0, 0, 0};

namespace {

// Far beyond any screen, and small enough that corners and the clear area add up within an int.
constexpr int kMaxCoordinate = 100000;
// Weights run 100 to 900 in steps of 8 of the file's number.
constexpr int kMaxWeightStep = 100;

// Fields separated by runs of ';' (empty fields do not count).
std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t pos = 0;
  while (pos < line.size()) {
    const std::size_t start = line.find_first_not_of(';', pos);
    if (start == std::string_view::npos) break;
    std::size_t end = line.find(';', start);
    if (end == std::string_view::npos) end = line.size();
    fields.push_back(line.substr(start, end - start));
    pos = end;
  }
  return fields;
}

int NumberOr(std::string_view field, int fallback) {
  const std::optional<std::int64_t> value = LeadingWhole(field);
  if (!value || *value < std::numeric_limits<int>::min() || *value > std::numeric_limits<int>::max()) return fallback;
  return static_cast<int>(*value);
}

std::uint32_t Colour(const std::vector<std::string_view>& f, std::size_t first) {
  return 0xFF000000u | (static_cast<std::uint32_t>(NumberOr(f[first], 0) & 0xFF) << 16) |
         (static_cast<std::uint32_t>(NumberOr(f[first + 1], 0) & 0xFF) << 8) |
         static_cast<std::uint32_t>(NumberOr(f[first + 2], 0) & 0xFF);
}

class cLayoutReader {
 public:
  explicit cLayoutReader(std::u16string_view fileName) : fileName_(fileName) {}

  void CoordinateRow(int lineNo, const std::vector<std::string_view>& f) {
    const std::optional<std::int64_t> id = LeadingWhole(f[0]);
    if (!id || *id < 0 || *id >= kGuiLayoutEntryCount) {
      LogFormat(u"GUI layout \"%s\", line %i: control id \"%s\" is outside 0-%i, row ignored", fileName_,
                lineNo, std::string(f[0]), kGuiLayoutEntryCount - 1);
      return;
    }
    sGuiLayoutEntry& e = sGuiLayoutTable[static_cast<std::size_t>(*id)];
    std::int32_t* values[] = {&e.x, &e.y, &e.width, &e.height};
    for (std::size_t i = 1; i < f.size() && i <= 4; ++i) {
      *values[i - 1] = Ranged(lineNo, f[i], -kMaxCoordinate, kMaxCoordinate);
    }
  }

  void FontRow(int lineNo, const std::vector<std::string_view>& f) {
    const std::optional<std::int64_t> number = LeadingWhole(f[0]);
    if (!number || *number < 1 || *number > kGuiFontCount) {
      LogFormat(u"GUI layout \"%s\", line %i: font number \"%s\" is outside 1-%i, row ignored", fileName_,
                lineNo, std::string(f[0]), kGuiFontCount);
      return;
    }
    sGuiFont& font = gGuiFonts[static_cast<std::size_t>(*number - 1)];
    if (f.size() > 1) font.face = CodePageToUtf16(f[1]);
    if (f.size() > 2) font.height = Ranged(lineNo, f[2], -kMaxGuiFontHeight, kMaxGuiFontHeight);
    if (f.size() > 3) font.weight = Ranged(lineNo, f[3], 0, kMaxWeightStep) * 8 + 100;
    if (f.size() > 6) font.color = Colour(f, 4);
    if (f.size() > 9) font.color2 = Colour(f, 7);
    if (*number == kGuiFontCount) hasLastFont_ = true;
  }

  bool hasLastFont_ = false;

 private:
  // The field's number; 0, logged, when it lies outside [low, high].
  int Ranged(int lineNo, std::string_view field, int low, int high) const {
    const std::optional<std::int64_t> value = LeadingWhole(field);
    if (!value) return 0;
    if (*value >= low && *value <= high) return static_cast<int>(*value);
    LogFormat(u"GUI layout \"%s\", line %i: value \"%s\" is outside %i to %i, 0 used", fileName_, lineNo,
              std::string(field), low, high);
    return 0;
  }

  std::u16string fileName_;
};

}  // namespace

void LayoutRectToCorners(int id) {
  if (id < 0 || id >= kGuiLayoutEntryCount) return;
  sGuiLayoutEntry& e = sGuiLayoutTable[static_cast<std::size_t>(id)];
  e.width += e.x;
  e.height += e.y;
}

bool LoadGuiLayoutFile(std::u16string_view fileName) {
  const std::optional<std::string> bytes = ReadTextFile(ResolveGamePath(fileName));
  if (!bytes) {
    LogFormat(u"Loading GUI coordinates from \"%s\"... FAILED", fileName);
    return false;
  }
  const std::string& text = *bytes;

  for (auto& e : sGuiLayoutTable) e = {-1, -1, -1, -1};
  cLayoutReader reader(fileName);
  // 0: before the header line, 1: coordinate rows, 2: font rows.
  int part = 0;
  int lineNo = 0;
  for (const std::string_view line : TextLineViews(std::string_view(text))) {
    ++lineNo;
    const bool header = !line.empty() && line[0] == '#';
    if (header) {
      if (part < 2) ++part;
      continue;
    }
    const std::vector<std::string_view> fields = SplitFields(line);
    if (part == 0 || fields.empty()) continue;
    if (part == 1) {
      reader.CoordinateRow(lineNo, fields);
    } else {
      reader.FontRow(lineNo, fields);
    }
  }
  if (part == 0) LogFormat(u"GUI layout \"%s\" has no header line: no entries read", fileName);

  if (!reader.hasLastFont_) {
    // Without its own row the last font is the one before it, three quarters as tall.
    gGuiFonts[kGuiFontCount - 1] = gGuiFonts[kGuiFontCount - 2];
    gGuiFonts[kGuiFontCount - 1].height = static_cast<int>(gGuiFonts[kGuiFontCount - 2].height * 0.75);
  }
  LogFormat(u"Loading GUI coordinates nad fonts from \"%s\"... OK", fileName);

  // The entries their users read as corners.
  LayoutRectToCorners(1);
  for (int id = 3; id <= 9; ++id) LayoutRectToCorners(id);
  for (int id = 16; id <= 56; ++id) LayoutRectToCorners(id);

  const sGuiLayoutEntry& area = sGuiLayoutTable[315];
  gGuiClearRect = {area.x - 2, area.y - 2, area.x + area.width + 4, area.y + area.height + 4};
  return true;
}

void LoadGuiLayout() {
  const std::u16string fileName = Format(u"data\\GUI_%ix%i.csv", gScreenWidth, gScreenHeight);
  if (!LoadGuiLayoutFile(fileName)) FatalExit(1);
}

}  // namespace tr
