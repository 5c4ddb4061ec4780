// What comes between the window's creation and the first menu: the intro
// movies, then two logos, each faded in from black and out again over eight
// seconds with its sound, then the frame-wide pictures and the main menu.
#pragma once

#include <cstdint>

namespace tr {

class Graphics;

// Plays the three intro movies (a missing one is logged and skipped; a left
// click or Escape skips a playing one), loads the logos and installs the
// intro's callbacks, which carry the program on to the main menu.
void PlayIntro();

// The intro's callbacks.
void IntroFrameMove(Graphics& device, double time, float elapsed);
void IntroRender(Graphics& device, double time, float elapsed);
void IntroKeyboard(std::uint32_t key, bool down, bool alt);
void IntroMouse(bool left, bool right, bool middle, bool side1, bool side2, int wheel, int x, int y);
// A key or click: the first logo gives way to the second, the second ends the intro.
void AdvanceIntroStage();

// 0 not started, 1 first logo, 2 second logo, 3 finished.
struct sIntroState {
  std::int32_t stage = 0;
  std::uint32_t stageStart = 0;  // ms of the frame timer
  std::uint32_t now = 0;
  std::uint32_t logoColour = 0xff888888u;
};
const sIntroState& IntroState();

// The logo's modulation colour e ms into a stage: grey rising from black by
// one level per 10 ms, held, then from 5 s falling back by one level per 10
// ms; where neither ramp applies the previous colour stays.
std::uint32_t IntroLogoColour(std::uint32_t elapsedMs, std::uint32_t previous);

}  // namespace tr
