// The fleets manager: its rows, the selection of fleets and ships, the rules
// that enable each action with its reason, and what the actions and their
// small dialogs do to the fleets and ships.
#include "dialogs/commander_dialog.h"
#include "dialogs/dialog_flot.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "app/modal_stack.h"
#include "dialogs/small_dialog_parts.h"
#include "dialogs/small_dialogs.h"
#include "foundation/format.h"
#include "foundation/settings.h"
#include "foundation/text.h"
#include "gui/check_box.h"
#include "gui/edit_box.h"
#include "gui/list_box.h"
#include "gui/static.h"
#include "platform/codes.h"
#include "scenario/scenario_constants_layout.h"
#include "support/english_texts.h"
#include "support/naval_world.h"
#include "support/screen_fixture.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

constexpr int kHuman = 1;

class DialogFlotTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    ASSERT_TRUE(LoadShippedLayout());
    savedDelays_ = gDelays;
    gDelays.fill(0.0f);
    naval_ = std::make_unique<test::NavalWorld>();
    game().playerControl.currentCountry = &naval_->world().country(kHuman);
  }
  void TearDown() override {
    PopModalDialogs(-1);
    naval_.reset();
    gDelays = savedDelays_;
    ScreenFixture::TearDown();
  }
  cGame& game() { return naval_->game(); }
  cCountry& human() { return naval_->world().country(kHuman); }

  cDialogFlot* Open(int node) {
    manager_ = new cDialogFlot(node);
    PushModalDialog(manager_);
    return manager_;
  }
  CDXUTListBox& List(int id) {
    return *static_cast<CDXUTListBox*>(manager_->GetControlOfType(id, kControlListBox));
  }
  std::vector<std::u16string> Rows(int id) {
    std::vector<std::u16string> rows;
    for (int i = 0; i < List(id).GetSize(); ++i) rows.push_back(List(id).GetItem(i)->text);
    return rows;
  }
  // The player's selection of exactly these rows of a list.
  void Select(int id, std::initializer_list<int> rows) {
    CDXUTListBox& list = List(id);
    for (int i = 0; i < list.GetSize(); ++i) list.GetItem(i)->selected = false;
    for (int row : rows) list.GetItem(row)->selected = true;
    manager_->OnGUIEvent(GuiEventListSelection, id, &list);
  }
  void Press(int id) { PressButton(*manager_, id); }
  std::string Hint(int id) {
    const std::u16string& hint = manager_->GetControl(id)->GetHint();
    return std::string(hint.begin(), hint.end());
  }
  bool Enabled(int id) { return manager_->GetControlEnabled(id); }
  bool Checked(int id) { return static_cast<CDXUTCheckBox*>(manager_->GetControl(id))->GetChecked(); }
  std::u16string Cargo() {
    return static_cast<CDXUTStatic*>(manager_->GetControlOfType(cDialogFlot::kCargoText, kControlStatic))->GetText();
  }
  cJednostkaLadowa& Load(cJednostkaMorska& ship, const char16_t* name) {
    auto unit = std::make_unique<cJednostkaLadowa>();
    unit->owner = ship.owner;
    unit->name = name;
    unit->transporter = &ship;
    ship.carriedUnit = unit.get();
    auto& list = ship.type == kCargoShip ? game().aboardUnitsA : game().aboardUnitsB;
    list.push_back(std::move(unit));
    return *list.back();
  }
  bool Listed(const cFleet* fleet) {
    for (const auto& held : game().fleets) {
      if (held.get() == fleet) return true;
    }
    return false;
  }
  void SetRepairCost(int type, double cost) { game().constants.SetSlot(consts_layout::kNavalFactor + type - 40, cost); }

  std::unique_ptr<test::NavalWorld> naval_;
  cDialogFlot* manager_ = nullptr;

 private:
  std::array<float, kDelayCount> savedDelays_{};
};

