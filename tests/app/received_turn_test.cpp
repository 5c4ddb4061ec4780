// A play-by-e-mail turn of the sample, handed over by the real saver and
// loaded through the real loader behind the scenario menu, damaged on its
// way: the turn is refused, the play-by-e-mail list comes back and the box
// names the damaged file of the turn. A turn written before the saves listed
// their files is told by what its tables say. One box shows at a time, and
// the menu behind it takes no click. The player's own saves, the pause
// menu's Save among them, started from the "Saved game" list: none ends the
// program; a changed one may be loaded as it is; the list keeps its row.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "app/app_presentation.h"
#include "app/changed_save_box.h"
#include "app/game_frame_move.h"
#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "app/pause_menu.h"
#include "app/scenario_menu.h"
#include "dialogs/dialog_tekstowy.h"
#include "dialogs/save_game_dialog.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "gui/button.h"
#include "gui/edit_box.h"
#include "gui/list_box.h"
#include "gui/static.h"
#include "menu_fixture.h"
#include "scenario/pbem_player.h"
#include "scenario/save_game.h"
#include "scenario/save_manifest.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "turn/game_steps.h"
#include "units/jednostka_ladowa.h"
#include "world/game_start.h"
#include "world/gra.h"
#include "world/hex_distance.h"
#include "world/presentation.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

constexpr char16_t kTurnTemplate[] = u"data\\pbem\\Duel\\%s";
constexpr int kStartButton = 200;

// The first two land units of the game that stand on a hex (the second null if there is no second).
std::array<const cJednostkaLadowa*, 2> FirstTwoPlaced(const cGame& game) {
  std::array<const cJednostkaLadowa*, 2> placed = {};
  for (const auto& unit : game.landUnits) {
    if (placed[1] == nullptr && game.map->GetHex(unit->x, unit->y)->unit == unit.get()) {
      placed[placed[0] == nullptr ? 0 : 1] = unit.get();
    }
  }
  return placed;
}

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
  static std::u16string SelectedTemplate() {
    auto* menu = dynamic_cast<cScenarioMenu*>(CurrentMenu);
    if (menu == nullptr) return u"(no scenario menu)";
    const auto* list = static_cast<CDXUTListBox*>(menu->GetControlOfType(179, kControlListBox));
    return menu->RowTemplate(list->GetSelectedIndex());
  }
  // The turn was refused and the box names the file and says why.
  static void ExpectRefusedNaming(std::u16string_view file, std::u16string_view why,
                                  const char* adviceKey = "pbem_turn_not_loaded_%s_%s") {
    EXPECT_EQ(gGame, nullptr);
    auto* menu = dynamic_cast<cScenarioMenu*>(CurrentMenu);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->listMode(), cScenarioMenu::kPbemGame);
    EXPECT_EQ(ModalDialogStack.size(), 1u);
    // Another machine's turn is asked for again, never loaded as it came.
    EXPECT_EQ(dynamic_cast<cChangedSaveBox*>(TopDialog), nullptr);
    EXPECT_EQ(BoxText(1), GetText("pbem_turn_not_loaded_title"));
    const std::u16string text = BoxText(3);
    // Paths read as the player finds them on this system.
    EXPECT_NE(text.find(ShownPath(u"data\\pbem\\Duel\\") + std::u16string(file)), std::u16string::npos)
        << Utf16ToUtf8(text);
    EXPECT_EQ(text.find(u'\\'), std::u16string::npos) << Utf16ToUtf8(text);
    EXPECT_NE(text.find(ShownPath(why)), std::u16string::npos) << Utf16ToUtf8(text);
    EXPECT_EQ(text.find(u"Exiting"), std::u16string::npos) << Utf16ToUtf8(text);
    // The player is told what is wrong, not which key of a file holds it.
    EXPECT_EQ(text.find(u"Save/"), std::u16string::npos) << Utf16ToUtf8(text);
    EXPECT_EQ(text.find(GetText("pbem_turn_not_loaded_see_log")), std::u16string::npos) << Utf16ToUtf8(text);
    ExpectTheBoxOf(text, adviceKey, u"data\\pbem\\Duel");
  }
  // The box's own words around the reason: what the player can do for that cause.
  static void ExpectTheBoxOf(std::u16string_view text, const char* key, std::u16string_view folder) {
    const std::u16string around = Format(GetText(key), ShownPath(folder), u"\x01");
    const std::size_t reason = around.find(u'\x01');
    ASSERT_NE(reason, std::u16string::npos) << key;
    EXPECT_TRUE(text.starts_with(around.substr(0, reason))) << key << ": " << Utf16ToUtf8(text);
    EXPECT_TRUE(text.ends_with(around.substr(reason + 1))) << key << ": " << Utf16ToUtf8(text);
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

// Once nothing is shown the game goes back to the menus, on the list its end
// asked for: the new games after the war's end, the play-by-e-mail list after
// a hand-over. A box held for the game's next turn is shown as the game goes,
// and never again in the menus or the next game.
TEST_F(ReceivedTurnTest, TheMenusComeBackOnTheListTheGameAskedFor) {
  cAppPresentation port;
  cHeadlessPresentation shown;
  ScopedPresentation scoped(shown);
  for (const auto& [handedOver, list] :
       {std::pair{false, cScenarioMenu::kNewGame}, std::pair{true, cScenarioMenu::kPbemGame}}) {
    LoadTurn();
    ASSERT_NE(gGame, nullptr);
    DeleteCurrentMenu();
    HoldBoxForNextTurn(u"Held", u"A box for the next turn", u"A box for a game left");
    if (handedOver) {
      RequestReturnToMenusList(cScenarioMenu::kPbemGame);
    } else {
      port.RequestReturnToMenus();
    }
    ASSERT_TRUE(ReturnToMenusRequested()) << handedOver;
    shown.ClearEvents();
    MoveGameFrame(frame_->graphics(), 10.0, 0.0f);
    EXPECT_EQ(gGame, nullptr);
    EXPECT_EQ(shown.CountEvents(u"message-box "), 1) << handedOver;
    EXPECT_EQ(shown.events().back(), u"message-box Held|A box for a game left") << handedOver;
    EXPECT_FALSE(ReturnToMenusRequested());
    auto* menu = dynamic_cast<cScenarioMenu*>(CurrentMenu);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->listMode(), list) << handedOver;
    PushHeldBoxes();
    EXPECT_TRUE(ModalDialogStack.empty()) << handedOver;
  }
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
  restore();
  // Rows cut off at a line end with the list and its mark gone: read as a
  // turn from before the list, whose tables' own checks find the cut.
  CutRowsOff("land_units.csv", 10);
  fs::remove(Turn("file_digests.csv"));
  std::string info = test::ReadFileBytes(Turn("Info.ini"));
  const std::string mark = "FileList = file_digests.csv\r\n";
  ASSERT_NE(info.find(mark), std::string::npos);
  std::ofstream(Turn("Info.ini"), std::ios::binary | std::ios::trunc) << info.erase(info.find(mark), mark.size());
  LoadTurn();
  ExpectRefusedNaming(u"unit_state.csv", u"(counting from 1) names the Land unit ID=");
}

