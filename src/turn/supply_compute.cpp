// The supply computation of the end of impulse: groups and nearest cities of
// the three alliances, then each country's city levels, convoys and unit
// supply, the neutral countries last.
#include <algorithm>
#include <chrono>
#include <mutex>
#include <unordered_map>

#include "foundation/console_log.h"
#include "foundation/string_base.h"
#include "turn/convoy.h"
#include "turn/game_over.h"
#include "turn/supply.h"
#include "units/player_control.h"
#include "world/city.h"
#include "world/gra.h"
#include "world/map.h"
#include "world/panstwo.h"
#include "world/topography.h"

namespace tr {
namespace {

std::mutex gSeamMutex;
ConvoyExecutionStep gConvoyStep;
SupplyClock gClock;

std::int64_t NowMs() {
  SupplyClock clock;
  {
    std::lock_guard<std::mutex> lock(gSeamMutex);
    clock = gClock;
  }
  if (clock) return clock();
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void RunInstalledConvoys(cGame& game, int countryId, SupplyCityGroups& groups, SupplyResults& results) {
  ConvoyExecutionStep step;
  {
    std::lock_guard<std::mutex> lock(gSeamMutex);
    step = gConvoyStep;
  }
  if (step) {
    step(game, countryId, groups, results);
  } else {
    ExecuteAllConvoys(game.convoys, countryId, groups, results);
  }
}

cTopography ToTopography(const SupplyCityGroups& groups) {
  cTopography topography;
  topography.reserve(groups.size());
  for (const SupplyCityGroup& group : groups) topography.push_back(sTopographyGroup{{group.begin(), group.end()}});
  return topography;
}

bool IsSupplySource(const cCity& city) { return city.type == kCitySupply || city.type == kCitySupplyPort; }

// The city's value for the country; the vector is grown when a city came in
// after the last reset, so nothing is written out of range.
std::int32_t& SupplyInfo(cCity& city, int countryId, int countryCount) {
  if (static_cast<int>(city.supplyInfo.size()) < countryCount) city.supplyInfo.resize(countryCount, 0);
  return city.supplyInfo[countryId - 1];
}

int ElapsedMs(std::int64_t since) { return static_cast<int>(NowMs() - since); }

}  // namespace

void SetConvoyExecutionStep(ConvoyExecutionStep step) {
  std::lock_guard<std::mutex> lock(gSeamMutex);
  gConvoyStep = std::move(step);
}

void SetSupplyClock(SupplyClock clock) {
  std::lock_guard<std::mutex> lock(gSeamMutex);
  gClock = std::move(clock);
}

void cSupply::ComputeSupply(cGame& game) {
  LogLine(u"Rozpoczynam obliczanie zaopatrzenia...");
  ResetSupplyState(game);
  SetPanelHintText(GetText("calculating_supply:_determining_groups_of_cities..."));
  const int countryCount = game.CountryCount();
  game.strategicMovement->Init(countryCount);

  DetermineCityGroup(game, kAllies, -1, alliesGroups);
  DetermineCityGroup(game, kAxis, -1, axisGroups);
  DetermineCityGroup(game, kComintern, -1, cominternGroups);
  for (int id = 1; id <= countryCount; ++id) {
    const cCountry& country = *game.countries[id - 1];
    if (country.BelongsToAlliance(kAllies)) game.strategicMovement->SetCountryTopography(id, ToTopography(alliesGroups));
    if (country.BelongsToAlliance(kAxis)) game.strategicMovement->SetCountryTopography(id, ToTopography(axisGroups));
    if (country.BelongsToAlliance(kComintern)) {
      game.strategicMovement->SetCountryTopography(id, ToTopography(cominternGroups));
    }
  }
  SetPanelHintText(GetText("calculating_supply:_supply_goes_to_units..."));
  LogLine(u"Wyznaczanie grup miast dla sojuszy skonczone.");

  alliesResults.clear();
  axisResults.clear();
  cominternResults.clear();
  std::int64_t start = NowMs();
  FindNearestSupplyCity(game, kAllies, -1, alliesResults);
  FindNearestSupplyCity(game, kAxis, -1, axisResults);
  FindNearestSupplyCity(game, kComintern, -1, cominternResults);
  LogFormat(u"PERFORMANCE: Determining supply sources for units of alliance countries TIME = %i ms", ElapsedMs(start));

  start = NowMs();
  LogLine(u"Rozpatrzenie zaopatrzenia juz dla pojedynczych panstw sojuszniczych");
  LogFormat(u"Liczba panstw do przeliczenia caĹ‚kowicie (wraz z neutralnymi ktĂłre nie bÄ™dÄ… liczone): %d",
            countryCount);
  for (int position = 0; position < countryCount; ++position) {
    const cCountry& country = *game.countries[position];
    if (country.alliance == kNeutral) continue;
    if (country.id != position + 1) {
      LogFormat(u"ERROR: Pod indeksem %d w wektorze paĹ„stw jest panstwo o ID %d (%s)!!!", position, country.id,
                country.name);
    }
    LogFormat(u"Panstwo o ID %d (%s) nie jest neutralne, licze mu zaopatrzenie", country.id, country.name);
    ComputeCountrySupply(game, position + 1);
  }
  LogFormat(u"PERFORMANCE: Calculating supply for units of alliance countries (including convoy executions) TIME = %i ms",
            ElapsedMs(start));

  for (int position = 0; position < countryCount; ++position) {
    const cCountry& country = *game.countries[position];
    if (country.alliance != kNeutral) continue;
    const int id = position + 1;
    LogFormat(u"*** Licze zaopatrzenie dla kraju neutralnego %s ***", country.name);
    neutralGroups.clear();
    neutralResults.clear();
    if (country.IsAtWarWithAnyone()) {
      DetermineCityGroup(game, -1, id, neutralGroups);
      game.strategicMovement->SetCountryTopography(id, ToTopography(neutralGroups));
      FindNearestSupplyCity(game, -1, id, neutralResults);
    }
    ComputeCountrySupply(game, id);
  }
}

void cSupply::ComputeCountrySupply(cGame& game, int countryId) {
  cCountry* country = game.GetCountry(countryId);
  if (country == nullptr) return;
  const int countryCount = game.CountryCount();
  const int maximum = game.constants.Int(48, 1);
  LogFormat(u"=== %s liczy zaopatrzenie dla swoich jednostek ===", country->name);

  SupplyCityGroups* groups = &neutralGroups;
  SupplyResults* results = &neutralResults;
  const int alliance = AllianceBase(country->alliance);
  const cCountry* leader = nullptr;
  if (alliance == kAllies || alliance == kAxis || alliance == kComintern) {
    groups = alliance == kAllies ? &alliesGroups : alliance == kAxis ? &axisGroups : &cominternGroups;
    results = alliance == kAllies ? &alliesResults : alliance == kAxis ? &axisResults : &cominternResults;
    leader = GetAllianceLeader(game, alliance);
    if (leader == nullptr) {
      LogFormat(u"Alliance %i has no leader: %s draws only on its own supply cities", alliance, country->name);
    } else if (alliance == kAllies) {
      LogFormat(u"Liderem aliantďż˝w jest kraj o id=%i", leader->id);
    } else if (alliance == kAxis) {
      LogFormat(u"Liderem osi jest kraj o id=%i", leader->id);
    } else {
      LogFormat(u"Liderem kominernu jest kraj o id=%i", leader->id);
    }
  } else {
    LogFormat(u"%s to kraj neutralny.", country->name);
  }

  // A neutral at peace is done after this, even when its convoys brought it
  // into a war: it has no groups to draw on, and its convoys must not run twice.
  if (alliance == kNeutral && !country->IsAtWarWithAnyone()) {
    RunInstalledConvoys(game, countryId, *groups, *results);
    if (!country->IsAtWarWithAnyone()) {
      LogFormat(u"%s nie prowadzi wojny, wszystkie jednostki dostajďż˝ zaop. pokojowe", country->name);
      for (const auto& unit : game.landUnits) {
        if (unit->owner == countryId) unit->SetSupply(maximum / 2);
      }
      for (const auto& unit : game.airUnits) {
        if (unit->owner == countryId) unit->SetSupply(maximum / 2);
      }
    }
    return;
  }

  const int leaderId = leader != nullptr ? leader->id : countryId;
  for (SupplyCityGroup& group : *groups) {
    bool hasSource = false;
    for (const cCity* city : group) {
      const int controller = game.map->GetHex(city->x, city->y)->controller;
      if (IsSupplySource(*city) && (controller == countryId || controller == leaderId)) {
        hasSource = true;
        break;
      }
    }
    for (cCity* city : group) {
      if (hasSource) {
        SupplyInfo(*city, countryId, countryCount) = maximum;
      } else {
        SupplyInfo(*city, countryId, countryCount) = city->supply;
        LogFormat(u"%s nie ma poĹ‚Ä…czenia ze Ĺşr. zaop. Zaopatrzenie = %i", city->name, city->supply);
      }
    }
  }

  LogFormat(u"PRZED KONWOJAMI %s, STP obecne:%i  z konwojow z poprzedniej tury:%i", country->name,
            country->seaTransportPoints, country->seaTransportUsedByConvoys);
  RunInstalledConvoys(game, countryId, *groups, *results);
  LogFormat(u"PO KONWOJACH %s, STP obecne:%i  z konwojow wrociďż˝o: %i", country->name, country->seaTransportPoints,
            country->seaTransportUsedByConvoys);

  // Results hold numbers; the country's units and the cities are looked up once.
  std::unordered_map<int, cJednostka*> landById;
  std::unordered_map<int, cJednostka*> airById;
  for (const auto& unit : game.landUnits) {
    if (unit->owner == countryId) landById.emplace(unit->id, unit.get());
  }
  for (const auto& unit : game.airUnits) {
    if (unit->owner == countryId) airById.emplace(unit->id, unit.get());
  }
  std::vector<cCity*> cities;
  cities.reserve(game.cities.size());
  for (const auto& city : game.cities) cities.push_back(city.get());
  const int limit = game.constants.Int(137, 1);

  for (const sSupplyResult& result : *results) {
    auto& index = result.isAir ? airById : landById;
    const auto found = index.find(result.unitId);
    if (found == index.end()) continue;  // another country's unit, or one gone since the search
    cJednostka& unit = *found->second;
    const bool isLand = !result.isAir;
    if (result.cityNumber >= 1 && result.cityNumber <= static_cast<int>(cities.size())) {
      cCity& city = *cities[result.cityNumber - 1];
      const int info = SupplyInfo(city, countryId, countryCount);
      LogFormat(u"%s ciagnie zaop z %s(%i). Odl.%i daje zaop = %i", unit.name, city.name, info, result.cost,
                info - result.cost);
      unit.SetSupplySourceX(city.x);
      unit.SetSupplySourceY(city.y);
      unit.SetSupply(std::max(info - result.cost, 1));
      if (isLand && unit.turnsWithoutSupply > 0) --unit.turnsWithoutSupply;
    } else if (isLand && unit.turnsWithoutSupply + 1 < limit) {
      ++unit.turnsWithoutSupply;
    } else {
      LogFormat(u"%s jest caďż˝kowicie odciďż˝ta od zaopatrzenia!", unit.name);
      unit.SetSupplySourceX(-1);
      unit.SetSupplySourceY(-1);
      unit.SetSupply(0);
    }
  }
}

}  // namespace tr
