// The running game's frame step on the main thread: the music, scrolling the
// map at the screen edge or with the arrow keys, the status-bar hint of the
// action mode, the camera, the moving unit, the top dialog's timer and an end
// of turn the worker thread asked for.
#pragma once

#include <cstdint>
#include <functional>

namespace tr {

class Graphics;

// Held arrow keys: bit 0 left, 1 up, 2 right, 3 down (the key code minus 37).
extern std::uint16_t gArrowKeys;

// One frame of the running game; the frame's game callback.
void MoveGameFrame(Graphics& device, double time, float elapsed);

// The scroll of one frame, in map pixels: the pointer at or past an edge of
// the scroll zone (left, top, right, bottom) or a held arrow key moves the
// map 1000 pixels a second at zoom 1.0; right wins over left, down over up.
// Nothing moves while the pointer is outside the screen.
struct sScrollStep {
  float dx = 0.0f;
  float dy = 0.0f;
  bool moves = false;
};
sScrollStep ComputeScrollStep(int pointerX, int pointerY, int screenWidth, int screenHeight,
                              std::uint16_t arrowKeys, const int (&zone)[4], double sinceHorizontal,
                              double sinceVertical, float zoom);

// The status-bar hint key of an action mode.
const char* StatusBarHintKey(int actionMode);
// Puts the current action mode's hint into the information panel.
void UpdateStatusBarHint();
// The status line without a prompt, while the player's turn is paused or put away.
void ClearStatusBarHint();

// Forgets the time of the last unit step; a game starts its moves afresh.
void ResetUnitStepTime();
// One step of the moving unit, once its delay has passed.
void AnimateUnitMove();
// A move handed over by the rules: the step runs once per shown step and
// returns false when the move has ended.
void SetPendingMoveStep(std::function<bool()> step);

}  // namespace tr
