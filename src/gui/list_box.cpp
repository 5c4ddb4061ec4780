#include "gui/list_box.h"

#include <algorithm>
#include <new>

#include "foundation/console_log.h"
#include "gui/dialog.h"
#include "gui/hint_box.h"
#include "platform/input.h"

namespace tr {
namespace {

constexpr std::size_t kMaxItemText = 255;
constexpr std::size_t kMaxColumnTitle = 49;
constexpr std::size_t kMaxColumnHint = 255;

bool ShiftHeld() { return GetKeyState(VK_SHIFT) < 0; }

}  // namespace

std::vector<std::u16string_view> SplitListCells(std::u16string_view text) {
  std::vector<std::u16string_view> cells;
  std::size_t begin = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == u';' || text[i] == u'|') {
      cells.push_back(text.substr(begin, i - begin));
      begin = i + 1;
    }
  }
  return cells;
}

std::u16string ListCellText(std::u16string_view text) {
  std::u16string cell(text);
  for (char16_t& c : cell) {
    if (c == u';') c = u'\u037E';
    if (c == u'|') c = u'\u01C0';
  }
  return cell;
}

CDXUTListBox::CDXUTListBox(CDXUTDialog* dialog) : CDXUTControl(dialog), scroll_bar_(dialog) {
  type_ = kControlListBox;
}

CDXUTListBox::~CDXUTListBox() = default;

HResult CDXUTListBox::OnInit() { return dialog_->InitControl(&scroll_bar_); }

void CDXUTListBox::UpdateRects() {
  CDXUTControl::UpdateRects();
  selection_rect_ = bounding_box_;
  selection_rect_.right -= scroll_bar_width_;
  selection_rect_ = {selection_rect_.left + border_, selection_rect_.top + border_,
                     selection_rect_.right - border_, selection_rect_.bottom - border_};
  const int font_height = dialog_->FontHeight(GetElement(0));
  // Rows can be hit before the first render.
  text_height_ = dialog_->FontHeight(GetElement(9));
  // The title row is reserved whether or not the list has columns.
  header_rect_ = {selection_rect_.left, selection_rect_.top, selection_rect_.right,
                  selection_rect_.top + font_height};
  text_rect_ = {selection_rect_.left + margin_, selection_rect_.top + font_height,
                selection_rect_.right - margin_, selection_rect_.bottom};
  scroll_bar_.SetLocation(bounding_box_.right - scroll_bar_width_, bounding_box_.top);
  scroll_bar_.SetSize(scroll_bar_width_, height_);
  if (font_height != 0) {
    scroll_bar_.SetPageSize(text_rect_.height() / font_height);
    scroll_bar_.ShowItem(selected_);
    page_size_set_ = true;
  }
}

void CDXUTListBox::SetColumns(std::u16string_view titles, const std::vector<int>& percents) {
  columns_.clear();
  const std::vector<std::u16string_view> pieces = SplitListCells(titles);
  if (pieces.size() < percents.size()) {
    LogFormat(u"GUI: list box %i has %i column titles for %i columns", id_,
              static_cast<int>(pieces.size()), static_cast<int>(percents.size()));
  }
  for (std::size_t i = 0; i < percents.size(); ++i) {
    sListColumn column;
    if (i < pieces.size()) column.title.assign(pieces[i].substr(0, kMaxColumnTitle));
    column.width = static_cast<int>(static_cast<long long>(text_rect_.width()) * percents[i] / 100);
    columns_.push_back(std::move(column));
  }
}

void CDXUTListBox::SetColumnHints(std::u16string_view text) {
  const std::vector<std::u16string_view> pieces = SplitListCells(text);
  if (pieces.size() < columns_.size()) {
    LogFormat(u"GUI: list box %i has %i column hints for %i columns", id_, static_cast<int>(pieces.size()),
              static_cast<int>(columns_.size()));
  }
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    columns_[i].hint.assign(i < pieces.size() ? pieces[i].substr(0, kMaxColumnHint) : std::u16string_view{});
  }
}

