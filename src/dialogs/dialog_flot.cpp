// The fleets manager's window: its controls, the two lists and the rules that
// enable each action and give it the hint that says why.
#include "dialogs/dialog_flot.h"

#include <algorithm>
#include <filesystem>
#include <string>

#include "app/modal_stack.h"
#include "dialogs/small_dialog_parts.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "gui/button.h"
#include "gui/check_box.h"
#include "gui/hint_box.h"
#include "gui/image.h"
#include "gui/list_box.h"
#include "gui/static.h"
#include "gui/texture_holder.h"
#include "turn/fleet.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_morska.h"
#include "world/commander.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr int kFormationGroup = 1;
// The ship actions, in the order their hints are set when no ship is selected.
constexpr int kShipActions[] = {
    cDialogFlot::kCreateFleet, cDialogFlot::kMoveShips, cDialogFlot::kRenameShip, cDialogFlot::kRepair,
    cDialogFlot::kCommander,   cDialogFlot::kDisband,   cDialogFlot::kUnload,     cDialogFlot::kAirAttack,
    cDialogFlot::kShoreBombardment, cDialogFlot::kRecon,
};

int CurrentCountryId() {
  const cCountry* country = gGame != nullptr ? gGame->playerControl.currentCountry : nullptr;
  return country != nullptr ? country->id : 0;
}

cJednostkaMorska* ShipById(const cFleet& fleet, std::uint32_t id) {
  for (cJednostkaMorska* ship : fleet.ships) {
    if (ship != nullptr && static_cast<std::uint32_t>(ship->id) == id) return ship;
  }
  return nullptr;
}

bool IsTransport(const cJednostkaMorska& ship) {
  return ship.type == kCargoShip || ship.type == kAmphibiousShip;
}

bool Contains(const std::vector<cFleet*>& fleets, const cFleet* fleet) {
  return std::find(fleets.begin(), fleets.end(), fleet) != fleets.end();
}

// "name (strength: 5.00, level 2, commander: name)" of a carried unit.
std::u16string CargoDescription(const cJednostkaLadowa& unit) {
  const sCommander* commander = unit.GetCommander();
  const std::u16string who = commander != nullptr ? Format(u"commander: %s", commander->name) : u"no commander";
  return Format(u"%s (strength: %.2f, level %d, %s)", unit.name, unit.GetStrengthValue(), unit.level, who);
}

}  // namespace

cDialogFlot* TopFleetsManager() {
  if (TopDialog == nullptr || TopDialog->id != cDialogFlot::kDialogId) return nullptr;
  return dynamic_cast<cDialogFlot*>(TopDialog);
}

