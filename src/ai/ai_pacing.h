// How the computer opponent paces what it shows: the delays of the settings
// slept through SleepLogged (a delay of 0 does not sleep at all), and the wait
// while the main thread animates a computer unit's move (state 10).
#pragma once

#include "foundation/settings.h"

namespace tr {

class cGame;
struct sCombatResult;

// Whether a move is shown at all is ShowsComputerMove (units/air_support.h).

// Sleeps the delay's milliseconds, truncated; file names the caller's source
// file without extension for the log.
void SleepAiDelay(eDelay delay, const char* file, int line);

// The computer's fixed pauses (the second before an assault, after a war
// declaration): always logged like SleepLogged, slept only while real pauses
// are on. Tests and the autoplay runner turn them off.
void SleepAiPause(int ms, const char* file, int line);
// Returns the previous setting; on at start.
bool SetAiPausesSleep(bool sleep);

// Shows a combat result in the popup that closes itself after
// "Delay/AICombatResult" and waits until it has closed.
void ShowAiCombatResult(const sCombatResult& result);

// Waits, looking every 50 ms, until the main thread has ended a computer
// move's animation (state 10 back to 9). False when the worker must stop.
bool AwaitComputerMoveAnimation(cGame& game);

}  // namespace tr
