#include "app/app_presentation.h"

#include "app/input_routing.h"
#include "app/loading_menu.h"
#include "app/menu_wallpaper.h"

namespace tr {

void cAppPresentation::SetLoadingProgress(int percent) {
  if (auto* loading = dynamic_cast<cLoadingMenu*>(CurrentMenu)) loading->SetProgress(percent);
}

void cAppPresentation::ShowScenarioSettingsMenu() { CreateScenarioSettingsMenu(); }

void cAppPresentation::LoadPauseWallpaper() { LoadMenuPicture(kPauseWallpaper, u"data\\gfx\\wallpaper_pause.png"); }

void cAppPresentation::CloseMenu() { DeleteCurrentMenu(); }

void cAppPresentation::InstallMenuCallbacks() { InstallPausedCallbackSet(); }

void cAppPresentation::InstallGameCallbacks() { InstallGameCallbackSet(); }

void cAppPresentation::ReleaseGameTextures() { ReleaseMenuPicture(kPauseWallpaper); }

}  // namespace tr
