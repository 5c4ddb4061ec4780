// "flags.txt": the game's numbered scenario flags that scripted events read
// and set. Only flags that are not 0 are stored.
#pragma once

#include <string_view>

namespace tr {

class cGame;
struct sSavedTable;

// Sets every flag to 0, then the flags of the folder's file. A missing file
// is fatal; lines without a usable ';' and numbers outside the table are ignored.
void LoadFlags(cGame& game, std::u16string_view folder_template);

// Writes "<folder>\flags.txt"; false (logged) when it cannot be written.
bool WriteFlags(const cGame& game, std::u16string_view folder);

// What the writer writes in each field of the table (saved_fields.h).
extern const sSavedTable kFlagsFields;

}  // namespace tr
