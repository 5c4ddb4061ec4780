#include "gui/button.h"

#include "gui/dialog.h"
#include "gui/press_logic.h"

namespace tr {

CDXUTButton::CDXUTButton(CDXUTDialog* dialog) : CDXUTStatic(dialog) { type_ = kControlButton; }

void CDXUTButton::Click() { dialog_->SendEvent(GuiEventButtonClicked, true, this); }

bool CDXUTButton::HandleKeyboard(std::uint32_t msg, WParam wparam, LParam) {
  return HandlePressKey(*this, pressed_, msg, wparam, [this] { Click(); });
}

bool CDXUTButton::HandleMouse(std::uint32_t msg, int x, int y, WParam, LParam) {
  return HandlePressMouse(*this, pressed_, msg, x, y, PressRules{}, [this] { Click(); });
}

void CDXUTButton::OnHotkey() { Click(); }

sSkinElement* DrawThreeSlice(CDXUTDialog* dialog, const Rect& box, int cap_width,
                             sSkinElement* left, sSkinElement* middle, sSkinElement* right,
                             float depth) {
  const int width = box.width();
  const bool has_middle = width >= 2 * cap_width;
  const int cap = has_middle ? cap_width : width / 2;
  if (left != nullptr) dialog->DrawSprite(left, {box.left, box.top, box.left + cap, box.bottom}, depth);
  if (right != nullptr) {
    dialog->DrawSprite(right, {box.right - cap, box.top, box.right, box.bottom}, depth);
  }
  if (!has_middle) return right;
  if (middle != nullptr && width > 2 * cap) {
    dialog->DrawSprite(middle, {box.left + cap, box.top, box.right - cap, box.bottom}, depth);
  }
  return middle;
}

void CDXUTButton::Render(float elapsed) {
  const eControlState state = PressableState(pressed_);
  const float rate = pressed_ ? 0.0f : 0.8f;
  const int first = pressed_ ? 3 : 0;
  sSkinElement* slices[3];
  for (int i = 0; i < 3; ++i) {
    slices[i] = GetElement(first + i);
    if (slices[i] == nullptr) continue;
    slices[i]->texture_color.Blend(state, elapsed, rate);
    slices[i]->font_color.Blend(state, elapsed, rate);
  }
  sSkinElement* label = DrawThreeSlice(dialog_, bounding_box_, 5, slices[0], slices[1], slices[2], 0.2f);
  if (label != nullptr) dialog_->DrawText(text_, label, bounding_box_, false);
}

}  // namespace tr
