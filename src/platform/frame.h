// The application frame: the window and its render device, the main loop, the
// frame clock and the callbacks through which the game sees devices, frames,
// keys, mouse and window messages. Window-system events become the window
// messages of platform/codes.h. A headless frame does the same on SDL's dummy
// video driver with a software renderer into an off-screen ARGB surface, a
// scripted event queue and an injectable clock, for tests and tools.
// Main thread only; one frame at a time.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/codes.h"
#include "platform/frame_clock.h"
#include "platform/graphics.h"
#include "platform/input_event.h"
#include "platform/message_translator.h"

namespace tr {

struct FrameConfig {
  std::u16string caption;
  int width = 1024;
  int height = 768;
  bool fullscreen = false;
};

struct DisplayMode {
  int width = 0;
  int height = 0;
  int refresh_rate = 0;
  bool operator==(const DisplayMode&) const = default;
};

class AppFrame {
 public:
  using DeviceCreatedFn = std::function<HResult(Graphics&)>;
  using DeviceResetFn = std::function<HResult(Graphics&)>;
  using DeviceLostFn = std::function<void()>;
  using DeviceDestroyedFn = std::function<void()>;
  using FrameMoveFn = std::function<void(Graphics&, double time, float elapsed)>;
  using FrameRenderFn = std::function<void(Graphics&, double time, float elapsed)>;
  // Virtual key (or character), key down, Alt down.
  using KeyboardFn = std::function<void(std::uint32_t key, bool down, bool alt)>;
  // Left, right, middle, side 1, side 2 down; wheel delta; x, y in client coordinates.
  using MouseFn = std::function<void(bool left, bool right, bool middle, bool side1, bool side2, int wheel,
                                     int x, int y)>;
  // Sets *no_further_processing to stop the frame's own handling of the message.
  using MessageFn = std::function<std::int64_t(std::uint32_t msg, WParam wparam, LParam lparam,
                                               bool* no_further_processing)>;

  AppFrame();
  ~AppFrame();
  AppFrame(const AppFrame&) = delete;
  AppFrame& operator=(const AppFrame&) = delete;

  // A headless frame with a back buffer of the given size; the clock is the
  // frame's own ManualClock unless one is given (it must outlive the frame).
  static std::unique_ptr<AppFrame> CreateHeadless(int width, int height, Clock* clock = nullptr);

  // Callbacks may be set, replaced or cleared (an empty function) at any time,
  // also from inside a callback.
  void SetDeviceCallbacks(DeviceCreatedFn created, DeviceResetFn reset, DeviceLostFn lost,
                          DeviceDestroyedFn destroyed);
  void SetFrameMoveCallback(FrameMoveFn fn) { frame_move_ = std::move(fn); }
  void SetFrameRenderCallback(FrameRenderFn fn) { frame_render_ = std::move(fn); }
  void SetKeyboardCallback(KeyboardFn fn) { keyboard_ = std::move(fn); }
  void SetMouseCallback(MouseFn fn, bool include_mouse_move) {
    mouse_ = std::move(fn);
    mouse_move_ = include_mouse_move;
  }
  void SetMessageCallback(MessageFn fn) { message_ = std::move(fn); }
  // Runs when the window is being closed, before the loop ends and the device goes.
  void SetCloseHook(std::function<void()> fn) { close_hook_ = std::move(fn); }
  // Told whether time is paused whenever the pause counters change.
  void SetPauseCallback(std::function<void(bool time_paused)> fn) { pause_changed_ = std::move(fn); }

  // Opens the window and its device, then runs the created and reset callbacks.
  // Returns the first failure (the window is then closed again).
  HResult CreateWindowAndDevice(const FrameConfig& config);
  void SetCaption(std::u16string_view caption);
  bool windowed() const { return !fullscreen_; }
  // Whether the window has the keyboard focus, i.e. stands in front of the
  // others; a headless frame is in front until told otherwise.
  bool foreground() const { return foreground_; }
  // Switches between windowed and full screen, keeping the back-buffer size.
  void ToggleFullscreen();
  bool headless() const { return headless_; }
  // The SDL_Window, for the platform layer's own use; null when headless or not yet created.
  void* window_handle() const { return window_; }

