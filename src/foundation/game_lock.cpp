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

std::string_view SourceFileName(std::string_view file) {
  if (const auto slash = file.find_last_of("/\\"); slash != std::string_view::npos) file.remove_prefix(slash + 1);
  if (const auto dot = file.rfind('.'); dot != std::string_view::npos && dot > 0) file = file.substr(0, dot);
  return file;
}

void SetGameLockActive(bool active) { gLockingActive.store(active); }
bool IsGameLockActive() { return gLockingActive.load(); }

void EnterGameLock(const char* file, int line) {
  if (!gLockingActive.load()) return;
  // Logged before blocking, so a hang shows who was waiting.
  if (file) LogToSink(Format(u"AC:%s:%d", SourceFileName(file), line));
  gGameLock.lock();
  ++tDepth;
  gLockCounter.fetch_add(1);
}

void LeaveGameLock(const char* file, int line) {
  if (!gLockingActive.load()) return;
  if (file) LogToSink(Format(u"RC:%s:%d", SourceFileName(file), line));
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
  LogToSink(Format(u"S: %s : %d : %d ms", SourceFileName(file ? file : ""), line, ms));
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
