// The computer opponent's printouts of fronts and attack plans to the
// console log. They change nothing.
#include "ai/country_ai.h"
#include "foundation/console_log.h"
#include "world/cities_diagram.h"
#include "world/city.h"
#include "world/gra.h"

namespace tr {
namespace {

const std::u16string& NameOf(const cUnit* unit) {
  static const std::u16string kNone;
  return unit ? unit->name : kNone;
}

const std::u16string& NameOf(const sCitiesDiagramNode* node) {
  static const std::u16string kNone;
  return node && node->city ? node->city->name : kNone;
}

void PrintMoves(const char* label, const std::array<sReachEntry, 6>& moves) {
  for (int side = 0; side < 6; ++side) {
    const sReachEntry& move = moves[side];
    if (!move.unit) continue;
    LogFormat(u"%s %s -> (%i,%i), kier %i, koszt %i", label, move.unit->name, move.x, move.y, side, move.cost);
  }
}

void PrintAirUnits(const std::list<cUnit*>& units) {
  for (const cUnit* unit : units) {
    const auto* air = dynamic_cast<const cJednostka*>(unit);
    if (!air) continue;
    LogFormat(u"%s: sila=%i, level=%i, PA=%i", air->name, air->GetStrength(), air->level, air->actionPoints);
  }
}

bool TargetStandsOnCity(const cUnit* target) {
  const cGame* game = gGame;
  if (!target || !game || !game->map || !game->map->IsInside(target->x, target->y)) return false;
  return game->map->GetHex(target->x, target->y)->city != nullptr;
}

}  // namespace

void cCountryAI::PrintFront(const sFront& front) const {
  LogFormat(u"FRONT: %s", front.name);
  LogFormat(u"Jedn lotn: Nasze=%i Wlasne=%i Wrogie=%i", front.stats.airUnitsOurs, front.stats.airUnitsOwn, front.stats.airUnitsEnemy);
  LogFormat(u"Sila lotn: Nasza=%i Wlasna=%i Wroga=%i", front.stats.airStrengthOurs, front.stats.airStrengthOwn,
            front.stats.airStrengthEnemy);
  LogFormat(u"Siła lądowa: Nasza=%.2f Wlasna=%.2f Wroga=%.2f", front.stats.landOurs, front.stats.landOwn, front.stats.landEnemy);
  LogFormat(u"Stan frontu = %i", front.state);
  LogLine(u"MIASTA FRONTOWE:");
  LogLine(u"|");
  for (const sCitiesDiagramNode* node : front.cities) LogFormat(u"|- %s", NameOf(node));
  LogLine(u"-");
}

void cCountryAI::PrintFrontSummary(const sFront& front) const {
  const sCitiesDiagramNode* first = front.cities.empty() ? nullptr : front.cities.front();
  LogFormat(u"Front (%s), miasta: %i, Przewaga=%.2f", NameOf(first), static_cast<int>(front.cities.size()),
            front.advantage);
}

void cCountryAI::PrintAttackPlan(const sAttackPlan& plan) const {
  const cCountry* current = gGame ? gGame->playerControl.currentCountry : nullptr;
  LogFormat(u"[AI %s] == Wydruk planu ataku ==", current ? current->name : std::u16string());
  const int targetX = plan.target ? plan.target->x : -1;
  const int targetY = plan.target ? plan.target->y : -1;
  LogFormat(u"Cel: %s (%i,%i). KOSZT=%i, KOL=%i:1", NameOf(plan.target), targetX, targetY, plan.cost,
            plan.oddsColumn);
  LogLine(u"Ruchy:");
  PrintMoves("Odejscie", plan.withdrawals);
  PrintMoves("Podejscie", plan.approaches);
  LogLine(u"Własne jednostki zdolne do wspomagającego air-strike'u:");
  PrintAirUnits(plan.supportingAirUnits);
  LogLine(u"Wrogie jednostki zdolne do intercepcji air-strike'u:");
  PrintAirUnits(plan.interceptors);
  LogFormat(u"Ilosc dobrych nalotow = %i", plan.goodAirStrikes);
  LogLine(u"[AI] == Koniec wydruku planu ataku ==");
}

void cCountryAI::PrintAttackCandidate(const sAttackPlan& plan) const {
  LogFormat(u"Cel=%s Kolumna=%i:1 Miasto=%s Koszt=%i", NameOf(plan.target), plan.oddsColumn,
            TargetStandsOnCity(plan.target) ? u"TAK" : u"NIE", plan.cost);
}

}  // namespace tr