TEST_F(DialogFlotTest, OpensWithTheFirstOwnFleetAndItsFirstShipSelected) {
  const int port = naval_->AddPort(kHuman);
  const int sea = naval_->AddSea();
  cFleet& first = naval_->AddFleet(kHuman, port, {kBattleship, kCruiser});
  first.ships.front()->hitPoints = 3;
  naval_->AddFleet(2, port, {kSubmarine});       // an ally's: not listed
  naval_->AddFleet(kHuman, sea, {kSubmarine});  // elsewhere: not listed
  cFleet& raiders = naval_->AddFleet(kHuman, port, {kSubmarine});
  raiders.formation = kFleetRaiders;
  raiders.active = 0;

  Open(port);
  EXPECT_EQ(Rows(cDialogFlot::kFleetList),
            (std::vector<std::u16string>{u"Fleet1;2;75% (9/12);0.0;active;regular",
                                         u"Fleet4;1;100% (6/6);0.0;passive;raider"}));
  ASSERT_EQ(manager_->selectedFleets(), std::vector<cFleet*>{&first});
  ASSERT_EQ(manager_->selectedShips().size(), 1u);
  EXPECT_EQ(manager_->selectedShips().front(), first.ships.front());
  EXPECT_EQ(first.ships.front()->mark, 1);
  EXPECT_EQ(first.ships.back()->mark, 0);
  // The list shows the same one ship chosen.
  EXPECT_EQ(List(cDialogFlot::kShipList).GetSelectedIndex(), 0);
  EXPECT_TRUE(List(cDialogFlot::kShipList).GetItem(0)->selected);
  EXPECT_FALSE(List(cDialogFlot::kShipList).GetItem(1)->selected);
  EXPECT_EQ(Rows(cDialogFlot::kShipList).front(), u"Ship1;50% (3/6);0.0;" + GetUnitTypeName(kBattleship));
  EXPECT_TRUE(Checked(cDialogFlot::kRegularRadio));
  EXPECT_FALSE(Checked(cDialogFlot::kRaidersRadio));
  EXPECT_TRUE(Checked(cDialogFlot::kActiveBox));
  EXPECT_TRUE(Enabled(cDialogFlot::kRenameFleet));
  EXPECT_TRUE(Enabled(cDialogFlot::kCreateFleet));
  EXPECT_EQ(Hint(cDialogFlot::kMoveShips), "fleets_move_group_hint");
  EXPECT_EQ(Hint(cDialogFlot::kUnload), "fleets_unload_hint_not_a_transport_unit");
  EXPECT_EQ(Cargo(), u"fleets_transported_none");
}

TEST_F(DialogFlotTest, AFleetWithoutMaximumHitPointsShowsItsShareAgainstOne) {
  const int port = naval_->AddPort(kHuman);
  cFleet& fleet = naval_->AddFleet(kHuman, port, {kSubmarine});
  fleet.ships.front()->hitPoints = 0;
  fleet.ships.front()->maxHitPoints = 0;
  Open(port);
  EXPECT_EQ(Rows(cDialogFlot::kFleetList).front(), u"Fleet1;1;0% (0/0);0.0;active;regular");
  EXPECT_EQ(Rows(cDialogFlot::kShipList).front(), u"Ship1;0% (0/0);0.0;" + GetUnitTypeName(kSubmarine));
}

TEST_F(DialogFlotTest, TwoFleetsSelectedEmptyTheShipListAndJudgeTheirCommonReach) {
  // From the open sea only a small port lies in reach: the battleship's fleet
  // cannot enter it, the submarine's can, so they share no destination.
  const int sea = naval_->AddSea();
  const int smallPort = naval_->AddPort(kHuman, 1);
  naval_->Link(sea, smallPort);
  naval_->SetPortSizeFor(kBattleship, 5);
  cFleet& small = naval_->AddFleet(kHuman, sea, {kSubmarine});
  cFleet& big = naval_->AddFleet(kHuman, sea, {kBattleship});
  Open(sea);
  EXPECT_TRUE(Enabled(cDialogFlot::kMoveFleet));
  Select(cDialogFlot::kFleetList, {0, 1});

  EXPECT_EQ(manager_->selectedFleets(), (std::vector<cFleet*>{&small, &big}));
  EXPECT_EQ(List(cDialogFlot::kShipList).GetSize(), 0);
  EXPECT_TRUE(manager_->selectedShips().empty());
  for (int id : {cDialogFlot::kCreateFleet, cDialogFlot::kMoveShips, cDialogFlot::kRenameShip, cDialogFlot::kRepair,
                 cDialogFlot::kCommander, cDialogFlot::kDisband, cDialogFlot::kUnload, cDialogFlot::kAirAttack,
                 cDialogFlot::kShoreBombardment, cDialogFlot::kRecon}) {
    EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_EQ(Hint(id), "fleets_no_unit_selected") << id;
  }
  EXPECT_FALSE(Enabled(cDialogFlot::kRenameFleet));
  EXPECT_EQ(Hint(cDialogFlot::kRenameFleet), "fleets_rename_fleet_hint_multiple_selection");
  EXPECT_FALSE(Enabled(cDialogFlot::kMoveFleet));
  EXPECT_EQ(Hint(cDialogFlot::kMoveFleet), "fleets_move_fleet_hint_no_destination_available");
  EXPECT_FALSE(manager_->GetControl(cDialogFlot::kPicture)->GetVisible());
  EXPECT_EQ(Cargo(), u"fleets_transported_none");

  small.hasMoved = 1;
  Select(cDialogFlot::kFleetList, {0, 1});
  EXPECT_EQ(Hint(cDialogFlot::kMoveFleet), "fleets_move_fleet_hint_already_moved");
}

