// Patrol fleets: the computer spreads its free ships over the sea zones it
// patrols in shares of equal hit points, one fleet per zone, and sends each
// fleet to its zone.
#include <vector>

#include "ai/country_ai.h"
#include "ai/fleet_mission.h"
#include "turn/fleet.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"

namespace tr {
namespace {

std::vector<cFleet*> FleetsOf(const cGame& game, int countryId) {
  std::vector<cFleet*> out;
  for (const auto& fleet : game.fleets) {
    if (fleet->countryId == countryId) out.push_back(fleet.get());
  }
  return out;
}

// One pass over the free fleets: the first that mixes zones loses the ships
// of another zone to a new fleet (true); a fleet of one zone takes up its
// patrol.
bool SplitOrAssignOnePass(const cGame& game, const cCountry& country) {
  for (cFleet* fleet : FleetsOf(game, country.id)) {
    if (fleet->ships.empty() || fleet->aiOrder != kMissionFree) continue;
    int other = -1;
    if (!fleet->HasSingleGroup(other)) {
      fleet->MarkShipsOfGroup(other);
      cFleet* split = cFleet::SplitOff(*fleet);
      fleet->RemoveMarkedShips();
      fleet->ClearShipMarks();
      if (split) split->ClearShipMarks();
      return true;
    }
    const int zone = fleet->ships.front()->group;
    fleet->aiOrder = kMissionPatrol;
    fleet->aiDestinationNode = zone;
    fleet->patrolValue = country.aiSettings.GetSeaZoneToPatrolValue(zone);
  }
  return false;
}

}  // namespace

void cCountryAI::OrganiseFleets() {
  cGame* game = gGame;
  if (!game || !country) return;
  for (cFleet* fleet : FleetsOf(*game, country->id)) {
    if (fleet->aiOrder == kMissionPatrol) fleet->aiOrder = kMissionFree;
  }
  const std::vector<sSeaZoneToPatrol>& zones = country->aiSettings.SeaZonesToPatrol;
  if (zones.empty()) return;

  int total = 0;
  for (cFleet* fleet : FleetsOf(*game, country->id)) {
    if (fleet->aiOrder == kMissionFree) total += fleet->SumHitPoints();
  }
  const int quota = total / static_cast<int>(zones.size());

  std::size_t current = 0;
  int running = 0;
  for (const auto& ship : game->navalUnits) {
    if (ship->owner != country->id || !ship->fleet || ship->fleet->aiOrder != kMissionFree) continue;
    ship->group = zones[current].seaZone;
    running += ship->hitPoints;
    if (running > quota) {
      running = 0;
      if (current + 1 < zones.size()) ++current;
    }
  }

  // Each split leaves one fleet fewer that mixes zones, so the passes end.
  while (SplitOrAssignOnePass(*game, *country)) {
  }
  for (cFleet* fleet : FleetsOf(*game, country->id)) {
    if (fleet->ships.empty()) DeleteFleet(fleet);
  }
  for (cFleet* fleet : FleetsOf(*game, country->id)) {
    if (fleet->aiOrder == kMissionPatrol) fleet->MoveTo(fleet->aiDestinationNode);
  }
}

}  // namespace tr
