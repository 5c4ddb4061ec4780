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
#include "turn/fleet.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_morska.h"
#include "world/city_rules.h"
#include "world/gra.h"
#include "world/map.h"

namespace tr {
namespace {

// Impulses an invasion may spend at its landing zone (or stuck on the way)
// without landing before it is given up.
constexpr int kInvasionPatience = 4;
// Impulses for which the choice of an invasion target passes over a target
// just given up.
constexpr int kRetryGivenUpTargetAfter = 12;

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

// A port the country or an ally holds, where a transport can land its units.
bool IsFriendlyPort(const cGame& game, const sWezelGrafuMorz& node, const cCountry& country) {
  if (!node.IsPort() || !game.map || !game.map->IsInside(node.x, node.y)) return false;
  return game.map->GetHex(node.x, node.y)->IsControlledByFriend(country.id);
}

// A free land hex a friendly port's ships can put a unit on: the port's own
// or one beside it.
bool HasRoomAshore(const sWezelGrafuMorz& node, const cCountry& country) {
  return FindFreeHexForCountry(node.x, node.y, country).x != -1;
}

// The friendly port the fleet reaches in the fewest steps, other than
// `passOver` and, when asked, with room ashore; -1 when none.
int NearestFriendlyPort(cGame& game, const cFleet& fleet, const cCountry& country, int passOver, bool withRoom) {
  cSeaGraph& graph = game.seaGraph;
  int best = -1;
  std::size_t shortest = 0;
  for (const sWezelGrafuMorz& node : graph.nodes) {
    if (node.id == passOver || !IsFriendlyPort(game, node, country)) continue;
    if (withRoom && !HasRoomAshore(node, country)) continue;
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
    LogFormat(u"[AI] %ls: %s finds no port with room and takes %s back to the reserve", country.name, fleet->name,
              unit->name);
    if (unit->MoveFromShipToReservePool()) emptied.push_back(ship);
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
  std::erase_if(givenUpTargets_, [&](const sGivenUpTarget& given) {
    return game->turn - given.turn >= kRetryGivenUpTargetAfter;
  });
  std::map<int, sInvasionWait> waits;
  for (const auto& owned : game->fleets) {
    cFleet& fleet = *owned;
    // A fleet set to land by the scenario (mission 1) lands where the
    // scenario said, however long it takes.
    if (fleet.countryId != country->id || fleet.aiOrder != kMissionInvasionGather) continue;
    // The voyage costs no patience: only the impulses at the landing zone,
    // where the landing failed or the zone was not safe, and those in which
    // the fleet got no nearer. Fleets split and join on the way: the units
    // aboard keep the count.
    const bool atZone = fleet.seaNodeId == fleet.aiDestinationNode;
    int longest = -1;
    for (const cJednostkaMorska* ship : fleet.ships) {
      if (!ship->carriedUnit) continue;
      const auto before = invasionWaits_.find(ship->carriedUnit->id);
      sInvasionWait& wait = waits[ship->carriedUnit->id];
      if (before != invasionWaits_.end()) wait.stalled = before->second.stalled;
      if (atZone || (before != invasionWaits_.end() && before->second.node == fleet.seaNodeId)) ++wait.stalled;
      wait.node = fleet.seaNodeId;
      longest = std::max(longest, wait.stalled);
    }
    if (longest < 0) continue;
    // A target the country or an ally took meanwhile needs no landing: its port takes the units.
    const cMap& map = *game->map;
    const bool taken = map.IsInside(fleet.aiInvasionX, fleet.aiInvasionY) &&
                       map.GetHex(fleet.aiInvasionX, fleet.aiInvasionY)->IsControlledByFriend(country->id);
    if (longest < kInvasionPatience && !taken) continue;
    int port = NearestFriendlyPort(*game, fleet, *country, -1, true);
    if (port == -1) port = NearestFriendlyPort(*game, fleet, *country, -1, false);
    if (port == -1) continue;
    const sWezelGrafuMorz& haven = game->seaGraph.GetNode(port - 1);
    if (taken) {
      LogFormat(u"[AI] %ls: Amphibious invasion - %s finds (%i, %i) in friendly hands and takes its units to %s",
                country->name, fleet.name, fleet.aiInvasionX, fleet.aiInvasionY, haven.name);
    } else if (atZone) {
      LogFormat(u"[AI] %ls: Amphibious invasion - %s cannot land near (%i, %i) and takes its units to %s",
                country->name, fleet.name, fleet.aiInvasionX, fleet.aiInvasionY, haven.name);
    } else {
      LogFormat(u"[AI] %ls: Amphibious invasion - %s cannot reach the landing zone of (%i, %i) and takes its units "
                u"to %s",
                country->name, fleet.name, fleet.aiInvasionX, fleet.aiInvasionY, haven.name);
    }
    if (!taken) givenUpTargets_.push_back({{fleet.aiInvasionX, fleet.aiInvasionY}, game->turn});
    fleet.aiOrder = kMissionTransport;
    fleet.aiDestinationNode = port;
    fleet.aiInvasionX = fleet.aiInvasionY = -1;
  }
  invasionWaits_ = std::move(waits);
}

bool cCountryAI::WasGivenUpLately(int x, int y) const {
  const cGame* game = gGame;
  if (!game) return false;
  return std::any_of(givenUpTargets_.begin(), givenUpTargets_.end(), [&](const sGivenUpTarget& given) {
    return given.at.x == x && given.at.y == y && game->turn - given.turn < kRetryGivenUpTargetAfter;
  });
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
