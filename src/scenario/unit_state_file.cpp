#include "scenario/unit_state_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <map>
#include <optional>
#include <string>
#include <utility>
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
#include "turn/sea_graph.h"
#include "units/jednostka.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_morska.h"
#include "world/file_io.h"
#include "world/gra.h"
#include "world/hex.h"
#include "world/value_limits.h"

namespace tr {
namespace {

constexpr std::u16string_view kHeader =
    u"#Seas;country the seas are seen for; then Land or Air;ID;spotted (0 or 1);combat value; and Naval;ID;spotted; "
    u"then Node;ID;own, allied and spotted enemy ships by type;player and enemy marker ship IDs (-1: none); then "
    u"Moved;ID of a land unit that moved or was placed this turn";
constexpr std::size_t kNodeFields = 2 + 3 * kShipTypeCount + 2;
constexpr std::size_t kLandOrAirFields = 4;
constexpr std::size_t kNavalFields = 3;
constexpr std::array<sSavedLineKind, 6> kLineKinds{{{"Seas", 2},
                                                   {"Land", kLandOrAirFields},
                                                   {"Air", kLandOrAirFields},
                                                   {"Naval", kNavalFields},
                                                   {"Node", kNodeFields},
                                                   {"Moved", 2}}};

// The fields of a Node line: its number, the ships of each type (own, allied,
// spotted enemy), and the player's and the enemy's marker ship.
constexpr std::array<sSavedField, kNodeFields> NodeFields() {
  std::array<sSavedField, kNodeFields> fields{};
  fields[0] = SavedText(u"Line kind", 5);
  fields[1] = SavedWhole(u"Node ID", 1, kMaxSeaNodeNumber);
  for (std::size_t i = 2; i + 2 < kNodeFields; ++i) fields[i] = SavedWhole(u"Ship count", 0, kMaxPoints);
  fields[kNodeFields - 2] = SavedWhole(u"Player marker ship ID", -1, kMaxObjectNumber);
  fields[kNodeFields - 1] = SavedWhole(u"Enemy marker ship ID", -1, kMaxObjectNumber);
  return fields;
}
constexpr std::array<sSavedField, kNodeFields> kNodeLine = NodeFields();
constexpr sSavedField kSeasLine[] = {SavedText(u"Line kind", 5), SavedWhole(u"Country the seas are seen for", 0,
                                                                            kMaxCountryNumber)};
constexpr sSavedField kUnitLine[] = {SavedText(u"Line kind", 5), SavedWhole(u"ID", 0, kMaxObjectNumber),
                                     SavedSwitch(u"Spotted"), SavedWhole(u"Combat value", 0, kMaxCombatValue)};
constexpr sSavedField kMovedLine[] = {SavedText(u"Line kind", 5), SavedWhole(u"ID", 0, kMaxObjectNumber)};
constexpr std::size_t kKindKey[] = {0};
constexpr std::size_t kIdKey[] = {1};
// Land and air units may share a number, and so may the lines of their moves.
constexpr sSavedLine kStateLines[] = {{.key = "Seas", .fields = kSeasLine, .unique = kKindKey},
                                      {.key = "Land", .fields = kUnitLine},
                                      {.key = "Air", .fields = kUnitLine},
                                      {.key = "Naval", .fields = std::span(kUnitLine).first(3), .unique = kIdKey},
                                      {.key = "Node", .fields = kNodeLine, .unique = kIdKey},
                                      {.key = "Moved", .fields = kMovedLine}};

enum class eKind : std::uint8_t { kLand, kAir, kNaval };

std::optional<eKind> KindOf(std::string_view name) {
  if (name == "Land") return eKind::kLand;
  if (name == "Air") return eKind::kAir;
  if (name == "Naval") return eKind::kNaval;
  return std::nullopt;
}

std::u16string_view NameOf(eKind kind) {
  switch (kind) {
    case eKind::kLand: return u"Land";
    case eKind::kAir: return u"Air";
    case eKind::kNaval: return u"Naval";
  }
  return u"";
}

// Every unit the game holds, wherever it stands, with its kind. The lists
// own their units: a const game still hands them out for writing.
template <typename F>
void ForEachUnit(const cGame& game, F&& visit) {
  for (const auto& unit : game.landUnits) visit(eKind::kLand, *unit);
  for (const auto& unit : game.aboardUnitsA) visit(eKind::kLand, *unit);
  for (const auto& unit : game.aboardUnitsB) visit(eKind::kLand, *unit);
  for (const auto& unit : game.airUnits) visit(eKind::kAir, *unit);
  for (const auto& unit : game.reservePool) {
    visit(unit->category == kCategoryLand ? eKind::kLand : eKind::kAir, *unit);
  }
  for (const auto& ship : game.navalUnits) visit(eKind::kNaval, *ship);
  for (const auto& ship : game.navalReserve) visit(eKind::kNaval, *ship);
}

void AppendField(std::string& out, int value) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, end);
  out += ';';
}

