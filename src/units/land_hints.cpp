// The unit panel's questions to a land unit: whether an action is possible
// now and the text its button shows. The checks run in a fixed order, so
// the player reads the first reason that stands in the way. Without a text
// buffer each hint is a plain availability test.
#include <string_view>

#include "foundation/format.h"
#include "foundation/string_base.h"
#include "units/jednostka_ladowa.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr int kMaxLevel = 5;

// Writes the key's text, used as a format with the arguments, and answers.
template <typename... Args>
bool Hint(std::u16string* text, bool available, std::string_view key, const Args&... args) {
  if (text) *text = Format(GetText(key), args...);
  return available;
}

double ProductionPoints(const cJednostkaLadowa& unit) {
  const cCountry* country = unit.GetOwnerCountry();
  return country ? country->productionPoints : 0.0;
}

bool IsReady(const cJednostkaLadowa& unit) {
  return unit.actionPoints == unit.startingActionPoints && unit.actionPoints > 0 && unit.freezeTime < 1;
}

bool IsUntouched(const cJednostkaLadowa& unit) {
  return unit.actionPoints == unit.startingActionPoints && unit.freezeTime < 1;
}

bool IsSupplied(const cJednostkaLadowa& unit) { return unit.supply != 0 && unit.turnsWithoutSupply < 1; }

// Two thirds of full supply, the least an airborne or amphibious operation needs.
int OperationSupply() { return static_cast<int>(0.66 * gGame->constants.FullSupplyLevel()); }

bool IsFriendlyPort(const sHex& hex, int owner) {
  return hex.city && (hex.city->type == kCitySupplyPort || hex.city->type == kCityPort) &&
         hex.IsControlledByFriend(owner);
}

}  // namespace

bool cJednostkaLadowa::GetUpgradeHint(std::u16string* text) {
  if (type == kMulberryType) return Hint(text, false, "unitpanel_upgrade_hint_mulberry");
  if (type == kAirborneDivision) return Hint(text, false, "unitpanel_upgrade_hint_airborne_division");
  if (IsCorps()) return Hint(text, false, "unitpanel_upgrade_hint_already_corp");
  if (!gGame || !gGame->map || gGame->map->GetHex(x, y)->owner != owner) {
    return Hint(text, false, "unitpanel_upgrade_hint_not_in_owned_hex");
  }
  if (!IsReady(*this)) return Hint(text, false, "unitpanel_upgrade_hint_not_full_ap_or_frozen");
  const double cost = GetUpgradeCost();
  const double points = ProductionPoints(*this);
  if (cost > points) return Hint(text, false, "unitpanel_upgrade_hint_not_enough_pp", cost, cost - points);
  return Hint(text, true, "unitpanel_upgrade_hint", tr::GetUnitTypeName(type), tr::GetUnitTypeName(type + 1), cost,
              points - cost);
}

bool cJednostkaLadowa::GetLevelUpHint(std::u16string* text) {
  if (type == kMulberryType) return Hint(text, false, "unitpanel_levelup_hint_mulberry");
  if (level >= kMaxLevel) return Hint(text, false, "unitpanel_levelup_hint_max_level");
  const bool armoured = type == kArmouredDivision || type == kArmouredCorps;
  const cCountry* country = GetOwnerCountry();
  const int tech = country ? country->GetTechLevel(armoured ? kTanksTech : kArtilleryTech) : 0;
  if (level >= tech) {
    return Hint(text, false, "unitpanel_levelup_hint_no_technology", level + 1,
                GetText(armoured ? "research_tanks" : "research_artillery"));
  }
  if (!IsReady(*this)) return Hint(text, false, "unitpanel_levelup_hint_not_full_ap_or_frozen");
  const double cost = GetLevelUpCost();
  const double points = ProductionPoints(*this);
  if (cost > points) return Hint(text, false, "unitpanel_levelup_hint_not_enough_pp", cost, cost - points);
  // The text is shared with air units, which also show what is left.
  return Hint(text, true, "unitpanel_levelup_icon_hint", cost, points - cost);
}

bool cJednostkaLadowa::GetStrengthIconHint(std::u16string* text) {
  if (actionPoints != startingActionPoints) {
    return Hint(text, false, "unitpanel_strength_icon_hint_other_action_performed_or_frozen");
  }
  if (strength == 100) return Hint(text, false, "unitpanel_strength_icon_hint_max_strength");
  if (IsSupplied(*this)) return Hint(text, true, "unitpanel_strength_icon_hint");
  return Hint(text, false, "unitpanel_strength_icon_hint_no_supply");
}

bool cJednostkaLadowa::GetStrategicMoveIconHint(std::u16string* text) {
  const cCountry* country = GetOwnerCountry();
  const int points = country ? country->strategicMovementPoints : 0;
  if (!gGame || points < gGame->constants.StrategicMoveCost(type)) {
    return Hint(text, false, "unitpanel_strategic_move_icon_hint_no_smp");
  }
  if (!IsUntouched(*this)) return Hint(text, false, "unitpanel_strategic_move_icon_hint_not_full_ap_or_frozen");
  if (supplySourceX == -1 || supplySourceY == -1) {
    return Hint(text, false, "unitpanel_strategic_move_icon_hint_no_supply_source_or_peace-time_supply");
  }
  if (IsSupplied(*this)) return Hint(text, true, "unitpanel_strategic_move_icon_hint");
  return Hint(text, false, "unitpanel_strategic_move_icon_out_of_supply");
}

