// "convoys.csv": the convoys of a scenario or saved game. The file names each
// convoy's ports by their sea nodes; the reader finds the port cities on the
// nodes' main hexes again.
#include "foundation/console_log.h"
#include "foundation/format.h"
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

cCity* PortCityOnNode(const cGame& game, int nodeId) {
  const sWezelGrafuMorz& node = game.seaGraph.GetNode(nodeId - 1);
  if (!game.map->IsInside(node.x, node.y)) return nullptr;
  cCity* city = game.map->GetHex(node.x, node.y)->city;
  return city && IsPort(*city) ? city : nullptr;
}

}  // namespace

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
  while (!reader.AtEnd()) {
    // A saved row's empty fields are kept, so one where a value belongs is
    // refused instead of shifting the rest; the text after its last ';' is none.
    if (saved) {
      reader.ReadRow();
      while (!reader.fields.empty() && reader.fields.back().empty()) reader.fields.pop_back();
    } else {
      reader.ReadRecord(false);
    }
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
    CheckNumberFields(f, columns, path, static_cast<int>(reader.RecordCount()));
    sConvoy convoy;
    convoy.id = FieldInt(f, 0);
    if (convoy.id < 0 || convoy.id > kMaxObjectNumber) {
      LogRowOutOfRange(u"Convoy ID", convoy.id, path, static_cast<int>(reader.RecordCount()));
      continue;
    }
    convoy.owner = FieldInt(f, 1);
    convoy.kind = FieldInt(f, 2);
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
    ConvoysOf(convoy.owner).push_back(convoy);
  }
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
