// The units manager window on its own: the type filters and their boxes, the
// auto-centre box on the tab of units to deploy, its keys, and Enter taking the
// player to the chosen unit. Deploying and centring on the map are the
// application's, tested with it.
#include "dialogs/units_manager.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/modal_stack.h"
#include "gui/check_box.h"
#include "gui/dispatch_scope.h"
#include "gui/list_box.h"
#include "gui/tab_frame.h"
#include "platform/codes.h"
#include "support/screen_fixture.h"
#include "support/world_builder.h"

namespace tr {
namespace {

class UnitsWindowTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    ASSERT_TRUE(LoadShippedLayout());
    world_ = std::make_unique<test::TestWorld>(6, 6, 2);
    game().playerControl.currentCountry = &world_->country(1);
    UnitsManagerLandTypeFilter = UnitsManagerAirTypeFilter = UnitsManagerNavalTypeFilter = 0xFFFFFFFFu;
    UnitsManagerAutoCenter = 1;
    UnitsManagerDeployTab = 0;
  }
  void TearDown() override {
    PopModalDialogs(-1);
    UnitsManagerLandTypeFilter = UnitsManagerAirTypeFilter = UnitsManagerNavalTypeFilter = 0xFFFFFFFFu;
    UnitsManagerAutoCenter = 1;
    UnitsManagerDeployTab = 0;
    UnitsManagerCurrentUnit = nullptr;
    world_.reset();
    ScreenFixture::TearDown();
  }
  cGame& game() { return world_->game(); }
  cDialogJednostek& Open() {
    dialog_ = new cDialogJednostek(1);
    PushModalDialog(dialog_);
    return *dialog_;
  }
  CDXUTListBox& List() { return *static_cast<CDXUTListBox*>(dialog_->GetControl(cDialogJednostek::kList)); }
  CDXUTCheckBox& Box(int id) { return *static_cast<CDXUTCheckBox*>(dialog_->GetControl(id)); }

  std::unique_ptr<test::TestWorld> world_;
  cDialogJednostek* dialog_ = nullptr;
};

TEST_F(UnitsWindowTest, UncheckingTheAirTypesEmptiesTheAirListAndIsKept) {
  world_->PlaceAirUnit(1, 2, 2);
  Open();
  static_cast<CDXUTTabFrame*>(dialog_->GetControl(cDialogJednostek::kBranchTabs))->SelectTab(1, true);
  ASSERT_EQ(dialog_->SelectedBranch(), cDialogJednostek::kAirBranch);
  EXPECT_EQ(List().GetSize(), 1);
  for (int box = 0; box < 3; ++box) Box(cDialogJednostek::kFirstAirType + box).SetCheckedState(false, true, true);
  EXPECT_EQ(UnitsManagerAirTypeFilter & 0x7u, 0u);
  EXPECT_EQ(List().GetSize(), 0);
  EXPECT_EQ(UnitsManagerLandTypeFilter, 0xFFFFFFFFu);
}

// Auto-centring acts on the map's units only: opened on the units to deploy,
// the box is neither shown nor toggled by its key.
TEST_F(UnitsWindowTest, OnTheDeployTabTheAutoCentreBoxIsOffAndItsKeyDoesNothing) {
  UnitsManagerDeployTab = 1;
  Open();
  EXPECT_FALSE(Box(cDialogJednostek::kAutoCenter).GetVisible());
  EXPECT_FALSE(Box(cDialogJednostek::kAutoCenter).GetEnabled());
  dialog_->OnKeyboard('A', true, false);
  EXPECT_EQ(UnitsManagerAutoCenter, 1);
  EXPECT_TRUE(Box(cDialogJednostek::kAutoCenter).GetChecked());
}

// The land type boxes open as the kept filter left them: here the first and third types only.
TEST_F(UnitsWindowTest, KeysWalkTheListToggleTheTypeBoxesAndEscapeCloses) {
  UnitsManagerLandTypeFilter = 0x5u;
  cJednostkaLadowa& armour = world_->PlaceLandUnit(1, 4, 3);
  armour.type = 2;
  cJednostkaLadowa& infantry = world_->PlaceLandUnit(1, 2, 5);
  infantry.type = 0;
  world_->PlaceLandUnit(1, 3, 2).type = 3;  // filtered out
  Open();
  for (int t = 0; t < 7; ++t) EXPECT_EQ(Box(cDialogJednostek::kFirstLandType + t).GetChecked(), t == 0 || t == 2) << t;
  ASSERT_EQ(List().GetSize(), 2);
  EXPECT_EQ(UnitsManagerCurrentUnit, &armour);
  dialog_->OnKeyboard(VK_DOWN, true, false);
  EXPECT_EQ(List().GetSelectedIndex(), 1);
  EXPECT_EQ(UnitsManagerCurrentUnit, &infantry);
  dialog_->OnKeyboard(VK_UP, true, false);
  EXPECT_EQ(List().GetSelectedIndex(), 0);
  EXPECT_EQ(UnitsManagerCurrentUnit, &armour);
  // 3 unticks the third type, which takes its unit off the list.
  dialog_->OnKeyboard('3', true, false);
  EXPECT_FALSE(Box(cDialogJednostek::kFirstLandType + 2).GetChecked());
  EXPECT_EQ(UnitsManagerLandTypeFilter & 0x7Fu, 0x1u);
  ASSERT_EQ(List().GetSize(), 1);
  EXPECT_EQ(UnitsManagerCurrentUnit, &infantry);
  dialog_->OnKeyboard(VK_ESCAPE, true, false);
  EXPECT_TRUE(ModalDialogStack.empty());
}

// Enter takes the player to the chosen unit's hex, ready to move it, and closes the window.
TEST_F(UnitsWindowTest, EnterSelectsTheChosenUnitsHexForAMove) {
  world_->PlaceLandUnit(1, 2, 5);
  cJednostkaLadowa& second = world_->PlaceLandUnit(1, 4, 3);
  Open();
  List().SelectItem(1, true);
  ASSERT_EQ(UnitsManagerCurrentUnit, &second);
  {
    // As the frame hands keys over: the closed window is freed after the dispatch.
    DispatchScope dispatch;
    dialog_->OnKeyboard(VK_RETURN, true, false);
  }
  EXPECT_EQ(game().playerControl.selectedHex, &world_->hex(4, 3));
  EXPECT_EQ(game().playerControl.actionMode, kActionMove);
  EXPECT_TRUE(ModalDialogStack.empty());
}

}  // namespace
}  // namespace tr
