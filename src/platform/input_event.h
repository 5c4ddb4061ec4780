// Input as it arrives from the window system (or from a test's script),
// before it becomes window messages. Keys are named by virtual-key code.
#pragma once

#include <cstdint>
#include <string>

namespace tr {

struct RawInput {
  enum class Type {
    kKeyDown,
    kKeyUp,
    kText,             // typed text (UTF-8)
    kComposition,      // text being composed by an input method (UTF-8), with its cursor
    kCompositionEnd,
    kMouseMove,
    kMouseDown,
    kMouseUp,
    kWheel,            // notches: positive away from the user
    kFocusGained,
    kFocusLost,
    kMinimized,
    kRestored,
    kClose,
  };
  enum Button : int { kLeft = 1, kMiddle = 2, kRight = 3, kSide1 = 4, kSide2 = 5 };

  Type type = Type::kKeyDown;
  std::uint32_t key = 0;      // virtual key
  std::uint32_t scancode = 0;
  bool repeat = false;
  bool shift = false, ctrl = false, alt = false;
  std::string text;
  int cursor = 0;
  int x = 0, y = 0;           // client coordinates; for keys and the wheel, ignored
  int button = 0;
  int clicks = 1;             // 2 for the second press of a double click
  float wheel = 0;

  static RawInput KeyDown(std::uint32_t vk, bool repeat = false) {
    RawInput e; e.type = Type::kKeyDown; e.key = vk; e.repeat = repeat; return e;
  }
  static RawInput KeyUp(std::uint32_t vk) { RawInput e; e.type = Type::kKeyUp; e.key = vk; return e; }
  static RawInput Text(std::string utf8) { RawInput e; e.type = Type::kText; e.text = std::move(utf8); return e; }
  static RawInput Composition(std::string utf8, int cursor) {
    RawInput e; e.type = Type::kComposition; e.text = std::move(utf8); e.cursor = cursor; return e;
  }
  static RawInput CompositionEnd() { RawInput e; e.type = Type::kCompositionEnd; return e; }
  static RawInput MouseMove(int x, int y) { RawInput e; e.type = Type::kMouseMove; e.x = x; e.y = y; return e; }
  static RawInput MouseDown(int button, int x, int y, int clicks = 1) {
    RawInput e; e.type = Type::kMouseDown; e.button = button; e.x = x; e.y = y; e.clicks = clicks; return e;
  }
  static RawInput MouseUp(int button, int x, int y) {
    RawInput e; e.type = Type::kMouseUp; e.button = button; e.x = x; e.y = y; return e;
  }
  static RawInput Wheel(float notches) { RawInput e; e.type = Type::kWheel; e.wheel = notches; return e; }
  static RawInput Of(Type type) { RawInput e; e.type = type; return e; }

  RawInput& WithShift(bool v = true) { shift = v; return *this; }
  RawInput& WithCtrl(bool v = true) { ctrl = v; return *this; }
  RawInput& WithAlt(bool v = true) { alt = v; return *this; }
};

// The virtual key of a window-system key code (0 for keys the game has no code for).
std::uint32_t VirtualKeyFromSdlKey(std::int32_t sdl_keycode);

}  // namespace tr
