#include "gui/slider.h"

#include <algorithm>
#include <cmath>

#include "gui/dialog.h"
#include "platform/input.h"

namespace tr {
namespace {

// The thumb travels from 5 pixels inside the left edge to 5 inside the right.
constexpr int kTravelInset = 20;
constexpr int kThumbWidth = 10;
constexpr int kCapWidth = 10;

}  // namespace

CDXUTSlider::CDXUTSlider(CDXUTDialog* dialog) : CDXUTControl(dialog) { type_ = kControlSlider; }

bool CDXUTSlider::ContainsPoint(int x, int y) { return bounding_box_.Contains(x, y) || thumb_.Contains(x, y); }

void CDXUTSlider::UpdateRects() {
  CDXUTControl::UpdateRects();
  thumb_ = bounding_box_;
  thumb_.right = thumb_.left + kThumbWidth;
  thumb_ = OffsetRect(thumb_, kTravelInset / 4, 0);
  // A slider without a range or without room to travel keeps its thumb at the start.
  thumb_x_ = 0;
  if (max_ > min_ && bounding_box_.width() > kTravelInset) {
    const float travel = static_cast<float>(bounding_box_.width() - kTravelInset);
    thumb_x_ = static_cast<int>(travel * static_cast<float>(value_ - min_) / static_cast<float>(max_ - min_));
  }
  thumb_ = OffsetRect(thumb_, thumb_x_, 0);
}

int CDXUTSlider::ValueFromPos(int x) const {
  if (max_ <= min_ || bounding_box_.width() <= kTravelInset) return min_;
  const float per_pixel = static_cast<float>((max_ - min_) / (bounding_box_.width() - 20.0));
  return static_cast<int>(std::trunc(per_pixel * (x - bounding_box_.left + 5.0) + min_ + 0.5));
}

void CDXUTSlider::SetRange(int minimum, int maximum) {
  min_ = minimum;
  max_ = maximum;
  const int clamped = std::clamp(value_, min_, std::max(min_, max_));
  const bool changed = clamped != value_;
  value_ = clamped;
  UpdateRects();
  if (changed) dialog_->SendEvent(GuiEventSliderChanged, false, this);
}

void CDXUTSlider::SetValueWithEvent(int value, bool by_user, bool send) {
  value = std::clamp(value, min_, std::max(min_, max_));
  if (value == value_) {
    UpdateRects();
    return;
  }
  value_ = value;
  UpdateRects();
  if (send) dialog_->SendEvent(GuiEventSliderChanged, by_user, this);
}

bool CDXUTSlider::HandleKeyboard(std::uint32_t msg, WParam key, LParam) {
  if (!enabled_ || !visible_ || msg != WM_KEYDOWN) return false;
  switch (key) {
    case VK_PRIOR:  // page keys step like the arrows
    case VK_LEFT:
    case VK_UP:
      SetValueWithEvent(value_ - 1, true, true);
      return true;
    case VK_NEXT:
    case VK_RIGHT:
    case VK_DOWN:
      SetValueWithEvent(value_ + 1, true, true);
      return true;
    case VK_END:
      SetValueWithEvent(max_, true, true);
      return true;
    case VK_HOME:
      SetValueWithEvent(min_, true, true);
      return true;
    default:
      return false;
  }
}

bool CDXUTSlider::HandleMouse(std::uint32_t msg, int x, int y, WParam, LParam) {
  if (!enabled_ || !visible_) return false;
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (thumb_.Contains(x, y)) {
        pressed_ = true;
        SetMouseCapture();
        drag_x_ = x;
        drag_offset_ = thumb_x_ - x;
        if (!has_focus_) CDXUTDialog::RequestFocus(this);
        return true;
      }
      if (bounding_box_.Contains(x, y)) {
        const int thumb_at = thumb_x_ + x_;
        if (x - 5 > thumb_at) {
          SetValueWithEvent(value_ + 1, true, true);
          return true;
        }
        if (x - 5 < thumb_at) {
          SetValueWithEvent(value_ - 1, true, true);
          return true;
        }
      }
      return false;
    case WM_MOUSEMOVE:
      if (!pressed_) return false;
      SetValueWithEvent(ValueFromPos(static_cast<int>(drag_offset_ + x_ + x - 5.0)), true, true);
      return true;
    case WM_LBUTTONUP:
      if (!pressed_) return false;
      pressed_ = false;
      ReleaseMouseCapture();
      CDXUTDialog::ClearFocus();
      // The end of a drag is always reported, so owners can act once on the final value.
      dialog_->SendEvent(GuiEventSliderChanged, true, this);
      return true;
    default:
      return false;
  }
}

void CDXUTSlider::Render(float elapsed) {
  eControlState state = kStateNormal;
  if (!visible_) {
    state = kStateHidden;
  } else if (!enabled_) {
    state = kStateDisabled;
  } else if (pressed_) {
    state = kStatePressed;
  } else if (mouse_over_) {
    state = kStateMouseOver;
  } else if (has_focus_) {
    state = kStateFocus;
  }
  const float rate = state == kStatePressed ? 0.0f : 0.8f;
  const Rect& box = bounding_box_;
  int cap = kCapWidth;
  int middle = box.width() - 2 * kCapWidth;
  if (box.width() <= 2 * kCapWidth) {
    cap = box.width() / 2;
    middle = 0;
  }
  if (sSkinElement* left = GetElement(0)) {
    left->texture_color.Blend(state, elapsed, rate);
    dialog_->DrawSprite(left, {box.left, box.top, box.left + cap, box.bottom}, 0.2f);
  }
  if (sSkinElement* right = GetElement(2)) {
    right->texture_color.Blend(state, elapsed, rate);
    right->font_color.Blend(state, elapsed, rate);
    dialog_->DrawSprite(right, {box.left + cap + middle, box.top, box.left + 2 * cap + middle, box.bottom}, 0.2f);
  }
  if (sSkinElement* centre = GetElement(1)) {
    centre->texture_color.Blend(state, elapsed, rate);
    centre->font_color.Blend(state, elapsed, rate);
    if (middle > 0) dialog_->DrawSprite(centre, {box.left + cap, box.top, box.left + cap + middle, box.bottom}, 0.2f);
  }
  if (sSkinElement* thumb = GetElement(pressed_ ? 4 : 3)) {
    thumb->texture_color.Blend(state, elapsed, rate);
    dialog_->DrawSprite(thumb, thumb_, 0.2f);
  }
}

}  // namespace tr
