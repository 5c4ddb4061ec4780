// A land battle fought to its end in one call: the attackers pay their action
// points, two dice meet the combat-results tables of the scenario, and the
// defender may be overrun, destroyed, pushed out of its hex or made to
// surrender. The random draws come in a fixed order (commanders' experience,
// the two dice, the computer's bonus, the retreat, the retreat's ties), since
// saved games and replays of the same seed must fight the same battles.
#include <algorithm>
#include <cmath>

#include "foundation/console_log.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "scenario/report_kinds.h"
#include "units/attack.h"
#include "units/combat_result.h"
#include "units/jednostka_ladowa.h"
#include "units/land_battle.h"
#include "world/gra.h"
#include "world/presentation.h"
#include "world/tech_levels.h"

namespace tr {
namespace {

// A defence of 0 would divide by zero; it counts as almost nothing.
constexpr double kLeastDefence = 0.001;
constexpr int kOverrunRatio = 8;
constexpr int kRetreatStrengthLimit = 50;

bool IsComputerControlled(const cCountry* country) {
  return country && country->humanControlled == 0 && !country->HasPbemPlayer();
}

int DoctrineLevelOf(const cJednostka& unit) {
  const auto* land = dynamic_cast<const cJednostkaLadowa*>(&unit);
  const int level = land ? land->GetDoctrineLevel() : 0;
  return TechTableLevel(level, 0);
}

std::u16string CountryNameOf(const cCountry* country) { return country ? country->name : std::u16string(); }

void AddLosses(int from, int to, float amount) {
  if (from > 0 && to > 0) gGame->relations.AddLosses(from, to, amount);
}

// The state of one battle while it is fought.
struct sBattle {
  sAttack& attack;
  sCombatResult& result;
  sReport reportA;  // to the attacking country
  sReport reportB;  // to the defending country
  int attackingCountry = 0;
  int defendingCountry = 0;
  int attackerCount = 0;
  int column = 1;
  bool weaker = false;
  float strengthSum = 0.0f;  // S
  float lostValue = 0.0f;    // V

