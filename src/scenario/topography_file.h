// "topography.csv" of a saved game: the per-country topography groups of the
// moment of saving, so that strategic movement works at once after loading,
// before the next supply computation rebuilds them.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "scenario/saved_fields.h"

namespace tr {

extern const sSavedTable kTopographyFields;

class cCountry;
class cMap;
class cStrategicMovement;

// Writes "<folder>\topography.csv": one Country line per country in vector
// order, each followed by its groups and their cities. False when it failed
// (logged); the previous file then stays whole.
bool WriteTopography(std::u16string_view folder, const cStrategicMovement& movement,
                     const std::vector<std::unique_ptr<cCountry>>& countries);

// Reads "topography.csv" through the folder template into the country
// topographies, which Init has made empty. A missing file is fatal; lines
// that name no country, no group or no city are logged and skipped. A file
// of a saved game (savedGame) that is empty, headless, has a line cut short,
// lacks a country's line or has such a line is refused (RefuseDamagedTable).
void LoadTopography(cStrategicMovement& movement, const cMap& map, std::u16string_view folderTemplate,
                    bool savedGame = false);

}  // namespace tr
