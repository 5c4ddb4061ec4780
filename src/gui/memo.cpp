#include "gui/memo.h"

#include "gui/dialog.h"
#include "gui/frame.h"
#include "platform/input.h"

namespace tr {
namespace {

constexpr int kFrameCell = 10;

}  // namespace

CDXUTMemo::CDXUTMemo(CDXUTDialog* dialog) : CDXUTControl(dialog), scroll_bar_(dialog) { type_ = kControlMemo; }

CDXUTMemo::~CDXUTMemo() = default;

HResult CDXUTMemo::OnInit() { return dialog_->InitControl(&scroll_bar_); }

void CDXUTMemo::UpdateRects() {
  CDXUTControl::UpdateRects();
  line_height_ = dialog_->FontHeight(GetElement(text_element_));
  NinePatchRects(bounding_box_, kFrameCell, kFrameCell, pieces_);
  text_rect_ = {bounding_box_.left + border_, bounding_box_.top + border_,
                bounding_box_.right - border_ - scroll_bar_width_, bounding_box_.bottom - border_};
  draw_rect_ = text_rect_;
  scroll_bar_.SetLocation(bounding_box_.right - scroll_bar_width_, bounding_box_.top);
  scroll_bar_.SetSize(scroll_bar_width_, height_);
  // A font without a height shows the text unscrolled.
  scroll_bar_.SetPageSize(line_height_ > 0 ? text_rect_.height() / line_height_ : 1);
  UpdateScrollRange();
}

void CDXUTMemo::UpdateScrollRange() {
  sSkinElement* element = GetElement(text_element_);
  if (element == nullptr || line_height_ <= 0) {
    scroll_bar_.SetTrackRange(0, 0);
    return;
  }
  // Always measured at the text area's width, so the range does not depend on whether it was drawn yet.
  element->text_format = text_format_ | DT_CALCRECT;
  Rect measured{0, 0, text_rect_.width(), 0};
  const HResult hr = dialog_->CalcTextRect(buffer_.GetText(), element, &measured);
  element->text_format = text_format_;
  if (Failed(hr) || measured.height() <= text_rect_.height()) {
    scroll_bar_.SetTrackRange(0, 0);
  } else {
    scroll_bar_.SetTrackRange(0, measured.height() / line_height_);
  }
}

void CDXUTMemo::SetText(std::u16string_view text) {
  buffer_.SetText(text);
  UpdateScrollRange();
}

void CDXUTMemo::ScrollToEnd() { scroll_bar_.ShowItem(99999); }

bool CDXUTMemo::HandleKeyboard(std::uint32_t msg, WParam wparam, LParam lparam) {
  if (!enabled_ || !visible_) return false;
  return scroll_bar_.HandleKeyboard(msg, wparam, lparam);
}

bool CDXUTMemo::HandleMouse(std::uint32_t msg, int x, int y, WParam wparam, LParam lparam) {
  if (!enabled_ || !visible_) return false;
  if (msg == WM_LBUTTONDOWN && !has_focus_) CDXUTDialog::RequestFocus(this);
  if (scroll_bar_.HandleMouse(msg, x, y, wparam, lparam)) return true;
  if (msg == WM_MOUSEWHEEL) {
    scroll_bar_.Scroll(-(WheelDeltaFromWParam(wparam) / WHEEL_DELTA) * GetWheelScrollLines());
    return true;
  }
  return false;
}

void CDXUTMemo::Render(float elapsed) {
  if (!visible_) return;
  for (int k = 0; k < 9; ++k) {
    sSkinElement* element = GetElement(k);
    if (element == nullptr) continue;
    element->texture_color.Blend(kStateNormal, elapsed, 0.7f);
    dialog_->DrawSprite(element, pieces_[k], 0.2f);
  }
  if (sSkinElement* element = GetElement(text_element_)) {
    element->font_color.Blend(kStateNormal, elapsed, 0.7f);
    element->text_format = text_format_;
    draw_rect_ = OffsetRect(text_rect_, 0, -scroll_bar_.GetTrackPos() * line_height_);
    draw_rect_.bottom = draw_rect_.top + 1000000;  // the whole text; the clip cuts it
    const Rect clip = dialog_->ToScreen(text_rect_);
    dialog_->DrawText(buffer_.GetText(), element, draw_rect_, true, -1, &clip);
  }
  scroll_bar_.Render(elapsed);
}

}  // namespace tr
