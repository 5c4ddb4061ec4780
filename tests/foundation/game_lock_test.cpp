#include "foundation/game_lock.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "foundation/log_sink.h"

namespace tr {
namespace {

std::vector<std::u16string> gLines;
void Capture(std::u16string_view line) { gLines.emplace_back(line); }

class GameLockTest : public testing::Test {
 protected:
  void SetUp() override {
    gLines.clear();
    SetLogSink(&Capture);
    SetGameLockActive(true);
  }
  void TearDown() override {
    SetGameLockActive(false);
    SetLogSink(nullptr);
  }
};

TEST_F(GameLockTest, TwoThreadsCountUnderTheLock) {
  long counter = 0;
  auto work = [&] {
    for (int i = 0; i < 100000; ++i) {
      GameLockGuard guard;
      ++counter;
    }
  };
  std::thread a(work), b(work);
  a.join();
  b.join();
  EXPECT_EQ(counter, 200000);
}

// A position names its source file alone, however the caller gave it: the
// compiler's path of this very file would carry the build machine's folders.
TEST_F(GameLockTest, ReentersAndLogsPositionsByTheFileNameAlone) {
  EnterGameLock(__FILE__, 10);
  EnterGameLock();
  EXPECT_EQ(GameLockDepth(), 2);
  LeaveGameLock();
  LeaveGameLock("a.cpp", 12);
  EnterGameLock("C:\\work\\src\\ai\\ai4.cpp", 13);
  LeaveGameLock("zdarzenia", 14);
  EXPECT_EQ(GameLockDepth(), 0);
  EXPECT_EQ(gLines, (std::vector<std::u16string>{u"AC:game_lock_test:10", u"RC:a:12", u"AC:ai4:13",
                                                 u"RC:zdarzenia:14"}));
}

TEST_F(GameLockTest, UnbalancedLeaveIsLoggedAndHarmless) {
  LeaveGameLock();
  EXPECT_EQ(gLines, std::vector<std::u16string>{u"LCS przy C<=0"});
  EXPECT_EQ(GameLockDepth(), 0);
  GameLockGuard guard;  // the lock still works
  EXPECT_EQ(GameLockDepth(), 1);
}

TEST_F(GameLockTest, TryingFailsOnlyWhileAnotherThreadHoldsTheLock) {
  const auto try_elsewhere = [] {
    bool took = false;
    std::thread([&] {
      took = TryEnterGameLock();
      if (took) LeaveGameLock();
    }).join();
    return took;
  };
  ASSERT_TRUE(TryEnterGameLock());
  EXPECT_EQ(GameLockDepth(), 1);
  EXPECT_FALSE(try_elsewhere());
  LeaveGameLock();
  EXPECT_TRUE(try_elsewhere());
}

TEST_F(GameLockTest, InactiveLockDoesNothing) {
  SetGameLockActive(false);
  EnterGameLock("x", 1);
  EXPECT_EQ(GameLockDepth(), 0);
  LeaveGameLock("x", 2);
  EXPECT_EQ(GameLockDepth(), 0);
  EXPECT_TRUE(gLines.empty());
}

TEST_F(GameLockTest, SleepLogsAndWarnsAboveEleventhSeconds) {
  SleepLogged(0, __FILE__, 3);
  EXPECT_EQ(gLines, std::vector<std::u16string>{u"S: game_lock_test : 3 : 0 ms"});
  std::atomic<bool> stop{true};
  SetThreadStopFlag(&stop);
  gLines.clear();
  SleepLogged(11000, "f.cpp", 4);  // returns at once: the stop flag is set
  SleepLogged(11001, "f.cpp", 5);
  SetThreadStopFlag(nullptr);
  EXPECT_EQ(gLines, (std::vector<std::u16string>{u"S: f : 4 : 11000 ms", u"Oj chyba bÄ™dzie zwis",
                                                 u"S: f : 5 : 11001 ms"}));
}

}  // namespace
}  // namespace tr
