// CDXUTButton: a push button with a three-slice face and a centred label.
#pragma once

#include "gui/static.h"

namespace tr {

class CDXUTButton : public CDXUTStatic {
 public:
  explicit CDXUTButton(CDXUTDialog* dialog = nullptr);

  bool HandleKeyboard(std::uint32_t msg, WParam wparam, LParam lparam) override;
  bool HandleMouse(std::uint32_t msg, int x, int y, WParam wparam, LParam lparam) override;
  bool CanHaveFocus() override { return visible_ && enabled_; }
  void OnHotkey() override;
  // Hit-tested whether enabled or not; the dialog routes only to enabled ones.
  bool ContainsPoint(int x, int y) override { return bounding_box_.Contains(x, y); }
  void Render(float elapsed) override;

  bool IsPressed() const { return pressed_; }

 protected:
  void Click();

  bool pressed_ = false;
};

// Draws a horizontal three-slice: caps of cap_width (halved, with no middle,
// when the width cannot hold both) and a stretched middle. Returns the element
// drawn last, the one a label is written with.
sSkinElement* DrawThreeSlice(CDXUTDialog* dialog, const Rect& box, int cap_width,
                             sSkinElement* left, sSkinElement* middle, sSkinElement* right,
                             float depth);

}  // namespace tr
