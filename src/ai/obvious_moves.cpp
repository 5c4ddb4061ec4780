// The computer's obvious move: an enemy city that nobody holds and that an
// own land unit reaches this turn is simply taken, the cheapest first.
#include <limits>

#include "ai/ai_order.h"
#include "ai/ai_pacing.h"
#include "ai/country_ai.h"
#include "foundation/console_log.h"
#include "units/air_support.h"
#include "units/jednostka_ladowa.h"
#include "world/city.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr const char* kThisFile = "obvious_moves";

}  // namespace

bool cCountryAI::FindObviousMoves() {
  LogLine(u"[AI-RO] SZUKANIE RUCHÓW OCZYWISTYCH");
  cGame* game = gGame;
  if (!game || !game->map || !country) return false;
  cMap& map = *game->map;
  int bestCost = std::numeric_limits<std::int32_t>::max();
  const sReachEntry* choice = nullptr;
  for (const sReachEntry& entry : reach) {
    if (!entry.unit || !map.IsInside(entry.x, entry.y) || !map.IsInside(entry.unit->x, entry.unit->y)) continue;
    const sHex& hex = *map.GetHex(entry.x, entry.y);
    if (!hex.city || hex.city->type >= kCityResources) continue;
    if (!AtWar(hex.controller, country->id) || entry.cost >= bestCost) continue;
    if (map.GetHex(entry.unit->x, entry.unit->y)->city || hex.unit) continue;
    choice = &entry;
    bestCost = entry.cost;
  }
  if (!choice) return false;
  auto* unit = dynamic_cast<cJednostkaLadowa*>(choice->unit);
  if (!unit) return false;
  const int x = choice->x;
  const int y = choice->y;
  if (ShowsComputerMove(*unit)) {
    CenterAtHex(map, x, y, true);
    SleepAiDelay(kDelayAIMoveBefore, kThisFile, __LINE__);
  }
  // A failed path leaves the unit where it stood: reporting a move would offer it again for ever.
  obviousMoveFailed_ = !unit->MoveAlongPath(x, y);
  if (obviousMoveFailed_) {
    LogFormat(u"[AI-RO] %ls cannot reach (%i,%i), no obvious move", unit->name, x, y);
    return false;
  }
  SleepAiDelay(kDelayAIMoveAfter, kThisFile, __LINE__);
  unit->aiOrder = kAiOrderObviousMove;
  unit->aiTargetX = x;
  unit->aiTargetY = y;
  unit->aiUltimateTargetX = -1;
  unit->aiUltimateTargetY = -1;
  return true;
}

}  // namespace tr
