// "ai_memory.csv" of a save: what the computer countries remember from one
// impulse to the next of their invasions (the impulses each carried unit has
// waited, the targets given up lately). Without it a loaded game's computer
// would try a given-up target again at once.
#pragma once

#include <string_view>

namespace tr {

class cGame;

// Writes "<folder>\ai_memory.csv"; false (logged) when it cannot be written.
bool WriteAiMemory(const cGame& game, std::u16string_view folder);

// Gives the countries' computer players the memory of the saved game's file.
// A save written before the file existed has none: they start with none
// (logged). A file cut short or with a line that is not the game's is refused
// as any damaged saved table is, and so is a line naming a country or a
// cities diagram node the save does not hold.
void LoadAiMemory(cGame& game, std::u16string_view folderTemplate);

// What WriteAiMemory writes in each field (scenario/saved_fields.h).
struct sSavedTable;
extern const sSavedTable kAiMemoryFields;

}  // namespace tr
