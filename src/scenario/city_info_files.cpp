#include "scenario/city_info_files.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "scenario/saved_fields.h"
#include "scenario/scenario_constants_layout.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"
#include "scenario/table_writer.h"
#include "world/file_io.h"
#include "world/gra.h"

namespace tr {
namespace {

// A city's own supply runs 0 to 50 (cities.csv), and so does the full
// supply level the constants give.
constexpr std::int32_t kHighestCitySupply = consts_layout::kSupplyLevels - 1;

// A row for each city: its hex, one to a city, then its values, one for each
// country once the supply was computed (none before).
constexpr sSavedField kSupplyInfoFields[] = {SavedWhole(u"Hex X", 0, kMaxHexCoordinate),
                                             SavedWhole(u"Hex Y", 0, kMaxHexCoordinate),
                                             SavedWhole(u"Supply", 0, kHighestCitySupply)};
constexpr sSavedField kConvoyInfoFields[] = {SavedWhole(u"Hex X", 0, kMaxHexCoordinate),
                                             SavedWhole(u"Hex Y", 0, kMaxHexCoordinate), SavedSwitch(u"Convoy")};
constexpr std::size_t kHexKey[] = {0, 1};
// Its reader counts every field for a value, so one left empty at the end shifts none.
constexpr sSavedLine kSupplyInfoLines[] = {
    {.fields = kSupplyInfoFields, .unique = kHexKey, .repeatLast = true, .countsEmpty = true}};
constexpr sSavedLine kConvoyInfoLines[] = {
    {.fields = kConvoyInfoFields, .unique = kHexKey, .repeatLast = true, .countsEmpty = true}};

// Reads one info file; store(city, k, value, path, line) sets element k of the city's vector.
template <typename Store>
void ReadInfoFile(cGame& game, std::u16string_view folder_template, std::u16string_view file_name,
                  std::string_view opening_key, Store store) {
  const std::u16string path = FolderFilePath(folder_template, file_name);
  LogReaderText(opening_key);
  LogLine(path);
  const std::optional<std::string> bytes = ReadTextFile(ResolveGamePath(path));
  if (!bytes) {
    LogReaderText("error_opening_file!_(not_exists?)");
    ExitDestroyingGame(1);
  }
  LogReaderText("open_ok");
  // The game writes a row for every city: its place and its values, each
  // ended by ';', as many for every city (one per country once the supply
  // was computed, none before). Each field of a save's row was checked as
  // the game writes it (kSupplyInfoFields) before the load: the counts and
  // the cities are left to check here.
  const bool saved = game.loadedGame == 1;
  const cSavedTableScope scope(path, saved);
  if (saved) CheckSavedTableStart(*bytes, path);
  std::size_t rowFields = 0;  // of the first row
  std::unordered_set<const cCity*> cityRows;
  int lineNo = 0;
  for (const sTextLine& line : NonEmptyTextLines(*bytes)) {
    lineNo = line.number;
    if (saved && !line.text.empty() && line.text[0] != '#') {
      // Empty fields count: one dropped would shift every later value a country over.
      const std::size_t fields = SplitTokens(line.text, true).size();
      if (rowFields == 0) rowFields = fields;
      if (line.text.back() != ';' || fields < std::max<std::size_t>(rowFields, 2)) {
        RefuseShortSavedRow(path, lineNo, fields, std::max<std::size_t>(rowFields, 2));
      }
      if (fields > rowFields) {
        RefuseDamagedTable(path, lineNo, Format(u"has %i fields, more than the %i of its first row",
                                                static_cast<int>(fields), static_cast<int>(rowFields)));
      }
      const int values = static_cast<int>(fields) - 2;
      if (values > 0 && values != game.CountryCount()) {
        RefuseDamagedTable(path, lineNo, Format(u"has %i values, where the game writes one for each of the %i "
                                                u"countries or none",
                                                values, game.CountryCount()));
      }
    }
    // The length counts the line end: a stray "1;" alone is no row.
    const std::size_t length = line.text.size() + (line.ended ? 1 : 0);
    if (length <= 2 || line.text[0] == '#') continue;
    const std::vector<std::string_view> tokens = SplitTokens(line.text, saved);
    if (tokens.size() < 2) continue;
    const int x = ParseLeadingInt(tokens[0]);
    const int y = ParseLeadingInt(tokens[1]);
    cCity* city = game.map && game.map->IsInside(x, y) ? game.map->GetHex(x, y)->city : nullptr;
    // The game writes one row for each of its cities and no other.
    if (saved && !city) RefuseDamagedTable(path, lineNo, Format(u"names hex (%i, %i), which holds no city", x, y));
    cityRows.insert(city);
    for (std::size_t k = 0; k + 2 < tokens.size(); ++k) {
      if (!city) {
        LogLine(Format(GetText("error_while_loading_%s:_no_city_at_coords_(%d,_%d)"), path, x, y));
        continue;
      }
      store(*city, k, ParseLeadingInt(tokens[k + 2]), path, lineNo);
    }
  }
  if (!saved) return;
  for (const auto& city : game.cities) {
    if (cityRows.count(city.get()) == 0) {
      RefuseDamagedTable(path, 0, Format(u"has no row for city %s at (%i, %i) (cut short?)", city->name, city->x,
                                         city->y));
    }
  }
}

}  // namespace

const sSavedTable kCitiesSupplyInfoFields{u"cities_supply_info.csv", kSupplyInfoLines};
const sSavedTable kCitiesConvoyInfoFields{u"cities_convoy_info.csv", kConvoyInfoLines};

void LoadCitiesSupplyAndConvoyInfo(cGame& game, std::u16string_view folder_template) {
  // The supply rules write a city's full supply, a city's own supply or a
  // convoy's share of the full supply, and take distances and shortfalls from
  // them: anything else is no value of theirs.
  const std::int32_t fullSupply = game.constants.FullSupplyLevel();
  const std::int32_t lowest = std::min(0, fullSupply);
  const std::int32_t highest = std::max(kHighestCitySupply, fullSupply);
  ReadInfoFile(game, folder_template, u"cities_supply_info.csv", "opening_file_with_supply_matrix_for_cities...",
               [&](cCity& city, std::size_t k, std::int32_t value, const std::u16string& path, int line) {
                 if (k >= city.supplyInfo.size()) return;
                 if (value < lowest || value > highest) {
                   LogValueOutOfRange(u"City supply info", value, path, line);
                   return;
                 }
                 city.supplyInfo[k] = value;
               });
  ReadInfoFile(game, folder_template, u"cities_convoy_info.csv", "opening_file_with_convoy_info_for_cities...",
               [](cCity& city, std::size_t k, std::int32_t value, const std::u16string&, int) {
                 if (k < city.convoyInfo.size()) city.convoyInfo[k] = value != 0;
               });
}

bool WriteCitiesSupplyInfo(const cGame& game, std::u16string_view folder) {
  cTableWriter writer(SaveFilePath(folder, u"cities_supply_info.csv"));
  if (!writer.ok()) return false;
  writer.Write(u"# cities supply info:");
  for (const auto& city : game.cities) {
    std::u16string row = Format(u"\n%i;%i;", city->x, city->y);
    for (std::int32_t value : city->supplyInfo) row += Format(u"%i;", value);
    writer.Write(row);
  }
  return writer.Commit();
}

bool WriteCitiesConvoyInfo(const cGame& game, std::u16string_view folder) {
  cTableWriter writer(SaveFilePath(folder, u"cities_convoy_info.csv"));
  if (!writer.ok()) return false;
  writer.Write(u"# cities convoy info:");
  for (const auto& city : game.cities) {
    std::u16string row = Format(u"\n%i;%i;", city->x, city->y);
    for (bool bit : city->convoyInfo) row += bit ? u"1;" : u"0;";
    writer.Write(row);
  }
  return writer.Commit();
}

}  // namespace tr
