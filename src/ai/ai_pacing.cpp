#include "ai/ai_pacing.h"

#include "foundation/game_lock.h"
#include "turn/theads.h"
#include "world/gra.h"

namespace tr {

void SleepAiDelay(eDelay delay, const char* file, int line) {
  if (delay < 0 || delay >= kDelayCount) return;
  SleepLogged(static_cast<int>(gDelays[delay]), file, line);
}

bool AwaitComputerMoveAnimation(cGame& game) {
  while (game.GetGameState() == kGameComputerMoving) {
    if (WorkerMustStop(game)) return false;
    SleepLogged(50, "ai_pacing", __LINE__);
  }
  return !WorkerMustStop(game);
}

}  // namespace tr
