// The screen shown while a scenario or saved game loads: a wallpaper and one
// progress bar, repainted at once at each step, since no frame runs while the
// loader keeps the main thread busy.
#pragma once

#include "app/menu.h"

namespace tr {

class cLoadingMenu : public cMenu {
 public:
  cLoadingMenu();
  // Shows the percentage clamped to 0-100, logs it unclamped and presents one frame.
  void SetProgress(int percent);
  void Render(float elapsed) override;
};

// The loader's last step, under the game lock: the menu that follows the
// loading screen replaces it.
void CreateScenarioSettingsMenu();

}  // namespace tr
