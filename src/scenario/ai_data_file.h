// "ai_data.csv": every country's settings for the computer opponent, and in a
// saved game the opponent's running plans (targets, invasion, purchase queue).
#pragma once

#include <string_view>

namespace tr {

class cGame;
struct sSavedTable;

// Reads the folder's file into the countries' AI settings. Needs the map and
// the cities. A missing file, an unknown key with values, a city pair on a hex
// without a city and an invasion target that is no port are fatal.
void LoadAIData(cGame& game, std::u16string_view folder_template);

// Writes "<folder>\ai_data.csv"; false (logged) when it cannot be written.
bool WriteAIData(const cGame& game, std::u16string_view folder);

// What the writer writes in each field of the table (saved_fields.h).
extern const sSavedTable kAiDataFields;

}  // namespace tr
