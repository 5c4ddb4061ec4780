// The help page of the game's hotkeys.
#include "dialogs/small_dialog_parts.h"
#include "dialogs/small_dialogs.h"
#include "foundation/string_base.h"
#include "gui/list_box.h"

namespace tr {
namespace {

constexpr const char16_t* kHotkeyRows[] = {
    u"F1|Preferences",
    u"F2|Show/hide grid",
    u"F3|Show/hide weather",
    u"F4|Show/hide city names",
    u"F5|Show/hide AP left",
    u"F6|Change border draw mode",
    u"F7|Change hex ownership draw mode",
    u"Esc|Save/Menu Options",
    u"+|Zoom in",
    u"-|Zoom out",
    u"Arrows|Move view",
    u"P|Open purchase window",
    u"C|Open convoys manager",
    u"T|Open research window",
    u"R|Open reports window",
    u"U|Open unit manager",
    u"Q|End turn",
    u"I|Open hotkey window",
    u"Tab|Show next active unit",
};

}  // namespace

cDialogSkrotowKlawiszowych::cDialogSkrotowKlawiszowych() : cDialog(kDialogId, DialogRecord(kDialogId)) {
  AddStaticAt(kTitle, u"Hotkeys");
  CDXUTListBox* list = nullptr;
  if (Succeeded(AddListBoxAt(kList, 0, &list))) list->SetColumns(2, u"Hotkey|Description", 20, 80);
  AddButtonAt(kExitButton, GetText("exit"), GetText("return_to_map"));
  FillList();
}

void cDialogSkrotowKlawiszowych::FillList() {
  auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kList, kControlListBox));
  if (list == nullptr) return;
  list->RemoveAllItems();
  for (const char16_t* row : kHotkeyRows) list->AddItem(row, 0);
}

void cDialogSkrotowKlawiszowych::OnGUIEvent(std::uint32_t, int controlId, CDXUTControl*) {
  if (controlId == kExitButton) CloseAnsweredDialog(this, serial());
}

void cDialogSkrotowKlawiszowych::OnKeyboard(std::uint32_t key, bool down, bool) {
  if (down && (key == VK_RETURN || key == VK_ESCAPE)) PressButton(*this, kExitButton);
}

}  // namespace tr
