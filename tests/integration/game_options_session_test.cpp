// The save, preferences and cheats dialogs in the real program over the
// sample's first turn: two saves from the pause menu listed in the save
// dialog, each preferences tab by F1, the cheats by F12. Screenshots of each
// stay in the build folder.
#include <gtest/gtest.h>

#include <filesystem>
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

class GameOptionsSessionTest : public test::GameSessionTest {
 protected:
  void Shot(const std::string& name) {
    // Dialogs fade in over their first frames.
    for (int i = 0; i < 40; ++i) Frame();
    EXPECT_TRUE(frame_->graphics().SaveScreenshot("game_options_" + name + ".png"));
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

TEST_F(GameOptionsSessionTest, SavePreferencesAndCheatsOverTheFirstTurn) {
  gDelays.fill(0.0f);
  const int exitCode = RunProgram([&] {
    cCountry* human = StartSampleWithFirstCountryHuman("game_options_settings_menu.png");
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
  });
  EXPECT_EQ(exitCode, 0);
}

}  // namespace
}  // namespace tr
