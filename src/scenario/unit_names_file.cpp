#include "scenario/unit_names_file.h"

#include <optional>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "scenario/saved_fields.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"
#include "scenario/table_writer.h"
#include "world/file_io.h"
#include "world/gra.h"
#include "world/panstwo.h"

namespace tr {
namespace {

// The save keeps the scenario's file as it was read: its header line (an
// empty first cell, then the country of each column) and a line for each
// unit type's slot, with its name and each country's (empty: the first).
// A slot past 1 to 17 is the scenario's, logged and passed over as its
// reader does; so are the lines before the header.
constexpr sSavedField kHeaderFields[] = {SavedTextOrEmpty(u"Header", 0), SavedTextOrEmpty(u"Country column", 16)};
constexpr sSavedField kNameFields[] = {SavedAnyWhole(u"Unit type slot"), SavedTextOrEmpty(u"Name", kNameBytes),
                                       SavedTextOrEmpty(u"Country's name", kNameBytes)};
constexpr sSavedField kPreambleFields[] = {SavedTextOrEmpty(u"Line before the header", kNameBytes)};
constexpr std::size_t kSlotKey[] = {0};
constexpr sSavedLine kNameLines[] = {{.key = "", .fields = kHeaderFields, .unique = kSlotKey, .repeatLast = true},
                                     {.fields = kNameFields, .unique = kSlotKey, .repeatLast = true}};
constexpr sSavedLine kPreamble{.fields = kPreambleFields, .repeatLast = true};

// The scenario's file goes into every save as it is: one a save's load would
// refuse is refused when the scenario starts, not at a save in the middle of the war.
[[noreturn]] void RefuseUnsavableFile(std::u16string_view path, int line, std::u16string_view what) {
  const std::u16string where = line > 0 ? Format(u" at line %i (counting from 1)", line) : std::u16string();
  LogFormat(u"ERROR: %s%s %s; a save keeps the file as it is and could not be loaded back, so the scenario is not "
            u"started",
            path, where, what);
  ExitDestroyingGame(1);
}

}  // namespace

const sSavedTable kUnitNamesFields{.file = u"unit_names.csv", .lines = kNameLines, .preamble = &kPreamble};


void LoadUnitNames(cGame& game, std::u16string_view folder_template) {
  const std::u16string path = FolderFilePath(folder_template, u"unit_names.csv");
  cCsvReader reader = OpenTable(kOpeningUnitNamesLine, path);
  const std::optional<std::string> bytes = ReadWholeFile(ResolveGamePath(path));
  // A save holds the scenario's file as it was read, whatever its form, so its
  // rows tell no cut: found empty where the scenario's is not, or as only the
  // beginning of the scenario's, it was emptied or cut on its way.
  if (game.loadedGame == 1 && bytes) {
    // Without the scenario's own there is nothing to tell a cut by.
    const std::string own =
        ReadWholeFile(ResolveGamePath(ScenarioFilePath(game.scenarioName, u"unit_names.csv"))).value_or(std::string());
    if (bytes->empty() && !own.empty()) RefuseDamagedTable(path, 0, u"is empty, and the scenario's own is not");
    if (bytes->size() < own.size() && own.starts_with(*bytes)) {
      RefuseDamagedTable(path, 0,
                         Format(u"holds only the first %i of the %i bytes of the scenario's own (cut short?)",
                                static_cast<int>(bytes->size()), static_cast<int>(own.size())));
    }
  }

  if (game.loadedGame != 1 && bytes) CheckSavedTableText(kUnitNamesFields, *bytes, path, RefuseUnsavableFile);

  // The header row is the first whose first cell is empty; its cells from the
  // third on name the country of their column (empty: the column's place - 2).
  std::optional<std::vector<std::u16string>> header;
  while (!reader.AtEnd()) {
    // Past the header an empty line names nothing, nor does one of only separators.
    if (header) reader.SkipEmptyLines(true);
    if (reader.AtEnd()) break;
    const std::size_t count = reader.ReadRecord(true);
    if (count == 0) continue;
    const std::vector<std::u16string>& cells = reader.fields;
    const int line = static_cast<int>(reader.RecordCount());
    if (!header) {
      if (cells[0].empty()) header = cells;
      continue;
    }
    if (count == 1 && cells[0].empty()) continue;
    const std::int32_t number = FieldInt(cells, 0);
    if (number < 1 || number > kUnitTypeNameSlots) {
      LogValueOutOfRange(u"Unit type slot", number, path, line);
      continue;
    }
    const int slot = number - 1;
    for (std::size_t j = 2; j < count; ++j) {
      const bool named = j < header->size() && !(*header)[j].empty();
      const int country = named ? FieldInt(*header, j) : static_cast<int>(j) - 1;
      if (country < 1 || country > game.CountryCount()) continue;
      game.countries[country - 1]->SetUnitTypeName(slot, cells[j].empty() ? cells[1] : cells[j]);
    }
  }

  game.unitNamesFile = bytes.value_or(std::string());
}

bool WriteUnitNames(const cGame& game, std::u16string_view folder) {
  cTableWriter writer(SaveFilePath(folder, u"unit_names.csv"), cTableWriter::Mode::kBinary);
  if (!writer.ok()) return false;
  writer.WriteBytes(game.unitNamesFile);
  return writer.Commit();
}

}  // namespace tr
