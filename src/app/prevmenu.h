// What comes between the window's creation and the first menu: the intro
// movies, then the screens before the main menu.
#pragma once

namespace tr {

// Plays the three intro movies (a missing one is logged and skipped; a left
// click or Escape skips a playing one), then installs the callbacks that
// carry the program on to its first menu.
void PlayIntro();

}  // namespace tr