// Changes a file of the turn in place, to the same size, when its load
// reaches a step: past the check of its list, before the readers after it.
class cChangingAppPresentation : public cAppPresentation {
 public:
  cChangingAppPresentation(fs::path file, int atPercent) : file_(std::move(file)), atPercent_(atPercent) {}
  void SetLoadingProgress(int percent) override {
    cAppPresentation::SetLoadingProgress(percent);
    if (percent != atPercent_) return;
    std::string bytes = test::ReadFileBytes(file_);
    bytes[bytes.size() / 2] ^= 0x01;
    std::fstream(file_, std::ios::binary | std::ios::in | std::ios::out) << bytes;
  }

 private:
  fs::path file_;
  int atPercent_;
};

// A file changed on the disk while the turn loads, after its check: the
// airship reports, which a turn from before them may lack, and Info.ini read
// again for the turn's numbering. The turn is refused, and the box says why.
TEST_F(ReceivedTurnTest, AFileChangedWhileTheTurnLoadsIsRefusedNamingIt) {
  for (const auto& [file, percent] : {std::pair{"airship_attacks.csv", 40}, std::pair{"Info.ini", 95}}) {
    SCOPED_TRACE(file);
    const auto restore = KeepTurn();
    cChangingAppPresentation port(Turn(file), percent);
    ScopedPresentation scoped(port);
    LoadTurn();
    ExpectRefusedNaming(Utf8ToUtf16(file), u"changed on the disk while the game was loaded from it",
                        "pbem_turn_not_loaded_changed_%s_%s");
    PopModalDialogs(-1);
    restore();
  }
}