TEST_F(DialogFlotTest, ARegularAndARaiderFleetCheckNoRadioAndTheBoxFollowsTheRegularFleet) {
  const int port = naval_->AddPort(kHuman);
  cFleet& regular = naval_->AddFleet(kHuman, port, {kCruiser});
  cFleet& raiders = naval_->AddFleet(kHuman, port, {kSubmarine});
  raiders.formation = kFleetRaiders;
  raiders.active = 0;
  Open(port);
  for (const std::uint8_t active : {1, 0}) {
    regular.active = active;
    Select(cDialogFlot::kFleetList, {0, 1});
    EXPECT_FALSE(Checked(cDialogFlot::kRegularRadio));
    EXPECT_FALSE(Checked(cDialogFlot::kRaidersRadio));
    EXPECT_TRUE(Enabled(cDialogFlot::kActiveBox));
    EXPECT_EQ(Checked(cDialogFlot::kActiveBox), active == 1);
    EXPECT_EQ(Hint(cDialogFlot::kActiveBox), active == 1 ? "fleets_active_hint" : "fleets_passive_hint");
  }
  // A raider fleet alone: its radio, and the box off, saying what its row
  // says (a scenario may start a raider fleet active).
  for (const std::uint8_t active : {1, 0}) {
    raiders.active = active;
    manager_->RefreshFleetList(-1);
    Select(cDialogFlot::kFleetList, {1});
    EXPECT_TRUE(Checked(cDialogFlot::kRaidersRadio));
    EXPECT_FALSE(Enabled(cDialogFlot::kActiveBox));
    EXPECT_EQ(Rows(cDialogFlot::kFleetList)[1],
              active == 1 ? u"Fleet2;1;100% (6/6);0.0;active;raider" : u"Fleet2;1;100% (6/6);0.0;passive;raider");
    EXPECT_EQ(Checked(cDialogFlot::kActiveBox), active == 1);
    EXPECT_EQ(Hint(cDialogFlot::kActiveBox), active == 1 ? "fleets_active_hint" : "fleets_passive_hint");
  }
  // Raider fleets selected together: the box says active only when every one is.
  cFleet& passive = naval_->AddFleet(kHuman, port, {kSubmarine});
  passive.formation = kFleetRaiders;
  passive.active = 0;
  raiders.active = 1;
  manager_->RefreshFleetList(-1);
  Select(cDialogFlot::kFleetList, {1, 2});
  ASSERT_EQ(manager_->selectedFleets(), (std::vector<cFleet*>{&raiders, &passive}));
  EXPECT_TRUE(Checked(cDialogFlot::kRaidersRadio));
  EXPECT_FALSE(Checked(cDialogFlot::kActiveBox));
}

// Each change keeps the second fleet of the port selected, the one it changed.
TEST_F(DialogFlotTest, TheFormationAndActiveControlsChangeTheSelectedFleets) {
  const int port = naval_->AddPort(kHuman);
  cFleet& other = naval_->AddFleet(kHuman, port, {kSubmarine});
  cFleet& fleet = naval_->AddFleet(kHuman, port, {kCruiser});
  Open(port);
  Select(cDialogFlot::kFleetList, {1});
  ASSERT_EQ(fleet.active, 1);
  // An active fleet made raiders becomes passive with it.
  manager_->OnGUIEvent(GuiEventRadioChanged, cDialogFlot::kRaidersRadio, nullptr);
  EXPECT_EQ(fleet.formation, kFleetRaiders);
  EXPECT_EQ(fleet.active, 0);
  EXPECT_EQ(Rows(cDialogFlot::kFleetList)[1], u"Fleet2;1;100% (6/6);0.0;passive;raider");
  EXPECT_EQ(manager_->selectedFleets(), std::vector<cFleet*>{&fleet});
  manager_->OnGUIEvent(GuiEventRadioChanged, cDialogFlot::kRegularRadio, nullptr);
  EXPECT_EQ(fleet.formation, kFleetRegular);
  EXPECT_EQ(manager_->selectedFleets(), std::vector<cFleet*>{&fleet});
  auto* box = static_cast<CDXUTCheckBox*>(manager_->GetControl(cDialogFlot::kActiveBox));
  for (const bool active : {true, false}) {
    box->SetCheckedState(active, false, false);
    manager_->OnGUIEvent(GuiEventCheckChanged, cDialogFlot::kActiveBox, box);
    EXPECT_EQ(fleet.active, active ? 1 : 0);
    EXPECT_EQ(Rows(cDialogFlot::kFleetList)[1],
              active ? u"Fleet2;1;100% (6/6);0.0;active;regular" : u"Fleet2;1;100% (6/6);0.0;passive;regular");
    EXPECT_EQ(manager_->selectedFleets(), std::vector<cFleet*>{&fleet});
  }
  EXPECT_EQ(other.formation, kFleetRegular);
  EXPECT_EQ(other.active, 1);
}

