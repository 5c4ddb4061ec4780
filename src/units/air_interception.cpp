// Duels between air forces: the interception of a mission (by the air unit
// or carrier flying it) and the air fight of a fighter or a carrier against
// an air unit. Both read a column of -4..+4 and one die from the two air
// combat tables, charge the losses matrix and fill the combat result.
#include <algorithm>
#include <cmath>
#include <functional>

#include "foundation/console_log.h"
#include "foundation/random.h"
#include "scenario/report_kinds.h"
#include "units/air_support.h"
#include "units/combat_result.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"

namespace tr {
namespace {

void AddLosses(int from, int to, float amount) {
  if (from > 0 && to > 0) gGame->relations.AddLosses(from, to, amount);
}

// The interceptor's side: a fighter or a carrier; any other unit brings
// nothing to the duel and pays nothing.
struct sInterceptor {
  cUnit* unit = nullptr;
  cJednostkaLotnicza* fighter = nullptr;
  cJednostkaMorska* carrier = nullptr;
  int strength = 0;
  int level = 0;

  explicit sInterceptor(cUnit* u) : unit(u) {
    if (u->type == kFighter) fighter = dynamic_cast<cJednostkaLotnicza*>(u);
    if (u->type == kAircraftCarrier) carrier = dynamic_cast<cJednostkaMorska*>(u);
    if (fighter) {
      strength = fighter->strength;
      level = fighter->level;
    } else if (carrier) {
      strength = carrier->hitPoints;
      level = CountryNavyLevel(carrier->owner);
    }
  }

  // Takes the loss; a carrier never falls below its minimum, and its loss
  // becomes what it really lost.
  int Pay(int loss) {
    if (fighter) fighter->strength -= loss;
    if (!carrier) return loss;
    const int before = carrier->hitPoints;
    carrier->AddHitPoints(static_cast<float>(-loss));
    carrier->RaiseHitPointsToMinimum();
    return before - carrier->hitPoints;
  }

