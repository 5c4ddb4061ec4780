#include "dialogs/diplomacy_panel.h"

#include <array>
#include <string>

#include "app/game_textures.h"
#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "dialogs/dialog_tekstowy.h"
#include "dialogs/elections_dialog.h"
#include "dialogs/small_dialogs.h"
#include "events/diplomacy.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "gui/button.h"
#include "gui/edit_box.h"
#include "gui/image.h"
#include "gui/list_box.h"
#include "gui/static.h"
#include "world/gra.h"
#include "world/hex.h"
#include "world/panstwo.h"

namespace tr {
namespace {

constexpr int kResultLayout = 684;
constexpr Rect kFlagSource{0, 0, 128, 85};

struct sField {
  int labelId;
  int fieldId;
  const char* labelKey;
};
// In the order they are made; each hint is the label's key with "_hint".
constexpr std::array<sField, 8> kFields = {{
    {609, cDiplomacyPanel::kCountryName, "panel_diplo_country"},
    {612, cDiplomacyPanel::kSocialUnrest, "panel_diplo_social_unrest"},
    {614, cDiplomacyPanel::kWarEconomy, "panel_diplo_war_economy"},
    {616, cDiplomacyPanel::kAlliance, "panel_diplo_alliance"},
    {618, cDiplomacyPanel::kAllianceEntry, "panel_diplo_alliance_entry"},
    {620, cDiplomacyPanel::kOrientation, "panel_diplo_orientation"},
    {622, cDiplomacyPanel::kZoneOfInfluence, "panel_diplo_zone_of_influence"},
    {624, cDiplomacyPanel::kPoliticalStrength, "panel_diplo_political_strength"},
}};

struct sButton {
  int id;
  const char* key;
};
constexpr std::array<sButton, 7> kButtons = {{
    {cDiplomacyPanel::kDeclareWar, "panel_diplo_declare_war"},
    {cDiplomacyPanel::kExternPressure, "panel_diplo_extern_pressure"},
    {cDiplomacyPanel::kCoupDetat, "panel_diplo_coupdetat"},
    {cDiplomacyPanel::kLowerWarEntry, "panel_diplo_lower_war_entry"},
    {cDiplomacyPanel::kRiseWarEntry, "panel_diplo_rise_war_entry"},
    {cDiplomacyPanel::kElections, "panel_diplo_elections"},
    {cDiplomacyPanel::kChangeOrientation, "panel_diplo_change_orientation"},
}};

constexpr std::array<const char*, 7> kAllianceKeys = {
    "diplomacy_country_neutral",        "diplomacy_country_allies",        "diplomacy_country_axis",
    "diplomacy_country_comintern",      "diplomacy_country_allies_leader", "diplomacy_country_axis_leader",
    "diplomacy_country_comintern_leader",
};

Rect PanelRect() {
  Rect xywh;
  if (Failed(CDXUTDialog::GetLayoutRect(cDiplomacyPanel::kPanelId, &xywh))) xywh = Rect{};
  return xywh;
}

std::u16string Key(const std::string& key) { return GetText(key); }

// A result box with the action's text.
void PushResult(std::u16string_view title, std::u16string_view text, int offset) {
  PushModalDialog(new cDialogTekstowy(text, title, kResultLayout), offset);
}

std::u16string AllianceName(const cCountry& country) {
  std::u16string name;
  country.GetAllianceName(name, false);
  return name;
}

std::u16string TargetAllianceName(const cCountry& country) {
  std::u16string name;
  country.GetTargetAllianceName(name, false);
  return name;
}

}  // namespace

cDiplomacyPanel* GetDiplomacyPanel() { return dynamic_cast<cDiplomacyPanel*>(gDiplomacyPanel); }

cDiplomacyPanel::cDiplomacyPanel() : cPanel(kPanelId, PanelRect()) {
  for (const sField& field : kFields) {
    AddTextField(this, field.fieldId, u"-", Key(std::string(field.labelKey) + "_hint"), field.labelId,
                 Key(field.labelKey));
    if (field.fieldId == kCountryName) {
      AddImageAt(kFlag, nullptr, kFlagSource, Key("panel_diplo_flag_hint"));
    }
  }
  AddStaticAt(kWarWithLabel, Key("panel_diplo_war_with"));
  AddListBoxAt(kWarList, 0);
  for (const sButton& button : kButtons) {
    AddButtonAt(button.id, Key(button.key), Key(std::string(button.key) + "_hint"));
  }
  Update();
}

void cDiplomacyPanel::SetField(int id, std::u16string_view text) {
  if (auto* field = static_cast<CDXUTEditBox*>(GetControlOfType(id, kControlEditBox))) field->SetText(text);
}

void cDiplomacyPanel::ShowButton(int id, bool shown) {
  if (CDXUTControl* button = GetControl(id)) button->SetVisible(shown);
}

void cDiplomacyPanel::Update() {
  const sHex* hex = gGame != nullptr ? gGame->playerControl.selectedHex : nullptr;
  shown_ = hex != nullptr ? hex->GetControllerCountry() : nullptr;
  acting_ = gGame != nullptr ? gGame->playerControl.currentCountry : nullptr;
  auto* flag = static_cast<CDXUTImage*>(GetControlOfType(kFlag, kControlImage));
  auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kWarList, kControlListBox));
  if (list != nullptr) list->RemoveAllItems();
  if (shown_ == nullptr) {
    for (const sButton& button : kButtons) ShowButton(button.id, false);
    if (flag != nullptr) flag->SetVisible(false);
    for (const sField& field : kFields) SetField(field.fieldId, u"-");
    return;
  }
  const cCountry& country = *shown_;
  if (flag != nullptr) {
    flag->SetVisible(true);
    // Drawing only reads the picture.
    flag->SetTexture(const_cast<Texture*>(FindGameTexture(country.GetFlagTexture())));
  }
  SetField(kCountryName, country.name);
  SetField(kSocialUnrest, Format(u"%.1f%%", static_cast<double>(country.socialUnrest)));
  SetField(kWarEconomy, Format(u"%.1f%%", static_cast<double>(country.warEconomy)));
  const bool knownAlliance = country.alliance >= 0 && country.alliance < static_cast<int>(kAllianceKeys.size());
  SetField(kAlliance, knownAlliance ? Key(kAllianceKeys[static_cast<std::size_t>(country.alliance)]) : u"-");
  SetField(kAllianceEntry, Format(u"%i%%", country.allianceEntry));
  std::u16string name;
  country.GetOrientationName(name, false);
  SetField(kOrientation, name);
  name.clear();
  country.GetZoneOfInfluenceName(name, false);
  SetField(kZoneOfInfluence, name);
  SetField(kPoliticalStrength, Format(u"%i", country.politicalStrength));

  if (list != nullptr && gGame != nullptr) {
    for (const auto& other : gGame->countries) {
      if (other.get() == shown_ || !other->isActive) continue;
      if (gGame->relations.IsAtWar(other->id, country.id)) {
        list->AddItem(other->name, static_cast<std::uint32_t>(other->id));
      }
    }
  }
  UpdateButtons();
}