// A file of the turn cut short on this disk as its check reads it: the box
// says something here wrote in it, not that the sender should send it again.
// Put back whole, the turn loads.
TEST_F(ReceivedTurnTest, AFileCutAsItsCheckReadsItIsToldAsChangedHere) {
  const auto restore = KeepTurn();
  SetListedFileCheckHook([this](const fs::path& file) {
    if (file.filename() == "land_units.csv") Cut("land_units.csv", fs::file_size(file) / 2);
  });
  LoadTurn();
  SetListedFileCheckHook({});
  ExpectRefusedNaming(u"land_units.csv", u"changed on the disk while the game was loaded from it",
                      "pbem_turn_not_loaded_changed_%s_%s");
  PopModalDialogs(-1);
  restore();
  LoadTurn();
  EXPECT_NE(gGame, nullptr);
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
  // Its last units cut off at a line end: the units' state still names them.
  CutRowsOff("land_units.csv", 10);
  LoadTurn();
  ExpectRefusedNaming(u"unit_state.csv", u"(counting from 1) names the Land unit ID=");
  restore();
  // Up to the cities the scenario's diagram links first.
  KeepLines("cities.csv", 6);
  LoadTurn();
  ExpectRefusedNaming(u"cities.csv", u"which the scenario's data\\scenarios\\NorthernTide\\cities_diagram.csv links");
  restore();
  // The scenario the turn is played on, gone or a path, and text for its
  // turn: said in the player's words.
  for (const auto& [key, line, why] :
       {std::tuple{"\nScenarioName", "", u"does not say which scenario the game is played on"},
        std::tuple{"\nScenarioName", "ScenarioName = ..\\save\\x\r\n", u"names the scenario \"../save/x\""},
        std::tuple{"\nTurn = ", "Turn = abc\r\n", u"gives \"abc\" as the turn of the game"}}) {
    std::string info = test::ReadFileBytes(Turn("Info.ini"));
    const std::size_t at = info.find(key) + 1;
    ASSERT_NE(at, 0u) << key;
    info.replace(at, info.find('\n', at) + 1 - at, line);
    std::ofstream(Turn("Info.ini"), std::ios::binary | std::ios::trunc) << info;
    LoadTurn();
    ExpectRefusedNaming(u"Info.ini", why);
    restore();
  }
}

