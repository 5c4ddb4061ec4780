#include "app/game_commands.h"

#include <iterator>

#include "app/end_turn.h"
#include "app/game_frame_move.h"
#include "app/game_mouse.h"
#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "app/pause_menu.h"
#include "app/player_interface.h"
#include "dialogs/cheats_dialog.h"
#include "dialogs/convoys_manager.h"
#include "dialogs/dialog_researchu.h"
#include "dialogs/dialog_statystyk.h"
#include "dialogs/panel.h"
#include "dialogs/panel_informacyjny.h"
#include "dialogs/preferences_dialog.h"
#include "dialogs/purchases_dialog.h"
#include "dialogs/small_dialogs.h"
#include "dialogs/units_manager.h"
#include "foundation/console_log.h"
#include "foundation/game_lock.h"
#include "foundation/settings.h"
#include "gui/hint_box.h"
#include "platform/codes.h"
#include "units/jednostka_ladowa.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr const char* kThisFile = "game_commands";

enum eGameCommand : int {
  kMinimapArea = 315,
  kZoomIn = 316,
  kZoomOut = 317,
  kBorderMode = 318,
  kOwnershipMode = 319,
  kMapMode = 320,
  kPurchasesButton = 336,
  kUnitsButton = 337,
  kResearchButton = 339,
  kReportsButton = 340,
  kConvoysButton = 341,
  kPauseButton = 342,
  kEndTurnButton = 343,
  kHotkeysButton = 344,
};

// The value that follows in a cycle of 0..last; a value outside it stays.
int NextInCycle(int value, int last) {
  if (value < 0 || value > last) return value;
  return value == last ? 0 : value + 1;
}

void CycleBorderMode() {
  gBorderMode = NextInCycle(gBorderMode, 2);
  SettingsIni().SetInt("Border/Mode", gBorderMode);
}

void CycleOwnershipMode() {
  gMapOwnershipMode = NextInCycle(gMapOwnershipMode, 3);
  SettingsIni().SetInt("MapDisplay/OwnershipMode", gMapOwnershipMode);
}

void SwitchMapMode() {
  if (gMapMode == 0) {
    gMapMode = 2;
  } else if (gMapMode == 2) {
    gMapMode = 0;
  }
  SettingsIni().SetInt("MapDisplay/Mode", gMapMode);
}

void ZoomMap(float amount) {
  if (gGame != nullptr && gGame->map != nullptr) gGame->map->Zoom(amount, 0.0f, 0.0f);
}

void InvertPanel(cDialog* dialog) {
  if (auto* panel = dynamic_cast<cPanel*>(dialog)) SetPanelCollapsed(panel, !panel->IsCollapsed());
}

void PushOnTop(cDialog* dialog) {
  if (dialog == nullptr) return;
  GameLockGuard lock(kThisFile, __LINE__);
  PushModalDialog(dialog);
}

void EndTurnCommand() {
  if (DontConfirmEndTurn) {
    EndHumanTurn();
  } else {
    PushOnTop(new cDialogPotwKoncaTury());
  }
}

// The toolbar button of a letter hotkey, 0 for none.
int ToolbarButtonOfKey(std::uint32_t key) {
  switch (key) {
    case 'C': return kConvoysButton;
    case 'I': return kHotkeysButton;
    case 'P': return kPurchasesButton;
    case 'Q': return kEndTurnButton;
    case 'R': return kReportsButton;
    case 'T': return kResearchButton;
    case 'U': return kUnitsButton;
    default: return 0;
  }
}

bool PlayerInterfaceActive() {
  if (gGame == nullptr) return false;
  const eGameState state = gGame->GetGameState();
  return state == kGameHumanIdle || state == kGameHumanMoving;
}

void OpenPauseMenu() {
  // Its construction pauses the game.
  CurrentMenu = new cPauseMenu();
}

void KeyPressed(std::uint32_t key) {
  if (const int button = ToolbarButtonOfKey(key)) {
    // The toolbar's commands change the game or end the turn: only the
    // player's own states take them, as Tab and Esc.
    if (PlayerInterfaceActive()) PressToolbarButton(button);
    return;
  }
  if (key >= VK_LEFT && key <= VK_DOWN) {
    gArrowKeys |= static_cast<std::uint16_t>(1u << (key - VK_LEFT));
    return;
  }
  switch (key) {
    case VK_TAB:
      // The walk selects and highlights on the map, which the worker owns outside the human states.
      if (PlayerInterfaceActive()) SelectNextLandUnit();
      return;
    case VK_ESCAPE:
      if (PlayerInterfaceActive()) OpenPauseMenu();
      return;
    // The numeric pad's keys and the main keyboard's zoom alike.
    case VK_ADD:
    case VK_OEM_PLUS: ZoomMap(1.0f); return;
    case VK_SUBTRACT:
    case VK_OEM_MINUS: ZoomMap(-1.0f); return;
    case VK_F1: PushOnTop(CreateGameDialog(kPreferencesDialogId)); return;
    case VK_F1 + 1: gShowGrid = !gShowGrid; return;
    case VK_F1 + 2: gShowWeather = !gShowWeather; return;
    case VK_F1 + 3: gShowCityNames = !gShowCityNames; return;
    case VK_F1 + 4: gShowAPLeft = !gShowAPLeft; return;
    case VK_F1 + 5: CycleBorderMode(); return;
    case VK_F1 + 6: CycleOwnershipMode(); return;
    case VK_F12: PushOnTop(CreateGameDialog(kCheatsDialogId)); return;
    default: return;
  }
}

}  // namespace

