// The information and minimap panels and the date caption: what the panels
// show of the current country and the date, how the computer's phase changes
// their look, and where the worker's changes take the game lock.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <utility>

#include "app/input_routing.h"
#include "app/minimap_texture.h"
#include "dialogs/date_caption.h"
#include "dialogs/minimap_panel.h"
#include "dialogs/panel_informacyjny.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/gui_layout.h"
#include "foundation/string_base.h"
#include "foundation/string_base_file.h"
#include "gui/image.h"
#include "gui/static.h"
#include "support/log_capture.h"
#include "support/screen_fixture.h"
#include "support/temp_dir.h"
#include "support/world_builder.h"

namespace tr {
namespace {

class PanelTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    ASSERT_TRUE(LoadShippedLayout());
    world_ = std::make_unique<test::TestWorld>(4, 4, 2);
    game().playerControl.currentCountry = &world_->country(1);
    info_ = new cInfoPanel();
    minimap_ = new cMinimapPanel();
    gInfoPanel = info_;
    gMinimapPanel = minimap_;
  }
  void TearDown() override {
    DestroyGamePanels();
    world_.reset();
    ScreenFixture::TearDown();
  }
  cGame& game() { return world_->game(); }
  std::u16string Text(cDialog& panel, int id) {
    auto* label = static_cast<CDXUTStatic*>(panel.GetControlOfType(id, kControlStatic));
    return label != nullptr ? label->GetText() : u"<none>";
  }
  bool Visible(int id) { return info_->GetControl(id) != nullptr && info_->GetControl(id)->GetVisible(); }

  std::unique_ptr<test::TestWorld> world_;
  cInfoPanel* info_ = nullptr;
  cMinimapPanel* minimap_ = nullptr;
};

TEST_F(PanelTest, InformationPanelStartsWithDashesAHiddenFlagAndItsHints) {
  EXPECT_EQ(Text(*info_, cInfoPanel::kStatusLine), u"-");
  EXPECT_EQ(Text(*info_, cInfoPanel::kProductionPoints), u"-");
  EXPECT_FALSE(Visible(cInfoPanel::kFlag));
  EXPECT_FALSE(Visible(cInfoPanel::kBusyImage));
  EXPECT_EQ(info_->GetControl(cInfoPanel::kProductionPoints)->GetHint(), GetText("infopanel_production_points_hint"));
  EXPECT_TRUE(info_->GetControl(cInfoPanel::kNuclearBombs)->GetEnabled());
  EXPECT_EQ(info_->GetControl(cInfoPanel::kUnitPanelToggle)->GetHotkey(), 'U');
  EXPECT_TRUE(info_->GetControl(cInfoPanel::kDiplomacyPanelToggle)->IsDraggable());
  EXPECT_EQ(info_->GetControl(343)->GetHint(), GetText("finish_turn"));
  // The last toolbar button, clickable over its layout record's 36 x 30 cell.
  CDXUTControl* hotkeys = info_->GetControl(344);
  ASSERT_NE(hotkeys, nullptr);
  EXPECT_EQ(hotkeys->GetHint(), GetText("open_hotkeys_screen"));
  EXPECT_EQ(hotkeys->GetBoundingBox(), (Rect{778, 706, 814, 736}));
  EXPECT_FALSE(info_->KeyboardInputEnabled());
  // The busy picture sits in the screen's bottom-right corner.
  EXPECT_EQ(info_->GetControl(cInfoPanel::kBusyImage)->GetBoundingBox(), (Rect{874, 618, 1024, 768}));
}

// The panel's backdrop and the toolbar's are cut from the skin by layout records 3 and 13.
TEST_F(PanelTest, TheBackdropsAreTheSkinPicturesTheLayoutNames) {
  for (const auto& [id, record] : {std::pair{292, 3}, std::pair{335, 13}}) {
    auto* image = static_cast<CDXUTImage*>(info_->GetControlOfType(id, kControlImage));
    ASSERT_NE(image, nullptr) << id;
    const sGuiLayoutEntry& source = sGuiLayoutTable[record];
    EXPECT_EQ(image->GetSourceRect(), (Rect{source.x, source.y, source.width, source.height})) << id;
  }
}

TEST_F(PanelTest, ToolbarCellsStackThreeStatesPerBand) {
  EXPECT_EQ(ToolbarCellSkin(0, 0, 100.0f, 50.0f, 30.0f, 20.0f), (Rect{100, 50, 130, 70}));
  EXPECT_EQ(ToolbarCellSkin(4, 0, 100.0f, 50.0f, 30.0f, 20.0f), (Rect{220, 50, 250, 70}));
  EXPECT_EQ(ToolbarCellSkin(3, 1, 100.0f, 50.0f, 30.0f, 20.0f), (Rect{190, 110, 220, 130}));
}

