// The save, preferences and cheats dialogs in the real program over the
// sample's first turn: two saves from the pause menu listed in the save
// dialog, each preferences tab by F1, the cheats by F12, at 1024x768, the
// smallest and the largest window. Screenshots of each stay in the build folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include <string>

#include "app/modal_stack.h"
#include "app/pause_menu.h"
#include "dialogs/cheats_dialog.h"
#include "dialogs/preferences_dialog.h"
#include "dialogs/save_game_dialog.h"
#include "dialogs/dialog_tekstowy.h"
#include "game_session.h"
#include "gui/edit_box.h"
#include "gui/list_box.h"
#include "gui/tab_frame.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

struct WindowSize {
  int width, height;
};

class GameOptionsSessionTest : public test::GameSessionTest, public testing::WithParamInterface<WindowSize> {
 protected:
  void SetUp() override {
    GameSessionTest::SetUp();
    const fs::path ini = folder_.path() / "Settings.ini";
    std::ifstream in(ini, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    for (const auto& [from, to] : {std::pair{std::string("ResolutionX = 1024"), "ResolutionX = " + std::to_string(GetParam().width)},
                                   std::pair{std::string("ResolutionY = 768"), "ResolutionY = " + std::to_string(GetParam().height)}}) {
      const std::size_t at = text.find(from);
      ASSERT_NE(at, std::string::npos);
      text.replace(at, from.size(), to);
    }
    std::ofstream(ini, std::ios::binary | std::ios::trunc) << text;
  }
  void Shot(const std::string& name) {
    // Dialogs fade in over their first frames.
    for (int i = 0; i < 40; ++i) Frame();
    EXPECT_TRUE(frame_->graphics().SaveScreenshot("game_options_" + std::to_string(GetParam().width) + "x" +
                                                  std::to_string(GetParam().height) + "_" + name + ".png"));
  }
  void SaveFromThePauseMenu(const std::u16string& name) {
    if (dynamic_cast<cDialogZapisuGry*>(TopDialog) == nullptr) {
      PressKey(VK_ESCAPE);
      ASSERT_NE(dynamic_cast<cPauseMenu*>(CurrentMenu), nullptr);
      Click(CurrentMenu->GetControl(273));
    }
    auto* dialog = dynamic_cast<cDialogZapisuGry*>(TopDialog);
    ASSERT_NE(dialog, nullptr);
    static_cast<CDXUTEditBox*>(dialog->GetControl(cDialogZapisuGry::kNameEdit))->SetText(name);
    Click(dialog->GetControl(cDialogZapisuGry::kSaveButton));
    // The save says it succeeded; OK comes back to the dialog.
    auto* told = dynamic_cast<cDialogTekstowy*>(TopDialog);
    ASSERT_NE(told, nullptr);
    Click(told->GetControl(told->okButtonId()));
    EXPECT_EQ(TopDialog, dialog);
  }
};

TEST_P(GameOptionsSessionTest, SavePreferencesAndCheatsOverTheFirstTurn) {
  gDelays.fill(0.0f);
  const int exitCode = RunProgram([&] {
    cCountry* human = StartSampleWithFirstCountryHuman("game_options_" + std::to_string(GetParam().width) + "_settings_menu.png");
    ASSERT_NE(human, nullptr);

    SaveFromThePauseMenu(u"First game");
    SaveFromThePauseMenu(u"Second game");
    auto* save = dynamic_cast<cDialogZapisuGry*>(TopDialog);
    ASSERT_NE(save, nullptr);
    auto* list = static_cast<CDXUTListBox*>(save->GetControl(cDialogZapisuGry::kList));
    ASSERT_EQ(list->GetSize(), 2);
    EXPECT_TRUE(fs::is_regular_file(folder_.path() / "data" / "save" / "Second game" / "Info.ini"));
    Shot("save_dialog");
    Click(save->GetControl(cDialogZapisuGry::kExitButton));
    EXPECT_EQ(TopDialog, nullptr);
    EXPECT_TRUE(HumanTurnOf(human));

    PressKey(VK_F1);
    auto* preferences = dynamic_cast<cDialogUstawien*>(TopDialog);
    ASSERT_NE(preferences, nullptr);
    auto* tabs = static_cast<CDXUTTabFrame*>(preferences->GetControl(cDialogUstawien::kTabs));
    ASSERT_EQ(tabs->Tabs().size(), 6u);
    const char* names[] = {"general", "gameplay", "units", "map", "interface", "audio"};
    for (int tab = 0; tab < 6; ++tab) {
      tabs->SelectTab(tab, true);
      Shot("preferences_" + std::string(names[tab]));
    }
    Click(preferences->GetControl(cDialogUstawien::kOkButton));
    EXPECT_EQ(TopDialog, nullptr);
    EXPECT_TRUE(HumanTurnOf(human));

    PressKey(VK_F12);
    auto* cheats = dynamic_cast<cDialogCheatow*>(TopDialog);
    ASSERT_NE(cheats, nullptr);
    EXPECT_EQ(cheats->country(), human);
    Shot("cheats");
    Click(cheats->GetControl(cDialogCheatow::kCloseButton));
    EXPECT_EQ(TopDialog, nullptr);
  }, GetParam().width, GetParam().height);
  EXPECT_EQ(exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, GameOptionsSessionTest,
                         testing::Values(WindowSize{1024, 768}, WindowSize{1280, 720}, WindowSize{1920, 1080}),
                         [](const testing::TestParamInfo<WindowSize>& info) {
                           return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

}  // namespace
}  // namespace tr
