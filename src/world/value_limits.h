// The ranges of the values that the game's files hold and that its rules and
// scripted events set. A loader holds a value read from a file within its
// range, and an event effect keeps what it sets within the same range, so a
// game the program made loads back exactly as it was saved.
#pragma once

#include <cstdint>

namespace tr {

// Forts: the scale that building forts and the map art run to (one picture
// per level). An event may set any level a byte holds, which the map file
// keeps; such a fort is drawn with the top picture, and the air strike and
// the land battle stop its factor at 0.
inline constexpr int kMaxFortLevel = 9;
inline constexpr int kMaxStoredFortLevel = 255;
// Weather codes run 0 clear, 1 winter, 2 mud; chances are percentages.
inline constexpr int kMaxWeatherCode = 2;
inline constexpr int kMaxChancePercent = 100;

// The sizes an event gives a port; the sea-node file reads any size from 0,
// so a port of a scenario may be larger.
inline constexpr int kMinEventPortSize = 1;
inline constexpr int kMaxEventPortSize = 10;

// Units: the combat tables have a column per level; strengths are percentages.
inline constexpr int kMinUnitLevel = 1;
inline constexpr int kMaxUnitLevel = 5;
inline constexpr int kMaxLandStrength = 100;
inline constexpr int kMaxAirStrength = 100;
// A unit's combat value, a percentage of its strength that supply, doctrine,
// commanders and events raise or lower.
inline constexpr std::int32_t kMaxCombatValue = 1000000;
// The events effect: percentages that battle values are raised or lowered by.
inline constexpr std::int32_t kMaxEventsEffect = 10000;

// Commanders.
inline constexpr int kMaxCommanderSkill = 100;

// The production points a city may hold; the totals summed from them stay
// far within the 32-bit range.
inline constexpr double kMaxCityProduction = 1000000.0;

// Countries. Technology levels index the combat and range tables.
inline constexpr int kMaxTechLevel = 5;
// Points, investments and counts that the turns add to or take from: far
// beyond any scenario and far below the 32-bit limit.
inline constexpr int kMaxPoints = 1000000;
// Production points may run into debt; held where sums stay finite.
inline constexpr double kMaxProduction = 1e9;
// The losses one country has dealt another; their sums over every country stay finite.
inline constexpr float kMaxLosses = 1e9f;
// Percentages of the weather and upkeep modifiers.
inline constexpr float kMaxPercent = 1000.0f;

// The highest number a unit, fleet or convoy may carry in a file, and so the
// highest the game gives: at it, a new object takes the lowest free number.
inline constexpr std::int32_t kMaxObjectNumber = 999999999;
// The bound of counts that the turns raise or lower one by one (turns,
// months, action points, freezes, experience): far beyond any game, far
// below the 32-bit limit.
inline constexpr std::int32_t kMaxTurnCount = 1000000;

}  // namespace tr