// A copy of the turn in a folder of another name names another game and is
// refused from the list; the list stays on the refused row, so a second
// Start cannot load the turn beside it.
TEST_F(ReceivedTurnTest, TheListKeepsTheRefusedRowSelected) {
  constexpr char16_t kCopy[] = u"data\\pbem\\Duel (1)\\%s";
  fs::copy(Turn(), folder_.path() / "data/pbem/Duel (1)", fs::copy_options::recursive);
  auto* menu = new cScenarioMenu();
  CurrentMenu = menu;
  menu->ShowListMode(cScenarioMenu::kPbemGame);
  ASSERT_TRUE(menu->SelectRowOf(kCopy));
  ClickControl(kStartButton);
  EXPECT_EQ(gGame, nullptr);
  EXPECT_EQ(ModalDialogStack.size(), 1u);
  EXPECT_NE(BoxText(3).find(ShownPath(u"data\\pbem\\Duel (1)")), std::u16string::npos)
      << Utf16ToUtf8(BoxText(3));
  // Its reason says where the turn belongs; nothing asks for it to be sent again.
  ExpectTheBoxOf(BoxText(3), "pbem_turn_not_loaded_elsewhere_%s_%s", u"data\\pbem\\Duel (1)");
  EXPECT_EQ(BoxText(3).find(u"send it again"), std::u16string::npos) << Utf16ToUtf8(BoxText(3));
  EXPECT_EQ(SelectedTemplate(), kCopy);
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

constexpr int kPauseSaveButton = 273;

class SavedGameLoadTest : public ReceivedTurnTest {
 protected:
  static cGame& NewGame() { return *LoadNewScenario(u"data\\scenarios\\NorthernTide\\%s", 0); }
  fs::path Save(const std::string& name, const char* file = nullptr) const {
    const fs::path folder = folder_.path() / "data/save" / name;
    return file != nullptr ? folder / file : folder;
  }
  static std::u16string Template(std::u16string_view name) { return u"data\\save\\" + std::u16string(name) + u"\\%s"; }

  // Start from the "Saved game" list with the save's row selected.
  static void StartFromList(std::u16string_view name) {
    auto* menu = new cScenarioMenu();
    CurrentMenu = menu;
    menu->ShowListMode(cScenarioMenu::kSavedGame);
    ASSERT_TRUE(menu->SelectRowOf(Template(name)));
    ClickControl(kStartButton);
  }
  // Refused: no game, the list of saves with the refused row selected, one box naming what.
  static void ExpectRefused(std::u16string_view name, const char* title, std::u16string_view names) {
    EXPECT_EQ(gGame, nullptr);
    auto* menu = dynamic_cast<cScenarioMenu*>(CurrentMenu);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->listMode(), cScenarioMenu::kSavedGame);
    EXPECT_EQ(SelectedTemplate(), Template(name));
    EXPECT_EQ(ModalDialogStack.size(), 1u);
    EXPECT_EQ(BoxText(1), GetText(title));
    EXPECT_NE(BoxText(3).find(names), std::u16string::npos) << Utf16ToUtf8(BoxText(3));
    EXPECT_EQ(dynamic_cast<cChangedSaveBox*>(TopDialog) != nullptr, title == std::string("save_changed_title"));
  }
  static void PressBoxButton(int id) {
    ASSERT_NE(TopDialog, nullptr);
    TopDialog->OnGUIEvent(GuiEventButtonClicked, id, TopDialog->GetControl(id));
  }
  // The box's button that shows the text, as the player finds it.
  static const CDXUTButton* ShownButton(const char* key) {
    if (TopDialog == nullptr) return nullptr;
    for (const auto& control : TopDialog->Controls()) {
      const auto* button = dynamic_cast<const CDXUTButton*>(control.get());
      if (button != nullptr && button->GetText() == GetText(key)) return button;
    }
    return nullptr;
  }
  // Clicked by the pointer, as the window sends it.
  static void ClickShownButton(const char* key) {
    const CDXUTButton* button = ShownButton(key);
    ASSERT_NE(button, nullptr) << key;
    const Rect box = TopDialog->ToScreen(button->GetBoundingBox());
    const LParam at = MakeLParam(box.left + 3, box.top + 3);
    bool noFurther = false;
    OnWindowMessage(WM_LBUTTONDOWN, MK_LBUTTON, at, &noFurther);
    OnWindowMessage(WM_LBUTTONUP, 0, at, &noFurther);
  }

};

// Puts the text in place of fields first..last (3 and 4 the hex, 7 the strength) of the unit's saved row.
void EditLandUnit(const fs::path& file, int id, int first, int last, const std::string& text) {
  std::string rows = test::ReadFileBytes(file);
  std::size_t from = rows.find("\n" + std::to_string(id) + ";") + 1;
  for (int i = 0; i < first; ++i) from = rows.find(';', from) + 1;
  std::size_t to = from;
  for (int i = first; i <= last; ++i) to = rows.find(';', to) + 1;
  rows.replace(from, to - 1 - from, text);
  std::ofstream(file, std::ios::binary | std::ios::trunc) << rows;
}

// A file of a save of the player's own changed while it loads, after its
// check or as its check reads it: the box names it and asks for the save to
// be started again once what wrote it is done, not for another save to be
// chosen nor for the save to be loaded as it is.
TEST_F(SavedGameLoadTest, ASaveChangedWhileItLoadsMayBeStartedAgain) {
  cGame& game = NewGame();
  ASSERT_TRUE(game.saveContext->SaveGame(u"Alpha", true));
  ASSERT_TRUE(game.saveContext->SaveGame(u"Beta", true));
  DestroyGame();
  cChangingAppPresentation port(Save("Alpha", "airship_attacks.csv"), 40);
  ScopedPresentation scoped(port);
  StartFromList(u"Alpha");
  ExpectRefused(u"Alpha", "save_not_loaded_title", ShownPath(u"data\\save\\Alpha\\airship_attacks.csv"));
  ExpectTheBoxOf(BoxText(3), "save_not_loaded_changed_%s_%s", u"data\\save\\Alpha");
  // Cut as its check reads it, a file is not offered to be loaded as it is.
  PopModalDialogs(-1);
  const fs::path cut = Save("Beta", "land_units.csv");
  SetListedFileCheckHook([&cut](const fs::path& file) {
    if (file.filename() == cut.filename()) fs::resize_file(cut, fs::file_size(cut) / 2);
  });
  StartFromList(u"Beta");
  SetListedFileCheckHook({});
  ExpectRefused(u"Beta", "save_not_loaded_title", ShownPath(u"data\\save\\Beta\\land_units.csv"));
  ExpectTheBoxOf(BoxText(3), "save_not_loaded_changed_%s_%s", u"data\\save\\Beta");
}

