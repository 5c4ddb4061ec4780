// A large synthetic scenario for benchmarks: a map of blocks of land, one per
// country, with an ocean on the east side, thousands of units, fleets at sea
// and convoys between ports. Built in memory, then written as a scenario
// folder the ordinary load reads. Never shipped.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "world/gra.h"

namespace tr::datagen {

struct sLargeScenarioShape {
  int width = 200;   // the last kOceanWidth columns are sea
  int height = 150;  // rows of country blocks of equal height
  int countries = 30;
  int landUnits = 2000;
  int airUnits = 150;
  int ships = 300;
};

// The shape grown by a size factor (1, 2, 4...): hexes, land units, air units
// and ships times the factor, countries and cities as at factor 1. The map
// grows in height, so the ocean and every country's block grow with it.
sLargeScenarioShape ScaledLargeScenarioShape(int factor);

// The largest size factor whose scenario the game reads: beyond it the map
// file outgrows what the game's map reader accepts.
int LargestLargeScenarioFactor();

// The game in memory: countries, relations, map, cities, units and fleets,
// with the hexes pointing at their cities and land units.
std::unique_ptr<cGame> BuildLargeGame(const sLargeScenarioShape& shape = {});

// Writes every table of the game into "data\scenarios\<name>" below the game
// root, with the given constants file text. False when a file failed.
bool WriteLargeScenario(cGame& game, std::u16string_view name, std::string_view constants);

}  // namespace tr::datagen