cDialogFlot::cDialogFlot(int seaNodeId)
    : cDialog(kDialogId, DialogRecord(kDialogId)), seaNodeId_(seaNodeId), picture_(std::make_unique<TextureHolder>()) {
  if (gGame != nullptr && gGame->seaGraph.IsNodeId(seaNodeId)) seaNode_ = &gGame->seaGraph.GetNode(seaNodeId - 1);
  GetHintBox().ForgetLeftButton();

  AddDialogTitle(*this, kTitle, Format(GetText("fleets_title"), seaNode_ != nullptr ? seaNode_->name : u""));
  AddStaticAt(kFleetsLabel, GetText("fleets_fleets_list"));
  CDXUTListBox* fleets = nullptr;
  if (Succeeded(AddListBoxAt(kFleetList, 0, &fleets))) {
    fleets->SetListStyle(kListBoxMultiSelection);
    fleets->SetColumns(6, GetText("fleets_list_fleets_columns"), 30, 5, 20, 15, 15, 15);
  }
  AddKeyButton(*this, kRenameFleet, "fleets_rename_fleet");
  AddKeyButton(*this, kMoveFleet, "fleets_move_fleet");
  AddCheckBoxAt(kActiveBox, GetText("fleets_active"), GetText("fleets_active_hint"), false);
  AddStaticAt(kFormationLabel, GetText("fleets_formation"));
  AddRadioButtonAt(kRegularRadio, kFormationGroup, GetText("fleets_regular"));
  AddRadioButtonAt(kRaidersRadio, kFormationGroup, GetText("fleets_raiders"));

  picture_->Load(std::filesystem::path(u"data\\gfx\\Units images\\default.png"), TextureHolder::kModeFile, 1);
  // The picture has a layout record of its own beside the ship list.
  CDXUTImage* image = nullptr;
  if (Succeeded(AddImageAt(kPicture, picture_->GetTexture(), Rect{0, 0, 256, 128}, {}, 0xFFFFFFFFu, &image))) {
    image->SetEnabled(true);
  }
  AddStaticAt(kShipsLabel, GetText("fleets_units_list"));
  CDXUTStatic* shipsHint = nullptr;
  if (Succeeded(AddStaticAt(kShipsHint, GetText("fleets_units_list_hint"), &shipsHint))) {
    shipsHint->SetTextFormat(DT_RIGHT | DT_VCENTER);
  }
  CDXUTListBox* ships = nullptr;
  if (Succeeded(AddListBoxAt(kShipList, kListBoxMultiSelection, &ships))) {
    ships->SetColumns(4, GetText("fleets_list_units_columns"), 40, 20, 15, 25);
  }
  AddKeyButton(*this, kCreateFleet, "fleets_create_fleet");
  AddKeyButton(*this, kMoveShips, "fleets_move_group");
  AddKeyButton(*this, kRenameShip, "fleets_rename_group");
  AddKeyButton(*this, kCommander, "fleets_group_commander");
  AddKeyButton(*this, kRepair, "fleets_repair_group");
  AddKeyButton(*this, kDisband, "fleets_disband_group");
  AddButtonAt(kUnload, GetText("fleets_unload"), GetText("fleets_unload_group_hint"));
  AddKeyButton(*this, kAirAttack, "fleets_attack_hex");
  AddKeyButton(*this, kShoreBombardment, "fleets_shore_bombardment");
  AddKeyButton(*this, kRecon, "fleets_recon");
  AddStaticAt(kCargoLabel, GetText("fleets_transported"));
  AddStaticAt(kCargoText, GetText("fleets_transported_none"));
  AddKeyButton(*this, kClose, "fleets_close");

  RefreshFleetList(-1);
  FillUnitList();
}

cDialogFlot::~cDialogFlot() = default;

cFleet* cDialogFlot::FleetOfRow(std::uint32_t data) {
  if (gGame == nullptr) return nullptr;
  for (const auto& fleet : gGame->fleets) {
    if (static_cast<std::uint32_t>(fleet->id) == data) return fleet.get();
  }
  return nullptr;
}

void cDialogFlot::SetHintOf(int controlId, const char* key) {
  if (CDXUTControl* control = GetControl(controlId)) control->SetHint(GetText(key));
}

void cDialogFlot::SetOn(int controlId, bool enabled, const char* hintKey) {
  SetControlEnabled(controlId, enabled);
  SetHintOf(controlId, hintKey);
}

int cDialogFlot::RefreshFleetList(int keep) {
  auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kFleetList, kControlListBox));
  if (list == nullptr) return 0;
  list->RemoveAllItems();
  const int country = CurrentCountryId();
  if (gGame != nullptr) {
    const std::u16string active = GetText("active");
    const std::u16string passive = GetText("passive");
    const std::u16string regular = GetText("regular");
    const std::u16string raider = GetText("raider");
    for (const auto& held : gGame->fleets) {
      cFleet& fleet = *held;
      if (fleet.seaNodeId != seaNodeId_ || fleet.countryId != country) continue;
      fleet.ClearShipMarks();
      const int hitPoints = fleet.SumHitPoints();
      const int maxHitPoints = fleet.SumMaxHitPoints();
      const int divisor = maxHitPoints == 0 ? 1 : maxHitPoints;
      const std::u16string row =
          Format(u"%s;%i;%i%% (%i/%i);%.1f;%s;%s", fleet.name, static_cast<int>(fleet.ships.size()),
                 static_cast<int>(100LL * hitPoints / divisor), hitPoints, maxHitPoints, fleet.SumNavalStrength(),
                 fleet.active != 0 ? active : passive, fleet.formation == kFleetRegular ? regular : raider);
      list->AddItem(row, static_cast<std::uint32_t>(fleet.id));
      if (keep == -1 && Contains(selectedFleets_, &fleet)) list->GetItem(list->GetSize() - 1)->selected = true;
    }
  }
  ApplyFleetSelection();
  return list->GetSize();
}