TEST_F(PanelTest, HumanCountryShowsItsPointsAndAComputerCountryOnlyItsFlagAndName) {
  cCountry& human = world_->country(1);
  human.humanControlled = 1;
  human.productionPoints = 180.6;
  human.diplomaticPoints = 20;
  human.strategicMovementPoints = 7;
  human.strategicMovementMax = 20;
  human.invasionPoints = 3;
  human.invasionPointsUsed = 6;
  human.nuclearBombs = 2;
  info_->Update();
  EXPECT_TRUE(Visible(cInfoPanel::kFlag));
  EXPECT_EQ(Text(*info_, cInfoPanel::kCountryName), u"Country1");
  EXPECT_EQ(Text(*info_, cInfoPanel::kProductionPoints), u"181");
  EXPECT_EQ(Text(*info_, cInfoPanel::kDiplomacyPoints), u"20");
  EXPECT_EQ(Text(*info_, cInfoPanel::kStrategicMovePoints), u"7/20");
  EXPECT_EQ(Text(*info_, cInfoPanel::kInvasionPoints), u"3/6");
  EXPECT_EQ(Text(*info_, cInfoPanel::kNuclearBombs), u"2");

  cCountry& computer = world_->country(2);
  computer.productionPoints = 999.0;
  game().playerControl.currentCountry = &computer;
  info_->Update();
  EXPECT_EQ(Text(*info_, cInfoPanel::kCountryName), u"Country2");
  EXPECT_EQ(Text(*info_, cInfoPanel::kProductionPoints), u"181");
  EXPECT_EQ(Text(*info_, cInfoPanel::kStrategicMovePoints), u"7/20");
}

TEST_F(PanelTest, BusyPictureShowsExactlyWhileDisabledAndAlternatesEvery200Ms) {
  info_->Disable();
  EXPECT_TRUE(Visible(cInfoPanel::kBusyImage));
  EXPECT_FALSE(info_->MouseInputEnabled());
  for (int toggle : {cInfoPanel::kUnitPanelToggle, cInfoPanel::kHexPanelToggle, cInfoPanel::kAttackPanelToggle,
                     cInfoPanel::kDiplomacyPanelToggle}) {
    EXPECT_FALSE(Visible(toggle)) << toggle;
  }
  EXPECT_TRUE(Visible(343));
  auto* busy = static_cast<CDXUTImage*>(info_->GetControl(cInfoPanel::kBusyImage));
  const int expected[] = {0, 200, 0, 200};
  for (int left : expected) {
    info_->Render(0.0f);
    EXPECT_EQ(busy->GetSourceRect(), (Rect{left, 1390, left + 200, 1590}));
    clock_.AdvanceMs(200);
    frame_->Tick();
  }
  info_->Enable();
  EXPECT_FALSE(Visible(cInfoPanel::kBusyImage));
  EXPECT_TRUE(Visible(cInfoPanel::kUnitPanelToggle));
  EXPECT_TRUE(info_->MouseInputEnabled());
  EXPECT_FALSE(info_->KeyboardInputEnabled());
}

struct LockCase {
  eGameState state;
  bool locked;
};
class StatusLineLockTest : public PanelTest, public testing::WithParamInterface<LockCase> {};

TEST_P(StatusLineLockTest, TheWorkersStatesSetTheTextUnderTheGameLock) {
  game().StoreGameState(GetParam().state);
  SetGameLockActive(true);
  test::LogCapture log;
  info_->SetStatusText(u"Moving...");
  EXPECT_EQ(Text(*info_, cInfoPanel::kStatusLine), u"Moving...");
  EXPECT_EQ(log.ContainsText(u"AC:panel_informacyjny:"), GetParam().locked);
  log.Clear();
  info_->Update();
  EXPECT_EQ(log.ContainsText(u"AC:panel_informacyjny:"), GetParam().locked);
  SetGameLockActive(false);
}

INSTANTIATE_TEST_SUITE_P(States, StatusLineLockTest,
                         testing::Values(LockCase{kGameComputerTurn, true}, LockCase{kGameEndOfImpulse, true},
                                         LockCase{kGameComputerMoving, true}, LockCase{kGameHumanIdle, false},
                                         LockCase{kGameHumanMoving, false}));

