// The convoys manager: what the selection enables, the kinds and the amount,
// moving and deleting convoys, and a new convoy made by two clicks on the
// map while the window waits hidden.
#include "dialogs/convoys_manager.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/game_commands.h"
#include "app/game_mouse.h"
#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "dialogs/dialog_tekstowy.h"
#include "foundation/settings.h"
#include "game_screen_fixture.h"
#include "gui/check_box.h"
#include "gui/hint_box.h"
#include "gui/list_box.h"
#include "gui/slider.h"
#include "gui/static.h"
#include "scenario/scenario_constants.h"
#include "turn/convoy.h"
#include "turn/sea_graph.h"
#include "world/city.h"

namespace tr {
namespace {

class ConvoysManagerTest : public test::GameScreenFixture {
 protected:
  void SetUp() override {
    GameScreenFixture::SetUp();
    gScreenWidth = 1024;
    gScreenHeight = 768;
    map().camera.x = 542.0f;
    map().camera.y = 420.0f;
    InstallGameCommandHandlers();
    GetHintBox().SetControl(nullptr);
    country(1).alliance = kAllies;
    for (sHex& hex : map().Hexes()) hex.controller = hex.owner = 1;
    game().convoys.Reset(3);
    Constant(163, 1, 10.0);
    Constant(164, 1, 5.0);
    north_ = AddPort(1, u"Northport");
    south_ = AddPort(5, u"Southport");
  }
  void TearDown() override {
    PopModalDialogs(-1);
    GameScreenFixture::TearDown();
  }
  cMap& map() { return *game().map; }
  void Constant(int line, int field, double value) {
    game().constants.SetSlot(sScenarioConstants::SlotOf(line, field), value);
  }
  // A port of size 4 on (column, 0) whose marker hex is (column, 1).
  cCity* AddPort(int column, const char16_t* name) {
    sWezelGrafuMorz node;
    node.id = game().seaGraph.NodeCount() + 1;
    node.type = kSeaNodePort;
    node.maxPortSize = node.portSize = 4;
    node.x = column;
    node.y = 0;
    node.playerMarkerX = column;
    node.playerMarkerY = 1;
    node.name = name;
    game().seaGraph.nodes.push_back(node);
    map().GetHex(column, 1)->seaNodeMarker = static_cast<std::uint16_t>(node.id);
    map().GetHex(column, 0)->seaNodeMarker = static_cast<std::uint16_t>(node.id);
    auto city = std::make_unique<cCity>();
    city->x = column;
    city->y = 0;
    city->type = kCityPort;
    city->name = name;
    cCity* made = city.get();
    map().GetHex(column, 0)->city = made;
    game().cities.push_back(std::move(city));
    return made;
  }
  std::vector<sConvoy>& Convoys() { return game().convoys.ConvoysOf(1); }
  void AddConvoy(cCity* from, cCity* to) {
    sConvoy convoy;
    convoy.Init(1, kConvoySupplies, from, to);
    Convoys().push_back(convoy);
  }
  cDialogKonwojow* Open() {
    ToggleGameDialog(cDialogKonwojow::kDialogId);
    dialog_ = dynamic_cast<cDialogKonwojow*>(TopDialog);
    return dialog_;
  }
  void Press(int id) { dialog_->SendEvent(GuiEventButtonClicked, true, dialog_->GetControl(id)); }
  void SelectRow(int row) { List().SelectItem(row, true); }
  bool On(int id) { return dialog_->GetControlEnabled(id); }
  CDXUTListBox& List() { return *static_cast<CDXUTListBox*>(dialog_->GetControl(cDialogKonwojow::kList)); }
  CDXUTSlider& Slider() { return *static_cast<CDXUTSlider*>(dialog_->GetControl(cDialogKonwojow::kAmountSlider)); }
  CDXUTRadioButton& Radio(int id) { return *static_cast<CDXUTRadioButton*>(dialog_->GetControl(id)); }
  static void Click(int column, int row) {
    const int x = 83 * column + 50;
    const int y = 98 * row + 49 + (column % 2 == 0 ? 49 : 0);
    GameMouseCallback(true, false, false, false, false, 0, x, y);
    GameMouseCallback(false, false, false, false, false, 0, x, y);
  }