int ShipId(const cJednostkaMorska* ship) { return ship ? ship->id : -1; }

std::u16string NodeRow(const sWezelGrafuMorz& node) {
  std::u16string row = Format(u"\nNode;%i;", node.id);
  for (const auto* counters : {&node.ownShips, &node.alliedShips, &node.spottedEnemyShips}) {
    for (const std::int32_t count : *counters) row += Format(u"%i;", count);
  }
  return row + Format(u"%i;%i;", ShipId(node.playerMarkerShip), ShipId(node.enemyMarkerShip));
}

class cUnitStateReader {
 public:
  cUnitStateReader(cGame& game, std::u16string_view path) : game_(game), path_(path) {
    ForEachUnit(game, [this](eKind kind, cUnit& unit) {
      units_[{kind, unit.id}].units.push_back(&unit);
    });
    for (const auto& ship : game.navalUnits) ships_[ship->id] = ship.get();
  }

  // A line of one of kLineKinds with the fields of its kind.
  void Line(const std::vector<std::string_view>& fields, int line) {
    if (fields[0] == "Seas") {
      // 0 when the seas are seen for no country yet.
      game_.seaGraph.viewingCountry = SavedWholeIn(fields[1], 2, 0, game_.CountryCount(),
                                                   u"0 or a country the save holds", path_, line);
    } else if (fields[0] == "Node") {
      Node(fields, line);
    } else if (fields[0] == "Moved") {
      Moved(fields, line);
    } else {
      Unit(fields, line);
    }
  }

  // The game writes a line for every unit it holds: a unit without one was
  // added to its unit table after the save was written.
  void CheckEveryUnitNamed() const {
    for (const auto& [key, numbered] : units_) {
      if (numbered.lines == static_cast<int>(numbered.units.size())) continue;
      const cUnit& unit = *numbered.units[static_cast<std::size_t>(numbered.lines)];
      const std::u16string_view table = key.first == eKind::kLand  ? u"land_units.csv"
                                        : key.first == eKind::kAir ? u"air_units.csv"
                                                                   : u"naval_units.csv";
      RefuseDamagedTable(path_, 0, Format(u"has no line for the %s unit ID=%i of %s at line %i (counting from 1)",
                                          NameOf(key.first), key.second, table, unit.fileLine));
    }
  }

  // The pool holds land and air units in the order they joined it, which
  // the two unit tables cannot keep; the lines of the file keep it.
  void RestorePoolOrder() {
    const auto place = [this](const auto& unit) {
      const auto found = order_.find(unit.get());
      return found == order_.end() ? INT_MAX : found->second;
    };
    std::stable_sort(game_.reservePool.begin(), game_.reservePool.end(),
                     [&place](const auto& a, const auto& b) { return place(a) < place(b); });
  }

 private:
  int Held(int value, int low, int high, std::u16string_view what, int line) const {
    return HeldInRange(value, low, high, what, path_, line);
  }

  int Number(const std::vector<std::string_view>& fields, std::size_t i, int line) const {
    return SavedWholeField(fields, i, path_, line);
  }

  // A line of Land, Air or Naval with its fields: the table's reader passes no other.
  void Unit(const std::vector<std::string_view>& fields, int line) {
    const eKind kind = *KindOf(fields[0]);
    const int id = Number(fields, 1, line);
    const int spotted = SavedWholeIn(fields[2], 3, 0, 1, u"0 or 1", path_, line);
    const auto found = units_.find({kind, id});
    // The unit tables lost the unit the line was written for.
    if (found == units_.end()) {
      RefuseDamagedTable(path_, line, Format(u"names the %s unit ID=%i, which the save does not hold", NameOf(kind), id));
    }
    // The game writes a line for each unit: one more for its number would
    // be read over the first. Units that share a number (two rows of a table
    // may give them one) have a line each, written in the order read here.
    sNumbered& numbered = found->second;
    const int units = static_cast<int>(numbered.units.size());
    if (numbered.firstLine == 0) numbered.firstLine = line;
    if (++numbered.lines > units) {
      RefuseDamagedTable(path_, line,
                         units == 1
                             ? Format(u"names the %s unit ID=%i a second time (first at line %i)", NameOf(kind), id,
                                      numbered.firstLine)
                             : Format(u"names the %s unit ID=%i more often than the %i units of that number the save "
                                      u"holds (first at line %i)",
                                      NameOf(kind), id, units, numbered.firstLine));
    }
    cUnit& unit = *numbered.units[static_cast<std::size_t>(numbered.lines - 1)];
    order_.emplace(&unit, static_cast<int>(order_.size()));
    unit.spotted = spotted != 0 ? 1 : 0;
    if (auto* held = dynamic_cast<cJednostka*>(&unit)) {
      held->combatValue = Held(Number(fields, 3, line), 0, kMaxCombatValue, u"Combat value", line);
    }
  }

