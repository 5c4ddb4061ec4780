// The three dialogs that answer through the result globals and their owner:
// the confirmation, the text input and the list choice.
#include "dialogs/small_dialogs.h"

#include "dialogs/small_dialog_parts.h"
#include "foundation/string_base.h"
#include "gui/button.h"
#include "gui/edit_box.h"
#include "gui/list_box.h"
#include "gui/static.h"

namespace tr {

std::uint8_t ConfirmResult = 0;
std::u16string InputText;
std::vector<std::uint32_t> ListChoice;

namespace {

// The owner hears the answer while this dialog is still the top; then it closes.
void Answer(cDialog& dialog, std::uint32_t event, int buttonId, CDXUTControl* control) {
  cDialog* self = &dialog;
  const std::uint64_t serial = dialog.serial();
  if (cDialog* owner = dialog.owner) owner->OnGUIEvent(event, buttonId, control);
  CloseAnsweredDialog(self, serial);
}

}  // namespace

cDialogPotwierdzenia::cDialogPotwierdzenia(std::u16string_view title, std::u16string_view question,
                                           std::u16string_view yesText, std::u16string_view yesHint,
                                           std::u16string_view noText, std::u16string_view noHint)
    : cDialog(kDialogId, DialogRecord(kDialogId)) {
  ConfirmResult = 0;
  AddDialogTitle(*this, 702, title);
  AddStaticAt(704, question);
  AddButtonAt(kYesButton, yesText, yesHint);
  AddButtonAt(kNoButton, noText, noHint);
}

void cDialogPotwierdzenia::OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) {
  if (controlId != kYesButton && controlId != kNoButton) return;
  ConfirmResult = controlId == kYesButton ? 1 : 0;
  Answer(*this, event, controlId, control);
}

void cDialogPotwierdzenia::OnKeyboard(std::uint32_t key, bool down, bool) {
  if (!down) return;
  if (key == VK_RETURN) PressButton(*this, kYesButton);
  if (key == VK_ESCAPE) PressButton(*this, kNoButton);
}

cDialogPobraniaTekstu::cDialogPobraniaTekstu(std::u16string_view title, std::u16string_view prompt,
                                             std::u16string_view initialText)
    : cDialog(kDialogId, DialogRecord(kDialogId)) {
  InputText.assign(initialText);
  AddDialogTitle(*this, 695, title);
  AddStaticAt(697, prompt);
  CDXUTEditBox* edit = nullptr;
  AddEditBoxAt(kEditBox, initialText, {}, &edit);
  AddKeyButton(*this, kOkButton, "get_text_dialog_ok");
  AddKeyButton(*this, kCancelButton, "get_text_dialog_cancel");
  if (edit != nullptr) RequestFocus(edit);
}

void cDialogPobraniaTekstu::OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) {
  if (controlId != kOkButton && controlId != kCancelButton) return;
  if (controlId == kOkButton) {
    if (auto* edit = static_cast<CDXUTEditBox*>(GetControlOfType(kEditBox, kControlEditBox))) {
      InputText = edit->GetText().substr(0, kInputTextLimit);
    }
  }
  Answer(*this, event, controlId, control);
}

void cDialogPobraniaTekstu::OnKeyboard(std::uint32_t key, bool down, bool) {
  if (!down) return;
  if (key == VK_RETURN) PressButton(*this, kOkButton);
  if (key == VK_ESCAPE) PressButton(*this, kCancelButton);
}

cDialogPobraniaListy::cDialogPobraniaListy(std::u16string_view title, std::u16string_view prompt)
    : cDialog(kDialogId, DialogRecord(kDialogId)) {
  AddDialogTitle(*this, 723, title);
  AddStaticAt(725, prompt);
  AddListBoxAt(kList, 0);
  AddKeyButton(*this, kOkButton, "get_list_dialog_ok");
  AddKeyButton(*this, kCancelButton, "get_list_dialog_cancel");
}

void cDialogPobraniaListy::OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) {
  if (controlId != kOkButton && controlId != kCancelButton) return;
  ListChoice.clear();
  if (controlId == kOkButton) {
    if (auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kList, kControlListBox))) {
      if (const sListBoxItem* item = list->GetItem(list->GetSelectedIndex())) ListChoice.push_back(item->data);
    }
  }
  Answer(*this, event, controlId, control);
}

void cDialogPobraniaListy::OnKeyboard(std::uint32_t key, bool down, bool) {
  if (!down) return;
  if (key == VK_RETURN) PressButton(*this, kOkButton);
  if (key == VK_ESCAPE) PressButton(*this, kCancelButton);
}

}  // namespace tr
