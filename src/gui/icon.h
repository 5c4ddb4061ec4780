// CDXUTIcon: a clickable picture cut from the dialog's skin texture, with
// separate pictures for disabled, normal and mouse-over.
#pragma once

#include "gui/control.h"

namespace tr {

class CDXUTIcon : public CDXUTControl {
 public:
  explicit CDXUTIcon(CDXUTDialog* dialog = nullptr);

  bool HandleKeyboard(std::uint32_t msg, WParam wparam, LParam lparam) override;
  bool HandleMouse(std::uint32_t msg, int x, int y, WParam wparam, LParam lparam) override;
  bool CanHaveFocus() override { return visible_ && enabled_; }
  void OnHotkey() override;
  void Render(float elapsed) override;

  // The disabled picture; the normal and mouse-over ones are the next two below it.
  void SetSkinRects(const Rect& disabled);
  void SetSkinRects(const Rect& disabled, const Rect& normal, const Rect& mouse_over);
  const Rect& GetSkinRect(int which) const { return skin_[which]; }
  bool IsPressed() const { return pressed_; }

 private:
  Rect skin_[3];  // disabled, normal, mouse over
  bool pressed_ = false;
};

}  // namespace tr
