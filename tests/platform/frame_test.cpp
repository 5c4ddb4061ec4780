// The frame: callbacks and their order, the clock and pauses, device life, closing.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/desktop_mode.h"
#include "platform/frame.h"
#include "platform/input.h"
#include "platform/message_box.h"
#include "platform/texture.h"

namespace tr {
namespace {

class FrameTest : public testing::Test {
 protected:
  std::unique_ptr<AppFrame> frame = AppFrame::CreateHeadless(64, 48);
  std::vector<std::string> log;

  void InstallLoggingCallbacks(bool mouse_move) {
    frame->SetKeyboardCallback([this](std::uint32_t key, bool down, bool alt) {
      log.push_back("key " + std::to_string(key) + (down ? " down" : " up") + (alt ? " alt" : ""));
    });
    frame->SetMouseCallback(
        [this](bool l, bool r, bool, bool, bool, int wheel, int x, int y) {
          log.push_back("mouse " + std::to_string(l) + std::to_string(r) + " " + std::to_string(wheel) + " " +
                        std::to_string(x) + "," + std::to_string(y));
        },
        mouse_move);
    frame->SetMessageCallback([this](std::uint32_t msg, WParam, LParam, bool*) -> std::int64_t {
      log.push_back("msg " + std::to_string(msg));
      return 0;
    });
  }
};

TEST_F(FrameTest, KeysAndMouseReachTheirCallbacksBeforeTheMessageCallback) {
  InstallLoggingCallbacks(false);
  frame->Inject(RawInput::KeyDown('A'));
  frame->Inject(RawInput::MouseMove(3, 4));
  frame->Inject(RawInput::MouseDown(RawInput::kLeft, 5, 6));
  frame->Inject(RawInput::Wheel(1));
  frame->PumpEvents();
  EXPECT_EQ(log, (std::vector<std::string>{"key 65 down", "msg 256", "msg 512", "mouse 10 0 5,6", "msg 513",
                                           "mouse 10 120 5,6", "msg 522"}));
  log.clear();
  InstallLoggingCallbacks(true);
  frame->Inject(RawInput::MouseMove(7, 8));
  frame->PumpEvents();
  EXPECT_EQ(log, (std::vector<std::string>{"mouse 10 0 7,8", "msg 512"}));
}

TEST_F(FrameTest, CloseRunsTheHookFirstUnlessAMessageHandlerStopsIt) {
  bool stop = true;
  frame->SetMessageCallback([&](std::uint32_t msg, WParam, LParam, bool* no_further) -> std::int64_t {
    if (msg == WM_CLOSE) *no_further = stop;
    return 0;
  });
  int hooks = 0;
  frame->SetCloseHook([&] {
    ++hooks;
    EXPECT_FALSE(frame->closing());
  });
  frame->RequestClose();
  frame->Tick();
  EXPECT_FALSE(frame->closing());
  stop = false;
  frame->RequestClose();
  frame->Tick();
  EXPECT_TRUE(frame->closing());
  EXPECT_EQ(hooks, 1);
  EXPECT_EQ(frame->Run(), 0);
}

TEST_F(FrameTest, CallbacksCanBeReplacedFromInsideThemselves) {
  int first = 0, second = 0;
  frame->SetKeyboardCallback([&](std::uint32_t, bool, bool) {
    ++first;
    frame->SetKeyboardCallback([&](std::uint32_t, bool, bool) { ++second; });
  });
  frame->Inject(RawInput::KeyDown('A'));
  frame->Inject(RawInput::KeyDown('B'));
  frame->PumpEvents();
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 1);
}

TEST_F(FrameTest, FrameClockFollowsTheInjectedClockAndStopsWhilePaused) {
  ManualClock& clock = *frame->manual_clock();
  std::vector<std::pair<double, float>> moves;
  frame->SetFrameMoveCallback([&](Graphics&, double t, float e) { moves.emplace_back(t, e); });
  std::vector<bool> pauses;
  frame->SetPauseCallback([&](bool paused) { pauses.push_back(paused); });
  frame->CreateWindowAndDevice({u"", 64, 48, false});
  clock.Advance(0.25);
  frame->Tick();
  frame->Pause(true, false);
  clock.Advance(1.0);
  frame->Tick();
  frame->Pause(false, false);
  frame->Pause(false, false);  // counters stop at zero
  clock.Advance(0.5);
  frame->Tick();
  ASSERT_EQ(moves.size(), 3u);
  EXPECT_DOUBLE_EQ(moves[0].first, 0.25);
  EXPECT_FLOAT_EQ(moves[0].second, 0.25f);
  EXPECT_DOUBLE_EQ(moves[1].first, 0.25);
  EXPECT_FLOAT_EQ(moves[1].second, 0.0f);
  EXPECT_DOUBLE_EQ(moves[2].first, 0.75);
  EXPECT_EQ(pauses, (std::vector<bool>{true, false, false}));
  EXPECT_FALSE(frame->time_paused());
}

// A frame that takes 5 ms of work waits out the rest of the minimum frame
// time; a slower one or no limit waits nothing. The limit is asked each pass.
struct FrameLimitCase {
  const char* name;
  int limit_ms;
  double work_ms;
  double period_ms;
};
class FrameLimit : public FrameTest, public testing::WithParamInterface<FrameLimitCase> {};

TEST_P(FrameLimit, EachPassLastsAtLeastTheMinimumFrameTime) {
  ManualClock& clock = *frame->manual_clock();
  int asked = 0;
  frame->SetFrameTimeLimit([&] {
    ++asked;
    return GetParam().limit_ms;
  });
  std::vector<float> elapsed;
  frame->SetFrameMoveCallback([&](Graphics&, double, float e) {
    elapsed.push_back(e);
    clock.AdvanceMs(GetParam().work_ms);
    if (elapsed.size() == 4) frame->Shutdown(0);
  });
  frame->CreateWindowAndDevice({u"", 64, 48, false});
  EXPECT_EQ(frame->Run(), 0);
  ASSERT_EQ(elapsed.size(), 4u);
  for (std::size_t i = 1; i < elapsed.size(); ++i) EXPECT_NEAR(elapsed[i], GetParam().period_ms / 1000.0, 1e-6);
  EXPECT_EQ(asked, 3);
}

INSTANTIATE_TEST_SUITE_P(Limits, FrameLimit,
                         testing::Values(FrameLimitCase{"SixtyFramesASecond", 16, 5.0, 16.0},
                                         FrameLimitCase{"SlowFramesDoNotWait", 16, 20.0, 20.0},
                                         FrameLimitCase{"NoLimit", 0, 5.0, 5.0}),
                         [](const testing::TestParamInfo<FrameLimitCase>& info) { return std::string(info.param.name); });

TEST_F(FrameTest, MillisecondTimerWrapsAtThirtyTwoBits) {
  frame->manual_clock()->Set(4294967.290);
  const std::uint32_t before = TimerMs();
  EXPECT_EQ(before, 4294967290u);
  frame->manual_clock()->AdvanceMs(10);
  EXPECT_EQ(TimerMs(), 4u);
  EXPECT_EQ(static_cast<std::uint32_t>(TimerMs() - before), 10u);
}

TEST_F(FrameTest, MinimisingPausesTimeAndRendering) {
  int renders = 0;
  frame->SetFrameRenderCallback([&](Graphics&, double, float) { ++renders; });
  frame->CreateWindowAndDevice({u"", 64, 48, false});
  frame->Tick();
  frame->Inject(RawInput::Of(RawInput::Type::kMinimized));
  frame->Tick();
  EXPECT_TRUE(frame->rendering_paused());
  EXPECT_TRUE(frame->time_paused());
  frame->Inject(RawInput::Of(RawInput::Type::kRestored));
  frame->Tick();
  EXPECT_EQ(renders, 2);
  EXPECT_FALSE(frame->rendering_paused());
}

// The settings keep whether the game runs full screen; a window in the
// background is told so, and a key pressed meanwhile does not bring it back.
TEST_F(FrameTest, FullscreenTogglesAndFocusFollowsTheWindow) {
  ASSERT_EQ(frame->CreateWindowAndDevice({u"", 64, 48, true}), S_OK);
  EXPECT_FALSE(frame->windowed());
  frame->ToggleFullscreen();
  EXPECT_TRUE(frame->windowed());
  frame->ToggleFullscreen();
  EXPECT_FALSE(frame->windowed());
  EXPECT_TRUE(frame->foreground());
  frame->Inject(RawInput::Of(RawInput::Type::kFocusLost));
  frame->Inject(RawInput::KeyDown('Q'));
  frame->PumpEvents();
  EXPECT_FALSE(frame->foreground());
  frame->Inject(RawInput::Of(RawInput::Type::kFocusGained));
  frame->PumpEvents();
  EXPECT_TRUE(frame->foreground());
}

// A window uncovered, resized or restored has lost what it showed: its next
// frame is drawn and presented even when unchanged. Other events leave an
// unchanged frame off the screen.
TEST(WindowEvents, AWindowThatLostItsPictureIsDrawnAgain) {
  auto video = AppFrame::CreateHeadless(8, 8);  // SDL's video, on its dummy driver
  AppFrame windowed;
  EXPECT_EQ(windowed.CreateWindowAndDevice({u"", 64, 48, false}), E_FAIL) << "the dummy driver shows nothing";
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  Graphics& g = windowed.graphics();
  const auto same_frame = [&] {
    g.Clear(0xFF203040u);
    return g.Present();
  };
  const auto after_window_event = [&](Uint8 what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    EXPECT_EQ(SDL_PushEvent(&e), 1);
    windowed.PumpEvents();
    return same_frame();
  };
  EXPECT_TRUE(same_frame());
  EXPECT_FALSE(same_frame());
  EXPECT_TRUE(after_window_event(SDL_WINDOWEVENT_EXPOSED));
  EXPECT_FALSE(same_frame());
  EXPECT_FALSE(after_window_event(SDL_WINDOWEVENT_MOVED));
  EXPECT_TRUE(after_window_event(SDL_WINDOWEVENT_SIZE_CHANGED));
}

// A windowed game's desktop is the video driver's, not the frame's own list.
TEST(WindowEvents, AWindowedFrameTakesTheDesktopFromTheVideoDriver) {
  auto video = AppFrame::CreateHeadless(8, 8);
  AppFrame windowed;
  windowed.SetDisplayModesForTesting({{1152, 864, 75}, {640, 480, 72}});
  SDL_DisplayMode desktop{};
  ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
  ASSERT_NE(desktop.h, desktop.refresh_rate);
  EXPECT_EQ(DesktopMode(windowed), (DisplayMode{desktop.w, desktop.h, desktop.refresh_rate}));
}

TEST_F(FrameTest, DeviceCallbacksRunInOrderAndFailuresAreReported) {
  std::vector<std::string> calls;
  frame->SetDeviceCallbacks(
      [&](Graphics& g) {
        calls.push_back("created " + std::to_string(g.width()));
        return S_OK;
      },
      [&](Graphics&) {
        calls.push_back("reset");
        return S_OK;
      },
      [&] { calls.push_back("lost"); }, [&] { calls.push_back("destroyed"); });
  ASSERT_EQ(frame->CreateWindowAndDevice({u"", 80, 60, false}), S_OK);
  EXPECT_EQ(frame->graphics().height(), 60);
  frame->SimulateDeviceReset();
  frame->DestroyDevice();
  EXPECT_EQ(calls, (std::vector<std::string>{"created 80", "reset", "lost", "reset", "lost", "destroyed"}));

  frame->SetDeviceCallbacks([](Graphics&) { return E_OUTOFMEMORY; }, nullptr, nullptr, nullptr);
  EXPECT_EQ(frame->CreateWindowAndDevice({u"", 80, 60, false}), E_OUTOFMEMORY);
  EXPECT_FALSE(frame->has_device());
}

TEST_F(FrameTest, DisplayModesAreListedLargestFirstWithoutDuplicates) {
  frame->SetDisplayModesForTesting({{800, 600, 60}, {1024, 768, 60}, {800, 600, 60}, {1280, 1024, 75}});
  EXPECT_EQ(frame->DisplayModes(),
            (std::vector<DisplayMode>{{1280, 1024, 75}, {1024, 768, 60}, {800, 600, 60}}));
  // Headless, the desktop is the largest of the frame's own modes, never the video driver's.
  EXPECT_EQ(DesktopMode(*frame), (DisplayMode{1280, 1024, 75}));
}

TEST_F(FrameTest, KeyStateQueries) {
  frame->Inject(RawInput::MouseDown(RawInput::kLeft, 1, 1));
  frame->Inject(RawInput::KeyDown(VK_ESCAPE));
  // The asynchronous query sees input that has not been handed on yet.
  EXPECT_LT(GetAsyncKeyState(VK_LBUTTON), 0);
  EXPECT_LT(GetAsyncKeyState(VK_ESCAPE), 0);
  EXPECT_GE(GetKeyState(VK_ESCAPE), 0);
  frame->PumpEvents();
  EXPECT_LT(GetKeyState(VK_ESCAPE), 0);
  EXPECT_EQ(GetMousePosition().x, 1);
  SetMouseCapture();
  EXPECT_TRUE(HasMouseCapture());
  ReleaseMouseCapture();
  EXPECT_FALSE(HasMouseCapture());
  EXPECT_TRUE(SetClipboardText(u"Łódź €"));
  EXPECT_EQ(GetClipboardText(), u"Łódź €");
}

// Key codes run to 255: one past is no key, asked of the devices as of the scripted input.
TEST(KeyQueries, PastTheLastKeyCodeNoKeyIsDown) {
  for (const bool headless : {true, false}) {
    std::unique_ptr<AppFrame> frame = headless ? AppFrame::CreateHeadless(8, 8) : std::make_unique<AppFrame>();
    EXPECT_EQ(GetAsyncKeyState(255), 0) << headless;
    EXPECT_EQ(GetAsyncKeyState(256), 0) << headless;
    EXPECT_EQ(GetKeyState(256), 0) << headless;
  }
}

// Dialogs may go after the frame: without one no key is down, the mouse is
// never captured and no message box is shown.
TEST(KeyQueries, WithoutAFrameNothingIsDownOrCaptured) {
  ASSERT_EQ(CurrentFrame(), nullptr);
  EXPECT_EQ(GetKeyState(VK_ESCAPE), 0);
  EXPECT_EQ(GetAsyncKeyState(VK_LBUTTON), 0);
  SetMouseCapture();
  EXPECT_FALSE(HasMouseCapture());
  ReleaseMouseCapture();
  EXPECT_FALSE(HasMouseCapture());
  EXPECT_FALSE(ShowMessageBox(u"Tidereach", u"No frame"));
  auto headless = AppFrame::CreateHeadless(8, 8);
  EXPECT_FALSE(ShowMessageBox(u"Tidereach", u"No window"));
}

TEST_F(FrameTest, ScreenshotIsAPngOfTheBackBuffer) {
  Graphics& g = frame->graphics();
  // The game clears to 0: a picture of the screen shows that as black, not as a hole.
  g.Clear(0x00102030);
  g.FillRect(RectF{0, 0, 10, 10}, 0xFFFF0000);
  const std::filesystem::path file = "screenshots/platform_frame_test.png";
  ASSERT_TRUE(g.SaveScreenshot(file));
  auto shot = Texture::FromPngFile(file);
  ASSERT_NE(shot, nullptr);
  EXPECT_EQ(shot->width(), 64);
  EXPECT_EQ(shot->Pixel(5, 5), 0xFFFF0000u);
  EXPECT_EQ(shot->Pixel(30, 30), 0xFF102030u);
}

}  // namespace
}  // namespace tr
