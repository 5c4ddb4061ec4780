#include "dialogs/small_dialog_parts.h"

#include <algorithm>
#include <string>

#include "app/modal_stack.h"
#include "dialogs/dialog_base.h"
#include "foundation/game_lock.h"
#include "foundation/string_base.h"
#include "gui/static.h"

namespace tr {

Rect DialogRecord(int id) {
  Rect xywh;
  // A missing record is logged by the lookup and leaves an empty rectangle.
  if (Failed(CDXUTDialog::GetLayoutRect(id, &xywh))) xywh = Rect{};
  return xywh;
}

void AddDialogTitle(cDialog& dialog, int id, std::u16string_view text) {
  CDXUTStatic* title = nullptr;
  if (Failed(dialog.AddStaticAt(id, text, &title))) return;
  title->SetTextElement(1);
  title->SetTextFormat(DT_CENTER | DT_VCENTER);
}

void AddKeyButton(cDialog& dialog, int id, const char* key) {
  dialog.AddButtonAt(id, GetText(key), GetText(std::string(key) + "_hint"));
}

void PressButton(cDialog& dialog, int buttonId) {
  dialog.EnableNonUserEvents(true);
  dialog.SendEvent(GuiEventButtonClicked, false, dialog.GetControl(buttonId), true);
}

void CloseAnsweredDialog(cDialog* dialog, std::uint64_t serial) {
  GameLockGuard lock;
  // The pointer is only compared: the dialog may be gone already.
  const auto it = std::find_if(ModalDialogStack.begin(), ModalDialogStack.end(),
                               [&](const cDialog* d) { return d == dialog && d->serial() == serial; });
  if (it == ModalDialogStack.end()) return;
  if (TopDialog == dialog) {
    PopModalDialogs(1);
    return;
  }
  // The owner opened another dialog on top while it handled the answer: that
  // one stays the top and only the answered dialog leaves the stack.
  ModalDialogStack.erase(it);
  dialog->Destroy();
}

}  // namespace tr
