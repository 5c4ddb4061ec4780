// What ships do on their own: the surprise attack of a carrier's aircraft or
// a raiding submarine before the sea battles, and a ship's answer to an air
// strike on its sea zone. Neither removes a ship left at 0 hit points: the
// caller that started the action sinks it.
#include <algorithm>
#include <cmath>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/random.h"
#include "scenario/report_kinds.h"
#include "turn/fleet.h"
#include "units/air_support.h"
#include "units/combat_result.h"
#include "units/jednostka.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"

namespace tr {
namespace {

std::u16string FleetName(const cJednostkaMorska& ship) { return ship.fleet ? ship.fleet->name : std::u16string(); }

// The attack's chance in per mille: carriers always try, submarines only
// with a raider fleet.
int SurpriseChance(const cJednostkaMorska& ship) {
  const sScenarioConstants& k = gGame->constants;
  if (ship.type == kAircraftCarrier) return k.FleetTable(7);
  if (ship.type == kSubmarine && ship.fleet && ship.fleet->formation == kFleetRaiders) return k.FleetTable(8);
  return 0;
}

// The three outcomes, for a carrier's aircraft or for a submarine.
std::string_view OutcomeKey(bool carrier, bool hit, bool destroyed) {
  if (carrier) {
    if (!hit) return "aircraft_from_%s_(%s)_detected_and_attacked_%s_(%s)._attack_failed.";
    return destroyed ? "aircraft_from_%s_(%s)_detected_and_attacked_%s_(%s)._target_was_destroyed!"
                     : "aircraft_from_%s_(%s)_detected_and_attacked_%s_(%s)._target_was_damaged.";
  }
  if (!hit) return "%s_(%s)_detected_%s_(%s)_and_launched_surprise_attack._attack_failed.";
  return destroyed ? "%s_(%s)_detected_%s_(%s)_and_launched_surprise_attack._target_was_destroyed!"
                   : "%s_(%s)_detected_%s_(%s)_and_launched_surprise_attack._target_was_damaged.";
}

}  // namespace

bool cJednostkaMorska::SurpriseAttack(std::u16string& text) {
  text = GetText("wait...");
  if (!gGame) return false;
  const int chance = SurpriseChance(*this);
  if (chance <= 0) return false;
  if (RandomRange(1, 1000) > chance) {
    LogLine(KeyText("%s_tries_to_launch_a_surprise_attack._check_failed.", name));
    return false;
  }
  LogLine(KeyText("%s_tries_to_launch_a_surprise_attack._check_passed._searching_for_enemies...", name));
  std::vector<cJednostkaMorska*> candidates;
  if (fleet) {
    for (const auto& ship : gGame->navalUnits) {
      if (ship->hitPoints <= 0 || !ship->fleet || ship->fleet->seaNodeId != fleet->seaNodeId) continue;
      if (AtWar(owner, ship->owner)) candidates.push_back(ship.get());
    }
  }
  if (candidates.empty()) {
    text = GetText("no_enemy_ships_present_in_sea_zone");
    return false;
  }
  const int count = static_cast<int>(candidates.size());
  cJednostkaMorska& target = *candidates[static_cast<std::size_t>(std::clamp(RandomRange(1, count), 1, count) - 1)];
  LogLine(KeyText("target_chosen:_%s", target.name));

  const int level = GetNavalTechLevel();
  const int hitChance = (level * 5 + 15) * 2;
  const int damage = RollDetectionCheck() ? 1 : 0;
  const bool hit = RandomRange(1, 100) <= hitChance;
  if (hit) target.AddHitPoints(static_cast<float>(-damage));
  const std::u16string outcome = KeyText(OutcomeKey(type == kAircraftCarrier, hit, target.hitPoints <= 0), name,
                                         CountryName(owner), target.name, CountryName(target.owner));
  gGame->reports.Add(kReportSeaBattle, target.owner, outcome);
  text = outcome;
  return true;
}

void cJednostkaMorska::OnBombarded(sCombatResult* record, cUnit* attacker, sHex*) {
  if (!gGame || !record || !attacker) return;
  sCombatResult& result = *record;
  const sScenarioConstants& k = gGame->constants;
  auto* carrier = attacker->type == kAircraftCarrier ? dynamic_cast<cJednostkaMorska*>(attacker) : nullptr;
  auto* unit = carrier ? nullptr : dynamic_cast<cJednostka*>(attacker);
  float factor = 0.0f;
  if (carrier) {
    factor = carrier->maxHitPoints > 0 ? static_cast<float>(carrier->hitPoints / carrier->maxHitPoints) : 0.0f;
  } else if (unit) {
    factor = unit->GetEffectiveStrength();
  }
  result.attackerCountry = attacker->owner;
  result.defenderCountry = owner;

  const int before = hitPoints;
  AddHitPoints(-1.0f);
  if (hitPoints >= 1 && RandomRange(1, 100) <= k.ShipBombedValueA()) AddHitPoints(-1.0f);
  if (hitPoints >= 1 && RandomRange(1, 100) <= k.ShipBombedValueB()) AddHitPoints(static_cast<float>(-hitPoints));
  const int lost = before - hitPoints;
  result.defenderLoss += static_cast<float>(lost);
  result.defenderDetails += Format(u" - %s %s\n   (%s, %s)\n   Strength lost: %.2f", GetUnitTypeName(type), name,
                                   FleetName(*this), CountryName(owner), static_cast<float>(lost));

  // An attacker whose navy has no level yet counts as level 1.
  const float levels =
      static_cast<float>(CountryNavyLevel(owner)) / static_cast<float>(std::max(CountryNavyLevel(attacker->owner), 1));
  const float counter = (levels + (type == kAircraftCarrier ? 1.0f : 0.0f)) * factor * static_cast<float>(hitPoints);
  if (!(static_cast<float>(RandomRange(0, 100)) < std::trunc(counter))) return;

  result.attackerDetails += KeyText("report_bombardment_naval_unit_attacker_losses_1_strength_point", name,
                                    GetUnitTypeName(type), FleetName(*this), CountryName(owner));
  if (carrier) {
    carrier->AddHitPoints(-1.0f);
    result.attackerLoss += 1.0f;
    if (carrier->hitPoints <= 0) {
      // The carrier's end is the caller's, as for any attacker destroyed.
      result.attackerDetails += GetText("report_unit_killed");
      result.SetFlag(kFlagAttackerDestroyed);
    }
    return;
  }
  if (attacker->category != kCategoryAir || !unit || attacker->RollCommanderCheck()) return;
  unit->AddStrength(-1);
  result.attackerLoss += 1.0f;
  if (unit->GetStrengthValue() < 0.1f) {
    result.attackerDetails += GetText("report_unit_killed");
    result.SetFlag(kFlagAttackerDestroyed);
  }
}

}  // namespace tr
