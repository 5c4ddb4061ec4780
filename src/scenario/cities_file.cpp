#include "scenario/cities_file.h"

#include <algorithm>
#include <memory>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/number_text.h"
#include "scenario/scenario_constants_layout.h"
#include "scenario/saved_fields.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"
#include "scenario/table_writer.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr std::u16string_view kRow = u"\n%s;%i;%i;%i;%i;%f;%i;%i;";
// Victory points are summed over every city, production points over a
// country's cities each month: both bounds keep the sums far from overflow.
constexpr int kMaxVictoryPoints = 100000;
// A city's supply becomes its units' supply level.
constexpr int kMaxSupply = consts_layout::kSupplyLevels - 1;
constexpr std::u16string_view kHeader =
    u"#Name;Hex X;Hex Y;Type [0=supply 1=normal 2=supply+port 3=port 4=resources];Victory Points;Production "
    u"Points;Supply;Production Points Losses In Strategic Bombardment";

// A city stands on a hex of the map, one city to a hex.
constexpr sSavedField kCityFields[] = {
    SavedText(u"Name", kNameBytes),
    SavedWhole(u"Hex X", 0, kMaxHexCoordinate),
    SavedWhole(u"Hex Y", 0, kMaxHexCoordinate),
    SavedWhole(u"Type", kCitySupply, kCityResources),
    SavedWhole(u"Victory Points", 0, kMaxVictoryPoints),
    SavedDecimal(u"Production Points", 0, kMaxCityProduction),
    SavedWhole(u"Supply", 0, kMaxSupply),
    SavedWhole(u"Production Points Losses In Strategic Bombardment", 0, kMaxVictoryPoints),
};
constexpr std::size_t kCityKey[] = {1, 2};
constexpr sSavedLine kCityLines[] = {{.fields = kCityFields, .unique = kCityKey}};

}  // namespace

const sSavedTable kCitiesFields{u"cities.csv", kCityLines};

void LoadCities(cGame& game, std::u16string_view folder_template) {
  const std::u16string path = FolderFilePath(folder_template, u"cities.csv");
  cCsvReader reader = OpenTable(kOpeningCitiesLine, path);
  game.cities.clear();
  cTableRows table(reader, kRow, path, game.loadedGame == 1);
  while (table.Next()) {
    const auto& f = table.fields();
    const int line = table.line();
    auto city = std::make_unique<cCity>();
    city->name = CutName(f[0]);
    city->x = FieldInt(f, 1);
    city->y = FieldInt(f, 2);
    city->type = FieldInt(f, 3);
    if (city->type < kCitySupply || city->type > kCityResources) {
      LogValueOutOfRange(u"City type", city->type, path, line);
      city->type = kCityNormal;
    }
    city->victoryPoints = FieldIntIn(f, 4, 0, kMaxVictoryPoints, 0, u"City victory points", path, line);
    const double production = ParseLeadingDouble(f[5]);
    city->productionPoints = static_cast<float>(production);
    if (!(production >= 0.0 && production <= kMaxCityProduction)) {
      // Events and repairs hold it within the range too; a value that is no number reads as 0.
      const double held = production > kMaxCityProduction ? kMaxCityProduction : 0.0;
      LogDecimalHeld(u"City production points", production, held, path, line);
      city->productionPoints = static_cast<float>(held);
    }
    city->supply = FieldIntIn(f, 6, 0, kMaxSupply, 0, u"City supply", path, line);
    city->bombedPP = FieldIntIn(f, 7, 0, kMaxVictoryPoints, 0, u"City bombed production points", path, line);
    city->diagramNode = -1;
    LogFormat(u"Added city: %s", city->name);
    game.cities.push_back(std::move(city));
  }
}

bool WriteCities(const cGame& game, std::u16string_view folder) {
  cTableWriter writer(SaveFilePath(folder, u"cities.csv"));
  if (!writer.ok()) return false;
  writer.Write(kHeader);
  const std::u16string row = ExactDecimalRow(kRow);
  for (const auto& c : game.cities) {
    writer.Write(Format(row, SanitizeFieldText(c->name, true), c->x, c->y, c->type, c->victoryPoints,
                        SavedDecimalText(c->productionPoints), c->supply, c->bombedPP));
  }
  return writer.Commit();
}

}  // namespace tr
