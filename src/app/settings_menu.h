// The full-screen preferences screen reached from the main menu: a wallpaper
// and a title under the preferences dialog, which does the work.
#pragma once

#include "app/menu.h"

namespace tr {

class cSettingsMenu : public cMenu {
 public:
  cSettingsMenu();
  void Render(float elapsed) override;
};

}  // namespace tr
