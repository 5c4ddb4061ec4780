// From the scenario menu's launch record to the game loader.
#include "app/mainmenu.h"
#include "app/scenario_menu.h"
#include "foundation/console_log.h"

namespace tr {

void RunGameLoader(const sLaunchRecord& record) {
  // The game loader comes with the next build; until then the player is
  // taken back to the main menu rather than left on the loading screen.
  LogLine(u"Game loader not available yet: \"" + record.folderTemplate + u"\" is not loaded");
  CurrentMenu = new cMainMenu();
}

}  // namespace tr
