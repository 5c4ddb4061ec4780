// The unit panel in the real program on the sample scenario, with Kaltheim
// the human country: the panel opened by its toggle shows an own unit with
// its actions and a foreign one without them; the commander icon opens the
// commander dialog, which Escape closes; the replacements dialog opens over
// the panel and Cancel closes it; a plane's action button puts the action's
// prompt into the status line at once. Screenshots of each stay in the build folder.
#include <gtest/gtest.h>

#include <optional>

#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "dialogs/commander_dialog.h"
#include "dialogs/panel_informacyjny.h"
#include "dialogs/replacements_dialog.h"
#include "dialogs/unit_panel.h"
#include "gui/static.h"
#include "foundation/game_lock.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "game_session.h"
#include "platform/codes.h"
#include "platform/graphics.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
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

  // A plane chosen on the map is ready for a rebase; an action button of the
  // panel starts its own action, and the status line says so while the pointer
  // still rests on the button.
  cJednostkaLotnicza* plane = nullptr;
  {
    GameLockGuard lock;
    for (auto& unit : gGame->airUnits) {
      if (plane == nullptr && unit->owner == kKaltheim && gGame->map->IsInside(unit->x, unit->y)) plane = unit.get();
    }
    ASSERT_NE(plane, nullptr);
    CenterAtHex(*gGame->map, plane->x, plane->y, false);
  }
  FadeIn();
  ClickHex({plane->x, plane->y});
  FadeIn();
  const auto status = [&] {
    GameLockGuard lock;
    return static_cast<CDXUTStatic*>(info->GetControl(cInfoPanel::kStatusLine))->GetText();
  };
  EXPECT_EQ(status(), GetText("statusbar_hint_rebase_destination_hex"));
  ASSERT_EQ(panel->shownUnit(), plane);
  // The first of the plane's actions its panel offers.
  struct Action {
    int button, mode;
    const char* prompt;
  };
  std::optional<Action> offered;
  for (const Action& action :
       {Action{cUnitPanel::kBombardment, kActionBombardment, "statusbar_hint_bombardment_target_hex"},
        Action{cUnitPanel::kRecon, kActionRecon, "statusbar_hint_recon_hex"},
        Action{cUnitPanel::kAirFight, kActionAirFight, "statusbar_hint_air_fight_target_hex"}}) {
    if (!offered && panel->GetControl(action.button)->GetEnabled()) offered = action;
  }
  ASSERT_TRUE(offered.has_value()) << "the plane has no action to start";
  const Action chosen = *offered;
  Click(panel->GetControl(chosen.button));
  Frame();
  EXPECT_EQ(gGame->playerControl.actionMode, chosen.mode);
  EXPECT_EQ(status(), GetText(chosen.prompt));
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("unit_panel_action_prompt.png"));
  {
    GameLockGuard lock;
    gGame->playerControl.actionMode = kActionNone;
    gGame->playerControl.ClearSelection();
  }

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
