// The program's spine: the entry function that brings the game up in a fixed
// order and takes it down again, the end of a running game and the way from
// it back to the menus, and the music
// volume that follows the application's pause.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/audio.h"
#include "platform/frame.h"

namespace tr {

struct sStartUp {
  // The frame to run on; a window of the configured size when null.
  std::unique_ptr<AppFrame> frame;
  // The sound output; the machine's when null.
  std::unique_ptr<AudioDevice> audio;
  // Runs right before the main loop (tests drive frames from here).
  std::function<void(AppFrame&)> beforeMainLoop;
};

// Returns the frame's exit code; 1 when the window or its device cannot be made.
int WinMain(sStartUp startUp = {});

// "Tidereach v1.02", or "Tidereach v1.02 [build 401]" when the build number
// is not a multiple of 100.
std::u16string WindowCaption(double version, int build);

// Tears down and frees the running game (its worker stopped first) and
// releases the game's texture records and music.
void DestroyGame();

// Destroys the running game and brings back the scenario menu, showing the
// list (cScenarioMenu::eListMode), with the menus' music: the pause menu's
// abort, and the way out of a game that is over or whose play-by-e-mail turn
// has been handed over.
void LeaveGameForMenus(int listMode = 0);

// The running game's music falls silent while paused, else plays at "Audio/MusicVolume".
void ApplyMusicVolume(bool paused);

}  // namespace tr
