// "countries.csv": every country of a scenario or saved game, one row per
// country in country-number order.
#pragma once

#include <string_view>

namespace tr {

class cGame;

// The ranges the file's numbers are read within; rules that set these fields
// from scripts keep them inside, so a saved game reads back what it held.
inline constexpr int kMaxTechLevel = 5;
// Points, investments and counts that the turns add to or take from: far
// beyond any scenario and far below the 32-bit limit.
inline constexpr int kMaxPoints = 1000000;
// Production points may run into debt; held where sums stay finite.
inline constexpr double kMaxProduction = 1e9;
// Percentages of the weather and upkeep modifiers.
inline constexpr float kMaxPercent = 1000.0f;

// Replaces the game's countries with the rows of the folder's file. A missing
// file is fatal; a row of fewer than 69 fields is logged and skipped.
void LoadCountries(cGame& game, std::u16string_view folder_template);

// Writes "<folder>\countries.csv"; false (logged) when it cannot be written.
bool WriteCountries(const cGame& game, std::u16string_view folder);

}  // namespace tr
