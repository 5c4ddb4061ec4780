#include "dialogs/combat_result_dialog.h"

#include <array>

#include "app/device_objects.h"
#include "app/game_textures.h"
#include "dialogs/small_dialog_parts.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "gui/button.h"
#include "gui/hint_box.h"
#include "gui/image.h"
#include "gui/memo.h"
#include "gui/static.h"
#include "gui/texture_holder.h"
#include "platform/codes.h"
#include "units/combat_result.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr std::array<const char*, 10> kTitleKeys = {
    "combatresult_land_battle_title",           "combatresult_air_fight_title",
    "combatresult_air_strike_land_title",       "combatresult_air_strike_sea_zone_title",
    "combatresult_nuclear_title",               "combatresult_recon_title",
    "combatresult_interception_title",          "combatresult_shore_bombardment_title",
    "combatresult_carrier_airstrike_land_title", "combatresult_carrier_airstrike_sea_zone_title",
};

struct sResultIcon {
  int top;  // of the 60 x 60 cell in the skin, whose left is 380
  const char* hint;
};
// Flags 1 to 7; flag 1 is the attacker's, the others the defender's.
constexpr std::array<sResultIcon, 7> kIcons = {{
    {150, "combatresult_att_killed_hint"},
    {150, "combatresult_def_killed_hint"},
    {210, "combatresult_def_surrenders_hint"},
    {270, "combatresult_def_retreats_hint"},
    {330, "combatresult_def_city_affected_hint"},
    {390, "combatresult_defport_affected_hint"},
    {450, "combatresult_def_naval_def_killed_hint"},
}};
constexpr int kIconLeft = 380;
constexpr int kIconCell = 60;
constexpr int kIconSize = 40;
constexpr int kIconGap = 5;

Rect LayoutXywh(int id) {
  Rect xywh;
  if (Failed(CDXUTDialog::GetLayoutRect(id, &xywh))) xywh = Rect{};
  return xywh;
}

Texture* FlagOf(int countryId) {
  const cCountry* country = gGame != nullptr ? gGame->GetCountry(countryId) : nullptr;
  if (country == nullptr) return nullptr;
  // Drawing only reads the picture.
  return const_cast<Texture*>(FindGameTexture(country->GetFlagTexture()));
}

}  // namespace

const char* CombatResultTitleKey(int kind) {
  if (kind < 0 || kind >= static_cast<int>(kTitleKeys.size())) return "combatresult_unknown_battle_title";
  return kTitleKeys[static_cast<std::size_t>(kind)];
}

cDialogWynikuWalki::cDialogWynikuWalki(const sCombatResult& result, float delayMs)
    : cDialog(kDialogId, DialogRecord(kDialogId)) {
  timerAction = kTimerClose;
  timerSeconds = delayMs / 1000.0f;
  // A negative delay never counts down.
  timerPaused = timerSeconds >= 0.0f ? 0 : 1;

  AddDialogTitle(*this, kTitle, GetText(CombatResultTitleKey(result.kind)));
  AddImageAt(kAttackerFlag, FlagOf(result.attackerCountry), Rect{0, 0, 128, 85});
  if (result.defenderCountry > 0) AddImageAt(kDefenderFlag, FlagOf(result.defenderCountry), Rect{0, 0, 128, 85});
  const std::u16string format = GetText("combat_result_main");
  AddMemoAt(kAttackerText, Format(format, result.attackerLossText, static_cast<double>(result.attackerLoss),
                                  result.attackerDetails));
  AddMemoAt(kDefenderText, Format(format, result.defenderLossText, static_cast<double>(result.defenderLoss),
                                  result.defenderDetails));

  Texture* skin = GlobalTextureRecord(kTextureGuiSkin).GetTexture();
  const auto addIcon = [&](int flag, int x, int y) {
    const sResultIcon& icon = kIcons[static_cast<std::size_t>(flag - 1)];
    CDXUTImage* image = nullptr;
    if (Failed(AddImage(kFirstIcon + flag - 1, skin,
                        Rect{kIconLeft, icon.top, kIconLeft + kIconCell, icon.top + kIconCell}, x, y, kIconSize,
                        kIconSize, 0, false, &image))) {
      return;
    }
    image->SetHint(GetText(icon.hint));
    // Enabled images are hit-tested, so they show their hints.
    image->SetEnabled(true);
  };
  const Rect attackerText = LayoutXywh(kAttackerText);
  if (result.flags[0] != 0) addIcon(1, attackerText.left, attackerText.top + attackerText.bottom + kIconGap);
  const Rect defenderText = LayoutXywh(kDefenderText);
  int x = defenderText.left;
  const int y = defenderText.top + defenderText.bottom + kIconGap;
  for (int flag = 2; flag <= 7; ++flag) {
    if (result.flags[static_cast<std::size_t>(flag - 1)] == 0) continue;
    addIcon(flag, x, y);
    x += flag == 2 ? 70 : 50;
  }

  CDXUTStatic* countdown = nullptr;
  if (Succeeded(AddStaticAt(kCountdown, GetText("combatresult_waiting_for_click"), &countdown))) {
    countdown->SetTextFormat(DT_CENTER | DT_VCENTER);
  }
  AddKeyButton(*this, kPauseButton, "combat_result_pause");
  AddKeyButton(*this, kCloseButton, "combat_result_close");
}

void cDialogWynikuWalki::OnTimerTick(float) {
  if (auto* countdown = static_cast<CDXUTStatic*>(GetControlOfType(kCountdown, kControlStatic))) {
    countdown->SetText(Format(GetText("combatresult_timeout"), static_cast<double>(timerSeconds)));
  }
}

void cDialogWynikuWalki::TogglePause() {
  const bool pausing = timerPaused == 0;
  timerPaused = pausing ? 1 : 0;
  const char* caption = pausing ? "combat_result_resume" : "combat_result_pause";
  const std::u16string hint = GetText(pausing ? "combat_result_resume_hint" : "combat_result_pause_hint");
  if (auto* button = static_cast<CDXUTButton*>(GetControlOfType(kPauseButton, kControlButton))) {
    button->SetText(GetText(caption));
    button->SetHint(hint);
  }
  GetHintBox().SetText(hint);
}

void cDialogWynikuWalki::OnKeyboard(std::uint32_t key, bool down, bool) {
  if (!down) return;
  if (key == VK_SPACE) {
    TogglePause();
  } else if (key == VK_RETURN || key == VK_ESCAPE) {
    CloseAnsweredDialog(this, serial());
  }
}

void cDialogWynikuWalki::OnGUIEvent(std::uint32_t, int controlId, CDXUTControl*) {
  if (controlId == kPauseButton) {
    TogglePause();
  } else if (controlId == kCloseButton) {
    CloseAnsweredDialog(this, serial());
  }
}

}  // namespace tr
