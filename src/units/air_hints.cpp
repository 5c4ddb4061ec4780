// The unit panel's hints for an air unit: whether each action is available
// now and, when the panel asks for it, the text saying why or why not. The
// first failing condition decides.
#include "units/air_support.h"
#include "units/jednostka_lotnicza.h"
#include "world/gra.h"

namespace tr {
namespace {

bool Answer(std::u16string* text, bool available, std::u16string_view value) {
  if (text) *text = value;
  return available;
}

bool Refuse(std::u16string* text, std::string_view key) { return Answer(text, false, GetText(key)); }

}  // namespace

bool cJednostkaLotnicza::GetEffectivenessHint(std::u16string* text) {
  return Answer(text, true, GetText("unitpanel_effectiveness_air_hint"));
}

bool cJednostkaLotnicza::GetUpgradeHint(std::u16string* text) {
  return Refuse(text, "unitpanel_upgrade_hint_air_unit");
}

bool cJednostkaLotnicza::GetLevelUpHint(std::u16string* text) {
  const cCountry* country = GetOwnerCountry();
  if (level >= 5) return Refuse(text, "unitpanel_levelup_hint_max_level");
  if (!country || level >= country->GetTechLevel(kAircraftTech)) {
    // The level comes first, as in the land units' text of the same key.
    return Answer(text, false,
                  KeyText("unitpanel_levelup_hint_no_technology", level + 1, GetText("research_aircraft")));
  }
  if (actionPoints != startingActionPoints) return Refuse(text, "unitpanel_levelup_hint_not_full_ap_or_frozen");
  const double cost = GetLevelUpCost();
  const double points = country->productionPoints;
  if (cost > points) return Answer(text, false, KeyText("unitpanel_levelup_hint_not_enough_pp", cost, cost - points));
  return Answer(text, true, KeyText("unitpanel_levelup_icon_hint", cost, points - cost));
}

bool cJednostkaLotnicza::GetStrengthIconHint(std::u16string* text) {
  if (actionPoints != startingActionPoints || actionPoints == 0) {
    return Refuse(text, "unitpanel_strength_icon_hint_other_action_performed_or_no_ap");
  }
  if (gGame && strength >= gGame->constants.AirMaxStrength(type)) {
    return Refuse(text, "unitpanel_strength_icon_hint_max_strength");
  }
  if (supply != 0 && turnsWithoutSupply < 1) return Answer(text, true, GetText("unitpanel_strength_icon_hint"));
  return Refuse(text, "unitpanel_strength_icon_hint_no_supply");
}

bool cJednostkaLotnicza::GetStrategicMoveIconHint(std::u16string* text) {
  if (supplySourceX == -1 || supplySourceY == -1) {
    return Refuse(text, "unitpanel_strategic_move_icon_hint_no_supply_source_or_peace-time_supply");
  }
  if (supply == 0 || turnsWithoutSupply >= 1) return Refuse(text, "unitpanel_strategic_move_icon_out_of_supply");
  if (actionPoints != startingActionPoints) {
    return Refuse(text, "unitpanel_strategic_move_icon_hint_not_full_ap_or_frozen");
  }
  const cCountry* country = GetOwnerCountry();
  if (!gGame || !country || country->strategicMovementPoints < gGame->constants.StrategicMoveCost(type)) {
    return Refuse(text, "unitpanel_strategic_move_icon_hint_no_smp");
  }
  return Answer(text, true, GetText("unitpanel_strategic_move_icon_hint"));
}

bool cJednostkaLotnicza::GetAirborneAssaultIconHint(std::u16string* text) {
  return Refuse(text, "unitpanel_airborne_assault_icon_hint_not_airborne");
}

bool cJednostkaLotnicza::GetSeaTransportIconHint(std::u16string* text) {
  return Refuse(text, "unitpanel_sea_transport_icon_hint_not_land_unit");
}

bool cJednostkaLotnicza::GetAmphTransportIconHint(std::u16string* text) {
  return Refuse(text, "unitpanel_amph_transport_icon_hint_not_land_unit");
}

bool cJednostkaLotnicza::GetAirfightIconHint(std::u16string* text) {
  if (type != kFighter) return Refuse(text, "unitpanel_airfight_icon_hint_not_airfighter_unit");
  if (actionPoints == 0) return Refuse(text, "unitpanel_airfight_icon_hint_not_enough_ap_or_frozen");
  if (MarkAirfightTargets(0) == 0) return Refuse(text, "unitpanel_airfight_icon_hint_no_target");
  return Answer(text, true, GetText("unitpanel_airfight_icon_hint"));
}

bool cJednostkaLotnicza::GetBombardmentIconHint(std::u16string* text) {
  if (type != kTacticalBomber && type != kStrategicBomber) {
    return Refuse(text, "unitpanel_bombardment_icon_hint_not_bomber_unit");
  }
  if (actionPoints == 0) return Refuse(text, "unitpanel_bombardment_icon_hint_not_enough_ap_or_frozen");
  if (MarkBombardmentTargets(0) == 0) return Refuse(text, "unitpanel_bombardment_icon_hint_no_target");
  return Answer(text, true, GetText("unitpanel_bombardment_icon_hint"));
}

bool cJednostkaLotnicza::GetNuclearIconHint(std::u16string* text) {
  if (type != kStrategicBomber) return Refuse(text, "unitpanel_nuclear_icon_hint_not_strategic_bomber");
  const cCountry* country = GetOwnerCountry();
  if (!country || country->nuclearBombs < 1) return Refuse(text, "unitpanel_nuclear_icon_hint_no_nuclear_bomb");
  if (actionPoints <= 0) return Refuse(text, "unitpanel_nuclear_icon_hint_not_enough_ap_or_frozen");
  if (MarkNuclearTargets(0) == 0) return Refuse(text, "unitpanel_nuclear_icon_hint_no_target");
  return Answer(text, true, GetText("unitpanel_nuclear_icon_hint"));
}

bool cJednostkaLotnicza::GetReconIconHint(std::u16string* text) {
  if (actionPoints <= 0) return Refuse(text, "unitpanel_recon_icon_hint_not_enough_ap");
  if (airReconDone) return Refuse(text, "unitpanel_recon_icon_hint_already_performed");
  if (MarkReconHexes(0) == 0) return Refuse(text, "unitpanel_recon_icon_hint_no_hexes_in_range");
  return Answer(text, true, GetText("unitpanel_recon_icon_hint"));
}

}  // namespace tr