void cDialogFlot::ApplyFleetSelection() {
  auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kFleetList, kControlListBox));
  for (cFleet* fleet : selectedFleets_) fleet->ClearShipMarks();
  selectedFleets_.clear();
  if (list != nullptr) {
    for (int i = 0; i < list->GetSize(); ++i) {
      const sListBoxItem* item = list->GetItem(i);
      if (!item->selected) continue;
      if (cFleet* fleet = FleetOfRow(item->data)) selectedFleets_.push_back(fleet);
    }
    if (selectedFleets_.empty() && list->GetSize() > 0) {
      list->SelectItem(0, false);
      list->GetItem(0)->selected = true;
      if (cFleet* fleet = FleetOfRow(list->GetItem(0)->data)) selectedFleets_.push_back(fleet);
    }
  }

  auto* regular = static_cast<CDXUTRadioButton*>(GetControlOfType(kRegularRadio, kControlRadioButton));
  auto* raiders = static_cast<CDXUTRadioButton*>(GetControlOfType(kRaidersRadio, kControlRadioButton));
  auto* activeBox = static_cast<CDXUTCheckBox*>(GetControlOfType(kActiveBox, kControlCheckBox));
  for (CDXUTRadioButton* radio : {regular, raiders}) {
    if (radio != nullptr) radio->SetCheckedState(false, false, false, false);
  }
  if (selectedFleets_.empty()) {
    SetControlEnabled(kRegularRadio, false);
    SetControlEnabled(kRaidersRadio, false);
    SetControlEnabled(kActiveBox, false);
    if (activeBox != nullptr) activeBox->SetCheckedState(false, false, false);
    SetOn(kMoveFleet, false, "fleets_no_selection");
    SetOn(kRenameFleet, false, "fleets_no_selection");
    FillUnitList();
    return;
  }

  SetControlEnabled(kRegularRadio, true);
  SetControlEnabled(kRaidersRadio, true);
  const int firstKind = selectedFleets_.front()->formation;
  const bool sameKind = std::all_of(selectedFleets_.begin(), selectedFleets_.end(),
                                    [&](const cFleet* fleet) { return fleet->formation == firstKind; });
  // The player sets the active flag of regular fleets only, so a mixed
  // selection's box speaks for them.
  const bool regularsActive = std::all_of(selectedFleets_.begin(), selectedFleets_.end(), [](const cFleet* fleet) {
    return fleet->formation != kFleetRegular || fleet->active != 0;
  });
  bool checked = false;
  if (sameKind && firstKind == kFleetRaiders) {
    if (raiders != nullptr) raiders->SetCheckedState(true, false, false, false);
    SetControlEnabled(kActiveBox, false);
    // A raider's flag is not the player's to change, yet it still decides
    // whether the raider can be fired on unspotted in a sea battle: the box
    // shows it as the fleet's row does. Raiders the player makes are passive.
    checked = std::all_of(selectedFleets_.begin(), selectedFleets_.end(),
                          [](const cFleet* fleet) { return fleet->active != 0; });
  } else {
    if (sameKind && regular != nullptr) regular->SetCheckedState(true, false, false, false);
    SetControlEnabled(kActiveBox, true);
    checked = regularsActive;
  }
  if (activeBox != nullptr) activeBox->SetCheckedState(checked, false, false);
  SetHintOf(kActiveBox, checked ? "fleets_active_hint" : "fleets_passive_hint");

  if (std::any_of(selectedFleets_.begin(), selectedFleets_.end(), [](const cFleet* f) { return f->hasMoved != 0; })) {
    SetOn(kMoveFleet, false, "fleets_move_fleet_hint_already_moved");
  } else {
    for (cFleet* fleet : selectedFleets_) fleet->FindReachableNodes();
    std::vector<int> common(selectedFleets_.front()->reachableNodes.begin(),
                            selectedFleets_.front()->reachableNodes.end());
    for (std::size_t i = 1; i < selectedFleets_.size(); ++i) {
      const auto& reach = selectedFleets_[i]->reachableNodes;
      std::erase_if(common, [&](int node) { return std::find(reach.begin(), reach.end(), node) == reach.end(); });
    }
    if (common.empty()) {
      SetOn(kMoveFleet, false, "fleets_move_fleet_hint_no_destination_available");
    } else {
      SetOn(kMoveFleet, true, "fleets_move_fleet_hint");
    }
  }
  if (selectedFleets_.size() == 1) {
    SetOn(kRenameFleet, true, "fleets_rename_fleet_hint");
  } else {
    SetOn(kRenameFleet, false, "fleets_rename_fleet_hint_multiple_selection");
  }
  FillUnitList();
}

