// The strategic bomber's nuclear strike: everything in a square around the
// target is hit (the bomber alone spared), the cities there lose production,
// and the countries that hold hexes there, and their allies, suffer unrest.
#include <algorithm>
#include <vector>

#include "units/air_support.h"
#include "units/combat_result.h"
#include "units/jednostka_lotnicza.h"
#include "world/gra.h"
#include "world/presentation.h"

namespace tr {
namespace {

void AddUnrest(cCountry& country, int amount, std::u16string& text) {
  country.socialUnrest = std::clamp(country.socialUnrest + static_cast<float>(amount), 0.0f, 100.0f);
  text += Format(u" %s\n", country.name);
}

}  // namespace

void cJednostkaLotnicza::NuclearStrike(sHex& target, sCombatResult& result) {
  if (!gGame || !gGame->map) return;
  cMap& map = *gGame->map;
  const sScenarioConstants& k = gGame->constants;
  if (spotted) PlayAirSound(u"NuclearAttack.wav");
  result.kind = kBattleNuclear;
  result.attackerCountry = owner;
  result.defenderCountry = target.controller;
  std::u16string& text = result.defenderLossText;
  cCountry* bomberOwner = GetOwnerCountry();

  const int r = k.NuclearStrikeRadius();
  const int x0 = std::max(target.x - r - 1, 0);
  const int x1 = std::min(target.x + r + 1, map.GetWidth() - 1);
  const int y0 = std::max(target.y - r - 1, 0);
  const int y1 = std::min(target.y + r + 1, map.GetHeight() - 1);
  std::vector<int> hitCountries;
  std::vector<cCity*> hitCities;
  bool unitsHeader = false;
  for (int hy = y0; hy <= y1; ++hy) {
    for (int hx = x0; hx <= x1; ++hx) {
      sHex& hex = *map.GetHex(hx, hy);
      if (hex.controller != 0 && std::find(hitCountries.begin(), hitCountries.end(), hex.controller) == hitCountries.end()) {
        hitCountries.push_back(hex.controller);
      }
      if (hex.unit && hex.unit != this) {
        if (!unitsHeader) {
          text += GetText("report_nuclear_affected_units") + u"\n";
          unitsHeader = true;
        }
        text += Format(u" %s (%s)", hex.unit->name, CountryName(hex.unit->owner)) + u"\n";
        result.SetFlag(kFlagDefenderDestroyed);
        hex.unit->Kill();
      }
      if (hex.city) hitCities.push_back(hex.city);
    }
  }
  if (!hitCities.empty()) {
    text += GetText("report_nuclear_affected_cities") + u"\n";
    for (cCity* city : hitCities) city->NuclearStrike(result);
  }

  text += KeyText("report_nuclear_social_unrest_results_direct", k.NuclearUnrestHit());
  for (int id : hitCountries) {
    if (cCountry* country = gGame->GetCountry(id)) AddUnrest(*country, k.NuclearUnrestHit(), text);
  }
  std::vector<cCountry*> allies;
  for (const auto& country : gGame->countries) {
    if (std::find(hitCountries.begin(), hitCountries.end(), country->id) != hitCountries.end()) continue;
    const bool allied = std::any_of(hitCountries.begin(), hitCountries.end(),
                                    [&](int id) { return country->IsAlly(id); });
    if (allied) allies.push_back(country.get());
  }
  if (!allies.empty()) {
    text += KeyText("report_nuclear_social_unrest_results_allies", k.NuclearUnrestAlly());
    for (cCountry* country : allies) AddUnrest(*country, k.NuclearUnrestAlly(), text);
  }
  text += u"\n";
  if (bomberOwner) {
    bomberOwner->nuclearBombs -= 1;
    // The information panel counts the bombs left.
    Presentation().RefreshInfoPanel();
  }
}

}  // namespace tr
