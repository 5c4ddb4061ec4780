#include "world/cities_diagram.h"

#include <deque>

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/log_bound.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "scenario/scenario_paths.h"
#include "world/city.h"
#include "world/city_rules.h"
#include "world/file_io.h"
#include "world/gra.h"
#include "world/map.h"

namespace tr {
namespace {

constexpr std::u16string_view kOpeningLine =
    u"Otwieram plik z diagramem miast ze \u010f\u017c\u02ddcie\u010f\u017c\u02ddk\u010f\u017c\u02dd...";

// Lines hold at most this many characters, as the reader's buffer always did;
// the rest of a longer line reads as a line of its own.
constexpr std::size_t kLineBuffer = 499;

std::vector<std::u16string> SplitFields(std::u16string_view line) {
  std::vector<std::u16string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = line.find(u';', start);
    fields.emplace_back(line.substr(start, end == std::u16string_view::npos ? end : end - start));
    if (end == std::u16string_view::npos) break;
    start = end + 1;
  }
  return fields;
}

// The city on a hex of the file; coordinates off the map name no city.
cCity* CityAt(const cMap& map, int x, int y) {
  if (!map.IsInside(x, y)) return nullptr;
  return map.GetHex(x, y)->city;
}

}  // namespace

void cCitiesDiagram::Build(const std::list<std::unique_ptr<cCity>>& cities) {
  for (const auto& city : cities) {
    if (city->type == kCityResources) {
      city->diagramNode = -1;
      continue;
    }
    const int index = static_cast<int>(nodes_.size());
    nodes_.push_back(sCitiesDiagramNode{});
    nodes_.back().city = city.get();
    cityNodes_.emplace_back(city.get(), index);
    city->diagramNode = index;
  }
}

void cCitiesDiagram::Load(const cMap* map, std::u16string_view scenarioName) {
  if (!map) {
    LogLine(GetText("error_while_reading_cities_diagram._cannot_retrieve_map_pointer._end."));
    ExitDestroyingGame(1);
  }
  const std::u16string path = ScenarioFilePath(scenarioName, u"cities_diagram.csv");
  LogLine(kOpeningLine);
  LogLine(path);
  const std::optional<std::string> bytes = ReadTextFile(ResolveGamePath(path));
  if (!bytes) {
    LogLine(u"Blad otwarcia pliku! (nie istnieje?)");
    nodes_.clear();
    cityNodes_.clear();
    ExitDestroyingGame(1);
  }
  LogLine(u"Otwarcie OK");

  int lineNumber = 0;
  for (const sTextLine& raw : SplitTextLines(*bytes)) {
    const std::u16string whole = CodePageToUtf16(raw.text);
    std::u16string_view rest = whole;
    do {
      const std::u16string_view line = rest.substr(0, kLineBuffer);
      rest.remove_prefix(line.size());
      ++lineNumber;
      // The line end counts as a character of the line, as the reader sees it.
      const std::size_t length = line.size() + (rest.empty() && raw.ended ? 1 : 0);
      if (length <= 2 || line.front() == u'#') continue;
      const std::vector<std::u16string> fields = SplitFields(line);
      if (fields.size() < 5) {
        LogFormat(u"ERROR: line %i of %s has %i fields of 5, skipped", lineNumber, path,
                  static_cast<int>(fields.size()));
        continue;
      }
      int v[5];
      for (int i = 0; i < 5; ++i) v[i] = ParseLeadingInt(fields[i]);
      cCity* from = CityAt(*map, v[0], v[1]);
      cCity* to = CityAt(*map, v[2], v[3]);
      if (!from || !to) {
        LogLine(Format(GetText("critical_error_at_line_%i._no_city_at_given_coordinates"), lineNumber));
        const int x = from ? v[2] : v[0];
        const int y = from ? v[3] : v[1];
        LogFormat(u"ERROR: %s at line %i (counting from 1) links hex (%i, %i), where a city was expected; none is "
                  u"there. Exiting...",
                  path, lineNumber, x, y);
        // A saved game's cities come from its own table: the one cut, most likely.
        if (gGame != nullptr && gGame->loadedGame == 1) {
          LogFormat(u"ERROR: %s holds no city at hex (%i, %i), which the scenario's %s links (cut short?); the game "
                    u"is not loaded",
                    FolderFilePath(gGame->folderTemplate, u"cities.csv"), x, y, path);
        }
        FatalExit(1);
      }
      // A resource site has no node, so an edge to one adds nothing, as one
      // from it: an event may have made a linked city a resource site, and
      // the game's save must still load.
      if (to->diagramNode < 0 && to->type == kCityResources) {
        LogAboutFile(path,
                     u"WARNING: %s at line %i (counting from 1) links the resource site %s, which has no place in "
                     u"the diagram; the link is left out",
                     path, lineNumber, to->name);
        continue;
      }
      if (to->diagramNode < 0 || to->diagramNode >= NodeCount()) {
        LogLine(Format(GetText("critical_error._cannot_find_node_index_for_city_%s_(line_%i)"), to->name,
                       lineNumber));
        LogFormat(u"ERROR: %s at line %i (counting from 1) links city %s, which has no place in the diagram. "
                  u"Exiting...",
                  path, lineNumber, to->name);
        FatalExit(1);
      }
      // A resource site has no node, so an edge from one adds nothing.
      if (sCitiesDiagramNode* node = GetNode(from->diagramNode)) {
        node->edges.push_back({to->diagramNode, v[4]});
      }
    } while (!rest.empty());
  }
}

