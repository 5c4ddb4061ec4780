#include "platform/sdl_input.h"

#include <SDL.h>

#include "platform/codes.h"

namespace tr {

std::uint32_t VirtualKeyFromSdlKey(std::int32_t key) {
  if (key >= 'a' && key <= 'z') return static_cast<std::uint32_t>(key - 'a' + 'A');
  if (key >= '0' && key <= '9') return static_cast<std::uint32_t>(key);
  if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + static_cast<std::uint32_t>(key - SDLK_F1);
  if (key >= SDLK_F13 && key <= SDLK_F24) return VK_F1 + 12 + static_cast<std::uint32_t>(key - SDLK_F13);
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return VK_NUMPAD0 + 1 + static_cast<std::uint32_t>(key - SDLK_KP_1);
  switch (key) {
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN: return VK_RETURN;
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_PAUSE: return VK_PAUSE;
    case SDLK_CAPSLOCK: return VK_CAPITAL;
    case SDLK_NUMLOCKCLEAR: return VK_NUMLOCK;
    case SDLK_SCROLLLOCK: return VK_SCROLL;
    case SDLK_PRINTSCREEN: return VK_SNAPSHOT;
    case SDLK_LSHIFT: return VK_LSHIFT;
    case SDLK_RSHIFT: return VK_RSHIFT;
    case SDLK_LCTRL: return VK_LCONTROL;
    case SDLK_RCTRL: return VK_RCONTROL;
    case SDLK_LALT: return VK_LMENU;
    case SDLK_RALT: return VK_RMENU;
    case SDLK_LGUI: return VK_LWIN;
    case SDLK_RGUI: return VK_RWIN;
    case SDLK_APPLICATION: return VK_APPS;
    case SDLK_KP_0: return VK_NUMPAD0;
    case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    case SDLK_KP_PERIOD: return VK_DECIMAL;
    case SDLK_KP_DIVIDE: return VK_DIVIDE;
    case SDLK_SEMICOLON: return VK_OEM_1;
    // The key that gives '+': shifted '=' on some layouts, a key of its own on others.
    case SDLK_EQUALS: return VK_OEM_PLUS;
    case SDLK_PLUS: return VK_OEM_PLUS;
    case SDLK_COMMA: return VK_OEM_COMMA;
    case SDLK_MINUS: return VK_OEM_MINUS;
    case SDLK_PERIOD: return VK_OEM_PERIOD;
    case SDLK_SLASH: return VK_OEM_2;
    case SDLK_BACKQUOTE: return VK_OEM_3;
    case SDLK_LEFTBRACKET: return VK_OEM_4;
    case SDLK_BACKSLASH: return VK_OEM_5;
    case SDLK_RIGHTBRACKET: return VK_OEM_6;
    case SDLK_QUOTE: return VK_OEM_7;
    default: return 0;
  }
}

namespace {

int ButtonOf(Uint8 sdl_button) {
  switch (sdl_button) {
    case SDL_BUTTON_LEFT: return RawInput::kLeft;
    case SDL_BUTTON_RIGHT: return RawInput::kRight;
    case SDL_BUTTON_MIDDLE: return RawInput::kMiddle;
    case SDL_BUTTON_X1: return RawInput::kSide1;
    case SDL_BUTTON_X2: return RawInput::kSide2;
    default: return 0;
  }
}

}  // namespace

bool RawInputFromSdlEvent(const void* sdl_event, RawInput& out) {
  const SDL_Event& e = *static_cast<const SDL_Event*>(sdl_event);
  out = RawInput{};
  switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      out.type = e.type == SDL_KEYDOWN ? RawInput::Type::kKeyDown : RawInput::Type::kKeyUp;
      out.key = VirtualKeyFromSdlKey(e.key.keysym.sym);
      if (out.key == 0) return false;
      out.scancode = e.key.keysym.scancode;
      out.repeat = e.key.repeat != 0;
      out.shift = (e.key.keysym.mod & KMOD_SHIFT) != 0;
      out.ctrl = (e.key.keysym.mod & KMOD_CTRL) != 0;
      out.alt = (e.key.keysym.mod & KMOD_ALT) != 0;
      return true;
    }
    case SDL_TEXTINPUT:
      out.type = RawInput::Type::kText;
      out.text = e.text.text;
      return true;
    case SDL_TEXTEDITING:
      if (e.edit.text[0] == '\0') {
        out.type = RawInput::Type::kCompositionEnd;
      } else {
        out.type = RawInput::Type::kComposition;
        out.text = e.edit.text;
        out.cursor = e.edit.start;
      }
      return true;
    case SDL_MOUSEMOTION:
      out.type = RawInput::Type::kMouseMove;
      out.x = e.motion.x;
      out.y = e.motion.y;
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      out.type = e.type == SDL_MOUSEBUTTONDOWN ? RawInput::Type::kMouseDown : RawInput::Type::kMouseUp;
      out.button = ButtonOf(e.button.button);
      out.x = e.button.x;
      out.y = e.button.y;
      out.clicks = e.button.clicks;
      {
        const SDL_Keymod mod = SDL_GetModState();
        out.shift = (mod & KMOD_SHIFT) != 0;
        out.ctrl = (mod & KMOD_CTRL) != 0;
      }
      return out.button != 0;
    case SDL_MOUSEWHEEL:
      out.type = RawInput::Type::kWheel;
      out.wheel = e.wheel.preciseY * (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1.0f : 1.0f);
      return true;
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED: out.type = RawInput::Type::kFocusGained; return true;
        case SDL_WINDOWEVENT_FOCUS_LOST: out.type = RawInput::Type::kFocusLost; return true;
        case SDL_WINDOWEVENT_MINIMIZED: out.type = RawInput::Type::kMinimized; return true;
        case SDL_WINDOWEVENT_RESTORED: out.type = RawInput::Type::kRestored; return true;
        case SDL_WINDOWEVENT_CLOSE: out.type = RawInput::Type::kClose; return true;
        default: return false;
      }
    case SDL_QUIT:
      out.type = RawInput::Type::kClose;
      return true;
    default:
      return false;
  }
}

}  // namespace tr
