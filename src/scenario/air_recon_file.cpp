#include "scenario/air_recon_file.h"

#include <optional>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/log_bound.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "scenario/saved_fields.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"
#include "scenario/table_writer.h"
#include "world/file_io.h"
#include "world/gra.h"
#include "world/hex.h"

namespace tr {
namespace {

// A "Country;id;" line, then the hex of each unit it spotted: (-1, -1) for
// one since taken off the map.
constexpr sSavedField kCountryFields[] = {SavedText(u"Line kind", 7), SavedWhole(u"Country", 1, kMaxCountryNumber)};
constexpr sSavedField kHexFields[] = {SavedWhole(u"Hex X", -1, kMaxHexCoordinate),
                                      SavedWhole(u"Hex Y", -1, kMaxHexCoordinate)};
constexpr std::size_t kCountryKey[] = {1};
constexpr sSavedLine kReconLines[] = {{.key = "Country", .fields = kCountryFields, .unique = kCountryKey},
                                      {.fields = kHexFields}};

}  // namespace

const sSavedTable kAirReconFields{u"airrecon_units.csv", kReconLines};


void LoadAirReconUnits(cGame& game, std::u16string_view folder_template) {
  const std::u16string path = FolderFilePath(folder_template, u"airrecon_units.csv");
  LogLine(kOpeningFileLine);
  LogLine(path);
  for (const auto& country : game.countries) country->reconSpottedUnits.clear();
  // A scenario may go without spotted units, and so may a save from before they were kept.
  const bool saved = game.loadedGame == 1;
  const std::optional<std::string> bytes = saved ? ReadLaterSavedFile(path, true) : ReadTextFile(ResolveGamePath(path));
  if (!bytes) {
    LogLine(u"Nie uda?o si? otworzy? pliku - mo?e nie istnie? (zadnych odkrytych jednostek)");
    return;
  }
  LogLine(kOpenOkLine);
  // The game writes its header, then "Country;id;" and "x;y;" lines.
  if (saved) CheckSavedTableStart(*bytes, path);
  cCountry* current = nullptr;
  int lineNumber = 0;
  for (const sTextLine& line : NonEmptyTextLines(*bytes)) {
    lineNumber = line.number;
    if (line.text.empty() || line.text[0] == '#') continue;
    const std::vector<std::string_view> fields = SplitTokens(line.text, saved);
    if (saved && (line.text.back() != ';' || fields.size() < 2)) {
      RefuseDamagedTable(path, lineNumber, u"has a line cut short");
    }
    // The game writes "Country;id;" and "x;y;" lines: a hex of text would
    // drop the unit spotted there.
    if (saved && fields.size() > 2) {
      RefuseDamagedTable(path, lineNumber, Format(u"has %i fields, more than the 2 of a line",
                                                  static_cast<int>(fields.size())));
    }
    if (saved) {
      const bool country = fields[0] == "Country";
      if (!country) SavedWholeIn(fields[0], 1, INT32_MIN, INT32_MAX, {}, path, lineNumber);
      // A Country line's number past the save's countries is refused below, naming it so.
      SavedWholeIn(fields[1], 2, INT32_MIN, INT32_MAX, {}, path, lineNumber);
    }
    if (!fields.empty() && fields[0] == "Country") {
      if (fields.size() < 2) continue;
      const std::optional<int> id = WholeNumber(fields[1]);
      current = nullptr;
      if (id && *id >= 1 && *id <= game.CountryCount()) {
        current = game.countries[*id - 1].get();
      } else {
        if (saved) RefuseDamagedTable(path, lineNumber, u"names in field 2 no country the save holds");
        LogAboutFile(path,
                     u"WARNING: bad country in %s at line %i (counting from 1); its hexes are ignored",
                     path, lineNumber);
      }
      continue;
    }
    // The game writes each country's hexes after its Country line.
    if (saved && !current) RefuseDamagedTable(path, lineNumber, u"gives a hex before any Country line");
    if (fields.size() < 2 || !current || !game.map) continue;
    const std::optional<int> x = WholeNumber(fields[0]);
    const std::optional<int> y = WholeNumber(fields[1]);
    // A spotted unit since taken off the map (into the reserve, aboard) is
    // written off it, at (-1, -1), and stays unspotted.
    if (!x || !y || !game.map->IsInside(*x, *y)) {
      if (saved && x && y && !(*x == -1 && *y == -1)) {
        RefuseDamagedTable(path, lineNumber, Format(u"names hex (%i, %i), off the map", *x, *y));
      }
      continue;
    }
    cUnit* unit = game.map->GetHex(*x, *y)->unit;
    if (unit) {
      current->reconSpottedUnits.push_back(unit);
    } else if (saved) {
      RefuseDamagedTable(path, lineNumber, Format(u"names hex (%i, %i), on which the save holds no unit", *x, *y));
    }
  }
}

bool WriteAirReconUnits(const cGame& game, std::u16string_view folder) {
  cTableWriter writer(SaveFilePath(folder, u"airrecon_units.csv"));
  if (!writer.ok()) return false;
  writer.Write(u"#Hexes with units spoted with air recon");
  for (const auto& country : game.countries) {
    if (country->reconSpottedUnits.empty()) continue;
    writer.Write(Format(u"\nCountry;%i;", country->id));
    for (const cUnit* unit : country->reconSpottedUnits) writer.Write(Format(u"\n%i;%i;", unit->x, unit->y));
  }
  return writer.Commit();
}

}  // namespace tr
