#include "ai/ai_memory_file.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "ai/country_ai.h"
#include "ai/front.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/log_bound.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "scenario/saved_fields.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"
#include "scenario/table_writer.h"
#include "world/cities_diagram.h"
#include "world/file_io.h"
#include "world/gra.h"
#include "world/value_limits.h"

namespace tr {

namespace {

constexpr std::u16string_view kHeader =
    u"#Invasions the computer remembers: Waiting;country;land unit ID;impulses stalled;sea node; and "
    u"GivenUp;country;target hex X;target hex Y;impulse of the give-up; its fronts: Front;country;state;advantage;"
    u"the nine strengths;node count;cities diagram nodes...; and the diagram's counts: Counts;node;visited;the nine "
    u"strengths;own units;";
constexpr std::size_t kWaitingFields = 5;
constexpr std::size_t kGivenUpFields = 5;
constexpr std::size_t kStatisticsFields = 9;
constexpr std::size_t kFrontFields = 4 + kStatisticsFields;  // before the nodes
constexpr std::size_t kCountsFields = 3 + kStatisticsFields + 1;
// A front's line holds its node count after the fields before the nodes.
constexpr std::array<sSavedLineKind, 4> kLineKinds{{{"Waiting", kWaitingFields},
                                                   {"GivenUp", kGivenUpFields},
                                                   {"Front", kFrontFields + 1},
                                                   {"Counts", kCountsFields}}};

// What the game writes in each field. A wait's sea node and a given-up
// target's hex are the fleet's (its node, its invasion hex), which fleets.csv
// keeps as a scenario gives them; impulses count up from 0 within the game's
// turns; a front's strengths and counts are held within kMaxFrontValue as
// they are counted (HeldFrontValue), its advantage too; the diagram's nodes
// are named by their place in it, checked against the scenario's by the reader.
constexpr sSavedField kKindField = SavedText(u"Line kind", 7);
constexpr sSavedField kCountryField = SavedWhole(u"Country", 1, kMaxCountryNumber);
constexpr sSavedField kStrengthField = SavedDecimal(u"Strength", 0, kMaxFrontValue);
constexpr sSavedField kCountField = SavedWhole(u"Count", 0, kMaxFrontValue);
constexpr sSavedField kDiagramNodeField = SavedWhole(u"Cities diagram node", 0, kAnyWhole);
constexpr sSavedField kWaitingLine[] = {kKindField, kCountryField, SavedWhole(u"Land unit ID", 0, kMaxObjectNumber),
                                        SavedWhole(u"Impulses stalled", 0, kMaxTurnCount), SavedAnyWhole(u"Sea node")};
constexpr sSavedField kGivenUpLine[] = {kKindField, kCountryField, SavedAnyWhole(u"Target hex X"),
                                        SavedAnyWhole(u"Target hex Y"),
                                        SavedWhole(u"Impulse of the give-up", 0, kMaxTurnCount)};
constexpr sSavedField kFrontLine[] = {
    kKindField,     kCountryField,  SavedWhole(u"State", kFrontHolding, kFrontCritical),
    SavedDecimal(u"Advantage", 0, kMaxFrontValue),
    kStrengthField, kStrengthField, kStrengthField,
    kCountField,    kCountField,    kCountField,
    kCountField,    kCountField,    kCountField,
    SavedWhole(u"Node count", 1, kAnyWhole),
    kDiagramNodeField};
constexpr sSavedField kCountsLine[] = {
    kKindField,     kDiagramNodeField, SavedSwitch(u"Visited"),
    kStrengthField, kStrengthField,    kStrengthField,
    kCountField,    kCountField,       kCountField,
    kCountField,    kCountField,       kCountField,
    SavedWhole(u"Own units", 0, kMaxFrontValue)};
// The game keeps one wait per country and carried unit, and one count per node.
constexpr std::size_t kWaitKey[] = {1, 2};
constexpr std::size_t kNodeKey[] = {1};
constexpr sSavedLine kMemoryLines[] = {
    {.key = "Waiting", .fields = kWaitingLine, .unique = kWaitKey},
    {.key = "GivenUp", .fields = kGivenUpLine},
    {.key = "Front", .fields = kFrontLine, .repeatLast = true},
    {.key = "Counts", .fields = kCountsLine, .unique = kNodeKey},
};

std::u16string StatisticsText(const sFrontStatistics& s) {
  std::string text;
  for (const float value : {s.landOurs, s.landOwn, s.landEnemy}) text += SavedDecimalText(value) + ';';
  for (const std::int32_t value : {s.airUnitsOurs, s.airUnitsOwn, s.airUnitsEnemy, s.airStrengthOurs,
                                   s.airStrengthOwn, s.airStrengthEnemy}) {
    text += std::to_string(value) + ';';
  }
  return Utf8ToUtf16(text);
}

int NodeIndex(const cGame& game, const sCitiesDiagramNode* node) {
  const cCitiesDiagram& diagram = game.citiesDiagram;
  for (int i = 0; i < diagram.NodeCount(); ++i) {
    if (diagram.GetNode(i) == node) return i;
  }
  return -1;
}

bool IsBlank(const sCitiesDiagramNode& node) {
  const sFrontStatistics& s = node.stats;
  return !node.visited && node.ownUnitCount == 0 && s.landOurs == 0.0f && s.landOwn == 0.0f &&
         s.landEnemy == 0.0f && s.airUnitsOurs == 0 && s.airUnitsOwn == 0 && s.airUnitsEnemy == 0 &&
         s.airStrengthOurs == 0 && s.airStrengthOwn == 0 && s.airStrengthEnemy == 0;
}

}  // namespace

const sSavedTable kAiMemoryFields{u"ai_memory.csv", kMemoryLines};

bool WriteAiMemory(const cGame& game, std::u16string_view folder) {
  cTableWriter writer(SaveFilePath(folder, u"ai_memory.csv"));
  if (!writer.ok()) return false;
  writer.Write(kHeader);
  for (std::size_t i = 0; i < game.countryAi.size() && i < game.countries.size(); ++i) {
    const cCountryAI& ai = *game.countryAi[i];
    const int country = game.countries[i]->id;
    for (const auto& [unitId, wait] : ai.invasionWaits_) {
      writer.Write(Format(u"\nWaiting;%i;%i;%i;%i;", country, unitId, wait.stalled, wait.node));
    }
    for (const auto& given : ai.givenUpTargets_) {
      writer.Write(Format(u"\nGivenUp;%i;%i;%i;%i;", country, given.at.x, given.at.y, given.turn));
    }
    // A country deploys by its fronts of its last turn at war, in its turns
    // at peace too; they are not worked out again then.
    for (const sFront& front : ai.fronts) {
      std::u16string row = Format(u"\nFront;%i;%i;%s;", country, front.state,
                                  Utf8ToUtf16(SavedDecimalText(front.advantage)));
      row += StatisticsText(front.stats) + Format(u"%i;", static_cast<int>(front.cities.size()));
      for (const sCitiesDiagramNode* node : front.cities) row += Format(u"%i;", NodeIndex(game, node));
      writer.Write(row);
    }
  }
  // The counts the last country at war left on the diagram's nodes, which
  // the deployments of countries at peace read.
  const cCitiesDiagram& diagram = game.citiesDiagram;
  for (int i = 0; i < diagram.NodeCount(); ++i) {
    const sCitiesDiagramNode& node = *diagram.GetNode(i);
    if (IsBlank(node)) continue;
    writer.Write(Format(u"\nCounts;%i;%i;", i, static_cast<int>(node.visited)) + StatisticsText(node.stats) +
                 Format(u"%i;", node.ownUnitCount));
  }
  return writer.Commit();
}

class cAiMemoryReader {
 public:
  cAiMemoryReader(cGame& game, std::u16string_view path) : game_(game), path_(path) {}

