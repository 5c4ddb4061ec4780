// The convoys manager window on its own: moving a convoy down the list and a
// refused new convoy. The map clicks that make new convoys are the
// application's, tested with it.
#include "dialogs/convoys_manager.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/modal_stack.h"
#include "gui/list_box.h"
#include "scenario/scenario_constants.h"
#include "support/screen_fixture.h"
#include "support/world_builder.h"
#include "turn/convoy.h"
#include "world/city.h"

namespace tr {
namespace {

class ConvoysWindowTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    ASSERT_TRUE(LoadShippedLayout());
    world_ = std::make_unique<test::TestWorld>(6, 6, 3);
    game().playerControl.currentCountry = &world_->country(1);
    game().convoys.Reset(3);
    north_ = City(1, u"Northport");
    south_ = City(4, u"Southport");
  }
  void TearDown() override {
    PopModalDialogs(-1);
    ConvoysManagerDepartureNode = ConvoysManagerDestinationNode = 0;
    ConvoysManagerSelectedRow = -1;
    ConvoysManagerCountry = nullptr;
    world_.reset();
    ScreenFixture::TearDown();
  }
  cGame& game() { return world_->game(); }
  cCity* City(int column, const char16_t* name) {
    auto city = std::make_unique<cCity>();
    city->x = column;
    city->type = kCityPort;
    city->name = name;
    world_->hex(column, 0).city = city.get();
    game().cities.push_back(std::move(city));
    return game().cities.back().get();
  }
  std::vector<sConvoy>& Convoys() { return game().convoys.ConvoysOf(1); }
  int AddConvoy(cCity* from, cCity* to) {
    sConvoy convoy;
    convoy.Init(1, kConvoySupplies, from, to);
    Convoys().push_back(convoy);
    return convoy.id;
  }
  cDialogKonwojow& Open() {
    dialog_ = new cDialogKonwojow();
    PushModalDialog(dialog_);
    return *dialog_;
  }
  CDXUTListBox& List() { return *static_cast<CDXUTListBox*>(dialog_->GetControl(cDialogKonwojow::kList)); }
  bool On(int id) { return dialog_->GetControlEnabled(id); }

  std::unique_ptr<test::TestWorld> world_;
  cCity* north_ = nullptr;
  cCity* south_ = nullptr;
  cDialogKonwojow* dialog_ = nullptr;
};

TEST_F(ConvoysWindowTest, MoveDownTakesTheSelectedConvoyOneRowLowerAndKeepsItSelected) {
  const int first = AddConvoy(north_, south_);
  const int second = AddConvoy(south_, north_);
  Open();
  List().SelectItem(0, true);
  ASSERT_TRUE(On(cDialogKonwojow::kMoveDownButton));
  EXPECT_EQ(dialog_->GetControl(cDialogKonwojow::kMoveDownButton)->GetHint(), u"convoys_movedown_hint");
  dialog_->SendEvent(GuiEventButtonClicked, true, dialog_->GetControl(cDialogKonwojow::kMoveDownButton));
  EXPECT_EQ(Convoys()[0].id, second);
  EXPECT_EQ(Convoys()[1].id, first);
  EXPECT_EQ(List().GetSelectedIndex(), 1);
  EXPECT_FALSE(On(cDialogKonwojow::kMoveDownButton));
  EXPECT_TRUE(On(cDialogKonwojow::kMoveUpButton));
}

// A new kind fills the convoy to the port's size times the kind's factor, and its row says so.
TEST_F(ConvoysWindowTest, ChoosingTheKindRefillsTheConvoyAndItsRow) {
  game().constants.SetSlot(sScenarioConstants::SlotOf(163, 1), 12.0);
  game().constants.SetSlot(sScenarioConstants::SlotOf(164, 1), 7.0);
  AddConvoy(south_, north_);
  const int second = AddConvoy(north_, south_);
  Convoys()[1].portSize = 3;
  Open();
  List().SelectItem(1, true);
  dialog_->OnGUIEvent(GuiEventRadioChanged, cDialogKonwojow::kProductionRadio, nullptr);
  EXPECT_EQ(Convoys()[1].kind, kConvoyResources);
  EXPECT_EQ(Convoys()[1].amount, 36);
  EXPECT_EQ(List().GetItem(1)->text, u"Northport;Southport;convoys_type_production;36");
  dialog_->OnGUIEvent(GuiEventRadioChanged, cDialogKonwojow::kSupplyRadio, nullptr);
  EXPECT_EQ(Convoys()[1].amount, 21);
  EXPECT_EQ(List().GetItem(1)->text, u"Northport;Southport;convoys_type_supply;21");
  EXPECT_EQ(List().GetSelectedIndex(), 1);
  EXPECT_EQ(dialog_->SelectedConvoy()->id, second);
}

TEST_F(ConvoysWindowTest, ARefusedConvoyLeavesNothingSelected) {
  AddConvoy(north_, south_);
  Open();
  List().SelectItem(0, true);
  ASSERT_NE(dialog_->SelectedConvoy(), nullptr);
  ConvoysManagerDepartureNode = 1;
  ConvoysManagerDestinationNode = 7;  // no such node
  dialog_->Rebuild();
  EXPECT_EQ(Convoys().size(), 1u);
  EXPECT_EQ(ConvoysManagerSelectedRow, -1);
  EXPECT_EQ(dialog_->SelectedConvoy(), nullptr);
  EXPECT_FALSE(On(cDialogKonwojow::kDeleteButton));
}

}  // namespace
}  // namespace tr
