// Drawing a list box: the nine-piece frame, the column titles and dividers,
// the rows with their highlights, and the scroll bar.
#include "gui/dialog.h"
#include "gui/list_box.h"

namespace tr {
namespace {

constexpr int kCorner = 25;
constexpr int kDividerHalf = 12;
constexpr float kDepth = 0.2f;

}  // namespace

bool CDXUTListBox::ShownSelected(int index) const {
  if (!MultiSelection()) return index == selected_;
  // While dragging, the rows passed over show the state the anchor will give them.
  const int from = std::min(selection_start_, selected_);
  const int to = std::max(selection_start_, selected_);
  if (dragging_ && index > from && index < to && selection_start_ >= 0 && selection_start_ < GetSize()) {
    return items_[static_cast<std::size_t>(selection_start_)]->selected;
  }
  return items_[static_cast<std::size_t>(index)]->selected;
}

void CDXUTListBox::RenderColumns(float) {
  const Rect& box = bounding_box_;
  int x = text_rect_.left;
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const sListColumn& column = columns_[i];
    if (i > 0) {
      const int left = x - kDividerHalf;
      const int right = x + kDividerHalf + 1;
      dialog_->DrawSprite(GetElement(9), {left, box.top, right, header_rect_.bottom}, kDepth);
      dialog_->DrawSprite(GetElement(10), {left, header_rect_.bottom, right, box.bottom - kCorner}, kDepth);
      dialog_->DrawSprite(GetElement(11), {left, box.bottom - kCorner, right, box.bottom}, kDepth);
    }
    if (sSkinElement* title = GetElement(9)) {
      title->text_format = i == 0 ? DT_VCENTER : DT_CENTER | DT_VCENTER;
      dialog_->DrawText(column.title, title, {x, box.top, x + column.width, header_rect_.bottom});
    }
    if (static_cast<int>(i) == hovered_column_) {
      dialog_->DrawSprite(GetElement(13), {x, box.top, x + column.width, box.bottom}, kDepth);
    }
    x += column.width;
  }
}

void CDXUTListBox::RenderRow(int index, const Rect& row, bool selected) {
  const Rect band{selection_rect_.left, row.top, selection_rect_.right, row.bottom};
  sSkinElement* highlight = GetElement(12);
  if (index == hovered_row_) dialog_->DrawSprite(highlight, band, kDepth);
  if (selected) dialog_->DrawSprite(highlight, band, kDepth);
  sSkinElement* element = selected ? highlight : GetElement(9);
  if (element == nullptr) return;
  const std::u16string& text = items_[static_cast<std::size_t>(index)]->text;
  if (columns_.size() <= 1) {
    element->text_format = DT_VCENTER;
    dialog_->DrawText(text, element, row);
    return;
  }
  const std::vector<std::u16string_view> cells = SplitListCells(text);
  int x = row.left;
  for (std::size_t i = 0; i < columns_.size() && i < cells.size(); ++i) {
    element->text_format = i == 0 ? DT_VCENTER : DT_CENTER | DT_VCENTER;
    dialog_->DrawText(cells[i], element, {x, row.top, x + columns_[i].width, row.bottom});
    x += columns_[i].width;
  }
}

void CDXUTListBox::Render(float elapsed) {
  if (!visible_) return;
  for (sSkinElement& element : elements_) {
    element.texture_color.Blend(kStateNormal, elapsed, 0.7f);
    element.font_color.Blend(kStateNormal, elapsed, 0.7f);
  }
  const Rect& box = bounding_box_;
  const int rows[4] = {box.top, header_rect_.bottom, box.bottom - kCorner, box.bottom};
  const int cols[4] = {box.left, box.left + kCorner, box.right - kCorner, box.right};
  for (int k = 0; k < 9; ++k) {
    const int r = k / 3;
    const int c = k % 3;
    dialog_->DrawSprite(GetElement(k), {cols[c], rows[r], cols[c + 1], rows[r + 1]}, kDepth);
  }
  if (!columns_.empty()) RenderColumns(elapsed);

  text_height_ = dialog_->FontHeight(GetElement(9));
  if (!page_size_set_) {
    scroll_bar_.SetPageSize(text_height_ != 0 ? text_rect_.height() / text_height_ : text_rect_.height());
    page_size_set_ = text_height_ != 0;
  }
  if (text_height_ > 0) {
    Rect row{text_rect_.left, text_rect_.top, text_rect_.right, text_rect_.top + text_height_};
    for (int i = scroll_bar_.GetTrackPos(); i < GetSize() && row.bottom <= text_rect_.bottom; ++i) {
      RenderRow(i, row, ShownSelected(i));
      row = OffsetRect(row, 0, text_height_);
    }
  }
  scroll_bar_.Render(elapsed);
}

}  // namespace tr