void cDiplomacyPanel::UpdateButtons() {
  const bool own = shown_ == acting_;
  const int shown = shown_->id;
  const int acting = acting_ != nullptr ? acting_->id : 0;
  const auto apply = [this](int id, bool allowed, const std::u16string& text) {
    ShowButton(id, true);
    SetControlEnabled(id, allowed);
    if (CDXUTControl* button = GetControl(id)) button->SetHint(text);
  };
  for (int id : {kDeclareWar, kExternPressure, kCoupDetat}) ShowButton(id, !own);
  for (int id : {kLowerWarEntry, kRiseWarEntry, kElections, kChangeOrientation}) ShowButton(id, own);
  std::u16string text;
  if (own) {
    bool allowed = CanDelayAllianceEntry(shown, text);
    apply(kLowerWarEntry, allowed, text);
    text.clear();
    allowed = CanHasteAllianceEntry(shown, text);
    apply(kRiseWarEntry, allowed, text);
    text.clear();
    allowed = CanHoldElections(shown, text);
    apply(kElections, allowed, text);
    text.clear();
    allowed = CanChangeOrientation(shown, text);
    apply(kChangeOrientation, allowed, text);
    return;
  }
  // No acting country (the computer's phase): nothing can be done on its behalf.
  if (acting == 0) {
    for (int id : {kDeclareWar, kExternPressure, kCoupDetat}) SetControlEnabled(id, false);
    return;
  }
  bool allowed = CanDeclareWar(acting, shown, text);
  apply(kDeclareWar, allowed, text);
  text.clear();
  allowed = CanExertPressure(acting, shown, text);
  apply(kExternPressure, allowed, text);
  text.clear();
  allowed = CanStageCoupDetat(acting, shown, text);
  apply(kCoupDetat, allowed, text);
}

