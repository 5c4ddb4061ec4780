// The computer's fleets at sea: transports sail and unload, invasion fleets
// gather and the free fleets join them, the invasion lands when the zone is
// safe, and carriers strike before and after.
#include <algorithm>
#include <list>

#include "ai/ai_phase.h"
#include "ai/country_ai.h"
#include "ai/fleet_mission.h"
#include "foundation/console_log.h"
#include "turn/fleet.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"
#include "world/map.h"

namespace tr {
namespace {

// The country's fleets by number, in fleet-list order: a fleet may go down
// with its last ship while the list is walked.
std::list<int> CollectFleetIds(const cGame& game, int countryId) {
  std::list<int> ids;
  for (const auto& fleet : game.fleets) {
    if (fleet->countryId == countryId) ids.push_back(fleet->id);
  }
  return ids;
}

cFleet* FindFleet(cGame& game, int fleetId) {
  for (const auto& fleet : game.fleets) {
    if (fleet->id == fleetId) return fleet.get();
  }
  return nullptr;
}

// Lands the cargo of the fleet's transports one by one, each ship sunk once
// its unit is ashore. True while the fleet still exists.
bool UnloadTransports(cGame& game, int fleetId) {
  while (cFleet* fleet = FindFleet(game, fleetId)) {
    cJednostkaMorska* unloaded = nullptr;
    for (cJednostkaMorska* ship : fleet->ships) {
      if (ship->type == kCargoShip && ship->carriedUnit && ship->UnloadCarriedUnit(0)) {
        unloaded = ship;
        break;
      }
    }
    if (!unloaded) return true;
    const bool last = fleet->ships.size() == 1;
    unloaded->Sink(0);
    if (last) return false;
  }
  return false;
}

// A port the country or an ally holds, where a transport can land its units.
bool IsFriendlyPort(const cGame& game, const sWezelGrafuMorz& node, const cCountry& country) {
  if (!node.IsPort() || !game.map || !game.map->IsInside(node.x, node.y)) return false;
  const int controller = game.map->GetHex(node.x, node.y)->controller;
  return controller == country.id || (controller > 0 && country.IsAlly(controller));
}

// A transport whose port has fallen would stay at sea with its units for the
// rest of the war: it sails for the nearest friendly port it can reach.
void RedirectFromLostPort(cGame& game, cFleet& fleet, const cCountry& country) {
  cSeaGraph& graph = game.seaGraph;
  if (!graph.IsNodeId(fleet.aiDestinationNode)) return;
  const sWezelGrafuMorz& destination = graph.GetNode(fleet.aiDestinationNode - 1);
  if (!destination.IsPort() || IsFriendlyPort(game, destination, country)) return;
  int best = -1;
  std::size_t shortest = 0;
  for (const sWezelGrafuMorz& node : graph.nodes) {
    if (!IsFriendlyPort(game, node, country)) continue;
    std::list<std::int32_t> path;
    if (node.id != fleet.seaNodeId && !graph.FindPath(fleet.seaNodeId, node.id, country.id, true, path)) continue;
    const std::size_t length = node.id == fleet.seaNodeId ? 0 : path.size();
    if (best == -1 || length < shortest) {
      best = node.id;
      shortest = length;
    }
  }
  if (best == -1) return;
  LogFormat(u"[AI] %ls: %s lost its port %s and sails for %s", country.name, fleet.name, destination.name,
            graph.GetNode(best - 1).name);
  fleet.aiDestinationNode = best;
}

}  // namespace

void cCountryAI::NavalMoves() {
  AiPhaseScope scope("NavalMoves");
  cGame* game = gGame;
  if (!game || !country) return;
  int gathering = -1;
  int arrived = 0;
  int moving = 0;
  const std::list<int> first = CollectFleetIds(*game, country->id);
  CarrierBombardment();

  for (int fleetId : first) {
    cFleet* fleet = FindFleet(*game, fleetId);
    if (!fleet) continue;
    if (fleet->aiOrder == kMissionTransport) {
      RedirectFromLostPort(*game, *fleet, *country);
      if (fleet->aiDestinationNode != -1 && fleet->aiDestinationNode != fleet->seaNodeId) {
        fleet->MoveTo(fleet->aiDestinationNode);
      }
      if (fleet->seaNodeId == fleet->aiDestinationNode) UnloadTransports(*game, fleetId);
    } else if (fleet->aiOrder == kMissionInvasionGather) {
      if (fleet->seaNodeId == fleet->aiDestinationNode) {
        ++arrived;
      } else {
        fleet->MoveTo(fleet->aiDestinationNode);
        ++moving;
      }
      gathering = fleet->aiDestinationNode;
    }
  }

  if (arrived + moving > 0) {
    for (int fleetId : CollectFleetIds(*game, country->id)) {
      cFleet* fleet = FindFleet(*game, fleetId);
      if (!fleet || fleet->aiOrder == kMissionInvasionLand || fleet->aiOrder == kMissionInvasionGather ||
          fleet->aiOrder == kMissionTransport) {
        continue;
      }
      std::list<std::int32_t> path;
      if (!game->seaGraph.FindPath(fleet->seaNodeId, gathering, fleet->countryId, true, path)) continue;
      fleet->aiOrder = kMissionJoinedGathering;
      fleet->aiDestinationNode = gathering;
      fleet->MoveTo(gathering);
    }
  }

  if (IsSeaZoneSafe(gathering)) {
    AmphibiousInvasion();
    for (const auto& fleet : game->fleets) {
      if (fleet->countryId == country->id && fleet->aiOrder == kMissionJoinedGathering) {
        fleet->aiOrder = kMissionFree;
      }
    }
  }
  CarrierBombardment();
  OrganiseFleets();
}

bool cCountryAI::IsSeaZoneSafe(int seaNodeId) const {
  cGame* game = gGame;
  if (!game || !country || seaNodeId == -1) return true;
  std::list<cJednostkaMorska*> friendly;
  std::list<cJednostkaMorska*> enemy;
  int transports = 0;
  const float own = SumFriendlyNavalStrengthInZone(country->id, seaNodeId, friendly, transports);
  const float theirs = SumEnemyNavalStrengthInZone(country->id, seaNodeId, enemy);
  if (enemy.size() <= 1) return true;
  // Two enemy ships and nothing of ours to face them: never safe.
  if (own <= 0.0f) return false;
  const float ratio = theirs / own;
  if (ratio >= 1.0f) return false;
  if (ratio >= 0.3f) return transports < 3;
  return transports * 2 < static_cast<int>(friendly.size());
}

}  // namespace tr
