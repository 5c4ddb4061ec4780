// cMenu: the base of the full-screen screens outside the map (loading, main
// menu, scenario choice and settings, preferences, pause, sea battle). At most
// one exists, reached through CurrentMenu; constructing a menu deletes the
// current one and installs the menu callback set.
#pragma once

#include <cstdint>

#include "gui/dialog.h"

namespace tr {

class Graphics;

class cMenu : public CDXUTDialog {
 public:
  // Deletes the current menu (after the dispatch when that menu's own handler
  // is running), clears the hint box, hides this dialog and installs the menu
  // callbacks. The creator stores the finished menu in CurrentMenu.
  cMenu();

  virtual void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control);
  virtual void OnKeyboard(std::uint32_t key, bool down, bool alt);
  virtual void OnMouse(bool left, bool right, bool middle, bool side1, bool side2, int wheel, int x,
                       int y);
  virtual void OnFrameMove(Graphics& device, double time, float elapsed);
  // Draws nothing by default; a menu that wants its dialog drawn overrides it.
  virtual void Render(float elapsed);
};

// The current menu, null while the game screen is shown.
extern cMenu* CurrentMenu;

// Deletes the current menu, if any, after the running dispatch, and clears CurrentMenu.
void DeleteCurrentMenu();

}  // namespace tr
