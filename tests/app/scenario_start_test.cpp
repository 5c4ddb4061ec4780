// Starting the shipped sample scenario from the scenario menu: the game loader
// runs behind the loading menu, which shows every step, and the game starts.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/app_presentation.h"
#include "app/input_routing.h"
#include "app/scenario_menu.h"
#include "foundation/paths.h"
#include "gui/list_box.h"
#include "menu_fixture.h"
#include "support/log_capture.h"
#include "world/gra.h"

namespace tr {
namespace {

using ScenarioStartTest = test::MenuFixture;

TEST_F(ScenarioStartTest, StartLoadsTheSampleScenarioBehindTheLoadingMenuAndStartsTheGame) {
  const std::filesystem::path game = TR_GAME_DIR;
  ASSERT_TRUE(std::filesystem::exists(game / "data/scenarios/NorthernTide/Info.ini"));
  SetGameRoot(game);
  cAppPresentation port;
  ScopedPresentation scoped(port);
  InstallMenuCallbackSet();

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
  EXPECT_TRUE(log.ContainsText(u"Scenario settings menu not available yet"));
  EXPECT_TRUE(log.Contains(u"============== Enjoy your game :)"));
  EXPECT_TRUE(gGame->countries.front()->humanControlled);
  const eGameState state = gGame->GetGameState();
  // Play is under way: a human turn, a computer turn or the glide to the first view.
  EXPECT_TRUE(state == kGameHumanIdle || state == kGameComputerTurn || state == kGameCameraGlide)
      << static_cast<int>(state);
  // The game screen took over from the loading menu.
  EXPECT_EQ(CurrentMenu, nullptr);
  // Every progress step presented exactly one frame.
  int steps = 0;
  for (const std::u16string& line : log.lines()) steps += line.starts_with(u" Progress = ") ? 1 : 0;
  EXPECT_GT(steps, 0);
  EXPECT_EQ(recorder_.Count(DrawRecord::Kind::kClear), static_cast<std::size_t>(steps));
}

}  // namespace
}  // namespace tr
