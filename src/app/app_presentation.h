// The application's presentation port: what the game rules show goes to the
// screen. The loading screen, the menus' callback sets and the game's
// textures are served here; requests whose screens are not built yet are
// answered as the headless port answers them.
#pragma once

#include "world/headless_presentation.h"

namespace tr {

class cAppPresentation : public cHeadlessPresentation {
 public:
  cAppPresentation() : cHeadlessPresentation(false) {}

  // The current menu's progress bar, when the loading menu is current.
  void SetLoadingProgress(int percent) override;
  void ShowScenarioSettingsMenu() override;
  void LoadPauseWallpaper() override;
  // Deletes the current menu (after the running dispatch) as the game screen takes over.
  void CloseMenu() override;
  // The paused game's set (the menu's mouse and keyboard, no frame move).
  void InstallMenuCallbacks() override;
  void InstallGameCallbacks() override;
  void ReleaseGameTextures() override;
};

}  // namespace tr
