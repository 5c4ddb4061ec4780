#include "gui/combo_box.h"

#include <algorithm>
#include <new>

#include "gui/dialog.h"
#include "platform/input.h"

namespace tr {
namespace {

constexpr std::size_t kMaxItemText = 255;

}  // namespace

CDXUTComboBox::CDXUTComboBox(CDXUTDialog* dialog) : CDXUTButton(dialog), scroll_bar_(dialog) {
  type_ = kControlComboBox;
}

CDXUTComboBox::~CDXUTComboBox() = default;

HResult CDXUTComboBox::OnInit() { return dialog_->InitControl(&scroll_bar_); }

void CDXUTComboBox::SetTextColor(std::uint32_t color) {
  for (int index : {0, 2}) {
    if (sSkinElement* element = GetElement(index)) element->font_color.states[kStateNormal] = color;
  }
}

void CDXUTComboBox::UpdateRects() {
  CDXUTButton::UpdateRects();
  const Rect& box = bounding_box_;
  button_rect_ = box;
  text_rect_ = box;
  text_rect_.right -= box.height();
  dropdown_rect_ = OffsetRect(box, 0, box.height());
  dropdown_rect_.bottom += drop_height_;
  dropdown_rect_.right -= scroll_bar_width_;
  const int inset_x = static_cast<int>(0.1f * static_cast<float>(dropdown_rect_.width()));
  const int inset_y = static_cast<int>(0.1f * static_cast<float>(dropdown_rect_.height()));
  dropdown_text_rect_ = {dropdown_rect_.left + inset_x, dropdown_rect_.top + inset_y,
                         dropdown_rect_.right - inset_x, dropdown_rect_.bottom - inset_y};
  scroll_bar_.SetLocation(dropdown_rect_.right, dropdown_rect_.top + 2);
  scroll_bar_.SetSize(scroll_bar_width_, dropdown_rect_.height() - 2);
  const int font_height = dialog_->FontHeight(GetElement(2));
  if (font_height != 0) {
    scroll_bar_.SetPageSize(dropdown_text_rect_.height() / font_height);
    scroll_bar_.ShowItem(selected_);
    page_size_set_ = true;
  }
}

HResult CDXUTComboBox::AddItem(std::u16string_view text, std::uint32_t data) {
  if (text.data() == nullptr) return E_INVALIDARG;
  try {
    auto item = std::make_unique<sComboBoxItem>();
    item->text.assign(text.substr(0, kMaxItemText));
    item->data = data;
    items_.push_back(std::move(item));
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  scroll_bar_.SetTrackRange(0, GetNumItems());
  if (GetNumItems() == 1) SelectAndNotify(0, false);
  return S_OK;
}

void CDXUTComboBox::RemoveAllItems() {
  items_.clear();
  scroll_bar_.SetTrackRange(0, 1);
  selected_ = focused_ = -1;
}

int CDXUTComboBox::FindItem(std::u16string_view text, int start) const {
  if (text.data() == nullptr || start < 0) return -1;
  for (int i = start; i < GetNumItems(); ++i) {
    if (items_[static_cast<std::size_t>(i)]->text == text) return i;
  }
  return -1;
}

std::uint32_t CDXUTComboBox::GetSelectedData() const {
  if (selected_ < 0 || selected_ >= GetNumItems()) return 0;
  return items_[static_cast<std::size_t>(selected_)]->data;
}

sComboBoxItem* CDXUTComboBox::GetSelectedItem() { return GetItem(selected_); }

sComboBoxItem* CDXUTComboBox::GetItem(int index) {
  if (index < 0 || index >= GetNumItems()) return nullptr;
  return items_[static_cast<std::size_t>(index)].get();
}

void CDXUTComboBox::SelectAndNotify(int index, bool by_user) {
  selected_ = focused_ = index;
  dialog_->SendEvent(GuiEventComboSelectionChanged, by_user, this);
}

HResult CDXUTComboBox::SetSelectedByIndex(int index) {
  if (static_cast<unsigned>(index) >= static_cast<unsigned>(GetNumItems())) return E_INVALIDARG;
  SelectAndNotify(index, false);
  return S_OK;
}

HResult CDXUTComboBox::SetSelectedByData(std::uint32_t data) {
  for (int i = 0; i < GetNumItems(); ++i) {
    if (items_[static_cast<std::size_t>(i)]->data == data) {
      SelectAndNotify(i, false);
      return S_OK;
    }
  }
  return E_FAIL;
}

void CDXUTComboBox::OnFocusOut() {
  CDXUTButton::OnFocusOut();
  opened_ = false;
}

void CDXUTComboBox::OnHotkey() {
  if (opened_ || selected_ == -1) return;
  int next = selected_ + 1;
  if (next >= GetNumItems()) next = 0;
  SelectAndNotify(next, true);
}

// Closing the list always reports the selection, changed or not.
void CDXUTComboBox::CloseAndReport() {
  opened_ = false;
  dialog_->SendEvent(GuiEventComboSelectionChanged, true, this);
  if (!dialog_->KeyboardInputEnabled()) CDXUTDialog::ClearFocus();
}

bool CDXUTComboBox::HandleKeyboard(std::uint32_t msg, WParam key, LParam lparam) {
  if (!enabled_ || !visible_) return false;
  if (scroll_bar_.HandleKeyboard(msg, key, lparam)) return true;
  if (msg != WM_KEYDOWN || key < VK_RETURN || key > VK_F1 + 3) return false;
  switch (key) {
    case VK_RETURN:
      if (!opened_) return false;
      if (selected_ != focused_) SelectAndNotify(focused_, true);
      opened_ = false;
      if (!dialog_->KeyboardInputEnabled()) CDXUTDialog::ClearFocus();
      return true;
    case VK_F1 + 3:  // F4
      if ((lparam & kKeyPreviousStateBit) != 0) return true;
      if (!opened_) {
        opened_ = true;
        return true;
      }
      CloseAndReport();
      return true;
    case VK_LEFT:
    case VK_UP:
      if (focused_ > 0) {
        focused_ = selected_ = focused_ - 1;
        if (!opened_) dialog_->SendEvent(GuiEventComboSelectionChanged, true, this);
      }
      return true;
    case VK_RIGHT:
    case VK_DOWN:
      if (focused_ + 1 < GetNumItems()) {
        focused_ = selected_ = focused_ + 1;
        if (!opened_) dialog_->SendEvent(GuiEventComboSelectionChanged, true, this);
      }
      return true;
    default:
      return false;
  }
}

bool CDXUTComboBox::HandleMouse(std::uint32_t msg, int x, int y, WParam wparam, LParam lparam) {
  if (!enabled_ || !visible_) return false;
  if (opened_ && scroll_bar_.HandleMouse(msg, x, y, wparam, lparam)) return true;
  switch (msg) {
    case WM_MOUSEMOVE:
      if (!opened_ || !dropdown_rect_.Contains(x, y)) return false;
      for (int i = 0; i < GetNumItems(); ++i) {
        const sComboBoxItem& item = *items_[static_cast<std::size_t>(i)];
        if (item.visible && item.active.Contains(x, y)) focused_ = i;
      }
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (button_rect_.Contains(x, y)) {
        pressed_ = true;
        SetMouseCapture();
        if (!has_focus_) CDXUTDialog::RequestFocus(this);
        if (!has_focus_) return true;
        opened_ = !opened_;
        UpdateRects();
        if (!opened_ && !dialog_->KeyboardInputEnabled()) CDXUTDialog::ClearFocus();
        return true;
      }
      if (opened_ && dropdown_rect_.Contains(x, y)) {
        for (int i = scroll_bar_.GetTrackPos(); i < GetNumItems(); ++i) {
          const sComboBoxItem& item = *items_[static_cast<std::size_t>(i)];
          if (item.visible && item.active.Contains(x, y)) {
            SelectAndNotify(i, true);
            if (!dialog_->KeyboardInputEnabled()) CDXUTDialog::ClearFocus();
            break;
          }
        }
        opened_ = false;
        return true;
      }
      if (opened_) {
        focused_ = selected_;
        CloseAndReport();
      }
      pressed_ = false;
      if (!dialog_->KeyboardInputEnabled()) CDXUTDialog::ClearFocus();
      return false;
    case WM_LBUTTONUP:
      if (!pressed_) return false;
      // A release off the box still ends the press, so the capture never outlives it.
      pressed_ = false;
      ReleaseMouseCapture();
      return button_rect_.Contains(x, y);
    case WM_MOUSEWHEEL: {
      const int steps = WheelDeltaFromWParam(wparam) / WHEEL_DELTA;
      if (opened_) {
        scroll_bar_.Scroll(-steps * GetWheelScrollLines());
        return true;
      }
      if (steps > 0) {
        if (focused_ > 0) SelectAndNotify(focused_ - 1, true);
      } else if (focused_ + 1 < GetNumItems()) {
        SelectAndNotify(focused_ + 1, true);
      }
      return true;
    }
    default:
      return false;
  }
}

}  // namespace tr
