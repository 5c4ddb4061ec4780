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

TEST_F(GameLockTest, ReentersAndLogsPositions) {
  EnterGameLock("a.cpp", 10);
  EnterGameLock();
  EXPECT_EQ(GameLockDepth(), 2);
  LeaveGameLock();
  LeaveGameLock("a.cpp", 12);
  EXPECT_EQ(GameLockDepth(), 0);
  EXPECT_EQ(gLines, (std::vector<std::u16string>{u"AC:a.cpp:10", u"RC:a.cpp:12"}));
}

TEST_F(GameLockTest, UnbalancedLeaveIsLoggedAndHarmless) {
  LeaveGameLock();
  EXPECT_EQ(gLines, std::vector<std::u16string>{u"LCS przy C<=0"});
  EXPECT_EQ(GameLockDepth(), 0);
  GameLockGuard guard;  // the lock still works
  EXPECT_EQ(GameLockDepth(), 1);
}

TEST_F(GameLockTest, InactiveLockDoesNothing) {
  SetGameLockActive(false);
  EnterGameLock("x", 1);
  EXPECT_EQ(GameLockDepth(), 0);
  EXPECT_TRUE(gLines.empty());
}

TEST_F(GameLockTest, SleepLogsAndWarnsAboveEleventhSeconds) {
  SleepLogged(0, "f.cpp", 3);
  EXPECT_EQ(gLines, std::vector<std::u16string>{u"S: f.cpp : 3 : 0 ms"});
  std::atomic<bool> stop{true};
  SetThreadStopFlag(&stop);
  gLines.clear();
  SleepLogged(11000, "f.cpp", 4);  // returns at once: the stop flag is set
  SleepLogged(11001, "f.cpp", 5);
  SetThreadStopFlag(nullptr);
  EXPECT_EQ(gLines, (std::vector<std::u16string>{u"S: f.cpp : 4 : 11000 ms", u"Oj chyba bÄ™dzie zwis",
                                                 u"S: f.cpp : 5 : 11001 ms"}));
}

}  // namespace
}  // namespace tr