  // A line of one of kLineKinds with the fields of its kind.
  void Line(const std::vector<std::string_view>& fields, int line) {
    if (fields[0] == "Waiting") {
      const std::vector<int> n = Numbers(fields, kWaitingFields, line);
      const int stalled = Held(n[2], u"impulses stalled", line);
      if (cCountryAI* ai = CountryAi(n[0], line)) ai->invasionWaits_[n[1]] = {stalled, n[3]};
    } else if (fields[0] == "GivenUp") {
      const std::vector<int> n = Numbers(fields, kGivenUpFields, line);
      const int turn = Held(n[3], u"impulse of the give-up", line);
      if (cCountryAI* ai = CountryAi(n[0], line)) ai->givenUpTargets_.push_back({{n[1], n[2]}, turn});
    } else if (fields[0] == "Front") {
      Front(fields, line);
    } else {
      Counts(fields, line);
    }
  }

 private:
  // Impulses are counted and compared by subtraction: a count beyond the
  // game's impulses is held at the bound.
  int Held(int value, std::u16string_view what, int line, int top = kMaxTurnCount) const {
    return HeldInRange(value, 0, top, what, path_, line);
  }

  std::vector<int> Numbers(const std::vector<std::string_view>& fields, std::size_t count, int line) const {
    std::vector<int> numbers;
    for (std::size_t i = 1; i < count; ++i) numbers.push_back(SavedWholeField(fields, i, path_, line));
    return numbers;
  }

