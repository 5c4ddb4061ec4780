// Eyecandies: the scenario's scenery pictures, one per hex at most, listed in
// "eyecandies.csv" of the scenario folder and cut from the map skin's
// decoration picture. LoadEyecandies fills the map's decoration cells.
#pragma once

#include <filesystem>

namespace tr {

class cMap;

void LoadEyecandies(cMap& map, const std::filesystem::path& scenarioFolder);

}  // namespace tr
