// The actions one country takes on a neutral one: pressure that moves its
// alliance entry, and a coup that turns its orientation.
#include <algorithm>
#include <cstdint>

#include "events/diplomacy.h"
#include "events/diplomacy_parts.h"
#include "foundation/random.h"

namespace tr {

using diplomacy::Camp;
using diplomacy::Constants;
using diplomacy::Country;
using diplomacy::InAlliance;
using diplomacy::Text;

namespace {

std::u16string TargetAllianceName(const cCountry& country) {
  std::u16string name;
  country.GetTargetAllianceName(name, false);
  return name;
}

}  // namespace

bool CanExertPressure(int actor, int target, std::u16string& text) {
  if (!diplomacy::BothKnown(actor, target, text)) return false;
  const cCountry& a = *Country(actor);
  const cCountry& b = *Country(target);
  if (InAlliance(b)) {
    text = Text("diplomacy_can_extern_pressure_country_already_in_alliance", b.name);
    return false;
  }
  const int camp = Camp(a.orientation);
  if (b.doneExertPressureAllied && camp == 0) {
    text = Text("diplomacy_can_exert_pressure_only_once_per_turn_note_allies", b.name);
    return false;
  }
  if (b.doneExertPressureAxis && camp == 1) {
    text = Text("diplomacy_can_exert_pressure_only_once_per_turn_note_axis", b.name);
    return false;
  }
  if (b.doneExertPressureComintern && camp == 2) {
    text = Text("diplomacy_can_exert_pressure_only_once_per_turn_note_comintern", b.name);
    return false;
  }
  const int cost = GetExertPressureCost(actor, target);
  if (a.diplomaticPoints < cost) {
    text = Text("diplomacy_not_enough_dp", cost, a.diplomaticPoints);
    return false;
  }
  if (a.SharesOrientationWith(b)) {
    text = Text("diplomacy_can_exert_pressure_hasten_alliance_entry_of_country_cost", b.name, cost);
  } else {
    text = Text("diplomacy_can_exert_pressure_decrease_alliance_entry_of_country_cost_chance", b.name, cost,
                GetExertPressureChance(actor, target));
  }
  return true;
}

void ExertPressure(int actor, int target, std::u16string& text) {
  if (!diplomacy::BothKnown(actor, target, text)) return;
  cCountry& a = *Country(actor);
  cCountry& b = *Country(target);
  const int cost = GetExertPressureCost(actor, target);
  const int chance = GetExertPressureChance(actor, target);
  diplomacy::PayDiplomacyPoints(a, cost);
  switch (Camp(a.orientation)) {
    case 0: b.doneExertPressureAllied = 1; break;
    case 1: b.doneExertPressureAxis = 1; break;
    default: b.doneExertPressureComintern = 1; break;
  }
  if (RandomRange(1, 100) > chance) {
    text = Text("diplomacy_exert_pressure_country_tries_to_exert_pressure_on_country_but_fails", a.name, b.name);
    return;
  }
  const sScenarioConstants& k = Constants();
  const int shift = RollDice(TruncateToInt(k.ExertPressureValues(1)), TruncateToInt(k.ExertPressureValues(2)),
                             TruncateToInt(k.ExertPressureValues(3)));
  const std::int32_t before = b.allianceEntry;
  AddPercentClampedInt(b, a.SharesOrientationWith(b) ? shift : -static_cast<std::int64_t>(shift));
  if (b.allianceEntry >= 100 && JoinAllianceIfLed(b, b.GetTargetAlliance())) {
    text = Text("diplomacy_exert_pressure_country_joins_alliance_pressure_from_country", b.name, TargetAllianceName(b),
                a.name);
    return;
  }
  text = Text("diplomacy_exert_pressure_alliance_entry_of_country_changed_pressure_from_country", b.name, before,
              b.allianceEntry, a.name);
}

bool CanStageCoupDetat(int actor, int target, std::u16string& text) {
  if (!diplomacy::BothKnown(actor, target, text)) return false;
  const cCountry& a = *Country(actor);
  const cCountry& b = *Country(target);
  if (InAlliance(b)) {
    text = Text("diplomacy_can_coup_detat_only_in_neutral");
    return false;
  }
  if (b.IsAtWarWithAnyone()) {
    text = Text("diplomacy_can_coup_detat_only_in_countries_not_at_war");
    return false;
  }
  if (a.orientation == b.orientation) {
    text = Text("diplomacy_can_coup_detat_same_orientation_of_country", b.name);
    return false;
  }
  const int cost = GetCoupDetatCost(actor, target);
  if (a.diplomaticPoints < cost) {
    text = Text("diplomacy_not_enough_dp", cost, a.diplomaticPoints);
    return false;
  }
  text = Text("diplomacy_can_coup_detat_try_to_stage_in_country_cost_chance", b.name,
              GetCoupDetatChance(actor, target), cost);
  return true;
}

void StageCoupDetat(int actor, int target, std::u16string& text) {
  if (!diplomacy::BothKnown(actor, target, text)) return;
  cCountry& a = *Country(actor);
  cCountry& b = *Country(target);
  const int chance = GetCoupDetatChance(actor, target);
  diplomacy::PayDiplomacyPoints(a, GetCoupDetatCost(actor, target));
  const sScenarioConstants& k = Constants();
  const std::int32_t before = b.allianceEntry;
  if (RandomRange(1, 100) <= chance) {
    std::u16string oldName;
    b.GetOrientationName(oldName, false);
    b.TurnOrientationToward(a);
    std::u16string newName;
    b.GetOrientationName(newName, false);
    const int drop = RollDiceFractionalCount(k.CoupValues(9), k.CoupValues(10), k.CoupValues(11));
    AddPercentClampedInt(b, -static_cast<std::int64_t>(drop));
    text = Text("diplomacy_coup_detat_in_country_orientation_changed_alliance_entry_dropped", b.name, oldName, newName,
                before, b.allianceEntry);
    return;
  }
  const bool sameCamp = b.SharesOrientationWith(a);
  if (!sameCamp) AddPercentClampedInt(b, RollDiceFractionalCount(k.CoupValues(6), k.CoupValues(7), k.CoupValues(8)));
  const int gain = TruncateToInt(k.CoupValues(4));
  b.politicalStrength = static_cast<std::int32_t>(
      std::clamp<std::int64_t>(static_cast<std::int64_t>(b.politicalStrength) + gain, 0, 100));
  if (b.allianceEntry >= 100 && JoinAllianceIfLed(b, b.GetTargetAlliance())) {
    text = Text("diplomacy_coup_detat_attempt_in_country_failed_strength_of_country_increased_country_joins_alliance",
                b.name, b.name, gain, b.name, TargetAllianceName(b));
  } else if (sameCamp) {
    text = Text("diplomacy_coup_detat_attempt_in_country_failed_strength_of_country_increased", b.name, b.name, gain);
  } else {
    text = Text("diplomacy_coup_detat_attempt_in_country_failed_strength_of_country_increased_alliance_entry_increased",
                b.name, b.name, gain, before, b.allianceEntry);
  }
}

}  // namespace tr
