#include "dialogs/dialog_base.h"

#include <atomic>
#include <memory>

#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "gui/frame.h"

namespace tr {
namespace {

std::uint64_t NextSerial() {
  static std::atomic<std::uint64_t> counter{0};
  return ++counter;
}

}  // namespace

cDialog::cDialog(int dialogId, const Rect& xywh) : id(dialogId), serial_(NextSerial()) {
  if (dialogId > 0) {
    CDXUTFrame* frame = nullptr;
    // The frame is the handle by which layout editing drags the whole dialog.
    if (Succeeded(AddFrame(dialogId, xywh.left, xywh.top, xywh.right, xywh.bottom, 0, &frame))) {
      frame->SetDraggable(true);
    }
  }
  SetCallback(&DialogGuiEventCallback);
}

cDialog::cDialog(int dialogId) : id(dialogId), serial_(NextSerial()) {}

void cDialog::Render(float elapsed) { OnRender(elapsed); }

void cDialog::Destroy() {
  SetCallback({});
  if (TopDialog == this) TopDialog = nullptr;
  DestroyAfterDispatch(std::unique_ptr<CDXUTDialog>(this));
}

void cDialog::OnGUIEvent(std::uint32_t, int, CDXUTControl*) {}
void cDialog::OnKeyboard(std::uint32_t, bool, bool) {}
void cDialog::OnMouse(bool, bool, bool, bool, bool, int, int, int) {}
void cDialog::OnActivate() {}
void cDialog::OnTimerTick(float) {}

void cDialog::StartTimer(float seconds, int action) {
  timerSeconds = seconds;
  timerAction = action;
  timerPaused = 0;
}

void cDialog::TickTimer(float elapsed) {
  if (timerPaused != 0 || timerSeconds < 0.0f) return;
  timerSeconds -= elapsed;
  OnTimerTick(elapsed);
  if (timerSeconds > 0.0f) return;
  timerSeconds = -1.0f;
  switch (timerAction) {
    // Closing destroys this dialog: nothing of it may be touched afterwards.
    case kTimerClose: PopModalDialogs(1); return;
    case kTimerHide: SetVisible(false); return;
    case kTimerShow: SetVisible(true); return;
    default: return;
  }
}

}  // namespace tr