// Where the player has no fleet, no fleet control can be used.
TEST_F(DialogFlotTest, APortWithoutOwnFleetsOffersNoFleetControl) {
  const int port = naval_->AddPort(kHuman);
  naval_->AddFleet(2, port, {kCruiser});  // an ally's
  Open(port);
  EXPECT_TRUE(manager_->selectedFleets().empty());
  for (int id : {cDialogFlot::kRegularRadio, cDialogFlot::kRaidersRadio, cDialogFlot::kActiveBox,
                 cDialogFlot::kMoveFleet, cDialogFlot::kRenameFleet}) {
    EXPECT_FALSE(Enabled(id)) << id;
  }
  EXPECT_FALSE(Checked(cDialogFlot::kActiveBox));
}

struct RepairCase {
  const char* name;
  int nodeType;
  int hitPoints;
  std::uint8_t canBeRepaired;
  double productionPoints;
  int portSize;
  const char* hint;
};

class DialogFlotRepairTest : public DialogFlotTest, public testing::WithParamInterface<RepairCase> {};

TEST_P(DialogFlotRepairTest, TheFirstRuleThatHoldsGivesTheRepairHint) {
  const RepairCase& c = GetParam();
  const int node = c.nodeType == kSeaNodePort ? naval_->AddPort(kHuman, c.portSize) : naval_->AddSea();
  naval_->SetPortSizeFor(kBattleship, 3);
  SetRepairCost(kBattleship, 7.0);
  human().productionPoints = c.productionPoints;
  cFleet& fleet = naval_->AddFleet(kHuman, node, {kBattleship});
  fleet.ships.front()->hitPoints = c.hitPoints;
  fleet.ships.front()->canBeRepaired = c.canBeRepaired;
  Open(node);
  EXPECT_EQ(Hint(cDialogFlot::kRepair), c.hint);
  EXPECT_EQ(Enabled(cDialogFlot::kRepair), std::string(c.hint) == "fleets_repair_group_hint");
}

INSTANTIATE_TEST_SUITE_P(
    Rules, DialogFlotRepairTest,
    testing::Values(
        RepairCase{"OpenSeaWithoutPoints", kSeaNodeOpenSea, 3, 1, 0.0, 5, "fleets_repair_group_hint_move_to_port"},
        RepairCase{"OpenSeaWithPoints", kSeaNodeOpenSea, 3, 1, 1000.0, 5, "fleets_repair_group_hint_move_to_port"},
        RepairCase{"FullHitPoints", kSeaNodePort, 6, 1, 1000.0, 5, "fleets_repair_group_hint_full_hp"},
        RepairCase{"AlreadyRepaired", kSeaNodePort, 3, 0, 1000.0, 5, "fleets_repair_group_hint_already_repaired"},
        RepairCase{"TooFewPoints", kSeaNodePort, 3, 1, 6.5, 5, "fleets_repair_group_hint_not_enough_pp"},
        RepairCase{"PortTooSmall", kSeaNodePort, 3, 1, 7.0, 2, "fleets_repair_group_hint_port_to_small"},
        RepairCase{"Repairable", kSeaNodePort, 3, 1, 7.0, 3, "fleets_repair_group_hint"}),
    [](const testing::TestParamInfo<RepairCase>& info) { return info.param.name; });

TEST_F(DialogFlotTest, ARepairAddsOneHitPointOnceAndTheCountryPaysForIt) {
  const int port = naval_->AddPort(kHuman);
  SetRepairCost(kBattleship, 7.5);
  human().productionPoints = 20.0;
  cFleet& fleet = naval_->AddFleet(kHuman, port, {kBattleship});
  cJednostkaMorska& ship = *fleet.ships.front();
  ship.hitPoints = 3;
  ship.canBeRepaired = 1;
  Open(port);
  ASSERT_TRUE(Enabled(cDialogFlot::kRepair));
  Press(cDialogFlot::kRepair);
  EXPECT_EQ(ship.hitPoints, 4);
  EXPECT_DOUBLE_EQ(human().productionPoints, 12.5);
  EXPECT_FALSE(Enabled(cDialogFlot::kRepair));
  EXPECT_EQ(Hint(cDialogFlot::kRepair), "fleets_repair_group_hint_already_repaired");
}

