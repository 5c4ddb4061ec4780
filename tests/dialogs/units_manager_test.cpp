// The units manager window on its own: the type filters of the air branch and
// the auto-centre box on the tab of units to deploy. Selecting, deploying and
// centring on the map are the application's, tested with it.
#include "dialogs/units_manager.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/modal_stack.h"
#include "gui/check_box.h"
#include "gui/list_box.h"
#include "gui/tab_frame.h"
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

}  // namespace
}  // namespace tr
