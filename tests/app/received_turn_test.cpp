// A play-by-e-mail turn of the sample, handed over by the real saver and
// loaded through the real loader behind the scenario menu, damaged on its
// way: the turn is refused, the play-by-e-mail list comes back and the box
// names the damaged file of the turn. A turn written before the saves listed
// their files is told by what its tables say. One box shows at a time, and
// the menu behind it takes no click.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <string>

#include "app/modal_stack.h"
#include "app/scenario_menu.h"
#include "dialogs/dialog_tekstowy.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "gui/static.h"
#include "menu_fixture.h"
#include "scenario/pbem_player.h"
#include "scenario/save_game.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "turn/game_steps.h"
#include "world/game_start.h"
#include "world/gra.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

constexpr char16_t kTurnTemplate[] = u"data\\pbem\\Duel\\%s";
constexpr int kStartButton = 200;

class ReceivedTurnTest : public test::MenuFixture {
 protected:
  void SetUp() override {
    MenuFixture::SetUp();
    test::CopyBuiltScenario(folder_.path(), "NorthernTide");
    InstallGameSteps();
    // The turn as the hand-over writes it.
    SeedRandom(19450508);
    cGame& game = *LoadNewScenario(u"data\\scenarios\\NorthernTide\\%s", 0);
    game.pbemGame = 1;
    game.pbemGameName = u"Duel";
    PushBackSetupRecord(game.pbemPlayers, 1, u"Ann", u"ann@example.org");
    PushBackSetupRecord(game.pbemPlayers, 2, u"Bob", u"bob@example.org");
    ASSERT_TRUE(game.saveContext->SavePbemGame(u"Duel"));
    DestroyGame();
  }
  void TearDown() override {
    UninstallGameSteps();
    MenuFixture::TearDown();
  }
  // Keeps a copy of the turn as it is now; the function returned puts it back.
  std::function<void()> KeepTurn() const {
    const fs::path kept = folder_.path() / "kept";
    fs::remove_all(kept);
    fs::copy(Turn(), kept, fs::copy_options::recursive);
    return [this, kept] {
      fs::remove_all(Turn());
      fs::copy(kept, Turn(), fs::copy_options::recursive);
    };
  }

  fs::path Turn(const char* file = nullptr) const {
    const fs::path folder = folder_.path() / "data/pbem/Duel";
    return file != nullptr ? folder / file : folder;
  }
  void Cut(const char* file, std::size_t size) {
    std::string bytes = test::ReadFileBytes(Turn(file));
    ASSERT_LT(size, bytes.size());
    bytes.resize(size);
    std::ofstream(Turn(file), std::ios::binary | std::ios::trunc) << bytes;
  }
  // Cuts the table after its last line that ends before `lines` more.
  void CutRowsOff(const char* file, int lines) {
    const std::string bytes = test::ReadFileBytes(Turn(file));
    std::size_t end = bytes.size() - 1;
    for (int i = 0; i < lines; ++i) end = bytes.rfind('\n', end - 1);
    Cut(file, end + 1);
  }
  // Cuts the table after its first `lines` lines.
  void KeepLines(const char* file, int lines) {
    const std::string bytes = test::ReadFileBytes(Turn(file));
    std::size_t end = 0;
    for (int i = 0; i < lines; ++i) end = bytes.find('\n', end) + 1;
    Cut(file, end);
  }
  // The received turn started from the play-by-e-mail list, as its row's start does.
  static void LoadTurn() { RunGameLoader(sLaunchRecord{kTurnTemplate, 1}); }
  static std::u16string BoxText(int line) {
    auto* box = dynamic_cast<cDialogTekstowy*>(TopDialog);
    if (box == nullptr) return u"(no box)";
    const auto* text = static_cast<const CDXUTStatic*>(box->GetControlOfType(box->layoutBase() + line, kControlStatic));
    return text != nullptr ? text->GetText() : u"(no text)";
  }
  // The turn was refused and the box names the file and says why.
  static void ExpectRefusedNaming(std::u16string_view file, std::u16string_view why) {
    EXPECT_EQ(gGame, nullptr);
    auto* menu = dynamic_cast<cScenarioMenu*>(CurrentMenu);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->listMode(), cScenarioMenu::kPbemGame);
    EXPECT_EQ(ModalDialogStack.size(), 1u);
    EXPECT_EQ(BoxText(1), GetText("pbem_turn_not_loaded_title"));
    const std::u16string text = BoxText(3);
    EXPECT_NE(text.find(u"data\\pbem\\Duel\\" + std::u16string(file)), std::u16string::npos) << Utf16ToUtf8(text);
    EXPECT_NE(text.find(why), std::u16string::npos) << Utf16ToUtf8(text);
    EXPECT_EQ(text.find(u"Exiting"), std::u16string::npos) << Utf16ToUtf8(text);
    EXPECT_EQ(text.find(GetText("pbem_turn_not_loaded_see_log")), std::u16string::npos) << Utf16ToUtf8(text);
  }
};

