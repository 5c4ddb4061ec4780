// "sea_nodes.csv" (read from the scenario or save folder, written by saves)
// and "sea_edges.csv" (read from the scenario only; edges never change).
#include <string>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "scenario/saved_fields.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"
#include "scenario/table_writer.h"
#include "turn/sea_graph.h"
#include "world/city_rules.h"
#include "world/file_io.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr std::u16string_view kOpeningSeaNodesLine =
    u"Otwieram plik z wezlami akwen\u010f\u017c\u02ddw morskich ze sciezka...";
constexpr std::u16string_view kOpeningSeaEdgesLine =
    u"Otwieram plik z lukami akwen\u010f\u017c\u02ddw morskich ze sciezka...";
constexpr std::u16string_view kSeaNodesHeader =
    u"#ID;Name (seas only);Size max (0-sea / 1 to 9-port);Size current;Hex X (city hex X for ports);Hex Y (city hex "
    u"Y for ports);Player unit hex X;Player unit hex Y;Enemy unit hex X;Enemy unit hex Y";
constexpr std::u16string_view kSeaNodeRow = u"\n%i;%s;%i;%i;%i;%i;%i;%i;%i;%i;";
// The hexes are kept as the scenario gives them (one off the map is only
// warned of), and so is a port's largest size; a size below 0 is read as 0.
constexpr sSavedField kSeaNodeFields[] = {
    SavedWhole(u"ID", 1, kMaxObjectNumber),
    SavedTextOrEmpty(u"Name", kNameBytes),
    SavedWhole(u"Size max", 0, kAnyWhole),
    SavedWhole(u"Size current", 0, kAnyWhole),
    SavedAnyWhole(u"Hex X"),
    SavedAnyWhole(u"Hex Y"),
    SavedAnyWhole(u"Player unit hex X"),
    SavedAnyWhole(u"Player unit hex Y"),
    SavedAnyWhole(u"Enemy unit hex X"),
    SavedAnyWhole(u"Enemy unit hex Y"),
};
constexpr std::size_t kNodeKey[] = {0};
constexpr sSavedLine kSeaNodeLines[] = {{.fields = kSeaNodeFields, .unique = kNodeKey}};
constexpr std::size_t kSeaEdgeFields = 4;
constexpr std::size_t kShortestEdgeLine = 5;

// A port size below 0 is read as 0, with a warning.
std::int32_t PortSize(const std::vector<std::u16string>& fields, std::size_t i, std::u16string_view path, int line) {
  const std::int32_t value = FieldInt(fields, i);
  if (value >= 0) return value;
  LogValueOutOfRange(u"Sea node port size", value, path, line);
  return 0;
}

// Marks one of a node's hexes, or warns when it lies off the map.
void MarkHex(cMap& map, int x, int y, const sWezelGrafuMorz& node, bool setSeaZone, std::u16string_view warning) {
  if (!map.IsInside(x, y)) {
    LogFormat(warning, node.name, node.id);
    return;
  }
  sHex* hex = map.GetHex(x, y);
  hex->seaNodeMarker = static_cast<std::uint16_t>(node.id);
  if (setSeaZone) hex->seaZone = static_cast<std::uint16_t>(node.id);
}

}  // namespace

const sSavedTable kSeaNodesFields{u"sea_nodes.csv", kSeaNodeLines};

