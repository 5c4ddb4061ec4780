#include "turn/fleet_integrity.h"

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "scenario/table_reader.h"
#include "turn/sea_graph.h"
#include "world/folder_path.h"
#include "world/gra.h"

namespace tr {

void CheckFleetIntegrity(cGame& game) {
  for (const auto& ship : game.navalUnits) {
    bool found = false;
    for (const auto& fleet : game.fleets) {
      if (fleet->id != ship->fleetId) continue;
      // The rules move, fight and count a fleet as its country's. A fleet of
      // no country is refused with its own line once the sea nodes are read.
      const bool countryExists = fleet->countryId >= 1 && fleet->countryId <= game.CountryCount();
      if (countryExists && fleet->countryId != ship->owner) {
        const std::u16string path = FolderFilePath(game.folderTemplate, u"naval_units.csv");
        LogFormat(u"ERROR: naval unit %s (ID=%i) of country %i in %s at line %i (counting from 1) names fleet %s "
                  u"(ID=%i) of country %i; the game is not loaded",
                  ship->name, ship->id, ship->owner, path, ship->fileLine, fleet->name, fleet->id,
                  fleet->countryId);
        ExitDestroyingGame(1);
      }
      ship->fleet = fleet.get();
      fleet->ships.push_back(ship.get());
      LogFormat(GetText("%s_belongs_to_fleet_%s"), ship->name, fleet->name);
      found = true;
    }
    if (!found) {
      LogFormat(u"Data integrity error: %s belongs to fleet id=%i, but no such fleet exists", ship->name,
                ship->fleetId);
      ExitDestroyingGame(1);
    }
  }
  // A fleet that no ship names holds nothing, and the rules take every fleet to hold a ship.
  const std::u16string path = FolderFilePath(game.folderTemplate, u"fleets.csv");
  std::erase_if(game.fleets, [&](const auto& fleet) {
    if (!fleet->ships.empty()) return false;
    // The game gives up a fleet with its last ship, so a saved one holds one.
    if (game.loadedGame == 1) {
      RefuseDamagedTable(path, fleet->fileLine, Format(u"holds fleet %s (ID=%i), which no ship of naval_units.csv names",
                                                       fleet->name, fleet->id));
    }
    LogFormat(u"WARNING: fleet %s (ID=%i) in %s has no ship; removed", fleet->name, fleet->id, path);
    return true;
  });
}

// The rules look sea nodes and countries up by these numbers and take them to
// exist; a received save is checked before any rule runs.
void CheckFleetReferences(cGame& game) {
  const std::u16string path = FolderFilePath(game.folderTemplate, u"fleets.csv");
  const cSeaGraph& graph = game.seaGraph;
  bool refused = false;
  for (const auto& fleet : game.fleets) {
    auto refuse = [&](std::u16string_view what, std::int32_t value) {
      LogFormat(u"ERROR: fleet %s (ID=%i) in %s at line %i (counting from 1) names %s %i, which does not exist; the "
                u"game is not loaded",
                fleet->name, fleet->id, path, fleet->fileLine, what, value);
      refused = true;
    };
    if (!graph.IsNodeId(fleet->seaNodeId)) refuse(u"sea node", fleet->seaNodeId);
    if (fleet->countryId < 1 || fleet->countryId > game.CountryCount()) refuse(u"country", fleet->countryId);
    // -1 and 0 stand for no destination.
    if (fleet->aiDestinationNode < -1 || fleet->aiDestinationNode > graph.NodeCount()) {
      refuse(u"destination sea node", fleet->aiDestinationNode);
    }
  }
  if (refused) ExitDestroyingGame(1);
}

}  // namespace tr
