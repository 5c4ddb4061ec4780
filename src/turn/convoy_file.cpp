// "convoys.csv": the convoys of a scenario or saved game. The file names each
// convoy's ports by their sea nodes; the reader finds the port cities on the
// nodes' main hexes again.
#include <set>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/text.h"
#include "scenario/saved_fields.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"
#include "scenario/table_writer.h"
#include "turn/convoy.h"
#include "world/city_rules.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr std::size_t kConvoyFields = 6;
constexpr std::u16string_view kConvoyRow = u"\n%i;%i;%i;%i;%i;%i;";
constexpr std::u16string_view kHeader =
    u"#Convoys\n#ID;Owner ID;Type [0=supplies 1=PP];Value (PP amount);Departure port ID;Destination port ID;";

// The kinds a convoy file holds, as the game writes them.
constexpr int kLowestConvoyKind = kConvoySupplies;
constexpr int kHighestConvoyKind = kConvoyResources;

// A scenario's convoys whose number an earlier one took: each gets the lowest
// number none holds, since a save keeps one convoy per number.
void RenumberRepeatedConvoys(cConvoyManager& manager, const std::vector<std::pair<int, int>>& repeated,
                             std::u16string_view path) {
  std::set<int> used;
  for (const auto& list : manager.convoys) {
    for (const sConvoy& convoy : list) used.insert(convoy.id);
  }
  int next = 1;
  for (const auto& [owner, index] : repeated) {
    while (used.contains(next)) ++next;
    sConvoy& convoy = manager.ConvoysOf(owner)[static_cast<std::size_t>(index)];
    LogFormat(u"WARNING: %s holds convoy %i more than once; the later one is convoy %i", path, convoy.id, next);
    convoy.id = next;
    used.insert(next);
  }
}

// A convoy as the game writes it: its number, its owner, its kind, the
// amount (as events and the supply rules give it, read back within
// kMaxTurnCount), and the sea nodes of its ports, which the reader finds
// among the scenario's.
constexpr sSavedField kConvoyRowFields[] = {
    SavedWhole(u"ID", 0, kMaxObjectNumber),
    SavedWhole(u"Owner ID", 1, kMaxCountryNumber),
    SavedWhole(u"Type", kLowestConvoyKind, kHighestConvoyKind),
    SavedWhole(u"Value", 0, kMaxTurnCount),
    SavedWhole(u"Departure port ID", 1, kAnyWhole),
    SavedWhole(u"Destination port ID", 1, kAnyWhole),
};
constexpr std::size_t kConvoyKey[] = {0};
constexpr sSavedLine kConvoyLines[] = {{.fields = kConvoyRowFields, .unique = kConvoyKey}};

cCity* PortCityOnNode(const cGame& game, int nodeId) {
  const sWezelGrafuMorz& node = game.seaGraph.GetNode(nodeId - 1);
  if (!game.map->IsInside(node.x, node.y)) return nullptr;
  cCity* city = game.map->GetHex(node.x, node.y)->city;
  return city && IsPort(*city) ? city : nullptr;
}

}  // namespace

const sSavedTable kConvoysFields{u"convoys.csv", kConvoyLines};

int ConvoyPortNodeId(const cGame& game, const cCity* city) {
  if (!city) return -1;
  const int node = game.seaGraph.FindNodeIdByHex(city->x, city->y);
  if (node != -1 || !game.map || !game.map->IsInside(city->x, city->y)) return node;
  return game.map->GetHex(city->x, city->y)->seaNodeMarker;
}

