// The computer's strategic move of one land unit: lifted off the map and set
// down at the target in one step, paid with the country's strategic movement
// points.
#include "ai/ai_pacing.h"
#include "ai/ai_phase.h"
#include "ai/country_ai.h"
#include "foundation/console_log.h"
#include "foundation/game_lock.h"
#include "units/air_support.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr const char* kThisFile = "strategic_move";

}  // namespace

void cCountryAI::PrzeniesStrategicznieJednostke(cJednostkaLadowa& unit, const cCity& city, int x, int y) {
  AiPhaseScope scope("PrzeniesStrategicznieJednostke");
  LogLine(u"[AI] PrzeniesStrategicznieJednostke");
  cGame* game = gGame;
  if (!game || !game->map || !country) return;
  cMap& map = *game->map;
  // The callers have checked the move; a target that is off the map or taken
  // by another unit, or a unit without a land type, would lose or stack units.
  if (!map.IsInside(x, y) || (map.GetHex(x, y)->unit && map.GetHex(x, y)->unit != &unit) || unit.type < 0 ||
      unit.type >= kLandTypeCount) {
    LogFormat(u"[AI] %ls: strategic move of %ls to (%i,%i) refused: the hex is off the map or taken, or the unit "
              u"cannot move strategically",
              country->name, unit.name, x, y);
    return;
  }
  const bool shown = ShowsComputerMove(unit);
  LogFormat(u"[AI] %s: %s - strategic move to %s (%i SMP left)", country->name, unit.name, city.name,
            country->strategicMovementPoints);
  if (shown) {
    CenterAtHex(map, unit.x, unit.y, true);
    SleepAiDelay(kDelayAIMoveBefore, kThisFile, __LINE__);
  }
  // The screen draws the hexes' units and the units' places under the game
  // lock, so each change of them is made under it, never across a sleep.
  {
    GameLockGuard lock;
    if (map.IsInside(unit.x, unit.y) && map.GetHex(unit.x, unit.y)->unit == &unit) {
      map.GetHex(unit.x, unit.y)->unit = nullptr;
    }
  }
  if (shown) {
    SleepAiDelay(kDelayAIMoveBetween, kThisFile, __LINE__);
    CenterAtHex(map, x, y, true);
    SleepAiDelay(kDelayAIMoveBetween, kThisFile, __LINE__);
  }
  {
    GameLockGuard lock;
    map.GetHex(x, y)->unit = &unit;
    unit.x = x;
    unit.y = y;
    unit.SetActionPoints(0);
  }
  SleepAiDelay(kDelayAIMoveAfter, kThisFile, __LINE__);
  GameLockGuard lock;
  country->AddStrategicMovementPoints(-game->constants.StrategicMoveCost(unit.type));
}

}  // namespace tr
