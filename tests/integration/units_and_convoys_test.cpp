// Through the real program on the sample scenario: P buys an infantry
// division, the turn passes until it is delivered, U on the to-deploy tab
// deploys it next to a city, C makes two convoys between the human
// country's ports; a save then loads with the unit and the convoys. The
// windows are kept as screenshots in the build folder.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "app/framework.h"
#include "app/game_mouse.h"
#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "dialogs/convoys_manager.h"
#include "dialogs/panel_informacyjny.h"
#include "dialogs/purchases_dialog.h"
#include "dialogs/small_dialogs.h"
#include "dialogs/units_manager.h"
#include "foundation/game_lock.h"
#include "foundation/gui_layout.h"
#include "foundation/random.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "game_session.h"
#include "gui/list_box.h"
#include "gui/static.h"
#include "platform/graphics.h"
#include "scenario/save_game.h"
#include "turn/convoy.h"
#include "turn/game_steps.h"
#include "units/jednostka_ladowa.h"
#include "world/game_start.h"
#include "world/gra.h"
#include "world/map_camera.h"

namespace tr {
namespace {

// The information panel along the foot of the screen, over the map.
constexpr int kInfoPanelEntry = 292;

class UnitsAndConvoysTest : public test::GameSessionTest {
 protected:
  void Script();

  void FadeIn() {
    for (int frame = 0; frame < 40; ++frame) Frame();
  }
  // The top dialog as the given kind, looked up afresh: a dialog may be closed
  // by any frame, so no pointer to one is kept across frames.
  template <typename Dialog>
  Dialog* Top() {
    GameLockGuard lock;
    return dynamic_cast<Dialog*>(TopDialog);
  }
  template <typename Dialog>
  bool TopShown() {
    GameLockGuard lock;
    const auto* dialog = dynamic_cast<Dialog*>(TopDialog);
    return dialog != nullptr && dialog->GetVisible();
  }
  int ActionMode() {
    GameLockGuard lock;
    return gGame->playerControl.actionMode;
  }
  // What a failed step met: the dialogs from the bottom (id, shown), the game state and the action mode.
  std::string Situation() {
    GameLockGuard lock;
    std::string text = "dialogs";
    for (const cDialog* dialog : ModalDialogStack) {
      text += ' ' + std::to_string(dialog->id) + (dialog->GetVisible() ? "" : "(hidden)");
    }
    return text + ", state " + std::to_string(static_cast<int>(gGame->GetGameState())) + ", action mode " +
           std::to_string(gGame->playerControl.actionMode);
  }

  int boughtId_ = 0;
  int convoyCount_ = 0;
  int human_ = 0;
};

void UnitsAndConvoysTest::Script() {
  // The computer countries' turn is only passed through: their moves need not be paced for the eye.
  gDelays.fill(0.0f);
  cCountry* human = StartSampleWithFirstCountryHuman("units_and_convoys_settings.png");
  ASSERT_NE(human, nullptr);
  human_ = human->id;

  // P: the shop opens on the land tab with the infantry division chosen.
  PressKey('P');
  auto* shop = Top<cDialogZakupow>();
  ASSERT_NE(shop, nullptr);
  FadeIn();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("purchases_land.png"));
  ASSERT_EQ(shop->SelectedItem(), kInfantryDivision);
  const std::size_t reserveBefore = gGame->reservePool.size();
  const double points = human->productionPoints;
  Click(shop->GetControl(cDialogZakupow::kBuyButton));
  ASSERT_EQ(gGame->reservePool.size(), reserveBefore + 1);
  boughtId_ = gGame->reservePool.back()->id;
  EXPECT_LT(human->productionPoints, points);
  for (int i = 0; i < 3; ++i) PressKey(VK_RIGHT);
  FadeIn();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("purchases_others.png"));
  PressKey(VK_ESCAPE);
  EXPECT_EQ(Top<cDialogZakupow>(), nullptr);

  // The division is delivered after a turn.
  ASSERT_TRUE(EndTurnUntilItComesBack(human));

