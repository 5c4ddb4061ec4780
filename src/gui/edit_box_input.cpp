// What an edit box does with typed characters, keys and the mouse.
#include <algorithm>

#include "gui/dialog.h"
#include "gui/edit_box.h"
#include "platform/input.h"

namespace tr {
namespace {

bool Held(std::uint32_t vk) { return GetKeyState(vk) < 0; }

constexpr char16_t kCtrlA = 1;
constexpr char16_t kCtrlC = 3;
constexpr char16_t kCtrlV = 22;
constexpr char16_t kCtrlX = 24;
constexpr char16_t kBackspace = 8;
constexpr char16_t kEnter = 13;

}  // namespace

void CDXUTEditBox::InsertTyped(char16_t ch) {
  bool changed = false;
  if (HasSelection()) {
    DeleteSelectionText();
    changed = true;
  }
  bool stored = false;
  if (!insert_mode_ && caret_ < buffer_.GetTextSize()) {
    stored = buffer_.RemoveChar(caret_) && buffer_.InsertChar(caret_, ch);
  } else {
    stored = buffer_.InsertChar(caret_, ch);
  }
  if (stored) {
    PlaceCaret(caret_ + 1);
    selection_start_ = caret_;
  }
  ResetCaretBlink();
  if (stored || changed) TextChanged();
}

bool CDXUTEditBox::MsgProc(std::uint32_t msg, WParam wparam, LParam) {
  if (!enabled_ || !visible_ || msg != WM_CHAR) return false;
  const auto ch = static_cast<char16_t>(wparam);
  switch (ch) {
    case kCtrlA:
      if (!HasSelection()) {
        selection_start_ = 0;
        PlaceCaret(buffer_.GetTextSize());
      }
      return true;
    case kCtrlC:
      CopyToClipboard();
      return true;
    case kCtrlX:
      if (HasSelection()) {
        CopyToClipboard();
        DeleteSelectionText();
        TextChanged();
      }
      return true;
    case kCtrlV:
      if (PasteFromClipboard()) TextChanged();
      return true;
    case kBackspace:
      if (HasSelection()) {
        DeleteSelectionText();
      } else if (caret_ > 0) {
        PlaceCaret(caret_ - 1);
        selection_start_ = caret_;
        buffer_.RemoveChar(caret_);
      } else {
        ResetCaretBlink();
        return true;
      }
      TextChanged();
      ResetCaretBlink();
      return true;
    case kEnter:
      dialog_->SendEvent(GuiEventEditEnter, true, this);
      return true;
    default:
      break;
  }
  // Control characters (Tab and Escape among them) are never stored.
  if (ch < 32) return true;
  InsertTyped(ch);
  return true;
}

bool CDXUTEditBox::HandleKeyboard(std::uint32_t msg, WParam key, LParam) {
  if (!enabled_ || !visible_ || msg != WM_KEYDOWN) return false;
  const bool shift = Held(VK_SHIFT);
  const bool ctrl = Held(VK_CONTROL);
  switch (key) {
    case VK_ESCAPE:
      return false;  // the dialog's cancel
    case VK_END:
    case VK_HOME:
      PlaceCaret(key == VK_END ? buffer_.GetTextSize() : 0);
      if (!shift) selection_start_ = caret_;
      ResetCaretBlink();
      return true;
    case VK_LEFT:
      if (ctrl) {
        PlaceCaret(buffer_.PrevWordPos(caret_));
      } else if (caret_ > 0) {
        PlaceCaret(caret_ - 1);
      }
      if (!shift) selection_start_ = caret_;
      ResetCaretBlink();
      return true;
    case VK_RIGHT:
      if (ctrl) {
        PlaceCaret(buffer_.NextWordPos(caret_));
      } else if (caret_ < buffer_.GetTextSize()) {
        PlaceCaret(caret_ + 1);
      }
      if (!shift) selection_start_ = caret_;
      ResetCaretBlink();
      return true;
    case VK_INSERT:
      if (ctrl) {
        CopyToClipboard();
      } else if (shift) {
        if (PasteFromClipboard()) TextChanged();
      } else {
        insert_mode_ = !insert_mode_;
      }
      return false;
    case VK_DELETE:
      if (HasSelection()) {
        DeleteSelectionText();
      } else if (!buffer_.RemoveChar(caret_)) {
        ResetCaretBlink();
        return true;
      }
      TextChanged();
      ResetCaretBlink();
      return true;
    default:
      // Everything else is the box's own, so arrows and Tab never move the focus away while typing.
      return true;
  }
}

int CDXUTEditBox::CaretFromX(int x, bool* ok) {
  int first_x = 0;
  buffer_.CPtoX(first_visible_, false, &first_x);
  int position = 0;
  bool trailing = false;
  *ok = Succeeded(buffer_.XtoCP(x - text_rect_.left + first_x, &position, &trailing));
  if (trailing && position < buffer_.GetTextSize()) ++position;
  return position;
}

bool CDXUTEditBox::HandleMouse(std::uint32_t msg, int x, int y, WParam, LParam) {
  if (!enabled_ || !visible_) return false;
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!has_focus_) CDXUTDialog::RequestFocus(this);
      if (!ContainsPoint(x, y)) return false;
      mouse_drag_ = true;
      SetMouseCapture();
      bool ok = false;
      const int position = CaretFromX(x, &ok);
      if (!ok) return true;
      PlaceCaret(position);
      selection_start_ = caret_;
      ResetCaretBlink();
      return true;
    }
    case WM_MOUSEMOVE:
      if (mouse_drag_) {
        bool ok = false;
        const int position = CaretFromX(x, &ok);
        if (ok) PlaceCaret(position);
      }
      return false;
    case WM_LBUTTONUP:
      if (mouse_drag_) ReleaseMouseCapture();
      mouse_drag_ = false;
      return false;
    default:
      return false;
  }
}

}  // namespace tr
