// The game state: its setter with the log line, the move-animation end, and
// pausing and resuming.
#include "foundation/console_log.h"
#include "world/gra.h"
#include "world/presentation.h"

namespace tr {

void cGame::SetGameState(eGameState newState) {
  state.store(newState);
  LogFormat(u"---- Game state = %i", static_cast<int>(newState));
}

void cGame::EndMoveAnimationState() {
  eGameState expected = kGameHumanMoving;
  if (state.compare_exchange_strong(expected, kGameHumanIdle)) return;
  expected = kGameComputerMoving;
  state.compare_exchange_strong(expected, kGameComputerTurn);
}

void cGame::Pause() {
  // A walk the pause interrupts goes on after it: resumed as idle, the unit
  // would stay between hexes, on none, and its destination selected for nothing.
  resumeWalk_ = GetGameState() == kGameHumanMoving;
  SetGameState(kGamePaused);
  Presentation().InstallMenuCallbacks();
}

void cGame::Resume() {
  Presentation().InstallGameCallbacks();
  SetGameState(resumeWalk_ ? kGameHumanMoving : kGameHumanIdle);
  resumeWalk_ = false;
}

}  // namespace tr
