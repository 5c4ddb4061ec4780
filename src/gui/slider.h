// CDXUTSlider: a horizontal value slider with a draggable thumb.
#pragma once

#include "gui/control.h"

namespace tr {

class CDXUTSlider : public CDXUTControl {
 public:
  explicit CDXUTSlider(CDXUTDialog* dialog = nullptr);

  bool ContainsPoint(int x, int y) override;
  void UpdateRects() override;
  bool HandleKeyboard(std::uint32_t msg, WParam wparam, LParam lparam) override;
  bool HandleMouse(std::uint32_t msg, int x, int y, WParam wparam, LParam lparam) override;
  bool CanHaveFocus() override { return visible_ && enabled_; }
  void Render(float elapsed) override;

  // Clamps the value into the new range; a changed value is a non-user 0x501.
  void SetRange(int minimum, int maximum);
  // Clamps; an unchanged value sends nothing.
  void SetValueWithEvent(int value, bool by_user, bool send);
  void SetValue(int value) { SetValueWithEvent(value, false, false); }
  int GetValue() const { return value_; }
  int GetMinimum() const { return min_; }
  int GetMaximum() const { return max_; }
  // The value under a pointer x relative to the dialog.
  int ValueFromPos(int x) const;

  const Rect& GetThumbRect() const { return thumb_; }
  bool IsPressed() const { return pressed_; }

 private:
  int value_ = 50;
  int min_ = 0;
  int max_ = 100;
  int drag_x_ = 0;
  int drag_offset_ = 0;
  int thumb_x_ = 0;
  bool pressed_ = false;
  Rect thumb_;
};

}  // namespace tr
