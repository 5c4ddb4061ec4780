// Test entry point: fatal exits throw instead of ending the test program, and
// no test needs a display or a sound device.
#include <gtest/gtest.h>

#include <cstdlib>

#include "foundation/fatal.h"

// Caches that system libraries keep for the life of the process are not leaks
// of ours; the sanitizer runtime asks for these before main.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\nleak:libSDL2\nleak:libfreetype\nleak:libdbus\n";
}

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  testing::InitGoogleTest(&argc, argv);
  tr::SetFatalExitInterceptor([](int code) { throw tr::FatalExitError(code); });
  return RUN_ALL_TESTS();
}
