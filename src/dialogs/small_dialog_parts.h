// What the small dialogs share: their layout-placed title, a key that acts
// as a click on a button, and the close that follows an answer.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/geometry.h"

namespace tr {

class cDialog;

// The dialog's own layout record as (x, y, width, height).
Rect DialogRecord(int id);
// A centred title static at its layout rectangle, in the title font.
void AddDialogTitle(cDialog& dialog, int id, std::u16string_view text);
// A button at its layout rectangle with the key's text and the text of the key with "_hint" appended.
void AddKeyButton(cDialog& dialog, int id, const char* key);
// Enter and Escape run the same code as a click on the button.
void PressButton(cDialog& dialog, int buttonId);
// Closes the dialog after it has answered. The owner may have closed it
// already, or opened another dialog above it, while it handled the answer:
// only this dialog goes, and nothing else.
void CloseAnsweredDialog(cDialog* dialog, std::uint64_t serial);

}  // namespace tr
