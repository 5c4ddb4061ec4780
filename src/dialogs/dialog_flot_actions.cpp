// What the fleets manager's controls do, the small dialogs they open and what
// the window does each time it is the top of the modal stack again.
#include <string>

#include "app/modal_stack.h"
#include "dialogs/commander_dialog.h"
#include "dialogs/dialog_flot.h"
#include "dialogs/small_dialog_parts.h"
#include "dialogs/small_dialogs.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "gui/check_box.h"
#include "gui/list_box.h"
#include "turn/fleet.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr const char* kThisFile = "dialog_flot_actions";
constexpr int kFirstHandledId = cDialogFlot::kFleetList;
constexpr int kLastHandledId = cDialogFlot::kDisbandConfirmed;
// A fleet's name was held in 100 units with the terminator.
constexpr std::size_t kFleetNameLength = 99;

int CurrentCountryId() {
  const cCountry* country = gGame != nullptr ? gGame->playerControl.currentCountry : nullptr;
  return country != nullptr ? country->id : 0;
}

}  // namespace

void cDialogFlot::RecomputeVisibility() {
  if (gGame != nullptr) gGame->seaGraph.CalculateNavalVisibilityAll(CurrentCountryId(), false);
}

void cDialogFlot::StartMapAction(ePending pending, int actionMode) {
  if (TopDialog != nullptr) TopDialog->SetVisible(false);
  pending_ = pending;
  cFleet& fleet = *selectedFleets_.front();
  switch (pending) {
    case kPendingUnload: selectedShips_.front()->MarkPlacementPorts(1); break;
    case kPendingRecon: fleet.MarkReconTargets(1); break;
    case kPendingAirAttack: fleet.MarkBombardmentTargets(1); break;
    case kPendingShoreBombardment: fleet.MarkShoreBombardmentTargets(1); break;
    default: break;
  }
  gGame->playerControl.actionMode = actionMode;
}

void cDialogFlot::OnGUIEvent(std::uint32_t, int controlId, CDXUTControl*) {
  if (controlId < kFirstHandledId || controlId > kLastHandledId || gGame == nullptr) return;
  GameLockGuard lock(kThisFile, __LINE__);
  const bool oneFleet = selectedFleets_.size() == 1;
  const bool aShip = !selectedShips_.empty();
  const bool oneShip = selectedShips_.size() == 1;
  switch (controlId) {
    case kFleetList: ApplyFleetSelection(); return;
    case kShipList: ShowSelection(); return;
    case kRenameFleet:
      if (!oneFleet) return;
      pending_ = kPendingRenameFleet;
      PushModalDialog(new cDialogPobraniaTekstu(GetText("fleet_rename_title"), GetText("fleet_rename_name"),
                                                selectedFleets_.front()->name));
      return;
    case kMoveFleet:
      if (selectedFleets_.empty()) return;
      if (TopDialog != nullptr) TopDialog->SetVisible(false);
      MarkFleetRouteHexes(*selectedFleets_.front());
      gGame->playerControl.actionMode = kActionFleetMove;
      return;
    case kActiveBox: {
      if (selectedFleets_.empty()) return;
      const auto* box = static_cast<CDXUTCheckBox*>(GetControlOfType(kActiveBox, kControlCheckBox));
      const std::uint8_t active = box != nullptr && box->GetChecked() ? 1 : 0;
      for (cFleet* fleet : selectedFleets_) {
        if (fleet->formation == kFleetRegular) fleet->active = active;
      }
      RefreshFleetList(-1);
      return;
    }
    case kRegularRadio:
      if (selectedFleets_.empty()) return;
      for (cFleet* fleet : selectedFleets_) fleet->formation = kFleetRegular;
      RefreshFleetList(-1);
      return;
    case kRaidersRadio:
      if (selectedFleets_.empty()) return;
      for (cFleet* fleet : selectedFleets_) {
        fleet->formation = kFleetRaiders;
        fleet->active = 0;
      }
      RefreshFleetList(-1);
      return;
    case kCreateFleet: {
      const auto* ships = static_cast<CDXUTListBox*>(GetControlOfType(kShipList, kControlListBox));
      if (oneFleet && ships != nullptr && ships->GetSelectedIndex() >= 0) CreateFleet();
      return;
    }
    case kMoveShips:
      if (oneFleet && aShip) OpenMoveShipsChoice();
      return;
    case kRenameShip:
      if (!oneFleet || !oneShip) return;
      pending_ = kPendingRenameShip;
      PushModalDialog(new cDialogPobraniaTekstu(GetText("fleets_rename_group_title"),
                                                GetText("fleets_rename_group_name"), selectedShips_.front()->name));
      return;
    case kCommander:
      if (!oneShip) return;
      if (TopDialog != nullptr) TopDialog->SetVisible(false);
      pending_ = kPendingCommander;
      PushModalDialog(new cDialogDowodcow(selectedShips_.front()));
      return;
    case kRepair:
      // Only one ship at a time: the cost and the hit point are one ship's.
      if (oneShip) Repair();
      return;
    case kDisband:
      if (oneFleet && aShip) AskDisband();
      return;
    case kUnload:
      if (oneFleet && aShip) StartMapAction(kPendingUnload, kActionInvasionTarget);
      return;
    case kRecon:
      if (oneFleet && aShip) StartMapAction(kPendingRecon, kActionRecon);
      return;
    case kAirAttack:
      if (oneFleet && oneShip) StartMapAction(kPendingAirAttack, kActionBombardment);
      return;
    case kShoreBombardment:
      if (oneFleet && aShip) StartMapAction(kPendingShoreBombardment, kActionShoreBombardment);
      return;
    case kClose: CloseAnsweredDialog(this, serial()); return;
    case kDisbandConfirmed: Disband(); return;
    default: return;
  }
}

