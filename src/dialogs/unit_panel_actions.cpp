// What the unit panel's icons do, and the answers of the dialogs the panel
// opens and owns. A dialog-based action starts only while no other is
// pending; the map actions set the action mode that the next click on the
// map carries out.
#include <memory>

#include "app/modal_stack.h"
#include "dialogs/attack_panel.h"
#include "dialogs/commander_dialog.h"
#include "dialogs/replacements_dialog.h"
#include "dialogs/small_dialogs.h"
#include "dialogs/unit_panel.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/string_base.h"
#include "turn/fleet.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"
#include "world/object_numbers.h"
#include "world/map.h"

namespace tr {
namespace {

constexpr const char* kThisFile = "unit_panel_actions";

// Every flag but the selection.
constexpr std::uint32_t kActionMarks = ~0x1u;
// The range marks a loading unit leaves behind.
constexpr std::uint32_t kLoadingMarks = 28;
constexpr std::size_t kShipNameLimit = 99;

void ClearMarks(std::uint32_t mask) {
  if (gGame != nullptr && gGame->map != nullptr) gGame->map->ClearHexFlags(mask, false);
}

// A unit leaving the map must not stay in the planned attack, which keeps a
// bare pointer to it.
void DropAttackNaming(const cJednostka& unit) {
  cPlayerControl& control = gGame->playerControl;
  const sAttack* plan = control.GetPendingAttack();
  if (plan == nullptr || (plan->defender != &unit && !plan->IsAttacker(&unit))) return;
  control.DropAttack();
  if (cAttackPanel* panel = GetAttackPanel()) panel->Update();
}

std::u16string CutName(std::u16string name) {
  if (name.size() > kShipNameLimit) name.resize(kShipNameLimit);
  return name;
}

}  // namespace

double DisbandRefund(const cJednostka& unit) {
  if (gGame == nullptr) return 0.0;
  const sScenarioConstants& k = gGame->constants;
  float factor = 0.0f;
  if (unit.category == kCategoryLand && unit.type >= 0 && unit.type < kLandTypeCount) {
    factor = k.ReplacementFactor(unit.type);
  } else if (unit.category == kCategoryAir && unit.type >= kFighter && unit.type <= kStrategicBomber) {
    factor = k.Float(80, unit.type - 18);
  }
  return static_cast<double>(unit.GetStrengthValue() * 0.5f * factor);
}

bool LoadUnitIntoShip(cJednostkaLadowa& unit, int shipType) {
  if (gGame == nullptr || (shipType != kCargoShip && shipType != kAmphibiousShip)) return false;
  cGame& game = *gGame;
  ClearMarks(kLoadingMarks);
  int portX = -1;
  int portY = -1;
  if (!unit.IsInOrNearFriendlyPort(portX, portY)) {
    LogLine(u"ERROR! Unit tries to load into transport but isn't in or near friendle port");
    return false;
  }
  const int node = game.seaGraph.FindNodeIdByHex(portX, portY);
  if (!game.seaGraph.IsNodeId(node)) {
    LogFormat(u"ERROR! While loading unit to transporter or amphibious, there is no port at coordinates %i %i",
              portX, portY);
    return false;
  }
  // The port is there: only now is the passage paid.
  const sScenarioConstants& k = game.constants;
  const bool landType = unit.type >= 0 && unit.type < kLandTypeCount;
  if (cCountry* owner = unit.GetOwnerCountry(); owner != nullptr && landType) {
    if (shipType == kCargoShip) {
      owner->AddSeaTransportPoints(-k.SeaTransportCost(unit.type));
    } else {
      owner->AddInvasionPoints(-k.AmphibiousTransportCost(unit.type));
    }
  }
  DropAttackNaming(unit);

  cPlayerControl& control = game.playerControl;
  const int current = control.currentCountry != nullptr ? control.currentCountry->id : int{unit.owner};
  GameLockGuard lock(kThisFile, __LINE__);
  auto madeShip = std::make_unique<cJednostkaMorska>();
  cJednostkaMorska& ship = *madeShip;
  ship.id = NewShipNumber(game);
  ship.owner = current;
  ship.carriedUnit = &unit;
  ship.SetType(shipType);
  ship.hitPoints = ship.maxHitPoints = k.ShipHitPoints(shipType);
  ship.SetName(Format(GetText(shipType == kCargoShip ? "transport_#%i" : "landing_task_force_#%i"), ship.id));
  ship.attachedCommander = nullptr;
  ship.commanderId = -1;
  ship.availableInTurns = 0;
  ship.inReserve = 0;
  ship.shoreBombardmentDone = ship.airstrikeDone = ship.reconDone = 0;
  ship.canBeRepaired = 1;
  game.navalUnits.push_back(std::move(madeShip));

  cFleet* fleet = game.FindFleet(node, unit.owner);
  if (fleet != nullptr) {
    LogLine(u"Loading unit: transport will be added to existing fleet");
  } else {
    LogLine(u"Loading unit: new fleet will be created");
    auto madeFleet = std::make_unique<cFleet>();
    fleet = madeFleet.get();
    fleet->id = NewFleetId();
    fleet->countryId = unit.owner;
    fleet->seaNodeId = node;
    fleet->name = CutName(Format(GetText("fleet_#%i"), fleet->id));
    game.fleets.push_back(std::move(madeFleet));
  }
  fleet->ships.push_back(&ship);
  ship.fleet = fleet;
  ship.fleetId = fleet->id;

  if (game.map != nullptr && game.map->IsInside(unit.x, unit.y) && game.map->GetHex(unit.x, unit.y)->unit == &unit) {
    game.map->GetHex(unit.x, unit.y)->unit = nullptr;
  }
  unit.x = -1;
  unit.y = -1;
  unit.transporter = &ship;
  unit.transporterId = ship.id;
  auto& aboard = shipType == kCargoShip ? game.aboardUnitsA : game.aboardUnitsB;
  for (auto it = game.landUnits.begin(); it != game.landUnits.end(); ++it) {
    if (it->get() != &unit) continue;
    // The unit's entry goes from the map's list to the aboard list.
    aboard.push_back(game.landUnits.Take(it));
    break;
  }
  if (control.selectedUnit == &unit) control.selectedUnit = nullptr;
  // Undoing the move of a unit at sea would put it back on the map.
  if (control.undo.unit == &unit) {
    control.undo.unit = nullptr;
    control.undo.changedHexes.clear();
  }
  control.ClearSelection();
  if (control.currentCountry != nullptr) game.seaGraph.CalculateNavalVisibilityAll(control.currentCountry->id, false);
  return true;
}

void cUnitPanel::OnGUIEvent(std::uint32_t, int controlId, CDXUTControl*) {
  if (gGame == nullptr) return;
  cPlayerControl& control = gGame->playerControl;
  cJednostka* unit = shownUnit_;
  const bool free = pendingAction == kPendingNone;
  switch (controlId) {
    case kRename:
      if (free && unit != nullptr) OpenRename();
      return;
    case cDialogPobraniaTekstu::kOkButton:
      if (pendingAction != kPendingRename) return;
      pendingAction = kPendingNone;
      if (unit != nullptr) unit->SetName(InputText);
      Update();
      return;
    case cDialogPobraniaTekstu::kCancelButton:
      pendingAction = kPendingNone;
      return;
    case kUpgrade:
      if (unit == nullptr) return;
      unit->UpgradeToCorps();
      Update();
      return;
    case kLevelUp:
      if (unit == nullptr) return;
      unit->LevelUp();
      Update();
      return;
    case kSupplySource:
      if (supplySourceX_ == -1 || gGame->map == nullptr) return;
      {
        const int x = supplySourceX_;
        const int y = supplySourceY_;
        CenterAtHex(*gGame->map, x, y, false);
        control.SelectHex(x, y);
      }
      return;
    case kCommanderIcon:
      if (!free || unit == nullptr) return;
      pendingAction = kPendingCommander;
      {
        auto* dialog = new cDialogDowodcow(unit);
        dialog->owner = this;
        PushModalDialog(dialog);
      }
      return;
    case cDialogDowodcow::kExitButton:
      if (pendingAction != kPendingCommander) return;
      pendingAction = kPendingNone;
      Update();
      return;
    case kReinforce:
      if (!free || unit == nullptr) return;
      pendingAction = kPendingReplacements;
      {
        auto* dialog = new cDialogUzupelnien(unit);
        dialog->owner = this;
        PushModalDialog(dialog);
      }
      return;
    case cDialogUzupelnien::kOkButton:
      if (pendingAction != kPendingReplacements) return;
      pendingAction = kPendingNone;
      control.actionMode = kActionNone;
      ClearMarks(kActionMarks);
      Update();
      return;
    case cDialogUzupelnien::kCancelButton:
      if (pendingAction != kPendingReplacements) return;
      pendingAction = kPendingNone;
      Update();
      return;
    case kDisband:
      if (free && unit != nullptr) OpenDisbandQuestion();
      return;
    case cDialogPotwierdzenia::kYesButton:
      if (pendingAction != kPendingDisband) return;
      pendingAction = kPendingNone;
      Disband();
      return;
    case cDialogPotwierdzenia::kNoButton:
      pendingAction = kPendingNone;
      return;
    case kUndo:
      control.undo.UndoLastMove(unit);
      if (control.currentCountry != nullptr) control.currentCountry->RecalculateUnitsVisibility();
      return;
    case kStrategicMove:
      if (unit == nullptr) return;
      ClearMarks(kActionMarks);
      control.actionMode = kActionStrategicMove;
      if (gGame->strategicMovement) gGame->strategicMovement->MarkStrategicMoveTargets(*unit);
      return;
    case kAirborneAssault:
    case kAirFight:
    case kBombardment:
    case kRecon:
    case kNuclearStrike:
      if (free && unit != nullptr) StartMapAction(controlId);
      return;
    case kAmphibiousTransport:
    case kSeaTransport:
      if (free && unit != nullptr) Load(controlId == kSeaTransport ? kCargoShip : kAmphibiousShip);
      return;
    default:
      return;
  }
}

void cUnitPanel::OpenRename() {
  pendingAction = kPendingRename;
  auto* dialog = new cDialogPobraniaTekstu(GetText("rename_title"),
                                           Format(GetText("rename_label_%s"), shownUnit_->name), shownUnit_->name);
  dialog->owner = this;
  PushModalDialog(dialog, 0);
}

void cUnitPanel::OpenDisbandQuestion() {
  pendingAction = kPendingDisband;
  auto* dialog = new cDialogPotwierdzenia(GetText("disband_title"),
                                          Format(GetText("disband_question_%s"), shownUnit_->name),
                                          GetText("disband_yes"), GetText("disband_yes_hint"),
                                          GetText("disband_no"), GetText("disband_no_hint"));
  dialog->owner = this;
  PushModalDialog(dialog, 0);
}

void cUnitPanel::Disband() {
  cJednostka* unit = shownUnit_;
  if (unit == nullptr) return;
  cPlayerControl& control = gGame->playerControl;
  if (cCountry* owner = unit->GetOwnerCountry()) owner->AddProductionPoints(DisbandRefund(*unit));
  DropAttackNaming(*unit);
  // The panel and the selection must not keep the freed unit.
  shownUnit_ = nullptr;
  if (control.selectedUnit == unit) control.selectedUnit = nullptr;
  if (control.undo.unit == unit) control.undo.unit = nullptr;
  unit->Kill();
  control.ClearSelection();
}

void cUnitPanel::Load(int shipType) {
  if (auto* land = dynamic_cast<cJednostkaLadowa*>(shownUnit_)) LoadUnitIntoShip(*land, shipType);
}

void cUnitPanel::StartMapAction(int id) {
  cPlayerControl& control = gGame->playerControl;
  ClearMarks(kActionMarks);
  auto* air = dynamic_cast<cJednostkaLotnicza*>(shownUnit_);
  switch (id) {
    case kAirborneAssault:
      control.actionMode = kActionAirborneDrop;
      if (auto* land = dynamic_cast<cJednostkaLadowa*>(shownUnit_)) land->MarkAirborneDropHexes();
      return;
    case kAirFight:
      control.actionMode = kActionAirFight;
      if (air != nullptr) air->MarkAirfightTargets(1);
      return;
    case kBombardment:
      control.actionMode = kActionBombardment;
      if (air != nullptr) air->MarkBombardmentTargets(1);
      return;
    case kRecon:
      control.actionMode = kActionRecon;
      if (air != nullptr) air->MarkReconHexes(1);
      return;
    case kNuclearStrike:
      control.actionMode = kActionNuclearStrike;
      if (air != nullptr) air->MarkNuclearTargets(1);
      return;
    default:
      return;
  }
}

}  // namespace tr
