// "cities_supply_info.csv" and "cities_convoy_info.csv": the per-city supply
// and convoy bookkeeping a saved game carries, one row per city: its hex, then
// one value per element of the city's vector.
#pragma once

#include <string_view>

namespace tr {

class cGame;
struct sSavedTable;

// Fills the cities' vectors (already sized one element per country) from a
// saved game's two files. Either file missing is fatal.
void LoadCitiesSupplyAndConvoyInfo(cGame& game, std::u16string_view folder_template);

// Write "<folder>\cities_supply_info.csv" and "<folder>\cities_convoy_info.csv";
// false (logged) when a file cannot be written.
bool WriteCitiesSupplyInfo(const cGame& game, std::u16string_view folder);
bool WriteCitiesConvoyInfo(const cGame& game, std::u16string_view folder);

// What the writers write in each field of the tables (saved_fields.h).
extern const sSavedTable kCitiesSupplyInfoFields;
extern const sSavedTable kCitiesConvoyInfoFields;

}  // namespace tr
