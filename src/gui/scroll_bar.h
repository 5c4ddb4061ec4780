// CDXUTScrollBar: the vertical scroll bar that list boxes, combo-box drop-downs
// and memos embed. It sends no events; its owner reads the position.
#pragma once

#include "gui/control.h"

namespace tr {

class CDXUTScrollBar : public CDXUTControl {
 public:
  explicit CDXUTScrollBar(CDXUTDialog* dialog = nullptr);

  void UpdateRects() override;
  bool HandleMouse(std::uint32_t msg, int x, int y, WParam wparam, LParam lparam) override;
  void Render(float elapsed) override;

  // Each applies the clamp rule and recomputes the thumb.
  void SetTrackRange(int start, int end);
  void SetPageSize(int page);
  void Scroll(int delta);
  // Scrolls the least distance that brings the item (clamped to the range) onto the page.
  void ShowItem(int index);
  void UpdateThumbRect();

  int GetTrackPos() const { return position_; }
  int GetPageSize() const { return page_size_; }
  int GetTrackStart() const { return start_; }
  int GetTrackEnd() const { return end_; }
  bool IsThumbShown() const { return show_thumb_; }
  const Rect& GetThumbRect() const { return thumb_; }
  const Rect& GetTrackRect() const { return track_; }
  const Rect& GetUpArrowRect() const { return up_arrow_; }
  const Rect& GetDownArrowRect() const { return down_arrow_; }
  int GetArrowState() const { return arrow_state_; }

  // Whether some scroll-bar thumb is being dragged (one at a time in the program).
  static bool IsThumbDragging() { return s_dragging; }

 private:
  enum ArrowState { kArrowClear = 0, kUpClicked, kDownClicked, kUpHeld, kDownHeld };

  void Clamp();
  void RepeatArrow(double now);

  bool show_thumb_ = true;
  Rect up_arrow_;
  Rect down_arrow_;
  Rect track_;
  Rect thumb_;
  int position_ = 0;
  int page_size_ = 1;
  int start_ = 0;
  int end_ = 1;
  int last_mouse_x_ = 0;
  int last_mouse_y_ = 0;
  int arrow_state_ = kArrowClear;
  double arrow_time_ = 0.0;

  static bool s_dragging;
  static int s_thumb_offset;
};

}  // namespace tr