void cDialogFlot::FillUnitList() {
  auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kShipList, kControlListBox));
  if (list == nullptr) return;
  list->RemoveAllItems();
  if (selectedFleets_.size() == 1) {
    for (const cJednostkaMorska* ship : selectedFleets_.front()->ships) {
      if (ship == nullptr) continue;
      const int divisor = ship->maxHitPoints == 0 ? 1 : ship->maxHitPoints;
      list->AddItem(Format(u"%s;%i%% (%i/%i);%.1f;%s", ship->name, static_cast<int>(100LL * ship->hitPoints / divisor),
                           ship->hitPoints, ship->maxHitPoints, ship->GetCombatStrength(), GetUnitTypeName(ship->type)),
                    static_cast<std::uint32_t>(ship->id));
    }
  }
  ShowSelection();
}

void cDialogFlot::ShowSelection() {
  auto* list = static_cast<CDXUTListBox*>(GetControlOfType(kShipList, kControlListBox));
  selectedShips_.clear();
  std::u16string cargo;
  if (selectedFleets_.size() == 1 && list != nullptr) {
    cFleet& fleet = *selectedFleets_.front();
    const auto take = [&](cJednostkaMorska& ship) {
      selectedShips_.push_back(&ship);
      ship.mark = 1;
      if (IsTransport(ship) && ship.carriedUnit != nullptr) {
        if (!cargo.empty()) cargo += u", ";
        cargo += ship.carriedUnit->name;
      }
    };
    for (int i = 0; i < list->GetSize(); ++i) {
      const sListBoxItem* item = list->GetItem(i);
      cJednostkaMorska* ship = ShipById(fleet, item->data);
      if (ship == nullptr) continue;
      if (item->selected) {
        take(*ship);
      } else {
        ship->mark = 0;
      }
    }
    if (selectedShips_.empty() && list->GetSize() > 0) {
      list->SelectItem(0, false);
      list->GetItem(0)->selected = true;
      if (cJednostkaMorska* ship = ShipById(fleet, list->GetItem(0)->data)) take(*ship);
    }
  }

  if (selectedShips_.empty()) {
    for (int id : kShipActions) SetOn(id, false, "fleets_no_unit_selected");
    // Neither the picture nor the cargo of a ship no longer selected stays on show.
    if (CDXUTControl* image = GetControl(kPicture)) image->SetVisible(false);
    if (auto* cargoText = static_cast<CDXUTStatic*>(GetControlOfType(kCargoText, kControlStatic))) {
      cargoText->SetText(GetText("fleets_transported_none"));
    }
    return;
  }
  const bool single = selectedShips_.size() == 1;
  cJednostkaMorska& first = *selectedShips_.front();
  if (single) {
    ShowPicture(first);
  } else if (CDXUTControl* image = GetControl(kPicture)) {
    image->SetVisible(false);
  }

  SetOn(kCreateFleet, true, "fleets_create_fleet_hint");

  const cFleet* firstFleet = selectedFleets_.front();
  int otherFleets = 0;
  if (auto* fleets = static_cast<CDXUTListBox*>(GetControlOfType(kFleetList, kControlListBox))) {
    for (int i = 0; i < fleets->GetSize(); ++i) {
      const cFleet* fleet = FleetOfRow(fleets->GetItem(i)->data);
      if (fleet != nullptr && fleet != firstFleet && fleet->hasMoved == 0) ++otherFleets;
    }
  }
  if (firstFleet->hasMoved != 0) {
    SetOn(kMoveShips, false, "fleets_move_group_hint_fleet_already_moved");
  } else if (otherFleets == 0) {
    SetOn(kMoveShips, false, "fleets_move_group_hint_no_possible_destination_fleets");
  } else {
    SetOn(kMoveShips, true, "fleets_move_group_hint");
  }

  if (single) {
    SetOn(kRenameShip, true, "fleets_rename_group_hint");
    SetOn(kCommander, true, "fleets_group_commander_hint");
    JudgeRepair(first);
  } else {
    SetOn(kRenameShip, false, "fleets_rename_group_hint_multiple_selection");
    SetOn(kCommander, false, "fleets_group_commander_hint_multiple_selection");
    SetOn(kRepair, false, "fleets_repair_group_hint_multiple_selection");
  }
  SetOn(kDisband, true, "fleets_disband_group_hint");

  auto* cargoText = static_cast<CDXUTStatic*>(GetControlOfType(kCargoText, kControlStatic));
  if (single) {
    JudgeUnload(first);
  } else {
    SetOn(kUnload, false, "fleets_unload_hint_multiple_selection");
    if (cargoText != nullptr) cargoText->SetText(cargo);
  }
  if (single) {
    JudgeAirAttack(first);
  } else {
    SetOn(kAirAttack, false, "fleets_attack_hex_hint_multiple_selection");
  }
  JudgeShoreBombardment();
  JudgeRecon();
}

