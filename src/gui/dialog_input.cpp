// How a dialog handles a window message: layout drag, caption, the focused
// control, keys (hotkeys, focus cycling) and the mouse.
#include <cstdlib>

#include "gui/dialog.h"
#include "gui/dispatch_scope.h"
#include "gui/hint_box.h"
#include "platform/input.h"

namespace tr {
namespace {

constexpr int kDragStep = 5;

bool IsKeyMessage(std::uint32_t msg) {
  return msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP;
}

bool IsMouseMessage(std::uint32_t msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST; }

bool IsEditBox(const CDXUTControl* control) {
  return control != nullptr &&
         (control->GetType() == kControlEditBox || control->GetType() == kControlTextEdit);
}

}  // namespace

bool CDXUTDialog::MsgProc(std::uint32_t msg, WParam wparam, LParam lparam) {
  // Keeps this dialog alive if a callback closes it while the message is handled.
  DispatchScope scope;
  const int x = XFromLParam(lparam);
  const int y = YFromLParam(lparam);

  if (HandleLayoutDrag(msg, x, y)) return true;
  if (!visible_) return false;
  if (caption_shown_ && HandleCaption(msg, x, y)) return true;
  if (minimized_) return false;

  CDXUTControl* focused = s_focused != nullptr && s_focused->GetDialog() == this ? s_focused : nullptr;
  if (focused != nullptr && focused->GetEnabled() && focused->MsgProc(msg, wparam, lparam)) return true;

  if (msg == WM_ACTIVATEAPP) {
    if (focused != nullptr && focused->GetEnabled()) {
      if (wparam != 0) {
        focused->OnFocusIn();
      } else {
        focused->OnFocusOut();
      }
    }
    return false;
  }
  if (IsKeyMessage(msg)) return keyboard_input_ && HandleKeys(msg, wparam, lparam);
  if (IsMouseMessage(msg)) return mouse_input_ && HandleMouseMessage(msg, wparam, lparam, x, y);
  return false;
}

// A draggable control under the mouse follows the pointer in 5-pixel steps,
// once the pointer has gone 10 pixels on one axis.
bool CDXUTDialog::HandleLayoutDrag(std::uint32_t msg, int x, int y) {
  CDXUTControl* control = control_under_mouse_;
  if (control == nullptr || !control->IsDraggable()) return false;
  switch (msg) {
    case WM_LBUTTONDOWN:
      if (s_drag_anchor_x == 0) {
        s_drag_anchor_x = x;
        s_drag_anchor_y = y;
      }
      return false;
    case WM_LBUTTONUP: {
      const bool was_active = s_drag_active;
      ResetLayoutDrag();
      return was_active;
    }
    case WM_MOUSEMOVE: {
      if (s_drag_anchor_x == 0) return false;
      const int dx = (x - s_drag_anchor_x) / kDragStep * kDragStep;
      const int dy = (y - s_drag_anchor_y) / kDragStep * kDragStep;
      if (!s_drag_active && std::abs(dx) <= kDragStep && std::abs(dy) <= kDragStep) return false;
      s_drag_active = true;
      control->MoveBy(dx, dy);
      s_drag_anchor_x += dx;
      s_drag_anchor_y += dy;
      return true;
    }
    default:
      return false;
  }
}

bool CDXUTDialog::HandleCaption(std::uint32_t msg, int x, int y) {
  const bool inside = x >= x_ && x < x_ + width_ && y >= y_ && y < y_ + caption_height_;
  if ((msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) && inside) {
    s_caption_pressed = true;
    SetMouseCapture();
    return true;
  }
  if (msg == WM_LBUTTONUP && inside && s_caption_pressed) {
    ReleaseMouseCapture();
    minimized_ = !minimized_;
    s_caption_pressed = false;
    return true;
  }
  return false;
}

bool CDXUTDialog::HandleKeys(std::uint32_t msg, WParam wparam, LParam lparam) {
  CDXUTControl* focused = s_focused != nullptr && s_focused->GetDialog() == this ? s_focused : nullptr;
  if (focused != nullptr && focused->GetEnabled() && focused->HandleKeyboard(msg, wparam, lparam)) {
    return true;
  }
  if (msg == WM_KEYUP) {
    // Hotkeys act on release, and never while text is being typed.
    if (IsEditBox(s_focused)) return false;
    for (const auto& control : controls_) {
      if (control->GetVisible() && control->GetEnabled() &&
          static_cast<WParam>(control->GetHotkey()) == wparam && control->GetHotkey() != 0) {
        control->OnHotkey();
        return true;
      }
    }
    return false;
  }
  if (msg != WM_KEYDOWN) return false;
  switch (wparam) {
    case VK_TAB:
      if (s_focused != nullptr) {
        OnCycleFocus(GetKeyState(VK_SHIFT) >= 0);
      } else {
        FocusDefaultControl();
      }
      return true;
    case VK_LEFT:
    case VK_UP:
      if (s_focused == nullptr) return false;
      OnCycleFocus(false);
      return true;
    case VK_RIGHT:
    case VK_DOWN:
      if (s_focused == nullptr) return false;
      OnCycleFocus(true);
      return true;
    default:
      return false;
  }
}

bool CDXUTDialog::HandleMouseMessage(std::uint32_t msg, WParam wparam, LParam lparam, int x, int y) {
  x -= x_;
  y -= y_ + (caption_shown_ ? caption_height_ : 0);
  CDXUTControl* focused = s_focused != nullptr && s_focused->GetDialog() == this ? s_focused : nullptr;
  if (focused != nullptr && focused->GetEnabled() &&
      focused->HandleMouse(msg, x, y, wparam, lparam)) {
    return true;
  }
  CDXUTControl* control = GetControlAtPoint(x, y);
  if (control != nullptr && control->GetEnabled()) {
    if (control->HandleMouse(msg, x, y, wparam, lparam)) return true;
  } else if (msg == WM_LBUTTONDOWN && s_focused != nullptr && s_focused->GetDialog() == this) {
    // A click beside every control takes the focus away from this dialog.
    s_focused->OnFocusOut();
    s_focused = nullptr;
  }
  if (msg == WM_MOUSEMOVE) OnMouseMove(x, y);
  return false;
}

void CDXUTDialog::OnMouseMove(int x, int y) {
  if (s_drag_active) return;
  CDXUTControl* control = GetControlAtPoint(x, y);
  if (control == control_under_mouse_) return;
  if (control_under_mouse_ != nullptr) {
    control_under_mouse_->OnMouseLeave();
    GetHintBox().SetControl(nullptr);
  }
  control_under_mouse_ = control;
  if (control != nullptr) {
    control->OnMouseEnter();
    GetHintBox().SetControl(control);
  }
}

}  // namespace tr
