// The computer opponent's fronts over the cities diagram: each unit's
// strength added to the node of the city whose area holds it, the stretches
// where own or allied cities touch enemy cities grouped into fronts, their
// balance and state, and the reserves sent to critical fronts.
#include <algorithm>
#include <limits>
#include <unordered_set>

#include "ai/ai_phase.h"
#include "ai/country_ai.h"
#include "foundation/console_log.h"
#include "units/air_support.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "world/cities_diagram.h"
#include "world/city_rules.h"
#include "world/gra.h"
#include "world/hex_distance.h"

namespace tr {
namespace {

inline constexpr std::int32_t kAiOrderCoverCity = 2;

// Controller 0 is nobody's ally and at war with nobody: it is tested before
// any relation is asked.
bool IsFriendly(const cCountry& country, int controller) {
  if (controller == 0) return false;
  return controller == country.id || country.IsAlly(controller);
}

int ControllerOf(const sCitiesDiagramNode& node) { return node.city ? GetControllerId(*node.city) : 0; }

sCitiesDiagramNode* NodeOf(const cCity* city) {
  return city && gGame ? gGame->citiesDiagram.GetNode(city->diagramNode) : nullptr;
}

}  // namespace

void cCountryAI::ComputeFrontStrengths() {
  AiPhaseScope scope("ComputeFrontStrengths");
  cGame* game = gGame;
  if (!game || !country) return;
  game->citiesDiagram.ResetNodes();
  for (cJednostkaLadowa* unit : ownLand) {
    sCitiesDiagramNode* node = NodeOf(unit->GetHexGridEntry());
    if (!node) {
      LogFormat(u"Wlasna %s nie ma połączenia z zadnym miastem", unit->name);
      continue;
    }
    const float s = unit->GetEffectiveStrength();
    sFrontStatistics& stats = node->stats;
    stats.landOwn += s;
    node->ownUnitCount += 1;
    stats.landOurs += s;
    LogFormat(u"Wlasna %s Wezel %s. Dod.sile %5.2f. Silawezla=%5.2f", unit->name, node->city->name, s, stats.landOwn);
  }
  for (cJednostkaLadowa* unit : alliedLand) {
    sCitiesDiagramNode* node = NodeOf(unit->GetHexGridEntry());
    if (!node) continue;
    const float s = unit->GetEffectiveStrength();
    sFrontStatistics& stats = node->stats;
    stats.landOurs += s;
    LogFormat(u"Nasza %s Wezel %s. Dod.sile %5.2f. Silawezla=%5.2f", unit->name, node->city->name, s, stats.landOurs);
  }
  for (cJednostkaLadowa* unit : enemyLand) {
    // The attack search fills the approach lists anew.
    unit->approachList.clear();
    sCitiesDiagramNode* node = NodeOf(unit->GetHexGridEntry());
    if (!node) continue;
    const float s = unit->GetEffectiveStrength();
    sFrontStatistics& stats = node->stats;
    stats.landEnemy += s;
    LogFormat(u"Wroga %s Wezel %s. Dod.sile %5.2f. Silawezla=%5.2f", unit->name, node->city->name, s, stats.landEnemy);
  }
  LogLine(u"==Lotnicze:");
  for (cJednostkaLotnicza* unit : ownAir) {
    sCitiesDiagramNode* node = unit->type == kStrategicBomber ? nullptr : NodeOf(unit->GetHexGridEntry());
    if (!node) continue;
    const int p = unit->GetStrength();
    sFrontStatistics& stats = node->stats;
    stats.airUnitsOurs += 1;
    stats.airUnitsOwn += 1;
    node->ownUnitCount += 1;
    stats.airStrengthOurs += p;
    stats.airStrengthOwn += p;
    LogFormat(u"Wlasna %s Wezel %s. Dod.PS %i. Silawezla=%i", unit->name, node->city->name, p, stats.airStrengthOwn);
  }
  for (cJednostkaLotnicza* unit : alliedAir) {
    sCitiesDiagramNode* node = unit->type == kStrategicBomber ? nullptr : NodeOf(unit->GetHexGridEntry());
    if (!node) continue;
    const int p = unit->GetStrength();
    sFrontStatistics& stats = node->stats;
    stats.airUnitsOurs += 1;
    stats.airStrengthOurs += p;
    LogFormat(u"Nasza %s Wezel %s. Dod.PS %i. Silawezla=%i", unit->name, node->city->name, p, stats.airStrengthOurs);
  }
  for (cJednostkaLotnicza* unit : enemyAir) {
    unit->approachList.clear();
    sCitiesDiagramNode* node = unit->type == kStrategicBomber ? nullptr : NodeOf(unit->GetHexGridEntry());
    if (!node) continue;
    const int p = unit->GetStrength();
    sFrontStatistics& stats = node->stats;
    stats.airUnitsEnemy += 1;
    stats.airStrengthEnemy += p;
    LogFormat(u"Wroga %s Wezel %s. Dod.PS %i. Silawezla=%i", unit->name, node->city->name, p, stats.airStrengthEnemy);
  }
  // Held as a save's are read back; all were added from 0, so holding the
  // sums equals holding each step.
  for (int index = 0; index < game->citiesDiagram.NodeCount(); ++index) {
    sCitiesDiagramNode& node = *game->citiesDiagram.GetNode(index);
    node.stats.Hold();
    node.ownUnitCount = HeldFrontValue(node.ownUnitCount);
  }
}

void cCountryAI::UpdateFrontList() {
  AiPhaseScope scope("UpdateFrontList");
  fronts.clear();
  cGame* game = gGame;
  if (!game || !country) return;
  cCitiesDiagram& diagram = game->citiesDiagram;
  const int k = country->id;
  for (int index = 0; index < diagram.NodeCount(); ++index) {
    sCitiesDiagramNode& start = *diagram.GetNode(index);
    if (start.visited || !start.city || !IsFriendly(*country, ControllerOf(start))) continue;
    for (const sCitiesDiagramEdge& edge : start.edges) {
      const sCitiesDiagramNode* other = diagram.GetNode(edge.target);
      if (edge.kind != 0 || !other || !other->city || other->visited || !AtWar(k, ControllerOf(*other))) continue;
      start.visited = 1;
      sFront front;
      front.name = Format(u"Front miasta %s", start.city->name).substr(0, 99);
      front.cities.push_back(&start);
      for (auto it = front.cities.begin(); it != front.cities.end(); ++it) {
        sCitiesDiagramNode& node = **it;
        const int a = ControllerOf(node);
        for (const sCitiesDiagramEdge& next : node.edges) {
          sCitiesDiagramNode* target = diagram.GetNode(next.target);
          if (next.kind != 0 || !target || !target->city || target->visited) continue;
          const int b = ControllerOf(*target);
          if (!AtWar(a, b) || !(IsFriendly(*country, a) || IsFriendly(*country, b))) continue;
          target->visited = 1;
          front.cities.push_back(target);
        }
      }
      fronts.push_back(std::move(front));
    }
  }
  LogFormat(u"Kraj ID = %d (%s) zaktualizowal liste frontow do liczby %d", k, country->name,
            static_cast<int>(fronts.size()));
}

void cCountryAI::EvaluateFronts() {
  AiPhaseScope scope("EvaluateFronts");
  for (sFront& front : fronts) {
    front.stats = {};
    for (const sCitiesDiagramNode* node : front.cities) front.stats += node->stats;
    front.advantage = FrontAdvantage(front.stats.landOurs, front.stats.landEnemy);
    front.state = FrontStateOf(front.advantage);
  }
  cGame* game = gGame;
  if (!game) return;
  for (const auto& city : game->cities) city->frontState = kNoFront;
  for (const sFront& front : fronts) {
    for (sCitiesDiagramNode* node : front.cities) {
      if (node->city) node->city->frontState = front.state;
    }
  }
}

float FrontAdvantage(float ours, float enemy) {
  if (enemy == 0.0f) return ours == 0.0f ? 1.0f : 99999.0f;
  return HeldFrontValue(ours / enemy);
}

std::int32_t FrontStateOf(float advantage) {
  if (advantage < 0.33f) return kFrontCritical;
  if (advantage < 0.8f) return kFrontThreatened;
  return kFrontHolding;
}

void cCountryAI::SavePoorlyDefendedFronts() {
  AiPhaseScope scope("SavePoorlyDefendedFronts");
  cGame* game = gGame;
  if (!game || !country) return;
  // Stable, as a list's sort was: equal strengths keep their order.
  std::stable_sort(ownLand.begin(), ownLand.end(), [](const cJednostkaLadowa* a, const cJednostkaLadowa* b) {
    return a->GetEffectiveStrength() > b->GetEffectiveStrength();
  });
  // Each unit moves at most once: a strategic move that costs nothing would
  // otherwise carry the same unit back and forth for ever.
  std::unordered_set<const cJednostkaLadowa*> moved;
  bool movedOne = true;
  while (movedOne) {
    movedOne = false;
    LogFormat(u"[AI] %ls: Saving poorly defended fronts", country->name);
    RefreshFronts();
    for (const sFront& front : fronts) {
      LogLine(u".");
      PrintFront(front);
      LogLine(u",");
    }
    for (sFront& front : fronts) {
      if (front.state != kFrontCritical) continue;
      front.cities.sort([](const sCitiesDiagramNode* a, const sCitiesDiagramNode* b) {
        return a->stats.landOurs < b->stats.landOurs;
      });
      for (const sCitiesDiagramNode* node : front.cities) {
        LogLine(u",,");
        if (!node->city) continue;
        for (cJednostkaLadowa* unit : ownLand) {
          if (moved.count(unit)) continue;
          const cCity* area = unit->GetHexGridEntry();
          if (!area) {
            LogLine(u"oj nieladnie");
            continue;
          }
          if (area->frontState == kFrontCritical || unit->aiOrder == kAiOrderCoverCity) continue;
          int x = -1;
          int y = -1;
          if (!unit->FindStrategicMoveHex(*node->city, x, y)) continue;
          PrzeniesStrategicznieJednostke(*unit, *node->city, x, y);
          moved.insert(unit);
          movedOne = true;
          break;
        }
        if (movedOne) break;
      }
      if (movedOne) break;
    }
  }
  LogLine(u"Cannot find other units. Ending saving poorly defended front procedure.");
}

bool cCountryAI::IsCityInFrontWithState(const cCity& city, int state) const {
  for (const sFront& front : fronts) {
    if (front.state != state) continue;
    for (const sCitiesDiagramNode* node : front.cities) {
      if (node->city == &city) return true;
    }
  }
  return false;
}

bool cCountryAI::IsFrontCity(const cCity& city) const {
  for (const sFront& front : fronts) {
    for (const sCitiesDiagramNode* node : front.cities) {
      if (node->city == &city) return true;
    }
  }
  return false;
}

bool cCountryAI::GetFrontCityStrength(const cCity& city, int& value) const {
  value = -1;
  for (const sFront& front : fronts) {
    for (const sCitiesDiagramNode* node : front.cities) {
      if (node->city != &city) continue;
      value = static_cast<int>(node->stats.landOwn + node->stats.landOurs);
      return true;
    }
  }
  return false;
}

std::list<sCitiesDiagramNode*> sFront::GetFriendlyCities(const cCountry& country) const {
  std::list<sCitiesDiagramNode*> friendly;
  for (sCitiesDiagramNode* node : cities) {
    if (IsFriendly(country, ControllerOf(*node))) friendly.push_back(node);
  }
  return friendly;
}

bool sFront::HasSingleEnclosedCity(const cCountry& country) const {
  if (cities.empty() || GetFriendlyCities(country).size() != 1) return false;
  const sCitiesDiagramNode* first = cities.front();
  return first->city && HasNoFreeLandNeighbour(*first->city);
}

cCity* cCountryAI::FindNearestFrontCity(const cJednostkaLadowa& unit) const {
  cGame* game = gGame;
  const cCity* area = unit.GetHexGridEntry();
  if (!game || !country || !area || !game->strategicMovement) return nullptr;
  cCitiesDiagram& diagram = game->citiesDiagram;
  cCity* best = nullptr;
  int bestHops = 0;
  int bestDistance = 0;
  for (const sFront& front : fronts) {
    for (const sCitiesDiagramNode* node : front.cities) {
      cCity* city = node->city;
      if (!city || !IsFriendly(*country, GetControllerId(*city))) continue;
      bool candidate = game->strategicMovement->CanMoveStrategically(unit, *city);
      for (auto edge = node->edges.begin(); !candidate && edge != node->edges.end(); ++edge) {
        const sCitiesDiagramNode* next = diagram.GetNode(edge->target);
        if (edge->kind != 0 || !next || !next->city || !IsFriendly(*country, ControllerOf(*next))) continue;
        candidate = game->strategicMovement->CanMoveStrategically(unit, *next->city);
      }
      if (!candidate) continue;
      const int index = city->diagramNode;
      int hops = index >= 0 && static_cast<std::size_t>(index) < area->hopCounts.size()
                     ? area->hopCounts[static_cast<std::size_t>(index)]
                     : -1;
      // A city the routes never reach is the farthest of all, not the nearest.
      if (hops < 0) hops = std::numeric_limits<int>::max();
      const int distance = HexDistance(unit.x, unit.y, city->x, city->y);
      if (!best || hops < bestHops || (hops == bestHops && distance < bestDistance)) {
        best = city;
        bestHops = hops;
        bestDistance = distance;
      }
    }
  }
  return best;
}

}  // namespace tr
