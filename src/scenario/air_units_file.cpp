#include "scenario/air_units_file.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/log_bound.h"
#include "scenario/saved_fields.h"
#include "scenario/scenario_constants.h"
#include "scenario/scenario_constants_layout.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"
#include "scenario/table_writer.h"
#include "scenario/unit_file_checks.h"
#include "units/unit.h"
#include "world/gra.h"
#include "world/hex.h"
#include "world/load_checks.h"
#include "world/presentation.h"
#include "world/value_limits.h"

namespace tr {
namespace {

// Strength points, as a land unit's percent: far above any type's full strength.
constexpr std::u16string_view kHeader =
    u"#Air units\n#ID;Name;Country ID;Hex X;Hex Y;Type;Level (1-5);Strength;Commander ID (-1 = no commander "
    u"assigned);Attacked [0=false 1=true];Was attacked [0=false 1=true];Supply source X;Supply source Y;Action "
    u"Points;Starting AP;In reserve [0=false 1=true];Supply;Air recon done? [0=false 1=true];Available in turns";
constexpr std::u16string_view kRow = u"\n%i;%s;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;";
constexpr std::u16string_view kBoxText =
    u"There where invalid entries in air_units.csv, see ConsoleOut for details. This does not break the game, click "
    u"OK to continue";

std::u16string Row(const cJednostkaLotnicza& u) {
  return Format(kRow, u.id, SanitizeFieldText(u.name), u.owner, u.x, u.y, u.type, u.level, u.strength,
                u.attachedCommander ? u.attachedCommander->id : -1, u.attacked ? 1 : 0, u.wasAttacked ? 1 : 0,
                u.supplySourceX, u.supplySourceY, u.actionPoints, u.startingActionPoints, u.inReserve ? 1 : 0,
                u.supply, u.airReconDone == 1 ? 1 : 0, u.availableInTurns);
}

// A unit's country exists (or the load stops) and its type is an air type.
// A turn starts it with the constants' points for its type, which may be
// below 0 (within kMaxConstantMagnitude); a flight takes one and a recon of
// a port two, so a unit may end below 0: the bound below is far past that.
// The supply source is kept as a scenario gives it, its reader taking any
// number, until the supply is traced.
constexpr sSavedField kAirFields[] = {
    SavedWhole(u"ID", 0, kMaxObjectNumber),
    SavedText(u"Name", kNameBytes),
    SavedWhole(u"Country ID", 1, kMaxCountryNumber),
    SavedWhole(u"Hex X", -1, kMaxHexCoordinate),
    SavedWhole(u"Hex Y", -1, kMaxHexCoordinate),
    SavedWhole(u"Type", kFighter, kStrategicBomber),
    SavedWhole(u"Level", kMinUnitLevel, kMaxUnitLevel),
    SavedWhole(u"Strength", 0, kMaxAirStrength),
    SavedWhole(u"Commander ID", -1, kMaxObjectNumber),
    SavedSwitch(u"Attacked"),
    SavedSwitch(u"Was attacked"),
    SavedAnyWhole(u"Supply source X"),
    SavedAnyWhole(u"Supply source Y"),
    SavedWhole(u"Action Points", -kMaxTurnCount, kMaxConstantMagnitude),
    SavedWhole(u"Starting AP", -kMaxConstantMagnitude, kMaxConstantMagnitude),
    SavedSwitch(u"In reserve"),
    SavedWhole(u"Supply", 0, consts_layout::kSupplyLevels - 1),
    SavedSwitch(u"Air recon done?"),
    SavedWhole(u"Available in turns", 0, kMaxTurnCount),
};
// Two units may share a number (the unit state tells them apart by order).
constexpr sSavedLine kAirLines[] = {{.fields = kAirFields}};

}  // namespace

const sSavedTable kAirUnitsFields{u"air_units.csv", kAirLines};


void LoadAirUnits(cGame& game, std::u16string_view folder_template) {
  const std::u16string path = FolderFilePath(folder_template, u"air_units.csv");
  cCsvReader reader = OpenTable(kOpeningAirUnitsLine, path);
  game.airUnits.clear();
  std::vector<std::u16string> refused;
  const std::int32_t mostPoints = MostAirActionPoints(game.constants);
  cTableRows table(reader, kRow, path, game.loadedGame == 1);
  while (table.Next()) {
    const auto& f = table.fields();
    const int line = table.line();
    const std::int32_t id = FieldInt(f, 0);
    const std::int32_t type = FieldInt(f, 5);
    if (!IsKnownTypeOf(kCategoryAir, type)) {
      LogValueOutOfRange(u"Air unit type", type, path, line);
      continue;
    }
    if (id < 0 || id > kMaxObjectNumber) {
      LogRowOutOfRange(u"Air unit ID", id, path, line);
      continue;
    }
    if (game.IsAirUnitIdUsed(id)) {
      LogAboutFile(path,
                   u"Blad: Numer ID=%i jednostki lotniczej sie powtarza. (%s at line %i (counting from 1))",
                   id, path, line);
    }

    auto unit = std::make_unique<cJednostkaLotnicza>();
    unit->id = id;
    unit->fileLine = line;
    unit->name = CutName(f[1]);
    unit->owner = FieldInt(f, 2);
    unit->x = FieldInt(f, 3);
    unit->y = FieldInt(f, 4);
    unit->SetType(type);
    unit->level = CheckedLevel(FieldInt(f, 6), path, line);
    // The AI adds strengths up over whole fronts; a new unit has its type's full strength.
    const std::int32_t fullStrength = std::clamp(game.constants.AirMaxStrength(type), 0, kMaxAirStrength);
    unit->strength = FieldIntIn(f, 7, 0, kMaxAirStrength, fullStrength, u"Air unit strength", path, line);
    const std::int32_t commanderId = FieldInt(f, 8);
    unit->attachedCommander = CommanderOfUnitRow(game, commanderId, path, line);
    unit->commanderId = -1;
    unit->attacked = FieldSwitch(f, 9, path, line);
    unit->wasAttacked = FieldSwitch(f, 10, path, line);
    unit->supplySourceX = FieldInt(f, 11);
    unit->supplySourceY = FieldInt(f, 12);
    unit->actionPoints = CheckedActionPoints(FieldInt(f, 13), mostPoints, u"Action Points", path, line);
    unit->startingActionPoints = CheckedActionPoints(FieldInt(f, 14), mostPoints, u"Starting AP", path, line);
    unit->inReserve = FieldSwitch(f, 15, path, line);
    unit->supply = CheckedSupply(FieldInt(f, 16), path, line);
    // A scenario's value other than 1 reads as not done; a saved one is 0 or 1.
    unit->airReconDone = FieldSwitch(f, 17, path, line) && FieldInt(f, 17) == 1 ? 1 : 0;
    unit->availableInTurns = FieldIntIn(f, 18, 0, kMaxTurnCount, 0, u"Available in turns", path, line);
    unit->spotted = 0;
    unit->newEnemyRevealed = 0;
    unit->ComputeCombatValue();

    const bool offMap = unit->x == -1 && unit->y == -1;
    if (offMap != (unit->inReserve != 0)) {
      if (ReadingSavedTable(path)) {
        RefuseDamagedTable(path, line, Format(u"has a unit at (%i, %i) %s", unit->x, unit->y,
                                              std::u16string_view(offMap ? u"on no hex and not in reserve"
                                                                         : u"in reserve, though a reserve unit has no hex")));
      }
      refused.push_back(Format(u"%s;%d;%d;%d", unit->name, unit->x, unit->y, unit->owner));
      LogLine(u"Invalid entry in air_units.csv: jednostka moze byc w rezerwie tylko, jesli ma wspolrzedne (-1, -1)");
      continue;
    }
    LogFormat(u"Air unit %s (ID=%i CountryID=%i) added", unit->name, unit->id, unit->owner);
    if (unit->attachedCommander) unit->attachedCommander->headquarters = unit.get();
    game.airUnits.push_back(std::move(unit));
  }
  if (refused.empty()) return;
  LogLine(u"Invalid entries from air_units.csv:");
  for (const std::u16string& entry : refused) LogLine(entry);
  Presentation().ShowMessageBox(u"air_units.csv", kBoxText, eMessageIcon::kInformation);
}

bool WriteAirUnits(const cGame& game, std::u16string_view folder) {
  cTableWriter writer(SaveFilePath(folder, u"air_units.csv"));
  if (!writer.ok()) return false;
  writer.Write(kHeader);
  writer.Write(u"\n#On map");
  for (const auto& unit : game.airUnits) writer.Write(Row(*unit));
  writer.Write(u"\n#In reserve");
  for (const auto& unit : game.reservePool) {
    if (unit->category == kCategoryLand) continue;
    if (const auto* air = dynamic_cast<const cJednostkaLotnicza*>(unit.get())) writer.Write(Row(*air));
  }
  return writer.Commit();
}

}  // namespace tr
