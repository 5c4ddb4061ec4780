// Drawing an edit box: frame, selection band, text, selected text and caret.
#include <algorithm>

#include "gui/dialog.h"
#include "gui/edit_box.h"
#include "gui/gui_clock.h"

namespace tr {

void CDXUTEditBox::Render(float elapsed) {
  if (!visible_) return;
  SyncFont();
  // Placing the caret again keeps it in view after layout changes.
  if (enabled_) PlaceCaret(caret_);

  for (int k = 0; k < 9; ++k) {
    sSkinElement* element = GetElement(k);
    if (element == nullptr) continue;
    element->texture_color.Blend(kStateNormal, elapsed, 0.7f);
    dialog_->DrawSprite(element, pieces_[k], 0.2f);
  }
  sSkinElement* text_element = GetElement(0);
  if (text_element == nullptr) return;

  int first_x = 0;
  int caret_x = 0;
  int start_x = 0;
  const bool selecting = enabled_ && has_focus_ && caret_ != selection_start_;
  Rect band;
  if (enabled_) {
    buffer_.CPtoX(first_visible_, false, &first_x);
    buffer_.CPtoX(caret_, false, &caret_x);
    buffer_.CPtoX(selection_start_, false, &start_x);
    if (selecting) {
      band = {std::min(caret_x, start_x), text_rect_.top, std::max(caret_x, start_x), text_rect_.bottom};
      band = Intersect(OffsetRect(band, text_rect_.left - first_x, 0), text_rect_);
      dialog_->DrawRect(band, selected_back_color_);
    }
  }

  text_element->font_color.SetCurrent(text_element->font_color.states[has_focus_ ? kStateFocus : kStateNormal]);
  text_element->text_format = enabled_ ? DT_VCENTER : disabled_text_format_ | DT_VCENTER;
  const std::u16string& text = buffer_.GetText();
  const std::u16string_view shown = std::u16string_view(text).substr(std::min<std::size_t>(first_visible_, text.size()));
  dialog_->DrawText(shown, text_element, text_rect_);

  if (selecting) {
    const int begin = std::max(first_visible_, std::min(caret_, selection_start_));
    const int end = std::max(caret_, selection_start_);
    int begin_x = 0;
    buffer_.CPtoX(begin, false, &begin_x);
    sSkinElement selected = *text_element;
    selected.font_color.SetCurrent(selected_text_color_);
    Rect rect = text_rect_;
    rect.left += begin_x - first_x;
    if (end > begin) {
      const Rect clip = dialog_->ToScreen(band);
      dialog_->DrawText(std::u16string_view(text).substr(begin, end - begin), &selected, rect, false, -1, &clip);
    }
  }

  const double now = GuiClockSeconds();
  if (now - last_blink_ >= blink_period_) {
    caret_on_ = !caret_on_;
    last_blink_ = now;
  }
  if (has_focus_ && caret_on_ && !s_hide_caret) {
    const int x = text_rect_.left - first_x + caret_x;
    Rect caret{x - 1, text_rect_.top, x + 1, text_rect_.bottom};
    if (!insert_mode_ && caret_ < buffer_.GetTextSize()) {
      int trailing = 0;
      buffer_.CPtoX(caret_, true, &trailing);
      caret.right = text_rect_.left - first_x + trailing;
    }
    dialog_->DrawRect(caret, caret_color_);
  }
}

}  // namespace tr