// An older turn, which has no list of its files to check, whose table puts
// two units on one hex: the box refuses the turn (not a save damaged here),
// names the file, and asks whether the turn loads on the sender's computer
// before asking for it again.
TEST_F(ReceivedTurnTest, AnOlderTurnWithTwoUnitsOnOneHexNamesItsFile) {
  LoadTurn();
  ASSERT_NE(gGame, nullptr);
  const auto placed = FirstTwoPlaced(*gGame);
  ASSERT_NE(placed[1], nullptr);
  const std::string onFirst = Utf16ToUtf8(Format(u"%i;%i", placed[0]->x, placed[0]->y));
  const int second = placed[1]->id;
  const std::u16string clashInWords =
      Format(GetText("load_refused_turn_units_on_one_hex_%s_%s_%i_%i_%s"), placed[0]->name, placed[1]->name, placed[0]->x,
             placed[0]->y, ShownPath(u"data\\pbem\\Duel\\land_units.csv"));
  DestroyGame();
  DeleteCurrentMenu();
  test::MakeOlderSave(Turn());
  EditLandUnit(Turn("land_units.csv"), second, 3, 4, onFirst);
  LoadTurn();
  ExpectRefusedNaming(u"land_units.csv", clashInWords, "pbem_turn_not_loaded_damaged_%s_%s");
}

