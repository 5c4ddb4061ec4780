#include "platform/frame.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "foundation/console_log.h"
#include "foundation/text.h"
#include "platform/message_translator.h"
#include "platform/render_backend.h"
#include "platform/sdl_input.h"

namespace tr {
namespace {

AppFrame* g_current = nullptr;

bool IsKeyMessage(std::uint32_t msg) {
  return msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP;
}

// Whether the window lost what it showed, so an unchanged frame must be drawn again.
bool ScreenLost(const SDL_Event& e) {
  if (e.type == SDL_RENDER_TARGETS_RESET || e.type == SDL_RENDER_DEVICE_RESET) return true;
  if (e.type != SDL_WINDOWEVENT) return false;
  switch (e.window.event) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_RESIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_RESTORED: return true;
    default: return false;
  }
}

// A frame that presents nothing does not wait for the display; without a
// frame limit it still waits about one display refresh instead of spinning.
constexpr double kUnchangedFrameSeconds = 1.0 / 60.0;

}  // namespace

AppFrame* CurrentFrame() { return g_current; }

std::uint32_t TimerMs() {
  static SteadyClock process_clock;
  const double seconds = g_current ? g_current->clock().NowSeconds() : process_clock.NowSeconds();
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(std::llround(seconds * 1000.0)));
}

AppFrame::AppFrame() : input_(std::make_unique<MessageTranslator>()) {
  own_steady_clock_ = std::make_unique<SteadyClock>();
  clock_ = own_steady_clock_.get();
  graphics_ = std::make_unique<Graphics>(CreateNullBackend(), 0, 0);
  g_current = this;
}