  // The minimum time of one pass of the loop in milliseconds (0 for none),
  // asked before each wait so that a changed preference applies at once.
  void SetFrameTimeLimit(std::function<int()> milliseconds) { frame_time_limit_ = std::move(milliseconds); }
  // Runs until the window closes; then releases the device and returns the
  // exit code. A pass done before its minimum frame time sleeps the rest of it.
  int Run();
  // One pass of the loop: events, frame move, render and present (unless rendering is paused).
  void Tick();
  // Handles the waiting window events and the scripted ones. Events injected
  // while it runs wait for the next call.
  void PumpEvents();
  // Renders and presents one frame now, outside the loop (a loading screen).
  void RenderAndPresent();
  // Closes the window as its close box does (the message goes through the callbacks first).
  void RequestClose();
  // Ends the loop with the exit code, without a close message.
  void Shutdown(int exit_code);
  bool closing() const { return closing_; }
  int exit_code() const { return exit_code_; }

  // Loses and resets the device as a changed display would.
  void SimulateDeviceReset();
  // Releases the device (lost and destroyed callbacks); Run does this at its end.
  void DestroyDevice();
  bool has_device() const { return device_ready_; }

  // The frame clock: time in seconds, elapsed seconds of the current frame.
  double time() const { return time_; }
  float elapsed_time() const { return elapsed_; }
  Clock& clock() { return *clock_; }
  // The frame's own clock when the frame was made headless without one, else null.
  ManualClock* manual_clock() { return own_manual_clock_.get(); }

  // Pause counters: each call adds (true) or removes (false) one pause; time stands still while paused.
  void Pause(bool pause_time, bool pause_rendering);
  bool time_paused() const { return time_pauses_ > 0; }
  bool rendering_paused() const { return render_pauses_ > 0; }

  Graphics& graphics() { return *graphics_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Display modes of the default display, largest first, without duplicates.
  std::vector<DisplayMode> DisplayModes() const;
  void SetDisplayModesForTesting(std::vector<DisplayMode> modes) { test_modes_ = std::move(modes); }

  // Queues input as if the window system had reported it; handled by the next PumpEvents.
  void Inject(const RawInput& input) { scripted_.push_back(input); }
  const std::deque<RawInput>& scripted_input() const { return scripted_; }

  MessageTranslator& input() { return *input_; }

  // The messages the frame hands on, in the order given: keyboard and mouse callbacks, then the message callback.
  void DispatchMessage(std::uint32_t msg, WParam wparam, LParam lparam);

 private:
  void HandleRaw(const RawInput& input);
  void WaitForFrameTime(double pass_start);
  void AdvanceClock();
  HResult MakeDevice();
  void CloseWindow();

  bool headless_ = false;
  // The last pass presented nothing: its frame was the one on screen.
  bool unchanged_frame_ = false;
  bool fullscreen_ = false;
  bool device_ready_ = false;
  bool closing_ = false;
  bool minimized_ = false;
  bool foreground_ = true;
  int exit_code_ = 0;
  int width_ = 0;
  int height_ = 0;
  void* window_ = nullptr;
  bool video_started_ = false;

  std::unique_ptr<ManualClock> own_manual_clock_;
  std::unique_ptr<SteadyClock> own_steady_clock_;
  Clock* clock_ = nullptr;
  double last_clock_ = 0;
  double time_ = 0;
  float elapsed_ = 0;
  int time_pauses_ = 0;
  int render_pauses_ = 0;

  std::unique_ptr<Graphics> graphics_;
  std::unique_ptr<MessageTranslator> input_;
  std::deque<RawInput> scripted_;
  std::vector<DisplayMode> test_modes_;

  DeviceCreatedFn device_created_;
  DeviceResetFn device_reset_;
  DeviceLostFn device_lost_;
  DeviceDestroyedFn device_destroyed_;
  FrameMoveFn frame_move_;
  FrameRenderFn frame_render_;
  KeyboardFn keyboard_;
  MouseFn mouse_;
  bool mouse_move_ = false;
  MessageFn message_;
  std::function<int()> frame_time_limit_;
  std::function<void()> close_hook_;
  std::function<void(bool)> pause_changed_;
};

// The frame that exists, or null.
AppFrame* CurrentFrame();

}  // namespace tr