TEST_F(DialogFlotTest, SeveralShipsAreJudgedTogetherAndTheSingleShipActionsAreOff) {
  const int port = naval_->AddPort(kHuman);
  cFleet& fleet = naval_->AddFleet(kHuman, port, {kAircraftCarrier, kCruiser, kCargoShip});
  cJednostkaMorska& carrier = *fleet.ships.front();
  cJednostkaMorska& cruiser = **std::next(fleet.ships.begin());
  cJednostkaMorska& cargo = *fleet.ships.back();
  Load(cargo, u"1st Rifles");
  carrier.reconDone = 1;
  cruiser.shoreBombardmentDone = 1;
  Open(port);
  Select(cDialogFlot::kShipList, {0, 1});
  // Recon is judged on the carrier and bombardment on the cruiser.
  EXPECT_EQ(Hint(cDialogFlot::kRecon), "fleets_recon_hint_all_selected_aircraft_carriers_already_used_recon");
  EXPECT_EQ(Hint(cDialogFlot::kShoreBombardment),
            "fleets_shorebombardment_hint_all_selected_battleships_and_cruisers_already_bombed");
  EXPECT_EQ(Hint(cDialogFlot::kAirAttack), "fleets_attack_hex_hint_multiple_selection");
  EXPECT_EQ(Hint(cDialogFlot::kRenameShip), "fleets_rename_group_hint_multiple_selection");
  EXPECT_EQ(Hint(cDialogFlot::kCommander), "fleets_group_commander_hint_multiple_selection");
  EXPECT_EQ(Hint(cDialogFlot::kRepair), "fleets_repair_group_hint_multiple_selection");
  EXPECT_EQ(Hint(cDialogFlot::kUnload), "fleets_unload_hint_multiple_selection");
  for (int id : {cDialogFlot::kAirAttack, cDialogFlot::kRenameShip, cDialogFlot::kCommander, cDialogFlot::kRepair,
                 cDialogFlot::kUnload}) {
    EXPECT_FALSE(Enabled(id)) << id;
  }
  EXPECT_EQ(Cargo(), u"");
  EXPECT_FALSE(manager_->GetControl(cDialogFlot::kPicture)->GetVisible());
  // The cargo of the selected transports is listed by name.
  Select(cDialogFlot::kShipList, {0, 2});
  EXPECT_EQ(Cargo(), u"1st Rifles");
  EXPECT_EQ(Hint(cDialogFlot::kShoreBombardment), "fleets_shorebombardment_hint_no_battleship_or_cruiser_selected");
  Select(cDialogFlot::kShipList, {1, 2});
  EXPECT_EQ(Hint(cDialogFlot::kRecon), "fleets_recon_hint_no_aircraft_carrier_selected");
}

TEST_F(DialogFlotTest, ALoadedTransportInAPortOffersTheUnloadAndDescribesItsCargo) {
  const int port = naval_->AddPort(kHuman);
  cFleet& fleet = naval_->AddFleet(kHuman, port, {kCargoShip});
  cJednostkaLadowa& unit = Load(*fleet.ships.front(), u"1st Rifles");
  unit.level = 2;
  Open(port);
  EXPECT_TRUE(Enabled(cDialogFlot::kUnload));
  EXPECT_EQ(Hint(cDialogFlot::kUnload), "fleets_unload_hint");
  EXPECT_EQ(Cargo(), Format(u"1st Rifles (strength: %.2f, level 2, no commander)", unit.GetStrengthValue()));
  // A hex taken by another unit leaves nowhere to go ashore.
  naval_->world().PlaceLandUnit(kHuman, 1, 0);
  Select(cDialogFlot::kShipList, {0});
  EXPECT_FALSE(Enabled(cDialogFlot::kUnload));
  EXPECT_EQ(Hint(cDialogFlot::kUnload), "fleets_unload_hint_no_hex_available");
}

TEST_F(DialogFlotTest, ATransportThatCannotUnloadWhereItIsSaysWhereToGo) {
  const int port = naval_->AddPort(kHuman);
  const int sea = naval_->AddSea();
  cFleet& cargo = naval_->AddFleet(kHuman, sea, {kCargoShip});
  Load(*cargo.ships.front(), u"1st Rifles");
  Open(sea);
  EXPECT_FALSE(Enabled(cDialogFlot::kUnload));
  EXPECT_EQ(Hint(cDialogFlot::kUnload), "fleets_unload_hint_move_to_port");
  PopModalDialogs(-1);
  cFleet& landing = naval_->AddFleet(kHuman, port, {kAmphibiousShip});
  Load(*landing.ships.front(), u"2nd Rifles");
  naval_->world().PlaceLandUnit(kHuman, 1, 0);  // the port's only hex ashore is taken
  Open(port);
  EXPECT_FALSE(Enabled(cDialogFlot::kUnload));
  EXPECT_EQ(Hint(cDialogFlot::kUnload), "fleets_unload_hint_move_to_sea_zone");
}

