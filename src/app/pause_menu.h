// The pause menu over a running game: resume, save, preferences, abort to the
// scenario menu and exit.
#pragma once

#include "app/menu.h"

namespace tr {

class cPauseMenu : public cMenu {
 public:
  // Pauses the game (when one exists) and closes the top modal dialog.
  cPauseMenu();
  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  // The dialog only, over what the paused frame draws.
  void Render(float elapsed) override;
};

}  // namespace tr