  cCity* north_ = nullptr;
  cCity* south_ = nullptr;
  cDialogKonwojow* dialog_ = nullptr;
};

TEST_F(ConvoysManagerTest, WithoutConvoysOnlyNewAndExitAreOn) {
  ASSERT_NE(Open(), nullptr);
  for (int id : {cDialogKonwojow::kDeleteButton, cDialogKonwojow::kMoveUpButton, cDialogKonwojow::kMoveDownButton,
                 cDialogKonwojow::kProductionRadio, cDialogKonwojow::kSupplyRadio, cDialogKonwojow::kAmountSlider}) {
    EXPECT_FALSE(On(id)) << id;
  }
  EXPECT_TRUE(On(cDialogKonwojow::kNewButton));
  EXPECT_TRUE(On(cDialogKonwojow::kExitButton));
  EXPECT_FALSE(dialog_->GetControl(cDialogKonwojow::kAmountText)->GetVisible());
  EXPECT_EQ(dialog_->GetControl(cDialogKonwojow::kDeleteButton)->GetHint(), u"convoys_delete_hint_no_selection");
}

TEST_F(ConvoysManagerTest, AKindSetsItsLargestAmountAndTheSliderLowersIt) {
  AddConvoy(north_, south_);
  ASSERT_NE(Open(), nullptr);
  SelectRow(0);
  Radio(cDialogKonwojow::kProductionRadio).SetCheckedState(true, true, true, true);
  EXPECT_EQ(Convoys()[0].kind, kConvoyResources);
  EXPECT_EQ(Convoys()[0].amount, 40);
  EXPECT_EQ(Slider().GetMaximum(), 40);
  EXPECT_EQ(List().GetItem(0)->text, u"Northport;Southport;convoys_type_production;40");
  Slider().SetValueWithEvent(15, true, true);
  EXPECT_EQ(Convoys()[0].amount, 15);
  EXPECT_EQ(static_cast<CDXUTStatic*>(dialog_->GetControl(cDialogKonwojow::kAmountText))->GetText(),
            u"convoys_value_15");
  Radio(cDialogKonwojow::kSupplyRadio).SetCheckedState(true, true, true, true);
  EXPECT_EQ(Convoys()[0].kind, kConvoySupplies);
  EXPECT_EQ(Convoys()[0].amount, 20);
  EXPECT_TRUE(Radio(cDialogKonwojow::kSupplyRadio).GetChecked());
  EXPECT_FALSE(Radio(cDialogKonwojow::kProductionRadio).GetChecked());
}

TEST_F(ConvoysManagerTest, MovesStopAtTheEndsAndTheMovedConvoyStaysSelected) {
  AddConvoy(north_, south_);
  AddConvoy(south_, north_);
  const int first = Convoys()[0].id;
  const int second = Convoys()[1].id;
  ASSERT_NE(Open(), nullptr);
  SelectRow(0);
  EXPECT_FALSE(On(cDialogKonwojow::kMoveUpButton));
  EXPECT_EQ(dialog_->GetControl(cDialogKonwojow::kMoveUpButton)->GetHint(), u"convoys_moveup_hint_is_topmost");
  dialog_->OnGUIEvent(GuiEventButtonClicked, cDialogKonwojow::kMoveUpButton, nullptr);
  EXPECT_EQ(Convoys()[0].id, first);
  SelectRow(1);
  EXPECT_TRUE(On(cDialogKonwojow::kMoveUpButton));
  EXPECT_FALSE(On(cDialogKonwojow::kMoveDownButton));
  EXPECT_EQ(dialog_->GetControl(cDialogKonwojow::kMoveDownButton)->GetHint(), u"convoys_movedown_hint_is_bottommost");
  dialog_->OnGUIEvent(GuiEventButtonClicked, cDialogKonwojow::kMoveDownButton, nullptr);
  EXPECT_EQ(Convoys()[1].id, second);
  Press(cDialogKonwojow::kMoveUpButton);
  EXPECT_EQ(Convoys()[0].id, second);
  EXPECT_EQ(Convoys()[1].id, first);
  EXPECT_EQ(dialog_->SelectedConvoy()->id, second);
  EXPECT_EQ(List().GetSelectedIndex(), 0);
  EXPECT_FALSE(On(cDialogKonwojow::kMoveUpButton));
  EXPECT_TRUE(On(cDialogKonwojow::kMoveDownButton));
  Radio(cDialogKonwojow::kProductionRadio).SetCheckedState(true, true, true, true);
  EXPECT_EQ(Convoys()[0].kind, kConvoyResources);
  EXPECT_EQ(Convoys()[1].kind, kConvoySupplies);
}

TEST_F(ConvoysManagerTest, DeletingClearsTheSelection) {
  AddConvoy(north_, south_);
  AddConvoy(south_, north_);
  ASSERT_NE(Open(), nullptr);
  SelectRow(0);
  Press(cDialogKonwojow::kDeleteButton);
  ASSERT_EQ(Convoys().size(), 1u);
  EXPECT_EQ(Convoys()[0].departure, south_);
  EXPECT_EQ(dialog_->SelectedConvoy(), nullptr);
  EXPECT_FALSE(On(cDialogKonwojow::kDeleteButton));
  EXPECT_FALSE(On(cDialogKonwojow::kAmountSlider));
  EXPECT_EQ(List().GetSize(), 1);
}

TEST_F(ConvoysManagerTest, TwoPortsClickedOnTheMapMakeASelectedSupplyConvoy) {
  ASSERT_NE(Open(), nullptr);
  Press(cDialogKonwojow::kNewButton);
  EXPECT_FALSE(dialog_->GetVisible());
  EXPECT_EQ(game().playerControl.actionMode, kActionConvoyDeparture);
  EXPECT_NE(map().GetHex(1, 1)->flags & 0x8000u, 0u);
  Click(1, 1);
  EXPECT_EQ(ConvoysManagerDepartureNode, 1);
  EXPECT_EQ(game().playerControl.actionMode, kActionConvoyDestination);
  EXPECT_EQ(map().GetHex(1, 1)->flags & 0x8000u, 0u);
  EXPECT_NE(map().GetHex(5, 1)->flags & 0x8000u, 0u);
  Click(5, 1);
  ASSERT_EQ(Convoys().size(), 1u);
  const sConvoy& made = Convoys()[0];
  EXPECT_EQ(made.departure, north_);
  EXPECT_EQ(made.destination, south_);
  EXPECT_EQ(made.kind, kConvoySupplies);
  EXPECT_EQ(made.amount, 0);
  EXPECT_TRUE(dialog_->GetVisible());
  EXPECT_EQ(dialog_->SelectedConvoy(), &made);
  EXPECT_EQ(List().GetSelectedIndex(), 0);
  EXPECT_TRUE(On(cDialogKonwojow::kDeleteButton));
  EXPECT_EQ(game().playerControl.actionMode, kActionNone);
  EXPECT_EQ(map().GetHex(5, 1)->flags & 0x8000u, 0u);
}

TEST_F(ConvoysManagerTest, ADepartureWithoutAFriendlyPortToSailToIsExplained) {
  map().GetHex(5, 0)->controller = 2;  // the other port is no ally's
  ASSERT_NE(Open(), nullptr);
  Press(cDialogKonwojow::kNewButton);
  Click(1, 1);
  EXPECT_EQ(game().playerControl.actionMode, kActionNone);
  EXPECT_EQ(ConvoysManagerDepartureNode, 0);
  EXPECT_TRUE(Convoys().empty());
  EXPECT_TRUE(dialog_->GetVisible());
  auto* box = dynamic_cast<cDialogTekstowy*>(TopDialog);
  ASSERT_NE(box, nullptr);
  const auto* text = static_cast<const CDXUTStatic*>(box->GetControl(box->layoutBase() + 3));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->GetText(), u"convoys_new_no_destination_Northport");
}

TEST_F(ConvoysManagerTest, AClickBesideThePortsEndsTheChoiceAndShowsTheWindow) {
  ASSERT_NE(Open(), nullptr);
  Press(cDialogKonwojow::kNewButton);
  Click(3, 4);
  EXPECT_EQ(game().playerControl.actionMode, kActionNone);
  EXPECT_TRUE(dialog_->GetVisible());
  EXPECT_TRUE(Convoys().empty());
}

TEST_F(ConvoysManagerTest, ARefusedConvoyDropsTheOldSelection) {
  AddConvoy(north_, south_);
  ASSERT_NE(Open(), nullptr);
  SelectRow(0);
  ASSERT_NE(dialog_->SelectedConvoy(), nullptr);
  ConvoysManagerDepartureNode = 1;
  ConvoysManagerDestinationNode = 7;  // no such node
  dialog_->Rebuild();
  EXPECT_EQ(Convoys().size(), 1u);
  EXPECT_EQ(dialog_->SelectedConvoy(), nullptr);
  EXPECT_FALSE(On(cDialogKonwojow::kDeleteButton));
}

}  // namespace
}  // namespace tr
