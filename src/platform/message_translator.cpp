#include "platform/message_translator.h"

#include "foundation/text.h"

namespace tr {
namespace {

// Scan code bits 16-23 of a key message; the window system's own codes are not kept, so a stable stand-in.
LParam KeyLParam(std::uint32_t scancode, bool alt, bool previous, bool up) {
  LParam lp = 1 | (static_cast<LParam>(scancode & 0xFF) << 16);
  if (alt) lp |= kKeyAltDownBit;
  if (previous) lp |= kKeyPreviousStateBit;
  if (up) lp |= kKeyTransitionBit;
  return lp;
}

std::uint32_t ButtonVirtualKey(int button) {
  switch (button) {
    case RawInput::kLeft: return VK_LBUTTON;
    case RawInput::kRight: return VK_RBUTTON;
    case RawInput::kMiddle: return VK_MBUTTON;
    case RawInput::kSide1: return VK_XBUTTON1;
    case RawInput::kSide2: return VK_XBUTTON2;
    default: return 0;
  }
}

// The generic key that left and right variants also press.
std::uint32_t GenericKey(std::uint32_t vk) {
  switch (vk) {
    case VK_LSHIFT: case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL: case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU: case VK_RMENU: return VK_MENU;
    default: return vk;
  }
}

}  // namespace

std::int16_t MessageTranslator::KeyState(std::uint32_t vk) const {
  if (vk >= 256) return 0;
  std::uint16_t state = 0;
  if (down_[vk]) state |= 0x8000;
  if (toggled_[vk]) state |= 0x0001;
  return static_cast<std::int16_t>(state);
}

void MessageTranslator::SetKey(std::uint32_t vk, bool down) {
  if (vk == 0 || vk >= 256) return;
  if (down && !down_[vk]) toggled_[vk] = !toggled_[vk];
  down_[vk] = down;
}

void MessageTranslator::ReleaseAll() {
  down_.fill(false);
  captured = false;
}

std::uint32_t MessageTranslator::MouseKeyFlags() const {
  std::uint32_t mk = 0;
  if (down_[VK_LBUTTON]) mk |= MK_LBUTTON;
  if (down_[VK_RBUTTON]) mk |= MK_RBUTTON;
  if (down_[VK_MBUTTON]) mk |= MK_MBUTTON;
  if (down_[VK_XBUTTON1]) mk |= MK_XBUTTON1;
  if (down_[VK_XBUTTON2]) mk |= MK_XBUTTON2;
  if (down_[VK_SHIFT]) mk |= MK_SHIFT;
  if (down_[VK_CONTROL]) mk |= MK_CONTROL;
  return mk;
}

void MessageTranslator::KeyMessage(const RawInput& input, bool down, std::vector<WindowMessage>& out) {
  const std::uint32_t generic = GenericKey(input.key);
  if (generic != input.key) SetKey(input.key, down);
  SetKey(generic, down);
  // Modifiers reported with the key count as held for it even when their own key events were not seen.
  const bool alt = down_[VK_MENU] || input.alt;
  // Alt turns keys into system keys; F10 is always one.
  const bool system = alt || generic == VK_F10;
  const std::uint32_t msg = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
  out.push_back({msg, generic, KeyLParam(input.scancode, alt, down ? input.repeat : true, !down)});
  if (!down || system) return;
  // The control characters typing produces, which text input does not report.
  char16_t ch = 0;
  const bool ctrl = down_[VK_CONTROL] || input.ctrl;
  if (generic == VK_BACK) ch = 8;
  else if (generic == VK_TAB && !ctrl) ch = 9;
  else if (generic == VK_RETURN) ch = ctrl ? 10 : 13;
  else if (generic == VK_ESCAPE) ch = 27;
  else if (ctrl && generic >= 'A' && generic <= 'Z') ch = static_cast<char16_t>(generic - 'A' + 1);
  if (ch) out.push_back({WM_CHAR, ch, KeyLParam(input.scancode, false, input.repeat, false)});
}

void MessageTranslator::MouseButton(const RawInput& input, bool down, std::vector<WindowMessage>& out) {
  mouse_x_ = input.x;
  mouse_y_ = input.y;
  SetKey(ButtonVirtualKey(input.button), down);
  const bool dbl = down && input.clicks >= 2 && input.clicks % 2 == 0;
  std::uint32_t msg = 0;
  WParam high = 0;
  switch (input.button) {
    case RawInput::kLeft: msg = down ? (dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN) : WM_LBUTTONUP; break;
    case RawInput::kRight: msg = down ? (dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN) : WM_RBUTTONUP; break;
    case RawInput::kMiddle: msg = down ? (dbl ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN) : WM_MBUTTONUP; break;
    case RawInput::kSide1:
    case RawInput::kSide2:
      msg = down ? (dbl ? WM_XBUTTONDBLCLK : WM_XBUTTONDOWN) : WM_XBUTTONUP;
      high = input.button == RawInput::kSide1 ? XBUTTON1 : XBUTTON2;
      break;
    default: return;
  }
  WParam mk = MouseKeyFlags();
  if (input.shift) mk |= MK_SHIFT;
  if (input.ctrl) mk |= MK_CONTROL;
  out.push_back({msg, (high << 16) | mk, MakeLParam(mouse_x_, mouse_y_)});
}

void MessageTranslator::Translate(const RawInput& input, std::vector<WindowMessage>& out) {
  switch (input.type) {
    case RawInput::Type::kKeyDown: KeyMessage(input, true, out); break;
    case RawInput::Type::kKeyUp: KeyMessage(input, false, out); break;
    case RawInput::Type::kText:
      for (char16_t unit : Utf8ToUtf16(input.text)) out.push_back({WM_CHAR, unit, 1});
      break;
    case RawInput::Type::kComposition:
      if (!composing_) {
        composing_ = true;
        out.push_back({WM_IME_STARTCOMPOSITION, 0, 0});
      }
      composition = Utf8ToUtf16(input.text);
      composition_cursor = input.cursor;
      out.push_back({WM_IME_COMPOSITION, composition.empty() ? WParam{0} : WParam{composition.back()}, 0});
      break;
    case RawInput::Type::kCompositionEnd:
      if (composing_) {
        composing_ = false;
        composition.clear();
        composition_cursor = 0;
        out.push_back({WM_IME_ENDCOMPOSITION, 0, 0});
      }
      break;
    case RawInput::Type::kMouseMove:
      mouse_x_ = input.x;
      mouse_y_ = input.y;
      out.push_back({WM_MOUSEMOVE, MouseKeyFlags(), MakeLParam(mouse_x_, mouse_y_)});
      break;
    case RawInput::Type::kMouseDown: MouseButton(input, true, out); break;
    case RawInput::Type::kMouseUp: MouseButton(input, false, out); break;
    case RawInput::Type::kWheel: {
      const int delta = static_cast<int>(input.wheel * WHEEL_DELTA + (input.wheel >= 0 ? 0.5f : -0.5f));
      if (delta != 0) {
        out.push_back({WM_MOUSEWHEEL, MakeWParam(static_cast<int>(MouseKeyFlags()), delta),
                       MakeLParam(mouse_x_, mouse_y_)});
      }
      break;
    }
    case RawInput::Type::kFocusGained: out.push_back({WM_ACTIVATEAPP, 1, 0}); break;
    case RawInput::Type::kFocusLost:
      ReleaseAll();
      out.push_back({WM_ACTIVATEAPP, 0, 0});
      break;
    case RawInput::Type::kMinimized: out.push_back({WM_SIZE, 1, 0}); break;
    case RawInput::Type::kRestored: out.push_back({WM_SIZE, 0, 0}); break;
    case RawInput::Type::kClose: out.push_back({WM_CLOSE, 0, 0}); break;
  }
}

}  // namespace tr
