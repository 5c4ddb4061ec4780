// The worker thread beside the main thread: it plays the turns of the
// countries no human leads, runs the end of impulse when every country of the
// impulse has acted, and hands the game back when a human country is current;
// once the war is over it hands nothing back and asks for the menus instead.
// It also runs the scripted-event check when the main thread asks for it.
// The two threads meet through the game state, the request byte, the game
// lock and the modal dialog stack.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace tr {

class cCountry;
class cGame;

// 1 while the worker loops.
extern std::atomic<std::uint8_t> gWorkerRunFlag;
// Set by the main thread when the current country's events must be checked;
// the worker runs the check and clears it.
extern std::atomic<std::uint8_t> gEventsCheckRequested;

// Starts the worker and installs StopWorkerThread as the game's worker-stop
// service. A second start while a worker runs does nothing. Returns 0.
int StartWorkerThread();

// Clears the run flag and waits for the worker to unwind: every wait of the
// worker looks at the flag. Returns 0 when it ended within 200 + 5000 ms, 1
// (logged) when it took longer; it is joined either way. Called on the
// worker itself (a fatal error inside a computer turn) it only asks.
int StopWorkerThread();

// Tests shorten the two waits of StopWorkerThread (200 ms and 5000 ms).
void SetWorkerStopWaits(std::chrono::milliseconds first, std::chrono::milliseconds longer);

// Tests fix the seed the worker draws from (0: from the clock, as the game does),
// so a game played through the worker plays the same way on every run.
void SetWorkerSeed(std::uint32_t seed);

// The thread body; returns 0 once the run flag is found cleared.
int WorkerThreadProc();

bool IsWorkerThreadRunning();
// Whether the calling thread is the worker (its waits may block; the main thread's may not).
bool IsWorkerThread();

// True on the worker once it is told to stop or the game is being torn down:
// the long steps of a turn check it and unwind.
bool WorkerMustStop(const cGame& game);

// The two halves of one step of the computer's phase, also driven by the
// headless autoplay runner. The current country plays its turn (a dummy
// country's is passed over), the last move's animation is waited for and the
// country is marked finished; false when the worker must stop.
bool PlayCurrentCountryTurn(cGame& game);
// The next country of the impulse becomes current; after the last one the
// finished marks are cleared and the end of impulse runs.
enum class eNextCountry { kSameImpulse, kImpulseEnded, kStopped };
eNextCountry MoveToNextCountry(cGame& game);

// Political strength -1 or inactive: the country's turn is empty.
bool IsDummyCountry(const cCountry& country);

}  // namespace tr
