// The air war over one hex: the fighter an attacking country meets over a
// land hex, and the strike of an air unit or a carrier's aircraft on the
// unit, the city, the port or the sea zone of a hex.
#include <algorithm>

#include "foundation/console_log.h"
#include "scenario/report_kinds.h"
#include "units/air_support.h"
#include "units/combat_result.h"
#include "units/sea_node_air_ops.h"
#include "world/gra.h"
#include "world/hex_distance.h"

namespace tr {

cJednostkaLotnicza* sHex::FindBestInterceptor(int attackingCountry) const {
  LogFormat(u"Searching for interceptor while attacking hex (%i, %i / land)", x, y);
  cJednostkaLotnicza* best = nullptr;
  if (gGame) {
    const sScenarioConstants& k = gGame->constants;
    const int minimum = k.AirMaxStrength(kFighter) / 2;
    int bestPower = -1;
    for (const auto& unit : gGame->airUnits) {
      if (unit->type != kFighter || !AtWar(unit->owner, attackingCountry)) continue;
      if (HexDistance(unit->x, unit->y, x, y) > unit->GetRange() || unit->strength <= minimum) continue;
      const int power = k.SupplyAirModifier(unit->supply) + unit->level + unit->strength;
      LogFormat(u"Possible interceptor: %s, power: %i", unit->name, power);
      if (power > bestPower) {
        LogLine(u"Interceptor above is best so far!");
        bestPower = power;
        best = unit.get();
      }
    }
  }
  LogLine(best ? u"Searching for interceptor finished" : u"Searching for interceptor finished, no interceptor found");
  return best;
}

namespace {

void AddText(sCombatResult& result, std::string_view key, std::u16string_view ending) {
  result.defenderDetails += GetText(key);
  result.defenderDetails += ending;
}

// Kills the attacker when the part of the strike just made destroyed it;
// true when the strike is over.
bool AttackerDied(sCombatResult& result, cUnit& attacker, std::u16string_view line) {
  if (!result.Flag(kFlagAttackerDestroyed)) return false;
  LogLine(line);
  attacker.Kill();
  return true;
}

// A strike the interceptors turned back still cost the attacker its losses:
// both sides find it among their air strikes, with the duel that stopped it.
void FileStoppedStrike(const sCombatResult& result, const cUnit& attacker, int defending, int x, int y) {
  const std::u16string text =
      KeyText("report_air_strike_intercepted", attacker.name, CountryName(attacker.owner), x, y) +
      result.attackerDetails + result.defenderDetails;
  if (attacker.owner > 0) gGame->reports.Add(kReportAirStrike, attacker.owner, text);
  if (defending > 0 && defending != attacker.owner) gGame->reports.Add(kReportAirStrikeSuffered, defending, text);
}

}  // namespace

void sHex::BombardFromAir(sCombatResult& result, cUnit& attacker) {
  if (!gGame) return;
  cSeaNodeAirOps& sea = SeaNodeAirOps();
  const bool water = !IsLand();
  int defending = 0;

  // Interception.
  cUnit* interceptor = nullptr;
  if (water) {
    if (seaZone == 0) {
      LogFormat(u"Hex (%i, %i) lies in no sea zone: no interceptor, no ships to strike", x, y);
    } else {
      interceptor = sea.SearchInterceptor(seaZone, attacker.owner);
    }
  } else {
    defending = unit ? int{unit->owner} : controller;
    if (const cCountry* country = gGame->GetCountry(defending)) interceptor = country->FindBestInterceptor(x, y);
  }
  if (interceptor && attacker.TryIntercept(interceptor, &result)) {
    FileStoppedStrike(result, attacker, defending, x, y);
    if (result.Flag(kFlagAttackerDestroyed)) {
      LogLine(u"Przechwycenie przy bombowaniu heksa udane, ataker zabijany");
      attacker.Kill();
    }
    return;
  }

  if (attacker.spotted) {
    const bool heavy = attacker.type == kStrategicBomber || attacker.type == kAircraftCarrier;
    PlayAirSound(heavy ? u"StrategicBombardment.wav" : u"AirStrike.wav");
  }
  if (attacker.category == kCategoryAir) {
    if (auto* plane = dynamic_cast<cJednostka*>(&attacker)) plane->AddActionPoints(-1);
    result.kind = water ? kBattleAirStrikeSea : kBattleAirStrikeLand;
  } else {
    if (auto* carrier = dynamic_cast<cJednostkaMorska*>(&attacker)) carrier->airstrikeDone = 1;
    result.kind = water ? kBattleCarrierStrikeSea : kBattleCarrierStrikeLand;
  }
  result.attackerCountry = attacker.owner;
  result.defenderCountry = defending;

  if (water) {
    AddText(result, "report_bombardment_sea_zone_affected", u"\n");
    if (seaZone != 0 && sea.NodeType(seaZone) == kSeaNodeOpenSea) {
      sea.BombardSeaNode(seaZone, result, attacker, *this);
      AttackerDied(result, attacker, u"Attacker zabity podczas nalotu na hex (sea zone na heksie)");
    }
    return;
  }

  if (!unit) {
    AddText(result, "report_bombardment_no_unit", u"\n\n");
  } else {
    unit->spotted = 1;
    if (cCountry* attacking = gGame->GetCountry(attacker.owner)) {
      auto& spottedList = attacking->reconSpottedUnits;
      if (std::find(spottedList.begin(), spottedList.end(), unit) == spottedList.end()) spottedList.push_back(unit);
    }
    AddText(result, "report_bombardment_affected_unit", u"\n");
    unit->OnBombarded(&result, &attacker, this);
    if (AttackerDied(result, attacker, u"Attacker zabity podczas nalotu na hex (jednostke na heksie)")) return;
  }

  if (attacker.type == kStrategicBomber || attacker.type == kAircraftCarrier) {
    if (!city) {
      AddText(result, "report_bombardment_no_city", u"\n\n");
    } else {
      AddText(result, "report_bombardment_affected_city", u"\n");
      city->StrategicBombardment(result, attacker, *this);
      if (AttackerDied(result, attacker, u"Attacker zabity podczas nalotu na hex (miasto na heksie)")) return;
    }
  }

  const bool port = city && (city->type == kCitySupplyPort || city->type == kCityPort);
  if (port && seaNodeMarker != 0) {
    AddText(result, "report_bombardment_port_affected", u"\n");
    if (sea.NodeType(seaNodeMarker) == kSeaNodePort) {
      sea.BombardSeaNode(seaNodeMarker, result, attacker, *this);
      AttackerDied(result, attacker, u"Attacker zabity podczas nalotu na hex (port na heksie)");
    }
  } else {
    AddText(result, "report_bombardment_no_port", u"\n\n");
  }
}

}  // namespace tr
