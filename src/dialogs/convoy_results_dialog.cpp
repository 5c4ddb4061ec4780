#include "dialogs/convoy_results_dialog.h"

#include "app/game_textures.h"
#include "dialogs/small_dialog_parts.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "gui/image.h"
#include "gui/list_box.h"
#include "gui/memo.h"
#include "platform/codes.h"
#include "world/gra.h"

namespace tr {

cDialogWynikuKonwojow::cDialogWynikuKonwojow(cCountry* country)
    : cDialog(kDialogId, DialogRecord(kDialogId)), country_(country) {
  if (country != nullptr && gGame != nullptr) {
    const auto index = static_cast<std::size_t>(country->id - 1);
    if (country->id >= 1 && index < gGame->convoys.results.size()) results_ = gGame->convoys.results[index];
  }
  AddDialogTitle(*this, kTitle, GetText("convoys_result_title"));
  // Drawing only reads the picture.
  Texture* flag = country != nullptr ? const_cast<Texture*>(FindGameTexture(country->GetFlagTexture())) : nullptr;
  AddImageAt(kFlag, flag, Rect{0, 0, 128, 85});
  AddStaticAt(kListCaption, GetText("convoys_result_list"));
  CDXUTListBox* list = nullptr;
  if (Succeeded(AddListBoxAt(kList, 0, &list))) {
    list->SetColumns(7, GetText("convoys_result_list_columns"), 20, 20, 20, 6, 7, 7, 20);
    for (std::size_t i = 0; i < results_.size(); ++i) {
      const sConvoyResult& r = results_[i];
      list->AddItem(Format(u"%s;%s;%s;%i;%i;%i;%s", r.departureName, r.destinationName, r.result, r.pointsNeeded,
                           r.pointsCarried, r.pointsLost, r.kindText),
                    static_cast<std::uint32_t>(i));
    }
  }
  AddStaticAt(kDetailsCaption, GetText("convoys_result_details"));
  AddMemoAt(kDetails, u"");
  AddKeyButton(*this, kExitButton, "convoys_result_exit");
  if (list != nullptr && list->GetSize() > 0) {
    list->SelectItem(0, false);
    ShowDetailsOfSelection();
  }
}

void cDialogWynikuKonwojow::ShowDetailsOfSelection() {
  auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kList, kControlListBox));
  auto* details = static_cast<CDXUTMemo*>(GetControlOfType(kDetails, kControlMemo));
  if (list == nullptr || details == nullptr) return;
  const sListBoxItem* item = list->GetItem(list->GetSelectedIndex());
  if (item == nullptr || item->data >= results_.size()) return;
  details->SetText(results_[item->data].details);
}

void cDialogWynikuKonwojow::OnGUIEvent(std::uint32_t, int controlId, CDXUTControl*) {
  if (controlId == kList) {
    ShowDetailsOfSelection();
  } else if (controlId == kExitButton) {
    CloseAnsweredDialog(this, serial());
  }
}

void cDialogWynikuKonwojow::OnKeyboard(std::uint32_t key, bool down, bool) {
  if (down && (key == VK_RETURN || key == VK_ESCAPE)) CloseAnsweredDialog(this, serial());
}

}  // namespace tr
