// A rule that holds only in three named scenarios, for one country: its air
// units at the western edge of the map are pulled back to one base.
#include <string_view>

#include "ai/ai_phase.h"
#include "ai/country_ai.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr std::u16string_view kRuleScenarios[] = {u"EUROPE 1939", u"EUROPE 1940", u"EUROPE 1941"};
constexpr int kRuleCountry = 53;
constexpr int kWesternEdgeLastColumn = 15;
constexpr int kBaseX = 37;
constexpr int kBaseY = 78;

bool IsRuleScenario(std::u16string_view name) {
  for (std::u16string_view each : kRuleScenarios) {
    if (name == each) return true;
  }
  return false;
}

}  // namespace

void cCountryAI::ScenarioGarrisonRule() {
  AiPhaseScope scope("ScenarioGarrisonRule");
  cGame* game = gGame;
  if (!game || !game->map || !country || country->id != kRuleCountry || !IsRuleScenario(game->scenarioName)) return;
  // A map too small for the base hex has nowhere to pull the units to.
  if (!game->map->IsInside(kBaseX, kBaseY)) return;
  for (cJednostkaLotnicza* unit : ownAir) {
    if (unit->x <= kWesternEdgeLastColumn && !game->map->GetHex(kBaseX, kBaseY)->unit) unit->AiRebaseTo(kBaseX, kBaseY);
  }
}

}  // namespace tr
