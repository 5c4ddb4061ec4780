// Sea transport to the fronts: idle land units walk to a port from which a
// friendly port serving a front can be reached by sea, and are shipped there
// on a transport fleet of their own.
#include <algorithm>
#include <list>
#include <vector>

#include "ai/ai_order.h"
#include "ai/ai_pacing.h"
#include "ai/ai_phase.h"
#include "ai/country_ai.h"
#include "ai/fleet_mission.h"
#include "foundation/console_log.h"
#include "turn/fleet.h"
#include "units/air_support.h"
#include "units/jednostka_ladowa.h"
#include "world/cities_diagram.h"
#include "world/city_rules.h"
#include "world/gra.h"
#include "world/topography.h"

namespace tr {
namespace {

constexpr const char* kThisFile = "ai_sea_transport";

int PortNodeOf(const cGame& game, const cCity& city) { return game.seaGraph.FindNodeIdByHex(city.x, city.y); }

bool HasSeaPath(cGame& game, const cCity& from, const cCity& to, int countryId) {
  const int a = PortNodeOf(game, from);
  const int b = PortNodeOf(game, to);
  std::list<std::int32_t> path;
  return a >= 1 && b >= 1 && game.seaGraph.FindPath(a, b, countryId, true, path);
}

// The friendly port is one of the front's cities or reaches one over land.
bool ServesFront(cGame& game, cCity& port, const sFront& front, int countryId) {
  for (const sCitiesDiagramNode* node : front.cities) {
    if (!node || !node->city) continue;
    if (node->city == &port) return true;
    std::list<cCity*> path;
    if (game.citiesDiagram.FindPath(&port, node->city, countryId, path)) return true;
  }
  return false;
}

}  // namespace

void cCountryAI::TransportUnitsToFronts() {
  AiPhaseScope scope("TransportUnitsToFronts");
  cGame* game = gGame;
  if (!game || !game->map || !country) return;
  LogLine(u"Transporting sea units to fronts");
  if (fronts.empty()) {
    LogLine(u"No open fronts... aborting procedure.");
    return;
  }
  if (!HasReserveUnits()) {
    LogLine(u"No own idle land units (idle = no order). Aborting procedure.");
    return;
  }
  LogLine(u"Fronts before sort:");
  for (const sFront& front : fronts) PrintFrontSummary(front);
  fronts.sort([](const sFront& a, const sFront& b) { return a.advantage < b.advantage; });
  LogLine(u"Fronts after sort:");
  for (const sFront& front : fronts) PrintFrontSummary(front);

  std::vector<cCity*> friendlyPorts;
  for (const auto& city : game->cities) {
    const int controller = GetControllerId(*city);
    if (IsPort(*city) && (controller == country->id || (controller >= 1 && country->IsAlly(controller)))) {
      friendlyPorts.push_back(city.get());
    }
  }

  std::vector<cCity*> frontPorts;
  std::vector<cCity*> embarkation;
  const cStrategicMovement& movement = *game->strategicMovement;
  for (const sFront& front : fronts) {
    if (front.HasSingleEnclosedCity(*country)) continue;
    for (cCity* port : friendlyPorts) {
      if (ServesFront(*game, *port, front, country->id)) frontPorts.push_back(port);
    }
    for (cCity* port : friendlyPorts) {
      for (cCity* destination : frontPorts) {
        if (destination == port || !HasSeaPath(*game, *port, *destination, country->id)) continue;
        LogFormat(u"tempus7 %s: polaczenie %s -> %s jest!", country->name, port->name, destination->name);
        embarkation.push_back(port);
        break;
      }
    }
    if (frontPorts.empty() || embarkation.empty()) continue;
    for (cJednostkaLadowa* unit : ownLand) {
      if (unit->aiOrder != kAiOrderReserve) continue;
      const cCity* area = unit->GetHexGridEntry();
      cCity* chosen = nullptr;
      int fewest = -1;
      for (cCity* port : embarkation) {
        if (!movement.CanMoveStrategically(*unit, *port)) continue;
        const int hops = !area ? -1 : port == area ? 0 : GetHopsTo(*port, *area);
        if (hops < 0) continue;
        if (!chosen || hops < fewest) {
          chosen = port;
          fewest = hops;
        }
      }
      if (chosen) unit->SetAiOrder(kAiOrderSeaTransportA, chosen->x, chosen->y, fewest);
    }
  }

  for (cJednostkaLadowa* unit : ownLand) {
    if (unit->aiOrder != kAiOrderSeaTransportA) continue;
    if (unit->aiUltimateTargetX != -1 &&
        (TryStrategicMoveToCity(*unit, unit->aiUltimateTargetX, unit->aiUltimateTargetY, 1) ||
         unit->MoveTowardUltimateTarget())) {
      continue;
    }
    if (TryStrategicMoveToCity(*unit, unit->aiTargetX, unit->aiTargetY, 1)) continue;
    const int before = unit->actionPoints;
    unit->ComputeMoveRange(1);
    unit->ExecuteMoveOrder(unit->aiTargetX, unit->aiTargetY);
    if (unit->actionPoints == before) unit->aiOrder = kAiOrderSeaTransportB;
  }

  // A transport needs a port to sail for; without one nobody boards.
  if (frontPorts.empty()) return;
  const int destinationNode = PortNodeOf(*game, *frontPorts.front());
  std::vector<cJednostkaLadowa*> loaded;
  for (cJednostkaLadowa* unit : ownLand) {
    int px = -1;
    int py = -1;
    if (unit->aiOrder != kAiOrderSeaTransportB || !unit->IsInOrNearFriendlyPort(px, py) || unit->actionPoints <= 0) {
      continue;
    }
    if (unit->type < 0 || unit->type >= kLandTypeCount) continue;
    if (country->seaTransportPoints < game->constants.SeaTransportCost(unit->type)) {
      std::vector<std::int32_t>& queue = country->aiSettings.PurchaseQueue;
      std::erase(queue, 1);
      queue.insert(queue.begin(), 1);
      continue;
    }
    LogFormat(u"%s meets all conditions and will be loaded onto transport to go to front", unit->name);
    const bool shown = ShowsComputerMove(*unit);
    if (shown) {
      LogFormat(u"[AI] %ls: Loading %s onto transport", country->name, unit->name);
      CenterAtHex(*game->map, unit->x, unit->y, true);
      SleepAiDelay(kDelayAIMoveBefore, kThisFile, __LINE__);
    }
    cFleet* fleet = unit->EmbarkOnFleet(kCargoShip, game->seaGraph.FindNodeIdByHex(px, py), kMissionTransport);
    if (shown) SleepAiDelay(kDelayAIMoveAfter, kThisFile, __LINE__);
    if (!fleet) continue;
    fleet->aiDestinationNode = destinationNode;
    loaded.push_back(unit);
  }
  std::erase_if(ownLand, [&](cJednostkaLadowa* unit) {
    return std::find(loaded.begin(), loaded.end(), unit) != loaded.end();
  });
}

}  // namespace tr
