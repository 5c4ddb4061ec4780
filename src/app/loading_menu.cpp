#include "app/loading_menu.h"

#include "app/menu_wallpaper.h"
#include "app/scenario_settings_menu.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "gui/progress_bar.h"
#include "platform/frame.h"
#include "turn/theads.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr int kProgressBar = 263;

}  // namespace

cLoadingMenu::cLoadingMenu() {
  LoadMenuPicture(kLoadingWallpaper, u"data\\gfx\\wallpaper_loading.png");
  LogLine(u"----- Loading -----");
  AddProgressBarAt(kProgressBar, 0, 100, 0);
  SetVisible(true);
}

void cLoadingMenu::SetProgress(int percent) {
  if (auto* bar = static_cast<CDXUTProgressBar*>(GetControlOfType(kProgressBar, kControlProgressBar))) {
    bar->SetValue(percent);
  }
  LogLine(Format(u" Progress = %i%%", percent));
  if (AppFrame* frame = CurrentFrame()) frame->RenderAndPresent();
}

void cLoadingMenu::Render(float elapsed) {
  DrawMenuWallpaper(kLoadingWallpaper);
  OnRender(elapsed);
}

void CreateScenarioSettingsMenu() {
  // The worker finds the loaded game in state 1 and waits for the start.
  if (gGame != nullptr) StartWorkerThread();
  LogLine(u"Creating next menu");
  ReleaseMenuPicture(kLoadingWallpaper);
  if (gGame == nullptr) {
    LogLine(u"No game loaded: the scenario settings menu is not shown");
    return;
  }
  // Its construction deletes the loading menu.
  CurrentMenu = new cScenarioSettingsMenu();
}

}  // namespace tr
