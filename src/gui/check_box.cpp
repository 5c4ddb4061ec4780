#include "gui/check_box.h"

#include "gui/dialog.h"
#include "gui/press_logic.h"

namespace tr {
namespace {

constexpr PressRules kCheckRules{.focus_only_with_keyboard = true, .clear_focus_on_release = false};

}  // namespace

CDXUTCheckBox::CDXUTCheckBox(CDXUTDialog* dialog) : CDXUTButton(dialog) { type_ = kControlCheckBox; }

void CDXUTCheckBox::OnRelease() { SetCheckedState(!checked_, true, true); }

bool CDXUTCheckBox::HandleKeyboard(std::uint32_t msg, WParam wparam, LParam) {
  return HandlePressKey(*this, pressed_, msg, wparam, [this] { OnRelease(); });
}

bool CDXUTCheckBox::HandleMouse(std::uint32_t msg, int x, int y, WParam, LParam) {
  return HandlePressMouse(*this, pressed_, msg, x, y, kCheckRules, [this] { OnRelease(); });
}

void CDXUTCheckBox::OnHotkey() { SetCheckedState(!checked_, true, true); }

bool CDXUTCheckBox::ContainsPoint(int x, int y) {
  return bounding_box_.Contains(x, y) || box_rect_.Contains(x, y);
}

void CDXUTCheckBox::UpdateRects() {
  CDXUTButton::UpdateRects();
  box_rect_ = {bounding_box_.left, bounding_box_.top, bounding_box_.left + bounding_box_.height(),
               bounding_box_.bottom};
  text_rect_ = bounding_box_;
  text_rect_.left += static_cast<int>(1.25f * static_cast<float>(box_rect_.width()));
}

void CDXUTCheckBox::SetCheckedState(bool checked, bool by_user, bool send_event) {
  checked_ = checked;
  if (send_event) dialog_->SendEvent(GuiEventCheckChanged, by_user, this);
}

void CDXUTCheckBox::Render(float elapsed) {
  const eControlState state = PressableState(pressed_);
  sSkinElement* element = GetElement(checked_ ? 1 : 0);
  if (element == nullptr) return;
  element->texture_color.Blend(state, elapsed, 0.0f);
  element->font_color.Blend(state, elapsed, 0.0f);
  dialog_->DrawSprite(element, box_rect_, 0.2f);
  dialog_->DrawText(text_, element, text_rect_, true);
}

CDXUTRadioButton::CDXUTRadioButton(CDXUTDialog* dialog) : CDXUTCheckBox(dialog) {
  type_ = kControlRadioButton;
}

void CDXUTRadioButton::OnRelease() {
  // Unchecks the whole group, this button included, so the toggle always ends checked.
  dialog_->ClearRadioButtonGroup(button_group_, true);
  checked_ = !checked_;
  dialog_->SendEvent(GuiEventRadioChanged, true, this);
}

void CDXUTRadioButton::OnHotkey() { SetCheckedState(true, true, true, true); }

void CDXUTRadioButton::SetCheckedState(bool checked, bool clear_group, bool by_user, bool send_event) {
  if (checked && clear_group) dialog_->ClearRadioButtonGroup(button_group_, send_event);
  checked_ = checked;
  if (send_event) dialog_->SendEvent(GuiEventRadioChanged, by_user, this);
}

}  // namespace tr
