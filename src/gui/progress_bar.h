// CDXUTProgressBar: a horizontal bar showing a value between a minimum and a maximum.
#pragma once

#include "gui/control.h"

namespace tr {

class CDXUTProgressBar : public CDXUTControl {
 public:
  explicit CDXUTProgressBar(CDXUTDialog* dialog = nullptr);

  bool CanHaveFocus() override { return visible_ && enabled_; }
  void UpdateRects() override;
  void Render(float elapsed) override;

  // Sets the range, then clamps the value into it.
  void SetRange(int minimum, int maximum);
  // Clamped into the range; sends no event.
  void SetValue(int value);
  int GetValue() const { return value_; }
  int GetMinimum() const { return minimum_; }
  int GetMaximum() const { return maximum_; }
  int GetBarLength() const { return bar_length_; }

 private:
  int value_ = 50;
  int minimum_ = 0;
  int maximum_ = 100;
  int bar_length_ = 0;
};

}  // namespace tr
