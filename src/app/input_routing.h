// Where window messages, keys, mouse reports and GUI events go. The installed
// set of frame callbacks says which screen is active: a menu, the running
// game, or the paused game under the pause menu. A message goes to the
// visible top dialog, else the current menu, else (with a game past state 1)
// the panels in the order diplomacy, hex, unit, attack, minimap, information.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/codes.h"

namespace tr {

class CDXUTControl;
class Graphics;
class cDialog;

// The six map-side panels, created by the game at each load; null when absent.
extern cDialog* gInfoPanel;
extern cDialog* gDiplomacyPanel;
extern cDialog* gHexPanel;
extern cDialog* gUnitPanel;
extern cDialog* gAttackPanel;
extern cDialog* gMinimapPanel;

// What the running game does with input that no dialog takes: its hotkeys,
// its actions on the map and its command buttons.
struct sGameScreenHandlers {
  std::function<void(std::uint32_t key, bool down, bool alt)> keyboard;
  std::function<void(bool left, bool right, bool middle, bool side1, bool side2, int wheel, int x, int y)> mouse;
  std::function<void(std::uint32_t event, int controlId, CDXUTControl* control)> command;
};
void SetGameScreenHandlers(sGameScreenHandlers handlers);
// The installed ones, so one handler can be replaced while the others stay.
const sGameScreenHandlers& GameScreenHandlers();

// The frame's message callback for the whole run.
std::int64_t OnWindowMessage(std::uint32_t msg, WParam wparam, LParam lparam, bool* noFurtherProcessing);

// The menu set.
void MenuFrameMoveCallback(Graphics& device, double time, float elapsed);
void MenuKeyboardCallback(std::uint32_t key, bool down, bool alt);
void MenuMouseCallback(bool left, bool right, bool middle, bool side1, bool side2, int wheel, int x, int y);
void MenuGuiEventCallback(std::uint32_t event, int controlId, CDXUTControl* control);

// The game set.
void GameFrameMove(Graphics& device, double time, float elapsed);
void GameKeyboardCallback(std::uint32_t key, bool down, bool alt);
void GameMouseCallback(bool left, bool right, bool middle, bool side1, bool side2, int wheel, int x, int y);

// GUI-event callbacks of in-game dialogs, of the unit, hex, attack and
// diplomacy panels, and of the information panel.
void DialogGuiEventCallback(std::uint32_t event, int controlId, CDXUTControl* control);
void PanelGuiEventCallback(std::uint32_t event, int controlId, CDXUTControl* control);
void InfoPanelGuiEventCallback(std::uint32_t event, int controlId, CDXUTControl* control);

// Installs a set on the running frame: a menu's (frame move, keyboard, mouse
// with moves, the shared render); the paused game's (menu mouse and keyboard,
// no frame move); the running game's (game frame move, keyboard and mouse).
void InstallMenuCallbackSet();
void InstallPausedCallbackSet();
void InstallGameCallbackSet();

}  // namespace tr
