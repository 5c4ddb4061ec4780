// The one lock that orders the main thread and the worker thread around the
// game. It is re-entrant for its owner and does nothing while locking is off
// (before start-up has created it and after shut-down).
#pragma once

#include <atomic>
#include <string_view>

namespace tr {

// How the lock and sleep lines name a source file: its own name without
// folders or extension ("land_orders"), whether the caller passed __FILE__,
// a file name or a bare name, so logs of builds in other folders compare equal.
std::string_view SourceFileName(std::string_view file);

void SetGameLockActive(bool active);
bool IsGameLockActive();

// A source position, when given, is logged as "AC:file:line" / "RC:file:line".
void EnterGameLock(const char* file = nullptr, int line = 0);
void LeaveGameLock(const char* file = nullptr, int line = 0);

// Takes the lock only when no other thread holds it; true when taken (always
// true while locking is off). A true result is paired with LeaveGameLock.
bool TryEnterGameLock();

// How many times this thread holds the lock.
int GameLockDepth();

class GameLockGuard {
 public:
  explicit GameLockGuard(const char* file = nullptr, int line = 0) : file_(file), line_(line) {
    EnterGameLock(file_, line_);
  }
  ~GameLockGuard() { LeaveGameLock(file_, line_); }
  GameLockGuard(const GameLockGuard&) = delete;
  GameLockGuard& operator=(const GameLockGuard&) = delete;

 private:
  const char* file_;
  int line_;
};

// Logs the sleep and sleeps. A thread may register a stop flag: the sleep ends
// early once it is set, so a stopping worker never waits out a long delay.
void SleepLogged(int ms, const char* file = nullptr, int line = 0);
void SetThreadStopFlag(const std::atomic<bool>* stop);
// True once the stop flag this thread registered is set.
bool ThreadStopRequested();

}  // namespace tr