void cConvoyManager::Load(cGame& game, std::u16string_view folderTemplate) {
  const std::u16string path = FolderFilePath(folderTemplate, u"convoys.csv");
  cCsvReader reader = OpenTable(kOpeningCitiesLine, path);
  Reset(game.CountryCount());
  const std::vector<eColumn> columns = ColumnsOfRow(kConvoyRow);
  const bool saved = game.loadedGame == 1;
  const cSavedTableScope scope(path, saved);
  if (saved) CheckSavedTableStart(reader, path);
  // The convoy numbers read, and a scenario's convoys whose number was taken
  // (a save's were refused as its fields were checked, kConvoysFields).
  std::set<int> numbers;
  std::vector<std::pair<int, int>> repeated;
  while (!reader.AtEnd()) {
    ReadTableRow(reader, saved);
    const std::size_t count = reader.fields.size();
    if (count == 0) continue;
    if (saved && count > kConvoyFields) {
      RefuseDamagedTable(path, static_cast<int>(reader.RecordCount()),
                         Format(u"has more than the %i fields of a row", static_cast<int>(kConvoyFields)));
    }
    const auto& f = reader.fields;
    if (count < kConvoyFields) {
      if (saved) RefuseShortSavedRow(path, static_cast<int>(reader.RecordCount()), count, kConvoyFields);
      LogFormat(u"WARNING: Convoy at line %i of %s has fewer than 6 fields; skipped",
                static_cast<int>(reader.RecordCount()), path);
      continue;
    }
    const int line = static_cast<int>(reader.RecordCount());
    CheckNumberFields(f, columns, path, line);
    sConvoy convoy;
    convoy.id = FieldInt(f, 0);
    if (convoy.id < 0 || convoy.id > kMaxObjectNumber) {
      LogRowOutOfRange(u"Convoy ID", convoy.id, path, static_cast<int>(reader.RecordCount()));
      continue;
    }
    convoy.owner = FieldInt(f, 1);
    convoy.kind = FieldInt(f, 2);
    if (convoy.kind < kLowestConvoyKind || convoy.kind > kHighestConvoyKind) {
      // Every kind but supplies carries production points.
      LogFormat(u"WARNING: convoy %i at line %i of %s is of kind %i, none the game knows; it carries production "
                u"points (1)",
                convoy.id, line, path, convoy.kind);
      convoy.kind = kConvoyResources;
    }
    convoy.amount = FieldIntIn(f, 3, 0, kMaxTurnCount, 0, u"Convoy value", path, static_cast<int>(reader.RecordCount()));
    const int from = FieldInt(f, 4);
    const int to = FieldInt(f, 5);
    if (!game.seaGraph.IsNodeId(from)) {
      LogFormat(u"ERROR: Convoy with ID=%i has departure sea node with ID=%i, there's no such sea node!", convoy.id,
                from);
      ExitDestroyingGame(1);
    }
    if (!game.seaGraph.IsNodeId(to)) {
      LogFormat(u"ERROR: Convoy with ID=%i has destination sea node with ID=%i, there's no such sea node!", convoy.id,
                to);
      ExitDestroyingGame(1);
    }
    convoy.departure = PortCityOnNode(game, from);
    if (!convoy.departure) {
      LogFormat(u"ERROR: Convoy with ID=%i has departure sea node with ID=%i, there's no port city for this sea node!",
                convoy.id, from);
      ExitDestroyingGame(1);
    }
    convoy.destination = PortCityOnNode(game, to);
    if (!convoy.destination) {
      LogFormat(
          u"ERROR: Convoy with ID=%i has destination sea node with ID=%i, there's no port city for this sea node!",
          convoy.id, to);
      ExitDestroyingGame(1);
    }
    if (convoy.owner < 1 || convoy.owner > game.CountryCount()) {
      LogFormat(u"ERROR: Convoy with ID=%i has owner with ID=%i, there's no such country!", convoy.id, convoy.owner);
      ExitDestroyingGame(1);
    }
    convoy.portSize = game.seaGraph.GetNode(from - 1).portSize;
    const bool isNew = numbers.insert(convoy.id).second;
    std::vector<sConvoy>& list = ConvoysOf(convoy.owner);
    if (!isNew) repeated.emplace_back(convoy.owner, static_cast<int>(list.size()));
    list.push_back(convoy);
  }
  RenumberRepeatedConvoys(*this, repeated, path);
}

bool WriteConvoys(const cGame& game, std::u16string_view folder) {
  cTableWriter writer(SaveFilePath(folder, u"convoys.csv"));
  if (!writer.ok()) return false;
  writer.Write(kHeader);
  for (const auto& list : game.convoys.convoys) {
    for (const sConvoy& c : list) {
      writer.Write(Format(kConvoyRow, c.id, c.owner, c.kind, c.amount, ConvoyPortNodeId(game, c.departure),
                          ConvoyPortNodeId(game, c.destination)));
    }
  }
  return writer.Commit();
}

}  // namespace tr
