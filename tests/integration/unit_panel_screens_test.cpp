// The unit panel in the real program on the sample scenario, with Kaltheim
// the human country: the panel opened by its toggle shows an own unit with
// its actions and a foreign one without them; the commander icon opens the
// commander dialog, which Escape closes; the replacements dialog opens over
// the panel and Cancel closes it. Screenshots of each stay in the build folder.
#include <gtest/gtest.h>

#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "dialogs/commander_dialog.h"
#include "dialogs/panel_informacyjny.h"
#include "dialogs/replacements_dialog.h"
#include "dialogs/unit_panel.h"
#include "foundation/game_lock.h"
#include "foundation/settings.h"
#include "game_session.h"
#include "platform/codes.h"
#include "platform/graphics.h"
#include "units/jednostka_ladowa.h"
#include "world/gra.h"
#include "world/map_camera.h"

namespace tr {
namespace {

constexpr int kKaltheim = 1;

class UnitPanelScreensTest : public test::GameSessionTest {
 protected:
  void Script();

  cJednostkaLadowa* UnitOf(bool own) {
    GameLockGuard lock;
    for (auto& unit : gGame->landUnits) {
      if ((unit->owner == kKaltheim) == own && unit->type != kMulberryType && gGame->map->IsInside(unit->x, unit->y)) {
        return unit.get();
      }
    }
    return nullptr;
  }
  // Selects the unit's hex as a click on it would, with the view on it.
  void SelectUnit(cJednostkaLadowa& unit) {
    {
      GameLockGuard lock;
      unit.spotted = 1;
      CenterAtHex(*gGame->map, unit.x, unit.y, false);
      gGame->playerControl.SelectHex(unit.x, unit.y);
    }
    FadeIn();
  }
  void FadeIn() {
    for (int frame = 0; frame < 40; ++frame) Frame();
  }
};

void UnitPanelScreensTest::Script() {
  gDelays.fill(0.0f);
  cCountry* human = StartSampleWithFirstCountryHuman("unit_panel_settings_menu.png");
  ASSERT_NE(human, nullptr);
  cInfoPanel* info = GetInfoPanel();
  ASSERT_NE(info, nullptr);
  cUnitPanel* panel = GetUnitPanel();
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(panel->IsCollapsed());
  Click(info->GetControl(cInfoPanel::kUnitPanelToggle));
  EXPECT_FALSE(panel->IsCollapsed());

  cJednostkaLadowa* own = UnitOf(true);
  ASSERT_NE(own, nullptr);
  SelectUnit(*own);
  EXPECT_EQ(panel->shownUnit(), own);
  EXPECT_TRUE(panel->GetControl(cUnitPanel::kRename)->GetEnabled());
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("unit_panel_own_unit.png"));

  // The commander icon opens its dialog; Escape closes it and frees the panel.
  Click(panel->GetControl(cUnitPanel::kCommanderIcon));
  {
    // The click on the icon is not also a click on the map under it.
    GameLockGuard lock;
    EXPECT_EQ(gGame->playerControl.selectedHex, gGame->map->GetHex(own->x, own->y));
  }
  ASSERT_NE(dynamic_cast<cDialogDowodcow*>(TopDialog), nullptr);
  FadeIn();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("unit_panel_commander_dialog.png"));
  PressKey(VK_ESCAPE);
  EXPECT_EQ(TopDialog, nullptr);
  EXPECT_EQ(panel->pendingAction, cUnitPanel::kPendingNone);

  // The replacements dialog over a unit that lost a third of its strength.
  {
    GameLockGuard lock;
    own->strength = 60;
    auto* dialog = new cDialogUzupelnien(own);
    dialog->owner = panel;
    panel->pendingAction = cUnitPanel::kPendingReplacements;
    PushModalDialog(dialog);
  }
  FadeIn();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("unit_panel_replacements_dialog.png"));
  PressKey(VK_ESCAPE);
  EXPECT_EQ(TopDialog, nullptr);
  EXPECT_EQ(panel->pendingAction, cUnitPanel::kPendingNone);

  cJednostkaLadowa* foreign = UnitOf(false);
  ASSERT_NE(foreign, nullptr);
  SelectUnit(*foreign);
  EXPECT_EQ(panel->shownUnit(), foreign);
  EXPECT_FALSE(panel->GetControl(cUnitPanel::kRename)->GetEnabled());
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("unit_panel_foreign_unit.png"));
}

TEST_F(UnitPanelScreensTest, ShowsOwnAndForeignUnitsAndOpensItsDialogs) {
  EXPECT_EQ(RunProgram([&] { Script(); }), 0);
  EXPECT_EQ(gGame, nullptr);
}

}  // namespace
}  // namespace tr
