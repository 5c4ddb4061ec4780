// Supply convoys of the computer: every impulse its oldest supply convoy is
// dropped and new ones sail to the port cities that no supply source of its
// side reaches over land.
#include <algorithm>
#include <list>

#include "ai/ai_phase.h"
#include "ai/country_ai.h"
#include "foundation/console_log.h"
#include "turn/convoy.h"
#include "turn/game_over.h"
#include "world/city_rules.h"
#include "world/gra.h"
#include "world/topography.h"

namespace tr {
namespace {

// The port's node on the running game's graph, -1 without one.
int PortNodeOf(const cGame& game, const cCity& city) { return game.seaGraph.FindNodeIdByHex(city.x, city.y); }

bool IsFriendlyController(const cCountry& country, int controller) {
  return controller == country.id || (controller >= 1 && country.IsAlly(controller));
}

// The number of nodes on the country's sea path between the two ports; 0
// when there is none.
int SeaPathLength(cGame& game, const cCity& from, const cCity& to, int countryId) {
  const int a = PortNodeOf(game, from);
  const int b = PortNodeOf(game, to);
  if (a < 1 || b < 1) return 0;
  std::list<std::int32_t> path;
  if (!game.seaGraph.FindPath(a, b, countryId, true, path)) return 0;
  return static_cast<int>(path.size());
}

}  // namespace

std::list<cCity*> cCountryAI::FindConvoySourcePorts() const {
  std::list<cCity*> ports;
  cGame* game = gGame;
  if (!game || !country) return ports;
  const cCountry* leader = nullptr;
  if (country->alliance >= kAllies && country->alliance <= kComintern) {
    leader = GetAllianceLeader(*game, country->alliance + (kAlliesLeader - kAllies));
  }
  std::list<const cCity*> sources;
  for (const auto& city : game->cities) {
    if (city->type != kCitySupply && city->type != kCitySupplyPort) continue;
    const int owner = GetOwnerId(*city);
    if (owner == country->id || (leader && owner == leader->id)) sources.push_back(city.get());
  }
  const cStrategicMovement& movement = *game->strategicMovement;
  for (const auto& city : game->cities) {
    if (!IsPort(*city) || !IsFriendlyController(*country, GetControllerId(*city))) continue;
    const bool supplied = std::any_of(sources.begin(), sources.end(), [&](const cCity* source) {
      return movement.AreInSameGroup(country->id, city.get(), source);
    });
    if (supplied) ports.push_back(city.get());
  }
  return ports;
}

cCity* cCountryAI::PlanConvoys(const std::list<cCity*>& sources) const {
  cGame* game = gGame;
  if (!game || !country) return nullptr;
  const cTopography* groups = game->strategicMovement->GetCountryTopography(country->id);
  if (!groups) return nullptr;
  const int fullSupply = game->constants.FullSupplyLevel();
  const auto index = static_cast<std::size_t>(country->id - 1);
  for (const sTopographyGroup& group : *groups) {
    const bool served = std::any_of(group.cities.begin(), group.cities.end(), [&](const cCity* city) {
      return std::find(sources.begin(), sources.end(), city) != sources.end() ||
             game->convoys.HasConvoyTo(city, country->id);
    });
    if (served) continue;
    for (cCity* city : group.cities) {
      if (!IsPort(*city)) continue;
      const int supply = index < city->supplyInfo.size() ? city->supplyInfo[index] : 0;
      if (supply >= fullSupply) continue;
      const bool reached = std::any_of(sources.begin(), sources.end(), [&](const cCity* source) {
        return SeaPathLength(*game, *source, *city, country->id) > 0;
      });
      if (reached) return city;
    }
  }
  return nullptr;
}

void cCountryAI::NavalAndConvoyStep() {
  AiPhaseScope scope("NavalAndConvoyStep");
  cGame* game = gGame;
  if (!game || !country) return;
  // A game whose convoy lists were never made for its countries has no
  // convoys to keep up; asking for them would end the process.
  if (country->id < 1 || country->id > static_cast<int>(game->convoys.convoys.size())) {
    LogFormat(u"[AI] %ls: no convoy list for the country; no supply convoys planned", country->name);
    return;
  }
  game->convoys.RemoveFirstConvoy(country->id);
  const std::list<cCity*> sources = FindConvoySourcePorts();
  // Each convoy added serves one more group, so the groups bound the loop.
  const std::size_t groups = [&] {
    const cTopography* topography = game->strategicMovement->GetCountryTopography(country->id);
    return topography ? topography->size() : 0;
  }();
  for (std::size_t made = 0; made < groups; ++made) {
    cCity* destination = PlanConvoys(sources);
    if (!destination) return;
    cCity* best = nullptr;
    int shortest = 0;
    for (cCity* source : sources) {
      const int length = SeaPathLength(*game, *source, *destination, country->id);
      if (length > 0 && (!best || length < shortest)) {
        best = source;
        shortest = length;
      }
    }
    if (!best) return;
    if (game->convoys.AddSupplyConvoy(best, destination, country->id) == -1) return;
  }
}

}  // namespace tr
