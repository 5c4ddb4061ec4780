// The pause menu over a running game: resume, save, preferences, abort to the
// scenario menu and exit.
#pragma once

#include "app/menu.h"

namespace tr {

// Destroys the running game and brings back the scenario menu with the
// menus' music: the pause menu's abort, and the way out of a game that is
// over or whose play-by-e-mail turn has been handed over.
void LeaveGameForMenus();

class cPauseMenu : public cMenu {
 public:
  // Pauses the game (when one exists) and closes the top modal dialog.
  cPauseMenu();
  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  // The dialog only, over what the paused frame draws.
  void Render(float elapsed) override;
};

}  // namespace tr