// The sound turn beside the damaged ones: it loads.
TEST_F(ReceivedTurnTest, TheTurnAsHandedOverLoads) {
  test::LogCapture log;
  LoadTurn();
  ASSERT_NE(gGame, nullptr);
  EXPECT_TRUE(ModalDialogStack.empty());
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
}

// The cuts of the report: inside the header of the land units and of the
// air units; a row's end, which no text check can tell; a file gone, and a
// byte changed.
TEST_F(ReceivedTurnTest, ACutOrChangedTurnIsRefusedNamingTheFile) {
  const auto restore = KeepTurn();
  Cut("land_units.csv", 300);
  LoadTurn();
  ExpectRefusedNaming(u"land_units.csv", u"holds 300 bytes, not the ");
  restore();
  Cut("air_units.csv", 299);
  LoadTurn();
  ExpectRefusedNaming(u"air_units.csv", u"holds 299 bytes, not the ");
  restore();
  CutRowsOff("naval_units.csv", 1);
  LoadTurn();
  ExpectRefusedNaming(u"naval_units.csv", u"(cut short?)");
  restore();
  fs::remove(Turn("air_units.csv"));
  LoadTurn();
  ExpectRefusedNaming(u"air_units.csv", u"is missing, though the save was written with it");
  restore();
  std::string relations = test::ReadFileBytes(Turn("relations.csv"));
  relations[relations.size() - 4] ^= 0x01;
  std::ofstream(Turn("relations.csv"), std::ios::binary | std::ios::trunc) << relations;
  LoadTurn();
  ExpectRefusedNaming(u"relations.csv", u"holds other bytes than it was written with");
  restore();
  CutRowsOff("file_digests.csv", 1);
  LoadTurn();
  ExpectRefusedNaming(u"file_digests.csv", u"does not end with its closing line");
}

// A turn from before the list: what its tables say names the file of the
// turn, not only the log, and not a file of the scenario.
TEST_F(ReceivedTurnTest, AnOlderTurnIsRefusedNamingItsOwnFile) {
  test::MakeOlderSave(Turn());
  const auto restore = KeepTurn();
  fs::remove(Turn("air_units.csv"));
  LoadTurn();
  ExpectRefusedNaming(u"air_units.csv", u"is missing; the game is not loaded");
  restore();
  CutRowsOff("countries.csv", 1);
  LoadTurn();
  ExpectRefusedNaming(u"countries.csv", u"countries (cut short?); the game is not loaded");
  restore();
  // Up to the cities the scenario's diagram links first.
  KeepLines("cities.csv", 6);
  LoadTurn();
  ExpectRefusedNaming(u"cities.csv", u"which the scenario's data\\scenarios\\NorthernTide\\cities_diagram.csv links");
}

// The menu behind the box takes no click, so its start cannot load the turn
// again under the box; a second refusal replaces the first box.
TEST_F(ReceivedTurnTest, OneBoxAtATimeAndTheMenuBehindItTakesNoClick) {
  Cut("land_units.csv", 300);
  test::LogCapture log;
  LoadTurn();
  ASSERT_EQ(ModalDialogStack.size(), 1u);
  cDialog* box = TopDialog;
  auto* menu = dynamic_cast<cScenarioMenu*>(CurrentMenu);
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->RowTemplate(0), kTurnTemplate);
  ClickControl(kStartButton);
  EXPECT_EQ(CurrentMenu, menu);
  EXPECT_EQ(TopDialog, box);
  EXPECT_EQ(ModalDialogStack.size(), 1u);
  LoadTurn();
  EXPECT_EQ(ModalDialogStack.size(), 1u);
  ExpectRefusedNaming(u"land_units.csv", u"holds 300 bytes, not the ");
  int refusals = 0;
  for (const std::u16string& line : log.lines()) {
    refusals += line.find(u"is not loaded; back to the menus") != std::u16string::npos ? 1 : 0;
  }
  EXPECT_EQ(refusals, 2);
}

}  // namespace
}  // namespace tr
