#include "gui/press_logic.h"

#include "gui/dialog.h"
#include "platform/input.h"

namespace tr {

bool HandlePressKey(CDXUTControl& control, bool& pressed, std::uint32_t msg, WParam key,
                    const std::function<void()>& click) {
  if (!control.GetEnabled() || !control.GetVisible()) return false;
  if (key != VK_SPACE) return false;
  if (msg == WM_KEYDOWN) {
    pressed = true;
    return true;
  }
  if (msg == WM_KEYUP) {
    if (pressed) {
      pressed = false;
      click();
    }
    return true;
  }
  return false;
}

bool HandlePressMouse(CDXUTControl& control, bool& pressed, std::uint32_t msg, int x, int y,
                      const PressRules& rules, const std::function<void()>& click) {
  if (!control.GetEnabled() || !control.GetVisible()) return false;
  CDXUTDialog* dialog = control.GetDialog();
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!control.ContainsPoint(x, y)) return false;
      pressed = true;
      SetMouseCapture();
      if (!control.HasFocus() &&
          (!rules.focus_only_with_keyboard || dialog->KeyboardInputEnabled())) {
        CDXUTDialog::RequestFocus(&control);
      }
      return true;
    case WM_LBUTTONUP:
      if (!pressed) return false;
      pressed = false;
      ReleaseMouseCapture();
      if (rules.clear_focus_on_release && !dialog->KeyboardInputEnabled()) {
        CDXUTDialog::ClearFocus();
      }
      if (control.ContainsPoint(x, y)) click();
      return true;
    default:
      return false;
  }
}

}  // namespace tr