void cDialogFlot::ShowPicture(const cJednostkaMorska& ship) {
  const std::u16string names[] = {
      Format(u"data\\gfx\\Units images\\%i_1_%i.png", ship.type, ship.owner),
      Format(u"data\\gfx\\Units images\\%i_1.png", ship.type),
      Format(u"data\\gfx\\Units images\\%i.png", ship.type),
      u"data\\gfx\\Units images\\default.png",
  };
  LoadFirstPicture(*picture_, names);
  if (auto* image = static_cast<CDXUTImage*>(GetControlOfType(kPicture, kControlImage))) {
    image->SetTexture(picture_->GetTexture());
    image->SetVisible(true);
  }
}

void cDialogFlot::JudgeRepair(const cJednostkaMorska& ship) {
  const cCountry* country = gGame != nullptr ? gGame->playerControl.currentCountry : nullptr;
  const double cost = gGame != nullptr ? gGame->constants.NavalFactor(ship.TableType()) : 0.0;
  if (seaNode_ == nullptr || seaNode_->type != kSeaNodePort) {
    SetOn(kRepair, false, "fleets_repair_group_hint_move_to_port");
  } else if (ship.hitPoints >= ship.maxHitPoints) {
    SetOn(kRepair, false, "fleets_repair_group_hint_full_hp");
  } else if (ship.canBeRepaired == 0) {
    SetOn(kRepair, false, "fleets_repair_group_hint_already_repaired");
  } else if (country == nullptr || cost > country->productionPoints) {
    SetOn(kRepair, false, "fleets_repair_group_hint_not_enough_pp");
  } else if (seaNode_->portSize < ship.GetRequiredPortSize()) {
    SetOn(kRepair, false, "fleets_repair_group_hint_port_to_small");
  } else {
    SetOn(kRepair, true, "fleets_repair_group_hint");
  }
}

void cDialogFlot::JudgeUnload(cJednostkaMorska& ship) {
  auto* cargoText = static_cast<CDXUTStatic*>(GetControlOfType(kCargoText, kControlStatic));
  const auto showCargo = [&](const std::u16string& text) {
    if (cargoText != nullptr) cargoText->SetText(text);
  };
  if (!IsTransport(ship)) {
    SetOn(kUnload, false, "fleets_unload_hint_not_a_transport_unit");
    showCargo(GetText("fleets_transported_none"));
    return;
  }
  if (ship.carriedUnit == nullptr) {
    SetControlEnabled(kUnload, false);
    showCargo(GetText("fleets_transported_none"));
    return;
  }
  showCargo(CargoDescription(*ship.carriedUnit));
  if (ship.MarkPlacementPorts(0) > 0) {
    SetOn(kUnload, true, "fleets_unload_hint");
    return;
  }
  const int nodeType = ship.fleet != nullptr && gGame->seaGraph.IsNodeId(ship.fleet->seaNodeId)
                           ? ship.fleet->GetSeaNode().type
                           : -1;
  if (ship.type == kCargoShip && nodeType == kSeaNodeOpenSea) {
    SetOn(kUnload, false, "fleets_unload_hint_move_to_port");
  } else if (ship.type == kAmphibiousShip && nodeType == kSeaNodePort) {
    SetOn(kUnload, false, "fleets_unload_hint_move_to_sea_zone");
  } else {
    SetOn(kUnload, false, "fleets_unload_hint_no_hex_available");
  }
}

