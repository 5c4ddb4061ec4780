// The "AI." effects: the settings that steer a country's computer opponent.
// Everything they add is what "ai_data.csv" can hold and read back: cities of
// the map (ports for the invasion targets), hexes of the map, sea nodes that
// exist and country numbers of the game.
#include <algorithm>
#include <cstdint>

#include "events/effect_dispatch.h"
#include "events/effect_targets.h"
#include "foundation/console_log.h"
#include "world/city_rules.h"
#include "world/gra.h"

namespace tr {
namespace {

template <void (*Behaviour)(const sEffect&, sCountryAiSettings&)>
void OnSettings(const sEffect& effect) {
  if (cCountry* country = EffectCountry(effect, 0)) Behaviour(effect, country->aiSettings);
}

sPoint PlaceOf(const cCity& city) { return {city.x, city.y}; }

// Appends the city of the hex (param1, param2) unless it is listed already.
void AddCityOnce(const sEffect& e, std::vector<sPoint>& list) {
  const cCity* city = EffectCity(e, 1, 2);
  if (city == nullptr) return;
  if (std::find(list.begin(), list.end(), PlaceOf(*city)) == list.end()) list.push_back(PlaceOf(*city));
}

void AddInvasionTarget(const sEffect& e, sCountryAiSettings& ai) {
  // The opponent looks targets up on the map; one off it would stand for hex (0, 0).
  if (EffectHex(e, 1, 2) == nullptr) return;
  ai.CurrentTargets.push_back({IntParam(e, 1), IntParam(e, 2), IntParam(e, 3)});
}

void RemoveInvasionTarget(const sEffect& e, sCountryAiSettings& ai) {
  const std::int32_t x = IntParam(e, 1);
  const std::int32_t y = IntParam(e, 2);
  std::erase_if(ai.CurrentTargets, [&](const sAiTarget& t) { return t.x == x && t.y == y; });
}

void SetMakesSeaInvasions(const sEffect& e, sCountryAiSettings& ai) { ai.MakesSeaInvasions = e.params[1] != 0.0; }

void SetMaxNumberOfFrontsForSeaInvasion(const sEffect& e, sCountryAiSettings& ai) {
  ai.MaxNumberOfFrontsForSeaInvasion = IntParam(e, 1);
}

void AddDoNotAttackCity(const sEffect& e, sCountryAiSettings& ai) { AddCityOnce(e, ai.DoNotAttackCities); }

// Every entry of the first city listed on the hex goes; a list holds a city
// by its hex, so that is every entry of the hex.
void RemoveDoNotAttackCity(const sEffect& e, sCountryAiSettings& ai) {
  std::erase(ai.DoNotAttackCities, sPoint{IntParam(e, 1), IntParam(e, 2)});
}

void AddExtraCityToGarrison(const sEffect& e, sCountryAiSettings& ai) { AddCityOnce(e, ai.ExtraCitiesToGarrison); }

void AddCountryToPress(const sEffect& e, sCountryAiSettings& ai) {
  if (const cCountry* pressed = EffectCountry(e, 1)) ai.CountriesToPress.push_back(pressed->id);
}

void SetDesiredStrategicMovementPoints(const sEffect& e, sCountryAiSettings& ai) {
  ai.DesiredStrategicMovementPoints = IntParam(e, 1);
}

void SetDesiredTechLevel(const sEffect& e, sCountryAiSettings& ai) {
  std::size_t tech = 0;
  if (EffectTech(e, 1, tech)) ai.DesiredTechLevels[tech] = IntParam(e, 2);
}

void AddSeaZoneToPatrolList(const sEffect& e, sCountryAiSettings& ai) {
  if (EffectSeaNode(e, 1) == nullptr) return;
  const std::int32_t zone = IntParam(e, 1);
  const std::int32_t value = IntParam(e, 2);
  const auto found = std::find_if(ai.SeaZonesToPatrol.begin(), ai.SeaZonesToPatrol.end(),
                                  [zone](const sSeaZoneToPatrol& entry) { return entry.seaZone == zone; });
  if (found != ai.SeaZonesToPatrol.end()) {
    found->value = value;
  } else {
    ai.SeaZonesToPatrol.push_back({zone, value});
  }
}

void RemoveSeaZoneFromPatrolList(const sEffect& e, sCountryAiSettings& ai) {
  const std::int32_t zone = IntParam(e, 1);
  const auto found = std::find_if(ai.SeaZonesToPatrol.begin(), ai.SeaZonesToPatrol.end(),
                                  [zone](const sSeaZoneToPatrol& entry) { return entry.seaZone == zone; });
  if (found != ai.SeaZonesToPatrol.end()) ai.SeaZonesToPatrol.erase(found);
}

// A non-zero param3 makes the port the next obligatory target.
void AddPortForObligatoryInvasion(const sEffect& e, sCountryAiSettings& ai) {
  const cCity* city = EffectCity(e, 1, 2);
  if (city == nullptr) return;
  // Only ports are invaded from the sea, and a saved list of anything else would not load.
  if (city->type != kCityPort && city->type != kCitySupplyPort) {
    LogFormat(u"WARNING: effect %s at line %i: the city on hex (%i, %i) is not a port; nothing changes", e.method,
              e.line, city->x, city->y);
    return;
  }
  auto& list = ai.ObligatorySeaInvasionTargets;
  list.insert(IntParam(e, 3) != 0 ? list.begin() : list.end(), PlaceOf(*city));
}

void RemovePortForObligatoryInvasion(const sEffect& e, sCountryAiSettings& ai) {
  const cCity* city = EffectCity(e, 1, 2);
  if (city != nullptr) std::erase(ai.ObligatorySeaInvasionTargets, PlaceOf(*city));
}

void TransportUnitsToFrontsBySea(const sEffect& e, sCountryAiSettings& ai) {
  ai.TransportsUnitsToFrontsBySea = IntParam(e, 1) != 0 ? 1 : 0;
}

void SetMultipleSideAttackPreferences(const sEffect& e, sCountryAiSettings& ai) {
  ai.MultipleSideAttackPreferences = {IntParam(e, 1), IntParam(e, 2), IntParam(e, 3)};
}

void SetOneSideAttackPreferences(const sEffect& e, sCountryAiSettings& ai) {
  ai.OneSideAttackPreferences = {IntParam(e, 1), IntParam(e, 2), IntParam(e, 3)};
}

void SetFortLevelToHoldAtAllCost(const sEffect& e, sCountryAiSettings& ai) {
  ai.FortLevelToHoldAtAllCost = IntParam(e, 1);
}

const sEffectBehaviour kAiEffects[] = {
    {u"AI.AddInvasionTarget", OnSettings<AddInvasionTarget>},
    {u"AI.SetMakesSeaInvasionsParameter", OnSettings<SetMakesSeaInvasions>},
    {u"AI.RemoveDoNotAttackCity", OnSettings<RemoveDoNotAttackCity>},
    {u"AI.AddCountryToPress", OnSettings<AddCountryToPress>},
    {u"AI.SetDesiredStrategicMovementPoints", OnSettings<SetDesiredStrategicMovementPoints>},
    {u"AI.SetDesiredTechLevel", OnSettings<SetDesiredTechLevel>},
    {u"AI.SetMaxNumberOfFrontsForSeaInvasion", OnSettings<SetMaxNumberOfFrontsForSeaInvasion>},
    {u"AI.AddExtraCityToGarrison", OnSettings<AddExtraCityToGarrison>},
    {u"AI.AddDoNotAttackCity", OnSettings<AddDoNotAttackCity>},
    {u"AI.RemoveInvasionTarget", OnSettings<RemoveInvasionTarget>},
    {u"AI.AddSeaZoneToPatrolList", OnSettings<AddSeaZoneToPatrolList>},
    {u"AI.RemoveSeaZoneFromPatrolList", OnSettings<RemoveSeaZoneFromPatrolList>},
    {u"AI.AddPortForObligatoryInvasion", OnSettings<AddPortForObligatoryInvasion>},
    {u"AI.RemovePortForObligatoryInvasion", OnSettings<RemovePortForObligatoryInvasion>},
    {u"AI.TransportUnitsToFrontsBySea", OnSettings<TransportUnitsToFrontsBySea>},
    {u"AI.SetMultipleSideAttackPreferences", OnSettings<SetMultipleSideAttackPreferences>},
    {u"AI.SetOneSideAttackPreferences", OnSettings<SetOneSideAttackPreferences>},
    {u"AI.SetFortLevelToHoldAtAllCost", OnSettings<SetFortLevelToHoldAtAllCost>},
};

}  // namespace

std::span<const sEffectBehaviour> AiEffects() { return kAiEffects; }

}  // namespace tr