HResult CDXUTListBox::AddItem(std::u16string_view text, std::uint32_t data) {
  try {
    auto item = std::make_unique<sListBoxItem>();
    item->text.assign(text.substr(0, kMaxItemText));
    item->data = data;
    items_.push_back(std::move(item));
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  scroll_bar_.SetTrackRange(0, GetSize());
  return S_OK;
}

void CDXUTListBox::RemoveAllItems() {
  items_.clear();
  scroll_bar_.SetTrackRange(0, 1);
  selected_ = -1;
  // A Shift range after a refill starts from the top, never from a vanished item.
  selection_start_ = 0;
  hovered_row_ = -1;
}

sListBoxItem* CDXUTListBox::GetItem(int index) {
  if (index < 0 || index >= GetSize()) return nullptr;
  return items_[static_cast<std::size_t>(index)].get();
}

int CDXUTListBox::GetSelectedIndex(int previous) const {
  if (previous < -1) return -1;
  if (!MultiSelection()) return selected_;
  for (int i = previous + 1; i < GetSize(); ++i) {
    if (items_[static_cast<std::size_t>(i)]->selected) return i;
  }
  return -1;
}

void CDXUTListBox::SelectItem(int index, bool send) {
  if (items_.empty()) return;
  index = std::clamp(index, 0, GetSize() - 1);
  if (index != selected_) {
    selected_ = index;
    if (MultiSelection()) items_[static_cast<std::size_t>(index)]->selected = true;
    selection_start_ = index;
    scroll_bar_.ShowItem(index);
  }
  if (send) dialog_->SendEvent(GuiEventListSelection, true, this);
}

void CDXUTListBox::NotifySelection() { dialog_->SendEvent(GuiEventListSelection, true, this, false); }

void CDXUTListBox::OnMouseLeave() {
  mouse_over_ = false;
  hovered_row_ = -1;
  hovered_column_ = -1;
}

bool CDXUTListBox::HandleKeyboard(std::uint32_t msg, WParam key, LParam lparam) {
  if (!enabled_ || !visible_) return false;
  if (scroll_bar_.HandleKeyboard(msg, key, lparam)) return true;
  if (msg != WM_KEYDOWN) return false;
  if (key != VK_UP && key != VK_DOWN && key != VK_PRIOR && key != VK_NEXT && key != VK_HOME && key != VK_END) {
    return false;
  }
  if (items_.empty()) return true;
  const int old = selected_;
  const int page = scroll_bar_.GetPageSize();
  switch (key) {
    case VK_UP: --selected_; break;
    case VK_DOWN: ++selected_; break;
    case VK_NEXT: selected_ += page - 1; break;
    case VK_PRIOR: selected_ -= page - 1; break;
    case VK_HOME: selected_ = 0; break;
    case VK_END: selected_ = GetSize() - 1; break;
    default: break;
  }
  selected_ = std::clamp(selected_, 0, GetSize() - 1);
  if (selected_ == old) return true;
  if (MultiSelection()) {
    for (auto& item : items_) item->selected = false;
    if (ShiftHeld()) {
      const int from = std::clamp(std::min(selection_start_, selected_), 0, GetSize() - 1);
      const int to = std::clamp(std::max(selection_start_, selected_), 0, GetSize() - 1);
      for (int i = from; i <= to; ++i) items_[static_cast<std::size_t>(i)]->selected = true;
    } else {
      items_[static_cast<std::size_t>(selected_)]->selected = true;
      selection_start_ = selected_;
    }
  } else {
    selection_start_ = selected_;
  }
  scroll_bar_.ShowItem(selected_);
  dialog_->SendEvent(GuiEventListSelection, true, this);
  return true;
}

int CDXUTListBox::RowAt(int y) const {
  if (text_height_ == 0) return -1;
  return scroll_bar_.GetTrackPos() + (y - text_rect_.top) / text_height_;
}

bool CDXUTListBox::HandleMouse(std::uint32_t msg, int x, int y, WParam wparam, LParam lparam) {
  if (!enabled_ || !visible_) return false;
  if (msg == WM_LBUTTONDOWN && !has_focus_) CDXUTDialog::RequestFocus(this);
  if (scroll_bar_.HandleMouse(msg, x, y, wparam, lparam)) return true;
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      return HandlePress(msg, x, y, wparam);
    case WM_LBUTTONUP: {
      ReleaseMouseCapture();
      dragging_ = false;
      if (selected_ < 0 || selected_ >= GetSize() || selection_start_ < 0 || selection_start_ >= GetSize()) {
        return false;
      }
      const bool state = items_[static_cast<std::size_t>(selection_start_)]->selected;
      const int from = std::min(selection_start_, selected_);
      const int to = std::max(selection_start_, selected_);
      for (int i = from + 1; i < to; ++i) items_[static_cast<std::size_t>(i)]->selected = state;
      items_[static_cast<std::size_t>(selected_)]->selected = state;
      if (selection_start_ != selected_) NotifySelection();
      return false;
    }
    case WM_MOUSEMOVE:
      if (dragging_) {
        HandleDrag(y);
      } else {
        TrackHover(x, y);
      }
      return false;
    case WM_MOUSEWHEEL:
      scroll_bar_.Scroll(-(WheelDeltaFromWParam(wparam) / WHEEL_DELTA) * GetWheelScrollLines());
      return true;
    default:
      return false;
  }
}

