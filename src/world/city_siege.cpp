// The siege of a city: when it counts as besieged, and the check that may
// cost its defender a level or make it surrender.
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "units/jednostka.h"
#include "world/city_rules.h"
#include "world/commander.h"
#include "world/gra.h"
#include "world/map.h"
#include "world/presentation.h"

namespace tr {
namespace {

int CommanderSkill(const cUnit& unit) {
  const sCommander* commander = unit.GetCommander();
  return commander ? commander->skill : 0;
}

}  // namespace

bool IsBesieged(const cCity& city) {
  const sHex* hex = GetCityHex(city);
  if (!hex || !hex->unit) return false;
  int enemies = 0;
  for (int d = 0; d < kDirectionCount; ++d) {
    const sHex* n = gGame->map->GetNeighbour(city.x, city.y, d);
    if (!n) continue;
    if (n->unit) {
      // A city hex without a controller has no enemies.
      const bool enemy = hex->controller != 0 && n->unit->owner >= 1 &&
                         gGame->relations.IsAtWar(n->unit->owner, hex->controller);
      if (!enemy) return false;
      ++enemies;
    } else if (n->IsLand()) {
      return false;
    }
  }
  return enemies >= 2;
}

void CheckSiege(cCity& city, std::u16string& text) {
  Presentation().CenterCameraOn(city.x, city.y, false);
  const sHex* hex = GetCityHex(city);
  auto* defender = hex ? dynamic_cast<cJednostka*>(hex->unit) : nullptr;
  if (!defender) {
    LogFormat(u"ERROR: siege check of %s without a land or air unit on the city, skipped", city.name);
    return;
  }
  const sScenarioConstants& k = gGame->constants;
  float besiegers = 0.0f;
  int skills = 0;
  for (int d = 0; d < kDirectionCount; ++d) {
    const sHex* n = gGame->map->GetNeighbour(city.x, city.y, d);
    const auto* unit = n ? dynamic_cast<const cJednostka*>(n->unit) : nullptr;
    if (!unit) continue;
    besiegers += unit->GetEffectiveStrength();
    skills += CommanderSkill(*unit);
  }
  const float defence = defender->GetEffectiveStrength();
  const float r = defence > 0.0f ? besiegers / defence : 0.0f;
  float strengthTerm = r * k.SiegeValues(2);
  if (r >= 1.0f) strengthTerm = k.SiegeValues(7) != 0.0f ? (r - 1.0f) * k.SiegeValues(2) / k.SiegeValues(7) : 0.0f;
  const float commanderTerm = static_cast<float>(skills - CommanderSkill(*defender)) * k.SiegeValues(3);
  const float supplyTerm = -static_cast<float>(city.supply) * k.SiegeValues(4);
  const cCountry* owner = defender->GetOwnerCountry();
  const float a = owner ? owner->GetAirSuperiorityRatio(city.x, city.y) : -1.0f;
  float airTerm = 0.0f;
  if (a == -1.0f) {
    airTerm = k.SiegeValues(5);
  } else if (a <= 1.0f) {
    airTerm = (1.0f - a) * k.SiegeValues(5);
  } else if (k.SiegeValues(6) != 0.0f) {
    airTerm = -((a - 1.0f) * k.SiegeValues(5) / k.SiegeValues(6));
  }
  float p = k.SiegeValues(1) + strengthTerm + commanderTerm / 100.0f + supplyTerm / 100.0f + airTerm;
  text = Format(GetText("siege_report"), defender->name, k.SiegeValues(1) * 100.0f, strengthTerm * 100.0f,
                supplyTerm, commanderTerm, airTerm * 100.0f, p * 100.0f);
  // A defender without strength cannot hold against any siege.
  if (defence <= 0.0f) p = 1.001f;
  const int roll = RandomRange(1, 1000);
  if (static_cast<float>(roll) >= p * 1000.0f) {
    text += GetText("check_failed,_siege_continues...");
  } else if (defender->level > 1) {
    defender->AddLevel(-1);
    text += Format(GetText("check_succeeded,_%s_loses_1_level"), defender->name);
  } else {
    text += Format(GetText("check_succeeded,_%s_surrenders!"), defender->name);
    defender->Kill();
  }
}

}  // namespace tr
