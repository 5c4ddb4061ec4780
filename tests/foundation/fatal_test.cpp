#include "foundation/fatal.h"

#include <gtest/gtest.h>

namespace tr {
namespace {

TEST(FatalExit, ThrowsUnderTestsWithItsCode) {
  try {
    FatalExit(2);
    FAIL();
  } catch (const FatalExitError& e) {
    EXPECT_EQ(e.code(), 2);
  }
}

TEST(FatalExit, NeverReportsSuccess) {
  try {
    FatalExit(0);
  } catch (const FatalExitError& e) {
    EXPECT_EQ(e.code(), 1);
  }
}

TEST(FatalExitDeathTest, EndsTheProcessAfterTheHooks) {
  EXPECT_EXIT(
      {
        SetFatalExitInterceptor(nullptr);
        SetFatalExitHook("test", [] { fputs("hook ran", stderr); });
        FatalExit(3);
      },
      testing::ExitedWithCode(3), "hook ran");
}

}  // namespace
}  // namespace tr
