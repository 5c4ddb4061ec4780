// The stack of open in-game dialogs: only the top one takes input, every one
// with an id of 0 or more is owned by the stack (closing destroys it), and an
// entry with a negative id is owned elsewhere and neither drawn nor given
// input. The worker thread pushes under the game lock and waits with
// WaitForBoxClosed; the main thread changes the stack in its handlers.
#pragma once

#include <vector>

namespace tr {

class cDialog;

// Index 0 at the bottom. Read under the game lock.
extern std::vector<cDialog*> ModalDialogStack;
// The dialog that takes input: the last entry, or a placeholder (id 675)
// while the last entry has a negative id; null when the stack is empty.
extern cDialog* TopDialog;

inline constexpr int kPlaceholderDialogId = 675;

// Offset 0 puts the dialog on top; a negative offset that many places below it.
void PushModalDialog(cDialog* dialog, int offset = 0);
// Closes count dialogs from the top; -1 closes all.
void PopModalDialogs(int count);
// Closes the topmost dialog with the id and every dialog above it.
void CloseModalDialog(int id);
// The lowest dialog with the id, or null.
cDialog* FindModalDialog(int id);
bool IsPlaceholderDialog(const cDialog* dialog);

// Returns once the dialog has left the stack, or when this thread is told to
// stop; looks every 100 ms and logs "WBC:<class>:<file>:<line>" once, when
// the wait begins on a dialog still in the stack.
void WaitForBoxClosed(const cDialog* dialog, const char* file, int line);

}  // namespace tr
