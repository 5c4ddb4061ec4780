// The main menu, the loading screen, the pause menu and the preferences
// screen: their controls, where their buttons lead and what they log.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/app_presentation.h"
#include "app/frame_render.h"
#include "app/input_routing.h"
#include "app/loading_menu.h"
#include "app/mainmenu.h"
#include "app/map_skin.h"
#include "app/menu_wallpaper.h"
#include "app/modal_stack.h"
#include "app/pause_menu.h"
#include "app/settings_menu.h"
#include "dialogs/dialog_base.h"
#include "dialogs/preferences_dialog.h"
#include "dialogs/save_game_dialog.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "gui/button.h"
#include "gui/progress_bar.h"
#include "gui/static.h"
#include "gui/texture_holder.h"
#include "menu_fixture.h"
#include "platform/graphics.h"
#include "platform/texture.h"
#include "support/log_capture.h"
#include "world/gra.h"

namespace tr {
namespace {

using MenuTest = test::MenuFixture;

void Click(int controlId) { MenuGuiEventCallback(GuiEventButtonClicked, controlId, nullptr); }

TEST_F(MenuTest, MainMenuTakesItsLayoutHintsAndVersionLine) {
  CurrentMenu = new cMainMenu();
  const struct {
    int id;
    const char* key;
  } buttons[] = {{71, "mainmenu_start"}, {72, "mainmenu_preferences"}, {73, "mainmenu_credits"}, {74, "mainmenu_exit"}};
  for (int id = 70; id <= 74; ++id) {
    const CDXUTControl* control = CurrentMenu->GetControl(id);
    ASSERT_NE(control, nullptr) << id;
    const sGuiLayoutEntry& at = sGuiLayoutTable[static_cast<std::size_t>(id)];
    EXPECT_EQ((Rect{control->x(), control->y(), control->width(), control->height()}),
              (Rect{at.x, at.y, at.width, at.height}))
        << id;
  }
  for (const auto& button : buttons) {
    const CDXUTControl* control = CurrentMenu->GetControl(button.id);
    EXPECT_EQ(control->GetHint(), GetText(std::string(button.key) + "_hint"));
  }
  const auto* version = static_cast<const CDXUTStatic*>(CurrentMenu->GetControlOfType(7001, kControlStatic));
  ASSERT_NE(version, nullptr);
  EXPECT_EQ((Rect{version->x(), version->y(), version->width(), version->height()}), (Rect{30, 738, 1024, 30}));
  EXPECT_EQ(version->GetText(), u"Tidereach v1.02");
  EXPECT_TRUE(CurrentMenu->GetVisible());
}

TEST_F(MenuTest, FirstMenuOnlySetsCallbacksAndTheNextDeletesIt) {
  test::LogCapture log;
  CurrentMenu = new cMainMenu();
  EXPECT_FALSE(log.Contains(u"-- Deleting old menu"));
  EXPECT_TRUE(log.Contains(u"-- Setting callbacks"));
  log.Clear();
  CurrentMenu = new cLoadingMenu();
  EXPECT_EQ(log.lines().front(), u"-- Deleting old menu");
}

// The wallpaper fills the window, whatever size the settings ask for, and is
// freed when the player goes on to the scenarios.
TEST_F(MenuTest, StartLeavesAFilledScenarioMenuFromInsideTheMainMenusHandler) {
  WriteInfo("scenarios", "Baltic", "[General_ENG]\r\nName=Baltic Gale\r\n");
  std::filesystem::create_directories(folder_.path() / "data/gfx");
  std::filesystem::copy_file(std::filesystem::path(TR_GAME_DIR) / "data/gfx/wallpaper_main.png",
                             folder_.path() / "data/gfx/wallpaper_main.png");
  struct KeptWidth {
    int width = gScreenWidth;
    ~KeptWidth() { gScreenWidth = width; }
  } kept;
  gScreenWidth = 800;
  auto* main = new cMainMenu();
  CurrentMenu = main;
  ASSERT_NE(MenuPicture(kMainMenuWallpaper).GetTexture(), nullptr);
  recorder_.Clear();
  OnFrameRender(frame_->graphics(), 0.0, 0.0f);
  bool filled = false;
  for (const DrawRecord& r : recorder_.records()) {
    filled = filled || (r.kind == DrawRecord::Kind::kSprite && r.dest == RectF{0, 0, 1024, 768});
  }
  EXPECT_TRUE(filled);
  Click(71);
  auto* scenarios = dynamic_cast<cScenarioMenu*>(CurrentMenu);
  ASSERT_NE(scenarios, nullptr);
  EXPECT_EQ(scenarios->RowTemplate(0), u"data\\scenarios\\Baltic\\%s");
  EXPECT_EQ(MenuPicture(kMainMenuWallpaper).GetTexture(), nullptr);
}

TEST_F(MenuTest, PreferencesOpenTheSettingsScreenWhoseOkComesBackToANewMainMenu) {
  auto* main = new cMainMenu();
  CurrentMenu = main;
  Click(72);
  ASSERT_NE(dynamic_cast<cSettingsMenu*>(CurrentMenu), nullptr);
  auto* preferences = dynamic_cast<cDialogUstawien*>(TopDialog);
  ASSERT_NE(preferences, nullptr);
  preferences->OnGUIEvent(GuiEventButtonClicked, cDialogUstawien::kOkButton, nullptr);
  EXPECT_EQ(TopDialog, nullptr);
  EXPECT_NE(dynamic_cast<cMainMenu*>(CurrentMenu), nullptr);
}

TEST_F(MenuTest, ExitClosesTheFrameAndCreditsWithoutTheirMovieSayWhy) {
  test::LogCapture log;
  CurrentMenu = new cMainMenu();
  Click(73);
  EXPECT_TRUE(log.Contains(u"Loading credits movie from datacredits.avi [FAILED]"));
  EXPECT_TRUE(CurrentMenu->GetVisible());
  EXPECT_FALSE(frame_->closing());
  Click(74);
  frame_->PumpEvents();
  EXPECT_TRUE(frame_->closing());
}

struct ProgressCase {
  int percent;
  int shown;
  const char16_t* line;
};
class LoadingProgressTest : public test::MenuFixture, public testing::WithParamInterface<ProgressCase> {};

TEST_P(LoadingProgressTest, ShowsTheClampedValueLogsTheGivenOneAndPresentsOneFrame) {
  auto* loading = new cLoadingMenu();
  CurrentMenu = loading;
  InstallMenuCallbackSet();
  test::LogCapture log;
  recorder_.Clear();
  loading->SetProgress(GetParam().percent);
  const auto* bar = static_cast<const CDXUTProgressBar*>(loading->GetControlOfType(263, kControlProgressBar));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->GetValue(), GetParam().shown);
  EXPECT_TRUE(log.Contains(GetParam().line));
  EXPECT_EQ(recorder_.Count(DrawRecord::Kind::kClear), 1u);
}

INSTANTIATE_TEST_SUITE_P(Values, LoadingProgressTest,
                         testing::Values(ProgressCase{150, 100, u" Progress = 150%"},
                                         ProgressCase{-5, 0, u" Progress = -5%"},
                                         ProgressCase{35, 35, u" Progress = 35%"}));

TEST_F(MenuTest, TheLoadersProgressReachesTheLoadingMenuThroughTheAppPort) {
  cAppPresentation port;
  auto* loading = new cLoadingMenu();
  CurrentMenu = loading;
  port.SetLoadingProgress(45);
  EXPECT_EQ(static_cast<CDXUTProgressBar*>(loading->GetControl(263))->GetValue(), 45);
  CurrentMenu = new cMainMenu();
  port.SetLoadingProgress(50);  // no loading menu: nothing to show, nothing breaks
}

TEST_F(MenuTest, TheLoadersLastStepReleasesTheLoadingWallpaperAndShowsNoSettingsMenuWithoutAGame) {
  const std::uint32_t texels[4] = {0xFF102030u, 0xFF102030u, 0xFF102030u, 0xFF102030u};
  ASSERT_TRUE(SavePng(folder_.path() / "data/gfx/wallpaper_loading.png", texels, 2, 2, 2));
  CurrentMenu = new cLoadingMenu();
  ASSERT_NE(MenuPicture(kLoadingWallpaper).GetTexture(), nullptr);
  test::LogCapture log;
  cAppPresentation port;
  port.ShowScenarioSettingsMenu();
  EXPECT_EQ(log.lines().front(), u"Creating next menu");
  EXPECT_EQ(MenuPicture(kLoadingWallpaper).GetTexture(), nullptr);
  EXPECT_TRUE(log.Contains(u"No game loaded: the scenario settings menu is not shown"));
}

class PauseMenuTest : public test::MenuFixture {
 protected:
  void SetUp() override {
    MenuFixture::SetUp();
    scoped_ = std::make_unique<ScopedPresentation>(port_);
    gGame = new cGame();
    gGame->StoreGameState(kGameHumanIdle);
    InstallGameCallbackSet();
    sGameScreenHandlers handlers;
    handlers.keyboard = [this](std::uint32_t, bool, bool) { ++gameKeys_; };
    SetGameScreenHandlers(std::move(handlers));
  }
  void TearDown() override {
    MenuFixture::TearDown();
    scoped_.reset();
  }
  void PressKey() {
    frame_->Inject(RawInput::KeyDown('A'));
    frame_->PumpEvents();
  }
  cAppPresentation port_;
  std::unique_ptr<ScopedPresentation> scoped_;
  int gameKeys_ = 0;
};

TEST_F(PauseMenuTest, ResumeGivesStateSevenAndTheGameItsKeysBack) {
  CurrentMenu = new cPauseMenu();
  EXPECT_EQ(gGame->GetGameState(), kGamePaused);
  PressKey();
  EXPECT_EQ(gameKeys_, 0);
  Click(272);
  EXPECT_EQ(CurrentMenu, nullptr);
  EXPECT_EQ(gGame->GetGameState(), kGameHumanIdle);
  PressKey();
  EXPECT_EQ(gameKeys_, 1);
}

TEST_F(PauseMenuTest, OpeningClosesTheTopDialog) {
  PushModalDialog(new cDialog(700, RectFromSize(0, 0, 100, 100)));
  ASSERT_NE(TopDialog, nullptr);
  CurrentMenu = new cPauseMenu();
  EXPECT_EQ(TopDialog, nullptr);
}

// Save and Preferences leave the menu for their dialog; the game stays paused until the dialog resumes it.
TEST_F(PauseMenuTest, SaveAndPreferencesOpenTheirDialogOverThePausedGame) {
  for (const auto& [button, dialogId] : {std::pair{273, cDialogZapisuGry::kDialogId},
                                         std::pair{274, cDialogUstawien::kDialogId}}) {
    CurrentMenu = new cPauseMenu();
    Click(button);
    EXPECT_EQ(CurrentMenu, nullptr);
    ASSERT_NE(TopDialog, nullptr);
    EXPECT_EQ(TopDialog->id, dialogId);
    EXPECT_EQ(gGame->GetGameState(), kGamePaused);
    PopModalDialogs(-1);
  }
}

TEST_F(PauseMenuTest, PreferencesOkResumesThePausedGame) {
  CurrentMenu = new cPauseMenu();
  Click(274);
  auto* preferences = dynamic_cast<cDialogUstawien*>(TopDialog);
  ASSERT_NE(preferences, nullptr);
  preferences->OnGUIEvent(GuiEventButtonClicked, cDialogUstawien::kOkButton, nullptr);
  EXPECT_EQ(TopDialog, nullptr);
  EXPECT_EQ(gGame->GetGameState(), kGameHumanIdle);
}

// Every dialog of the game goes with it, also those the pause menu left under
// the one it closed.
TEST_F(PauseMenuTest, AbortDestroysTheGameAndItsDialogsAndShowsTheScenarioMenu) {
  for (int id : {700, 701, 702}) PushModalDialog(new cDialog(id, RectFromSize(0, 0, 100, 100)));
  CurrentMenu = new cPauseMenu();
  ASSERT_EQ(ModalDialogStack.size(), 2u);
  Click(275);
  EXPECT_EQ(gGame, nullptr);
  EXPECT_TRUE(ModalDialogStack.empty());
  EXPECT_EQ(TopDialog, nullptr);
  EXPECT_NE(dynamic_cast<cScenarioMenu*>(CurrentMenu), nullptr);
}

TEST_F(PauseMenuTest, ExitDestroysTheGameBeforeTheWindowCloses) {
  bool gameGoneAtClose = false;
  frame_->SetCloseHook([&] { gameGoneAtClose = gGame == nullptr; });
  CurrentMenu = new cPauseMenu();
  ASSERT_NE(CurrentMenu->GetControl(276), nullptr);
  ClickControl(276);
  frame_->PumpEvents();
  EXPECT_TRUE(gameGoneAtClose);
  EXPECT_TRUE(frame_->closing());
  EXPECT_EQ(CurrentMenu, nullptr);
}

// Opened from the main menu, before any game loaded the map skin, the
// screen loads the skin sheet its border previews are cut from, and shows
// its title over its own wallpaper.
TEST_F(MenuTest, SettingsMenuShowsItsCentredTitle) {
  const std::uint32_t texels[4] = {0xFF102030u, 0xFF102030u, 0xFF102030u, 0xFF102030u};
  std::filesystem::create_directories(folder_.path() / "data/gfx" / ("[MapSkin]" + Utf16ToUtf8(gMapSkin)));
  ASSERT_TRUE(SavePng(folder_.path() / "data/gfx" / ("[MapSkin]" + Utf16ToUtf8(gMapSkin)) / "others.png", texels, 2,
                      2, 2));
  std::filesystem::copy_file(std::filesystem::path(TR_GAME_DIR) / "data/gfx/wallpaper_preferences.png",
                             folder_.path() / "data/gfx/wallpaper_preferences.png");
  CurrentMenu = new cSettingsMenu();
  EXPECT_NE(MapSkinTextures().others.GetTexture(), nullptr);
  MapSkinTextures().others.Release();
  const auto* title = static_cast<const CDXUTStatic*>(CurrentMenu->GetControlOfType(80, kControlStatic));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->GetText(), GetText("pref_title"));
  EXPECT_EQ(title->GetTextElement(), 2);
  EXPECT_EQ(title->GetTextFormat(), DT_CENTER | DT_VCENTER);
  const Texture* wallpaper = MenuPicture(kPreferencesWallpaper).GetTexture();
  ASSERT_NE(wallpaper, nullptr);
  // The second frame, once the title's colour has faded in.
  OnFrameRender(frame_->graphics(), 1.0, 1.0f);
  recorder_.Clear();
  OnFrameRender(frame_->graphics(), 2.0, 1.0f);
  bool filled = false, titled = false;
  for (const DrawRecord& r : recorder_.records()) {
    filled = filled || (r.kind == DrawRecord::Kind::kSprite && r.texture == wallpaper &&
                        r.dest == RectF{0, 0, 1024, 768});
    titled = titled || (r.kind == DrawRecord::Kind::kText && r.text == GetText("pref_title") &&
                        r.dest == RectF{0, 24, 1024, 72});
  }
  EXPECT_TRUE(filled);
  EXPECT_TRUE(titled);
  ReleaseMenuPicture(kPreferencesWallpaper);
}

}  // namespace
}  // namespace tr
