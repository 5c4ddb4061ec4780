#include "gui/scroll_bar.h"

#include <algorithm>

#include "gui/dialog.h"
#include "gui/gui_clock.h"
#include "platform/input.h"

namespace tr {
namespace {

constexpr double kFirstRepeatDelay = 0.33;
constexpr double kRepeatInterval = 0.05;
constexpr int kMinThumbHeight = 8;

}  // namespace

bool CDXUTScrollBar::s_dragging = false;
int CDXUTScrollBar::s_thumb_offset = 0;

CDXUTScrollBar::CDXUTScrollBar(CDXUTDialog* dialog) : CDXUTControl(dialog) { type_ = kControlScrollBar; }

void CDXUTScrollBar::Clamp() {
  // The last page ends exactly at the last item.
  if (position_ < start_ || end_ - start_ <= page_size_) {
    position_ = start_;
  } else if (position_ + page_size_ > end_) {
    position_ = end_ - page_size_;
  }
}

void CDXUTScrollBar::SetTrackRange(int start, int end) {
  start_ = start;
  end_ = end;
  Clamp();
  UpdateThumbRect();
}

void CDXUTScrollBar::SetPageSize(int page) {
  page_size_ = page;
  Clamp();
  UpdateThumbRect();
}

void CDXUTScrollBar::Scroll(int delta) {
  position_ += delta;
  Clamp();
  UpdateThumbRect();
}

void CDXUTScrollBar::ShowItem(int index) {
  // An empty range shows item 0, never a row above the first.
  index = std::max(0, std::min(index, end_ - 1));
  if (position_ > index) {
    position_ = index;
  } else if (position_ + page_size_ <= index) {
    position_ = index - page_size_ + 1;
  }
  UpdateThumbRect();
}

void CDXUTScrollBar::UpdateThumbRect() {
  const int range = end_ - start_;
  if (range > page_size_) {
    const int track_height = track_.height();
    const int thumb_height = std::max(track_height * page_size_ / range, kMinThumbHeight);
    thumb_.top = track_.top + (position_ - start_) * (track_height - thumb_height) / (range - page_size_);
    thumb_.bottom = thumb_.top + thumb_height;
    show_thumb_ = true;
  } else {
    thumb_.bottom = thumb_.top;
    show_thumb_ = false;
  }
}

void CDXUTScrollBar::UpdateRects() {
  CDXUTControl::UpdateRects();
  const Rect& box = bounding_box_;
  up_arrow_ = {box.left, box.top, box.right, box.top + box.width()};
  down_arrow_ = {box.left, box.bottom - box.width(), box.right, box.bottom};
  track_ = {up_arrow_.left, up_arrow_.bottom, down_arrow_.right, down_arrow_.top};
  thumb_.left = up_arrow_.left;
  thumb_.right = up_arrow_.right;
  UpdateThumbRect();
}

bool CDXUTScrollBar::HandleMouse(std::uint32_t msg, int x, int y, WParam, LParam) {
  if (thumb_.top == thumb_.bottom) return false;
  last_mouse_x_ = x;
  last_mouse_y_ = y;
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetMouseCapture();
      if (up_arrow_.Contains(x, y)) {
        if (position_ > start_) --position_;
        UpdateThumbRect();
        arrow_state_ = kUpClicked;
        arrow_time_ = GuiClockSeconds();
        return true;
      }
      if (down_arrow_.Contains(x, y)) {
        if (position_ + page_size_ < end_) ++position_;
        UpdateThumbRect();
        arrow_state_ = kDownClicked;
        arrow_time_ = GuiClockSeconds();
        return true;
      }
      if (thumb_.Contains(x, y)) {
        s_dragging = true;
        s_thumb_offset = y - thumb_.top;
        return true;
      }
      if (x >= thumb_.left && x < thumb_.right) {
        if (y < thumb_.top && y >= track_.top) {
          Scroll(-(page_size_ - 1));
          return true;
        }
        if (y >= thumb_.bottom && y < track_.bottom) {
          Scroll(page_size_ - 1);
          return true;
        }
      }
      return false;
    case WM_LBUTTONUP:
      s_dragging = false;
      ReleaseMouseCapture();
      UpdateThumbRect();
      arrow_state_ = kArrowClear;
      return false;
    case WM_MOUSEMOVE: {
      if (!s_dragging) return false;
      const int height = thumb_.height();
      thumb_.top = std::clamp(y - s_thumb_offset, track_.top, std::max(track_.top, track_.bottom - height));
      thumb_.bottom = thumb_.top + height;
      const int max_first = end_ - start_ - page_size_;
      const int max_thumb = track_.height() - height;
      // A track no taller than the thumb has nowhere to move it.
      if (max_first <= 0 || max_thumb <= 0) {
        position_ = start_;
        return true;
      }
      // The half-row shift keeps the last row reachable.
      position_ = start_ + (thumb_.top - track_.top + max_thumb / (max_first * 2)) * max_first / max_thumb;
      return true;
    }
    default:
      return false;
  }
}

void CDXUTScrollBar::RepeatArrow(double now) {
  if (arrow_state_ == kArrowClear) return;
  const double waited = now - arrow_time_;
  if (up_arrow_.Contains(last_mouse_x_, last_mouse_y_)) {
    if (arrow_state_ == kUpClicked && waited > kFirstRepeatDelay) {
      Scroll(-1);
      arrow_state_ = kUpHeld;
      arrow_time_ = now;
    } else if (arrow_state_ == kUpHeld && waited > kRepeatInterval) {
      Scroll(-1);
      arrow_time_ = now;
    }
  } else if (down_arrow_.Contains(last_mouse_x_, last_mouse_y_)) {
    if (arrow_state_ == kDownClicked && waited > kFirstRepeatDelay) {
      Scroll(1);
      arrow_state_ = kDownHeld;
      arrow_time_ = now;
    } else if (arrow_state_ == kDownHeld && waited > kRepeatInterval) {
      Scroll(1);
      arrow_time_ = now;
    }
  }
}

void CDXUTScrollBar::Render(float elapsed) {
  RepeatArrow(GuiClockSeconds());
  eControlState state = kStateNormal;
  if (!visible_) {
    state = kStateHidden;
  } else if (!enabled_ || !show_thumb_) {
    state = kStateDisabled;
  } else if (mouse_over_) {
    state = kStateMouseOver;
  } else if (has_focus_) {
    state = kStateFocus;
  }
  static constexpr int kOrder[4] = {1, 0, 2, 3};
  const Rect* rects[4] = {&track_, &up_arrow_, &down_arrow_, &thumb_};
  for (int k = 0; k < 4; ++k) {
    sSkinElement* element = GetElement(kOrder[k]);
    if (element == nullptr) continue;
    element->texture_color.Blend(state, elapsed, 0.8f);
    dialog_->DrawSprite(element, *rects[k], 0.2f);
  }
}

}  // namespace tr