void OnGameCommand(std::uint32_t, int controlId, CDXUTControl*) {
  switch (controlId) {
    case kMinimapArea:
      if (gGame != nullptr && gGame->map != nullptr) {
        gGame->map->CenterAtMinimapPoint(GetHintBox().pointer_x(), GetHintBox().pointer_y());
      }
      return;
    case kZoomIn: ZoomMap(1.0f); return;
    case kZoomOut: ZoomMap(-1.0f); return;
    case kBorderMode: CycleBorderMode(); return;
    case kOwnershipMode: CycleOwnershipMode(); return;
    case kMapMode: SwitchMapMode(); return;
    case kPurchasesButton: ToggleGameDialog(kPurchasesDialogId); return;
    case kUnitsButton: ToggleGameDialog(kUnitsDialogId); return;
    case kResearchButton: ToggleGameDialog(kResearchDialogId); return;
    case kReportsButton: ToggleGameDialog(kReportsDialogId); return;
    case kConvoysButton: ToggleGameDialog(kConvoysDialogId); return;
    case kPauseButton: OpenPauseMenu(); return;
    case kEndTurnButton: EndTurnCommand(); return;
    case kHotkeysButton: ToggleGameDialog(kHotkeysDialogId); return;
    case cInfoPanel::kUnitPanelToggle: InvertPanel(gUnitPanel); return;
    case cInfoPanel::kHexPanelToggle: InvertPanel(gHexPanel); return;
    case cInfoPanel::kAttackPanelToggle: InvertPanel(gAttackPanel); return;
    case cInfoPanel::kDiplomacyPanelToggle: InvertPanel(gDiplomacyPanel); return;
    default: return;
  }
}

void OnGameKeyboard(std::uint32_t key, bool down, bool) {
  if (down) {
    KeyPressed(key);
  } else if (key >= VK_LEFT && key <= VK_DOWN) {
    gArrowKeys &= static_cast<std::uint16_t>(~(1u << (key - VK_LEFT)));
  }
}

void PressToolbarButton(int controlId) {
  cInfoPanel* info = GetInfoPanel();
  // Disabled while the computer plays, like its buttons.
  if (info == nullptr || !info->MouseInputEnabled()) return;
  CDXUTControl* icon = info->GetControlOfType(controlId, kControlIcon);
  if (icon == nullptr) return;
  info->EnableNonUserEvents(true);
  info->SendEvent(GuiEventButtonClicked, false, icon, true);
  // The command may have ended the game and its panels with it.
  if (cInfoPanel* still = GetInfoPanel()) still->EnableNonUserEvents(false);
}

void SelectNextLandUnit() {
  if (gGame == nullptr || gGame->map == nullptr || gGame->landUnits.empty()) return;
  cGame& game = *gGame;
  cPlayerControl& control = game.playerControl;
  const cCountry* current = control.currentCountry;
  if (current == nullptr) return;
  auto& units = game.landUnits;
  auto start = units.begin();
  const sHex* selected = control.selectedHex;
  if (selected != nullptr && selected->unit != nullptr && selected->unit->category == kCategoryLand &&
      selected->unit->owner == current->id) {
    while (start != units.end() && start->get() != selected->unit) ++start;
    if (start == units.end()) {
      LogLine(u"Jednostka z heksa zaznaczonego nie jest na liscie jednostek ladowych, TAB problem");
      return;
    }
  }
  for (auto it = std::next(start);; ++it) {
    if (it == units.end()) it = units.begin();
    if (it == start) return;
    cJednostkaLadowa& unit = **it;
    if (unit.owner != current->id || unit.actionPoints <= 0) continue;
    CenterAtHex(*game.map, unit.x, unit.y);
    control.SelectHex(unit.x, unit.y);
    unit.ComputeMoveRange(0);
    return;
  }
}

void ToggleGameDialog(int dialogId) {
  GameLockGuard lock(kThisFile, __LINE__);
  if (FindModalDialog(dialogId) != nullptr) {
    CloseModalDialog(dialogId);
    return;
  }
  if (cDialog* dialog = CreateGameDialog(dialogId)) PushModalDialog(dialog);
}

cDialog* CreateGameDialog(int dialogId) {
  // The game's dialogs act for the current country; without one they are not opened.
  const cCountry* current = gGame != nullptr ? gGame->playerControl.currentCountry : nullptr;
  switch (dialogId) {
    case kHotkeysDialogId:
      return new cDialogSkrotowKlawiszowych();
    case kPreferencesDialogId:
      return new cDialogUstawien();
    case kCheatsDialogId:
      return new cDialogCheatow();
    case kResearchDialogId:
      // Research is the current country's.
      if (gGame == nullptr || gGame->playerControl.currentCountry == nullptr) return nullptr;
      return new cDialogResearchu();
    case kReportsDialogId:
      return new cDialogStatystyk();
    case kPurchasesDialogId:
      return current != nullptr ? new cDialogZakupow() : nullptr;
    case kUnitsDialogId:
      return current != nullptr ? new cDialogJednostek(current->id) : nullptr;
    case kConvoysDialogId:
      return current != nullptr ? new cDialogKonwojow() : nullptr;
    default:
      return nullptr;
  }
}

void InstallGameCommandHandlers() {
  sGameScreenHandlers handlers = GameScreenHandlers();
  if (!handlers.keyboard) handlers.keyboard = &OnGameKeyboard;
  if (!handlers.command) handlers.command = &OnGameCommand;
  if (!handlers.mouse) handlers.mouse = &OnGameMouse;
  SetGameScreenHandlers(std::move(handlers));
}

}  // namespace tr