  void AppendToReports(const std::u16string& text) {
    reportA.text += text;
    reportB.text += text;
  }
  void KillDefender(eCombatFlag flag) {
    attack.defender->Kill();
    attack.defender = nullptr;
    result.SetFlag(flag);
  }
};

// Pays the attack's action points; false when there is no attacker.
bool PayActionPoints(sBattle& b) {
  const sScenarioConstants& k = gGame->constants;
  for (cJednostka* unit : b.attack.attackers) {
    if (!unit) continue;
    ++b.attackerCount;
    b.attackingCountry = unit->owner;
    unit->AddActionPoints(-k.AttackActionPointCost(DoctrineLevelOf(*unit)));
    if (unit->actionPoints < 0) unit->SetActionPoints(0);
  }
  return b.attackerCount > 0;
}

void BuildReports(sBattle& b) {
  const cJednostka& defender = *b.attack.defender;
  std::u16string list;
  for (const cJednostka* unit : b.attack.attackers) {
    if (!unit) continue;
    if (!list.empty()) list += u", ";
    list += Format(u"%s [%.2f]", unit->name, unit->GetStrengthValue());
  }
  b.reportA.type = kReportLandAttack;
  b.reportA.country = b.attackingCountry;
  b.reportA.text = Format(u"Attacked unit %s (%s) [%.2f] on hex (%d, %d) with unit(s) %s\n\n", defender.name,
                          CountryNameOf(defender.GetOwnerCountry()), defender.GetStrengthValue(), b.attack.targetX,
                          b.attack.targetY, list);
  b.reportB.type = kReportLandDefence;
  b.reportB.country = b.defendingCountry;
  b.reportB.text = Format(u"%s [%.2f] was attacked at hex (%i, %i) by unit(s) %s (%s)\n\n", defender.name,
                          defender.GetStrengthValue(), b.attack.targetX, b.attack.targetY, list,
                          CountryNameOf(b.attack.GetFirstAttackerCountry()));
}

// Measures both sides; returns attack and defence through the references.
void Measure(sBattle& b, double& attackValue, double& defenceValue) {
  sAttack& a = b.attack;
  const double e = a.GetAttackersEffectiveStrength();
  b.strengthSum = a.GetAttackersStrength();
  const double armour = a.GetArmourFactor();
  const double directions = a.GetDirectionsFactor();
  const double weather = a.GetAttackersWeatherFactor();
  const double fort = a.GetFortificationFactor();
  const double terrain = a.GetTerrainFactor();
  const double city = a.GetCityFactor();
  const double defenderWeather = a.GetDefenderWeatherFactor();
  const double trench = a.GetEntrenchmentFactor();

  b.result.attackerDetails += Format(GetText("combatresult_land_battle_att_info"), armour * 100, directions * 100,
                                     weather * 100, fort * 100);
  b.result.attackerDetails += u"\n";
  b.result.attackerDetails += Format(u"\nColumn: %i\n", a.GetOddsColumn());
  b.result.defenderDetails += Format(GetText("combatresult_land_battle_def_info"), terrain * 100, city * 100,
                                     defenderWeather * 100, trench * 100);
  b.result.defenderDetails += u"\n";

  BuildReports(b);

  attackValue = static_cast<float>(armour * e * directions * weather * fort);
  const double d = a.GetDefenderEffectiveStrength();
  b.result.attackerDetails += Format(u"\nEff. strength: %.2f\n", e);
  b.result.defenderDetails += Format(u"\nEff. strength: %.2f\n", d);
  b.AppendToReports(Format(u"\nAttacker eff. strength: %.2f\nDefender eff. strength: %.2f\n", e, d));
  defenceValue = static_cast<float>(d * terrain * city * defenderWeather * trench);
}

// The computer opponent's edge: on most battles its die improves by one.
void RollDice(const sBattle& b, int& a, int& bDie) {
  a = RandomRange(1, 6);
  bDie = RandomRange(1, 6);
  const float r = RandomUnit();
  if (r > 0.1f) {
    const cCountry* attacker = gGame->GetCountry(b.attackingCountry);
    const cCountry* defender = gGame->GetCountry(b.defendingCountry);
    if (IsComputerControlled(attacker) && !IsComputerControlled(defender)) {
      ++a;
    } else if (IsComputerControlled(defender) && !IsComputerControlled(attacker)) {
      ++bDie;
    }
  }
  a = std::min(a, 6);
  bDie = std::min(bDie, 6);
}

// Sets the column; true when the defender was overrun.
bool ApplyRatio(sBattle& b, double attackValue, double defenceValue) {
  if (defenceValue == 0.0) defenceValue = kLeastDefence;
  const double ratio = attackValue / defenceValue;
  const double whole = std::trunc(ratio);
  if (!(whole >= 1.0)) {
    b.column = 1;
    b.weaker = true;
    return false;
  }
  if (whole < kOverrunRatio) {
    b.column = static_cast<int>(whole);
    return false;
  }
  LogLine(u"Defender destroyed by overrun!");
  b.result.defenderLoss += b.attack.defender->GetStrengthValue();
  b.KillDefender(kFlagDefenderDestroyed);
  const std::u16string line = Format(u"\nDefender destroyed by overrun (%.2f:1)!\n", ratio);
  b.result.defenderDetails += line;
  b.AppendToReports(line);
  b.column = 7;
  return true;
}

// An air unit caught on the ground: it either survives untouched or is destroyed.
void AirDefenderLosses(sBattle& b, float p) {
  LogLine(GetText("air_unit_defense_check"));
  float v = 0.0f;
  if (b.weaker) {
    LogLine(GetText("attack_was_weaker_than_1:1!_no_effect!"));
  } else {
    v = p * 0.25f / 100.0f;
    if (0.25f - v < 0.1f) b.KillDefender(kFlagDefenderDestroyed);
  }
  b.result.defenderLoss += v;
  b.result.defenderLossText += Format(GetText("report_looses_land_combat"), v);
  b.result.defenderLossText += u"\n";
}

void RetreatCheck(sBattle& b, cJednostkaLadowa& defender) {
  const sScenarioConstants& k = gGame->constants;
  const sHex& hex = *gGame->map->GetHex(b.attack.targetX, b.attack.targetY);
  const float base = static_cast<float>(std::max(1, k.RetreatBase() - defender.GetStrength()));
  const float cm = k.RetreatColumnFactor(b.column);
  const float tm = k.RetreatTerrainFactor(hex.terrain);
  const int chance = static_cast<int>(static_cast<double>(base) * cm * tm);
  LogFormat(u"Retreat chance: Base=%.2f%% Modifiers: Column=%.2f Terrain=%.2f. CHANCE=%i%%", base, cm, tm, chance);
  if (RandomRange(1, 100) >= chance) {
    LogLine(GetText("retreat_check_failed._defender_stands_fast."));
    return;
  }
  if (!defender.HasRetreatHex()) {
    LogLine(Format(GetText("retreat_check_passed,_but_retreat_impossible._%s_surrenders!"), defender.name));
    b.KillDefender(kFlagDefenderSurrendered);
    return;
  }
  std::vector<std::u16string> lines;
  const int direction = ChooseRetreatDirection(b.attack, defender, lines);
  if (direction < 0) {
    // The relations may let the test find a hex the scoring then refuses:
    // the unit stands rather than move nowhere.
    for (const auto& line : lines) LogLine(line);
    LogFormat(u"%s finds no hex to retreat to and stands fast.", defender.name);
    return;
  }
  const std::u16string text = Format(u"\n%s retreats!\n", defender.name);
  LogLine(text);
  b.AppendToReports(text);
  b.result.defenderDetails += text;
  b.result.SetFlag(kFlagDefenderRetreated);
  for (const auto& line : lines) LogLine(line);
  RetreatDefender(defender, direction);
}

void LandDefenderLosses(sBattle& b, cJednostkaLadowa& defender, float p) {
  const int strength = defender.GetStrength();
  int n = static_cast<int>(static_cast<float>(strength) * p / 100.0f);
  n = std::clamp(n, 0, std::max(strength, 0));
  b.lostValue = defender.GetBaseValue() * static_cast<float>(n) / 100.0f;
  const float before = defender.GetStrengthValue();
  if (b.weaker) {
    LogLine(u"attack_was_weaker_than_1:1,_losses_will_be_calculated_for_defender_but_won't_be_inflicted!");
  } else {
    AddLosses(b.attackingCountry, b.defendingCountry, b.lostValue);
    // The harbour's AddStrength keeps its fixed value, so its loss is taken off directly.
    if (defender.type == kMulberryType) {
      defender.strength -= n;
    } else {
      defender.AddStrength(-n);
    }
  }
  const float lost = before - defender.GetStrengthValue();
  b.result.defenderLoss += lost;
  b.result.defenderLossText += Format(u"Land combat: %.1f\n", lost);
  b.AppendToReports(Format(u"%s losses %.2f strength\n", defender.name, lost));

  if (defender.GetStrengthValue() < 0.1f) {
    LogLine(GetText("defender_destroyed!"));
    b.KillDefender(kFlagDefenderDestroyed);
    b.AppendToReports(u"\nDefender destroyed!\n");
    return;
  }
  const sHex& hex = *gGame->map->GetHex(b.attack.targetX, b.attack.targetY);
  if (!b.weaker && !hex.city && hex.fortLevel == 0 && defender.GetStrength() <= kRetreatStrengthLimit &&
      defender.type != kMulberryType) {
    RetreatCheck(b, defender);
  }
}

void AttackerLosses(sBattle& b, float f) {
  const float total = f * b.lostValue;
  for (int side = 0; side < kDirectionCount; ++side) {
    cJednostka* unit = b.attack.attackers[side];
    if (!unit || unit->category != kCategoryLand) continue;
    const float share = b.strengthSum > 0.0f ? unit->GetStrengthValue() / b.strengthSum : 0.0f;
    const float loss = share * total;
    const float base = unit->GetBaseValue();
    const int k = base > 0.0f ? std::max(0, static_cast<int>(loss * 100.0f / base)) : 0;
    AddLosses(b.defendingCountry, b.attackingCountry, loss);
    const std::u16string line = Format(u"%s losses %.2f strength", unit->name, loss);
    LogLine(line);
    b.AppendToReports(line + u"\n");
    unit->AddStrength(-k);
    if (unit->GetStrengthValue() < 0.1f) {
      b.AppendToReports(Format(u"%s destroyed!\n", unit->name));
      LogLine(GetText("attacker_destroyed!"));
      unit->Kill();
      b.attack.attackers[side] = nullptr;
      b.result.SetFlag(kFlagAttackerDestroyed);
    }
  }
  b.result.attackerLoss += total;
  b.result.attackerLossText += Format(u"Land combat: %.1f\n", total);
}

void EndBattle(sBattle& b) {
  // A unit that took part in a multi-unit attack may not take part in another this turn.
  if (b.attackerCount > 1) {
    if (b.attack.defender) b.attack.defender->wasAttacked = 1;
    for (cJednostka* unit : b.attack.attackers) {
      if (unit) unit->attacked = 1;
    }
  }
  LogLine(u"===BATTLE END===");
  gGame->playerControl.ClearUndoList();
  LogLine(u"===UNDO WYCZYSZCZONE===");
  gGame->reports.Add(b.reportA);
  gGame->reports.Add(b.reportB);
  LogLine(u"===REPORTS ADDED===");
}

}  // namespace

bool sAttack::ResolveLandBattle(sCombatResult& result) {
  if (!defender || !gGame || !gGame->map) return false;
  if (defender->spotted) Presentation().PlaySoundEffect(u"data\\sound\\LandCombat.wav");
  GainCommanderExperience();
  sBattle b{*this, result, {}, {}};
  result.kind = kBattleLand;
  b.defendingCountry = defender->owner;
  result.defenderCountry = b.defendingCountry;
  if (!PayActionPoints(b)) return false;
  result.attackerCountry = b.attackingCountry;

  bool armour = false;
  for (const cJednostka* unit : attackers) {
    armour = armour || (unit && (unit->type == kArmouredDivision || unit->type == kArmouredCorps));
  }
  LogFormat(u"%s is attacked. Directions=%i, Armor present in attack=%i", defender->name, b.attackerCount,
            armour ? 1 : 0);

  double attackValue = 0.0;
  double defenceValue = 0.0;
  Measure(b, attackValue, defenceValue);
  int a = 1;
  int bDie = 1;
  RollDice(b, a, bDie);
  const bool overrun = ApplyRatio(b, attackValue, defenceValue);
  const sScenarioConstants& k = gGame->constants;
  const float p = static_cast<float>(k.DefenderLossPercent(a, b.column));
  float f = k.AttackerLossFactor(bDie, b.column);

  if (!overrun) {
    f = f * static_cast<float>(std::min(100, defender->combatValue)) / 100.0f;
    auto* land = defender->category == kCategoryLand ? dynamic_cast<cJednostkaLadowa*>(defender) : nullptr;
    if (!land) {
      AirDefenderLosses(b, p);
    } else {
      LandDefenderLosses(b, *land, p);
      AttackerLosses(b, f);
    }
  }
  EndBattle(b);
  return true;
}

}  // namespace tr
