// cDialogFlot: the fleets manager. The human player's fleets in one sea node
// (a zone or a port) are listed with their ships; the player selects fleets
// and ships, and every fleet and ship action is enabled or disabled with a
// hint that says why. Actions that need a name, a target fleet or a
// confirmation open a small dialog and finish when this window is the top
// again; actions that need a map target hide the window, mark the targets
// and leave the click to the map, which shows the window again.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "dialogs/dialog_base.h"

namespace tr {

class cFleet;
class cJednostkaMorska;
class TextureHolder;
struct sWezelGrafuMorz;

class cDialogFlot : public cDialog {
 public:
  static constexpr int kDialogId = 550;
  static constexpr int kTitle = 551;
  static constexpr int kPicture = 552;
  static constexpr int kFleetsLabel = 553;
  static constexpr int kFleetList = 555;
  static constexpr int kRenameFleet = 556;
  static constexpr int kMoveFleet = 557;
  static constexpr int kActiveBox = 558;
  static constexpr int kFormationLabel = 559;
  static constexpr int kRegularRadio = 560;
  static constexpr int kRaidersRadio = 561;
  static constexpr int kShipsLabel = 562;
  static constexpr int kShipsHint = 563;
  static constexpr int kShipList = 564;
  static constexpr int kCreateFleet = 566;
  static constexpr int kMoveShips = 567;
  static constexpr int kRenameShip = 568;
  static constexpr int kCommander = 569;
  static constexpr int kRepair = 570;
  static constexpr int kDisband = 571;
  static constexpr int kUnload = 572;
  static constexpr int kRecon = 573;
  static constexpr int kAirAttack = 574;
  static constexpr int kShoreBombardment = 575;
  static constexpr int kCargoLabel = 576;
  static constexpr int kCargoText = 577;
  static constexpr int kClose = 578;
  // The confirmation's yes button, which this window hears as its owner.
  static constexpr int kDisbandConfirmed = 705;

  // What the follow-up of the last pressed action is.
  enum ePending : std::int32_t {
    kPendingNone = 0,
    kPendingRenameFleet = 1,
    kPendingRenameShip = 2,
    kPendingMoveShips = 3,
    kPendingShoreBombardment = 5,
    kPendingAirAttack = 6,
    kPendingRecon = 7,
    kPendingUnload = 8,
    kPendingCommander = 9,
  };

  // The window for the node of that number; the caller pushes it.
  explicit cDialogFlot(int seaNodeId);
  ~cDialogFlot() override;

  // Refills the fleet list. keep = -1 keeps the selected fleets selected; any
  // other value drops the selection, so the first row ends up selected.
  // Returns the number of rows.
  int RefreshFleetList(int keep);
  // Reads the fleet selection, sets the fleet controls and fills the ship list.
  void ApplyFleetSelection();
  // Refills the ship list from the one selected fleet and shows the ship selection.
  void FillUnitList();
  // Reads the ship selection and sets the picture, the cargo text and the ship actions.
  void ShowSelection();
  // The selected ship at the index, clamped to the last; null with none selected.
  cJednostkaMorska* GetSelectedEntry(int index) const;
  // A fleet about to be freed leaves the selection.
  void ForgetFleet(const cFleet* fleet);
  // A ship about to be freed leaves the selection.
  void ForgetShip(const cJednostkaMorska* ship);

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(std::uint32_t key, bool down, bool alt) override;
  void OnActivate() override;

  sWezelGrafuMorz* seaNode() const { return seaNode_; }
  const std::vector<cFleet*>& selectedFleets() const { return selectedFleets_; }
  const std::vector<cJednostkaMorska*>& selectedShips() const { return selectedShips_; }
  std::int32_t pending() const { return pending_; }

 private:
  // The listed fleet of a row's data (its number); null once it is gone.
  static cFleet* FleetOfRow(std::uint32_t data);
  void SetHintOf(int controlId, const char* key);
  void SetOn(int controlId, bool enabled, const char* hintKey);
  void ShowPicture(const cJednostkaMorska& ship);
  void JudgeRepair(const cJednostkaMorska& ship);
  void JudgeUnload(cJednostkaMorska& ship);
  void JudgeAirAttack(const cJednostkaMorska& ship);
  void JudgeShoreBombardment();
  void JudgeRecon();
  // Actions (dialog_flot_actions.cpp).
  void CreateFleet();
  void OpenMoveShipsChoice();
  void MoveShipsToChosenFleet();
  void Repair();
  void AskDisband();
  void Disband();
  // Hides the window and leaves the click on a marked hex to the map.
  void StartMapAction(ePending pending, int actionMode);
  void RecomputeVisibility();

  sWezelGrafuMorz* seaNode_ = nullptr;
  std::vector<cFleet*> selectedFleets_;
  std::vector<cJednostkaMorska*> selectedShips_;
  std::int32_t pending_ = kPendingNone;
  std::int32_t seaNodeId_ = 0;
  std::unique_ptr<TextureHolder> picture_;
};

// The fleets manager when it is the top dialog; null otherwise.
cDialogFlot* TopFleetsManager();

}  // namespace tr
