// The press-and-release handling that buttons, icons, images, check boxes and
// radio buttons share: space bar and left button press, capture, and the
// release that counts as a click only inside the control.
#pragma once

#include <functional>

#include "gui/control.h"

namespace tr {

struct PressRules {
  // Check boxes take focus on a press only when their dialog handles keys.
  bool focus_only_with_keyboard = false;
  // Buttons give focus back on release when their dialog does not handle keys.
  bool clear_focus_on_release = true;
};

// Each returns whether the message was consumed; click runs for a completed press.
bool HandlePressKey(CDXUTControl& control, bool& pressed, std::uint32_t msg, WParam key,
                    const std::function<void()>& click);
bool HandlePressMouse(CDXUTControl& control, bool& pressed, std::uint32_t msg, int x, int y,
                      const PressRules& rules, const std::function<void()>& click);

}  // namespace tr
