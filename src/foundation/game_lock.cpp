#include "foundation/game_lock.h"

#include <chrono>
#include <mutex>
#include <thread>

#include "foundation/format.h"
#include "foundation/log_sink.h"

namespace tr {
namespace {

std::recursive_mutex gGameLock;
std::atomic<bool> gLockingActive{false};
std::atomic<int> gLockCounter{0};
thread_local int tDepth = 0;
thread_local const std::atomic<bool>* tStopFlag = nullptr;

}  // namespace

void SetGameLockActive(bool active) { gLockingActive.store(active); }
bool IsGameLockActive() { return gLockingActive.load(); }

void EnterGameLock(const char* file, int line) {
  if (!gLockingActive.load()) return;
  // Logged before blocking, so a hang shows who was waiting.
  if (file) LogToSink(Format(u"AC:%s:%d", file, line));
  gGameLock.lock();
  ++tDepth;
  gLockCounter.fetch_add(1);
}

void LeaveGameLock(const char* file, int line) {
  if (!gLockingActive.load()) return;
  if (file) LogToSink(Format(u"RC:%s:%d", file, line));
  if (gLockCounter.load() < 1 || tDepth < 1) {
    // Unlocking a lock this thread does not hold is undefined: report and skip.
    LogToSink(u"LCS przy C<=0");
    return;
  }
  --tDepth;
  gLockCounter.fetch_sub(1);
  gGameLock.unlock();
}

bool TryEnterGameLock() {
  if (!gLockingActive.load()) return true;
  if (!gGameLock.try_lock()) return false;
  ++tDepth;
  gLockCounter.fetch_add(1);
  return true;
}

int GameLockDepth() { return tDepth; }

void SleepLogged(int ms, const char* file, int line) {
  if (ms > 11000) LogToSink(u"Oj chyba bÄ™dzie zwis");
  LogToSink(Format(u"S: %s : %d : %d ms", file ? file : "", line, ms));
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (true) {
    if (tStopFlag && tStopFlag->load()) return;
    const auto now = std::chrono::steady_clock::now();
    if (now >= until) return;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
        until - now, std::chrono::milliseconds(20)));
  }
}

void SetThreadStopFlag(const std::atomic<bool>* stop) { tStopFlag = stop; }

bool ThreadStopRequested() { return tStopFlag != nullptr && tStopFlag->load(); }

}  // namespace tr