void cDialogFlot::JudgeAirAttack(const cJednostkaMorska& ship) {
  if (ship.type != kAircraftCarrier) {
    SetOn(kAirAttack, false, "fleets_attack_hex_hint_not_a_carrier_unit");
  } else if (ship.hitPoints < gGame->constants.CarrierHitPointLimit()) {
    SetOn(kAirAttack, false, "fleets_attack_hex_hint_hp_to_low");
  } else if (ship.airstrikeDone != 0) {
    SetOn(kAirAttack, false, "fleets_attack_hex_hint_already_attacked_using_planes");
  } else if (selectedFleets_.front()->MarkBombardmentTargets(0) == 0) {
    SetOn(kAirAttack, false, "fleets_attack_hex_hint_no_target_hexes_in_range");
  } else {
    SetOn(kAirAttack, true, "fleets_attack_hex_hint");
  }
}

void cDialogFlot::JudgeShoreBombardment() {
  bool any = false;
  bool ready = false;
  for (const cJednostkaMorska* ship : selectedShips_) {
    if (!ship->IsBattleshipOrCruiser()) continue;
    any = true;
    if (ship->shoreBombardmentDone == 0) ready = true;
  }
  cFleet* fleet = selectedShips_.front()->fleet;
  if (!any) {
    SetOn(kShoreBombardment, false, "fleets_shorebombardment_hint_no_battleship_or_cruiser_selected");
  } else if (!ready) {
    SetOn(kShoreBombardment, false,
          "fleets_shorebombardment_hint_all_selected_battleships_and_cruisers_already_bombed");
  } else if (fleet == nullptr || fleet->MarkShoreBombardmentTargets(0) == 0) {
    SetOn(kShoreBombardment, false, "fleets_shorebombardment_hint_no_target_hexes_in_range");
  } else {
    SetOn(kShoreBombardment, true, "fleets_shorebombardment_hint");
  }
}

void cDialogFlot::JudgeRecon() {
  bool any = false;
  bool ready = false;
  for (const cJednostkaMorska* ship : selectedShips_) {
    if (ship->type != kAircraftCarrier) continue;
    any = true;
    if (ship->reconDone == 0) ready = true;
  }
  cFleet* fleet = selectedShips_.front()->fleet;
  if (!any) {
    SetOn(kRecon, false, "fleets_recon_hint_no_aircraft_carrier_selected");
  } else if (!ready) {
    SetOn(kRecon, false, "fleets_recon_hint_all_selected_aircraft_carriers_already_used_recon");
  } else if (fleet == nullptr || fleet->MarkReconTargets(0) == 0) {
    SetOn(kRecon, false, "fleets_recon_hint_no_target_hexes_in_range");
  } else {
    SetOn(kRecon, true, "fleets_recon_hint");
  }
}

cJednostkaMorska* cDialogFlot::GetSelectedEntry(int index) const {
  if (selectedShips_.empty()) return nullptr;
  const int last = static_cast<int>(selectedShips_.size()) - 1;
  return selectedShips_[static_cast<std::size_t>(std::clamp(index, 0, last))];
}

void cDialogFlot::ForgetFleet(const cFleet* fleet) {
  std::erase(selectedFleets_, fleet);
}

void cDialogFlot::ForgetShip(const cJednostkaMorska* ship) { std::erase(selectedShips_, ship); }

void cDialogFlot::OnKeyboard(std::uint32_t key, bool down, bool) {
  if (down && (key == VK_RETURN || key == VK_ESCAPE)) PressButton(*this, kClose);
}

}  // namespace tr