  int Remaining() const {
    if (fighter) return fighter->strength;
    if (carrier) return carrier->hitPoints;
    return 0;
  }
};

// The side flying the mission: the base of its column, how it pays its loss
// and what it has left.
struct sMission {
  cUnit& unit;
  int columnBase;
  std::function<void(int)> pay;
  std::function<int()> remaining;
  bool fullLog;
};

void Log(const sMission& m, std::u16string_view line) {
  if (m.fullLog) LogLine(line);
}

// The duel is filed for both countries whatever came of it: the losses it
// cost would otherwise be seen nowhere but in the popup. The texts are those
// the duel just added to the result.
void FileInterception(const sCombatResult& result, std::size_t attackerFrom, std::size_t defenderFrom,
                      int missionOwner, int interceptorOwner) {
  const std::u16string text = GetText("report_interception") + u"\n\n" +
                              result.attackerDetails.substr(attackerFrom) + result.defenderDetails.substr(defenderFrom);
  if (missionOwner > 0) gGame->reports.Add(kReportAirToAir, missionOwner, text);
  if (interceptorOwner > 0 && interceptorOwner != missionOwner) {
    gGame->reports.Add(kReportAirToAir, interceptorOwner, text);
  }
}

bool Duel(const sMission& m, cUnit* interceptorUnit, sCombatResult& result) {
  sInterceptor i(interceptorUnit);
  cUnit& mission = m.unit;
  if (mission.spotted || interceptorUnit->spotted) PlayAirSound(u"AirToAirCombat.wav");
  result.kind = kBattleInterception;
  LogFormat(u"%s tries to intercept %s", interceptorUnit->name, mission.name);

  const int column = ClampAirColumn(m.columnBase - i.level - i.strength);
  const int die = RandomRange(1, 6);
  const sScenarioConstants& k = gGame->constants;
  int interceptorLoss = k.AirCombatTableB(die, column);
  const int missionLoss = k.AirCombatTableA(die, column);

  interceptorLoss = i.Pay(interceptorLoss);
  m.pay(missionLoss);

  const int missionOwner = mission.owner;
  const int interceptorOwner = interceptorUnit->owner;
  AddLosses(missionOwner, interceptorOwner, static_cast<float>(interceptorLoss));
  AddLosses(interceptorOwner, missionOwner, static_cast<float>(missionLoss));
  result.attackerLoss += static_cast<float>(missionLoss);
  result.defenderLoss += static_cast<float>(interceptorLoss);
  result.SetFlag(kFlagInterception);

  result.attackerCountry = missionOwner;
  result.defenderCountry = interceptorOwner;
  result.attackerLossText += KeyText("report_looses_interception", missionLoss) + u"\n";
  result.defenderLossText += KeyText("report_looses_interception", interceptorLoss) + u"\n";
  result.attackerDetails += KeyText("report_details_interception_att", mission.name, CountryName(missionOwner),
                                    std::max(m.remaining(), 0), missionLoss);
  result.defenderDetails += KeyText("report_details_interception", interceptorUnit->name,
                                    CountryName(interceptorOwner), i.Remaining(), interceptorLoss);
  Log(m, u"Intercepcja w toku, linia 486");

  if (i.fighter && static_cast<float>(i.fighter->strength) < 0.1f) {
    result.SetFlag(kFlagDefenderDestroyed);
    result.defenderDetails += GetText("report_unit_killed") + GetText("report_details_interception_failed");
    result.attackerDetails += GetText("report_details_interception_failed_att");
    i.fighter->Kill();
    Log(m, u"Intercepcja nieudana, interceptor zdechl");
    return false;
  }
  if (static_cast<float>(m.remaining()) < 0.1f) {
    result.SetFlag(kFlagInterceptionStopped);
    result.SetFlag(kFlagAttackerDestroyed);
    result.attackerDetails += GetText("report_unit_killed") + GetText("report_details_interception_succeeded_att");
    result.defenderDetails += GetText("report_details_interception_succeeded");
    Log(m, u"Intercepcja udana, ataker zabity");
    return true;
  }
  if (missionLoss > interceptorLoss) {
    result.SetFlag(kFlagInterceptionStopped);
    result.attackerDetails += GetText("report_details_interception_succeeded_att");
    result.defenderDetails += GetText("report_details_interception_succeeded");
    Log(m, u"Intercepcja udana, interceptor straciĹ‚ mniej niĹĽ ataker");
    return true;
  }
  result.attackerDetails += GetText("report_details_interception_failed_att") + u"\n";
  result.defenderDetails += GetText("report_details_interception_failed") + u"\n";
  Log(m, u"Intercepcja nieudana, interceptor straciĹ‚ wiÄ™cej niĹĽ ataker");
  return false;
}

bool RunInterception(const sMission& m, cUnit* interceptorUnit, sCombatResult& result) {
  const std::size_t attackerFrom = result.attackerDetails.size();
  const std::size_t defenderFrom = result.defenderDetails.size();
  const int missionOwner = m.unit.owner;
  // A fighter that dies in the duel is freed: its owner is read first.
  const int interceptorOwner = interceptorUnit->owner;
  const bool stopped = Duel(m, interceptorUnit, result);
  FileInterception(result, attackerFrom, defenderFrom, missionOwner, interceptorOwner);
  return stopped;
}

}  // namespace

bool cJednostkaLotnicza::TryIntercept(cUnit* interceptor, sCombatResult* result) {
  if (!gGame || !interceptor || !result) return false;
  const sMission mission{*this, level + strength, [this](int loss) { strength -= loss; },
                         [this] { return strength; }, true};
  return RunInterception(mission, interceptor, *result);
}

bool cJednostkaMorska::TryIntercept(cUnit* interceptor, sCombatResult* result) {
  if (!gGame || !interceptor || !result) return false;
  const auto pay = [this](int loss) {
    AddHitPoints(static_cast<float>(-loss));
    RaiseHitPointsToMinimum();
  };
  const sMission mission{*this, hitPoints + CountryNavyLevel(interceptor->owner), pay, [this] { return hitPoints; },
                         false};
  return RunInterception(mission, interceptor, *result);
}

void cJednostkaLotnicza::AirFight(sCombatResult& result, cUnit& attacker, sHex*) {
  if (!gGame) return;
  const sScenarioConstants& k = gGame->constants;
  auto* airAttacker = attacker.category == kCategoryAir ? dynamic_cast<cJednostkaLotnicza*>(&attacker) : nullptr;
  auto* carrier = airAttacker ? nullptr : dynamic_cast<cJednostkaMorska*>(&attacker);
  int s = 0;
  int l = 0;
  int p = 30;
  if (airAttacker) {
    s = airAttacker->strength;
    l = airAttacker->level - 1;
    p = airAttacker->supply;
    airAttacker->AddActionPoints(-1);
  } else if (carrier) {
    s = carrier->hitPoints;
    l = CountryNavyLevel(carrier->owner) - 1;
  }
  result.kind = kBattleAirFight;
  result.attackerCountry = attacker.owner;
  result.defenderCountry = owner;
  LogFormat(u"%s (strength:%i, level:%i, supply:%i) airfight with %s (strength:%i, level:%i, supply: %i)",
            attacker.name, s, l, k.SupplyAirModifier(p), name, strength, level, k.SupplyAirModifier(supply));

  const int column = ClampAirColumn((k.SupplyAirModifier(p) + l + s) - (k.SupplyAirModifier(supply) + level + strength));
  const int die = RandomRange(1, 6);
  int attackerLoss = k.AirCombatTableB(die, column);
  int defenderLoss = k.AirCombatTableA(die, column);
  if (airAttacker && airAttacker->RollCommanderCheck()) attackerLoss = 0;
  if (RollCommanderCheck()) defenderLoss = 0;
  AddLosses(attacker.owner, owner, static_cast<float>(defenderLoss));
  AddLosses(owner, attacker.owner, static_cast<float>(attackerLoss));
  LogFormat(u"Column = %+i, D6=%i, att losses=%i, def losses=%i", column, die, attackerLoss, defenderLoss);

  bool attackerKilled = false;
  if (airAttacker) {
    airAttacker->strength -= attackerLoss;
    attackerKilled = static_cast<float>(airAttacker->strength) < 0.1f;
  } else if (carrier) {
    carrier->AddHitPoints(static_cast<float>(-attackerLoss));
    attackerKilled = carrier->hitPoints <= 0;
  }
  if (attackerKilled) {
    result.attackerDetails += GetText("report_unit_killed");
    result.SetFlag(kFlagAttackerDestroyed);
  }
  result.attackerLoss += static_cast<float>(attackerLoss);
  result.attackerLossText += KeyText("report_looses_air_fight", attackerLoss);
  result.defenderDetails +=
      KeyText("report_air_fight", name, CountryName(owner), GetUnitTypeName(type), strength, level);

  strength -= defenderLoss;
  result.defenderLoss += static_cast<float>(defenderLoss);
  result.defenderLossText += KeyText("report_looses_air_fight", defenderLoss);

  const float lossA = static_cast<float>(attackerLoss);
  const float lossD = static_cast<float>(defenderLoss);
  gGame->reports.Add(kReportAirToAir, attacker.owner,
            Format(u"Air combat\n\n%s attacked %s (%s).\n\nAttacker losses: %.2f\nDefender losses: %.2f",
                   attacker.name, name, CountryName(owner), lossA, lossD));
  gGame->reports.Add(kReportAirToAirSuffered, owner,
            Format(u"Air combar\n\n%s was attacked by %s (%s).\n\nAttacker losses: %.2f\nDefender losses: %.2f", name,
                   attacker.name, CountryName(owner), lossA, lossD));

  if (static_cast<float>(strength) < 0.1f) {
    result.defenderDetails += GetText("report_unit_killed");
    result.SetFlag(kFlagDefenderDestroyed);
    Kill();  // frees this unit: nothing may follow
  }
}

void cJednostkaLotnicza::OnBombarded(sCombatResult* result, cUnit* attacker, sHex* hex) {
  // Bombers cannot attack air units; a carrier's aircraft fight them.
  if (result && attacker && attacker->type == kAircraftCarrier) AirFight(*result, *attacker, hex);
}

}  // namespace tr
