#include "app/loading_menu.h"

#include "app/menu_wallpaper.h"
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
  // The scenario settings menu comes with a later build: the game starts
  // directly, led from this machine for its first country.
  LogLine(u"Scenario settings menu not available yet: starting the game for the first country");
  if (gGame == nullptr) return;
  if (!gGame->countries.empty()) gGame->countries.front()->humanControlled = 1;
  gGame->StartGame();
}

}  // namespace tr
