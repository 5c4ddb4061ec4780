#include "gui/progress_bar.h"

#include <algorithm>

#include "gui/button.h"
#include "gui/dialog.h"

namespace tr {

CDXUTProgressBar::CDXUTProgressBar(CDXUTDialog* dialog) : CDXUTControl(dialog) {
  type_ = kControlProgressBar;
}

void CDXUTProgressBar::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = maximum;
  SetValue(value_);
}

void CDXUTProgressBar::SetValue(int value) {
  value_ = std::clamp(value, minimum_, std::max(minimum_, maximum_));
  UpdateRects();
}

void CDXUTProgressBar::UpdateRects() {
  CDXUTControl::UpdateRects();
  // An empty range shows an empty bar rather than dividing by zero.
  if (maximum_ <= minimum_) {
    bar_length_ = 0;
    return;
  }
  const double fraction = static_cast<double>(value_ - minimum_) / (maximum_ - minimum_);
  bar_length_ = static_cast<int>(fraction * (bounding_box_.width() - 10));
}

void CDXUTProgressBar::Render(float elapsed) {
  eControlState state = kStateNormal;
  if (!visible_) state = kStateHidden;
  else if (!enabled_) state = kStateDisabled;
  else if (mouse_over_) state = kStateMouseOver;
  else if (has_focus_) state = kStateFocus;
  for (sSkinElement& element : elements_) {
    element.texture_color.Blend(state, elapsed, 0.0f);
    element.font_color.Blend(state, elapsed, 0.0f);
  }
  sSkinElement* left = GetElement(value_ > minimum_ ? 3 : 0);
  sSkinElement* right = GetElement(value_ >= maximum_ ? 5 : 2);
  sSkinElement* middle = GetElement(1);
  DrawThreeSlice(dialog_, bounding_box_, 5, left, middle, right, 0.2f);
  if (bounding_box_.width() >= 10 && bar_length_ > 0) {
    const int start = bounding_box_.left + 5;
    dialog_->DrawSprite(GetElement(4), {start, bounding_box_.top, start + bar_length_, bounding_box_.bottom},
                        0.2f);
  }
}

}  // namespace tr
