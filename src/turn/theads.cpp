#include "turn/theads.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/game_lock.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "turn/gra_endturn.h"
#include "turn/turn_steps.h"
#include "world/turn_order.h"
#include "world/game_services.h"
#include "world/gra.h"
#include "world/presentation.h"

namespace tr {

std::atomic<std::uint8_t> gWorkerRunFlag{0};
std::atomic<std::uint8_t> gEventsCheckRequested{0};

namespace {

std::atomic<std::uint32_t> gWorkerSeed{0};  // 0: seeded from the clock

constexpr const char* kThisFile = "theads";
std::atomic<std::chrono::milliseconds> gFirstStopWait{std::chrono::milliseconds(200)};
std::atomic<std::chrono::milliseconds> gLongStopWait{std::chrono::milliseconds(5000)};
// The idle worker looks for work this often instead of spinning.
constexpr auto kIdlePause = std::chrono::milliseconds(5);

// The stop flag the worker's waits look at (SleepLogged, WaitForBoxClosed).
std::atomic<bool> gStopRequested{false};
std::atomic<std::thread::id> gWorkerId{};

// Guards the thread object; never held while the worker is waited for by a
// thread the worker itself might wait on.
std::mutex gThreadMutex;
std::thread gThread;

std::mutex gFinishedMutex;
std::condition_variable gFinishedSignal;
bool gFinished = true;

void MarkFinished(bool finished) {
  {
    std::lock_guard<std::mutex> lock(gFinishedMutex);
    gFinished = finished;
  }
  gFinishedSignal.notify_all();
}

bool StopAsked() { return gWorkerRunFlag.load() != 1 || gStopRequested.load(); }

// The state-10 wait after a computer country: the main thread animates the
// last move and sets 9 again.
bool WaitForMoveAnimation(cGame& game) {
  while (game.GetGameState() == kGameComputerMoving) {
    SleepLogged(50, kThisFile, __LINE__);
    if (WorkerMustStop(game)) return false;
  }
  return true;
}

// One impulse's worth of computer countries, and the end of impulse when the
// last one has acted. False when the worker was told to stop.
bool RunCountryLoop(cGame& game) {
  while (true) {
    if (!game.playerControl.currentCountry) {
      LogLine(u"No current country for the computer's turn; handing the game back");
      return true;
    }
    if (!PlayCurrentCountryTurn(game)) return false;
    if (MoveToNextCountry(game) == eNextCountry::kStopped) return false;
    cCountry* current = game.playerControl.currentCountry;
    if (game.gameOver || !current || current->humanControlled) return true;
  }
}

// The game goes back to the main thread with the current country.
void HandOver(cGame& game) {
  LogLine(u"==== AI THREAD FINISHED =====");
  LogLine(u"rekalkuluje fog of war");
  cCountry* country = game.playerControl.currentCountry;
  const bool checksEvents = country != nullptr && country->specialFlags == 1;
  if (checksEvents) {
    {
      GameLockGuard lock;
      country->RecalculateUnitsVisibility();
      game.viewingCountry = country;
    }
    // The check waits for the player's answers, so it runs without the lock.
    CheckEventsAtTurnEnd(game);
    if (WorkerMustStop(game)) return;
  }
  // One hold of the lock: the frame that sees the glide to the turn's view
  // arrive gives the player the turn, so the banner must be up by then.
  GameLockGuard lock;
  const auto pushBanner = [&] {
    GameLockGuard logged(kThisFile, __LINE__);
    Presentation().PushNewTurnDialog(country->id);
  };
  if (country != nullptr && !checksEvents) {
    country->RecalculateUnitsVisibility();
    game.viewingCountry = country;
    const auto view = country->GetSavedView();
    if (view[2] >= 0.0f && game.map) game.map->GlideCamera(view[0], view[1], true);
    else game.playerControl.CenterOnCurrentCountry(true);
    // The banner is not waited for: the player's turn has begun.
    if (country->humanControlled) pushBanner();
  }
  game.SetGameState(kGameHumanIdle);
  game.playerControl.ClearSelection();
  Presentation().ResumePlayerPanels();
}

// The war is over and its result has been shown: no country gets the game
// back, not even a computer one that happens to be current. The game waits
// in the end-of-impulse state, where the worker stays idle and the player
// commands nothing, until the screen puts it away for the menus.
void EndGame(cGame& game) {
  LogLine(u"==== AI THREAD FINISHED =====");
  LogLine(u"The game is over; no further turn is played");
  game.SetGameState(kGameEndOfImpulse);
  Presentation().RequestReturnToMenus();
}

// One pass of the worker; false when there was nothing to do.
bool RunPass() {
  cGame* game = gGame;
  if (!game) return false;
  if (game->GetGameState() != kGameComputerTurn) {
    if (gEventsCheckRequested.load() != 1) return false;
    CheckEventsAtTurnEnd(*game);
    gEventsCheckRequested.store(0);
    return true;
  }
  LogLine(u"==== STARTING AI THREAD =====");
  if (!RunCountryLoop(*game) || WorkerMustStop(*game)) return true;
  if (game->gameOver) {
    EndGame(*game);
  } else {
    HandOver(*game);
  }
  return true;
}

void ThreadMain() {
  gWorkerId.store(std::this_thread::get_id());
  WorkerThreadProc();
  MarkFinished(true);
}

}  // namespace

bool PlayCurrentCountryTurn(cGame& game) {
  cCountry* country = game.playerControl.currentCountry;
  if (!country) return !WorkerMustStop(game);
  if (IsDummyCountry(*country)) {
    LogLine(GetText("dummy_country,_ending_sequence"));
  } else {
    PlayComputerTurn(game, *country);
  }
  if (WorkerMustStop(game) || !WaitForMoveAnimation(game)) return false;
  GameLockGuard lock;
  country->finishedTurn = 1;
  return true;
}

eNextCountry MoveToNextCountry(cGame& game) {
  cPlayerControl& control = game.playerControl;
  {
    // The screen reads the current country and the finished marks while it draws.
    GameLockGuard lock;
    if (cCountry* next = DetermineCurrentCountry(game.countries)) {
      control.SetCurrentCountry(next);
      return eNextCountry::kSameImpulse;
    }
    for (const auto& each : game.countries) each->finishedTurn = 0;
    control.SetCurrentCountry(DetermineCurrentCountry(game.countries));
  }
  game.SetGameState(kGameEndOfImpulse);
  EndOfImpulse(game, 1);
  if (WorkerMustStop(game)) return eNextCountry::kStopped;
  LogLine(u"Updatuje minimape po koncu impulsu");
  Presentation().UpdateDateCaption();
  game.SetGameState(kGameComputerTurn);
  while (game.GetGameState() == kGameEndOfImpulse && !game.gameOver) {
    SleepLogged(200, kThisFile, __LINE__);
    if (WorkerMustStop(game)) return eNextCountry::kStopped;
  }
  return eNextCountry::kImpulseEnded;
}

bool IsDummyCountry(const cCountry& country) {
  return country.politicalStrength == -1 || country.isActive == 0;
}

bool WorkerMustStop(const cGame& game) {
  return ThreadStopRequested() || game.GetGameState() == kGameTeardown;
}

int WorkerThreadProc() {
  SetThreadStopFlag(&gStopRequested);
  const auto ticks = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  const std::uint32_t fixed = gWorkerSeed.load();
  SeedRandom(fixed != 0 ? fixed : static_cast<std::uint32_t>(ticks.count()));
  while (!StopAsked()) {
    bool worked = false;
    try {
      worked = RunPass();
    } catch (const FatalExitError& error) {
      // Only where fatal exits are intercepted (tests) does one come back
      // here; the worker ends as the process would have.
      LogFormat(u"Worker thread ended by a fatal error (code %i)", error.code());
      break;
    }
    if (!worked) std::this_thread::sleep_for(kIdlePause);
  }
  SetThreadStopFlag(nullptr);
  return 0;
}

int StartWorkerThread() {
  std::lock_guard<std::mutex> lock(gThreadMutex);
  if (gThread.joinable()) {
    {
      std::lock_guard<std::mutex> finished(gFinishedMutex);
      if (!gFinished) return 0;
    }
    gThread.join();
  }
  SetWorkerStopService([] { StopWorkerThread(); });
  gStopRequested.store(false);
  gWorkerRunFlag.store(1);
  MarkFinished(false);
  gThread = std::thread(ThreadMain);
  gWorkerId.store(gThread.get_id());
  return 0;
}

int StopWorkerThread() {
  gWorkerRunFlag.store(0);
  gStopRequested.store(true);
  if (gWorkerId.load() == std::this_thread::get_id()) {
    // The worker cannot wait for itself; it unwinds once this call returns.
    LogLine(u"Worker thread asked to stop itself");
    return 1;
  }
  std::lock_guard<std::mutex> lock(gThreadMutex);
  if (!gThread.joinable()) return 0;
  // A worker waiting for the game lock could never finish while the caller
  // holds it, so the caller lets go of it for the wait.
  const int heldDepth = GameLockDepth();
  for (int i = 0; i < heldDepth; ++i) LeaveGameLock();
  const auto start = std::chrono::steady_clock::now();
  bool ended = false;
  {
    std::unique_lock<std::mutex> finished(gFinishedMutex);
    const auto limit = gFirstStopWait.load() + gLongStopWait.load();
    ended = gFinishedSignal.wait_for(finished, limit, [] { return gFinished; });
  }
  if (!ended) {
    LogFormat(u"Worker thread did not stop within %i ms; waiting for it to end",
              static_cast<int>((gFirstStopWait.load() + gLongStopWait.load()).count()));
  }
  gThread.join();
  gWorkerId.store(std::thread::id{});
  for (int i = 0; i < heldDepth; ++i) EnterGameLock();
  if (!ended) {
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    LogFormat(u"Worker thread stopped after %i ms", static_cast<int>(took.count()));
    return 1;
  }
  return 0;
}

void SetWorkerStopWaits(std::chrono::milliseconds first, std::chrono::milliseconds longer) {
  gFirstStopWait.store(first);
  gLongStopWait.store(longer);
}

void SetWorkerSeed(std::uint32_t seed) { gWorkerSeed.store(seed); }

bool IsWorkerThreadRunning() {
  std::lock_guard<std::mutex> lock(gFinishedMutex);
  return !gFinished;
}

bool IsWorkerThread() {
  const std::thread::id worker = gWorkerId.load();
  return worker != std::thread::id{} && worker == std::this_thread::get_id();
}

}  // namespace tr