TEST_F(DialogFlotTest, ANewFleetOfEveryShipReplacesTheOldOne) {
  const int port = naval_->AddPort(kHuman);
  cFleet& old = naval_->AddFleet(kHuman, port, {kCruiser, kSubmarine});
  Open(port);
  Select(cDialogFlot::kShipList, {0, 1});
  Press(cDialogFlot::kCreateFleet);
  EXPECT_FALSE(Listed(&old));
  ASSERT_EQ(manager_->selectedFleets().size(), 1u);
  cFleet* made = manager_->selectedFleets().front();
  EXPECT_EQ(made->name, NewFleetName(made->id));
  EXPECT_EQ(made->ships.size(), 2u);
  EXPECT_EQ(List(cDialogFlot::kFleetList).GetSize(), 1);
  EXPECT_TRUE(List(cDialogFlot::kFleetList).GetItem(0)->selected);
}

TEST_F(DialogFlotTest, ANewFleetOfSomeShipsLeavesTheOldOneSelected) {
  const int port = naval_->AddPort(kHuman);
  cFleet& old = naval_->AddFleet(kHuman, port, {kCruiser, kSubmarine});
  Open(port);
  Select(cDialogFlot::kShipList, {1});
  Press(cDialogFlot::kCreateFleet);
  EXPECT_EQ(old.ships.size(), 1u);
  EXPECT_EQ(manager_->selectedFleets(), std::vector<cFleet*>{&old});
  EXPECT_EQ(List(cDialogFlot::kFleetList).GetSize(), 2);
}

TEST_F(DialogFlotTest, MovingEveryShipIntoAnotherFleetDeletesTheFirstAndSelectsTheFirstRow) {
  const int port = naval_->AddPort(kHuman);
  cFleet& first = naval_->AddFleet(kHuman, port, {kCruiser, kSubmarine});
  cFleet& moved = naval_->AddFleet(kHuman, port, {kSubmarine});
  moved.hasMoved = 1;
  cFleet& target = naval_->AddFleet(kHuman, port, {kBattleship});
  Open(port);
  Select(cDialogFlot::kShipList, {0, 1});
  Press(cDialogFlot::kMoveShips);
  ASSERT_NE(TopDialog, manager_);
  auto* choice = dynamic_cast<cDialogPobraniaListy*>(TopDialog);
  ASSERT_NE(choice, nullptr);
  auto* targets = static_cast<CDXUTListBox*>(choice->GetControl(cDialogPobraniaListy::kList));
  ASSERT_EQ(targets->GetSize(), 1);  // the moved fleet is no destination
  EXPECT_EQ(targets->GetItem(0)->text, u"Fleet3");
  PressButton(*choice, cDialogPobraniaListy::kOkButton);

  EXPECT_EQ(TopDialog, manager_);
  EXPECT_FALSE(Listed(&first));
  EXPECT_EQ(target.ships.size(), 3u);
  EXPECT_EQ(manager_->selectedFleets(), std::vector<cFleet*>{&moved});
  EXPECT_TRUE(List(cDialogFlot::kFleetList).GetItem(0)->selected);
  EXPECT_EQ(manager_->pending(), cDialogFlot::kPendingNone);
}

TEST_F(DialogFlotTest, ACancelledChoiceMovesNothing) {
  const int port = naval_->AddPort(kHuman);
  cFleet& first = naval_->AddFleet(kHuman, port, {kCruiser});
  naval_->AddFleet(kHuman, port, {kSubmarine});
  Open(port);
  Press(cDialogFlot::kMoveShips);
  PressButton(*TopDialog, cDialogPobraniaListy::kCancelButton);
  EXPECT_EQ(TopDialog, manager_);
  EXPECT_EQ(first.ships.size(), 1u);
}

