// Units and their commanders: the bonus a commander gives at a distance,
// which headquarters a unit stands under, and the range factor of the
// commander checks.
#include <cstdint>

#include "units/commander_link.h"
#include "units/unit.h"
#include "units/jednostka_ladowa.h"
#include "world/commander.h"
#include "world/gra.h"
#include "world/hex_distance.h"

namespace tr {
namespace {

const sScenarioConstants* Constants() { return gGame ? &gGame->constants : nullptr; }

}  // namespace

float sCommander::GetBonus(int distance) const {
  const sScenarioConstants* c = Constants();
  if (!c) return 0.0f;
  const float skillTerm = static_cast<float>(c->CommanderSkillFactor()) * static_cast<float>(skill) / 100.0f;
  const float experienceTerm =
      static_cast<float>(c->CommanderExperienceFactor()) * static_cast<float>(experience) / 100.0f;
  const float v = skillTerm + experienceTerm;
  if (distance <= 0) return v + 1.0f;
  // Beyond the radius the factor is not diminished at all.
  if (distance > c->CommandRadius()) return v;
  return static_cast<float>(v * (c->CommandRangeConstant() * 0.01 / distance));
}

std::vector<const cUnit*> CollectHeadquarters(const cGame& game) {
  std::vector<const cUnit*> headquarters;
  for (const auto& candidate : game.landUnits) {
    if (candidate->attachedCommander) headquarters.push_back(candidate.get());
  }
  return headquarters;
}

void AssignCommanderAmong(cUnit& unit, const std::vector<const cUnit*>& headquarters) {
  if (unit.x < 0 || unit.y < 0 || unit.attachedCommander || !gGame) return;
  const int radius = gGame->constants.CommandRadius();
  const sCommander* best = nullptr;
  int bestScore = 0;
  for (const cUnit* candidate : headquarters) {
    const sCommander* commander = candidate->attachedCommander;
    if (candidate->owner != unit.owner || !commander || commander->type != unit.category) continue;
    const int distance = HexDistance(unit.x, unit.y, candidate->x, candidate->y);
    if (distance > radius) continue;
    const int score = static_cast<int>(100.0f * commander->GetBonus(distance));
    if (score > bestScore) {
      bestScore = score;
      best = commander;
    }
  }
  unit.commanderId = best ? best->id : -1;
}

void cUnit::AssignCommander() {
  if (category == kCategoryNaval) {
    commanderId = -1;
    return;
  }
  if (x < 0 || y < 0 || attachedCommander || !gGame) return;
  AssignCommanderAmong(*this, CollectHeadquarters(*gGame));
}

int cUnit::GetCommanderBonus() const {
  const sCommander* commander = GetCommander();
  if (!commander || !commander->headquarters) return 0;
  const cUnit& hq = *commander->headquarters;
  return static_cast<int>(commander->GetBonus(HexDistance(x, y, hq.x, hq.y)));
}

int cUnit::GetDistanceToCommander() const {
  const sCommander* commander = attachedCommander ? attachedCommander : GetCommander();
  if (!commander || !commander->headquarters) return 100;
  const cUnit& hq = *commander->headquarters;
  return HexDistance(x, y, hq.x, hq.y);
}

float cUnit::GetCommandRangeFactor() const {
  if (attachedCommander || commanderId < 1 || !gGame) return 1.0f;
  const int distance = GetDistanceToCommander();
  // A headquarters on the unit's own hex is the nearest it can be.
  return static_cast<float>(gGame->constants.CommandRangeConstant()) / static_cast<float>(distance < 1 ? 1 : distance);
}

}  // namespace tr
