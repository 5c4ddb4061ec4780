#include "turn/fleet_integrity.h"

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "world/folder_path.h"
#include "world/gra.h"

namespace tr {

void CheckFleetIntegrity(cGame& game) {
  for (const auto& ship : game.navalUnits) {
    bool found = false;
    for (const auto& fleet : game.fleets) {
      if (fleet->id != ship->fleetId) continue;
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
    LogFormat(u"WARNING: fleet %s (ID=%i) in %s has no ship; removed", fleet->name, fleet->id, path);
    return true;
  });
}

}  // namespace tr