  sFrontStatistics Statistics(const std::vector<std::string_view>& fields, std::size_t first, int line) const {
    sFrontStatistics s;
    std::size_t i = first;
    // Summed and turned into whole numbers by the deployments: held where neither overflows.
    for (float* value : {&s.landOurs, &s.landOwn, &s.landEnemy}) *value = HeldDecimal(fields, i++, line);
    for (std::int32_t* value : {&s.airUnitsOurs, &s.airUnitsOwn, &s.airUnitsEnemy, &s.airStrengthOurs,
                                &s.airStrengthOwn, &s.airStrengthEnemy}) {
      // Counted on at the next war turn: held where adding to them cannot overflow.
      *value = Held(SavedWholeField(fields, i, path_, line), Format(u"field %i", static_cast<int>(i) + 1), line,
                    kMaxFrontValue);
      ++i;
    }
    return s;
  }

  // Strengths and their ratio are never negative, and are held where the
  // fronts are counted.
  float HeldDecimal(const std::vector<std::string_view>& fields, std::size_t i, int line) const {
    if (i >= fields.size() || !IsDecimalNumberText(Utf8ToUtf16(fields[i]))) {
      RefuseDamagedTable(path_, line, Format(u"has no number in field %i", static_cast<int>(i) + 1));
    }
    const float value = ParseLeadingFloat(fields[i]);
    constexpr float kMost = static_cast<float>(kMaxFrontValue);
    if (value >= 0.0f && value <= kMost) return value;
    return HeldInRange(value, 0.0f, kMost, Format(u"field %i", static_cast<int>(i) + 1), path_, line);
  }

  sCitiesDiagramNode* Node(int index, int line) const {
    sCitiesDiagramNode* node = game_.citiesDiagram.GetNode(index);
    if (!node) {
      RefuseDamagedTable(path_, line,
                         Format(u"names the cities diagram node %i, which the scenario does not hold", index));
    }
    return node;
  }

  void Front(const std::vector<std::string_view>& fields, int line) {
    const int count = SavedWholeField(fields, kFrontFields, path_, line);
    const std::size_t all = kFrontFields + 1 + static_cast<std::size_t>(std::max(count, 0));
    if (count < 1 || fields.size() != all) {
      RefuseDamagedTable(path_, line, Format(u"has %i fields for a front of %i nodes", static_cast<int>(fields.size()),
                                             count));
    }
    cCountryAI* ai = CountryAi(SavedWholeField(fields, 1, path_, line), line);
    sFront front;
    // A front is holding, threatened or critical: the game writes no other state.
    front.state = SavedWholeIn(fields[2], 3, kFrontHolding, kFrontCritical, u"a front's state from 0 to 2", path_,
                               line);
    front.advantage = HeldDecimal(fields, 3, line);
    front.stats = Statistics(fields, 4, line);
    for (std::size_t i = kFrontFields + 1; i < all; ++i) {
      if (sCitiesDiagramNode* node = Node(SavedWholeField(fields, i, path_, line), line)) front.cities.push_back(node);
    }
    if (!ai || front.cities.empty()) return;
    const cCity* first = front.cities.front()->city;
    front.name = Format(u"Front miasta %s", first ? first->name : std::u16string()).substr(0, 99);
    ai->fronts.push_back(std::move(front));
  }

  void Counts(const std::vector<std::string_view>& fields, int line) {
    const int index = SavedWholeField(fields, 1, path_, line);
    sCitiesDiagramNode* node = Node(index, line);
    if (!node) return;
    node->visited = static_cast<std::uint8_t>(SavedWholeIn(fields[2], 3, 0, 1, u"0 or 1", path_, line));
    node->stats = Statistics(fields, 3, line);
    node->ownUnitCount = Held(SavedWholeField(fields, 3 + kStatisticsFields, path_, line), u"own units", line,
                              kMaxFrontValue);
  }

  cCountryAI* CountryAi(int countryId, int line) const {
    if (countryId >= 1 && countryId <= game_.CountryCount()) {
      return &CountryAiOf(game_, *game_.countries[static_cast<std::size_t>(countryId - 1)]);
    }
    RefuseDamagedTable(path_, line, Format(u"names the country %i, which the save does not hold", countryId));
  }

  cGame& game_;
  std::u16string_view path_;
};

void LoadAiMemory(cGame& game, std::u16string_view folderTemplate) {
  const std::u16string path = FolderFilePath(folderTemplate, u"ai_memory.csv");
  // Only a save has the file: a value past its range is refused, not held.
  const cSavedTableScope scope(path, true);
  cAiMemoryReader reader(game, path);
  ReadLaterSavedTable(path, u"No ai_memory.csv: a save from before it was written; the computer remembers no invasion",
                      kLineKinds,
                      [&reader](const std::vector<std::string_view>& fields, int line) { reader.Line(fields, line); });
}

}  // namespace tr