  // U: every tab of the units manager, then the deployment. The new turn's
  // banner goes first.
  if (Top<cDialogNowejTury>() != nullptr) PressKey(VK_RETURN);
  ASSERT_EQ(Top<cDialogNowejTury>(), nullptr);
  PressKey('U');
  auto* units = Top<cDialogJednostek>();
  ASSERT_NE(units, nullptr) << Situation();
  if (UnitsManagerDeployTab != 0) PressKey('M');
  FadeIn();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("units_mgr_land_onmap.png"));
  PressKey(VK_RIGHT);
  FadeIn();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("units_mgr_air_onmap.png"));
  PressKey(VK_RIGHT);
  FadeIn();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("units_mgr_naval_onmap.png"));
  PressKey('D');
  FadeIn();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("units_mgr_naval_todeploy.png"));
  PressKey(VK_LEFT);
  FadeIn();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("units_mgr_air_todeploy.png"));
  PressKey(VK_LEFT);
  FadeIn();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("units_mgr_land_todeploy.png"));
  units = Top<cDialogJednostek>();
  ASSERT_NE(units, nullptr) << Situation();
  int row = -1;
  for (std::size_t i = 0; i < units->Rows().size(); ++i) {
    if (units->Rows()[i]->id == boughtId_) row = static_cast<int>(i);
  }
  ASSERT_GE(row, 0);
  for (int i = 0; i < row; ++i) PressKey(VK_DOWN);
  ASSERT_NE(UnitsManagerCurrentUnit, nullptr);
  ASSERT_EQ(UnitsManagerCurrentUnit->availableInTurns, 0);
  PressKey(VK_RETURN);
  ASSERT_NE(Top<cDialogJednostek>(), nullptr) << Situation();
  EXPECT_FALSE(TopShown<cDialogJednostek>());
  const std::optional<sPoint> place = MarkedHex(64);
  ASSERT_TRUE(place.has_value());
  CentreAndClickHex(*place);
  {
    GameLockGuard lock;
    const sHex* hex = gGame->map->GetHex(place->x, place->y);
    ASSERT_NE(hex->unit, nullptr);
    EXPECT_EQ(hex->unit->id, boughtId_);
  }
  EXPECT_TRUE(FramesUntil([&] { return TopShown<cDialogJednostek>(); })) << Situation();
  PressKey(VK_ESCAPE);
  EXPECT_EQ(Top<cDialogJednostek>(), nullptr);

  // C: two convoys, each by New and two ports on the map. Each port click
  // must have taken its step, and the manager is looked up afresh after it:
  // a click that misses its port may land on a toolbar button (the pause
  // button closes the manager) and must fail here, not read a freed dialog.
  PressKey('C');
  ASSERT_NE(Top<cDialogKonwojow>(), nullptr) << Situation();
  const std::size_t convoysBefore = gGame->convoys.ConvoysOf(human_).size();
  for (int made = 0; made < 2; ++made) {
    const auto* convoys = Top<cDialogKonwojow>();
    ASSERT_NE(convoys, nullptr) << Situation();
    Click(convoys->GetControl(cDialogKonwojow::kNewButton));
    ASSERT_NE(Top<cDialogKonwojow>(), nullptr) << Situation();
    ASSERT_FALSE(TopShown<cDialogKonwojow>());
    ASSERT_EQ(ActionMode(), kActionConvoyDeparture) << Situation();
    const std::optional<sPoint> from = MarkedHex(0x8000);
    ASSERT_TRUE(from.has_value());
    CentreAndClickHex(*from);
    ASSERT_EQ(ActionMode(), kActionConvoyDestination) << "the port of departure was not taken: " << Situation();
    ASSERT_FALSE(TopShown<cDialogKonwojow>()) << Situation();
    const std::optional<sPoint> to = MarkedHex(0x8000);
    ASSERT_TRUE(to.has_value());
    // The view goes to the marked destination: the country's one port's only
    // partner is an ally's far to the south.
    FramesUntil([&] {
      GameLockGuard lock;
      return gGame->map->camera.x == gGame->map->camera.targetX && gGame->map->camera.y == gGame->map->camera.targetY;
    });
    const auto [toX, toY] = ScreenPointOf(*to);
    EXPECT_TRUE(toX >= 0 && toX < gScreenWidth && toY >= 0 && toY < sGuiLayoutTable[kInfoPanelEntry].y)
        << "the marked destination (" << to->x << ", " << to->y << ") is off the view at " << toX << ", " << toY;
    CentreAndClickHex(*to);
    ASSERT_TRUE(TopShown<cDialogKonwojow>()) << Situation();
    // The convoy is made: the destination prompt goes, also while the pointer rests on the manager.
    Frame();
    {
      GameLockGuard lock;
      EXPECT_EQ(static_cast<CDXUTStatic*>(GetInfoPanel()->GetControl(cInfoPanel::kStatusLine))->GetText(),
                GetText("statusbar_hint_no_action"));
    }
    EXPECT_EQ(gGame->convoys.ConvoysOf(human_).size(), convoysBefore + made + 1);
  }
  convoyCount_ = static_cast<int>(gGame->convoys.ConvoysOf(human_).size());
  EXPECT_EQ(convoyCount_, static_cast<int>(convoysBefore) + 2);
  FadeIn();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("convoys_manager_two_convoys.png"));
  PressKey(VK_ESCAPE);

  GameLockGuard lock;
  EXPECT_TRUE(gGame->saveContext->SaveGame(u"unitsmgr", true));
}

TEST_F(UnitsAndConvoysTest, BuyDeployAndConvoysSurviveASave) {
  EXPECT_EQ(RunProgram([this] { Script(); }), 0);
  ASSERT_GT(boughtId_, 0);
  InstallGameSteps();
  SeedRandom(20110304);
  cGame* loaded = LoadNewScenario(u"data\\save\\unitsmgr\\%s", 1);
  ASSERT_NE(loaded, nullptr);
  bool found = false;
  for (const auto& unit : loaded->landUnits) found = found || (unit->id == boughtId_ && unit->owner == human_);
  EXPECT_TRUE(found);
  EXPECT_EQ(static_cast<int>(loaded->convoys.ConvoysOf(human_).size()), convoyCount_);
  delete loaded;
  gGame = nullptr;
  UninstallGameSteps();
}

}  // namespace
}  // namespace tr
