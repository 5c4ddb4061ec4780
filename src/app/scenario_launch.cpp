// From the scenario menu's launch record to the game loader.
#include "app/scenario_menu.h"
#include "world/game_start.h"

namespace tr {

void RunGameLoader(const sLaunchRecord& record) { LoadNewScenario(record.folderTemplate, record.savedGame); }

}  // namespace tr
