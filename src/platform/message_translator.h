// Turns raw input into the window messages the GUI toolkit consumes, and keeps
// the key, button and pointer state that the key-state queries answer from.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/codes.h"
#include "platform/input_event.h"

namespace tr {

struct WindowMessage {
  std::uint32_t msg = 0;
  WParam wparam = 0;
  LParam lparam = 0;
  bool operator==(const WindowMessage&) const = default;
};

class MessageTranslator {
 public:
  // Appends the messages of one raw input to out and updates the state.
  void Translate(const RawInput& input, std::vector<WindowMessage>& out);

  bool IsKeyDown(std::uint32_t vk) const { return vk < 256 && down_[vk]; }
  std::int16_t KeyState(std::uint32_t vk) const;
  int mouse_x() const { return mouse_x_; }
  int mouse_y() const { return mouse_y_; }
  // MK_ flags of the buttons held and of Shift and Ctrl.
  std::uint32_t MouseKeyFlags() const;

  bool captured = false;
  std::u16string composition;
  int composition_cursor = 0;

  // Forgets every held key and button (the window lost the focus).
  void ReleaseAll();

 private:
  void SetKey(std::uint32_t vk, bool down);
  void KeyMessage(const RawInput& input, bool down, std::vector<WindowMessage>& out);
  void MouseButton(const RawInput& input, bool down, std::vector<WindowMessage>& out);

  std::array<bool, 256> down_{};
  std::array<bool, 256> toggled_{};
  int mouse_x_ = 0;
  int mouse_y_ = 0;
  bool composing_ = false;
};

}  // namespace tr