bool CDXUTListBox::HandlePress(std::uint32_t msg, int x, int y, WParam wparam) {
  if (items_.empty() || !selection_rect_.Contains(x, y)) return false;
  const int row = RowAt(y);
  const int first = scroll_bar_.GetTrackPos();
  // The title row, the empty area below the last item and rows off the page select nothing.
  if (y < text_rect_.top || row < first || row >= std::min(GetSize(), first + scroll_bar_.GetPageSize())) {
    return true;
  }
  SetMouseCapture();
  dragging_ = true;
  if (msg == WM_LBUTTONDBLCLK) {
    dialog_->SendEvent(GuiEventListDoubleClick, true, this);
    return true;
  }
  selected_ = row;
  const bool shift = (wparam & MK_SHIFT) != 0;
  const bool ctrl = (wparam & MK_CONTROL) != 0;
  if (!shift) selection_start_ = row;
  if (selection_start_ >= GetSize()) selection_start_ = row;
  if (MultiSelection()) {
    auto item = [this](int i) -> sListBoxItem& { return *items_[static_cast<std::size_t>(i)]; };
    const int from = std::min(selection_start_, row);
    const int to = std::max(selection_start_, row);
    if (ctrl && !shift) {
      item(row).selected = !item(row).selected;
    } else if (shift && !ctrl) {
      for (int i = 0; i < GetSize(); ++i) item(i).selected = i >= from && i <= to;
    } else if (shift && ctrl) {
      const bool state = item(selection_start_).selected;
      for (int i = from + 1; i < to; ++i) item(i).selected = state;
      item(row).selected = true;
      selected_ = selection_start_;
    } else {
      for (int i = 0; i < GetSize(); ++i) item(i).selected = false;
      item(row).selected = true;
    }
  }
  dialog_->SendEvent(GuiEventListSelection, true, this);
  return true;
}

void CDXUTListBox::HandleDrag(int y) {
  const int row = RowAt(y);
  const int first = scroll_bar_.GetTrackPos();
  const int page = scroll_bar_.GetPageSize();
  if (row >= first && row < GetSize() && row < first + page) {
    selected_ = row;
    NotifySelection();
  } else if (row < first) {
    scroll_bar_.Scroll(-1);
    selected_ = scroll_bar_.GetTrackPos();
    NotifySelection();
  } else if (row >= first + page) {
    scroll_bar_.Scroll(1);
    selected_ = std::min(GetSize(), scroll_bar_.GetTrackPos() + page) - 1;
    NotifySelection();
  }
}

void CDXUTListBox::TrackHover(int x, int y) {
  if (!bounding_box_.Contains(x, y)) {
    hovered_row_ = -1;
    hovered_column_ = -1;
    return;
  }
  hovered_row_ = RowAt(y);
  int column = 0;
  int right = text_rect_.left;
  for (const sListColumn& c : columns_) {
    right += c.width;
    if (right < x) ++column;
  }
  if (column == hovered_column_) return;
  if (column >= static_cast<int>(columns_.size())) {
    hovered_column_ = -1;
    return;
  }
  hovered_column_ = column;
  SetHint(columns_[static_cast<std::size_t>(column)].hint);
  // The hint box shows the new column's text at once.
  GetHintBox().SetControl(this, true);
}

}  // namespace tr
