// The main menu: start (the scenario menu), preferences, credits and exit,
// over the main wallpaper with the menu music looping.
#pragma once

#include "app/menu.h"

namespace tr {

class cMainMenu : public cMenu {
 public:
  cMainMenu();
  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  void Render(float elapsed) override;

 private:
  void PlayCredits();
};

// Adds a button at its layout rectangle with the text of the key and the hint of key + "_hint".
void AddMenuButton(CDXUTDialog& dialog, int id, const char* key);
// The frame control at its layout rectangle (style 0).
void AddMenuFrame(CDXUTDialog& dialog, int id);
// Plays the menu music loop at the effects volume, from its start.
void PlayMainMenuMusic();

}  // namespace tr
