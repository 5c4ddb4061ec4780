// The running game's commands and hotkeys: what the toolbar buttons and map
// controls of the information panel do, and what the keys do on the map when
// no visible dialog is on top. Most hotkeys press their toolbar button, so a
// key and a click run the same code. Everything here runs on the main thread.
#pragma once

#include <cstdint>

namespace tr {

class CDXUTControl;
class cDialog;

// Ids of the dialogs the toolbar and the function keys open (their keys in
// the modal stack).
inline constexpr int kPreferencesDialogId = 82;
inline constexpr int kUnitsDialogId = 480;
inline constexpr int kCheatsDialogId = 630;
inline constexpr int kHotkeysDialogId = 667;
inline constexpr int kPurchasesDialogId = 740;
inline constexpr int kResearchDialogId = 790;
inline constexpr int kReportsDialogId = 810;
inline constexpr int kConvoysDialogId = 940;

// The game's command handler (cGame::OnCommand): the action of an
// information-panel control, whatever the event; other ids do nothing.
void OnGameCommand(std::uint32_t event, int controlId, CDXUTControl* control);

// The game's keyboard handler (cGame::OnKeyboard).
void OnGameKeyboard(std::uint32_t key, bool down, bool alt);

// A click of the information panel's toolbar icon sent as the program's own
// event; nothing while the panel is disabled (the computer's phase).
void PressToolbarButton(int controlId);

// Tab: centres on and selects the next land unit of the current country
// that can still move, after the selected one in the list of land units.
void SelectNextLandUnit();

// Closes the dialog with the id, with every dialog above it, when the modal
// stack holds it; otherwise makes it and pushes it on top.
void ToggleGameDialog(int dialogId);

// A new dialog of the id for the running game, or null for a dialog this
// screen cannot open.
cDialog* CreateGameDialog(int dialogId);

// Gives the game screen these keyboard and command handlers and the map's
// mouse handler where it has none yet (a screen that brought its own keeps
// it); the game's callback set is installed with them.
void InstallGameCommandHandlers();

}  // namespace tr