AppFrame::~AppFrame() {
  DestroyDevice();
  graphics_.reset();
  if (window_) SDL_DestroyWindow(static_cast<SDL_Window*>(window_));
  if (video_started_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  if (g_current == this) g_current = nullptr;
}

std::unique_ptr<AppFrame> AppFrame::CreateHeadless(int width, int height, Clock* clock) {
  auto frame = std::make_unique<AppFrame>();
  frame->headless_ = true;
  if (clock) {
    frame->clock_ = clock;
  } else {
    frame->own_manual_clock_ = std::make_unique<ManualClock>();
    frame->clock_ = frame->own_manual_clock_.get();
  }
  frame->last_clock_ = frame->clock_->NowSeconds();
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
  frame->video_started_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  frame->width_ = width;
  frame->height_ = height;
  frame->graphics_ = std::make_unique<Graphics>(CreateSoftwareBackend(width, height), width, height);
  return frame;
}

void AppFrame::SetDeviceCallbacks(DeviceCreatedFn created, DeviceResetFn reset, DeviceLostFn lost,
                                  DeviceDestroyedFn destroyed) {
  device_created_ = std::move(created);
  device_reset_ = std::move(reset);
  device_lost_ = std::move(lost);
  device_destroyed_ = std::move(destroyed);
}

HResult AppFrame::CreateWindowAndDevice(const FrameConfig& config) {
  DestroyDevice();
  width_ = config.width;
  height_ = config.height;
  fullscreen_ = config.fullscreen;
  if (!headless_) {
    if (!video_started_) {
      video_started_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
      if (!video_started_) {
        LogLine(u"Video initialisation failed: " + Utf8ToUtf16(SDL_GetError()));
        return E_FAIL;
      }
    }
    // Without a display SDL falls back to drivers that show nothing; a window
    // nobody can see or close would leave the game running for ever.
    const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    if (driver == "offscreen" || driver == "dummy") {
      LogLine(u"No display is available (video driver " + Utf8ToUtf16(driver) + u"); the window cannot be opened");
      return E_FAIL;
    }
    // Under X the software renderer's window surface reaches the screen through
    // shared memory; SDL's default sends it through a GL texture, one more
    // whole-window draw a frame, made on the CPU where GL is a software
    // rasteriser. The player's SDL_FRAMEBUFFER_ACCELERATION still decides.
    if (driver == "x11") SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
    if (!window_) {
      const Uint32 flags = SDL_WINDOW_SHOWN | (fullscreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
      window_ = SDL_CreateWindow(Utf16ToUtf8(config.caption).c_str(), SDL_WINDOWPOS_UNDEFINED,
                                 SDL_WINDOWPOS_UNDEFINED, width_, height_, flags);
      if (!window_) {
        LogLine(u"Window creation failed: " + Utf8ToUtf16(SDL_GetError()));
        return E_FAIL;
      }
      SDL_StartTextInput();
      // A window opened behind another one learns of its focus only when it gets it.
      foreground_ = (SDL_GetWindowFlags(static_cast<SDL_Window*>(window_)) & SDL_WINDOW_INPUT_FOCUS) != 0;
    }
  }
  return MakeDevice();
}

HResult AppFrame::MakeDevice() {
  auto backend = headless_ ? CreateSoftwareBackend(width_, height_) : CreateWindowBackend(window_, width_, height_);
  if (!backend) {
    LogLine(u"Render device creation failed: " + Utf8ToUtf16(SDL_GetError()));
    return D3DERR_INVALIDCALL;
  }
  if (graphics_->width() == width_ && graphics_->height() == height_) {
    graphics_->ReplaceBackend(std::move(backend));
  } else {
    graphics_ = std::make_unique<Graphics>(std::move(backend), width_, height_);
  }
  if (auto created = device_created_) {
    const HResult hr = created(*graphics_);
    if (Failed(hr)) return hr;
  }
  device_ready_ = true;
  if (auto reset = device_reset_) {
    const HResult hr = reset(*graphics_);
    if (Failed(hr)) return hr;
  }
  return S_OK;
}

void AppFrame::DestroyDevice() {
  if (!device_ready_) return;
  device_ready_ = false;
  if (auto lost = device_lost_) lost();
  if (auto destroyed = device_destroyed_) destroyed();
  graphics_->ReplaceBackend(CreateNullBackend());
}

void AppFrame::SimulateDeviceReset() {
  if (!device_ready_) return;
  if (auto lost = device_lost_) lost();
  auto backend = headless_ ? CreateSoftwareBackend(width_, height_) : CreateWindowBackend(window_, width_, height_);
  graphics_->ReplaceBackend(std::move(backend));
  if (auto reset = device_reset_) reset(*graphics_);
}

void AppFrame::SetCaption(std::u16string_view caption) {
  if (window_) SDL_SetWindowTitle(static_cast<SDL_Window*>(window_), Utf16ToUtf8(caption).c_str());
}

void AppFrame::ToggleFullscreen() {
  fullscreen_ = !fullscreen_;
  if (window_) {
    SDL_SetWindowFullscreen(static_cast<SDL_Window*>(window_), fullscreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  }
}

int AppFrame::Run() {
  while (!closing_) {
    const double pass_start = clock_->NowSeconds();
    Tick();
    if (closing_) break;
    if (rendering_paused() && !headless_) {
      // A minimised window draws nothing; wait for events instead of spinning.
      SDL_WaitEventTimeout(nullptr, 50);
    } else {
      WaitForFrameTime(pass_start);
    }
  }
  DestroyDevice();
  return exit_code_;
}

void AppFrame::WaitForFrameTime(double pass_start) {
  const int limit_ms = frame_time_limit_ ? frame_time_limit_() : 0;
  double frame_seconds = limit_ms / 1000.0;
  if (limit_ms <= 0) {
    if (!unchanged_frame_ || headless_) return;
    frame_seconds = kUnchangedFrameSeconds;
  }
  const double left = pass_start + frame_seconds - clock_->NowSeconds();
  if (left > 0) clock_->SleepFor(left);
}

void AppFrame::Tick() {
  unchanged_frame_ = false;
  PumpEvents();
  if (closing_) return;
  AdvanceClock();
  if (rendering_paused() || !device_ready_) return;
  if (auto move = frame_move_) move(*graphics_, time_, elapsed_);
  if (closing_) return;
  RenderAndPresent();
}

void AppFrame::RenderAndPresent() {
  if (auto render = frame_render_) render(*graphics_, time_, elapsed_);
  unchanged_frame_ = !graphics_->Present();
}

void AppFrame::AdvanceClock() {
  const double now = clock_->NowSeconds();
  const double delta = std::max(0.0, now - last_clock_);
  last_clock_ = now;
  if (time_paused()) {
    elapsed_ = 0;
  } else {
    time_ += delta;
    elapsed_ = static_cast<float>(delta);
  }
}

void AppFrame::Pause(bool pause_time, bool pause_rendering) {
  time_pauses_ = std::max(0, time_pauses_ + (pause_time ? 1 : -1));
  render_pauses_ = std::max(0, render_pauses_ + (pause_rendering ? 1 : -1));
  // Time that passes while paused is not frame time.
  last_clock_ = clock_->NowSeconds();
  if (auto changed = pause_changed_) changed(time_paused());
}

void AppFrame::PumpEvents() {
  if (!headless_ && video_started_) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
      if (ScreenLost(e)) graphics_->RedrawNextFrame();
      RawInput raw;
      if (RawInputFromSdlEvent(&e, raw)) HandleRaw(raw);
    }
  }
  // Events a handler injects are handled at the next pump, not inside this one.
  std::deque<RawInput> pending;
  pending.swap(scripted_);
  for (const RawInput& raw : pending) HandleRaw(raw);
}

void AppFrame::HandleRaw(const RawInput& raw) {
  std::vector<WindowMessage> messages;
  input_->Translate(raw, messages);
  for (const WindowMessage& m : messages) DispatchMessage(m.msg, m.wparam, m.lparam);
}

void AppFrame::DispatchMessage(std::uint32_t msg, WParam wparam, LParam lparam) {
  // Known before any callback, which may stop the message.
  if (msg == WM_ACTIVATEAPP) foreground_ = wparam != 0;
  if (IsKeyMessage(msg)) {
    if (auto keyboard = keyboard_) {
      keyboard(static_cast<std::uint32_t>(wparam), msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN,
               (lparam & kKeyAltDownBit) != 0);
    }
  } else if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && (msg != WM_MOUSEMOVE || mouse_move_)) {
    if (auto mouse = mouse_) {
      const std::uint32_t mk = LoWord(wparam);
      mouse((mk & MK_LBUTTON) != 0, (mk & MK_RBUTTON) != 0, (mk & MK_MBUTTON) != 0, (mk & MK_XBUTTON1) != 0,
            (mk & MK_XBUTTON2) != 0, msg == WM_MOUSEWHEEL ? WheelDeltaFromWParam(wparam) : 0, XFromLParam(lparam),
            YFromLParam(lparam));
    }
  }
  if (auto message = message_) {
    bool no_further = false;
    message(msg, wparam, lparam, &no_further);
    if (no_further) return;
  }
  switch (msg) {
    case WM_CLOSE: CloseWindow(); break;
    case WM_SIZE:
      if (wparam == 1 && !minimized_) {
        minimized_ = true;
        Pause(true, true);
      } else if (wparam == 0 && minimized_) {
        minimized_ = false;
        Pause(false, false);
      }
      break;
    case WM_SYSKEYDOWN:
      if (wparam == VK_RETURN && (lparam & kKeyPreviousStateBit) == 0) ToggleFullscreen();
      break;
    default: break;
  }
}

void AppFrame::RequestClose() { Inject(RawInput::Of(RawInput::Type::kClose)); }

void AppFrame::CloseWindow() {
  if (closing_) return;
  if (auto hook = close_hook_) hook();
  closing_ = true;
}

void AppFrame::Shutdown(int exit_code) {
  exit_code_ = exit_code;
  closing_ = true;
}

std::vector<DisplayMode> AppFrame::DisplayModes() const {
  std::vector<DisplayMode> modes;
  if (!test_modes_.empty() || headless_) {
    modes = test_modes_.empty() ? std::vector<DisplayMode>{{width_, height_, 60}} : test_modes_;
  } else {
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
      SDL_DisplayMode m{};
      if (SDL_GetDisplayMode(0, i, &m) == 0) modes.push_back({m.w, m.h, m.refresh_rate});
    }
  }
  std::sort(modes.begin(), modes.end(), [](const DisplayMode& a, const DisplayMode& b) {
    if (a.width != b.width) return a.width > b.width;
    if (a.height != b.height) return a.height > b.height;
    return a.refresh_rate > b.refresh_rate;
  });
  modes.erase(std::unique(modes.begin(), modes.end()), modes.end());
  return modes;
}

}  // namespace tr
