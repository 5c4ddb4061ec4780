#include "dialogs/save_game_dialog.h"

#include "app/modal_stack.h"
#include "app/scenario_menu.h"
#include "dialogs/dialog_tekstowy.h"
#include "dialogs/small_dialog_parts.h"
#include "dialogs/small_dialogs.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/ini_file.h"
#include "foundation/string_base.h"
#include "gui/edit_box.h"
#include "gui/list_box.h"
#include "gui/static.h"
#include "platform/codes.h"
#include "scenario/save_game.h"
#include "world/gra.h"
#include "world/presentation.h"

namespace tr {
namespace {

constexpr char kThisFile[] = "save_game_dialog.cpp";

std::u16string EditText(const CDXUTDialog& dialog, int id) {
  auto* edit = static_cast<CDXUTEditBox*>(dialog.GetControlOfType(id, kControlEditBox));
  return edit != nullptr ? edit->GetText() : std::u16string();
}

}  // namespace

cDialogZapisuGry::cDialogZapisuGry() : cDialog(kDialogId, DialogRecord(kDialogId)) {
  if (gGame != nullptr && gGame->GetGameState() != kGamePaused) gGame->Pause();
  CDXUTStatic* title = nullptr;
  if (Succeeded(AddStaticAt(kTitle, GetText("save_game_title"), &title))) {
    title->SetTextElement(2);
    title->SetTextFormat(DT_CENTER | DT_VCENTER);
  }
  AddStaticAt(kListLabel, GetText("save_game_list"));
  CDXUTListBox* list = nullptr;
  // The turn's column is wide enough that its title keeps clear of the dividers.
  if (Succeeded(AddListBoxAt(kList, 0, &list))) {
    list->SetColumns(4, GetText("save_list_saved_game_columns"), 35, 36, 9, 20);
  }
  AddStaticAt(kNameLabel, GetText("save_game_new_name"));
  AddEditBoxAt(kNameEdit, GetText("save_game_default_name"), GetText("save_game_new_name_hint"));
  AddButtonAt(kSaveButton, GetText("save_game_save"), GetText("save_game_save_hint"));
  AddButtonAt(kExitButton, GetText("save_game_exit"), GetText("save_game_exit_hint"));
  FillSaves();
  SetVisible(true);
}

void cDialogZapisuGry::FillSaves() {
  auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kList, kControlListBox));
  if (list == nullptr) return;
  const int selected = list->GetSelectedIndex();
  list->RemoveAllItems();
  folders_.clear();
  // Sorted by name, so the list reads the same on every file system.
  for (const std::u16string& folder : ListGameFolders(u"data\\save")) ReadSaveInfo(folder);
  if (selected >= 0 && list->GetSize() > selected) list->SelectItem(selected, false);
}

void cDialogZapisuGry::ReadSaveInfo(std::u16string_view folderName) {
  auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kList, kControlListBox));
  if (list == nullptr) return;
  cIniFile info;
  if (!info.Load(u"data\\save\\" + std::u16string(folderName) + u"\\Info.ini")) return;
  const std::u16string name = info.GetString("General_" + StringBase().GetLanguage() + "/Name", u"Unknown name");
  const std::u16string row = Format(u"%s;%s;%i;%s", folderName, name, info.GetInt("Save/Turn", 1),
                                    info.GetString("Save/Date", u"--.--.-- --:--"));
  if (Failed(list->AddItem(row, static_cast<std::uint32_t>(folders_.size())))) return;
  folders_.emplace_back(folderName);
}

const std::u16string& cDialogZapisuGry::RowFolder(int row) const {
  static const std::u16string none;
  auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kList, kControlListBox));
  if (list == nullptr || row < 0 || row >= list->GetSize()) return none;
  const std::uint32_t index = list->GetItem(row)->data;
  return index < folders_.size() ? folders_[index] : none;
}

void cDialogZapisuGry::AskOverwrite(std::u16string_view name, bool force) {
  if (!force && SaveFolderExists(name)) {
    // The question names the save that would be replaced, as the list shows it.
    const std::u16string folder = SaveFolderPath(name);
    const std::u16string_view replaced = std::u16string_view(folder).substr(folder.rfind(u'\\') + 1);
    PushModalDialog(new cDialogPotwierdzenia(
        GetText("save_overwrite_title"), Format(GetText("save_overwrite_question_%s"), replaced),
        GetText("save_overwrite_yes"), GetText("save_overwrite_yes_hint"), GetText("save_overwrite_no"),
        GetText("save_overwrite_no_hint")));
    pendingOverwrite = 1;
    return;
  }
  Save(name, force);
}

void cDialogZapisuGry::Save(std::u16string_view name, bool silent) {
  if (gGame == nullptr || !gGame->saveContext) return;
  if (SaveFolderPath(name).empty()) {
    Presentation().PushTextDialog(GetText("save_game_title"), Format(GetText("save_game_name_refused_%s"), name),
                                  cDialogTekstowy::kDefaultLayoutBase);
    return;
  }
  bool saved = false;
  {
    GameLockGuard lock(kThisFile, __LINE__);
    saved = gGame->saveContext->SaveGame(name, silent);
  }
  if (!saved) {
    // A failed save leaves the one before it whole, if there was one.
    const char* key = SaveFolderExists(name) ? "save_game_failed_earlier_kept_%s_%s_%s"
                                             : "save_game_failed_no_earlier_%s_%s_%s";
    Presentation().PushTextDialog(GetText("save_game_title"),
                                  Format(GetText(key), name, SaveFailureReason(),
                                         SaveFailureRemedy(SaveFolderPath(name), GetText("save_then_save_again"))),
                                  cDialogTekstowy::kDefaultLayoutBase);
  }
}

void cDialogZapisuGry::OnGUIEvent(std::uint32_t, int controlId, CDXUTControl*) {
  switch (controlId) {
    case kList: {
      auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kList, kControlListBox));
      auto* edit = static_cast<CDXUTEditBox*>(GetControlOfType(kNameEdit, kControlEditBox));
      if (list == nullptr || edit == nullptr) return;
      const int row = list->GetSelectedIndex();
      if (row >= 0) edit->SetText(RowFolder(row));
      return;
    }
    case kSaveButton:
      AskOverwrite(EditText(*this, kNameEdit), false);
      FillSaves();
      return;
    case kExitButton:
      PopModalDialogs(1);
      if (gGame != nullptr) gGame->Resume();
      return;
    default:
      return;
  }
}

void cDialogZapisuGry::OnActivate() {
  if (pendingOverwrite == 1 && ConfirmResult == 1) {
    Save(EditText(*this, kNameEdit), false);
    FillSaves();
  }
  pendingOverwrite = 0;
}

}  // namespace tr