bool cCitiesDiagram::FindPath(cCity* from, cCity* to, int countryId, std::list<cCity*>& path) {
  if (!from || !to) return false;
  path.clear();
  for (sCitiesDiagramNode& node : nodes_) node.visited = 0;
  if (GetHopsTo(*from, *to) == -1) return false;
  const sHex* startHex = GetCityHex(*from);
  if (!startHex || !startHex->IsControlledByFriend(countryId)) return false;
  sCitiesDiagramNode* start = GetNode(from->diagramNode);
  if (!start) return false;

  struct sEntry {
    int node;
    int predecessor;  // index into the entries, -1 for the start
  };
  std::vector<sEntry> entries{{from->diagramNode, -1}};
  start->visited = 1;
  for (std::size_t current = 0; current < entries.size(); ++current) {
    for (const sCitiesDiagramEdge& edge : nodes_[entries[current].node].edges) {
      sCitiesDiagramNode* target = GetNode(edge.target);
      if (edge.kind != 0 || !target || target->visited) continue;
      const sHex* hex = GetCityHex(*target->city);
      if (!hex || !hex->IsControlledByFriend(countryId)) continue;
      target->visited = 1;
      entries.push_back({edge.target, static_cast<int>(current)});
      if (target->city != to) continue;
      for (int i = static_cast<int>(entries.size()) - 1; i > 0; i = entries[i].predecessor) {
        path.push_back(nodes_[entries[i].node].city);
      }
      return true;
    }
  }
  return false;
}

bool cCitiesDiagram::HasAlliedNeighbourOfKind1(int node, int countryId) const {
  const sCitiesDiagramNode* from = GetNode(node);
  if (!from) return false;
  for (const sCitiesDiagramEdge& edge : from->edges) {
    const sCitiesDiagramNode* target = GetNode(edge.target);
    if (edge.kind != 1 || !target) continue;
    const int controller = GetControllerId(*target->city);
    const cCountry* country = gGame ? gGame->GetCountry(countryId) : nullptr;
    if (controller != 0 && country && country->IsAlly(controller)) return true;
  }
  return false;
}

void cCitiesDiagram::ResetNodes() {
  for (sCitiesDiagramNode& node : nodes_) node.ResetStatistics();
}

void sCitiesDiagramNode::ResetStatistics() {
  visited = 0;
  stats = {};
  ownUnitCount = 0;
}

sCitiesDiagramNode* cCitiesDiagram::GetNode(int index) {
  return index >= 0 && index < NodeCount() ? &nodes_[index] : nullptr;
}

const sCitiesDiagramNode* cCitiesDiagram::GetNode(int index) const {
  return index >= 0 && index < NodeCount() ? &nodes_[index] : nullptr;
}

}  // namespace tr
