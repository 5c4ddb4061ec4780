// The real program started at every window size it ships a layout for: the
// main menu and the game screen of the sample scenario come up with every
// control of the menu and of the map-side panels inside the window.
// Screenshots of both stay in the build folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/mainmenu.h"
#include "app/input_routing.h"
#include "dialogs/panel_informacyjny.h"
#include "game_session.h"
#include "gui/control.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

struct WindowSize {
  int width, height;
};

class ScreenSizeTest : public test::GameSessionTest, public testing::WithParamInterface<WindowSize> {
 protected:
  void SetUp() override {
    GameSessionTest::SetUp();
    // The player's choice of size, as the preferences store it.
    const fs::path ini = folder_.path() / "Settings.ini";
    std::ifstream in(ini, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    Replace(text, "ResolutionX = 1024", "ResolutionX = " + std::to_string(GetParam().width));
    Replace(text, "ResolutionY = 768", "ResolutionY = " + std::to_string(GetParam().height));
    std::ofstream(ini, std::ios::binary | std::ios::trunc) << text;
  }

  static void Replace(std::string& text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
  }

  // Every control placed from the layout table lies inside the window.
  void ExpectInside(CDXUTDialog& dialog, const std::string& what) {
    const auto [width, height] = GetParam();
    for (const auto& control : dialog.Controls()) {
      if (control->GetID() >= 1500) continue;
      const Rect box = control->GetBoundingBox();
      EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= width && box.bottom <= height)
          << what << " control " << control->GetID() << " at " << box.left << "," << box.top << "-" << box.right
          << "," << box.bottom;
    }
  }

  std::string Shot(const std::string& screen) const {
    return "screen_size_" + std::to_string(GetParam().width) + "x" + std::to_string(GetParam().height) + "_" +
           screen + ".png";
  }
};

TEST_P(ScreenSizeTest, MainMenuAndGameScreenFitTheWindow) {
  const auto [width, height] = GetParam();
  const int exitCode = RunProgram(
      [&] {
        EXPECT_EQ(gScreenWidth, width);
        EXPECT_EQ(gScreenHeight, height);
        ASSERT_TRUE(FramesUntil([&] {
          frame_->Inject(RawInput::KeyDown(VK_SPACE));
          return dynamic_cast<cMainMenu*>(CurrentMenu) != nullptr;
        }));
        // The menu fades in over its first second.
        for (int i = 0; i < 70; ++i) Frame();
        EXPECT_TRUE(frame_->graphics().SaveScreenshot(Shot("main_menu")));
        ExpectInside(*CurrentMenu, "main menu");

        cCountry* human = StartSampleWithFirstCountryHuman(Shot("scenario_settings"));
        ASSERT_NE(human, nullptr);
        cInfoPanel* info = GetInfoPanel();
        ASSERT_NE(info, nullptr);
        // The panels that start collapsed are opened by their toolbar toggles.
        Click(info->GetControl(cInfoPanel::kHexPanelToggle));
        Click(info->GetControl(cInfoPanel::kAttackPanelToggle));
        Frame();
        EXPECT_TRUE(frame_->graphics().SaveScreenshot(Shot("game")));
        for (cDialog* panel : {gInfoPanel, gMinimapPanel, gHexPanel, gAttackPanel,
                               gUnitPanel, gDiplomacyPanel}) {
          if (panel != nullptr) ExpectInside(*panel, "panel " + std::to_string(panel->id));
        }
      },
      width, height);
  EXPECT_EQ(exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(Shipped, ScreenSizeTest,
                         testing::Values(WindowSize{1024, 768}, WindowSize{1280, 720}, WindowSize{1366, 768},
                                         WindowSize{1920, 1080}),
                         [](const testing::TestParamInfo<WindowSize>& info) {
                           return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

}  // namespace
}  // namespace tr
