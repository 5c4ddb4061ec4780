// Checks of the unit files' values that index the tables of the scenario
// constants: a value out of its range is logged with the file and line and
// replaced by the value a new unit has.
#pragma once

#include <cstdint>
#include <string_view>

namespace tr {

struct sScenarioConstants;

// Levels run 1 to 5; anything else reads as 1.
std::int32_t CheckedLevel(std::int32_t level, std::u16string_view path, int line);
// Supply levels run 0 to 50; anything else reads as 0.
std::int32_t CheckedSupply(std::int32_t supply, std::u16string_view path, int line);
// The most action points the scenario's constants give a land or an air unit
// at the start of a turn (at least 1: foot soldiers may always step).
std::int32_t MostLandActionPoints(const sScenarioConstants& constants);
std::int32_t MostAirActionPoints(const sScenarioConstants& constants);
// Action points from 0 to `most`: paths and ranges are sized from them, and a
// unit never has more. Fewer than 0 read as 0, more are held at `most`.
std::int32_t CheckedActionPoints(std::int32_t points, std::int32_t most, std::u16string_view what,
                                 std::u16string_view path, int line);
// Whether a type code is one of the kind's codes (land 0-6 and 60, air 20-22, naval 40-45).
bool IsKnownTypeOf(int category, int type);

}  // namespace tr