void cDialogFlot::CreateFleet() {
  cFleet* source = selectedFleets_.front();
  cFleet* made = cFleet::SplitOff(*source);
  if (made == nullptr) return;
  source->RemoveMarkedShips();
  if (source->ships.empty()) {
    selectedFleets_.clear();
    DeleteFleet(source);
    selectedFleets_.push_back(made);
  }
  RecomputeVisibility();
  RefreshFleetList(-1);
}

void cDialogFlot::OpenMoveShipsChoice() {
  pending_ = kPendingMoveShips;
  auto* choice = new cDialogPobraniaListy(GetText("fleets_move_group_title"), GetText("fleets_move_group_list"));
  PushModalDialog(choice);
  auto* targets = static_cast<CDXUTListBox*>(choice->GetControlOfType(cDialogPobraniaListy::kList, kControlListBox));
  auto* fleets = static_cast<CDXUTListBox*>(GetControlOfType(kFleetList, kControlListBox));
  if (targets == nullptr || fleets == nullptr) return;
  const cFleet* source = selectedFleets_.front();
  for (int i = 0; i < fleets->GetSize(); ++i) {
    const cFleet* fleet = FleetOfRow(fleets->GetItem(i)->data);
    if (fleet == nullptr || fleet == source || fleet->hasMoved != 0) continue;
    targets->AddItem(fleet->name, static_cast<std::uint32_t>(fleet->id));
  }
  if (targets->GetSize() > 0) targets->SelectItem(0, true);
}

void cDialogFlot::MoveShipsToChosenFleet() {
  if (ListChoice.empty()) return;
  cFleet* target = FleetOfRow(ListChoice.front());
  cFleet* source = selectedFleets_.front();
  if (target == nullptr || target == source) return;
  source->MoveMarkedShipsTo(*target);
  if (source->ships.empty()) {
    selectedFleets_.clear();
    DeleteFleet(source);
  }
  RecomputeVisibility();
}

void cDialogFlot::Repair() {
  cJednostkaMorska& ship = *selectedShips_.front();
  ship.AddHitPoints(1.0f);
  ship.canBeRepaired = 0;
  if (cCountry* country = gGame->playerControl.currentCountry) {
    country->AddProductionPoints(-gGame->constants.NavalFactor(ship.TableType()));
  }
  FillUnitList();
}

void cDialogFlot::AskDisband() {
  const std::u16string question = selectedShips_.size() == 1
                                      ? Format(GetText("disband_question_%s"), selectedShips_.front()->name)
                                      : GetText("disband_question_multiple_units");
  auto* confirm = new cDialogPotwierdzenia(GetText("disband_title"), question, GetText("disband_yes"),
                                           GetText("disband_yes_hint"), GetText("disband_no"),
                                           GetText("disband_no_hint"));
  PushModalDialog(confirm);
  confirm->owner = this;
}

void cDialogFlot::Disband() {
  if (selectedFleets_.empty() || selectedShips_.empty()) return;
  cFleet* fleet = selectedFleets_.front();
  const int fleetId = fleet->id;
  // The last ship takes its fleet with it: the selection lets go of it first.
  if (selectedShips_.size() == fleet->ships.size()) selectedFleets_.clear();
  const std::vector<cJednostkaMorska*> ships = selectedShips_;
  selectedShips_.clear();
  for (cJednostkaMorska* ship : ships) ship->Sink(1);
  RecomputeVisibility();
  RefreshFleetList(selectedFleets_.empty() ? -1 : fleetId);
}

void cDialogFlot::OnActivate() {
  if (gGame == nullptr) return;
  GameLockGuard lock(kThisFile, __LINE__);
  const bool oneFleet = selectedFleets_.size() == 1;
  const bool aShip = !selectedShips_.empty();
  if (oneFleet && pending_ == kPendingRenameFleet) {
    selectedFleets_.front()->name = InputText.substr(0, kFleetNameLength);
  } else if (aShip && pending_ == kPendingRenameShip) {
    selectedShips_.front()->SetName(InputText);
  } else if (oneFleet && aShip && pending_ == kPendingMoveShips) {
    MoveShipsToChosenFleet();
  } else if (aShip && pending_ == kPendingCommander) {
    const cJednostkaMorska& ship = *selectedShips_.front();
    if (ship.fleet != nullptr && gGame->seaGraph.IsNodeId(ship.fleet->seaNodeId)) {
      ship.fleet->GetSeaNode().ShareBestCommander(ship.owner);
    }
  }
  pending_ = kPendingNone;
  if (RefreshFleetList(-1) < 1) {
    // Nothing of this window may be touched once it has closed.
    CloseAnsweredDialog(this, serial());
    return;
  }
  StartTimer(gDelays[kDelayHumanReconAfter] / 1000.0f, kTimerShow);
}

}  // namespace tr
