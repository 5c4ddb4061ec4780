// The computer's fleets at sea: transports sail and unload, invasion fleets
// gather and the free fleets join them, the invasion lands when the zone is
// safe, and carriers strike before and after.
#include <algorithm>
#include <list>
#include <map>
#include <vector>

#include "ai/ai_phase.h"
#include "ai/country_ai.h"
#include "ai/fleet_mission.h"
#include "foundation/console_log.h"
#include "foundation/game_lock.h"
#include "turn/fleet.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"
#include "world/map.h"

namespace tr {
namespace {

// Impulses a land unit may stay aboard an invasion fleet: the wait for the
// others, the voyage to the landing zone and a few tries there.
constexpr int kInvasionPatience = 4;

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

// Lands the cargo of the fleet's transports (and of the amphibious ships of a
// given-up invasion) one by one, each ship sunk once its unit is ashore. True
// while the fleet still exists.
bool UnloadTransports(cGame& game, int fleetId) {
  while (cFleet* fleet = FindFleet(game, fleetId)) {
    cJednostkaMorska* unloaded = nullptr;
    for (cJednostkaMorska* ship : fleet->ships) {
      const bool carrier = ship->type == kCargoShip || ship->type == kAmphibiousShip;
      if (carrier && ship->carriedUnit && ship->UnloadCarriedUnit(0)) {
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

bool IsFriendlyHexController(const cCountry& country, int controller) {
  return controller == country.id || (controller > 0 && country.IsAlly(controller));
}

// A port the country or an ally holds, where a transport can land its units.
bool IsFriendlyPort(const cGame& game, const sWezelGrafuMorz& node, const cCountry& country) {
  if (!node.IsPort() || !game.map || !game.map->IsInside(node.x, node.y)) return false;
  return IsFriendlyHexController(country, game.map->GetHex(node.x, node.y)->controller);
}

// A free land hex a friendly port's ships can put a unit on: the port's own
// or one beside it.
bool HasRoomAshore(const cGame& game, const sWezelGrafuMorz& node, const cCountry& country) {
  const cMap& map = *game.map;
  const auto free = [&](const sHex& hex) {
    return hex.IsLand() && !hex.unit && IsFriendlyHexController(country, hex.controller);
  };
  if (free(*map.GetHex(node.x, node.y))) return true;
  for (int d = 0; d < kDirectionCount; ++d) {
    const sHex* next = map.GetNeighbour(node.x, node.y, d);
    if (next && free(*next)) return true;
  }
  return false;
}

// The friendly port the fleet reaches in the fewest steps, other than
// `passOver` and, when asked, with room ashore; -1 when none.
int NearestFriendlyPort(cGame& game, const cFleet& fleet, const cCountry& country, int passOver, bool withRoom) {
  cSeaGraph& graph = game.seaGraph;
  int best = -1;
  std::size_t shortest = 0;
  for (const sWezelGrafuMorz& node : graph.nodes) {
    if (node.id == passOver || !IsFriendlyPort(game, node, country)) continue;
    if (withRoom && !HasRoomAshore(game, node, country)) continue;
    std::list<std::int32_t> path;
    if (node.id != fleet.seaNodeId && !graph.FindPath(fleet.seaNodeId, node.id, country.id, true, path)) continue;
    const std::size_t length = node.id == fleet.seaNodeId ? 0 : path.size();
    if (best == -1 || length < shortest) {
      best = node.id;
      shortest = length;
    }
  }
  return best;
}

// A transport whose port has fallen would stay at sea with its units for the
// rest of the war: it sails for the nearest friendly port it can reach.
void RedirectFromLostPort(cGame& game, cFleet& fleet, const cCountry& country) {
  cSeaGraph& graph = game.seaGraph;
  if (!graph.IsNodeId(fleet.aiDestinationNode)) return;
  const sWezelGrafuMorz& destination = graph.GetNode(fleet.aiDestinationNode - 1);
  if (!destination.IsPort() || IsFriendlyPort(game, destination, country)) return;
  const int best = NearestFriendlyPort(game, fleet, country, -1, false);
  if (best == -1) return;
  LogFormat(u"[AI] %ls: %s lost its port %s and sails for %s", country.name, fleet.name, destination.name,
            graph.GetNode(best - 1).name);
  fleet.aiDestinationNode = best;
}

// A port whose hexes are all taken lands nobody: the transport sails for the
// nearest other friendly port with room instead of waiting there, and with
// none its units go back to the reserve.
void RedirectFromFullPort(cGame& game, int fleetId, const cCountry& country) {
  cFleet* fleet = FindFleet(game, fleetId);
  if (!fleet) return;
  const bool carries = std::any_of(fleet->ships.begin(), fleet->ships.end(), [](const cJednostkaMorska* ship) {
    return (ship->type == kCargoShip || ship->type == kAmphibiousShip) && ship->carriedUnit;
  });
  if (!carries) return;
  const int best = NearestFriendlyPort(game, *fleet, country, fleet->seaNodeId, true);
  if (best != -1) {
    LogFormat(u"[AI] %ls: %s finds no free hex at %s and sails for %s", country.name, fleet->name,
              fleet->GetSeaNode().name, game.seaGraph.GetNode(best - 1).name);
    fleet->aiDestinationNode = best;
    return;
  }
  // No friendly port has room: the units go back to the reserve, from which
  // the deployment places them where there is, and their ships are sunk.
  std::vector<cJednostkaMorska*> emptied;
  for (cJednostkaMorska* ship : fleet->ships) {
    cJednostkaLadowa* unit = ship->carriedUnit;
    if (!unit || (ship->type != kCargoShip && ship->type != kAmphibiousShip)) continue;
    auto& aboard = ship->type == kCargoShip ? game.aboardUnitsA : game.aboardUnitsB;
    const auto it = std::find_if(aboard.begin(), aboard.end(), [unit](const auto& p) { return p.get() == unit; });
    if (it == aboard.end()) continue;
    LogFormat(u"[AI] %ls: %s finds no port with room and takes %s back to the reserve", country.name, fleet->name,
              unit->name);
    if (ship->type == kCargoShip && unit->type >= 0 && unit->type < kLandTypeCount) {
      if (cCountry* owner = game.GetCountry(country.id)) {
        owner->AddSeaTransportPoints(game.constants.SeaTransportCost(unit->type));
      }
    }
    GameLockGuard lock(__FILE__, __LINE__);
    unit->transporter = nullptr;
    unit->transporterId = -1;
    unit->inReserve = 1;
    unit->availableInTurns = 0;
    unit->x = -1;
    unit->y = -1;
    game.reservePool.push_back(aboard.Take(it));
    ship->carriedUnit = nullptr;
    emptied.push_back(ship);
  }
  // The last ship takes the fleet down with it.
  for (cJednostkaMorska* ship : emptied) ship->Sink(0);
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
      if (fleet->seaNodeId == fleet->aiDestinationNode && UnloadTransports(*game, fleetId)) {
        RedirectFromFullPort(*game, fleetId, *country);
      }
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
  GiveUpStalledInvasions();
  CarrierBombardment();
  OrganiseFleets();
}

void cCountryAI::GiveUpStalledInvasions() {
  cGame* game = gGame;
  if (!game || !country) return;
  std::map<int, int> waits;
  for (const auto& owned : game->fleets) {
    cFleet& fleet = *owned;
    if (fleet.countryId != country->id ||
        (fleet.aiOrder != kMissionInvasionGather && fleet.aiOrder != kMissionInvasionLand)) {
      continue;
    }
    // Fleets split and join while they gather: the units aboard keep the count.
    int longest = 0;
    for (const cJednostkaMorska* ship : fleet.ships) {
      if (!ship->carriedUnit) continue;
      const auto before = invasionWaits_.find(ship->carriedUnit->id);
      const int waited = waits[ship->carriedUnit->id] = before == invasionWaits_.end() ? 1 : before->second + 1;
      longest = std::max(longest, waited);
    }
    if (longest == 0) continue;
    // A target the country or an ally took meanwhile needs no landing: its port takes the units.
    const cMap& map = *game->map;
    const bool taken = map.IsInside(fleet.aiInvasionX, fleet.aiInvasionY) &&
                       IsFriendlyHexController(*country, map.GetHex(fleet.aiInvasionX, fleet.aiInvasionY)->controller);
    if (longest < kInvasionPatience && !taken) continue;
    int port = NearestFriendlyPort(*game, fleet, *country, -1, true);
    if (port == -1) port = NearestFriendlyPort(*game, fleet, *country, -1, false);
    if (port == -1) continue;
    LogFormat(u"[AI] %ls: Amphibious invasion - %s cannot land near (%i, %i) and takes its units to %s",
              country->name, fleet.name, fleet.aiInvasionX, fleet.aiInvasionY, game->seaGraph.GetNode(port - 1).name);
    fleet.aiOrder = kMissionTransport;
    fleet.aiDestinationNode = port;
    fleet.aiInvasionX = fleet.aiInvasionY = -1;
  }
  invasionWaits_ = std::move(waits);
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
