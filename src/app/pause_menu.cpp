#include "app/pause_menu.h"

#include <memory>

#include "app/framework.h"
#include "app/game_frame_move.h"
#include "app/game_mouse.h"
#include "app/input_routing.h"
#include "app/mainmenu.h"
#include "app/menu_wallpaper.h"
#include "app/modal_stack.h"
#include "dialogs/preferences_dialog.h"
#include "dialogs/save_game_dialog.h"
#include "foundation/console_log.h"
#include "platform/frame.h"
#include "world/gra.h"

namespace tr {
namespace {

enum ePauseMenuControl : int {
  kFrame = 270,
  kResume = 272,
  kSave = 273,
  kPreferences = 274,
  kAbort = 275,
  kExit = 276,
};

constexpr int kVersionLine = 7001;
constexpr int kInfoPanelPicture = 292;

// The bottom of the game screen is the information panel's: the version line
// is drawn just above it rather than over it.
void KeepVersionLineOffTheInfoPanel(CDXUTDialog& menu) {
  CDXUTControl* version = menu.GetControl(kVersionLine);
  CDXUTControl* picture = gInfoPanel != nullptr ? gInfoPanel->GetControl(kInfoPanelPicture) : nullptr;
  if (version == nullptr || picture == nullptr || !picture->GetVisible()) return;
  const Rect line = version->GetBoundingBox();
  const Rect panel = picture->GetBoundingBox();
  const bool over = line.left < panel.right && panel.left < line.right && line.top < panel.bottom &&
                    panel.top < line.bottom;
  if (over) version->SetLocation(line.left, panel.top - line.height());
}

// Leaves the menus for the game screen: the menu goes after the dispatch.
void CloseThisMenu() { DeleteCurrentMenu(); }

}  // namespace

cPauseMenu::cPauseMenu() {
  LogLine(u"----- Pause Menu -----");
  if (gGame != nullptr) gGame->Pause();
  AddMenuFrame(*this, kFrame);
  AddMenuButton(*this, kResume, "pause_resume");
  AddMenuButton(*this, kSave, "pause_save");
  AddMenuButton(*this, kPreferences, "pause_preferences");
  AddMenuButton(*this, kAbort, "pause_abort");
  AddMenuButton(*this, kExit, "pause_exit");
  AddVersionStatic(*this);
  KeepVersionLineOffTheInfoPanel(*this);
  if (TopDialog != nullptr) {
    // A manager hidden while the player picks a hex for it takes that pick with it.
    const bool servedMapAction = !TopDialog->GetVisible();
    PopModalDialogs(1);
    if (servedMapAction) EndManagerMapAction();
  }
  // Paused, no action can be taken; on resume the frame shows what still can.
  if (gGame != nullptr) ClearStatusBarHint();
  SetVisible(true);
}

void cPauseMenu::Render(float elapsed) { OnRender(elapsed); }

void cPauseMenu::OnGUIEvent(std::uint32_t, int controlId, CDXUTControl*) {
  switch (controlId) {
    case kResume:
      CloseThisMenu();
      if (gGame != nullptr) gGame->Resume();
      return;
    case kSave:
      // The game stays paused until the dialog resumes it.
      CloseThisMenu();
      PushModalDialog(new cDialogZapisuGry());
      return;
    case kPreferences:
      CloseThisMenu();
      PushModalDialog(new cDialogUstawien());
      return;
    case kAbort:
      LeaveGameForMenus();
      return;
    case kExit:
      DestroyGame();
      CloseThisMenu();
      if (AppFrame* frame = CurrentFrame()) frame->RequestClose();
      return;
    default:
      return;
  }
}

}  // namespace tr
