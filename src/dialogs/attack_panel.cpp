#include "dialogs/attack_panel.h"

#include <array>
#include <string>

#include "app/frame_utils.h"
#include "app/game_textures.h"
#include "app/input_routing.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "gui/edit_box.h"
#include "gui/image.h"
#include "gui/memo.h"
#include "units/attack.h"
#include "units/jednostka.h"
#include "world/gra.h"

namespace tr {
namespace {

struct sField {
  int labelId;
  int fieldId;
  const char* labelKey;
  const char* hintKey;
};
constexpr std::array<sField, 3> kAttackerFields = {{
    {466, cAttackPanel::kAttackerStrength, "attack_panel_att_strength", "attack_panel_att_strength_hint"},
    {468, cAttackPanel::kAttackModifier, "attack_panel_att_mod", "attack_panel_att_mod_hint"},
    {470, cAttackPanel::kAttack, "attack_panel_att_effective_strength", "attack_panel_att_effective_strength_hint"},
}};
constexpr std::array<sField, 3> kDefenderFields = {{
    {456, cAttackPanel::kDefenderStrength, "attack_panel_def_strength", "attack_panel_def_strength_hint"},
    {458, cAttackPanel::kDefenceModifier, "attack_panel_def_mod", "attack_panel_def_mod_hint"},
    {460, cAttackPanel::kDefence, "attack_panel_def_effective_strength", "attack_panel_def_effective_strength_hint"},
}};
constexpr Rect kFlagSource{0, 0, 128, 85};

Rect PanelRect() {
  Rect xywh;
  if (Failed(CDXUTDialog::GetLayoutRect(cAttackPanel::kPanelId, &xywh))) xywh = Rect{};
  return xywh;
}

void AddFields(cAttackPanel& panel, const std::array<sField, 3>& fields) {
  for (const sField& field : fields) {
    AddTextField(&panel, field.fieldId, u"-", GetText(field.hintKey), field.labelId, GetText(field.labelKey));
  }
}

// Shows the country's flag with its name as the hint, or hides the image.
void ShowFlag(CDXUTImage* image, const cCountry* country) {
  if (image == nullptr) return;
  image->SetVisible(country != nullptr);
  if (country == nullptr) return;
  // Drawing only reads the picture.
  image->SetTexture(const_cast<Texture*>(FindGameTexture(country->GetFlagTexture())));
  image->SetHint(country->name);
}

}  // namespace

cAttackPanel* GetAttackPanel() { return dynamic_cast<cAttackPanel*>(gAttackPanel); }

cAttackPanel::cAttackPanel() : cPanel(kPanelId, PanelRect()) {
  AddMemoWithLabel(*this, kAttackerNames, u"", 463, GetText("attack_panel_att_name"));
  if (CDXUTControl* memo = GetControl(kAttackerNames)) memo->SetHint(GetText("attack_panel_att_name_hint"));
  AddImageAt(kAttackerFlag, nullptr, kFlagSource);
  AddFields(*this, kAttackerFields);
  AddTextField(this, kDefenderName, u"-", GetText("attack_panel_def_name_hint"), 453, GetText("attack_panel_def_name"));
  if (auto* name = static_cast<CDXUTEditBox*>(GetControlOfType(kDefenderName, kControlEditBox))) {
    name->SetDisabledTextFormat(DT_VCENTER);
  }
  AddImageAt(kDefenderFlag, nullptr, kFlagSource);
  AddFields(*this, kDefenderFields);
  AddTextField(this, kOdds, u"-", GetText("attack_panel_def_column_hint"), 472, GetText("attack_panel_def_column"));
  Update();
}

void cAttackPanel::SetField(int id, std::u16string_view text, std::u16string_view hint, bool setHint) {
  auto* field = static_cast<CDXUTEditBox*>(GetControlOfType(id, kControlEditBox));
  if (field == nullptr) return;
  field->SetText(text);
  if (setHint) field->SetHint(hint);
}

void cAttackPanel::Update() {
  shownAttack_ = gGame != nullptr ? gGame->playerControl.GetPendingAttack() : nullptr;
  ShowAttackers(shownAttack_);
  ShowDefender(shownAttack_);
  const bool fought = shownAttack_ != nullptr && shownAttack_->CountAttackers() > 0 && shownAttack_->defender != nullptr;
  SetField(kOdds, fought ? Format(u"%i : 1", shownAttack_->GetOddsColumn()) : std::u16string(u"-"));
}

void cAttackPanel::ShowAttackers(const sAttack* attack) {
  auto* names = static_cast<CDXUTMemo*>(GetControlOfType(kAttackerNames, kControlMemo));
  auto* flag = static_cast<CDXUTImage*>(GetControlOfType(kAttackerFlag, kControlImage));
  if (attack == nullptr || attack->CountAttackers() == 0) {
    if (names != nullptr) names->SetText(u"");
    ShowFlag(flag, nullptr);
    SetField(kAttackerStrength, u"-");
    SetField(kAttackModifier, u"-", u"", true);
    SetField(kAttack, u"-");
    return;
  }
  std::u16string list;
  for (const cJednostka* unit : attack->attackers) {
    if (unit == nullptr) continue;
    if (!list.empty()) list += u",\n";
    list += unit->name;
  }
  if (names != nullptr) names->SetText(list);
  ShowFlag(flag, attack->GetFirstAttackerCountry());
  SetField(kAttackerStrength, Format(u"%.2f", attack->GetAttackersEffectiveStrength()));
  // Factors are read only with a defender: they weigh the attackers against it.
  if (attack->defender == nullptr) {
    SetField(kAttackModifier, u"-", u"", true);
    SetField(kAttack, u"-");
    return;
  }
  const float modifier = attack->GetAttackModifier();
  SetField(kAttackModifier, Format(u"%.0f%%", modifier * 100.0f),
           Format(u"Armour: %.0f%%\nDirections: %.0f%%\nWeather: %.0f%%\nFortification: %.0f%%",
                  attack->GetArmourFactor() * 100.0f, attack->GetDirectionsFactor() * 100.0f,
                  attack->GetAttackersWeatherFactor() * 100.0f, attack->GetFortificationFactor() * 100.0f),
           true);
  SetField(kAttack, Format(u"%.2f", attack->GetAttackersEffectiveStrength() * modifier));
}

void cAttackPanel::ShowDefender(const sAttack* attack) {
  auto* flag = static_cast<CDXUTImage*>(GetControlOfType(kDefenderFlag, kControlImage));
  if (attack == nullptr || attack->defender == nullptr) {
    SetField(kDefenderName, u"");
    ShowFlag(flag, nullptr);
    SetField(kDefenderStrength, u"-");
    SetField(kDefenceModifier, u"-", u"", true);
    SetField(kDefence, u"-");
    return;
  }
  const cJednostka& defender = *attack->defender;
  SetField(kDefenderName, defender.name);
  ShowFlag(flag, defender.GetOwnerCountry());
  const float strength = attack->GetDefenderEffectiveStrength();
  const float modifier = attack->GetDefenceModifier();
  SetField(kDefenderStrength, Format(u"%.2f", strength));
  SetField(kDefenceModifier, Format(u"%.0f%%", modifier * 100.0f),
           Format(u"Terrain: %.0f%%\nCity: %.0f%%\nWeather: %.0f%%\nEntrenchment: %.0f%%",
                  attack->GetTerrainFactor() * 100.0f, attack->GetCityFactor() * 100.0f,
                  attack->GetDefenderWeatherFactor() * 100.0f, attack->GetEntrenchmentFactor() * 100.0f),
           true);
  SetField(kDefence, Format(u"%.2f", strength * modifier));
}

void cAttackPanel::Move(int dx, int dy) { MoveLayoutRange(kPanelId, kLastId, dx, dy); }

}  // namespace tr
