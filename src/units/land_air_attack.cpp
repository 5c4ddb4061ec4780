// A land unit attacked from the air, by a bomber or a carrier's aircraft:
// eight modifiers make the attack's effectiveness, one die the defender's
// loss, another die and a column from the defender's level and strength the
// attacker's loss; commanders may change either.
#include <algorithm>

#include "foundation/console_log.h"
#include "foundation/random.h"
#include "scenario/report_kinds.h"
#include "units/air_support.h"
#include "units/combat_result.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"
#include "world/tech_levels.h"

namespace tr {
namespace {

float Ratio(int value, int full) {
  return full > 0 ? static_cast<float>(value) / static_cast<float>(full) : 0.0f;
}

void AddLosses(int from, int to, float amount) {
  if (from > 0 && to > 0) gGame->relations.AddLosses(from, to, amount);
}

}  // namespace

void cJednostkaLadowa::OnBombarded(sCombatResult* record, cUnit* attacker, sHex*) {
  if (!gGame || !gGame->map || !record || !attacker) return;
  sCombatResult& result = *record;
  const sScenarioConstants& k = gGame->constants;
  LogFormat(u"%s is bombed by %s", name, attacker->name);

  auto* plane = attacker->category == kCategoryAir ? dynamic_cast<cJednostkaLotnicza*>(attacker) : nullptr;
  auto* ship = plane ? nullptr : dynamic_cast<cJednostkaMorska*>(attacker);
  float q = 0.0f;
  int levelIndex = 0;
  int supplyIndex = 30;
  if (plane) {
    // Every air type is measured against the tactical bomber's maximum.
    q = Ratio(plane->strength, k.AirMaxStrength(kTacticalBomber));
    levelIndex = plane->level;
    supplyIndex = plane->supply;
  } else if (ship) {
    q = Ratio(ship->hitPoints, ship->maxHitPoints);
    const cCountry* navy = ship->GetOwnerCountry();
    levelIndex = navy ? navy->GetTechLevel(kNavyTech) : 0;
  }
  result.kind = kBattleAirStrikeLand;
  result.attackerCountry = attacker->owner;
  result.defenderCountry = owner;

  const sHex& hex = *gGame->map->GetHex(x, y);
  const float s = 100.0f * q;
  const float v = static_cast<float>(k.BombardLandTableB(TechTableLevel(levelIndex)));
  const float p = static_cast<float>(k.SupplyBombardedPercent(supplyIndex));
  const float t = static_cast<float>(k.BombardLandTableA(hex.terrain + 1));
  float f = 100.0f - static_cast<float>(hex.fortLevel * k.BombardLandValue());
  if (f <= 0.0f) {
    // consts.csv may steepen the scale until the highest levels lie past it:
    // such a fort takes the whole strike (the effectiveness keeps its floor)
    // rather than ending the game in the middle of a turn.
    LogLine(KeyText("error:_fort_in_hex_(%i,%i)_is_%i_which_exceeds_max._allowed_value!", static_cast<int>(hex.x),
                    static_cast<int>(hex.y), static_cast<int>(hex.fortLevel)));
    f = 0.0f;
  }
  const float c = hex.city ? static_cast<float>(k.BombardLandTableA(9)) : 100.0f;
  const float w = static_cast<float>(k.BombardLandTableC(hex.weather + 1));
  const float e = 100.0f - static_cast<float>(trenchBonusMultiplier) * k.EntrenchmentPercent();
  LogFormat(u"Modifiers: Strength(%.1f) Level(%.0f) Supply(%.0f) Terrain(%.0f) Weather(%.0f) City(%.0f) Fort(%.0f) "
            u"Enforcement(%.0f)",
            s, v, p, t, w, c, f, e);
  const float effectiveness =
      std::max(s * v / 100.0f * p / 100.0f * t / 100.0f * w / 100.0f * c / 100.0f * f / 100.0f * e / 100.0f, 1.0f);
  LogFormat(u"Attack effectiveness = %.1f", effectiveness);

  const int d1 = RandomRange(1, 6);
  const int d2 = RandomRange(1, 6);
  float defenderLoss = k.BombardLandFactor(d2) * effectiveness / 100.0f;
  if (plane && plane->RollCommanderDefenceCheck()) defenderLoss *= 2.0f;
  AddLosses(attacker->owner, owner, defenderLoss);
  LogFormat(u"Obronca: D6=%i Straty=%.2f", d2, defenderLoss);

  const int penalty = (100 - strength) / 20;
  const int column = std::clamp(level - penalty, 1, 5);
  LogFormat(u"Wyznaczenie kolumny. Poziom obroncy(%i)-Kara(%i) = KOLUMNA %i", level, penalty, column);
  int attackerLoss = k.BombardLandLossTable(d1, column);
  if (plane && plane->RollCommanderCheck()) attackerLoss = 0;
  LogFormat(u"Atakujacy: D6=%i, stracone pkty siĹ‚y = %i", d1, attackerLoss);

  bool attackerKilled = false;
  if (ship) {
    ship->AddHitPoints(static_cast<float>(-attackerLoss));
    attackerKilled = ship->hitPoints <= 0;
  } else if (plane) {
    plane->strength -= attackerLoss;
    attackerKilled = plane->strength <= 0;
  }
  AddLosses(owner, attacker->owner, static_cast<float>(attackerLoss));

  // A unit without a base value has nothing to measure the loss against.
  const float base = GetBaseValue();
  if (base > 0.0f) AddStrength(-static_cast<int>(defenderLoss * 100.0f / base));

  const std::u16string attackerOwner = CountryName(attacker->owner);
  const std::u16string defenderOwner = CountryName(owner);
  result.attackerLoss += static_cast<float>(attackerLoss);
  result.defenderLoss += defenderLoss;
  result.attackerLossText += KeyText("report_looses_bombardment", static_cast<float>(attackerLoss));
  result.defenderLossText += KeyText("report_looses_bombardment", defenderLoss);
  std::u16string attackerPart = GetText("report_bombardment_land_unit_attacker") +
                               KeyText("report_bombardment_land_unit_attacker_parameters", attacker->name,
                                       GetUnitTypeName(attacker->type), attackerOwner, d1, column, attackerLoss);
  if (attackerKilled) {
    attackerPart += GetText("report_unit_killed");
    result.SetFlag(kFlagAttackerDestroyed);
  }
  std::u16string defenderPart = GetText("report_bombardment_land_unit") +
                                KeyText("report_bombardment_land_unit_parameters", name, GetUnitTypeName(type),
                                        defenderOwner, d2, effectiveness, defenderLoss);
  const bool destroyed = GetStrengthValue() < 0.1f;
  if (destroyed) {
    defenderPart += GetText("report_unit_killed");
    result.SetFlag(kFlagDefenderDestroyed);
    LogLine(u"Defender killed");
  }
  const std::u16string headline =
      Format(u"\n%s (%s) bombed %s (%s) on hex (%d, %d)\n\n", attacker->name, attackerOwner, name, defenderOwner, x, y);
  result.attackerDetails += attackerPart;
  result.defenderDetails += headline + defenderPart;
  const std::u16string report = headline + attackerPart + defenderPart;
  const int attackerId = attacker->owner;
  const int defenderId = owner;
  if (destroyed) Kill();  // may free this unit: only copies are used below
  gGame->reports.Add(kReportAirStrike, attackerId, report);
  gGame->reports.Add(kReportAirStrikeSuffered, defenderId, report);
  LogLine(u"Bombowanie skonczone");
}

}  // namespace tr
