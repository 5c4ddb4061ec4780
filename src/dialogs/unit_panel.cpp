#include "dialogs/unit_panel.h"

#include <array>
#include <string>

#include "app/game_textures.h"
#include "app/input_routing.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "gui/edit_box.h"
#include "gui/icon.h"
#include "gui/image.h"
#include "units/jednostka_ladowa.h"
#include "world/city.h"
#include "world/commander.h"
#include "world/gra.h"
#include "world/hex.h"

namespace tr {
namespace {

struct sField {
  int labelId;
  int fieldId;
  const char* labelKey;
  const char* hintKey;
  bool leftAligned;
};
constexpr std::array<sField, 10> kFields = {{
    {353, cUnitPanel::kName, "unitpanel_name", "unitpanel_name_hint", true},
    {356, cUnitPanel::kOwner, "unitpanel_owner", "unitpanel_owner_hint", false},
    {359, cUnitPanel::kSize, "unitpanel_size", "unitpanel_size_hint", false},
    {362, cUnitPanel::kLevel, "unitpanel_level", "unitpanel_level_hint", false},
    {365, cUnitPanel::kSupply, "unitpanel_supply", "unitpanel_supply_hint", false},
    {368, cUnitPanel::kActionPoints, "unitpanel_ap", "unitpanel_ap_hint", false},
    {370, cUnitPanel::kCommander, "unitpanel_commander", "unitpanel_commander_hint", true},
    {373, cUnitPanel::kStrength, "unitpanel_strength", "unitpanel_strength_hint", false},
    {376, cUnitPanel::kEffectiveness, "unitpanel_effectiveness", "unitpanel_effectiveness_hint", false},
    {378, cUnitPanel::kBonus, "unitpanel_bonus", "unitpanel_bonus_hint", false},
}};

struct sIcon {
  int id;
  Rect skin;
};
constexpr std::array<sIcon, 16> kIcons = {{
    {cUnitPanel::kRename, {1240, 105, 1280, 145}},
    {cUnitPanel::kUpgrade, {1400, 105, 1440, 145}},
    {cUnitPanel::kLevelUp, {1440, 105, 1480, 145}},
    {cUnitPanel::kSupplySource, {1360, 105, 1400, 145}},
    {cUnitPanel::kCommanderIcon, {1280, 105, 1320, 145}},
    {cUnitPanel::kReinforce, {1320, 105, 1360, 145}},
    {cUnitPanel::kDisband, {1480, 105, 1520, 145}},
    {cUnitPanel::kUndo, {1520, 105, 1560, 145}},
    {cUnitPanel::kStrategicMove, {1440, 225, 1480, 265}},
    {cUnitPanel::kAirborneAssault, {1400, 225, 1440, 265}},
    {cUnitPanel::kAmphibiousTransport, {1240, 225, 1280, 265}},
    {cUnitPanel::kSeaTransport, {1320, 225, 1360, 265}},
    {cUnitPanel::kAirFight, {1520, 225, 1560, 265}},
    {cUnitPanel::kBombardment, {1480, 225, 1520, 265}},
    {cUnitPanel::kRecon, {1240, 345, 1280, 385}},
    {cUnitPanel::kNuclearStrike, {1360, 345, 1400, 385}},
}};
constexpr const char16_t* kDefaultPicture = u"data\\gfx\\Units images\\default.png";
constexpr Rect kPictureSource{0, 0, 256, 128};
constexpr Rect kFlagSource{0, 0, 128, 85};

Rect LayoutXywh(int id) {
  Rect xywh;
  if (Failed(CDXUTDialog::GetLayoutRect(id, &xywh))) xywh = Rect{};
  return xywh;
}

std::u16string CountryName(int id) {
  const cCountry* country = id != 0 && gGame != nullptr ? gGame->GetCountry(id) : nullptr;
  return country != nullptr ? country->name : std::u16string(u"-");
}

}  // namespace

cUnitPanel* GetUnitPanel() { return dynamic_cast<cUnitPanel*>(gUnitPanel); }

cUnitPanel::cUnitPanel() : cPanel(kPanelId, LayoutXywh(kPanelId)) {
  picture_.Load(std::u16string(kDefaultPicture), TextureHolder::kModeFile, 1);
  CDXUTImage* image = nullptr;
  if (Succeeded(AddImageAt(kPicture, picture_.GetTexture(), kPictureSource, {}, 0xFFFFFFFFu, &image))) {
    image->SetEnabled(true);
  }
  const auto addField = [this](const sField& field) {
    AddTextField(this, field.fieldId, u"-", GetText(field.hintKey), field.labelId, GetText(field.labelKey));
    if (!field.leftAligned) return;
    if (auto* edit = static_cast<CDXUTEditBox*>(GetControlOfType(field.fieldId, kControlEditBox))) {
      edit->SetDisabledTextFormat(DT_VCENTER);
    }
  };
  const auto addIcon = [this](int id) {
    for (const sIcon& icon : kIcons) {
      if (icon.id != id) continue;
      const Rect at = LayoutXywh(id);
      AddIcon(id, icon.skin, at.left, at.top, at.right, at.bottom);
    }
  };
  addField(kFields[0]);
  addIcon(kRename);
  addField(kFields[1]);
  CDXUTImage* flag = nullptr;
  if (Succeeded(AddImageAt(kFlag, nullptr, kFlagSource, {}, 0xFFFFFFFFu, &flag))) flag->SetVisible(false);
  addField(kFields[2]);
  addIcon(kUpgrade);
  addField(kFields[3]);
  addIcon(kLevelUp);
  addField(kFields[4]);
  addIcon(kSupplySource);
  addField(kFields[5]);
  addField(kFields[6]);
  addIcon(kCommanderIcon);
  addField(kFields[7]);
  addIcon(kReinforce);
  addField(kFields[8]);
  addField(kFields[9]);
  for (int id : {kDisband, kUndo, kStrategicMove, kAirborneAssault, kAmphibiousTransport, kSeaTransport, kAirFight,
                 kBombardment, kRecon, kNuclearStrike}) {
    addIcon(id);
  }
}

void cUnitPanel::SetField(int id, std::u16string_view text, std::u16string_view hint) {
  if (auto* field = static_cast<CDXUTEditBox*>(GetControlOfType(id, kControlEditBox))) {
    field->SetText(text);
    field->SetHint(hint);
  }
}

void cUnitPanel::SetIcon(int id, bool enabled, std::u16string_view hint) {
  if (CDXUTControl* icon = GetControlOfType(id, kControlIcon)) {
    icon->SetEnabled(enabled);
    icon->SetHint(hint);
  }
}

void cUnitPanel::Update() {
  const cJednostka* previous = shownUnit_;
  const int previousId = shownUnitId_;
  const sHex* hex = gGame != nullptr ? gGame->playerControl.selectedHex : nullptr;
  shownUnit_ = hex != nullptr ? dynamic_cast<cJednostka*>(hex->unit) : nullptr;

  const std::u16string noUnit = GetText("unitpanel_no_unit_selected");
  if (CDXUTControl* image = GetControl(kPicture)) image->SetVisible(false);
  if (CDXUTControl* flag = GetControl(kFlag)) flag->SetVisible(false);
  for (const sField& field : kFields) SetField(field.fieldId, u"-", noUnit);
  for (const sIcon& icon : kIcons) SetIcon(icon.id, false, noUnit);
  supplySourceX_ = supplySourceY_ = -1;

  shownUnitId_ = shownUnit_ != nullptr ? shownUnit_->id : -1;
  if (shownUnit_ == nullptr || shownUnit_->spotted == 0) return;
  cJednostka& unit = *shownUnit_;
  const cCountry* current = gGame->playerControl.currentCountry;
  const bool owned = current != nullptr && unit.owner == current->id;

  // A unit made where a freed one was is another unit.
  if (shownUnit_ != previous || unit.id != previousId) ShowPicture(unit);
  if (CDXUTControl* image = GetControl(kPicture)) image->SetVisible(true);

  SetField(kName, unit.name, GetText("unitpanel_name_hint"));
  if (owned) {
    SetIcon(kRename, true, GetText("unitpanel_rename_hint_allowed"));
  } else {
    SetIcon(kRename, false, GetText("unitpanel_rename_hint_not_owned"));
  }
  SetField(kOwner, CountryName(unit.owner), GetText("unitpanel_owner_hint"));
  if (auto* flag = static_cast<CDXUTImage*>(GetControlOfType(kFlag, kControlImage))) {
    if (const cCountry* owner = unit.GetOwnerCountry()) {
      flag->SetTexture(const_cast<Texture*>(FindGameTexture(owner->GetFlagTexture())));
    }
    flag->SetVisible(true);
  }

  std::u16string hint;
  SetField(kSize, GetUnitTypeName(unit.type), GetText("unitpanel_size_hint"));
  const bool upgrade = unit.GetUpgradeHint(&hint);
  SetIcon(kUpgrade, upgrade, hint);
  SetField(kLevel, Format(u"%i", unit.level), GetText("unitpanel_level_hint"));
  hint.clear();
  const bool levelUp = unit.GetLevelUpHint(&hint);
  SetIcon(kLevelUp, levelUp, hint);

  ShowSupply(unit);

  auto* land = dynamic_cast<cJednostkaLadowa*>(&unit);
  const std::u16string actionPoints = land != nullptr && land->freezeTime > 0 ? GetText("unitpanel_ap_frozen")
                                                                              : Format(u"%i", unit.actionPoints);
  SetField(kActionPoints, actionPoints, GetText("unitpanel_ap_hint"));
  std::u16string bonus = u"-";
  if (land != nullptr) {
    const float percent =
        static_cast<float>(land->trenchBonusMultiplier) * gGame->constants.EntrenchmentPercent();
    bonus = Format(u"%i%%", static_cast<int>(percent));
  }
  SetField(kBonus, bonus, GetText("unitpanel_bonus_hint"));

  ShowCommander(unit);

  SetField(kStrength,
           Format(u"%.1f (%.1f)", static_cast<double>(unit.GetStrengthValue()),
                  static_cast<double>(unit.GetEffectiveStrength())),
           GetText("unitpanel_strength_hint"));
  hint.clear();
  const bool reinforce = unit.GetStrengthIconHint(&hint);
  SetIcon(kReinforce, reinforce, hint);
  hint.clear();
  unit.GetEffectivenessHint(&hint);
  SetField(kEffectiveness, Format(u"%i%%", unit.combatValue), hint);

  ShowUndo(unit);
  ShowActionIcons(unit);
  SetIcon(kDisband, true, GetText("unitpanel_disband_icon_hint"));

  if (!owned) {
    const std::u16string notOwned = GetText("unitpanel_not_owned_unit");
    for (const sIcon& icon : kIcons) SetIcon(icon.id, false, notOwned);
  }
}

void cUnitPanel::ShowPicture(const cJednostka& unit) {
  const std::u16string tries[] = {
      Format(u"data\\gfx\\Units images\\%i_%i_%i.png", unit.type, unit.level, unit.owner),
      Format(u"data\\gfx\\Units images\\%i_%i.png", unit.type, unit.level),
      Format(u"data\\gfx\\Units images\\%i.png", unit.type),
      std::u16string(kDefaultPicture),
  };
  LoadFirstPicture(picture_, tries);
  if (auto* image = static_cast<CDXUTImage*>(GetControlOfType(kPicture, kControlImage))) {
    image->SetTexture(picture_.GetTexture());
  }
}

void cUnitPanel::ShowSupply(const cJednostka& unit) {
  std::u16string text;
  std::u16string hint;
  std::u16string iconHint;
  if (unit.supply == 0) {
    const int turns = gGame->constants.SupplyLossLimit();
    text = Format(GetText("unitpanel_supply_out_of_supply_more"), turns);
    hint = iconHint = Format(GetText("unitpanel_supply_out_of_supply_more_hint"), turns);
  } else if (unit.turnsWithoutSupply > 0) {
    text = Format(GetText("unitpanel_supply_out_of_supply"), unit.turnsWithoutSupply);
    hint = iconHint = Format(GetText("unitpanel_supply_out_of_supply_hint"), unit.turnsWithoutSupply);
  } else if (unit.supplySourceX != -1 && unit.supplySourceY != -1) {
    const sHex* source = gGame->map != nullptr && gGame->map->IsInside(unit.supplySourceX, unit.supplySourceY)
                             ? gGame->map->GetHex(unit.supplySourceX, unit.supplySourceY)
                             : nullptr;
    if (source == nullptr || source->city == nullptr) {
      text = u"-! BUG !-";
      hint = iconHint = Format(u"No city at given coordinates (%i, %i)", unit.supplySourceX, unit.supplySourceY);
    } else {
      supplySourceX_ = unit.supplySourceX;
      supplySourceY_ = unit.supplySourceY;
      text = Format(GetText("unitpanel_supply_value_from_city"), unit.supply, source->city->name);
      hint = Format(GetText("unitpanel_supply_value_from_city_hint"), unit.supply, source->city->name);
      SetIcon(kSupplySource, true, GetText("unitpanel_supply_icon_hint"));
      SetField(kSupply, text, hint);
      return;
    }
  } else {
    text = Format(GetText("unitpanel_supply_peace_time"), unit.supply);
    hint = iconHint = Format(GetText("unitpanel_supply_peace_time_hint"), unit.supply);
  }
  SetField(kSupply, text, hint);
  SetIcon(kSupplySource, false, iconHint);
}

void cUnitPanel::ShowCommander(const cJednostka& unit) {
  std::u16string text = u"-";
  if (const sCommander* attached = unit.attachedCommander) {
    text = Format(u"%s (%i/%i)", attached->name, attached->skill, attached->experience);
  } else if (unit.commanderId > 0) {
    if (const sCommander* coming = unit.GetCommander()) {
      text = Format(u"[ %s (%i/%i) ]", coming->name, coming->skill, coming->experience);
    }
  }
  SetField(kCommander, text, GetText("unitpanel_commander_hint"));
  SetIcon(kCommanderIcon, true, GetText("unitpanel_commander_icon_hint"));
}

void cUnitPanel::ShowUndo(const cJednostka& unit) {
  const cJednostka* recorded = gGame->playerControl.undo.unit;
  if (recorded == nullptr) {
    SetIcon(kUndo, false, GetText("unitpanel_undo_move_icon_hint_no_undo_possible"));
  } else if (recorded != &unit) {
    SetIcon(kUndo, false, GetText("unitpanel_undo_move_icon_hint_wrong_unit_selected"));
  } else if (recorded->newEnemyRevealed != 0) {
    SetIcon(kUndo, false, GetText("unitpanel_undo_move_icon_hint_enemy_unit_discovered"));
  } else {
    SetIcon(kUndo, true, GetText("unitpanel_undo_move_icon_hint"));
  }
}

void cUnitPanel::ShowActionIcons(cJednostka& unit) {
  using HintOf = bool (cJednostka::*)(std::u16string*);
  struct sAction {
    int id;
    HintOf hint;
  };
  static constexpr std::array<sAction, 8> kActions = {{
      {kStrategicMove, &cJednostka::GetStrategicMoveIconHint},
      {kAirborneAssault, &cJednostka::GetAirborneAssaultIconHint},
      {kSeaTransport, &cJednostka::GetSeaTransportIconHint},
      {kAmphibiousTransport, &cJednostka::GetAmphTransportIconHint},
      {kAirFight, &cJednostka::GetAirfightIconHint},
      {kBombardment, &cJednostka::GetBombardmentIconHint},
      {kNuclearStrike, &cJednostka::GetNuclearIconHint},
      {kRecon, &cJednostka::GetReconIconHint},
  }};
  for (const sAction& action : kActions) {
    std::u16string hint;
    const bool allowed = (unit.*action.hint)(&hint);
    SetIcon(action.id, allowed, hint);
  }
}

void cUnitPanel::Move(int dx, int dy) { MoveLayoutRange(kPanelId, kLastId, dx, dy); }

}  // namespace tr
