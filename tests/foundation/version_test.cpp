// A save's version against this program's: what Info.ini gives back to two
// decimals tells a save of an earlier version from one of this or a later one.
#include "foundation/version.h"

#include <gtest/gtest.h>

#include <utility>

namespace tr {
namespace {

TEST(Version, ASaveIsOlderOnlyBelowThisVersionToTwoDecimals) {
  for (const auto& [version, older] : {std::pair{1.02f, false}, std::pair{1.0151f, false}, std::pair{1.0149f, true},
                                       std::pair{1.01f, true}, std::pair{1.0f, true}, std::pair{0.0f, true},
                                       std::pair{1.03f, false}, std::pair{-1.02f, true}}) {
    EXPECT_EQ(IsOlderThanProgram(version), older) << version;
  }
}

}  // namespace
}  // namespace tr