void cSeaGraph::LoadNodes(cGame& game, std::u16string_view folderTemplate) {
  const std::u16string path = FolderFilePath(folderTemplate, u"sea_nodes.csv");
  cCsvReader reader = OpenTable(kOpeningSeaNodesLine, path);
  cMap& map = *game.map;
  nodes.clear();
  cTableRows table(reader, kSeaNodeRow, path, game.loadedGame == 1);
  while (table.Next()) {
    const auto& f = table.fields();
    const int line = table.line();
    sWezelGrafuMorz node;
    node.id = FieldInt(f, 0);
    node.x = FieldInt(f, 4);
    node.y = FieldInt(f, 5);
    node.name = f[1].substr(0, kSeaNodeNameLength);
    if (node.name == u"-" && map.IsInside(node.x, node.y)) {
      if (const cCity* city = map.GetHex(node.x, node.y)->city) node.name = city->name.substr(0, kSeaNodeNameLength);
    }
    node.maxPortSize = PortSize(f, 2, path, line);
    node.portSize = std::min(PortSize(f, 3, path, line), node.maxPortSize);
    node.type = node.portSize == 0 ? kSeaNodeOpenSea : kSeaNodePort;
    node.playerMarkerX = FieldInt(f, 6);
    node.playerMarkerY = FieldInt(f, 7);
    node.enemyMarkerX = FieldInt(f, 8);
    node.enemyMarkerY = FieldInt(f, 9);
    nodes.push_back(std::move(node));
    const sWezelGrafuMorz& added = nodes.back();
    const int expected = NodeCount();
    if (added.id != expected) {
      LogFormat(u"ERROR. Sea node %i has ID=%i (should be equal!)", expected, added.id);
      ExitDestroyingGame(1);
    }
    const bool port = added.type == kSeaNodePort;
    MarkHex(map, added.x, added.y, added, false, u"WARNING. Main hex for sea node %s (ID=%i) is placed outside the map!");
    MarkHex(map, added.playerMarkerX, added.playerMarkerY, added, port,
            u"WARNING. Player unit in sea node %s (ID=%i) is placed outside the map!");
    MarkHex(map, added.enemyMarkerX, added.enemyMarkerY, added, port,
            u"WARNING. Enemy unit in sea node %s (ID=%i) is placed outside the map!");
  }
  bool portWithoutNode = false;
  for (const auto& city : game.cities) {
    if (!IsPort(*city)) continue;
    if (map.IsInside(city->x, city->y) && map.GetHex(city->x, city->y)->seaNodeMarker != 0) continue;
    LogFormat(u"ERROR. There is no sea node for port city %s (%i, %i)", city->name, city->x, city->y);
    portWithoutNode = true;
  }
  if (portWithoutNode) ExitDestroyingGame(1);
  SetSeaGraphAccess(this);
}

void cSeaGraph::LoadEdges(std::u16string_view scenarioName) {
  const std::u16string path = ScenarioFilePath(scenarioName, u"sea_edges.csv");
  LogLine(kOpeningSeaEdgesLine);
  LogLine(path);
  const std::optional<std::string> bytes = ReadTextFile(ResolveGamePath(path));
  if (!bytes) FailMissingTable(path);
  LogLine(kOpenOkLine);
  int lineNumber = 0;
  for (const sTextLine& line : NonEmptyTextLines(*bytes)) {
    lineNumber = line.number;
    if (line.text.size() <= kShortestEdgeLine || line.text[0] == '#') continue;
    const std::vector<std::string_view> tokens = SplitTokens(line.text);
    if (tokens.size() < kSeaEdgeFields) {
      LogFormat(u"WARNING: Sea edge at line %i of %s has fewer than 4 fields; skipped", lineNumber, path);
      continue;
    }
    const int from = ParseLeadingInt(tokens[0]);
    sSeaEdge edge{ParseLeadingInt(tokens[1]), ParseLeadingInt(tokens[2]), ParseLeadingInt(tokens[3])};
    if (!IsNodeId(from) || !IsNodeId(edge.toNode)) {
      LogFormat(u"ERROR: Sea edge from node %i to node %i at line %i of %s: there's no such sea node; skipped", from,
                edge.toNode, lineNumber, path);
      continue;
    }
    if (edge.passageX != -1 && !(gGame && gGame->map && gGame->map->IsInside(edge.passageX, edge.passageY))) {
      LogFormat(u"WARNING: Sea edge from node %i to node %i has its passage hex (%i, %i) outside the map; it is "
                u"never passable",
                from, edge.toNode, edge.passageX, edge.passageY);
    }
    GetNode(from - 1).edges.push_back(edge);
  }
}

bool WriteSeaNodes(const cSeaGraph& graph, std::u16string_view folder) {
  cTableWriter writer(SaveFilePath(folder, u"sea_nodes.csv"));
  if (!writer.ok()) return false;
  writer.Write(kSeaNodesHeader);
  for (const sWezelGrafuMorz& n : graph.nodes) {
    writer.Write(Format(kSeaNodeRow, n.id, SanitizeFieldText(n.name), n.maxPortSize,
                        n.portSize, n.x, n.y, n.playerMarkerX, n.playerMarkerY, n.enemyMarkerX, n.enemyMarkerY));
  }
  return writer.Commit();
}

}  // namespace tr
