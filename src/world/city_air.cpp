// Raids on a city: the strategic bombardment that destroys production and
// costs the raider its losses against the city's air cover and artillery,
// and the nuclear strike that takes a share of the production and hits the
// port beside it.
#include "foundation/random.h"
#include "scenario/report_kinds.h"
#include "units/air_support.h"
#include "units/combat_result.h"
#include "units/sea_node_air_ops.h"
#include "world/gra.h"
#include "world/tech_levels.h"

namespace tr {
namespace {

// The column's term of the controller's air cover over the hex.
int AirCoverTerm(float ratio) {
  if (ratio == -1.0f) return -4;
  if (ratio < 1.0f) return 0;
  if (ratio < 1.5f) return -1;
  if (ratio < 2.0f) return -2;
  if (ratio < 3.0f) return -3;
  return -4;
}

}  // namespace

void cCity::StrategicBombardment(sCombatResult& result, cUnit& attacker, sHex& hex) {
  if (!gGame) return;
  const sScenarioConstants& k = gGame->constants;
  auto* plane = attacker.category == kCategoryAir ? dynamic_cast<cJednostkaLotnicza*>(&attacker) : nullptr;
  auto* carrier = plane ? nullptr : dynamic_cast<cJednostkaMorska*>(&attacker);
  const cCountry* attackerOwner = gGame->GetCountry(attacker.owner);

  // Only an attacker at full strength destroys production; an empty maximum
  // counts as no strength at all.
  int quality = 0;
  int levelIndex = 0;
  if (plane) {
    const int full = k.AirMaxStrength(kStrategicBomber);
    quality = full > 0 ? plane->strength / full : 0;
    levelIndex = plane->level - 1;
  } else if (carrier) {
    quality = carrier->maxHitPoints > 0 ? carrier->hitPoints / carrier->maxHitPoints : 0;
    levelIndex = (attackerOwner ? attackerOwner->GetTechLevel(kNavyTech) : 0) - 1;
  }
  const int factor = quality * k.StrategicBombingValues(TechTableLevel(levelIndex + 1));

  const int d1 = RandomRange(1, 6);
  int lost = static_cast<int>(static_cast<float>(k.StrategicBombingLoss(d1) * factor) / 100.0f);
  lost = std::min(lost, static_cast<int>(productionPoints));

  const int controllerId = hex.controller;
  const cCountry* controller = gGame->GetCountry(controllerId);
  const float ratio = controller ? controller->GetAirSuperiorityRatio(hex.x, hex.y) : -1.0f;
  const int artillery = controller ? controller->GetTechLevel(kArtilleryTech) : 0;
  const int column = ClampAirColumn(AirCoverTerm(ratio) + (1 - artillery) + levelIndex);
  const int d2 = RandomRange(1, 6);
  const int loss = k.AirCombatTableB(d2, column);

  const float value = plane ? plane->GetEffectiveStrength() : (carrier ? static_cast<float>(carrier->hitPoints) : 0.0f);
  const float left = std::max(value - static_cast<float>(loss), 0.0f);
  result.attackerDetails +=
      KeyText("report_bombardment_city_attacker", name, GetUnitTypeName(attacker.type), attacker.name, left, loss);
  result.defenderDetails += KeyText("report_bombardment_city", name, CountryName(controllerId),
                                    productionPoints - static_cast<float>(lost), lost) +
                            u"\n\n";

  productionPoints -= static_cast<float>(lost);
  bombedPP += lost;
  if (lost > 0) result.SetFlag(kFlagCityAffected);

  bool destroyed = false;
  if (plane) {
    plane->strength -= loss;
    destroyed = plane->strength <= 0;
  } else if (carrier) {
    carrier->AddHitPoints(static_cast<float>(-loss));
    destroyed = carrier->hitPoints <= 0;
  }
  if (destroyed) {
    result.attackerDetails += GetText("report_unit_killed") + u"\n";
    result.SetFlag(kFlagAttackerDestroyed);
  }
  result.attackerLossText += KeyText("report_looses_city_bombardment", loss) + u"\n";
  result.attackerLoss += static_cast<float>(loss);
  result.attackerDetails += u"\n\n";

  gGame->reports.Add(kReportStrategicBombardmentSuffered, controllerId,
            Format(u"Strategic bombardment\n\nCity %s (%d, %d) was attacked by %s (%s) and lost %d PP", name, x, y,
                   attacker.name, CountryName(attacker.owner), lost));
  gGame->reports.Add(kReportStrategicBombardment, attacker.owner,
            Format(u"Strategic bombardment\n\nAttacked city %s (%d, %d) controlled by %s with %s. City lost %d PP",
                   name, x, y, CountryName(controllerId), attacker.name, lost));
}

void cCity::NuclearStrike(sCombatResult& result) {
  if (!gGame) return;
  const int whole = static_cast<int>(productionPoints);
  int loss = static_cast<int>(static_cast<float>(gGame->constants.NuclearLossPercent()) * productionPoints / 100.0f);
  loss = std::min(loss, whole);
  productionPoints -= static_cast<float>(loss);
  result.defenderLossText += KeyText("report_nuclear_on_city_pp_decreased", name, loss) + u"\n";
  const bool port = type == kCitySupplyPort || type == kCityPort;
  if (port && gGame->map && gGame->map->IsInside(x, y)) {
    const int marker = gGame->map->GetHex(x, y)->seaNodeMarker;
    cSeaNodeAirOps& sea = SeaNodeAirOps();
    if (marker != 0 && sea.NodeType(marker) == kSeaNodePort) sea.NuclearStrikeOnPort(marker, result);
  }
  result.defenderLossText += u"\n";
}

}  // namespace tr
