// Starting the shipped sample scenario from the scenario menu: the game loader
// runs behind the loading menu, which shows every step; the scenario settings
// menu follows (its screenshot is kept in the build folder), and its start
// hands the game over to play with the country the player chose.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/app_presentation.h"
#include "app/device_objects.h"
#include "app/input_routing.h"
#include "app/scenario_menu.h"
#include "app/scenario_settings_menu.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "foundation/string_base_file.h"
#include "gui/check_box.h"
#include "gui/list_box.h"
#include "gui/resource_cache.h"
#include "gui/texture_holder.h"
#include "menu_fixture.h"
#include "platform/graphics.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "world/gra.h"

namespace tr {
namespace {

class ScenarioStartTest : public test::MenuFixture {
 protected:
  // A copy of the built game folder, so what the game writes (the events
  // listing, the autosave) never lands in the shared build folder.
  test::TempDir gameCopy_;

  // Only the settings menu's own texts, so later tests in this program still see other keys as themselves.
  static void LoadSettingsMenuTexts() {
    std::vector<std::string> errors;
    for (const sStringBaseEntry& entry : ParseStringBaseSource(
             test::ReadFileBytes(std::filesystem::path(TR_SOURCE_DIR) / "data/texts/lang_ENG.txt"), errors)) {
      for (const char* prefix : {"scenario_settings", "country_stats"}) {
        if (entry.key.starts_with(prefix)) StringBase().SetText(entry.key, entry.text);
      }
    }
  }
};

TEST_F(ScenarioStartTest, TheSampleScenarioLoadsIntoTheSettingsMenuAndStartsWithTheChosenCountry) {
  test::CopyBuiltScenario(gameCopy_.path(), "NorthernTide");
  const std::filesystem::path game = gameCopy_.path();
  ASSERT_TRUE(std::filesystem::exists(game / "data/scenarios/NorthernTide/Info.ini"));
  const std::filesystem::path listing = game / "data/scenarios/NorthernTide/events";
  std::filesystem::remove(listing);
  SetGameRoot(game);
  cAppPresentation port;
  ScopedPresentation scoped(port);
  InstallMenuCallbackSet();
  LoadSettingsMenuTexts();
  // The shipped skin, for the screenshot.
  GetGuiResourceCache().Clear();
  GetGuiResourceCache().OnCreateDevice(&frame_->graphics());
  GlobalTextureRecord(kTextureGuiSkin).Load(game / "data/gfx/GUI.png", TextureHolder::kModeFile, 1);

  auto* menu = new cScenarioMenu();
  CurrentMenu = menu;
  menu->FillLists();
  auto& list = *static_cast<CDXUTListBox*>(menu->GetControl(179));
  int row = -1;
  for (int i = 0; i < list.GetSize(); ++i) {
    if (menu->RowTemplate(i) == u"data\\scenarios\\NorthernTide\\%s") row = i;
  }
  ASSERT_GE(row, 0);
  list.SelectItem(row, true);

  test::LogCapture log;
  recorder_.Clear();
  MenuGuiEventCallback(GuiEventButtonClicked, 200, nullptr);

  ASSERT_NE(gGame, nullptr);
  EXPECT_TRUE(log.Contains(u"----- Loading -----"));
  EXPECT_TRUE(log.Contains(u" Progress = 100%"));
  EXPECT_TRUE(log.Contains(u"-- Loading new scenario done!"));
  // Every progress step presented exactly one frame.
  int steps = 0;
  for (const std::u16string& line : log.lines()) steps += line.starts_with(u" Progress = ") ? 1 : 0;
  EXPECT_GT(steps, 0);
  EXPECT_EQ(recorder_.Count(DrawRecord::Kind::kClear), static_cast<std::size_t>(steps));

  // The settings menu waits for the player with the game loaded.
  auto* settings = dynamic_cast<cScenarioSettingsMenu*>(CurrentMenu);
  ASSERT_NE(settings, nullptr);
  EXPECT_TRUE(log.Contains(u"Menu created"));
  EXPECT_EQ(gGame->GetGameState(), kGameLoaded);
  // The scenario author finds the readable listing beside the event file.
  EXPECT_NE(test::ReadFileBytes(listing).find("Title: The Amber Sea watch"), std::string::npos);
  auto& countries = *static_cast<CDXUTListBox*>(settings->GetControl(kCountryList));
  ASSERT_GT(countries.GetSize(), 1);

  Graphics& graphics = frame_->graphics();
  recorder_.Clear();
  for (int i = 0; i < 2; ++i) {
    graphics.Clear(0xFF000000u);
    CurrentMenu->Render(1.0f);
  }
  graphics.Present();
  EXPECT_TRUE(graphics.SaveScreenshot("menus_scenario_settings_screenshot.png"));
  EXPECT_NE(graphics.ReadPixel(4, 4), 0xFF000000u) << "the wallpaper covers the corners";
  EXPECT_NE(recorder_.FindText(u"Northern Tide 1939"), nullptr);
  EXPECT_NE(recorder_.FindText(settings->selectedCountry()->name), nullptr);
  EXPECT_NE(recorder_.FindText(GetText("scenario_settings_ok")), nullptr);
  GlobalTextureRecord(kTextureGuiSkin).Release();

  // The player takes the second country of the list and starts.
  countries.SelectItem(1, true);
  cCountry* chosen = settings->selectedCountry();
  ASSERT_NE(chosen, nullptr);
  ClickControl(kHumanRadio);
  ASSERT_EQ(chosen->humanControlled, 1);
  ClickControl(kStartButton);

  EXPECT_TRUE(log.Contains(u"============== Enjoy your game :)"));
  EXPECT_EQ(CurrentMenu, nullptr) << "the game screen took over";
  EXPECT_EQ(chosen->humanControlled, 1);
  const eGameState state = gGame->GetGameState();
  // Play is under way: a human turn, a computer turn or the glide to the first view.
  EXPECT_TRUE(state == kGameHumanIdle || state == kGameComputerTurn || state == kGameCameraGlide)
      << static_cast<int>(state);
}

}  // namespace
}  // namespace tr
