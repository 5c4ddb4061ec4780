// One frame of the shared render callback, recorded: what is drawn in which
// order, and that the game lock is held throughout.
#include "app/frame_render.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/menu.h"
#include "app/modal_stack.h"
#include "foundation/game_lock.h"
#include "gui/hint_box.h"
#include "platform/graphics.h"
#include "recording_dialog.h"
#include "support/screen_fixture.h"
#include "support/world_builder.h"

namespace tr {
namespace {

using test::Journal;
using test::RecordingDialog;

class JournalMenu : public cMenu {
 public:
  explicit JournalMenu(Journal& journal) : journal_(journal) {}
  void Render(float) override { journal_.push_back("menu"); }

 private:
  Journal& journal_;
};

class FrameRenderTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    SetMapRenderer([this](Graphics&, float) { journal_.push_back("map"); });
  }
  void Render() { OnFrameRender(frame_->graphics(), 0.0, 0.1f); }
  Journal journal_;
};

struct StateCase {
  eGameState state;
  bool map;
};
class MapByGameState : public FrameRenderTest, public testing::WithParamInterface<StateCase> {};

TEST_P(MapByGameState, MapIsDrawnOnlyWhenTheGameShowsIt) {
  test::TestWorld world(3, 3, 1);
  world.game().StoreGameState(GetParam().state);
  Render();
  EXPECT_EQ(journal_, GetParam().map ? Journal{"map"} : Journal{});
}

INSTANTIATE_TEST_SUITE_P(States, MapByGameState,
                         testing::Values(StateCase{kGameLoading, false}, StateCase{kGameLoaded, false},
                                         StateCase{kGameSeaBattleScreen, false}, StateCase{kGamePaused, true},
                                         StateCase{kGameHumanIdle, true}, StateCase{kGameComputerTurn, true}));

TEST_F(FrameRenderTest, NoMapWithoutAGame) {
  Render();
  EXPECT_TRUE(journal_.empty());
}

TEST_F(FrameRenderTest, MenuThenVisibleNonNegativeDialogsBottomToTopThenTheHintBox) {
  CurrentMenu = new JournalMenu(journal_);
  PushModalDialog(new RecordingDialog(0, journal_));
  // Owned here, not by the stack.
  std::unique_ptr<RecordingDialog, void (*)(RecordingDialog*)> outside(new RecordingDialog(-2, journal_),
                                                                       [](RecordingDialog* d) { d->Destroy(); });
  PushModalDialog(outside.get(), 0);
  auto* hidden = new RecordingDialog(3, journal_);
  PushModalDialog(hidden);
  hidden->SetVisible(false);
  PushModalDialog(new RecordingDialog(4, journal_));
  GetHintBox().SetText(u"a hint");
  // The hint has rested long enough to show.
  GetHintBox().Update(0);
  GetHintBox().Update(1000);
  recorder_.Clear();
  Render();
  EXPECT_EQ(journal_, (Journal{"menu", "render 0", "render 4"}));
  // The frame starts with the clear and ends with the hint box's text.
  ASSERT_FALSE(recorder_.records().empty());
  EXPECT_EQ(recorder_.records().front().kind, DrawRecord::Kind::kClear);
  const DrawRecord* hint = recorder_.FindText(u"a hint");
  ASSERT_NE(hint, nullptr);
  EXPECT_EQ(hint, &recorder_.records().back());
  PopModalDialogs(-1);
}

class LockProbeDialog : public cDialog {
 public:
  LockProbeDialog() : cDialog(1) {}
  void Render(float) override {
    std::thread probe([this] {
      probeTookLock = TryEnterGameLock();
      if (probeTookLock) LeaveGameLock();
    });
    probe.join();
  }
  std::atomic<bool> probeTookLock{true};
};

TEST_F(FrameRenderTest, AnotherThreadCannotTakeTheGameLockDuringAFrame) {
  SetGameLockActive(true);
  auto* dialog = new LockProbeDialog();
  PushModalDialog(dialog);
  Render();
  EXPECT_FALSE(dialog->probeTookLock);
  bool tookAfterwards = false;
  std::thread([&] {
    tookAfterwards = TryEnterGameLock();
    if (tookAfterwards) LeaveGameLock();
  }).join();
  EXPECT_TRUE(tookAfterwards);
  SetGameLockActive(false);
}

}  // namespace
}  // namespace tr