  // The step a unit that began its turn without points may take, once.
  void Moved(const std::vector<std::string_view>& fields, int line) {
    const int id = Number(fields, 1, line);
    const auto found = units_.find({eKind::kLand, id});
    auto* land = found == units_.end() ? nullptr : dynamic_cast<cJednostkaLadowa*>(found->second.units.back());
    if (!land) RefuseDamagedTable(path_, line, Format(u"names the land unit ID=%i, which the save does not hold", id));
    land->movedThisTurn = 1;
  }

  cJednostkaMorska* Ship(int id, int line) const {
    if (id == -1) return nullptr;
    const auto found = ships_.find(id);
    if (found == ships_.end()) RefuseDamagedTable(path_, line, Format(u"names the ship ID=%i, which no fleet holds", id));
    return found->second;
  }

  void Node(const std::vector<std::string_view>& fields, int line) {
    const int id = Number(fields, 1, line);
    if (!game_.seaGraph.IsNodeId(id)) {
      RefuseDamagedTable(path_, line, Format(u"names the sea node ID=%i, which the save does not hold", id));
    }
    sWezelGrafuMorz& node = game_.seaGraph.GetNode(id - 1);
    std::size_t field = 2;
    for (auto* counters : {&node.ownShips, &node.alliedShips, &node.spottedEnemyShips}) {
      for (std::int32_t& count : *counters) {
        count = Held(Number(fields, field++, line), 0, kMaxPoints, u"Ship count", line);
      }
    }
    node.playerMarkerShip = Ship(Number(fields, field, line), line);
    node.enemyMarkerShip = Ship(Number(fields, field + 1, line), line);
  }

  cGame& game_;
  std::u16string_view path_;
  // The units of a kind and number in the order the game writes their
  // lines, the lines read for them and the first of those lines.
  struct sNumbered {
    std::vector<cUnit*> units;
    int lines = 0;
    int firstLine = 0;
  };
  std::map<std::pair<eKind, int>, sNumbered> units_;
  std::map<int, cJednostkaMorska*> ships_;
  std::map<const cUnit*, int> order_;  // the line of each unit read
};

}  // namespace

const sSavedTable kUnitStateFields{u"unit_state.csv", kStateLines};

bool WriteUnitState(const cGame& game, std::u16string_view folder) {
  cTableWriter writer(SaveFilePath(folder, u"unit_state.csv"));
  if (!writer.ok()) return false;
  writer.Write(kHeader);
  writer.Write(Format(u"\nSeas;%i;", game.seaGraph.viewingCountry));
  // A row per unit, thousands in a large game: written without the formatter.
  std::string rows;
  ForEachUnit(game, [&rows](eKind kind, const cUnit& unit) {
    rows += "\r\n";
    for (const char16_t c : NameOf(kind)) rows += static_cast<char>(c);
    rows += ';';
    AppendField(rows, unit.id);
    AppendField(rows, unit.spotted ? 1 : 0);
    if (kind != eKind::kNaval) AppendField(rows, static_cast<const cJednostka&>(unit).combatValue);
  });
  // Whether a unit moved this turn is read at the end of the impulse (its
  // entrenchment) and by its move range; a save between two countries' turns keeps it.
  ForEachUnit(game, [&rows](eKind kind, const cUnit& unit) {
    const auto* land = kind == eKind::kLand ? dynamic_cast<const cJednostkaLadowa*>(&unit) : nullptr;
    if (!land || !land->movedThisTurn) return;
    rows += "\r\nMoved;";
    AppendField(rows, unit.id);
  });
  writer.WriteBytes(rows);
  for (const sWezelGrafuMorz& node : game.seaGraph.nodes) writer.Write(NodeRow(node));
  return writer.Commit();
}

void LoadUnitState(cGame& game, std::u16string_view folderTemplate) {
  const std::u16string path = FolderFilePath(folderTemplate, u"unit_state.csv");
  // Only a save has the file: a value past its range is refused, not held.
  const cSavedTableScope scope(path, true);
  cUnitStateReader reader(game, path);
  const bool present = ReadLaterSavedTable(
      path, u"No unit_state.csv: a save from before it was written; the units keep what the unit tables give them",
      kLineKinds, [&reader](const std::vector<std::string_view>& fields, int line) { reader.Line(fields, line); });
  if (!present) return;
  reader.CheckEveryUnitNamed();
  reader.RestorePoolOrder();
}

}  // namespace tr
