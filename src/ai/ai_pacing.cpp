#include "ai/ai_pacing.h"

#include <atomic>

#include "foundation/console_log.h"
#include "world/presentation.h"

#include "foundation/game_lock.h"
#include "turn/theads.h"
#include "world/gra.h"

namespace tr {

void SleepAiDelay(eDelay delay, const char* file, int line) {
  if (delay < 0 || delay >= kDelayCount) return;
  SleepLogged(static_cast<int>(gDelays[delay]), file, line);
}

namespace {

std::atomic<bool> gPausesSleep{true};

}  // namespace

void SleepAiPause(int ms, const char* file, int line) {
  if (gPausesSleep.load()) {
    SleepLogged(ms, file, line);
    return;
  }
  LogFormat(u"S: %s : %d : %d ms", file ? file : "", line, ms);
}

bool SetAiPausesSleep(bool sleep) { return gPausesSleep.exchange(sleep); }

void ShowAiCombatResult(const sCombatResult& result) {
  Presentation().ShowCombatResultAndWait(result, gDelays[kDelayAICombatResult]);
}

bool AwaitComputerMoveAnimation(cGame& game) {
  while (game.GetGameState() == kGameComputerMoving) {
    if (WorkerMustStop(game)) return false;
    SleepLogged(50, "ai_pacing", __LINE__);
  }
  return !WorkerMustStop(game);
}

}  // namespace tr
