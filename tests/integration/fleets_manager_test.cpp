// The fleets manager through the real program on the sample, Kaltheim human:
// a click on the sea hex of the Hafenau transports opens it; with a unit
// embarked in a second transport fleet there it shows the cargo, selects
// both fleets, sends the transport fleet to the Northern Sea by a click on
// the marked zone and comes back; Escape closes it. The selected ship shows
// its type's picture. Opened again in the Northern Sea, it shows the sample's
// raider fleet active in its row and in its check box alike. Screenshots of the manager stay in the build folder.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "app/game_mouse.h"
#include "app/modal_stack.h"
#include "dialogs/dialog_flot.h"
#include "dialogs/panel_informacyjny.h"
#include "foundation/game_lock.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "game_session.h"
#include "text_fit.h"
#include "foundation/text.h"
#include "gui/check_box.h"
#include "gui/list_box.h"
#include "gui/static.h"
#include "platform/font.h"
#include "platform/graphics.h"
#include "turn/fleet.h"
#include "units/jednostka_ladowa.h"
#include "world/gra.h"
#include "world/map_camera.h"

namespace tr {
namespace {

constexpr int kKaltheim = 1;
constexpr int kHafenau = 9;        // the port node of the Hafenau transports
constexpr int kNorthernSea = 2;

class FleetsManagerTest : public test::GameSessionTest {
 protected:
  void Script();

  void CenterOn(sPoint hex) {
    {
      GameLockGuard lock;
      gZoomLevel = 0.1f;
      gGame->map->Zoom(0.0f, 0.0f, 0.0f);
      CenterAtHex(*gGame->map, hex.x, hex.y, false);
    }
    ASSERT_TRUE(FramesUntil([&] {
      GameLockGuard lock;
      const sMapCamera& camera = gGame->map->camera;
      return gDisplayedScale == gTargetScale && camera.x == camera.targetX && camera.y == camera.targetY;
    }));
  }
  cDialogFlot* Manager() { return dynamic_cast<cDialogFlot*>(TopDialog); }
  // A click on a row of one of the manager's lists, as the player makes it.
  void ClickRow(int listId, int row) {
    auto* list = static_cast<CDXUTListBox*>(Manager()->GetControl(listId));
    ASSERT_NE(list, nullptr);
    const Rect& text = list->GetTextRect();
    const int rowHeight = list->GetTextHeight();
    ClickAt((text.left + text.right) / 2, text.top + rowHeight * row + rowHeight / 2);
  }
  void FadeIn() {
    for (int frame = 0; frame < 40; ++frame) Frame();
  }
  bool Shown() {
    GameLockGuard lock;
    return Manager() != nullptr && Manager()->GetVisible();
  }
};

void FleetsManagerTest::Script() {
  gDelays.fill(0.0f);
  gDelays[kDelayHumanReconAfter] = 300.0f;
  test::LogCapture log;
  cCountry* human = StartSampleWithFirstCountryHuman("fleets_manager_settings_menu.png");
  ASSERT_NE(human, nullptr);
  ASSERT_EQ(human->id, kKaltheim);
  if (TopDialog != nullptr) PressKey(VK_RETURN);  // a new-turn banner
  ASSERT_EQ(TopDialog, nullptr);

  sPoint portSea{};
  sPoint northernSea{};
  cFleet* transports = nullptr;
  {
    GameLockGuard lock;
    cGame& game = *gGame;
    const sWezelGrafuMorz& port = game.seaGraph.GetNode(kHafenau - 1);
    portSea = {port.playerMarkerX, port.playerMarkerY};
    const sWezelGrafuMorz& sea = game.seaGraph.GetNode(kNorthernSea - 1);
    northernSea = {sea.x, sea.y};
    // A Kaltheim unit embarks at Hafenau, as the unit panel's loading does.
    cJednostkaLadowa* unit = nullptr;
    for (auto& land : game.landUnits) {
      if (land->owner == kKaltheim && land->type != kMulberryType && game.map->IsInside(land->x, land->y)) {
        unit = land.get();
        break;
      }
    }
    ASSERT_NE(unit, nullptr);
    transports = unit->EmbarkOnFleet(kCargoShip, kHafenau, 0);
    ASSERT_NE(transports, nullptr);
    game.seaGraph.CalculateNavalVisibilityAll(kKaltheim, false);
  }
  CenterOn(portSea);

  // The click on the port's sea hex opens the manager with the first fleet and its first ship.
  ClickHex(portSea);
  ASSERT_NE(Manager(), nullptr);
  EXPECT_EQ(Manager()->seaNode()->id, kHafenau);
  ASSERT_EQ(static_cast<CDXUTListBox*>(Manager()->GetControl(cDialogFlot::kFleetList))->GetSize(), 2);

  // The transport fleet with its cargo.
  ClickRow(cDialogFlot::kFleetList, 1);
  ASSERT_EQ(Manager()->selectedFleets().size(), 1u);
  EXPECT_EQ(Manager()->selectedFleets().front(), transports);
  ASSERT_EQ(Manager()->selectedShips().size(), 1u);
  EXPECT_NE(Manager()->selectedShips().front()->carriedUnit, nullptr);
  // The cargo ship's own picture, not the empty default one.
  EXPECT_TRUE(log.Contains(u"Loading file \"data\\gfx\\Units images\\44.png\" (1) [OK]"));
  FadeIn();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("fleets_manager_transport_with_cargo.png"));