TEST_F(DialogFlotTest, DisbandingTheOnlyFleetAsksSinksAndClosesTheWindow) {
  const int port = naval_->AddPort(kHuman);
  cFleet& fleet = naval_->AddFleet(kHuman, port, {kCargoShip});
  Load(*fleet.ships.front(), u"1st Rifles");
  Open(port);

  // No keeps everything.
  Press(cDialogFlot::kDisband);
  auto* question = dynamic_cast<cDialogPotwierdzenia*>(TopDialog);
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(static_cast<CDXUTStatic*>(question->GetControl(704))->GetText(), u"disband_question_Ship1");
  PressButton(*question, cDialogPotwierdzenia::kNoButton);
  EXPECT_EQ(TopDialog, manager_);
  EXPECT_EQ(game().navalUnits.size(), 1u);
  EXPECT_TRUE(Listed(&fleet));

  Press(cDialogFlot::kDisband);
  PressButton(*TopDialog, cDialogPotwierdzenia::kYesButton);
  EXPECT_TRUE(game().navalUnits.empty());
  EXPECT_TRUE(game().fleets.empty());
  EXPECT_TRUE(game().aboardUnitsA.empty());  // the cargo went down with it
  EXPECT_TRUE(ModalDialogStack.empty());
}

TEST_F(DialogFlotTest, DisbandingSomeShipsAsksForThemAllAndSelectsTheFirstRow) {
  const int port = naval_->AddPort(kHuman);
  naval_->AddFleet(kHuman, port, {kSubmarine});
  cFleet& second = naval_->AddFleet(kHuman, port, {kCruiser, kCruiser, kSubmarine});
  Open(port);
  Select(cDialogFlot::kFleetList, {1});
  Select(cDialogFlot::kShipList, {0, 1});
  Press(cDialogFlot::kDisband);
  EXPECT_EQ(static_cast<CDXUTStatic*>(TopDialog->GetControl(704))->GetText(), u"disband_question_multiple_units");
  PressButton(*TopDialog, cDialogPotwierdzenia::kYesButton);
  EXPECT_EQ(TopDialog, manager_);
  ASSERT_EQ(second.ships.size(), 1u);
  EXPECT_EQ(second.ships.front()->type, kSubmarine);
  EXPECT_EQ(manager_->selectedFleets().front(), game().fleets.front().get());
}

TEST_F(DialogFlotTest, RenamingTakesTheTypedTextCutTo99AndCancelKeepsTheName) {
  const int port = naval_->AddPort(kHuman);
  cFleet& fleet = naval_->AddFleet(kHuman, port, {kCruiser});
  Open(port);
  Press(cDialogFlot::kRenameFleet);
  auto* input = dynamic_cast<cDialogPobraniaTekstu*>(TopDialog);
  ASSERT_NE(input, nullptr);
  static_cast<CDXUTEditBox*>(input->GetControl(cDialogPobraniaTekstu::kEditBox))->SetText(u"Home Fleet");
  PressButton(*input, cDialogPobraniaTekstu::kCancelButton);
  EXPECT_EQ(fleet.name, u"Fleet1");

  Press(cDialogFlot::kRenameFleet);
  input = dynamic_cast<cDialogPobraniaTekstu*>(TopDialog);
  ASSERT_NE(input, nullptr);
  static_cast<CDXUTEditBox*>(input->GetControl(cDialogPobraniaTekstu::kEditBox))->SetText(std::u16string(120, u'x'));
  PressButton(*input, cDialogPobraniaTekstu::kOkButton);
  EXPECT_EQ(fleet.name, std::u16string(99, u'x'));
  EXPECT_EQ(Rows(cDialogFlot::kFleetList).front().substr(0, 100), std::u16string(99, u'x') + u";");

  Press(cDialogFlot::kRenameShip);
  static_cast<CDXUTEditBox*>(TopDialog->GetControl(cDialogPobraniaTekstu::kEditBox))->SetText(u"Valiant");
  PressButton(*TopDialog, cDialogPobraniaTekstu::kOkButton);
  EXPECT_EQ(fleet.ships.front()->name, u"Valiant");
}

// The commander dialog opens for exactly one ship, over the hidden manager.
TEST_F(DialogFlotTest, TheCommanderDialogOpensForOneShipOnly) {
  const int port = naval_->AddPort(kHuman);
  naval_->AddFleet(kHuman, port, {kCruiser, kBattleship});
  Open(port);
  Select(cDialogFlot::kShipList, {0, 1});
  Press(cDialogFlot::kCommander);
  EXPECT_EQ(TopDialog, manager_);
  EXPECT_TRUE(manager_->GetVisible());

  Select(cDialogFlot::kShipList, {1});
  Press(cDialogFlot::kCommander);
  ASSERT_NE(dynamic_cast<cDialogDowodcow*>(TopDialog), nullptr);
  EXPECT_FALSE(manager_->GetVisible());
  EXPECT_EQ(manager_->pending(), cDialogFlot::kPendingCommander);
}

