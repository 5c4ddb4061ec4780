// A country's surrender: the victory is shared out by the losses each enemy
// dealt, the country's forces go, its territory passes to the victor and it
// leaves the game.
#include <algorithm>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "units/jednostka.h"
#include "world/gra.h"
#include "world/panstwo.h"

namespace tr {
namespace {

struct sShare {
  cCountry* country;
  float percent;
};

}  // namespace

sCountryReport cCountry::Surrender() {
  cRelations& relations = gGame->relations;
  float total = relations.GetTotalLossesSuffered(id);
  if (total == 0.0f) {
    // Nobody dealt losses: every active enemy gets an equal part.
    for (const auto& other : gGame->countries) {
      if (other.get() == this || !other->isActive || !relations.IsAtWar(other->id, id)) continue;
      relations.AddLosses(other->id, id, 1.0f);
      total += 1.0f;
    }
  }
  std::vector<sShare> shares;
  for (const auto& other : gGame->countries) {
    if (!other->isActive) continue;
    const float losses = relations.GetLosses(other->id, id);
    if (losses > 0.0f) shares.push_back({other.get(), losses * 100.0f / total});
  }
  std::stable_sort(shares.begin(), shares.end(),
                   [](const sShare& a, const sShare& b) { return a.percent > b.percent; });
  cCountry* victor = shares.empty() ? nullptr : shares.front().country;

  sCountryReport report;
  report.title = Format(GetText("%s_surrenders_to_%s"), name, victor ? victor->name : std::u16string());
  report.text = Format(GetText("distribution_of_effort_in_victory_over_%s:"), name);
  for (const sShare& share : shares) report.text += Format(GetText("%s:_%.2f%%"), share.country->name, share.percent);

  DestroyAllLandUnits();
  DestroyAllAirUnits();
  gGame->DestroyReserveUnitsOfCountry(id);  // a country that is gone can never place them
  gGame->FreeCommandersOfCountry(id);
  DestroyAllNavalUnits();
  gGame->DestroyReserveShipsOfCountry(id);
  if (id >= 1 && id <= static_cast<int>(gGame->convoys.convoys.size())) gGame->convoys.RemoveFirstConvoy(id);

  if (victor) {
    gGame->map->ReassignAnnexedHexes(id, victor->id);
  } else {
    LogFormat(u"ERROR: %s surrenders but no active country dealt it losses; its territory is not annexed", name);
  }
  gGame->MarkCitiesOfOriginalOwner(id);
  relations.MakePeaceWithAll(id);
  isActive = 0;
  return report;
}

}  // namespace tr