TEST_F(PanelTest, EachViewRectLeavesOneMinimapImageThatReportsClicks) {
  minimap_->SetViewRect({828, 600, 192, 120});
  minimap_->SetViewRect({830, 610, 180, 100});
  int images = 0;
  for (const auto& control : minimap_->Controls()) {
    images += control->GetID() == cMinimapPanel::kMinimapImage && control->GetType() == kControlImage ? 1 : 0;
  }
  EXPECT_EQ(images, 1);
  CDXUTControl* image = minimap_->GetControlOfType(cMinimapPanel::kMinimapImage, kControlImage);
  EXPECT_EQ(image->GetBoundingBox(), (Rect{830, 610, 1010, 710}));
  EXPECT_TRUE(image->GetEnabled());
  EXPECT_EQ(Text(*minimap_, cMinimapPanel::kDateCaption), GetText("-"));
}

// A map a hundred times wider than high fits the minimap as a strip one pixel high.
TEST_F(PanelTest, TheOwnershipLayerCoversAViewOnePixelHigh) {
  const sMinimapView saved = MinimapView();
  MinimapView() = FitMinimap(100, 1, 200, 2, {828, 600, 192, 120});
  ASSERT_EQ(MinimapView().rect, (std::array<std::int32_t, 4>{828, 659, 192, 1}));
  ASSERT_EQ(MinimapTexture().CreateEmpty(200, 2), S_OK);
  minimap_->SetViewRect(MinimapView().rect);
  recorder_.Clear();
  minimap_->Render(0.0f);
  const auto layer = std::find_if(recorder_.records().begin(), recorder_.records().end(), [](const DrawRecord& r) {
    return r.kind == DrawRecord::Kind::kSprite && r.texture == MinimapTexture().GetTexture();
  });
  EXPECT_NE(layer, recorder_.records().end());
  MinimapTexture().Release();
  MinimapView() = saved;
}

TEST_F(PanelTest, CollapsedPanelsDrawNothing) {
  minimap_->SetViewRect({828, 600, 192, 120});
  minimap_->SetMinimized(true);
  recorder_.Clear();
  minimap_->Render(0.0f);
  EXPECT_TRUE(recorder_.records().empty());
  minimap_->SetMinimized(false);
  minimap_->Render(0.0f);
  EXPECT_FALSE(recorder_.records().empty());
}

struct CaptionCase {
  const char* name;
  int turn;
  int turnsLeft;
  int gameDay;
  bool showsStartDay;
};
class DateCaptionTest : public PanelTest, public testing::WithParamInterface<CaptionCase> {};

TEST_P(DateCaptionTest, ShowsTheStartDayInTheFirstTurnAndTheGameDateLater) {
  cGame& g = game();
  g.turn = GetParam().turn;
  g.turnsLeft = GetParam().turnsLeft;
  g.gameDay = GetParam().gameDay;
  g.displayedMonth = 9;
  g.displayedYear = 1939;
  g.date = cGameDate{3, 10, 1940};
  const std::u16string date = GetParam().showsStartDay ? Format(u"3-%s-1939", GetText("september")) : g.date.Format();
  UpdateDateCaption(minimap_);
  EXPECT_EQ(Text(*minimap_, cMinimapPanel::kDateCaption),
            Format(GetText("%s_(turn_%i/%i)"), date, GetParam().turn, GetParam().turn + GetParam().turnsLeft));
}

INSTANTIATE_TEST_SUITE_P(Turns, DateCaptionTest,
                         testing::Values(CaptionCase{"FirstTurnStartDay", 1, 39, 3, true},
                                         CaptionCase{"FirstTurnWithoutStartDay", 1, 39, 0, false},
                                         CaptionCase{"LaterTurn", 5, 35, 3, false}),
                         [](const auto& info) { return info.param.name; });

TEST(DateCaptionText, WithTheEnglishTextsTheFirstTurnReadsAsAPlayerSeesIt) {
  std::vector<std::string> errors;
  for (const auto& entry : ParseStringBaseSource(
           test::ReadFileBytes(std::filesystem::path(TR_SOURCE_DIR) / "data/texts/lang_ENG.txt"), errors)) {
    if (entry.key == "september" || entry.key == "%s_(turn_%i/%i)") StringBase().SetText(entry.key, entry.text);
  }
  test::TestWorld world(2, 2, 1);
  cGame& game = world.game();
  game.turn = 1;
  game.turnsLeft = 35;
  game.gameDay = 3;
  game.displayedMonth = 9;
  game.displayedYear = 1939;
  EXPECT_EQ(DateCaptionText(game), u"3-September-1939 (turn 1/36)");
}

}  // namespace
}  // namespace tr
