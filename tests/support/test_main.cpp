// Test entry point: fatal exits throw instead of ending the test program.
#include <gtest/gtest.h>

#include "foundation/fatal.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  tr::SetFatalExitInterceptor([](int code) { throw tr::FatalExitError(code); });
  return RUN_ALL_TESTS();
}