  // Both fleets: the ship list empties.
  {
    GameLockGuard lock;
    auto* list = static_cast<CDXUTListBox*>(Manager()->GetControl(cDialogFlot::kFleetList));
    list->GetItem(0)->selected = true;
    list->GetItem(1)->selected = true;
    Manager()->OnGUIEvent(GuiEventListSelection, cDialogFlot::kFleetList, list);
  }
  EXPECT_EQ(Manager()->selectedFleets().size(), 2u);
  EXPECT_TRUE(Manager()->selectedShips().empty());
  FadeIn();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("fleets_manager_two_fleets_selected.png"));

  // The transport fleet alone sails to the Northern Sea.
  ClickRow(cDialogFlot::kFleetList, 1);
  ASSERT_EQ(Manager()->selectedFleets().size(), 1u);
  Click(Manager()->GetControl(cDialogFlot::kMoveFleet));
  {
    GameLockGuard lock;
    ASSERT_EQ(gGame->playerControl.actionMode, kActionFleetMove);
    ASSERT_NE(gGame->map->GetHex(northernSea.x, northernSea.y)->flags & 0x1FFFCu, 0u);
  }
  EXPECT_FALSE(Shown());
  CenterOn(northernSea);
  // A zone takes the fleet only at the hex with its name: the status line says which hex to click.
  Frame();
  {
    GameLockGuard lock;
    auto* status = static_cast<CDXUTStatic*>(GetInfoPanel()->GetControl(cInfoPanel::kStatusLine));
    EXPECT_EQ(status->GetText(), GetText("statusbar_hint_fleet_move_zone_name_hex"));
    const Font* font = test::ElementFont(*GetInfoPanel(), status->GetElement(status->GetTextElement()));
    ASSERT_NE(font, nullptr);
    EXPECT_LE(font->TextWidth(status->GetText()), status->GetBoundingBox().width());
  }
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("fleets_manager_move_prompt.png"));
  ClickHex(northernSea);
  {
    GameLockGuard lock;
    EXPECT_EQ(transports->seaNodeId, kNorthernSea);
    EXPECT_EQ(gGame->playerControl.actionMode, kActionNone);
  }
  ASSERT_TRUE(FramesUntil([&] { return Shown(); }));
  EXPECT_EQ(static_cast<CDXUTListBox*>(Manager()->GetControl(cDialogFlot::kFleetList))->GetSize(), 1);
  FadeIn();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("fleets_manager_after_move.png"));

  PressKey(VK_ESCAPE);
  EXPECT_EQ(TopDialog, nullptr);

  // In the Northern Sea the transports meet the wolf pack, a raider fleet the
  // sample starts active: its row and its check box say the same.
  sPoint ownShips{};
  {
    GameLockGuard lock;
    const sWezelGrafuMorz& sea = gGame->seaGraph.GetNode(kNorthernSea - 1);
    ownShips = {sea.playerMarkerX, sea.playerMarkerY};
  }
  CenterOn(ownShips);
  ClickHex(ownShips);
  ASSERT_NE(Manager(), nullptr);
  auto* fleets = static_cast<CDXUTListBox*>(Manager()->GetControl(cDialogFlot::kFleetList));
  int wolfPack = -1;
  for (int row = 0; row < fleets->GetSize(); ++row) {
    if (fleets->GetItem(row)->text.starts_with(u"Wolf Pack North;")) wolfPack = row;
  }
  ASSERT_GE(wolfPack, 0);
  ClickRow(cDialogFlot::kFleetList, wolfPack);
  ASSERT_EQ(Manager()->selectedFleets().size(), 1u);
  ASSERT_EQ(Manager()->selectedFleets().front()->formation, kFleetRaiders);
  const auto* active = static_cast<CDXUTCheckBox*>(Manager()->GetControl(cDialogFlot::kActiveBox));
  EXPECT_FALSE(Manager()->GetControlEnabled(cDialogFlot::kActiveBox));
  EXPECT_TRUE(fleets->GetItem(wolfPack)->text.ends_with(u";active;raiders"))
      << Utf16ToUtf8(fleets->GetItem(wolfPack)->text);
  EXPECT_TRUE(active->GetChecked());
  FadeIn();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("fleets_manager_raiders.png"));
  PressKey(VK_ESCAPE);
  EXPECT_EQ(TopDialog, nullptr);
}

TEST_F(FleetsManagerTest, OpenSelectSailAndCloseThroughTheProgram) {
  EXPECT_EQ(RunProgram([&] { Script(); }), 0);
  EXPECT_EQ(gGame, nullptr);
}

}  // namespace
}  // namespace tr
