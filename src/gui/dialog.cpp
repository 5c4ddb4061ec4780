// The dialog's control list, its state and the event plumbing.
#include "gui/dialog.h"

#include <algorithm>
#include <utility>

#include "gui/check_box.h"
#include "gui/dispatch_scope.h"
#include "gui/gui_hooks.h"
#include "gui/hint_box.h"
#include "platform/input.h"

namespace tr {

CDXUTControl* CDXUTDialog::s_focused = nullptr;
double CDXUTDialog::s_refresh_time = 0.0;
int CDXUTDialog::s_drag_anchor_x = 0;
int CDXUTDialog::s_drag_anchor_y = 0;
bool CDXUTDialog::s_drag_active = false;
bool CDXUTDialog::s_caption_pressed = false;

CDXUTDialog::CDXUTDialog() { InitDefaultElements(); }

CDXUTDialog::~CDXUTDialog() {
  RemoveAllControls();
  // Leave the focus chain whole for the dialogs that stay.
  prev_dialog_->next_dialog_ = next_dialog_ == this ? prev_dialog_ : next_dialog_;
  next_dialog_->prev_dialog_ = prev_dialog_ == this ? next_dialog_ : prev_dialog_;
}

CDXUTControl* CDXUTDialog::GetControl(int id) const {
  for (const auto& control : controls_) {
    if (control->GetID() == id) return control.get();
  }
  return nullptr;
}

CDXUTControl* CDXUTDialog::GetControlOfType(int id, eControlType type) const {
  for (const auto& control : controls_) {
    if (control->GetID() == id && control->GetType() == type) return control.get();
  }
  return nullptr;
}

CDXUTControl* CDXUTDialog::GetControlAtPoint(int x, int y) const {
  if (!visible_ || minimized_) return nullptr;
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    CDXUTControl* control = it->get();
    if (control->GetVisible() && control->ContainsPoint(x, y)) return control;
  }
  return nullptr;
}

// Every pointer the toolkit keeps to a control is cleared before it goes.
void CDXUTDialog::ForgetControl(CDXUTControl* control) {
  if (s_focused == control) {
    s_focused->OnFocusOut();
    s_focused = nullptr;
  }
  ReleaseMouseCapture();
  if (control_under_mouse_ == control) {
    control_under_mouse_ = nullptr;
    GetHintBox().SetControl(nullptr);
  }
  if (GetHintBox().GetControl() == control) GetHintBox().SetControl(nullptr);
}

void CDXUTDialog::RemoveControl(int id) {
  auto it = std::find_if(controls_.begin(), controls_.end(),
                         [id](const auto& control) { return control->GetID() == id; });
  if (it == controls_.end()) return;
  ForgetControl(it->get());
  controls_.erase(it);
  // Focus cycling walks by index, so the indices follow the list.
  for (std::size_t i = 0; i < controls_.size(); ++i) controls_[i]->SetIndex(static_cast<int>(i));
}

void CDXUTDialog::RemoveAllControls() {
  for (const auto& control : controls_) ForgetControl(control.get());
  controls_.clear();
}

void CDXUTDialog::SetControlEnabled(int id, bool enabled) {
  if (CDXUTControl* control = GetControl(id)) control->SetEnabled(enabled);
}

bool CDXUTDialog::GetControlEnabled(int id) const {
  CDXUTControl* control = GetControl(id);
  return control != nullptr && control->GetEnabled();
}

void CDXUTDialog::ClearRadioButtonGroup(int group, bool send_event) {
  for (const auto& control : controls_) {
    if (control->GetType() != kControlRadioButton) continue;
    auto* radio = static_cast<CDXUTRadioButton*>(control.get());
    if (radio->GetButtonGroup() == group) radio->SetCheckedState(false, false, false, send_event);
  }
}

void CDXUTDialog::EnableMouseInput(bool enable) {
  if (!enable) GetHintBox().SetControl(nullptr);
  mouse_input_ = enable;
}

void CDXUTDialog::ForgetControlUnderMouse() {
  if (control_under_mouse_ == nullptr) return;
  control_under_mouse_->OnMouseLeave();
  if (GetHintBox().GetControl() == control_under_mouse_) GetHintBox().SetControl(nullptr);
  control_under_mouse_ = nullptr;
}

void CDXUTDialog::SetVisible(bool visible) {
  if (visible_ && !visible && control_under_mouse_ != nullptr &&
      GetHintBox().GetControl() == control_under_mouse_) {
    GetHintBox().SetControl(nullptr);
  }
  visible_ = visible;
}

void CDXUTDialog::SetCaptionText(std::u16string_view text) {
  caption_.assign(text.substr(0, 255));
}

void CDXUTDialog::SetBackgroundColors(std::uint32_t top_left, std::uint32_t top_right,
                                      std::uint32_t bottom_left, std::uint32_t bottom_right) {
  background_[0] = top_left;
  background_[1] = top_right;
  background_[2] = bottom_left;
  background_[3] = bottom_right;
}

void CDXUTDialog::SendEvent(std::uint32_t event, bool by_user, CDXUTControl* control,
                            bool play_sound) {
  if (!callback_) return;
  if (!by_user && !non_user_events_) return;
  DispatchScope scope;
  const int id = control != nullptr ? control->GetID() : 0;
  if (by_user && play_sound) CallGuiSoundHook(event, id, control);
  // A copy: the callback may replace itself or close this dialog.
  Callback callback = callback_;
  callback(event, id, control);
}

void CDXUTDialog::Refresh() {
  if (s_focused != nullptr) s_focused->OnFocusOut();
  if (control_under_mouse_ != nullptr) control_under_mouse_->OnMouseLeave();
  s_focused = nullptr;
  control_under_mouse_ = nullptr;
  GetHintBox().SetControl(nullptr);
  for (const auto& control : controls_) control->Refresh();
  if (keyboard_input_) FocusDefaultControl();
}

void CDXUTDialog::ResetLayoutDrag() {
  s_drag_active = false;
  s_drag_anchor_x = 0;
  s_drag_anchor_y = 0;
}

void CDXUTDialog::DestroyAfterDispatch(std::unique_ptr<CDXUTDialog> dialog) {
  DispatchScope::Destroy(std::move(dialog));
}

}  // namespace tr