TEST_F(DialogFlotTest, AMapActionHidesTheWindowMarksTheTargetsAndSetsTheMode) {
  const int port = naval_->AddPort(kHuman);
  cFleet& fleet = naval_->AddFleet(kHuman, port, {kCargoShip});
  Load(*fleet.ships.front(), u"1st Rifles");
  Open(port);
  Press(cDialogFlot::kUnload);
  EXPECT_FALSE(manager_->GetVisible());
  EXPECT_EQ(manager_->pending(), cDialogFlot::kPendingUnload);
  EXPECT_EQ(game().playerControl.actionMode, kActionInvasionTarget);
  EXPECT_NE(naval_->world().hex(port, 0).flags & 64u, 0u);

  // Becoming the top again clears the pending action and shows the window after the delay.
  gDelays[kDelayHumanReconAfter] = 500.0f;
  manager_->OnActivate();
  EXPECT_EQ(manager_->pending(), cDialogFlot::kPendingNone);
  manager_->TickTimer(0.4f);
  EXPECT_FALSE(manager_->GetVisible());
  manager_->TickTimer(0.2f);
  EXPECT_TRUE(manager_->GetVisible());
}

TEST_F(DialogFlotTest, EnterAndEscapeClose) {
  const int port = naval_->AddPort(kHuman);
  naval_->AddFleet(kHuman, port, {kCruiser});
  for (std::uint32_t key : {VK_RETURN, VK_ESCAPE}) {
    Open(port);
    EXPECT_EQ(TopFleetsManager(), manager_);
    manager_->OnKeyboard(key, true, false);
    EXPECT_TRUE(ModalDialogStack.empty()) << key;
    EXPECT_EQ(TopFleetsManager(), nullptr);
  }
}

TEST_F(DialogFlotTest, AForgottenFleetLeavesTheSelection) {
  const int port = naval_->AddPort(kHuman);
  cFleet& fleet = naval_->AddFleet(kHuman, port, {kCruiser});
  Open(port);
  manager_->ForgetFleet(&fleet);
  EXPECT_TRUE(manager_->selectedFleets().empty());
  EXPECT_EQ(manager_->GetSelectedEntry(5), fleet.ships.front());
  manager_->ForgetShip(fleet.ships.front());
  EXPECT_EQ(manager_->GetSelectedEntry(0), nullptr);
}

// The test's string base answers every key with itself, so whatever looks
// like a key in the window was looked up, and must have an English text.
TEST_F(DialogFlotTest, EveryTextItShowsHasAnEnglishText) {
  const std::set<std::string> english = test::EnglishTextKeys();
  std::set<std::string> shown;
  const auto collect = [&] {
    for (const auto& control : manager_->Controls()) {
      shown.insert(Utf16ToUtf8(control->GetHint()));
      if (auto* text = dynamic_cast<CDXUTStatic*>(control.get())) shown.insert(Utf16ToUtf8(text->GetText()));
      if (auto* list = dynamic_cast<CDXUTListBox*>(control.get())) {
        for (int i = 0; i < list->GetSize(); ++i) {
          for (std::u16string_view cell : SplitListCells(list->GetItem(i)->text)) shown.insert(Utf16ToUtf8(cell));
        }
      }
    }
  };
  const int sea = naval_->AddSea();
  const int port = naval_->AddPort(kHuman);
  naval_->Link(sea, port);
  cFleet& mixed = naval_->AddFleet(kHuman, port, {kAircraftCarrier, kBattleship, kCargoShip, kAmphibiousShip});
  Load(*mixed.ships.back(), u"1st Marines");
  cFleet& raiders = naval_->AddFleet(kHuman, port, {kSubmarine});
  raiders.formation = kFleetRaiders;
  cFleet& atSea = naval_->AddFleet(kHuman, sea, {kCargoShip, kAmphibiousShip});
  for (cJednostkaMorska* ship : atSea.ships) Load(*ship, u"2nd Rifles");
  naval_->AddFleet(kHuman, sea, {kCruiser}).hasMoved = 1;
  for (int node : {port, sea}) {
    Open(node);
    for (int row = 0; row < List(cDialogFlot::kShipList).GetSize(); ++row) {
      Select(cDialogFlot::kShipList, {row});
      collect();
      Press(cDialogFlot::kRepair);
      collect();
    }
    Select(cDialogFlot::kShipList, {0, 1});
    collect();
    Select(cDialogFlot::kFleetList, {0, 1});
    collect();
    Select(cDialogFlot::kFleetList, {1});
    collect();
    PopModalDialogs(1);
  }
  const std::regex key("[a-z][a-z0-9_.]*_[a-z0-9_.]*|active|passive|regular|raider");
  int keys = 0;
  for (const std::string& text : shown) {
    if (!std::regex_match(text, key)) continue;
    ++keys;
    EXPECT_TRUE(english.contains(text)) << text;
  }
  EXPECT_GT(keys, 50);
}

}  // namespace
}  // namespace tr
