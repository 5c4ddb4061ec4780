// Operational planning: every own land unit gets a standing order for the
// rest of the turn (hold or cover a city, attack, reinforce, go to a front,
// wait), and free units gather at staging cities for the scenario's targets.
// The orders are only written here; the operational moves carry them out.
#include <algorithm>
#include <limits>
#include <list>

#include "ai/ai_order.h"
#include "ai/ai_phase.h"
#include "ai/country_ai.h"
#include "foundation/console_log.h"
#include "units/air_support.h"
#include "units/jednostka_ladowa.h"
#include "world/cities_diagram.h"
#include "world/city_rules.h"
#include "world/gra.h"
#include "world/hex_distance.h"

namespace tr {
namespace {

// A city that needs a garrison this turn.
struct sGarrisonCase {
  cCity* city = nullptr;
  std::int32_t wantedKind = 0;  // 0 a division is enough, 1 a corps is wanted
  std::uint8_t held = 0;        // an own unit of the wanted kind stands on the city
  std::uint8_t holder = 0;      // an own unit of the other kind stands there
};

// One staging city for one scenario target.
struct sBuildUpStage {
  cCity* city = nullptr;
  sAiTarget target{};
  float assignedStrength = 0.0f;
};

// Controller 0 is nobody's friend and at war with nobody.
bool IsFriendly(const cCountry& country, int controller) {
  if (controller == 0) return false;
  return controller == country.id || country.IsAlly(controller);
}

bool IsDivisionType(int type) { return type == kInfantryDivision || type == kMechanizedDivision || type == kArmouredDivision; }
bool IsCorpsType(int type) { return type == kInfantryCorps || type == kMechanizedCorps || type == kArmouredCorps; }

// The city-graph hops from the unit to the city: the city's count at the node
// of the unit's area city; -1 when either is unknown.
int HopsFromUnit(const cJednostkaLadowa& unit, const cCity& city) {
  const cCity* area = unit.GetHexGridEntry();
  return area ? GetHopsTo(city, *area) : -1;
}

// Fewest hops, then the shortest distance; an earlier unit stays on a full tie.
struct sBestUnit {
  cJednostkaLadowa* unit = nullptr;
  int hops = 0;
  int distance = 0;
  void Offer(cJednostkaLadowa* candidate, int candidateHops, int candidateDistance) {
    if (!unit || candidateHops < hops || (candidateHops == hops && candidateDistance < distance)) {
      unit = candidate;
      hops = candidateHops;
      distance = candidateDistance;
    }
  }
};

sCitiesDiagramNode* NodeOf(const cCity* city) {
  return city && gGame ? gGame->citiesDiagram.GetNode(city->diagramNode) : nullptr;
}

}  // namespace

void cCountryAI::ClearCityAssignedStrength() {
  cGame* game = gGame;
  if (!game) return;
  for (const auto& city : game->cities) city->assignedStrength = 0.0f;
}

bool cCountryAI::HasReserveUnits() const {
  return std::any_of(ownLand.begin(), ownLand.end(),
                     [](const cJednostkaLadowa* unit) { return unit->aiOrder == kAiOrderReserve; });
}

void cCountryAI::PlanOperations() {
  AiPhaseScope scope("PlanOperations");
  cGame* game = gGame;
  if (!game || !game->map || !country) return;
  cMap& map = *game->map;
  const int k = country->id;

  LogLine(u"bu bu 1");
  ClearCityAssignedStrength();
  BuildUnitLists();

  LogLine(u"bu bu 2");
  for (cJednostkaLadowa* unit : ownLand) {
    if (unit->aiOrder == kAiOrderObviousMove) {
      unit->aiOrder = kAiOrderCoverCity;
      continue;
    }
    unit->aiOrder = kAiOrderNone;
    unit->aiTargetX = unit->aiTargetY = -1;
    unit->aiUltimateTargetX = unit->aiUltimateTargetY = -1;
  }

  LogLine(u"bu bu 3");
  std::list<sGarrisonCase> cases;
  for (const auto& owned : game->cities) {
    cCity& city = *owned;
    if (city.type == kCityResources) continue;
    const bool controls = GetControllerId(city) == k;
    const bool original = GetOriginalOwnerId(city) == k;
    int kind = -1;
    if (controls && original && (city.type == kCitySupply || city.type == kCitySupplyPort)) {
      kind = 1;
    } else if (controls && (IsCityInFrontWithState(city, kFrontThreatened) ||
                            IsCityInFrontWithState(city, kFrontCritical))) {
      kind = 1;
    } else if (controls && (city.type == kCitySupplyPort || city.type == kCityPort)) {
      kind = 0;
    } else if (controls && !original && city.victoryPoints > 0) {
      kind = 0;
    } else if (controls && IsCityInFrontWithState(city, kFrontHolding)) {
      kind = 0;
    } else if (country->IsExtraCityToGarrison(city.x, city.y)) {
      kind = 0;
    }
    if (kind >= 0) cases.push_back({&city, kind, 0, 0});
  }

  LogLine(u"bu bu 4");
  for (sGarrisonCase& place : cases) {
    if (!map.IsInside(place.city->x, place.city->y)) continue;
    auto* unit = dynamic_cast<cJednostkaLadowa*>(map.GetHex(place.city->x, place.city->y)->unit);
    if (!unit || unit->owner != k || std::find(ownLand.begin(), ownLand.end(), unit) == ownLand.end()) continue;
    const bool wanted = (place.wantedKind == 1) == unit->IsCorps();
    unit->SetAiOrder(wanted ? kAiOrderHoldCity : kAiOrderCoverCity, place.city->x, place.city->y, 0);
    (wanted ? place.held : place.holder) = 1;
  }
  cases.remove_if([](const sGarrisonCase& place) { return place.held != 0; });

  LogLine(u"bu bu 5");
  for (const sGarrisonCase& place : cases) {
    cCity& city = *place.city;
    sBestUnit division;
    sBestUnit corps;
    for (cJednostkaLadowa* unit : ownLand) {
      if (unit->aiOrder != kAiOrderNone) continue;
      if (!game->strategicMovement || !game->strategicMovement->CanMoveStrategically(*unit, city)) continue;
      const int hops = HopsFromUnit(*unit, city);
      if (hops < 0) continue;
      const int distance = HexDistance(unit->x, unit->y, city.x, city.y);
      if (IsDivisionType(unit->type)) division.Offer(unit, hops, distance);
      if (IsCorpsType(unit->type)) corps.Offer(unit, hops, distance);
    }
    const sBestUnit& w = place.wantedKind == 1 ? corps : division;
    const sBestUnit& o = place.wantedKind == 1 ? division : corps;
    if (!w.unit && !o.unit) continue;
    // A unit of the other kind already stands on the city: another of that
    // kind would only take its place, and the two would swap every turn.
    if (!w.unit && place.holder) continue;
    if (!w.unit || !o.unit) {
      const sBestUnit& only = w.unit ? w : o;
      only.unit->SetAiOrder(kAiOrderHoldCity, city.x, city.y, only.hops);
      continue;
    }
    w.unit->SetAiOrder(kAiOrderHoldCity, city.x, city.y, w.hops);
    if (w.hops < o.hops || (w.hops == o.hops && w.distance <= o.distance)) continue;
    // The nearer unit of the other kind covers the city until the holder arrives.
    w.unit->ComputeMoveRange(1);
    if (!w.unit->IsHexInMoveRange(city.x, city.y) && !place.holder) {
      o.unit->SetAiOrder(kAiOrderCoverCity, city.x, city.y, o.hops);
    }
  }

  LogLine(u"bu bu 6");
  for (cJednostkaLadowa* unit : ownLand) {
    if (unit->aiOrder != kAiOrderNone) continue;
    cCity* area = unit->GetHexGridEntry();
    sCitiesDiagramNode* areaNode = NodeOf(area);
    if (area && IsCityInFrontWithState(*area, kFrontHolding)) {
      // A quiet front: the least attacked enemy neighbour the front does not already crowd.
      const int limit = country->aiSettings.MaxUnitCountOnFront;
      cCity* target = nullptr;
      float lowest = 1e9f;
      if (areaNode) {
        for (const sCitiesDiagramEdge& edge : areaNode->edges) {
          const sCitiesDiagramNode* next = game->citiesDiagram.GetNode(edge.target);
          if (edge.kind != 0 || !next || !next->city) continue;
          cCity& city = *next->city;
          if (city.attackAllowed != 1 || !AtWar(GetControllerId(city), k) || next->ownUnitCount > limit) continue;
          if (city.assignedStrength < lowest) {
            lowest = city.assignedStrength;
            target = &city;
          }
        }
      }
      if (area->assignedStrength < lowest && area->attackAllowed == 1 && AtWar(GetControllerId(*area), k) &&
          areaNode && areaNode->ownUnitCount <= limit) {
        target = area;
      }
      if (target) {
        unit->SetAiOrder(kAiOrderAttackCity, target->x, target->y, 0);
        target->assignedStrength += unit->GetEffectiveStrength();
      } else {
        unit->aiOrder = kAiOrderQuietFront;
      }
    } else if (area && (IsCityInFrontWithState(*area, kFrontThreatened) ||
                        IsCityInFrontWithState(*area, kFrontCritical))) {
      cCity* target = nullptr;
      int nearest = std::numeric_limits<int>::max();
      if (areaNode) {
        for (const sCitiesDiagramEdge& edge : areaNode->edges) {
          const sCitiesDiagramNode* next = game->citiesDiagram.GetNode(edge.target);
          if (edge.kind != 0 || !next || !next->city) continue;
          cCity& city = *next->city;
          if (!IsFriendly(*country, GetControllerId(city)) || !IsFrontCity(city)) continue;
          const int distance = HexDistance(unit->x, unit->y, city.x, city.y);
          if (distance <= nearest) {
            nearest = distance;
            target = &city;
          }
        }
      }
      if (IsFriendly(*country, GetControllerId(*area)) &&
          HexDistance(unit->x, unit->y, area->x, area->y) < nearest) {
        target = area;
      }
      if (target) unit->SetAiOrder(kAiOrderReinforce, target->x, target->y, 0);
    } else if (area && !IsFrontCity(*area)) {
      cCity* front = FindNearestFrontCity(*unit);
      if (front) {
        unit->SetAiOrder(kAiOrderGoToFront, front->x, front->y, GetHopsTo(*front, *area));
      } else {
        unit->SetAiOrder(kAiOrderReserve, -1, -1, 0);
      }
    } else {
      LogFormat(u"ERROR: Jednostka %s nieprzyporządkowana do żadnego przypadku!", unit->name);
    }
  }

  LogLine(u"bu bu 7");
}

void cCountryAI::BuildUpInvasionForces() {
  AiPhaseScope scope("BuildUpInvasionForces");
  cGame* game = gGame;
  if (!game || !game->map || !country) return;
  cMap& map = *game->map;
  const int k = country->id;
  std::vector<sAiTarget>& targets = country->aiSettings.CurrentTargets;

  // Targets already won, allied, or of a country already fought are dropped
  // for good: the build-up gathers forces against countries not yet at war.
  const auto settled = [&](const sAiTarget& target) {
    if (!map.IsInside(target.x, target.y)) return false;
    const int owner = map.GetHex(target.x, target.y)->owner;
    return owner > 0 && (owner == k || country->IsAlly(owner) || AtWar(k, owner));
  };
  targets.erase(std::remove_if(targets.begin(), targets.end(), settled), targets.end());
  if (targets.empty()) return;

  std::list<sBuildUpStage> stages;
  for (const sAiTarget& target : targets) {
    cCity* area = map.IsInside(target.x, target.y) ? game->playerControl.worldTopography.NearestCity(target.x, target.y)
                                                   : nullptr;
    if (!area) {
      LogFormat(u"WARNING: Target hex (%i,%i) does not belong to any city!", target.x, target.y);
      continue;
    }
    cCity* staging = nullptr;
    if (IsFriendly(*country, GetControllerId(*area))) {
      staging = area;
    } else if (const sCitiesDiagramNode* node = NodeOf(area)) {
      int nearest = std::numeric_limits<int>::max();
      for (const sCitiesDiagramEdge& edge : node->edges) {
        const sCitiesDiagramNode* next = game->citiesDiagram.GetNode(edge.target);
        if (!next || !next->city || !IsFriendly(*country, GetControllerId(*next->city))) continue;
        const int distance = HexDistance(next->city->x, next->city->y, target.x, target.y);
        if (distance < nearest) {
          nearest = distance;
          staging = next->city;
        }
      }
    }
    if (staging) stages.push_back({staging, target, 0.0f});
  }
  if (stages.empty()) {
    LogLine(u"WARNING: cannot build up forces for invasion! No own/allied cities near invasion target!");
    return;
  }

  for (cJednostkaLadowa* unit : ownLand) {
    const int order = unit->aiOrder;
    if (order != kAiOrderNone && order != kAiOrderReserve && order != kAiOrderGoToFront &&
        order != kAiOrderQuietFront) {
      continue;
    }
    const sBuildUpStage* best = nullptr;
    int bestHops = 0;
    for (const sBuildUpStage& stage : stages) {
      if (stage.target.value != -1 && !(static_cast<float>(stage.target.value) > stage.assignedStrength)) continue;
      if (!game->strategicMovement || !game->strategicMovement->CanMoveStrategically(*unit, *stage.city)) continue;
      const int hops = HopsFromUnit(*unit, *stage.city);
      // An unreachable city never wins.
      if (hops < 0) continue;
      if (!best || hops < bestHops) {
        best = &stage;
        bestHops = hops;
      }
    }
    if (!best) continue;
    cCity* staging = best->city;
    for (sBuildUpStage& stage : stages) {
      if (stage.city != staging) continue;
      if (stage.target.value == -1) {
        unit->SetAiOrder(kAiOrderGather, staging->x, staging->y, bestHops);
      } else if (stage.assignedStrength < static_cast<float>(stage.target.value)) {
        unit->SetAiOrder(kAiOrderGather, staging->x, staging->y, bestHops);
        stage.assignedStrength += unit->GetEffectiveStrength();
      }
    }
  }
}

}  // namespace tr
