// Air strikes on a sea node and the nuclear strike on a port. The ships hit
// are chosen first and only then bombed and sunk, so no fleet or ship list
// changes while it is walked.
#include "turn/sea_bombardment.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/random.h"
#include "scenario/report_kinds.h"
#include "turn/fleet.h"
#include "turn/sea_graph_node.h"
#include "units/air_support.h"
#include "units/combat_result.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"

namespace tr {
namespace {

inline constexpr int kPortLine = 176;
inline constexpr int kShipHitLine = 178;

int TechLevel(int countryId, int tech) {
  const cCountry* country = gGame->GetCountry(countryId);
  return country ? country->GetTechLevel(tech) : 0;
}

// The port may lose one size step; the text tells what became of it.
std::u16string StrikePort(sWezelGrafuMorz& node, sCombatResult& result, const cUnit& attacker, const sHex& hex) {
  const sScenarioConstants& k = gGame->constants;
  const int controller = hex.controller;
  const std::int64_t raw = static_cast<std::int64_t>(k.Int(kPortLine, 1)) * TechLevel(attacker.owner, kAircraftTech) -
                           static_cast<std::int64_t>(k.Int(kPortLine, 2)) * TechLevel(controller, kArtilleryTech);
  const int chance = static_cast<int>(std::clamp<std::int64_t>(raw, 0, 100));
  int lost = 0;
  if (RandomRange(1, 100) < chance && node.portSize >= 2) {
    result.SetFlag(kFlagPortAffected);
    node.portSize -= 1;
    lost = 1;
  }
  return KeyText("report_bombardment_port", node.name, CountryName(controller), lost, node.maxPortSize, node.portSize,
                 node.maxPortSize);
}

// Each enemy ship of the node in turn may be taken; every ship taken makes
// the next one less likely to be.
std::vector<cJednostkaMorska*> ChooseShipsHit(const sWezelGrafuMorz& node, cUnit& attacker) {
  const sScenarioConstants& k = gGame->constants;
  std::vector<cJednostkaMorska*> taken;
  std::int64_t previous = 0;
  for (const auto& fleet : gGame->fleets) {
    if (fleet->seaNodeId != node.id || !AtWar(attacker.owner, fleet->countryId)) continue;
    for (cJednostkaMorska* ship : fleet->ships) {
      std::int64_t value = ship->spotted ? k.Int(kShipHitLine, 1) : k.Int(kShipHitLine, 2);
      value += static_cast<std::int64_t>(ship->hitPoints) * k.Int(kShipHitLine, 3);
      if (attacker.category == kCategoryAir) value += attacker.GetCommanderCheckChance();
      if (attacker.type == kStrategicBomber) value = value * k.Int(kShipHitLine, 4) / 100;
      const double lowered = static_cast<double>(value) - 0.25 * static_cast<double>(taken.size()) *
                                                              static_cast<double>(previous);
      const std::int64_t chance = static_cast<std::int64_t>(std::clamp(lowered, -1.0e15, 1.0e15));
      previous = chance;
      if (RandomRange(1, 100) < chance) taken.push_back(ship);
    }
  }
  return taken;
}

}  // namespace

void BombardSeaNode(sWezelGrafuMorz& node, sCombatResult& result, cUnit& attacker, sHex& hex) {
  if (!gGame) return;
  const bool port = node.IsPort();
  const std::u16string text =
      port ? StrikePort(node, result, attacker, hex) : KeyText("report_bombardment_sea_zone", node.name);
  result.defenderDetails += text + u"\n";

  const std::vector<cJednostkaMorska*> taken = ChooseShipsHit(node, attacker);
  std::vector<int> affected;
  int losses = 0;
  if (!taken.empty()) {
    result.SetFlag(kFlagNavalUnitsHit);
    result.defenderDetails +=
        GetText(port ? "report_bombardment_port_naval_units_affected" : "report_bombardment_sea_zone_naval_units_affected");
    for (auto it = taken.rbegin(); it != taken.rend(); ++it) {
      cJednostkaMorska* ship = *it;
      if (std::find(affected.begin(), affected.end(), ship->owner) == affected.end()) affected.push_back(ship->owner);
      result.defenderDetails += u"\n";
      ship->OnBombarded(&result, &attacker, &hex);
      ++losses;
      if (ship->hitPoints <= 0) {
        result.defenderDetails += Format(u"\n%s destroyed!\n", ship->name);
        ship->Sink(1);  // frees the ship
        result.SetFlag(kFlagDefenderDestroyed);
      }
    }
  } else {
    result.defenderDetails += GetText(port ? "report_bombardment_port_no_naval_units_affected"
                                           : "report_bombardment_sea_zone_no_naval_units_affected");
  }
  result.defenderDetails += u"\n\n";
  result.defenderLossText += KeyText("report_looses_sea_zone_port_bombardment", losses) + u"\n";

  const std::u16string report =
      Format(u"%s (%s) attacked %s\n\n", attacker.name, CountryName(attacker.owner), node.name) + result.defenderDetails;
  gGame->reports.Add(kReportSeaZoneAttack, attacker.owner, report);
  for (int country : affected) gGame->reports.Add(kReportSeaZoneAttack, country, report);
}

void NuclearStrikeOnPort(sWezelGrafuMorz& node, sCombatResult& result) {
  if (!gGame) return;
  node.portSize = 1;
  result.defenderLossText += GetText("report_nuclear_on_port_size_decreased") + u"\n";
  std::vector<cJednostkaMorska*> taken;
  for (const auto& fleet : gGame->fleets) {
    if (fleet->seaNodeId != node.id) continue;
    for (cJednostkaMorska* ship : fleet->ships) {
      if (RandomRange(1, 100) < 50) taken.push_back(ship);
    }
  }
  if (taken.empty()) {
    result.defenderLossText += GetText("report_nuclear_on_port_no_naval_units_destroyed") + u"\n";
  } else {
    result.SetFlag(kFlagDefenderDestroyed);
    result.defenderLossText += GetText("report_nuclear_on_port_destroyed_naval_units") + u"\n";
    for (cJednostkaMorska* ship : taken) {
      result.defenderLossText +=
          Format(u" %s - %s (%s)\n", ship->fleet ? ship->fleet->name : std::u16string(), ship->name,
                 CountryName(ship->owner));
      ship->Sink(1);  // frees the ship
    }
  }
  result.defenderLossText += u"\n";
}

}  // namespace tr
