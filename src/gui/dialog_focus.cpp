// Keyboard focus, which one control of all dialogs holds, and its cycling
// through the controls of a chain of dialogs.
#include "gui/dialog.h"
#include "platform/input.h"

namespace tr {
namespace {

constexpr int kMaxCycleSteps = 65535;
// A chain that does not lead back to its start must not hang the walk.
constexpr int kMaxChainHops = 1000;

}  // namespace

void CDXUTDialog::RequestFocus(CDXUTControl* control) {
  if (control == nullptr || s_focused == control || !control->CanHaveFocus()) return;
  if (s_focused != nullptr) s_focused->OnFocusOut();
  control->OnFocusIn();
  s_focused = control;
}

void CDXUTDialog::ClearFocus() {
  if (s_focused != nullptr) {
    s_focused->OnFocusOut();
    s_focused = nullptr;
  }
  ReleaseMouseCapture();
}

void CDXUTDialog::FocusDefaultControl() {
  for (const auto& control : controls_) {
    if (!control->IsDefault()) continue;
    if (s_focused != nullptr) s_focused->OnFocusOut();
    ReleaseMouseCapture();
    s_focused = control.get();
    s_focused->OnFocusIn();
    return;
  }
}

void CDXUTDialog::SetNextDialog(CDXUTDialog* next) {
  if (next == nullptr) next = this;
  next_dialog_ = next;
  next->prev_dialog_ = this;
}

CDXUTControl* CDXUTDialog::FirstControl() const {
  return controls_.empty() ? nullptr : controls_.front().get();
}

CDXUTControl* CDXUTDialog::LastControl() const {
  return controls_.empty() ? nullptr : controls_.back().get();
}

CDXUTControl* CDXUTDialog::GetNextControl(CDXUTControl* control) {
  CDXUTDialog* dialog = control->GetDialog();
  const int next = control->GetIndex() + 1;
  if (next < static_cast<int>(dialog->controls_.size())) return dialog->controls_[next].get();
  // After the last control: the first control of the next dialog that has any.
  CDXUTDialog* d = dialog->next_dialog_;
  for (int hops = 0; d->controls_.empty() && d != dialog && hops < kMaxChainHops; ++hops) {
    d = d->next_dialog_;
  }
  return d->FirstControl();
}

CDXUTControl* CDXUTDialog::GetPrevControl(CDXUTControl* control) {
  CDXUTDialog* dialog = control->GetDialog();
  const int prev = control->GetIndex() - 1;
  if (prev >= 0 && prev < static_cast<int>(dialog->controls_.size())) {
    return dialog->controls_[prev].get();
  }
  CDXUTDialog* d = dialog->prev_dialog_;
  for (int hops = 0; d->controls_.empty() && d != dialog && hops < kMaxChainHops; ++hops) {
    d = d->prev_dialog_;
  }
  return d->LastControl();
}

void CDXUTDialog::OnCycleFocus(bool forward) {
  if (s_focused == nullptr || s_focused->GetDialog() != this) return;
  CDXUTControl* control = s_focused;
  for (int step = 0; step < kMaxCycleSteps; ++step) {
    control = forward ? GetNextControl(control) : GetPrevControl(control);
    if (control == nullptr || control == s_focused) return;
    if (control->GetDialog()->keyboard_input_ && control->CanHaveFocus()) {
      s_focused->OnFocusOut();
      s_focused = control;
      s_focused->OnFocusIn();
      return;
    }
  }
}

}  // namespace tr
