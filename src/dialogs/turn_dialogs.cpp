// The two small dialogs of the turn's hand-over: the end-of-turn
// confirmation and the banner that opens a human country's turn.
#include <utility>

#include "app/game_textures.h"
#include "app/modal_stack.h"
#include "app/sound.h"
#include "dialogs/small_dialog_parts.h"
#include "dialogs/small_dialogs.h"
#include "foundation/format.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "gui/check_box.h"
#include "gui/hint_box.h"
#include "gui/image.h"
#include "gui/static.h"
#include "world/gra.h"

namespace tr {
namespace {

std::function<void()>& EndHumanTurnAction() {
  static std::function<void()> action;
  return action;
}

}  // namespace

void SetEndHumanTurnAction(std::function<void()> action) { EndHumanTurnAction() = std::move(action); }

cDialogPotwKoncaTury::cDialogPotwKoncaTury() : cDialog(kDialogId, DialogRecord(kDialogId)) {
  AddDialogTitle(*this, 702, GetText("end_turn_title"));
  AddStaticAt(704, GetText("ent_turn_confirm_question"));
  AddKeyButton(*this, kYesButton, "end_turn_yes");
  AddKeyButton(*this, kNoButton, "end_turn_no");
  AddCheckBoxAt(kDontAskBox, GetText("end_turn_dont_ask"), GetText("end_turn_dont_ask_hint"), false);
}

void cDialogPotwKoncaTury::OnGUIEvent(std::uint32_t, int controlId, CDXUTControl*) {
  if (controlId == kNoButton) {
    CloseAnsweredDialog(this, serial());
    return;
  }
  if (controlId != kYesButton) return;
  auto* box = static_cast<CDXUTCheckBox*>(GetControlOfType(kDontAskBox, kControlCheckBox));
  DontConfirmEndTurn = box != nullptr && box->GetChecked();
  SettingsIni().SetBool("InterfaceSettings/ConfirmEndTurn", !DontConfirmEndTurn);
  SaveSettings();
  // Nothing of the dialog is touched once it is closed.
  CloseAnsweredDialog(this, serial());
  if (auto& endTurn = EndHumanTurnAction()) endTurn();
}

void cDialogPotwKoncaTury::OnKeyboard(std::uint32_t key, bool down, bool) {
  if (!down) return;
  if (key == VK_RETURN) PressButton(*this, kYesButton);
  if (key == VK_ESCAPE) PressButton(*this, kNoButton);
}

cDialogNowejTury::cDialogNowejTury(int countryId)
    : cDialog(kDialogId, DialogRecord(kDialogId)), countryId_(countryId) {
  const cCountry* country = gGame != nullptr ? gGame->GetCountry(countryId) : nullptr;
  const std::u16string name = country != nullptr ? country->name : std::u16string();
  AddDialogTitle(*this, kTitle, Format(GetText("new_turn_title_country%s"), name));
  // The picture is decoded already; the image only names it.
  Texture* flag = nullptr;
  if (country != nullptr) flag = const_cast<Texture*>(FindGameTexture(country->GetFlagTexture()));
  AddImageAt(kFlagImage, flag, Rect{0, 0, 128, 85});
}

void cDialogNowejTury::Render(float elapsed) {
  // The banner may be built on the worker; sound plays on the main thread only.
  if (!drumRollPlayed_) {
    drumRollPlayed_ = true;
    if (GetSoundEffect(kSoundDrumRoll) != nullptr) PlaySoundSlot(kSoundDrumRoll);
  }
  cDialog::Render(elapsed);
}

void cDialogNowejTury::OnKeyboard(std::uint32_t key, bool down, bool) {
  if (down && (key == VK_RETURN || key == VK_ESCAPE)) CloseAnsweredDialog(this, serial());
}

void cDialogNowejTury::OnMouse(bool, bool, bool, bool, bool, int, int, int) {
  if (GetHintBox().left_released_now()) CloseAnsweredDialog(this, serial());
}

}  // namespace tr