bool cJednostkaLadowa::GetAirborneAssaultIconHint(std::u16string* text) {
  if (type != kAirborneDivision) return Hint(text, false, "unitpanel_airborne_assault_icon_hint_not_airborne");
  if (!IsUntouched(*this)) return Hint(text, false, "unitpanel_airborne_assault_hint_not_full_ap_or_frozen");
  if (!gGame || supply < OperationSupply()) return Hint(text, false, "unitpanel_airborne_assault_hint_supply_too_low");
  const int interval = gGame->constants.ParadropInterval();
  if (turnsSinceParadrop >= interval) return Hint(text, true, "unitpanel_airborne_assault_icon_hint");
  return Hint(text, false, "unitpanel_airborne_assault_hint_not_prepared", interval - turnsSinceParadrop);
}

bool cJednostkaLadowa::GetSeaTransportIconHint(std::u16string* text) {
  int portX = -1;
  int portY = -1;
  if (!IsInOrNearFriendlyPort(portX, portY)) {
    return Hint(text, false, "unitpanel_sea_transport_icon_hint_not_in_or_near_friendly_port");
  }
  if (actionPoints == 0 || freezeTime >= 1) {
    return Hint(text, false, "unitpanel_sea_transport_hint_not_enough_ap_or_frozen");
  }
  const int cost = gGame->constants.SeaTransportCost(type);
  const cCountry* country = GetOwnerCountry();
  if (country && country->seaTransportPoints >= cost) return Hint(text, true, "unitpanel_sea_transport_icon_hint", cost);
  return Hint(text, false, "unitpanel_sea_transport_icon_hint_not_enough_sea_transport_points", cost);
}

bool cJednostkaLadowa::GetAmphTransportIconHint(std::u16string* text) {
  int portX = -1;
  int portY = -1;
  if (!IsInOrNearFriendlyPort(portX, portY)) {
    return Hint(text, false, "unitpanel_amph_transport_icon_hint_not_in_or_near_friendly_port");
  }
  if (actionPoints == 0 || freezeTime >= 1) {
    return Hint(text, false, "unitpanel_amph_transport_hint_not_enough_ap_or_frozen");
  }
  const int cost = gGame->constants.AmphibiousTransportCost(type);
  const cCountry* country = GetOwnerCountry();
  if (!country || country->invasionPoints < cost) {
    return Hint(text, false, "unitpanel_amph_transport_icon_hint_not_enough_sea_invasion_points", cost);
  }
  if (supply >= OperationSupply()) return Hint(text, true, "unitpanel_amph_transport_icon_hint", cost);
  return Hint(text, false, "unitpanel_amph_transport_icon_hint_not_enough_supply");
}

bool cJednostkaLadowa::GetAirfightIconHint(std::u16string* text) {
  return Hint(text, false, "unitpanel_airfight_icon_hint_not_airfighter_unit");
}

bool cJednostkaLadowa::GetBombardmentIconHint(std::u16string* text) {
  return Hint(text, false, "unitpanel_bombardment_icon_hint_not_bomber_unit");
}

bool cJednostkaLadowa::GetNuclearIconHint(std::u16string* text) {
  return Hint(text, false, "unitpanel_nuclear_icon_hint_not_strategic_bomber");
}

bool cJednostkaLadowa::GetReconIconHint(std::u16string* text) {
  return Hint(text, false, "unitpanel_recon_icon_hint_not_air_unit");
}

bool cJednostkaLadowa::IsInOrNearFriendlyPort(int& outX, int& outY) const {
  outX = -1;
  outY = -1;
  if (!gGame || !gGame->map) return false;
  cMap& map = *gGame->map;
  if (map.IsInside(x, y) && IsFriendlyPort(*map.GetHex(x, y), owner)) {
    outX = x;
    outY = y;
    return true;
  }
  for (int d = 0; d < kDirectionCount; ++d) {
    const sPoint p = map.GetNeighbourPoint(x, y, d);
    if (map.IsInside(p.x, p.y) && IsFriendlyPort(*map.GetHex(p.x, p.y), owner)) {
      outX = p.x;
      outY = p.y;
      return true;
    }
  }
  return false;
}

bool cJednostkaLadowa::GetEffectivenessHint(std::u16string* text) {
  if (!text || !gGame) return false;
  const sScenarioConstants& k = gGame->constants;
  const cCountry* country = GetOwnerCountry();
  const int doctrineLevel = country ? country->GetTechLevel(kDoctrineTech) : 0;
  const double doctrine = static_cast<double>(k.DoctrineCombatPercent()) * doctrineLevel;
  double commander = 0.0;
  if (attachedCommander) {
    commander = (static_cast<double>(attachedCommander->GetBonus(0)) - 1.0) * 100.0;
  } else if (GetCommander()) {
    commander = static_cast<double>(GetCommanderBonus()) * 100.0;
  }
  const double supplyEffect = static_cast<double>(k.SupplyCombatPercent(supply)) - 100.0;
  const int limit = k.SupplyLossLimit();
  const double unsupplied =
      turnsWithoutSupply > 0 && limit > 0 ? -static_cast<double>(static_cast<float>(turnsWithoutSupply) / limit) : 0.0;
  *text = Format(GetText("unitpanel_effectiveness_land_hint"), doctrine, commander, supplyEffect, unsupplied,
                 -static_cast<double>(shoreBombardmentEffect), static_cast<double>(eventsEffect));
  return true;
}

}  // namespace tr
