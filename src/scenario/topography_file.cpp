#include "scenario/topography_file.h"

#include <string>

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "scenario/saved_fields.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"
#include "scenario/table_writer.h"
#include "world/city.h"
#include "world/file_io.h"
#include "world/gra.h"
#include "world/map.h"
#include "world/panstwo.h"
#include "world/topography.h"

namespace tr {
namespace {

// A Country line for each country, each group's cities by their hexes.
constexpr sSavedField kCountryLine[] = {SavedText(u"Line kind", 7), SavedWhole(u"Country", 1, kMaxCountryNumber)};
constexpr sSavedField kGroupLine[] = {SavedText(u"Line kind", 9)};
constexpr sSavedField kCityLine[] = {SavedText(u"Line kind", 4), SavedWhole(u"City hex X", 0, kMaxHexCoordinate),
                                     SavedWhole(u"City hex Y", 0, kMaxHexCoordinate)};
constexpr std::size_t kCountryKey[] = {1};
constexpr sSavedLine kTopographyLines[] = {{.key = "Country", .fields = kCountryLine, .unique = kCountryKey},
                                           {.key = "New Group", .fields = kGroupLine},
                                           {.key = "City", .fields = kCityLine}};

constexpr std::u16string_view kFileName = u"topography.csv";

// Runs of ';' separate fields and give no empty ones, as the reader always cut them.
std::vector<std::u16string> Tokens(std::u16string_view line) {
  std::vector<std::u16string> tokens;
  std::size_t i = 0;
  // No line of the file needs more; a stranger's line of millions would take gigabytes.
  while (i < line.size() && tokens.size() < cCsvReader::kMostFieldsKept) {
    while (i < line.size() && line[i] == u';') ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != u';') ++i;
    if (i > start) tokens.emplace_back(line.substr(start, i - start));
  }
  return tokens;
}

}  // namespace

const sSavedTable kTopographyFields{u"topography.csv", kTopographyLines};

bool WriteTopography(std::u16string_view folder, const cStrategicMovement& movement,
                     const std::vector<std::unique_ptr<cCountry>>& countries) {
  cTableWriter writer(SaveFilePath(folder, kFileName));
  if (!writer.ok()) return false;
  writer.Write(u"#Topography of terrain at the beginning of turn:");
  for (const auto& country : countries) {
    writer.Write(Format(u"\nCountry;%i;", country->id));
    const cTopography* topography = movement.GetCountryTopography(country->id);
    if (!topography) continue;
    for (const sTopographyGroup& group : *topography) {
      writer.Write(u"\nNew Group;");
      for (const cCity* city : group.cities) writer.Write(Format(u"\nCity;%i;%i;", city->x, city->y));
    }
  }
  return writer.Commit();
}

void LoadTopography(cStrategicMovement& movement, const cMap& map, std::u16string_view folderTemplate,
                    bool savedGame) {
  const std::u16string path = FolderFilePath(folderTemplate, kFileName);
  LogLine(GetText("opening_topography_file..."));
  LogLine(path);
  const std::optional<std::string> bytes = ReadTextFile(ResolveGamePath(path));
  if (!bytes) {
    LogLine(GetText("error_opening_file!_(not_exists?)"));
    ExitDestroyingGame(1);
  }
  LogLine(GetText("open_ok"));
  // The game writes a Country line for every country, and ends each line with ';'.
  if (savedGame) CheckSavedTableStart(*bytes, path);
  std::vector<bool> countrySeen(static_cast<std::size_t>(movement.CountryCount()) + 1, false);

  int countryId = -1;
  sTopographyGroup* group = nullptr;
  int lineNumber = 0;
  for (const sTextLine raw : NonEmptyTextLines(*bytes)) {
    lineNumber = raw.number;
    const std::u16string line = CodePageToUtf16(raw.text);
    if (!line.empty() && line.front() == u'#') continue;
    const std::vector<std::u16string> fields = Tokens(line);
    if (savedGame && !line.empty()) {
      std::size_t needed = 1;
      if (!fields.empty() && fields.front() == u"City") needed = 3;
      if (!fields.empty() && fields.front() == u"Country") needed = 2;
      if (line.back() != u';' || fields.size() < needed) RefuseDamagedTable(path, lineNumber, u"has a line cut short");
      // Each field as the game writes it: an empty one dropped, or a second
      // number, would make another line of it.
      const std::vector<std::string_view> written = SplitTokens(raw.text, true);
      for (std::size_t i = 0; i < written.size(); ++i) {
        if (written[i].empty()) {
          RefuseDamagedTable(path, lineNumber, Format(u"has field %i empty", static_cast<int>(i) + 1));
        }
      }
      if (fields.size() > needed) {
        RefuseDamagedTable(path, lineNumber, Format(u"has %i fields, more than the %i of its line",
                                                    static_cast<int>(fields.size()), static_cast<int>(needed)));
      }
      if (needed == 2) SavedWholeIn(written[1], 2, 1, movement.CountryCount(), u"a country's number", path, lineNumber);
    }
    if (fields.empty()) continue;
    const std::u16string& kind = fields.front();
    if (kind == u"Country") {
      for (std::size_t i = 1; i < fields.size(); ++i) countryId = ParseLeadingInt(fields[i]);
      if (countryId >= 1 && countryId <= movement.CountryCount()) {
        countrySeen[static_cast<std::size_t>(countryId)] = true;
      }
      group = nullptr;
    } else if (kind == u"New Group") {
      cTopography* topography = movement.GetCountryTopography(countryId);
      if (!topography) {
        if (savedGame) RefuseDamagedTable(path, lineNumber, u"has a group before the first Country line");
        LogFormat(u"ERROR: topography.csv line %i: a group of no country (id=%i), ignored", lineNumber, countryId);
        group = nullptr;
        continue;
      }
      topography->emplace_back();
      group = &topography->back();
    } else if (kind == u"City") {
      if (fields.size() < 3) continue;
      const int x = ParseLeadingInt(fields[1]);
      const int y = ParseLeadingInt(fields[2]);
      cCity* city = map.IsInside(x, y) ? map.GetHex(x, y)->city : nullptr;
      if (!group || !city) {
        if (savedGame) {
          RefuseDamagedTable(path, lineNumber,
                             Format(u"gives city (%i, %i), which %s", x, y,
                                    group ? std::u16string_view(u"the save does not hold")
                                          : std::u16string_view(u"lies outside a group")));
        }
        LogFormat(u"ERROR: topography.csv line %i: city (%i, %i) %s, ignored", lineNumber, x, y,
                  group ? std::u16string_view(u"does not exist") : std::u16string_view(u"outside a group"));
        continue;
      }
      group->cities.push_back(city);
    } else if (fields.size() > 1 || savedGame) {
      LogFormat(u"ERROR: topography.csv line %i: unknown line kind \"%s\"", lineNumber, kind);
      FatalExit(1);
    }
  }
  // The read after a final line end finds nothing.
  if (bytes->empty() || bytes->ends_with('\r') || bytes->ends_with('\n')) LogLine(GetText("empty_line..."));
  for (int country = 1; savedGame && country <= movement.CountryCount(); ++country) {
    if (!countrySeen[static_cast<std::size_t>(country)]) {
      RefuseDamagedTable(path, 0, Format(u"has no line for country %i (cut short?)", country));
    }
  }
}

}  // namespace tr
