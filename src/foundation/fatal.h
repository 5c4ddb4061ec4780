// Fatal data errors end the program with a code, never 0. Everything that must
// happen before the process ends (closing the window, flushing the log) is
// registered as a pre-exit hook. Tests install an interceptor that throws
// FatalExitError instead, so the code under test can be checked.
#pragma once

#include <functional>
#include <stdexcept>

namespace tr {

class FatalExitError : public std::runtime_error {
 public:
  explicit FatalExitError(int code);
  int code() const { return code_; }

 private:
  int code_;
};

[[noreturn]] void FatalExit(int code);

// Runs before the process ends; the most recent hook with a given name replaces the older.
void SetFatalExitHook(const char* name, std::function<void()> hook);

// When set, FatalExit calls it (it must not return) instead of ending the process.
void SetFatalExitInterceptor(std::function<void(int)> interceptor);

// While one lives, FatalExit on the thread that made it throws FatalExitError
// (before any interceptor or hook) instead of ending the process: a load the
// player can come back from catches it. Other threads end as before.
class cFatalExitThrows {
 public:
  cFatalExitThrows();
  ~cFatalExitThrows();
  cFatalExitThrows(const cFatalExitThrows&) = delete;
  cFatalExitThrows& operator=(const cFatalExitThrows&) = delete;
};

}  // namespace tr
