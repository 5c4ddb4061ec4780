// From the scenario menu's launch record to the game loader.
#include "app/framework.h"
#include "app/menu_wallpaper.h"
#include "app/modal_stack.h"
#include "app/scenario_menu.h"
#include "dialogs/dialog_tekstowy.h"
#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "scenario/scenario_paths.h"
#include "world/game_start.h"

namespace tr {
namespace {

constexpr std::u16string_view kErrorPrefix = u"ERROR: ";
constexpr std::u16string_view kExitingSuffix = u"Exiting...";

// The game is put away, the play-by-e-mail list comes back and a message
// says which folder did not load and why.
void RefuseReceivedTurn(std::u16string_view folder, std::u16string reason) {
  LogFormat(u"The turn in %s is not loaded; back to the menus", folder);
  DestroyGame();
  ReleaseMenuPicture(kLoadingWallpaper);
  auto* menu = new cScenarioMenu();
  CurrentMenu = menu;
  menu->ShowListMode(cScenarioMenu::kPbemGame);
  if (reason.starts_with(kErrorPrefix)) reason.erase(0, kErrorPrefix.size());
  // The program goes on, whatever the line ending the load said.
  if (reason.ends_with(kExitingSuffix)) reason.erase(reason.size() - kExitingSuffix.size());
  while (reason.ends_with(u' ')) reason.pop_back();
  if (reason.empty()) reason = GetText("pbem_turn_not_loaded_see_log");
  // One message at a time: one left from an earlier refusal goes.
  if (!ModalDialogStack.empty()) PopModalDialogs(-1);
  // The folder and the files the reason names are shown as the player finds them.
  PushModalDialog(
      new cDialogTekstowy(Format(GetText("pbem_turn_not_loaded_%s_%s"), ShownPath(folder), ShownPath(reason)),
                          GetText("pbem_turn_not_loaded_title")),
      0);
}

}  // namespace

void RunGameLoader(const sLaunchRecord& record) {
  // A turn received by e-mail is another machine's work, whatever it holds:
  // one that does not load must not end the program.
  const std::u16string folder = TemplateFolder(record.folderTemplate);
  if (!folder.starts_with(u"data\\pbem\\")) {
    LoadNewScenario(record.folderTemplate, record.savedGame);
    return;
  }
  cLastErrorLine reason;
  try {
    cFatalExitThrows recoverable;
    LoadNewScenario(record.folderTemplate, record.savedGame);
  } catch (const FatalExitError&) {
    RefuseReceivedTurn(folder, reason.text());
  }
}

}  // namespace tr