// A changed save of the player's own: the box names the file and offers to
// load it as it is; Back keeps the list on its row; the sound save beside it
// loads with no box. A save holding a link, started after that Back, is
// refused for the link alone, with the advice to put the file back. Loaded
// as it is, a save whose edit puts two units on one hex is refused like any
// other, naming no file to put back.
TEST_F(SavedGameLoadTest, NoSaveEndsTheGameAndAChangedOneMayBeLoadedAsItIs) {
  cGame& game = NewGame();
  const auto placed = FirstTwoPlaced(game);
  ASSERT_NE(placed[1], nullptr);
  const std::string onFirst = Utf16ToUtf8(Format(u"%i;%i", placed[0]->x, placed[0]->y));
  const int second = placed[1]->id;
  const std::u16string clash =
      Format(u"ERROR: Trying to place land unit %s (ID=%i) to hex (%i, %i) occupied by %s (ID=%i)", placed[1]->name,
             second, placed[0]->x, placed[0]->y, placed[0]->name, placed[0]->id);
  const std::u16string clashInWords =
      Format(GetText("load_refused_units_on_one_hex_%s_%s_%i_%i_%s"), placed[0]->name, placed[1]->name, placed[0]->x,
             placed[0]->y, ShownPath(u"data\\save\\Clash\\land_units.csv"));
  for (const char16_t* name : {u"Alpha", u"Turn 3; old", u"Clash", u"Linked"}) {
    ASSERT_TRUE(game.saveContext->SaveGame(name, true));
  }
  DestroyGame();
  EditLandUnit(Save("Turn 3; old", "land_units.csv"), 1, 7, 7, "37");
  EditLandUnit(Save("Clash", "land_units.csv"), second, 3, 4, onFirst);
  const fs::path kept = folder_.path() / "kept_relations.csv";
  fs::rename(Save("Linked", "relations.csv"), kept);
  fs::create_symlink(kept, Save("Linked", "relations.csv"));

  test::LogCapture log;
  StartFromList(u"Alpha");
  ASSERT_NE(gGame, nullptr);
  EXPECT_TRUE(ModalDialogStack.empty());
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  DestroyGame();

  StartFromList(u"Turn 3; old");
  ExpectRefused(u"Turn 3; old", "save_changed_title", ShownPath(u"data\\save\\Turn 3; old\\land_units.csv"));
  const auto* box = dynamic_cast<cChangedSaveBox*>(TopDialog);
  ASSERT_NE(box, nullptr);
  // The reason keeps the save's whole name, ';' and all, and only the clause that the game is not loaded goes.
  const auto edited = static_cast<int>(fs::file_size(Save("Turn 3; old", "land_units.csv")));
  EXPECT_EQ(BoxText(3), Format(GetText("save_changed_%s_%s"), ShownPath(u"data\\save\\Turn 3; old"),
                               ShownPath(Format(u"data\\save\\Turn 3; old\\land_units.csv holds %i bytes, not "
                                                u"the %i it was written with (cut short?).",
                                                edited, edited + 1))));
  // The box offers to load the save: its reason does not say the save is damaged and not loaded.
  EXPECT_EQ(BoxText(3).find(u"not loaded"), std::u16string::npos) << Utf16ToUtf8(BoxText(3));
  EXPECT_EQ(BoxText(3).find(u"damaged"), std::u16string::npos) << Utf16ToUtf8(BoxText(3));
  // Its two choices stand side by side about the box's middle, a gap apart.
  const CDXUTButton* load = ShownButton("save_changed_load");
  const CDXUTButton* back = ShownButton("save_changed_back");
  ASSERT_TRUE(load != nullptr && back != nullptr);
  EXPECT_EQ(back->x() - (load->x() + load->width()), 10);
  // (A box of an odd width has a pixel over on one side.)
  EXPECT_NEAR(load->x() + back->x() + back->width(), 2 * box->dialogRect().left + box->dialogRect().right, 1);
  // A key let go and another key leave it open; Escape goes back to the list.
  MenuKeyboardCallback(VK_ESCAPE, false, false);
  MenuKeyboardCallback(VK_SPACE, true, false);
  EXPECT_EQ(TopDialog, box);
  MenuKeyboardCallback(VK_ESCAPE, true, false);
  EXPECT_TRUE(ModalDialogStack.empty());
  EXPECT_EQ(gGame, nullptr);
  EXPECT_EQ(SelectedTemplate(), Template(u"Turn 3; old"));

  StartFromList(u"Linked");
  ExpectRefused(u"Linked", "save_not_loaded_title", u"relations.csv is a link");
  EXPECT_EQ(BoxText(3), Format(GetText("save_not_loaded_link_%s_%s"), ShownPath(u"data\\save\\Linked"),
                               ShownPath(u"data\\save\\Linked\\relations.csv is a link; a game folder may hold "
                                         u"only files and folders, so the game is not loaded.")));
  PressBoxButton(cDialogTekstowy::kDefaultLayoutBase + 4);

  // Started again, the changed save is asked about again, and the player loads it as it is.
  StartFromList(u"Turn 3; old");
  ClickShownButton("save_changed_load");
  ASSERT_NE(gGame, nullptr);
  EXPECT_TRUE(ModalDialogStack.empty());
  int strength = 0;
  for (const auto& unit : gGame->landUnits) strength = unit->id == 1 ? unit->strength : strength;
  EXPECT_EQ(strength, 37);
  DestroyGame();

  // The box says in the player's words that the save is damaged, and where; the log keeps its line.
  test::LogCapture clashLog;
  StartFromList(u"Clash");
  PressBoxButton(cChangedSaveBox::kLoadButton);
  ExpectRefused(u"Clash", "save_not_loaded_title", ShownPath(u"data\\save\\Clash"));
  EXPECT_EQ(BoxText(3), Format(GetText("save_not_loaded_%s_%s"), ShownPath(u"data\\save\\Clash"), clashInWords));
  EXPECT_TRUE(clashLog.Contains(clash));
}

struct sWalk {
  cJednostkaLadowa* walker = nullptr;
  const cUnit* passed = nullptr;
  sPoint start;
};

