#include "platform/input.h"

#include <SDL.h>

#include <array>
#include <vector>

#include "foundation/text.h"
#include "platform/frame.h"
#include "platform/message_translator.h"

namespace tr {
namespace {

// Clipboard of headless frames, which must not touch the desktop's.
std::u16string& HeadlessClipboard() {
  static std::u16string text;
  return text;
}

// Scan codes that produce each virtual key, for asking the window system directly.
const std::array<std::vector<SDL_Scancode>, 256>& ScancodesByVirtualKey() {
  static const auto table = [] {
    std::array<std::vector<SDL_Scancode>, 256> t;
    for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc) {
      const std::uint32_t vk = VirtualKeyFromSdlKey(SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(sc)));
      if (vk > 0 && vk < 256) t[vk].push_back(static_cast<SDL_Scancode>(sc));
    }
    auto add = [&t](std::uint32_t generic, std::uint32_t left, std::uint32_t right) {
      t[generic].insert(t[generic].end(), t[left].begin(), t[left].end());
      t[generic].insert(t[generic].end(), t[right].begin(), t[right].end());
    };
    add(VK_SHIFT, VK_LSHIFT, VK_RSHIFT);
    add(VK_CONTROL, VK_LCONTROL, VK_RCONTROL);
    add(VK_MENU, VK_LMENU, VK_RMENU);
    return t;
  }();
  return table;
}

}  // namespace

std::int16_t GetKeyState(std::uint32_t vk) {
  AppFrame* frame = CurrentFrame();
  return frame ? frame->input().KeyState(vk) : 0;
}

std::int16_t GetAsyncKeyState(std::uint32_t vk) {
  AppFrame* frame = CurrentFrame();
  if (!frame || vk >= 256) return 0;
  if (frame->headless()) {
    // The state the scripted events would leave, without handing them on yet.
    MessageTranslator ahead = frame->input();
    std::vector<WindowMessage> ignored;
    for (const RawInput& raw : frame->scripted_input()) ahead.Translate(raw, ignored);
    return ahead.KeyState(vk) & static_cast<std::int16_t>(0x8000);
  }
  // Like the asynchronous query it stands for, this reads the device state and leaves the events queued.
  SDL_PumpEvents();
  bool down = false;
  const Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
  switch (vk) {
    case VK_LBUTTON: down = buttons & SDL_BUTTON(SDL_BUTTON_LEFT); break;
    case VK_RBUTTON: down = buttons & SDL_BUTTON(SDL_BUTTON_RIGHT); break;
    case VK_MBUTTON: down = buttons & SDL_BUTTON(SDL_BUTTON_MIDDLE); break;
    case VK_XBUTTON1: down = buttons & SDL_BUTTON(SDL_BUTTON_X1); break;
    case VK_XBUTTON2: down = buttons & SDL_BUTTON(SDL_BUTTON_X2); break;
    default: {
      const Uint8* keys = SDL_GetKeyboardState(nullptr);
      for (SDL_Scancode sc : ScancodesByVirtualKey()[vk]) down = down || keys[sc];
    }
  }
  return down ? static_cast<std::int16_t>(0x8000) : 0;
}

MousePoint GetMousePosition() {
  AppFrame* frame = CurrentFrame();
  if (!frame) return {};
  return {frame->input().mouse_x(), frame->input().mouse_y()};
}

void SetMouseCapture() {
  AppFrame* frame = CurrentFrame();
  if (!frame) return;
  frame->input().captured = true;
  if (!frame->headless()) SDL_CaptureMouse(SDL_TRUE);
}

void ReleaseMouseCapture() {
  AppFrame* frame = CurrentFrame();
  if (!frame || !frame->input().captured) return;
  frame->input().captured = false;
  if (!frame->headless()) SDL_CaptureMouse(SDL_FALSE);
}

bool HasMouseCapture() {
  AppFrame* frame = CurrentFrame();
  return frame && frame->input().captured;
}

std::u16string GetClipboardText() {
  AppFrame* frame = CurrentFrame();
  if (!frame || frame->headless()) return HeadlessClipboard();
  char* text = SDL_GetClipboardText();
  if (!text) return {};
  std::u16string out = Utf8ToUtf16(text);
  SDL_free(text);
  return out;
}

bool SetClipboardText(std::u16string_view text) {
  AppFrame* frame = CurrentFrame();
  if (!frame || frame->headless()) {
    HeadlessClipboard() = text;
    return true;
  }
  return SDL_SetClipboardText(Utf16ToUtf8(text).c_str()) == 0;
}

std::u16string GetCompositionText() {
  AppFrame* frame = CurrentFrame();
  return frame ? frame->input().composition : std::u16string();
}

int GetCompositionCursor() {
  AppFrame* frame = CurrentFrame();
  return frame ? frame->input().composition_cursor : 0;
}

void ShowSystemCursor(bool show) {
  AppFrame* frame = CurrentFrame();
  if (frame && !frame->headless()) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

std::uint32_t GetCaretBlinkTimeMs() { return 530; }

int GetWheelScrollLines() { return 3; }

}  // namespace tr
