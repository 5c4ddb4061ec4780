#include "scenario/land_units_file.h"

#include <algorithm>
#include <memory>
#include <unordered_set>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/log_bound.h"
#include "foundation/number_text.h"
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
#include "world/value_limits.h"

namespace tr {
namespace {

constexpr std::u16string_view kHeader =
    u"#Land units\n#ID;Name;Country ID;Hex X;Hex Y;Type;Level (1-5);Current strength (1-100);Action Points;Attacked "
    u"[0=false 1=true];Was attacked [0=false 1=true];Supply source X;Supply source Y;Starting AP;TransporterID "
    u"(-1=not on transporter);CommanderID (-1=no commander assigned);InReserve [0=false "
    u"1=true];ShoreBombEffect;Freeze time;AI - order;AI - targetX;AI - targetY;AI- ultimate target X;AI - ultimate "
    u"targetY;Supply;EventsEffect;Number of turns from last paradrop;mulberry remaining time (months);Turns without "
    u"supply;Trench bonus multiplier;Last X;Last Y;Available in turns;";
constexpr std::u16string_view kRow =
    u"\n%i;%s;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%f;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;";

struct sRow {
  std::vector<std::u16string> fields;
  int line = 0;
};

// A row held until every row is read: its fields in one text, joined by the
// ';' that no field holds, so a row held costs about its bytes instead of a
// string for each of its 33 fields.
struct sHeldRow {
  std::u16string fields;
  int line = 0;
};

sHeldRow Hold(const std::vector<std::u16string>& fields, int line) {
  sHeldRow held{{}, line};
  for (const std::u16string& field : fields) held.fields += field + u';';
  held.fields.shrink_to_fit();
  return held;
}

// Field i of a held row (empty past its last), read without unfolding it.
std::u16string_view HeldField(const sHeldRow& held, std::size_t i) {
  std::size_t start = 0;
  for (; i > 0 && start < held.fields.size(); --i) start = held.fields.find(u';', start) + 1;
  if (start >= held.fields.size()) return {};
  return std::u16string_view(held.fields).substr(start, held.fields.find(u';', start) - start);
}

sRow Unfold(const sHeldRow& held) {
  sRow row{{}, held.line};
  for (std::size_t start = 0; start < held.fields.size();) {
    const std::size_t end = held.fields.find(u';', start);
    row.fields.emplace_back(held.fields.substr(start, end - start));
    start = end + 1;
  }
  return row;
}

// Field i of the row within [low, high]; else logged with the file and line, and the fallback.
std::int32_t Ranged(const sRow& row, std::size_t i, std::int32_t low, std::int32_t high, std::int32_t fallback,
                    std::u16string_view what, const std::u16string& path) {
  return FieldIntIn(row.fields, i, low, high, fallback, what, path, row.line);
}

// The counts the turns raise or lower one by one, held within their range as
// play holds them.
std::int32_t Count(const sRow& row, std::size_t i, std::u16string_view what, const std::u16string& path) {
  return FieldIntHeld(row.fields, i, 0, kMaxTurnCount, what, path, row.line);
}

float ShoreBombardmentEffect(const sRow& row, const std::u16string& path) {
  const float effect = FieldFloat(row.fields, 17);
  if (effect >= 0.0f && effect <= static_cast<float>(kMaxEventsEffect)) return effect;
  LogDecimalOutOfRange(u"ShoreBombEffect", effect, path, row.line);
  return 0.0f;
}

bool IsSeaHex(const cGame& game, std::int32_t x, std::int32_t y) {
  return game.map && game.map->IsInside(x, y) && !game.map->GetHex(x, y)->IsLand();
}

// A scenario's harbour takes the counter's next number, whatever its ID column
// holds; a saved harbour keeps the number the game gave it, so the numbers
// given out after a load are those the saved game would have given.
void LoadHarbour(cGame& game, const sRow& row, const std::u16string& path, bool keepId) {
  const auto& f = row.fields;
  auto harbour = std::make_unique<cMulberry>();
  if (keepId) harbour->id = FieldInt(f, 0);
  const std::int32_t remaining = Ranged(row, 27, -1, kMaxTurnCount, -1, u"Mulberry remaining time", path);
  harbour->remainingTime = remaining == -1 ? static_cast<int>(game.constants.MulberryDuration()) : remaining;
  harbour->fileLine = row.line;
  harbour->name = CutName(f[1]);
  harbour->owner = FieldInt(f, 2);
  harbour->x = FieldInt(f, 3);
  harbour->y = FieldInt(f, 4);
  harbour->SetType(kMulberryType);
  harbour->level = CheckedLevel(FieldInt(f, 6), path, row.line);
  harbour->wasAttacked = FieldSwitch(f, 10, path, row.line);
  harbour->SetStrength(-1);
  harbour->SetSupplySourceX(-1);
  harbour->SetSupplySourceY(-1);
  harbour->SetSupply(-1);
  harbour->SetStartingActionPoints(-1);
  harbour->transporterId = FieldInt(f, 14);
  harbour->attachedCommander = nullptr;
  harbour->commanderId = -1;
  harbour->shoreBombardmentEffect = ShoreBombardmentEffect(row, path);
  harbour->freezeTime = Count(row, 18, u"Freeze time", path);
  harbour->aiOrder = FieldInt(f, 19);
  harbour->aiTargetX = FieldInt(f, 20);
  harbour->aiTargetY = FieldInt(f, 21);
  harbour->aiUltimateTargetX = FieldInt(f, 22);
  harbour->aiUltimateTargetY = FieldInt(f, 23);  // written for every land unit, so read back with its x
  harbour->eventsEffect = Ranged(row, 25, -kMaxEventsEffect, kMaxEventsEffect, 0, u"EventsEffect", path);
  harbour->turnsSinceParadrop = Count(row, 26, u"Turns from last paradrop", path);
  // Read back like any land unit's, so a saved harbour saves again unchanged.
  harbour->turnsWithoutSupply = Count(row, 28, u"Turns without supply", path);
  harbour->trenchBonusMultiplier = Count(row, 29, u"Trench bonus multiplier", path);
  harbour->lastX = FieldInt(f, 30);
  harbour->lastY = FieldInt(f, 31);
  harbour->spotted = 1;
  harbour->ResetActionPoints();
  harbour->inReserve = 0;
  harbour->availableInTurns = 0;
  LogFormat(u"Mulberry %s (ID=%i) added", harbour->name, harbour->id);
  game.landUnits.push_back(std::move(harbour));
}

void LoadLandUnit(cGame& game, const sRow& row, const std::u16string& path) {
  const auto& f = row.fields;
  auto unit = std::make_unique<cJednostkaLadowa>();
  unit->id = FieldInt(f, 0);
  unit->fileLine = row.line;
  unit->name = CutName(f[1]);
  unit->owner = FieldInt(f, 2);
  unit->x = FieldInt(f, 3);
  unit->y = FieldInt(f, 4);
  unit->SetType(FieldInt(f, 5));
  unit->level = CheckedLevel(FieldInt(f, 6), path, row.line);
  unit->strength = Ranged(row, 7, 0, kMaxLandStrength, kMaxLandStrength, u"Current strength", path);
  const std::int32_t mostPoints = MostLandActionPoints(game.constants);
  unit->actionPoints = CheckedActionPoints(FieldInt(f, 8), mostPoints, u"Action Points", path, row.line);
  unit->attacked = FieldSwitch(f, 9, path, row.line);
  unit->wasAttacked = FieldSwitch(f, 10, path, row.line);
  unit->supplySourceX = FieldInt(f, 11);
  unit->supplySourceY = FieldInt(f, 12);
  unit->startingActionPoints = CheckedActionPoints(FieldInt(f, 13), mostPoints, u"Starting AP", path, row.line);
  unit->transporterId = FieldInt(f, 14);
  unit->attachedCommander = CommanderOfUnitRow(game, FieldInt(f, 15), path, row.line);
  unit->commanderId = -1;
  unit->inReserve = FieldSwitch(f, 16, path, row.line);
  unit->shoreBombardmentEffect = ShoreBombardmentEffect(row, path);
  unit->freezeTime = Count(row, 18, u"Freeze time", path);
  unit->aiOrder = FieldInt(f, 19);
  unit->aiTargetX = FieldInt(f, 20);
  unit->aiTargetY = FieldInt(f, 21);
  unit->aiUltimateTargetX = FieldInt(f, 22);
  unit->aiUltimateTargetY = FieldInt(f, 23);
  unit->supply = CheckedSupply(FieldInt(f, 24), path, row.line);
  unit->eventsEffect = Ranged(row, 25, -kMaxEventsEffect, kMaxEventsEffect, 0, u"EventsEffect", path);
  unit->turnsSinceParadrop = Count(row, 26, u"Turns from last paradrop", path);
  unit->turnsWithoutSupply = Count(row, 28, u"Turns without supply", path);
  unit->trenchBonusMultiplier = Count(row, 29, u"Trench bonus multiplier", path);
  unit->lastX = FieldInt(f, 30);
  unit->lastY = FieldInt(f, 31);
  unit->availableInTurns = Count(row, 32, u"Available in turns", path);
  if (unit->x == -1 && unit->y == -1 && !unit->inReserve && unit->transporterId == -1) {
    // A unit on no hex, on no ship and not in reserve would be listed on the map nowhere.
    if (ReadingSavedTable(path)) RefuseDamagedTable(path, row.line, u"has a unit on no hex, aboard no ship and not in reserve");
    LogAboutFile(path,
                 u"WARNING: land unit %s (ID=%i) in %s at line %i (counting from 1) stands on no hex; moved to the "
                 u"reserve pool",
                 unit->name, unit->id, path, row.line);
    unit->inReserve = 1;
  }
  if (unit->transporterId == -1 && !unit->inReserve && IsSeaHex(game, unit->x, unit->y)) {
    if (ReadingSavedTable(path)) {
      RefuseDamagedTable(path, row.line, Format(u"has a unit on the sea hex (%i, %i), aboard no ship", unit->x, unit->y));
    }
    LogAboutFile(path,
                 u"WARNING: land unit %s (ID=%i) in %s at line %i (counting from 1) stands on the sea hex (%i, %i) "
                 u"and is not aboard; moved to the reserve pool",
                 unit->name, unit->id, path, row.line, unit->x, unit->y);
    unit->x = -1;
    unit->y = -1;
    unit->inReserve = 1;
  }
  unit->transporter = nullptr;
  unit->spotted = 0;
  unit->newEnemyRevealed = 0;
  LogFormat(u"Land unit %s (ID=%i CountryID=%i) added", unit->name, unit->id, unit->owner);
  if (unit->attachedCommander) unit->attachedCommander->headquarters = unit.get();
  game.landUnits.push_back(std::move(unit));
}

std::u16string Row(const cJednostkaLadowa& u) {
  const auto* harbour = dynamic_cast<const cMulberry*>(&u);
  static const std::u16string kWrittenRow = ExactDecimalRow(kRow);
  return Format(kWrittenRow, u.id, SanitizeFieldText(u.name), u.owner, u.x, u.y, u.type, u.level, u.GetStrength(),
                u.actionPoints, u.attacked ? 1 : 0, u.wasAttacked ? 1 : 0, u.supplySourceX, u.supplySourceY,
                u.startingActionPoints, u.transporter ? u.transporter->id : -1,
                u.attachedCommander ? u.attachedCommander->id : -1, u.inReserve ? 1 : 0,
                SavedDecimalText(u.shoreBombardmentEffect), u.freezeTime, u.aiOrder, u.aiTargetX, u.aiTargetY,
                u.aiUltimateTargetX, u.aiUltimateTargetY, u.supply,
                u.eventsEffect, u.turnsSinceParadrop, harbour && u.type == kMulberryType ? harbour->remainingTime : -1,
                u.turnsWithoutSupply, u.trenchBonusMultiplier, u.lastX, u.lastY, u.availableInTurns);
}

// The unit's own hex is on the map (its sides fit 16 bits) or -1; a
// harbour writes -1 for its strength and supply, and 0 action points. A
// unit's country exists (or the load stops), its type is a land type (0-6)
// or the harbour (60), and its action points are the constants' (at most
// kMaxConstantMagnitude, never below 0: a path, a battle and a drop spend
// no more than the unit has). The AI's orders and targets, the supply source
// and the last hex are kept as a scenario gives them, its reader taking any
// number, until the AI, the supply or the turn's end sets them.
constexpr sSavedField kLandFields[] = {
    SavedWhole(u"ID", 0, kMaxObjectNumber),
    SavedText(u"Name", kNameBytes),
    SavedWhole(u"Country ID", 1, kMaxCountryNumber),
    SavedWhole(u"Hex X", -1, kMaxHexCoordinate),
    SavedWhole(u"Hex Y", -1, kMaxHexCoordinate),
    SavedWhole(u"Type", kInfantryDivision, kMulberryType),
    SavedWhole(u"Level", kMinUnitLevel, kMaxUnitLevel),
    SavedWhole(u"Current strength", -1, kMaxLandStrength),
    SavedWhole(u"Action Points", 0, kMaxConstantMagnitude),
    SavedSwitch(u"Attacked"),
    SavedSwitch(u"Was attacked"),
    SavedAnyWhole(u"Supply source X"),
    SavedAnyWhole(u"Supply source Y"),
    SavedWhole(u"Starting AP", 0, kMaxConstantMagnitude),
    SavedWhole(u"TransporterID", -1, kMaxObjectNumber),
    SavedWhole(u"CommanderID", -1, kMaxObjectNumber),
    SavedSwitch(u"InReserve"),
    SavedDecimal(u"ShoreBombEffect", 0, kMaxEventsEffect),
    SavedWhole(u"Freeze time", 0, kMaxTurnCount),
    SavedAnyWhole(u"AI - order"),
    SavedAnyWhole(u"AI - targetX"),
    SavedAnyWhole(u"AI - targetY"),
    SavedAnyWhole(u"AI - ultimate target X"),
    SavedAnyWhole(u"AI - ultimate targetY"),
    SavedWhole(u"Supply", -1, consts_layout::kSupplyLevels - 1),
    SavedWhole(u"EventsEffect", -kMaxEventsEffect, kMaxEventsEffect),
    SavedWhole(u"Number of turns from last paradrop", 0, kMaxTurnCount),
    SavedWhole(u"mulberry remaining time", -1, kMaxTurnCount),
    SavedWhole(u"Turns without supply", 0, kMaxTurnCount),
    SavedWhole(u"Trench bonus multiplier", 0, kMaxTurnCount),
    SavedAnyWhole(u"Last X"),
    SavedAnyWhole(u"Last Y"),
    SavedWhole(u"Available in turns", 0, kMaxTurnCount),
};
// Two units may share a number (the unit state tells them apart by order).
constexpr sSavedLine kLandLines[] = {{.fields = kLandFields}};

}  // namespace

const sSavedTable kLandUnitsFields{u"land_units.csv", kLandLines};

void LoadLandUnits(cGame& game, std::u16string_view folder_template) {
  const std::u16string path = FolderFilePath(folder_template, u"land_units.csv");
  cCsvReader reader = OpenTable(kOpeningLandUnitsLine, path);
  game.landUnits.clear();
  // The rows are read whole first and their values checked after.
  const cSavedTableScope scope(path, game.loadedGame == 1);

  std::vector<sHeldRow> rows;
  {
    cTableRows table(reader, kRow, path, game.loadedGame == 1);
    while (table.Next()) rows.push_back(Hold(table.fields(), table.line()));
  }
  // Harbours take the counter's next numbers, so the counter first passes
  // every number of the file.
  for (const sHeldRow& held : rows) {
    const std::int32_t id = ParseLeadingInt(HeldField(held, 0));
    if (ParseLeadingInt(HeldField(held, 5)) != kMulberryType && id >= 0 && id <= kMaxObjectNumber) {
      game.nextLandUnitId = std::max<int>(game.nextLandUnitId, id);
    }
  }
  // The numbers in use, kept as the rows come in: asking the game's lists per
  // row would walk every unit read so far.
  std::unordered_set<std::int32_t> used;
  for (const auto& unit : game.reservePool) {
    if (unit->category == kCategoryLand) used.insert(unit->id);
  }
  for (const auto* list : {&game.aboardUnitsA, &game.aboardUnitsB}) {
    for (const auto& unit : *list) used.insert(unit->id);
  }
  for (sHeldRow& held : rows) {
    const sRow row = Unfold(held);
    // Its room goes as the unit takes its own: the rows and the units are not held at once.
    std::u16string().swap(held.fields);
    const std::int32_t id = FieldInt(row.fields, 0);
    const std::int32_t type = FieldInt(row.fields, 5);
    // A scenario's harbour takes the counter's next number, whatever its ID column holds.
    if (type != kMulberryType && (id < 0 || id > kMaxObjectNumber)) {
      LogRowOutOfRange(u"Land unit ID", id, path, row.line);
      continue;
    }
    if (!IsKnownTypeOf(kCategoryLand, type)) {
      LogValueOutOfRange(u"Land unit type", type, path, row.line);
      continue;
    }
    if (used.count(id) != 0) {
      LogAboutFile(path,
                   u"Blad: Numer ID=%i sie powtarza. (%s at line %i (counting from 1))",
                   id, path, row.line);
    }
    const std::size_t before = game.landUnits.size();
    if (type == kMulberryType) {
      if (FieldInt(row.fields, 3) == -1 && FieldInt(row.fields, 4) == -1) {
        // A harbour is never in reserve or aboard: without a hex it is nowhere.
        LogRowOutOfRange(u"Mulberry Hex X", -1, path, row.line);
        continue;
      }
      if (IsSeaHex(game, FieldInt(row.fields, 3), FieldInt(row.fields, 4))) {
        if (ReadingSavedTable(path)) {
          RefuseDamagedTable(path, row.line, Format(u"has a Mulberry harbour on the sea hex (%i, %i)",
                                                    FieldInt(row.fields, 3), FieldInt(row.fields, 4)));
        }
        LogAboutFile(path,
                     u"WARNING: Mulberry at sea hex (%i, %i) in %s at line %i (counting from 1); row skipped",
                     FieldInt(row.fields, 3), FieldInt(row.fields, 4), path, row.line);
        continue;
      }
      const bool keepId = game.loadedGame == 1 && id >= 0 && id <= kMaxObjectNumber && used.count(id) == 0;
      LoadHarbour(game, row, path, keepId);
    } else {
      LoadLandUnit(game, row, path);
    }
    // A harbour takes a number of its own, so the number the unit got is the one kept.
    if (game.landUnits.size() > before) used.insert(game.landUnits.back()->id);
  }
}

bool WriteLandUnits(const cGame& game, std::u16string_view folder) {
  cTableWriter writer(SaveFilePath(folder, u"land_units.csv"));
  if (!writer.ok()) return false;
  writer.Write(kHeader);
  for (const auto* list : {&game.landUnits, &game.aboardUnitsA, &game.aboardUnitsB}) {
    for (const auto& unit : *list) writer.Write(Row(*unit));
  }
  for (const auto& unit : game.reservePool) {
    if (unit->category != kCategoryLand) continue;
    if (const auto* land = dynamic_cast<const cJednostkaLadowa*>(unit.get())) writer.Write(Row(*land));
  }
  return writer.Commit();
}

}  // namespace tr
