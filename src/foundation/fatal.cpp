#include "foundation/fatal.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "foundation/format.h"
#include "foundation/log_sink.h"

namespace tr {
namespace {

std::mutex gMutex;
thread_local int tThrowingScopes = 0;
std::map<std::string, std::function<void()>>& Hooks() {
  static auto* hooks = new std::map<std::string, std::function<void()>>();
  return *hooks;
}
std::function<void(int)>& Interceptor() {
  static auto* interceptor = new std::function<void(int)>();
  return *interceptor;
}

}  // namespace

FatalExitError::FatalExitError(int code)
    : std::runtime_error("fatal exit with code " + std::to_string(code)), code_(code) {}

void FatalExit(int code) {
  // A failure must never look like success to whoever started the program.
  if (code == 0) code = 1;
  if (tThrowingScopes > 0) throw FatalExitError(code);
  std::function<void(int)> interceptor;
  std::map<std::string, std::function<void()>> hooks;
  {
    std::lock_guard<std::mutex> lock(gMutex);
    interceptor = Interceptor();
    hooks = Hooks();
  }
  if (interceptor) {
    interceptor(code);
    throw FatalExitError(code);  // an interceptor that returns must not let the caller go on
  }
  LogToSink(Format(u"Exiting with code %i", code));
  for (auto& [name, hook] : hooks) {
    if (hook) hook();
  }
  std::_Exit(code);
}

void SetFatalExitHook(const char* name, std::function<void()> hook) {
  std::lock_guard<std::mutex> lock(gMutex);
  Hooks()[name] = std::move(hook);
}

void SetFatalExitInterceptor(std::function<void(int)> interceptor) {
  std::lock_guard<std::mutex> lock(gMutex);
  Interceptor() = std::move(interceptor);
}

cFatalExitThrows::cFatalExitThrows() { ++tThrowingScopes; }
cFatalExitThrows::~cFatalExitThrows() { --tThrowingScopes; }

}  // namespace tr
