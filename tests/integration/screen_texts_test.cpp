// Texts of the running game as the player sees them, through the real program
// on the shipped game folder: the date caption of the minimap panel, the hint
// of a toolbar button the pointer rests on (in the first turn and when the
// turn has come back), the game-over box down to its last line, and the date
// column of the saved-game list. Each must fit the place it is drawn in, in
// the font it is drawn with; screenshots of them stay in the build folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/framework.h"
#include "app/mainmenu.h"
#include "app/modal_stack.h"
#include "app/pause_menu.h"
#include "app/scenario_menu.h"
#include "dialogs/dialog_tekstowy.h"
#include "dialogs/minimap_panel.h"
#include "dialogs/panel.h"
#include "dialogs/panel_informacyjny.h"
#include "dialogs/small_dialogs.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "game_session.h"
#include "gui/hint_box.h"
#include "gui/list_box.h"
#include "gui/resource_cache.h"
#include "gui/static.h"
#include "gui/tab_frame.h"
#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/null_audio.h"
#include "turn/game_over.h"
#include "world/gra.h"

namespace tr {
namespace {

// The font a control's text element draws with.
const Font* TextFont(CDXUTControl& control, int element = 0) {
  const CDXUTDialog* dialog = control.GetDialog();
  const sSkinElement* skin = control.GetElement(element);
  if (dialog == nullptr || skin == nullptr) return nullptr;
  return GetGuiResourceCache().GetFont(dialog->GetFontIndex(skin->font_index));
}

class ScreenTextsTest : public test::GameSessionTest {
 protected:
  void Script();
  void Shot(const std::string& file) {
    Frame();
    EXPECT_TRUE(frame_->graphics().SaveScreenshot(file));
  }
};

void ScreenTextsTest::Script() {
  gDelays.fill(0.0f);
  cCountry* human = StartSampleWithFirstCountryHuman("screen_texts_settings_menu.png");
  ASSERT_NE(human, nullptr);

  // The date caption, the longest month of the sample's calendar included.
  auto* caption = static_cast<CDXUTStatic*>(GetMinimapPanel()->GetControl(cMinimapPanel::kDateCaption));
  ASSERT_NE(caption, nullptr);
  const Font* captionFont = TextFont(*caption);
  ASSERT_NE(captionFont, nullptr);
  const Rect captionBox = caption->GetBoundingBox();
  Shot("screen_texts_date_caption.png");
  EXPECT_LE(captionFont->TextWidth(caption->GetText()), captionBox.width()) << Utf16ToUtf8(caption->GetText());
  const std::u16string longest =
      Format(GetText("%s_(turn_%i/%i)"), Format(u"21-%s-1941", GetText("september")), 72, 72);
  EXPECT_LE(captionFont->TextWidth(longest), captionBox.width()) << Utf16ToUtf8(longest);

  // The pointer rests on the end-of-turn button past the hint delay, in the
  // first turn and again when the turn has come back.
  for (int turn = 0; turn < 2; ++turn) {
    if (turn == 1) {
      ASSERT_TRUE(EndTurnUntilItComesBack(human));
      if (dynamic_cast<cDialogNowejTury*>(TopDialog) != nullptr) PressKey(VK_RETURN);
      ASSERT_EQ(TopDialog, nullptr);
    }
    CDXUTControl* endTurn = GetInfoPanel()->GetControl(343);
    ASSERT_NE(endTurn, nullptr);
    const Rect button = endTurn->GetBoundingBox();
    // From the map down onto the button, as a hand moves.
    const int x = (button.left + button.right) / 2;
    for (int y = 400; y <= (button.top + button.bottom) / 2; y += 20) {
      frame_->Inject(RawInput::MouseMove(x, y));
      Frame();
    }
    frame_->Inject(RawInput::MouseMove(x, (button.top + button.bottom) / 2));
    for (int i = 0; i < 100; ++i) Frame();
    EXPECT_EQ(GetHintBox().GetText(), GetText("finish_turn")) << "turn " << turn;
    Shot("screen_texts_toolbar_hint_" + std::to_string(turn) + ".png");
  }

  // Time runs out: the game-over box comes up with its last line on it.
  {
    GameLockGuard lock;
    gGame->turnsLeft = 0;
    CheckGameOver(*gGame);
  }
  auto* box = dynamic_cast<cDialogTekstowy*>(TopDialog);
  ASSERT_NE(box, nullptr);
  // The box fades in.
  for (int i = 0; i < 60; ++i) Frame();
  Shot("screen_texts_game_over.png");
  auto* message = static_cast<CDXUTStatic*>(box->GetControl(box->layoutBase() + 3));
  ASSERT_NE(message, nullptr);
  EXPECT_TRUE(message->GetText().ends_with(GetText("___press_esc_to_finish")));
  const Font* messageFont = TextFont(*message);
  ASSERT_NE(messageFont, nullptr);
  Rect measured{0, 0, box->textRect().right, 0};
  messageFont->Measure(message->GetText(), -1, &measured, DT_WORDBREAK | DT_CALCRECT);
  EXPECT_LE(measured.height(), box->textRect().bottom);
  EXPECT_LE(box->dialogRect().top + box->dialogRect().bottom, frame_->height());
  PressKey(VK_ESCAPE);
  EXPECT_EQ(TopDialog, nullptr);
}

TEST_F(ScreenTextsTest, TheRunningGamesTextsFitWhereTheyAreDrawn) {
  EXPECT_EQ(RunProgram([&] { Script(); }), 0);
}

// A saved game in the list: its date fits the date column.
TEST_F(ScreenTextsTest, TheSavedGameListShowsTheWholeDate) {
  std::filesystem::create_directories(folder_.path() / "data/save/Quick");
  std::ofstream(folder_.path() / "data/save/Quick/Info.ini")
      << "[General_ENG]\r\nName = Northern Tide 1939\r\n[Save]\r\nDate = 28.12.30 20:58\r\n";
  EXPECT_EQ(RunProgram([&] {
    ASSERT_TRUE(FramesUntil([&] {
      frame_->Inject(RawInput::KeyDown(VK_SPACE));
      return dynamic_cast<cMainMenu*>(CurrentMenu) != nullptr;
    }));
    Click(CurrentMenu->GetControl(71));
    auto* menu = dynamic_cast<cScenarioMenu*>(CurrentMenu);
    ASSERT_NE(menu, nullptr);
    // The saved games' tab, as its header reports a click.
    static_cast<CDXUTTabFrame*>(menu->GetControl(178))->SelectTab(cScenarioMenu::kSavedGame, false);
    MenuGuiEventCallback(GuiEventTabSelected, 178, nullptr);
    auto* list = static_cast<CDXUTListBox*>(menu->GetControl(179));
    ASSERT_EQ(list->GetSize(), 1);
    list->SelectItem(0, true);
    // The menu fades in.
    for (int i = 0; i < 60; ++i) Frame();
    Shot("screen_texts_saved_games.png");
    const Font* font = TextFont(*list);
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(list->GetColumns().size(), 3u);
    EXPECT_LE(font->TextWidth(u"28.12.30 20:58"), list->GetColumns()[2].width);
    EXPECT_LE(font->TextWidth(u"--.--.-- --:--"), list->GetColumns()[2].width);
  }), 0);
}

}  // namespace
}  // namespace tr
