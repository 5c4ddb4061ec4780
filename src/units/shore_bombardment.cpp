// Shore bombardment of a land unit by a fleet off its coast. It takes no
// strength: it lowers the unit's combat value for the turn, by an effect that
// replaces any earlier bombardment of the same turn.
#include <algorithm>
#include <cmath>
#include <vector>

#include "foundation/format.h"
#include "foundation/random.h"
#include "scenario/report_kinds.h"
#include "turn/fleet.h"
#include "units/air_support.h"
#include "units/combat_result.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"
#include "world/tech_levels.h"

namespace tr {
namespace {

// The ship's hit points against its type's reference; a ship with no maximum
// (or a type without a reference) fires at full weight.
float HitPointShare(const cJednostkaMorska& ship, const sScenarioConstants& k) {
  const int reference = k.ShipHitPoints(ship.type);
  if (ship.maxHitPoints == 0 || reference == 0) return 1.0f;
  return static_cast<float>(ship.hitPoints) / static_cast<float>(reference);
}

std::u16string ShipNames(std::u16string_view heading, const std::vector<cJednostkaMorska*>& ships) {
  if (ships.empty()) return {};
  std::u16string text(heading);
  for (const cJednostkaMorska* ship : ships) text += ship->name + u"\n  ";
  return text;
}

}  // namespace

void cJednostkaLadowa::ShoreBombardHex(cFleet& fleet, sCombatResult& result, int allShips) {
  if (!gGame) return;
  const sScenarioConstants& k = gGame->constants;
  spotted = 1;
  result.kind = kBattleShoreBombardment;
  result.attackerCountry = fleet.countryId;
  result.defenderCountry = owner;

  std::vector<cJednostkaMorska*> battleships;
  std::vector<cJednostkaMorska*> cruisers;
  for (cJednostkaMorska* ship : fleet.ships) {
    if (!ship || !ship->IsBattleshipOrCruiser() || ship->shoreBombardmentDone) continue;
    if (!ship->mark && !allShips) continue;
    (ship->type == kBattleship ? battleships : cruisers).push_back(ship);
  }
  const int die = RandomRange(1, 6);
  const int n = static_cast<int>(battleships.size() + cruisers.size());
  const float c = k.ShoreBombardmentExponent();
  // Without an exponent the ships' number weakens nothing.
  const float share = c != 0.0f ? std::pow(static_cast<float>(n), -1.0f / c) : 1.0f;

  std::u16string fleetText = u"Shore bombardment\n----------\n Fleet: " + fleet.name + u"\n";
  fleetText += ShipNames(u" Battleships:\n  ", battleships);
  fleetText += ShipNames(u" Cruisers:\n  ", cruisers);
  float effect = 0.0f;
  for (cJednostkaMorska* ship : battleships) {
    ship->shoreBombardmentDone = 1;
    effect += HitPointShare(*ship, k) * k.ShipTable(die) * share;
  }
  for (cJednostkaMorska* ship : cruisers) {
    ship->shoreBombardmentDone = 1;
    effect += HitPointShare(*ship, k) * k.ShipTable(6 + die) * share;
  }
  if (n == 0) effect = 0.0f;

  const float strengthValue = GetStrengthValue();
  effect = std::min(effect, strengthValue);
  const cCountry* navy = gGame->GetCountry(fleet.countryId);
  effect *= k.ShoreBombardmentNavyFactor(TechTableLevel(navy ? navy->GetTechLevel(kNavyTech) : 1));
  shoreBombardmentEffect =
      strengthValue > 0.0f ? effect / strengthValue * static_cast<float>(combatValue) : 0.0f;

  const std::u16string heading = Format(u"Shore bombardment: hex (%d, %d)\n\n", x, y);
  const std::u16string defenderText =
      heading + Format(u"Unit %s was attacked from sea by %s (%s)\n\n", name, fleet.name, CountryName(fleet.countryId));
  const std::u16string fleetSideText =
      heading + Format(u"Attacked unit %s (%s) from sea with %s\n\n", name, CountryName(owner), fleet.name);
  result.attackerDetails += fleetText + fleetSideText;
  result.defenderDetails += defenderText +
                            KeyText("report_details_shorebombardment_def", static_cast<int>(shoreBombardmentEffect));

  const int fleetOwner = fleet.countryId;
  const int unitOwner = owner;
  ComputeCombatValue();
  if (GetStrengthValue() < 0.1f) {
    result.SetFlag(kFlagDefenderDestroyed);
    Kill();  // frees this unit: only copies are used below
  }
  gGame->reports.Add(kReportShoreBombardment, fleetOwner, fleetSideText);
  gGame->reports.Add(kReportShoreBombardmentSuffered, unitOwner, defenderText);
}

}  // namespace tr
