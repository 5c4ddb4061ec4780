// The modal dialog stack: where pushes land, what pops destroy and activate,
// the placeholder for negative-id tops, and the worker's wait for a dialog.
#include "app/modal_stack.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "foundation/game_lock.h"
#include "recording_dialog.h"
#include "support/log_capture.h"
#include "support/screen_fixture.h"

namespace tr {
namespace {

using test::Journal;
using test::RecordingDialog;

class ModalStackTest : public test::ScreenFixture {
 protected:
  RecordingDialog* Push(int id, int offset = 0) {
    auto* dialog = new RecordingDialog(id, journal_);
    PushModalDialog(dialog, offset);
    return dialog;
  }
  std::vector<int> Ids() const {
    std::vector<int> ids;
    for (const cDialog* d : ModalDialogStack) ids.push_back(d->id);
    return ids;
  }
  Journal journal_;
};

TEST_F(ModalStackTest, PushBelowTheBottomInsertsAtTheBottomAndKeepsTheTop) {
  Push(1);
  RecordingDialog* top = Push(2);
  Push(3, -5);
  EXPECT_EQ(Ids(), (std::vector<int>{3, 1, 2}));
  EXPECT_EQ(TopDialog, top);
  Push(4, -1);
  EXPECT_EQ(Ids(), (std::vector<int>{3, 1, 4, 2}));
  EXPECT_EQ(TopDialog, top);
}

TEST_F(ModalStackTest, PopAllDestroysEachAndActivatesTheOnesBelowInTurn) {
  Push(1);
  Push(2);
  Push(3);
  PopModalDialogs(-1);
  EXPECT_EQ(journal_, (Journal{"destroy 3", "freed 3", "activate 2", "destroy 2", "freed 2", "activate 1",
                               "destroy 1", "freed 1"}));
  EXPECT_EQ(TopDialog, nullptr);
  EXPECT_TRUE(ModalDialogStack.empty());
}

TEST_F(ModalStackTest, CountsOfZeroOrBelowMinusOneDoNothing) {
  Push(1);
  PopModalDialogs(0);
  PopModalDialogs(-2);
  EXPECT_EQ(Ids(), (std::vector<int>{1}));
  PopModalDialogs(5);
  EXPECT_TRUE(ModalDialogStack.empty());
}

TEST_F(ModalStackTest, NegativeIdEntryIsCoveredByThePlaceholderAndNeverDestroyed) {
  // Owned elsewhere: the test frees it.
  auto* outside = new RecordingDialog(-3, journal_);
  PushModalDialog(outside);
  EXPECT_TRUE(IsPlaceholderDialog(TopDialog));
  EXPECT_EQ(TopDialog->id, kPlaceholderDialogId);
  Push(7);
  PopModalDialogs(1);
  cDialog* placeholder = TopDialog;
  ASSERT_TRUE(IsPlaceholderDialog(placeholder));
  EXPECT_EQ(Ids(), (std::vector<int>{-3}));
  // A push over the placeholder drops it from the top without freeing it; it comes back the same object.
  Push(8);
  PopModalDialogs(1);
  EXPECT_EQ(TopDialog, placeholder);
  PopModalDialogs(1);
  EXPECT_EQ(TopDialog, nullptr);
  EXPECT_TRUE(ModalDialogStack.empty());
  EXPECT_EQ(journal_, (Journal{"destroy 7", "freed 7", "destroy 8", "freed 8"}));
  outside->Destroy();
}

TEST_F(ModalStackTest, CloseStartsFromTheUpperOfTwoEqualIdsAndFindReturnsTheLower) {
  RecordingDialog* lower = Push(5);
  Push(5);
  Push(6);
  EXPECT_EQ(FindModalDialog(5), lower);
  EXPECT_EQ(FindModalDialog(9), nullptr);
  CloseModalDialog(5);
  EXPECT_EQ(Ids(), (std::vector<int>{5}));
  EXPECT_EQ(TopDialog, lower);
  CloseModalDialog(9);
  EXPECT_EQ(Ids(), (std::vector<int>{5}));
}

class WaitForBoxClosedTest : public ModalStackTest {
 protected:
  void SetUp() override {
    ModalStackTest::SetUp();
    SetGameLockActive(true);
  }
  void TearDown() override {
    SetGameLockActive(false);
    ModalStackTest::TearDown();
  }
};

TEST_F(WaitForBoxClosedTest, WorkerReturnsAfterTheMainThreadPopsAndLogsTheDialogClass) {
  test::LogCapture log;
  RecordingDialog* dialog = Push(4);
  std::atomic<bool> returned{false};
  std::thread worker([&] {
    WaitForBoxClosed(dialog, "/home/builder/src/turn/worker.cpp", 42);
    returned = true;
  });
  // The wait logs each look while the dialog is open, naming the caller's
  // file without its folders; pop after its first line.
  while (!log.Contains(u"WBC:class test::RecordingDialog:worker:42")) std::this_thread::yield();
  EXPECT_FALSE(returned);
  PopModalDialogs(1);
  worker.join();
  EXPECT_TRUE(returned);
}

TEST_F(WaitForBoxClosedTest, ReturnsAtOnceForADialogNoLongerInTheStack) {
  test::LogCapture log;
  RecordingDialog* dialog = Push(4);
  PopModalDialogs(1);
  // The pointer is stale now; the wait never reads through it.
  WaitForBoxClosed(dialog, "worker.cpp", 1);
  EXPECT_FALSE(log.ContainsText(u"WBC:"));
}

TEST_F(WaitForBoxClosedTest, ReturnsWhenTheWorkerIsToldToStop) {
  RecordingDialog* dialog = Push(4);
  std::atomic<bool> stop{false};
  std::atomic<bool> returned{false};
  std::thread worker([&] {
    SetThreadStopFlag(&stop);
    WaitForBoxClosed(dialog, "worker.cpp", 7);
    returned = true;
    SetThreadStopFlag(nullptr);
  });
  stop = true;
  worker.join();
  EXPECT_TRUE(returned);
  EXPECT_EQ(TopDialog, dialog);
}

}  // namespace
}  // namespace tr
