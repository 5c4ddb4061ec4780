// Running the effects of a chosen option: ExecuteEffect finds the behaviour of
// the effect's method by its exact name and runs it under the game lock.
// Behaviours come in families, each in a file of its own.
#pragma once

#include <span>
#include <string_view>

#include "events/event_model.h"

namespace tr {

struct sEffectBehaviour {
  std::u16string_view name;
  void (*run)(const sEffect& effect);
};

// The "Flag." family (flag_effects.cpp).
std::span<const sEffectBehaviour> FlagEffects();
// Commanders, hex stripes, forts, cities, areas, weather, ports and the view (map_effects.cpp).
std::span<const sEffectBehaviour> MapEffects();
// Single units moved, frozen or removed (unit_effects.cpp).
std::span<const sEffectBehaviour> UnitEffects();
// New land, air and harbour units (land_unit_effects.cpp).
std::span<const sEffectBehaviour> LandUnitEffects();
// New ships and land units at sea (sea_unit_effects.cpp).
std::span<const sEffectBehaviour> SeaUnitEffects();
// The "Country." family: points, politics, technologies and settings
// (country_effects.cpp); territory, war, peace, forces and convoys
// (country_force_effects.cpp).
std::span<const sEffectBehaviour> CountryEffects();
std::span<const sEffectBehaviour> CountryForceEffects();
// The "AI." family (ai_effects.cpp).
std::span<const sEffectBehaviour> AiEffects();

// Applies one effect to the running game. The game lock is held for the
// whole effect (and may already be held by this thread). A method the
// language does not know is logged and changes nothing.
void ExecuteEffect(const sEffect& effect);

}  // namespace tr
