#include "scenario/naval_units_file.h"

#include <memory>
#include <unordered_set>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/log_bound.h"
#include "scenario/saved_fields.h"
#include "scenario/scenario_constants_layout.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"
#include "scenario/table_writer.h"
#include "scenario/unit_file_checks.h"
#include "units/unit.h"
#include "world/gra.h"
#include "world/hex.h"
#include "world/load_checks.h"
#include "world/value_limits.h"

namespace tr {
namespace {

constexpr std::u16string_view kHeader =
    u"#Naval units\n#ID;Name;Country ID;Type;Fleet ID;HP;Max HP;Commander ID (-1 = no commander assigned);In "
    u"reserve [0=false 1=true];Shore bombardment done? [0=false 1=true];Airstrike done? [0=false 1=true];Available "
    u"in turns;Recon done? [0=false 1=true] ;Can be repaired? [0=false 1=true]\n";
constexpr std::u16string_view kRow = u"\n%i;%s;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;";

std::u16string Row(const cJednostkaMorska& s, int fleetId, int commanderId) {
  return Format(kRow, s.id, SanitizeFieldText(s.name), s.owner, s.type, fleetId, s.hitPoints, s.maxHitPoints,
                commanderId, s.inReserve ? 1 : 0, s.shoreBombardmentDone ? 1 : 0, s.airstrikeDone ? 1 : 0,
                s.availableInTurns, s.reconDone ? 1 : 0, s.canBeRepaired ? 1 : 0);
}

// A ship's country exists (or the load stops) and its type is a ship type.
// A ship on the map names the fleet that holds it (or the load stops), a
// ship in reserve none (-1).
constexpr sSavedField kNavalFields[] = {
    SavedWhole(u"ID", 0, kMaxObjectNumber),
    SavedText(u"Name", kNameBytes),
    SavedWhole(u"Country ID", 1, kMaxCountryNumber),
    SavedWhole(u"Type", kAircraftCarrier, kAmphibiousShip),
    SavedWhole(u"Fleet ID", -1, kMaxObjectNumber),
    SavedWhole(u"HP", 0, kMaxTurnCount),
    SavedWhole(u"Max HP", 0, kMaxTurnCount),
    SavedWhole(u"Commander ID", -1, kMaxObjectNumber),
    SavedSwitch(u"In reserve"),
    SavedSwitch(u"Shore bombardment done?"),
    SavedSwitch(u"Airstrike done?"),
    SavedWhole(u"Available in turns", 0, kMaxTurnCount),
    SavedSwitch(u"Recon done?"),
    SavedSwitch(u"Can be repaired?"),
};
constexpr std::size_t kNavalKey[] = {0};
constexpr sSavedLine kNavalLines[] = {{.fields = kNavalFields, .unique = kNavalKey}};

}  // namespace

const sSavedTable kNavalUnitsFields{u"naval_units.csv", kNavalLines};


void LoadNavalUnits(cGame& game, std::u16string_view folder_template) {
  const std::u16string path = FolderFilePath(folder_template, u"naval_units.csv");
  cCsvReader reader = OpenTable(kOpeningNavalUnitsLine, path);
  game.navalUnits.clear();
  std::unordered_set<std::int32_t> used;
  cTableRows table(reader, kRow, path, game.loadedGame == 1);
  while (table.Next()) {
    const auto& f = table.fields();
    const int line = table.line();
    const std::int32_t type = FieldInt(f, 3);
    if (!IsKnownTypeOf(kCategoryNaval, type)) {
      LogValueOutOfRange(u"Naval unit type", type, path, line);
      continue;
    }
    const std::int32_t id = FieldInt(f, 0);
    if (id < 0 || id > kMaxObjectNumber) {
      LogRowOutOfRange(u"Naval unit ID", id, path, line);
      continue;
    }
    // Transports and fleets find their ships by number: a second ship with it would be lost to both.
    if (!used.insert(id).second) {
      if (ReadingSavedTable(path)) RefuseDamagedTable(path, line, Format(u"has the naval unit ID %i a second time", id));
      LogAboutFile(path,
                   u"WARNING: naval unit ID %i in %s at line %i (counting from 1) is already used; row skipped",
                   id, path, line);
      continue;
    }
    auto ship = std::make_unique<cJednostkaMorska>();
    ship->id = id;
    ship->fileLine = line;
    ship->name = CutName(f[1]);
    ship->owner = FieldInt(f, 2);
    ship->SetType(type);
    ship->fleetId = FieldInt(f, 4);
    // Summed over a fleet's ships.
    ship->hitPoints = FieldIntIn(f, 5, 0, kMaxTurnCount, 0, u"HP", path, line);
    ship->maxHitPoints = FieldIntIn(f, 6, 0, kMaxTurnCount, 0, u"Max HP", path, line);
    if (ship->hitPoints > ship->maxHitPoints) {
      if (ReadingSavedTable(path)) {
        RefuseDamagedTable(path, line, Format(u"has HP %i above Max HP %i", ship->hitPoints, ship->maxHitPoints));
      }
      LogAboutFile(path,
                   u"WARNING: HP (%i) above Max HP (%i) in %s at line %i (counting from 1); %i used",
                   ship->hitPoints, ship->maxHitPoints, path, line, ship->maxHitPoints);
      ship->hitPoints = ship->maxHitPoints;
    }
    const std::int32_t commanderId = FieldInt(f, 7);
    ship->attachedCommander = CommanderOfUnitRow(game, commanderId, path, line);
    ship->commanderId = -1;
    ship->inReserve = FieldSwitch(f, 8, path, line);
    ship->shoreBombardmentDone = FieldSwitch(f, 9, path, line);
    ship->airstrikeDone = FieldSwitch(f, 10, path, line);
    ship->availableInTurns = FieldIntIn(f, 11, 0, kMaxTurnCount, 0, u"Available in turns", path, line);
    ship->reconDone = FieldSwitch(f, 12, path, line);
    ship->canBeRepaired = FieldSwitch(f, 13, path, line);
    LogFormat(u"Naval unit %s (ID=%i CountryID=%i) added", ship->name, ship->id, ship->owner);
    if (ship->attachedCommander) ship->attachedCommander->headquarters = ship.get();
    game.navalUnits.push_back(std::move(ship));
  }
}

bool WriteNavalUnits(const cGame& game, std::u16string_view folder) {
  cTableWriter writer(SaveFilePath(folder, u"naval_units.csv"));
  if (!writer.ok()) return false;
  writer.Write(kHeader);
  writer.Write(u"#On map");
  for (const auto& ship : game.navalUnits) {
    writer.Write(Row(*ship, ship->fleet ? ship->fleet->id : ship->fleetId,
                     ship->attachedCommander ? ship->attachedCommander->id : -1));
  }
  writer.Write(u"\n#In reserve");
  for (const auto& ship : game.navalReserve) writer.Write(Row(*ship, -1, -1));
  return writer.Commit();
}

}  // namespace tr