// A land unit whose walk to a free hex two steps away first enters a hex
// that a unit of its side holds; its walk is started as the player's click does.
std::optional<sWalk> StartWalkPastAUnit(cGame& game) {
  cMap& map = *game.map;
  cPlayerControl& control = game.playerControl;
  for (const auto& unit : game.landUnits) {
    if (unit->inReserve || !map.IsInside(unit->x, unit->y) || map.GetHex(unit->x, unit->y)->unit != unit.get()) {
      continue;
    }
    unit->actionPoints = 9;
    unit->ComputeMoveRange(1);
    for (const sMoveRangeCell& cell : unit->moveRange) {
      if (HexDistance(unit->x, unit->y, cell.x, cell.y) != 2 || map.GetHex(cell.x, cell.y)->unit != nullptr) continue;
      const sPoint start{unit->x, unit->y};
      map.GetHex(start.x, start.y)->unit = nullptr;
      if (control.FindHexPath(unit.get(), cell.x, cell.y) && !control.move.path.empty()) {
        const sHexEntry step = control.move.path.front();
        if (const cUnit* passed = map.GetHex(step.x, step.y)->unit) return sWalk{unit.get(), passed, start};
      }
      control.move = sUnitMove{};
      control.undo.unit = nullptr;
      map.GetHex(start.x, start.y)->unit = unit.get();
    }
  }
  return std::nullopt;
}

// Escape during a walk, over a unit it passes, and the pause menu's Save: the
// save loads with every unit on a hex of its own, the walker where its walk
// would have stopped, and the walk itself goes on after the save.
// A reason that ends its own sentence is shown with its one full stop.
TEST_F(SavedGameLoadTest, AReasonEndingItsSentenceKeepsItsOneStop) {
  ASSERT_TRUE(NewGame().saveContext->SaveGame(u"Events", true));
  DestroyGame();
  std::ofstream(folder_.path() / "data/scenarios/NorthernTide/event_files.txt", std::ios::binary | std::ios::trunc)
      << "data\\events\\elsewhere.xml\r\n";
  StartFromList(u"Events");
  ExpectRefused(u"Events", "save_not_loaded_title", u"which is not a file of");
  EXPECT_TRUE(BoxText(3).ends_with(ShownPath(u"data\\scenarios\\NorthernTide."))) << Utf16ToUtf8(BoxText(3));
}

TEST_F(SavedGameLoadTest, ASaveMadeWhileAWalkIsPausedLoadsWithEveryUnit) {
  cAppPresentation port;
  ScopedPresentation scoped(port);
  cGame& game = NewGame();
  const std::optional<sWalk> walk = StartWalkPastAUnit(game);
  ASSERT_TRUE(walk.has_value());
  game.SetGameState(kGameHumanMoving);
  ASSERT_TRUE(game.playerControl.move.AdvanceMovingUnit());
  const sPoint over{walk->walker->x, walk->walker->y};
  ASSERT_EQ(game.map->GetHex(over.x, over.y)->unit, walk->passed);

  std::map<int, std::pair<int, int>> places;
  for (const auto& unit : game.landUnits) places[unit->id] = {unit->x, unit->y};
  places[walk->walker->id] = {walk->start.x, walk->start.y};
  const int airUnits = static_cast<int>(game.airUnits.size());

  CurrentMenu = new cPauseMenu();
  ClickControl(kPauseSaveButton);
  auto* dialog = dynamic_cast<cDialogZapisuGry*>(TopDialog);
  ASSERT_NE(dialog, nullptr);
  static_cast<CDXUTEditBox*>(dialog->GetControlOfType(cDialogZapisuGry::kNameEdit, kControlEditBox))
      ->SetText(u"Paused walk");
  dialog->OnGUIEvent(GuiEventButtonClicked, cDialogZapisuGry::kSaveButton, nullptr);
  EXPECT_EQ(BoxText(3), GetText("save_game_successfull"));
  EXPECT_EQ(walk->walker->x, over.x);
  EXPECT_EQ(walk->walker->y, over.y);
  EXPECT_EQ(game.playerControl.move.unit, walk->walker);
  PopModalDialogs(-1);
  DestroyGame();

  test::LogCapture log;
  RunGameLoader(sLaunchRecord{Template(u"Paused walk"), 1});
  ASSERT_NE(gGame, nullptr);
  EXPECT_TRUE(ModalDialogStack.empty());
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  std::map<int, std::pair<int, int>> loaded;
  for (const auto& unit : gGame->landUnits) {
    loaded[unit->id] = {unit->x, unit->y};
    if (gGame->map->IsInside(unit->x, unit->y) && !unit->inReserve) {
      EXPECT_EQ(gGame->map->GetHex(unit->x, unit->y)->unit, unit.get()) << unit->id;
    }
  }
  EXPECT_EQ(loaded, places);
  EXPECT_EQ(static_cast<int>(gGame->airUnits.size()), airUnits);
}

}  // namespace
}  // namespace tr