void cDiplomacyPanel::OnGUIEvent(std::uint32_t, int controlId, CDXUTControl*) {
  if (controlId >= 0 && controlId <= 5) {
    AfterChoice(controlId);
    return;
  }
  switch (controlId) {
    case kConfirmYes:
      if (pendingAction_ == kWarAwaitingConfirmation) {
        DeclareWarOnShown();
      } else {
        pendingAction_ = kNoAction;
        Update();
      }
      return;
    case kConfirmNo:
    case kChoiceCancelled:
      pendingAction_ = kNoAction;
      Update();
      return;
    default:
      break;
  }
  if (pendingAction_ != kNoAction || shown_ == nullptr) return;
  const int shown = shown_->id;
  const int acting = acting_ != nullptr ? acting_->id : 0;
  std::u16string text;
  switch (controlId) {
    case kDeclareWar: {
      if (acting == 0) return;
      pendingAction_ = kWarAwaitingConfirmation;
      auto* confirm = new cDialogPotwierdzenia(
          Key("diplomacy_declare_war_title"), Format(Key("diplomacy_declare_war_on_country_question"), shown_->name),
          Key("diplomacy_declare_war_yes"), Key("diplomacy_declare_war_yes_hint"), Key("diplomacy_declare_war_no"),
          Key("diplomacy_declare_war_no_hint"));
      confirm->owner = this;
      PushModalDialog(confirm, 0);
      return;
    }
    case kExternPressure:
      if (acting == 0) return;
      ExertPressure(acting, shown, text);
      PushResult(Key("diplomacy_extern_pressure_result_title"), text, 0);
      Update();
      return;
    case kCoupDetat:
      if (acting == 0) return;
      StageCoupDetat(acting, shown, text);
      PushResult(Key("diplomacy_coup_detat_result_title"), text, 0);
      Update();
      return;
    case kLowerWarEntry:
      DelayAllianceEntry(shown, text);
      PushResult(Key("diplomacy_delay_entry_result_title"), text, 0);
      Update();
      return;
    case kRiseWarEntry:
      HasteAllianceEntry(shown, text);
      PushResult(Key("diplomacy_delay_entry_result_title"), text, 0);
      Update();
      return;
    case kElections:
      if (shown_->orientation == kFirmDemocracy) {
        HoldElections(shown, kProAllied, text);
        PushResult(Key("diplomacy_elections_result_title"), text, 0);
        Update();
      } else {
        pendingAction_ = kElectionsChoiceOpen;
        OpenChoiceDialog(true);
      }
      return;
    case kChangeOrientation:
      if (shown_->orientation >= 0 && shown_->orientation <= 2) {
        ChangeOrientation(shown, shown_->orientation + 3, text);
        PushResult(Format(Key("diplomacy_change_orientation_of_country_title"), shown_->name), text, 0);
        Update();
      } else {
        OpenChoiceDialog(false);
      }
      return;
    default:
      return;
  }
}

void cDiplomacyPanel::DeclareWarOnShown() {
  pendingAction_ = kNoAction;
  if (shown_ == nullptr || acting_ == nullptr) {
    Update();
    return;
  }
  const cCountry& acting = *acting_;
  const cCountry& shown = *shown_;
  const int result = DeclareWar(acting.id, shown.id, true);
  std::u16string message;
  switch (result) {
    case 0:
      message = Format(Key("diplomacy_country_declare_war_on_country_unknown"), acting.name, shown.name);
      LogLine(message);
      break;
    case 1:
      message = Format(Key("diplomacy_country_declare_war_on_country"), acting.name, shown.name);
      break;
    case 2:
      message = Format(Key("diplomacy_country_declare_war_on_country_country_join_alliance"), acting.name, shown.name,
                       shown.name, TargetAllianceName(shown));
      break;
    case 3:
      message = Format(Key("diplomacy_country_declare_war_on_alliance"), acting.name, AllianceName(shown));
      break;
    case 4:
      message = Format(Key("diplomacy_country_declare_war_on_country_all_alliance_countries_at_war_with_country"),
                       acting.name, shown.name, AllianceName(acting), shown.name);
      break;
    case 5:
      message =
          Format(Key("diplomacy_country_declare_war_on_country_country_join_alliance_alliance_at_war_with_alliance"),
                 acting.name, shown.name, shown.name, TargetAllianceName(shown), TargetAllianceName(shown),
                 AllianceName(acting));
      break;
    case 6:
      message = Format(Key("diplomacy_country_declare_war_on_country_alliance_at_war_with_alliance"), acting.name,
                       shown.name, TargetAllianceName(shown), AllianceName(acting));
      break;
    default:
      message = Key("diplomacy_general_declare_war");
      break;
  }
  // Below the confirmation, which closes right after this answer.
  PushResult(Format(Key("diplomacy_declare_war_result_title"), shown.name), message, -1);
  Update();
}

void cDiplomacyPanel::AfterChoice(int orientation) {
  if (shown_ != nullptr) {
    std::u16string text;
    const std::u16string& name = shown_->name;
    if (pendingAction_ == kElectionsChoiceOpen) {
      HoldElections(shown_->id, orientation, text);
      PushResult(Format(Key("diplomacy_elections_in_country_title"), name), text, -1);
    } else {
      ChangeOrientation(shown_->id, orientation, text);
      PushResult(Format(Key("diplomacy_change_orientation_of_country_title"), name), text, -1);
    }
  }
  pendingAction_ = kNoAction;
  Update();
}

void cDiplomacyPanel::OpenChoiceDialog(bool elections) {
  auto* choice = new cDialogWyborow(shown_, elections);
  choice->owner = this;
  PushModalDialog(choice, 0);
}

void cDiplomacyPanel::Move(int dx, int dy) { MoveLayoutRange(kPanelId, kLastId, dx, dy); }

}  // namespace tr
