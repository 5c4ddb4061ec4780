#include "world/load_checks.h"

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/log_bound.h"
#include "scenario/table_reader.h"
#include "world/commander.h"
#include "world/folder_path.h"
#include "world/gra.h"

namespace tr {
namespace {

struct sUnitTable {
  std::u16string_view kind;  // as the log names the unit
  std::u16string path;
};

template <typename UnitList>
bool OwnersExist(const cGame& game, const UnitList& units, const sUnitTable& table) {
  bool ok = true;
  for (const auto& unit : units) {
    if (unit->owner >= 1 && unit->owner <= game.CountryCount()) continue;
    LogFormat(u"ERROR: %s unit %s (ID=%i) in %s at line %i (counting from 1) names country %i, which does not "
              u"exist; the game is not loaded",
              table.kind, unit->name, unit->id, table.path, unit->fileLine,
              static_cast<int>(unit->owner));
    ok = false;
  }
  return ok;
}

// A commander leads his own country's forces only; a unit of another
// country that names him is left without him, in a saved game refused: the
// game never writes one.
template <typename UnitList>
void DetachForeignCommanders(UnitList& units, const sUnitTable& table, bool savedGame) {
  for (const auto& unit : units) {
    const sCommander* commander = unit->attachedCommander;
    if (commander == nullptr || commander->countryId == unit->owner) continue;
    if (savedGame) {
      RefuseDamagedTable(table.path, unit->fileLine,
                         Format(u"gives %s unit %s (ID=%i) of country %i commander %s (ID=%i) of country %i",
                                table.kind, unit->name, unit->id, static_cast<int>(unit->owner), commander->name,
                                commander->id, commander->countryId));
    }
    LogAboutFile(table.path,
                 u"WARNING: %s unit %s (ID=%i) of country %i in %s at line %i (counting from 1) names commander %s "
                 u"(ID=%i) of country %i; the unit is left without a commander",
                 table.kind, unit->name, unit->id, static_cast<int>(unit->owner), table.path, unit->fileLine,
                 commander->name, commander->id, commander->countryId);
    unit->attachedCommander = nullptr;
  }
}

// A commander leads one unit: the first unit read that names him is his
// headquarters, and any later one is left without him (in a saved game
// refused). Two headquarters would each carry his bonus, and losing either
// unit would free him while the other still names him.
template <typename UnitList>
void KeepOneUnitPerCommander(const UnitList& units, const sUnitTable& table, bool savedGame) {
  for (const auto& unit : units) {
    sCommander* commander = unit->attachedCommander;
    if (commander == nullptr) continue;
    if (commander->headquarters == nullptr) {
      commander->headquarters = unit.get();
      continue;
    }
    const cUnit& first = *commander->headquarters;
    if (savedGame) {
      RefuseDamagedTable(table.path, unit->fileLine,
                         Format(u"gives %s unit %s (ID=%i) commander %s (ID=%i), who already leads unit %s (ID=%i)",
                                table.kind, unit->name, unit->id, commander->name, commander->id, first.name,
                                first.id));
    }
    LogAboutFile(table.path,
                 u"WARNING: %s unit %s (ID=%i) in %s at line %i (counting from 1) names commander %s (ID=%i), who "
                 u"already leads unit %s (ID=%i); the unit is left without a commander",
                 table.kind, unit->name, unit->id, table.path, unit->fileLine, commander->name, commander->id,
                 first.name, first.id);
    unit->attachedCommander = nullptr;
  }
}

// A commander who leads a unit is assigned: the computer gives a commander
// saved as free, or on his way, to a second unit.
void MarkLeadingCommandersAssigned(cGame& game, std::u16string_view path, bool savedGame) {
  for (const auto& commander : game.commanders) {
    if (commander->headquarters == nullptr || commander->state == kCommanderAssigned) continue;
    if (savedGame) {
      RefuseDamagedTable(path, commander->fileLine,
                         Format(u"gives commander %s (ID=%i), who leads unit %s (ID=%i), the state %i, not %i",
                                commander->name, commander->id, commander->headquarters->name,
                                commander->headquarters->id, commander->state, static_cast<int>(kCommanderAssigned)));
    }
    LogAboutFile(path,
                 u"WARNING: commander %s (ID=%i) in %s at line %i (counting from 1) leads unit %s (ID=%i) but has "
                 u"state %i; he is counted as assigned (state %i)",
                 commander->name, commander->id, path, commander->fileLine, commander->headquarters->name,
                 commander->headquarters->id, commander->state, static_cast<int>(kCommanderAssigned));
    commander->state = kCommanderAssigned;
  }
}

}  // namespace

sCommander* CommanderOfUnitRow(cGame& game, std::int32_t commanderId, std::u16string_view path, int line) {
  if (commanderId < 0) return nullptr;
  sCommander* commander = game.FindCommanderById(commanderId);
  if (commander == nullptr && game.loadedGame == 1) {
    RefuseDamagedTable(path, line, Format(u"names the commander ID=%i, which the save does not hold", commanderId));
  }
  return commander;
}

void CheckUnitLinks(cGame& game) {
  const sUnitTable land{u"land", FolderFilePath(game.folderTemplate, u"land_units.csv")};
  const sUnitTable air{u"air", FolderFilePath(game.folderTemplate, u"air_units.csv")};
  const sUnitTable naval{u"naval", FolderFilePath(game.folderTemplate, u"naval_units.csv")};
  // Each list is checked whole, so one run names every unit of no country.
  const bool landOk = OwnersExist(game, game.landUnits, land);
  const bool airOk = OwnersExist(game, game.airUnits, air);
  const bool navalOk = OwnersExist(game, game.navalUnits, naval);
  if (!landOk || !airOk || !navalOk) ExitDestroyingGame(1);

  const bool saved = game.loadedGame == 1;
  DetachForeignCommanders(game.landUnits, land, saved);
  DetachForeignCommanders(game.airUnits, air, saved);
  DetachForeignCommanders(game.navalUnits, naval, saved);
  for (const auto& commander : game.commanders) commander->headquarters = nullptr;
  KeepOneUnitPerCommander(game.landUnits, land, saved);
  KeepOneUnitPerCommander(game.airUnits, air, saved);
  KeepOneUnitPerCommander(game.navalUnits, naval, saved);
  MarkLeadingCommandersAssigned(game, FolderFilePath(game.folderTemplate, u"commanders.csv"), saved);
}

}  // namespace tr
