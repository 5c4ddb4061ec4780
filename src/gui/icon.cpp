#include "gui/icon.h"

#include "gui/dialog.h"
#include "gui/press_logic.h"

namespace tr {

CDXUTIcon::CDXUTIcon(CDXUTDialog* dialog) : CDXUTControl(dialog) { type_ = kControlIcon; }

void CDXUTIcon::SetSkinRects(const Rect& disabled) {
  const int h = disabled.height();
  SetSkinRects(disabled, OffsetRect(disabled, 0, h), OffsetRect(disabled, 0, 2 * h));
}

void CDXUTIcon::SetSkinRects(const Rect& disabled, const Rect& normal, const Rect& mouse_over) {
  skin_[0] = disabled;
  skin_[1] = normal;
  skin_[2] = mouse_over;
}

bool CDXUTIcon::HandleKeyboard(std::uint32_t msg, WParam wparam, LParam) {
  return HandlePressKey(*this, pressed_, msg, wparam, [this] { OnHotkey(); });
}

bool CDXUTIcon::HandleMouse(std::uint32_t msg, int x, int y, WParam, LParam) {
  return HandlePressMouse(*this, pressed_, msg, x, y, PressRules{}, [this] { OnHotkey(); });
}

void CDXUTIcon::OnHotkey() { dialog_->SendEvent(GuiEventButtonClicked, true, this); }

void CDXUTIcon::Render(float elapsed) {
  if (!visible_) return;
  const Rect& source = !enabled_ ? skin_[0] : (mouse_over_ && !pressed_) ? skin_[2] : skin_[1];
  const eControlState state = PressableState(pressed_);
  sSkinElement picture;
  picture.texture_index = 0;
  picture.texture_rect = source;
  picture.texture_color.states.fill(0xFFFFFFFFu);
  picture.texture_color.states[kStateNormal] = 0xDCFFFFFFu;
  picture.texture_color.Blend(state, elapsed, 0.0f);
  dialog_->DrawSprite(&picture, bounding_box_, 0.2f);
}

}  // namespace tr
