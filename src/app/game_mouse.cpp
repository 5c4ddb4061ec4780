#include "app/game_mouse.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "app/fleet_map_actions.h"
#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "dialogs/attack_panel.h"
#include "dialogs/combat_result_dialog.h"
#include "dialogs/convoys_manager.h"
#include "dialogs/dialog_flot.h"
#include "dialogs/dialog_tekstowy.h"
#include "dialogs/units_manager.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "gui/dialog.h"
#include "gui/hint_box.h"
#include "turn/convoy.h"
#include "units/combat_result.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "world/city.h"
#include "world/gra.h"
#include "world/hex_distance.h"
#include "world/map_camera.h"
#include "world/presentation.h"

namespace tr {
namespace {

constexpr const char* kThisFile = "game_mouse";

// The map origin lies this far left of and above the camera point.
constexpr int kOriginX = 30;
constexpr int kOriginY = 36;
constexpr int kHalfRow = kRowStep / 2;
// The slanted left edge of a hex: 24 pixels across for half a row up or down.
constexpr int kSlantWidth = 24;

// A hex is marked for the current action by any of these flag bits.
constexpr std::uint32_t kActionMarks = 0x1FFFC;
// Masks that keep the selection (and the highlighted sea zone) of a hex.
constexpr std::uint32_t kAllButSelection = ~0x1u;
constexpr std::uint32_t kAllButSelectionAndZone = ~0x4001u;
// The mark of the ports a new convoy may use.
constexpr std::uint32_t kConvoyPortMark = 0x8000;

// Set by a click that handed the map back to the hidden units or convoys
// manager; read by the click's wrapper.
bool gHiddenDialogServed = false;

int FloorDiv(int a, int b) {
  const int q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

cGame& Game() { return *gGame; }
cPlayerControl& Control() { return gGame->playerControl; }
cMap& Map() { return *gGame->map; }

// The hex carrying the mark that lies nearest to (x, y), if any does.
std::optional<sPoint> NearestMarkedHex(std::uint32_t mark, int x, int y) {
  const cMap& map = Map();
  std::optional<sPoint> nearest;
  int best = 0;
  for (int row = 0; row < map.GetHeight(); ++row) {
    for (int column = 0; column < map.GetWidth(); ++column) {
      if ((map.GetHex(column, row)->flags & mark) == 0) continue;
      const int distance = HexDistance(x, y, column, row);
      if (!nearest || distance < best) {
        nearest = sPoint{column, row};
        best = distance;
      }
    }
  }
  return nearest;
}

// No port of the country or an ally can take a convoy from the departure:
// the manager comes back with the reason instead of a choice without marks.
void NoConvoyDestination(int departureNode) {
  ConvoysManagerDepartureNode = 0;
  std::u16string port;
  if (gGame->seaGraph.IsNodeId(departureNode)) {
    const sWezelGrafuMorz& node = gGame->seaGraph.GetNode(departureNode - 1);
    if (const cCity* city = Map().GetHex(node.x, node.y)->city) port = city->name;
  }
  if (auto* convoys = dynamic_cast<cDialogKonwojow*>(TopDialog)) convoys->SetVisible(true);
  gHiddenDialogServed = true;
  PushModalDialog(new cDialogTekstowy(Format(GetText("convoys_new_no_destination_%s"), port),
                                      GetText("convoys_title"), cDialogTekstowy::kDefaultLayoutBase));
}

int CurrentCountryId() {
  const cCountry* country = Control().currentCountry;
  return country != nullptr ? country->id : 0;
}

bool AtWar(int a, int b) { return a > 0 && b > 0 && a != b && Game().relations.IsAtWar(a, b); }

void RefreshAttackPanel() {
  if (cAttackPanel* panel = GetAttackPanel()) panel->Update();
}

// The end of a handled click: no action mode, the click forgotten, a layout
// drag stopped. A plan left over when a panel switched the mode would block
// every later move and plan, so it goes too.
void EndAction() {
  cPlayerControl& control = Control();
  control.actionMode = kActionNone;
  GetHintBox().ForgetLeftButton();
  CDXUTDialog::ResetLayoutDrag();
  if (control.GetPendingAttack() != nullptr) {
    control.DropAttack();
    RefreshAttackPanel();
  }
}

// Whether the unit is still one of the game's units on the map. A plan keeps
// bare pointers, and its units may have been killed or disbanded meanwhile.
bool IsOnMap(const cJednostka* unit) {
  if (unit == nullptr) return false;
  const auto same = [unit](const auto& held) { return held.get() == unit; };
  const cGame& game = Game();
  return std::any_of(game.landUnits.begin(), game.landUnits.end(), same) ||
         std::any_of(game.airUnits.begin(), game.airUnits.end(), same);
}

// Clears the sides whose attacker left the map; false when the plan has no
// defender or no attacker left to fight.
bool PruneAttackPlan(sAttack& attack) {
  if (!IsOnMap(attack.defender)) return false;
  for (int side = 0; side < kDirectionCount; ++side) {
    if (attack.attackers[static_cast<std::size_t>(side)] != nullptr &&
        !IsOnMap(attack.attackers[static_cast<std::size_t>(side)])) {
      attack.ClearAttacker(side);
    }
  }
  return attack.CountAttackers() > 0;
}

void CancelPlan() {
  LogLine(u"Player action: assault plan canceled");
  EndAction();
}

void ExecuteAssault() {
  cPlayerControl& control = Control();
  LogLine(u"Player action: Executing assault ");
  // The battle may kill the planned units; it fights a copy of the plan.
  sAttack attack = *control.GetPendingAttack();
  sCombatResult result;
  const bool fought = attack.ResolveLandBattle(result);
  control.DropAttack();
  RefreshAttackPanel();
  if (!fought) {
    LogLine(u"ERROR: while executing assault! no pointer to att. or_def.?");
  } else {
    ShowPlayerCombatResult(result);
  }
  EndAction();
}

// A click beside the attacked hex adds or removes an own unit of the plan;
// any other click cancels it. True when the plan stays.
bool ChangeAttackPlan(sHex& clicked, int column, int row) {
  cPlayerControl& control = Control();
  sAttack& attack = *control.GetPendingAttack();
  const int d = Map().GetDirectionTo(attack.targetX, attack.targetY, column, row);
  auto* unit = dynamic_cast<cJednostkaLadowa*>(clicked.unit);
  if (d == 0 || unit == nullptr || unit->owner != CurrentCountryId() || unit->actionPoints < 1 ||
      unit->attacked != 0) {
    CancelPlan();
    return false;
  }
  if (attack.IsAttacker(unit)) {
    attack.ClearAttacker(d - 1);
    if (attack.CountAttackers() == 0) {
      LogLine(u"Player action: Last unit removed from assault plan / assault plan canceled");
      control.DropAttack();
      control.ValidateAttack();
      RefreshAttackPanel();
      EndAction();
      return false;
    }
    LogLine(u"Player action: Unit removed from assault");
  } else {
    attack.SetAttacker(d - 1, unit);
    LogLine(u"Player action: Unit added to assault plan");
  }
  control.ValidateAttack();
  RefreshAttackPanel();
  return true;
}

void BeginPlan(cJednostka* defender, int targetX, int targetY, int side, cJednostka* attacker) {
  LogLine(u"Player action: new assault plan created");
  sAttack attack;
  attack.defender = defender;
  attack.targetX = targetX;
  attack.targetY = targetY;
  attack.SetAttacker(side, attacker);
  cPlayerControl& control = Control();
  control.BeginAttack(attack);
  RefreshAttackPanel();
  control.actionMode = kActionPlanAttack;
}

bool CanJoinAttack(const cJednostkaLadowa* unit) {
  return unit != nullptr && unit->owner == CurrentCountryId() && unit->actionPoints >= 1 && unit->attacked == 0;
}

void MoveUnit(cJednostka& unit, int column, int row) {
  cGame& game = Game();
  LogFormat(u"Player action: Move / %s from (%i, %i) to (%i, %i)", unit.name, unit.x, unit.y, column, row);
  sHex* from = Map().GetHex(unit.x, unit.y);
  if (from->unit == &unit) from->unit = nullptr;
  // A refused path puts the unit back on its hex.
  if (Control().FindHexPath(&unit, column, row)) game.SetGameState(kGameHumanMoving);
}

void RebaseUnit(cJednostkaLotnicza& unit, int column, int row) {
  cPlayerControl& control = Control();
  LogFormat(u"Player action: Rebase / %s from (%i, %i) to (%i, %i)", unit.name, unit.x, unit.y, column, row);
  control.undo.unit = &unit;
  control.undo.actionPoints = unit.actionPoints;
  control.undo.startX = unit.x;
  control.undo.startY = unit.y;
  control.undo.changedHexes.clear();
  unit.RebaseTo(column, row);
  Map().ClearHexFlags(kAllButSelection, false);
  Presentation().UpdateUnitPanel();
}

bool IsDeployMode(int mode) {
  return mode == kActionDeployLand || mode == kActionDeployAir || mode == kActionDeployShip;
}
bool IsConvoyMode(int mode) { return mode == kActionConvoyDeparture || mode == kActionConvoyDestination; }

// The unit chosen in the units manager while it still waits in a reserve:
// the manager's pointer is only compared until the unit is found there.
cUnit* ChosenReserveUnit() {
  const cUnit* chosen = UnitsManagerCurrentUnit;
  if (chosen == nullptr) return nullptr;
  for (const auto& unit : Game().reservePool) {
    if (unit.get() == chosen) return unit.get();
  }
  for (const auto& ship : Game().navalReserve) {
    if (ship.get() == chosen) return ship.get();
  }
  return nullptr;
}

void DeployChosenUnit(cUnit& unit, int mode, const sHex& clicked, int column, int row) {
  if (mode == kActionDeployShip) {
    if (auto* ship = dynamic_cast<cJednostkaMorska*>(&unit)) ship->FormNewFleet(clicked.seaNodeMarker);
  } else if (auto* deployed = dynamic_cast<cJednostka*>(&unit)) {
    deployed->spotted = 1;
    deployed->DeployNearCity(column, row);
  }
  Control().ClearUndoList();
  if (TopDialog != nullptr && TopDialog->id == cDialogJednostek::kDialogId) {
    TopDialog->OnActivate();
    gHiddenDialogServed = true;
  }
}

// The map actions the unit panel starts. The acting unit may be destroyed
// by its own action (an interception, an air fight), so nothing reads it
// after the action that may free it.

void ReconFromAir(cJednostkaLotnicza& unit, sHex& clicked, int column, int row) {
  sCombatResult result;
  if (clicked.IsLand()) {
    unit.ReconHexArea(column, row, result);
    const cCity* city = clicked.city;
    if (result.kind == kBattleRecon && city != nullptr && (city->type == kCitySupplyPort || city->type == kCityPort) &&
        clicked.seaNodeMarker > 0) {
      unit.ReconSeaZone(clicked.seaNodeMarker, result);
    }
  } else {
    unit.ReconSeaZone(clicked.seaZone, result);
  }
}

void AirborneDrop(cJednostkaLadowa& unit, int column, int row) {
  LogFormat(u"Player action: Airborne assault / %s on (%i, %i)", unit.name, column, row);
  const std::u16string title = Format(GetText("airborne_assault_title_unit%s"), unit.name);
  std::u16string report;
  int landed = 0;
  unit.AirborneAssault(column, row, &report, &landed);
  Presentation().UpdateUnitPanel();
  PushModalDialog(new cDialogTekstowy(report, title, cDialogTekstowy::kDefaultLayoutBase));
  Map().ClearHexFlags(kAllButSelection, false);
}

void BombardHex(cJednostka& unit, sHex& clicked, bool marked) {
  Map().ClearHexFlags(kAllButSelectionAndZone, false);
  if (!marked) return;
  sCombatResult result;
  clicked.BombardFromAir(result, unit);
  ShowPlayerCombatResult(result);
}

void FightInTheAir(cJednostka& unit, sHex& clicked) {
  Map().ClearHexFlags(kAllButSelection, false);
  auto* defender = dynamic_cast<cJednostkaLotnicza*>(clicked.unit);
  if (defender == nullptr) return;
  sCombatResult result;
  defender->AirFight(result, unit, &clicked);
  ShowPlayerCombatResult(result);
}

void NuclearBombardment(cJednostka& unit, sHex& clicked, int column, int row) {
  LogFormat(u"Player action: Nuclear bombardment / %s on (%i, %i)", unit.name, column, row);
  sCombatResult result;
  if (auto* bomber = dynamic_cast<cJednostkaLotnicza*>(&unit)) bomber->NuclearStrike(clicked, result);
  Presentation().UpdateUnitPanel();
  ShowPlayerCombatResult(result);
  Map().ClearHexFlags(kAllButSelection, false);
}

// Steps 5 and 6: the click on a valid hex in the player's idle state.
void RunClickActions(int column, int row) {
  cPlayerControl& control = Control();
  cJednostka* acting = dynamic_cast<cJednostka*>(control.selectedUnit);
  sHex& clicked = *Map().GetHex(column, row);
  // Read before the selection, which clears every hex's marks.
  const bool marked = (clicked.flags & kActionMarks) != 0;
  // The fleets manager that hid itself for this click, read before the
  // selection, which may open a manager of the clicked node.
  cDialogFlot* manager = TopFleetsManager();
  const std::size_t fleetShips = manager != nullptr ? manager->selectedShips().size() : 0;
  const bool fromFleets = fleetShips == 1;
  control.SelectHex(column, row);
  const int mode = control.actionMode;
  sAttack* plan = control.GetPendingAttack();

  // A recon may be ordered for several ships: the carrier among them scouts.
  if (marked && mode == kActionRecon && fleetShips > 0) {
    Map().ClearHexFlags(kAllButSelectionAndZone, false);
    FleetRecon(*manager, column, row);
    Presentation().UpdateUnitPanel();
    EndAction();
    return;
  }
  if (marked && mode == kActionRecon && acting != nullptr) {
    Map().ClearHexFlags(kAllButSelectionAndZone, false);
    if (auto* air = dynamic_cast<cJednostkaLotnicza*>(acting)) ReconFromAir(*air, clicked, column, row);
    Presentation().UpdateUnitPanel();
    EndAction();
    return;
  }
  auto* actingLand = dynamic_cast<cJednostkaLadowa*>(acting);
  if (marked && mode == kActionAirborneDrop && actingLand != nullptr && clicked.unit == nullptr) {
    AirborneDrop(*actingLand, column, row);
    EndAction();
    return;
  }
  if (mode == kActionBombardment) {
    if (fromFleets) {
      Map().ClearHexFlags(kAllButSelectionAndZone, false);
      FleetAirStrike(*manager, marked, column, row);
    } else if (acting != nullptr) {
      BombardHex(*acting, clicked, marked);
    }
    Presentation().UpdateUnitPanel();
    EndAction();
    return;
  }
  if (marked && mode == kActionAirFight && acting != nullptr) {
    FightInTheAir(*acting, clicked);
    Presentation().UpdateUnitPanel();
    EndAction();
    return;
  }
  if (marked && mode == kActionNuclearStrike && acting != nullptr) {
    NuclearBombardment(*acting, clicked, column, row);
    EndAction();
    return;
  }
  if (marked && mode == kActionRebase && acting != nullptr) {
    if (auto* air = dynamic_cast<cJednostkaLotnicza*>(acting)) RebaseUnit(*air, column, row);
    EndAction();
    return;
  }
  if (marked && mode == kActionMove && acting != nullptr && plan == nullptr) {
    MoveUnit(*acting, column, row);
    EndAction();
    return;
  }
  if (mode == kActionPlanAttack && plan != nullptr) {
    if (!PruneAttackPlan(*plan)) {
      CancelPlan();
      return;
    }
    if (plan->defender->x == column && plan->defender->y == row) {
      ExecuteAssault();
      return;
    }
    ChangeAttackPlan(clicked, column, row);
    return;
  }
  auto* clickedLand = dynamic_cast<cJednostkaLadowa*>(clicked.unit);
  const int current = CurrentCountryId();
  if (acting != nullptr && plan == nullptr && AtWar(acting->owner, current) && acting->wasAttacked == 0 &&
      CanJoinAttack(clickedLand)) {
    const int d = Map().GetDirectionTo(acting->x, acting->y, column, row);
    if (d != 0) {
      BeginPlan(acting, acting->x, acting->y, d - 1, clickedLand);
      return;
    }
  }
  auto* clickedUnit = dynamic_cast<cJednostka*>(clicked.unit);
  if (acting != nullptr && plan == nullptr && acting->category == kCategoryLand && acting->owner == current &&
      acting->actionPoints >= 1 && clickedUnit != nullptr && AtWar(clickedUnit->owner, acting->owner)) {
    const int d = Map().GetDirectionTo(column, row, acting->x, acting->y);
    if (d != 0) {
      BeginPlan(clickedUnit, column, row, d - 1, acting);
      return;
    }
  }
  if (clicked.unit != nullptr && plan == nullptr && (mode == kActionNone || !marked)) {
    if (clicked.unit->owner != current) {
      if (clickedUnit != nullptr) clickedUnit->moveRange.clear();
      EndAction();
      return;
    }
    clicked.unit->ComputeMoveRange(0);
    control.actionMode = clicked.unit->category == kCategoryLand ? kActionMove : kActionRebase;
    return;
  }
  if (marked && mode == kActionStrategicMove && acting != nullptr) {
    acting->StrategicMove(column, row);
    Presentation().UpdateUnitPanel();
    control.ClearUndoList();
    Map().ClearHexFlags(kAllButSelection, false);
    EndAction();
    return;
  }
  if (marked && IsDeployMode(mode)) {
    if (cUnit* unit = ChosenReserveUnit()) {
      DeployChosenUnit(*unit, mode, clicked, column, row);
      EndAction();
      return;
    }
  }
  if (mode == kActionFleetMove && manager != nullptr && !manager->selectedFleets().empty()) {
    FleetMove(*manager, marked, column, row);
    control.ClearSelection();
    EndAction();
    return;
  }
  if (mode == kActionConvoyDeparture && TopDialog != nullptr) {
    if (marked && clicked.seaNodeMarker > 0) {
      ConvoysManagerDepartureNode = clicked.seaNodeMarker;
      if (ConvoysManagerCountry != nullptr) MarkConvoyCitiesForAction(ConvoysManagerCountry->id, clicked.seaNodeMarker);
      if (const std::optional<sPoint> port = NearestMarkedHex(kConvoyPortMark, column, row)) {
        // A country's only destination may be an ally's port far off the view.
        CenterAtHex(Map(), port->x, port->y);
        control.actionMode = kActionConvoyDestination;
        return;
      }
      NoConvoyDestination(clicked.seaNodeMarker);
      EndAction();
      return;
    }
    EndAction();
    return;
  }
  if (mode == kActionConvoyDestination && TopDialog != nullptr) {
    if (marked && clicked.seaNodeMarker != 0) {
      ConvoysManagerDestinationNode = clicked.seaNodeMarker;
      Map().ClearHexFlags(kConvoyPortMark, false);
      if (auto* convoys = dynamic_cast<cDialogKonwojow*>(TopDialog)) {
        convoys->Rebuild();
        convoys->SetVisible(true);
        // The list shows the convoy the manager holds selected, the new one when it was made.
        const sConvoy* selected = convoys->SelectedConvoy();
        convoys->FillList(selected != nullptr ? selected->id : -1);
        gHiddenDialogServed = true;
      }
      control.ClearSelection();
    }
    EndAction();
    return;
  }
  if (mode == kActionInvasionTarget && fromFleets) {
    FleetUnload(*manager, marked, column, row);
    control.ClearSelection();
    EndAction();
    return;
  }
  // The guns of every selected battleship and cruiser fire together.
  if (mode == kActionShoreBombardment && fleetShips > 0) {
    FleetShoreBombardment(*manager, marked, column, row);
    control.ClearSelection();
    EndAction();
    return;
  }
  EndAction();
}

// A click in a deployment or convoy mode, while the manager waits hidden on
// top, that ends the mode without handing the map back shows the manager
// again: a hidden dialog never stays on the stack unseen.
void ClickHex(int column, int row) {
  const int mode = Control().actionMode;
  gHiddenDialogServed = false;
  RunClickActions(column, row);
  const int after = Control().actionMode;
  if (!(IsDeployMode(mode) || IsConvoyMode(mode)) || IsDeployMode(after) || IsConvoyMode(after) ||
      gHiddenDialogServed) {
    return;
  }
  cDialog* top = TopDialog;
  if (top != nullptr && !top->GetVisible() &&
      (top->id == cDialogJednostek::kDialogId || top->id == cDialogKonwojow::kDialogId)) {
    top->SetVisible(true);
  }
}

// Whether a control of an open panel lies under the point. The hint box may
// have lost the control under the pointer to a panel the pointer left, and a
// click on a panel's control must not also act on the hex under it.
bool IsOverPanelControl(int x, int y) {
  for (const cDialog* panel : {gDiplomacyPanel, gHexPanel, gUnitPanel, gAttackPanel, gMinimapPanel, gInfoPanel}) {
    if (panel != nullptr && panel->GetVisible() && !panel->GetMinimized() && panel->GetControlAtPoint(x, y) != nullptr) {
      return true;
    }
  }
  return false;
}

}  // namespace

sPickedHex PickHexAt(int x, int y, int screenWidth, int screenHeight, float zoom, float cameraX, float cameraY) {
  if (zoom <= 0.0f) zoom = 1.0f;
  const int px = static_cast<int>(std::floor(static_cast<float>(x - screenWidth / 2) / zoom + cameraX - kOriginX));
  int py = static_cast<int>(std::floor(static_cast<float>(y - screenHeight / 2) / zoom + cameraY - kOriginY));
  sPickedHex hex;
  hex.column = FloorDiv(px, kColumnStep);
  const bool even = hex.column % 2 == 0;
  if (even) py -= kHalfRow;
  hex.row = FloorDiv(py, kRowStep);
  const int lx = px - kColumnStep * hex.column;
  const int ly = py - kRowStep * hex.row;
  // The slanted edge compared without dividing: (49 - ly) / lx > 49 / 24.
  if (lx < kSlantWidth) {
    if (ly < kHalfRow && kSlantWidth * (kHalfRow - ly) > kHalfRow * lx) {
      hex.column -= 1;
      if (!even) hex.row -= 1;
    } else if (ly > kHalfRow && kSlantWidth * (ly - kHalfRow) > kHalfRow * lx) {
      hex.column -= 1;
      if (even) hex.row += 1;
    }
  }
  return hex;
}

void ShowPlayerCombatResult(const sCombatResult& result) {
  const float delay = gDelays[kDelayHumanCombatResult];
  if (delay == 0.0f) return;
  GameLockGuard lock(kThisFile, __LINE__);
  PushModalDialog(new cDialogWynikuWalki(result, delay));
}

void EndManagerMapAction() {
  if (gGame == nullptr || gGame->map == nullptr) return;
  Control().actionMode = kActionNone;
  Map().ClearHexFlags(kAllButSelectionAndZone, false);
}

void OnGameMouse(bool, bool, bool, bool, bool, int wheel, int x, int y) {
  if (gGame == nullptr || gGame->map == nullptr) return;
  // The worker moves the camera and hands turns over under the lock.
  GameLockGuard lock(kThisFile, __LINE__);
  cMap& map = Map();
  const bool overControl = GetHintBox().GetControl() != nullptr || IsOverPanelControl(x, y);
  if (wheel != 0 && !overControl) {
    map.Zoom(static_cast<float>(wheel) / 120.0f, static_cast<float>(x - gScreenWidth / 2),
             static_cast<float>(y - gScreenHeight / 2));
  }
  const sPickedHex picked =
      PickHexAt(x, y, gScreenWidth, gScreenHeight, gDisplayedScale, map.camera.x, map.camera.y);
  const bool valid = !overControl && map.IsInside(picked.column, picked.row);
  Control().SetHoveredHex(valid ? map.GetHex(picked.column, picked.row) : nullptr);
  if (gGame->GetGameState() != kGameHumanIdle || !GetHintBox().left_released_now() || !valid) return;
  ClickHex(picked.column, picked.row);
  ResumeHiddenFleetsManager();
}

}  // namespace tr
