// Drawing a combo box: the open list (scroll bar, frame, rows) and the box
// with the selected text. Rows are laid out even while the list is closed,
// because the mouse handling hit-tests them.
#include "gui/combo_box.h"
#include "gui/dialog.h"

namespace tr {
namespace {

constexpr int kCorner = 25;
constexpr float kDepth = 0.2f;

}  // namespace

void CDXUTComboBox::LayoutRows() {
  const int row_height = dialog_->FontHeight(GetElement(12));
  Rect row{dropdown_text_rect_.left, dropdown_text_rect_.top, dropdown_text_rect_.right,
           dropdown_text_rect_.top + row_height};
  for (int i = scroll_bar_.GetTrackPos(); i < GetNumItems(); ++i) {
    sComboBoxItem& item = *items_[static_cast<std::size_t>(i)];
    if (row_height > 0 && row.bottom <= dropdown_text_rect_.bottom) {
      item.active = row;
      item.visible = true;
      row = OffsetRect(row, 0, row_height);
    } else {
      item.visible = false;
    }
  }
}

void CDXUTComboBox::RenderList(float elapsed) {
  const eControlState list_state = opened_ ? kStateNormal : kStateHidden;
  for (int k = 3; k <= 12; ++k) {
    if (sSkinElement* element = GetElement(k)) {
      element->texture_color.Blend(list_state, elapsed, 0.8f);
      element->font_color.Blend(list_state, elapsed, 0.8f);
    }
  }
  if (opened_) {
    scroll_bar_.Render(elapsed);
    const Rect& r = dropdown_rect_;
    const int rows[4] = {r.top, r.top + kCorner, r.bottom - kCorner, r.bottom};
    const int cols[4] = {r.left, r.left + kCorner, r.right - kCorner, r.right};
    for (int k = 0; k < 9; ++k) {
      dialog_->DrawSprite(GetElement(4 + k), {cols[k % 3], rows[k / 3], cols[k % 3 + 1], rows[k / 3 + 1]}, kDepth);
    }
    for (int k : {3, 12}) {
      if (sSkinElement* element = GetElement(k)) {
        element->font_color.SetCurrent(element->font_color.states[kStateNormal]);
      }
    }
  }
  LayoutRows();
  if (!opened_) return;
  for (int i = scroll_bar_.GetTrackPos(); i < GetNumItems(); ++i) {
    const sComboBoxItem& item = *items_[static_cast<std::size_t>(i)];
    if (!item.visible) continue;
    if (i == focused_) {
      const Rect band{dropdown_rect_.left, item.active.top - 2, dropdown_rect_.right, item.active.bottom + 2};
      dialog_->DrawSprite(GetElement(3), band, kDepth);
      dialog_->DrawText(item.text, GetElement(3), item.active);
    } else {
      dialog_->DrawText(item.text, GetElement(12), item.active);
    }
  }
}

void CDXUTComboBox::Render(float elapsed) {
  if (!page_size_set_) {
    const int font_height = dialog_->FontHeight(GetElement(4));
    const int text_height = dropdown_text_rect_.height();
    scroll_bar_.SetPageSize(font_height != 0 ? text_height / font_height : text_height);
    page_size_set_ = font_height != 0;
  }
  RenderList(elapsed);

  eControlState state = PressableState(pressed_ || opened_);
  const float rate = 0.8f;
  sSkinElement* slices[3] = {GetElement(0), GetElement(2), GetElement(1)};
  for (sSkinElement* element : slices) {
    if (element == nullptr) continue;
    element->texture_color.Blend(state, elapsed, rate);
    element->font_color.Blend(state, elapsed, rate);
  }
  const Rect& box = bounding_box_;
  int cap = box.height();
  int middle = box.width() - 2 * box.height();
  if (box.width() < 2 * box.height()) {
    cap = box.width() / 2;
    middle = 0;
  }
  dialog_->DrawSprite(slices[0], {box.left, box.top, box.left + cap, box.bottom}, kDepth);
  if (middle > 0) dialog_->DrawSprite(slices[1], {box.left + cap, box.top, box.left + cap + middle, box.bottom}, kDepth);
  dialog_->DrawSprite(slices[2], {box.left + cap + middle, box.top, box.left + 2 * cap + middle, box.bottom}, kDepth);
  if (selected_ >= 0 && selected_ < GetNumItems() && slices[2] != nullptr) {
    dialog_->DrawText(items_[static_cast<std::size_t>(selected_)]->text, slices[2], text_rect_);
  }
}

}  // namespace tr
