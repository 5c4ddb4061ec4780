// The player's own saves of the sample, written by the real saver (the pause
// menu's Save among them) and started from the "Saved game" list through the
// real loader: a save that does not load never ends the program. A save the
// player changed offers to load it as it is or to go back; a link or two
// units on one hex is refused with a box; the list keeps the refused row.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/app_presentation.h"
#include "app/changed_save_box.h"
#include "app/modal_stack.h"
#include "app/pause_menu.h"
#include "app/scenario_menu.h"
#include "app/scenario_settings_menu.h"
#include "dialogs/dialog_tekstowy.h"
#include "dialogs/save_game_dialog.h"
#include "foundation/format.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "gui/edit_box.h"
#include "gui/list_box.h"
#include "gui/static.h"
#include "menu_fixture.h"
#include "scenario/save_game.h"
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

constexpr int kList = 179;
constexpr int kStartButton = 200;
constexpr int kPauseSaveButton = 273;

class SavedGameLoadTest : public test::MenuFixture {
 protected:
  void SetUp() override {
    MenuFixture::SetUp();
    scoped_ = std::make_unique<ScopedPresentation>(port_);
    test::CopyBuiltScenario(folder_.path(), "NorthernTide");
    InstallGameSteps();
    SeedRandom(19440606);
  }
  void TearDown() override {
    PopModalDialogs(-1);
    UninstallGameSteps();
    MenuFixture::TearDown();
    scoped_.reset();
  }
  static cGame& NewGame() { return *LoadNewScenario(u"data\\scenarios\\NorthernTide\\%s", 0); }
  fs::path Save(const std::string& name, const char* file = nullptr) const {
    const fs::path folder = folder_.path() / "data/save" / name;
    return file != nullptr ? folder / file : folder;
  }
  static std::u16string Template(std::u16string_view name) { return u"data\\save\\" + std::u16string(name) + u"\\%s"; }

  // The "Saved game" list with the save's row selected, as the player leaves it before Start.
  static cScenarioMenu& ListWithSelected(std::u16string_view name) {
    auto* menu = new cScenarioMenu();
    CurrentMenu = menu;
    menu->ShowListMode(cScenarioMenu::kSavedGame);
    EXPECT_TRUE(menu->SelectRowOf(Template(name)));
    return *menu;
  }
  static std::u16string SelectedTemplate() {
    auto* menu = dynamic_cast<cScenarioMenu*>(CurrentMenu);
    if (menu == nullptr) return u"(no scenario menu)";
    const auto* list = static_cast<CDXUTListBox*>(menu->GetControlOfType(kList, kControlListBox));
    return menu->RowTemplate(list->GetSelectedIndex());
  }
  static std::u16string BoxText(int line) {
    auto* box = dynamic_cast<cDialogTekstowy*>(TopDialog);
    if (box == nullptr) return u"(no box)";
    const auto* text = static_cast<const CDXUTStatic*>(box->GetControlOfType(box->layoutBase() + line, kControlStatic));
    return text != nullptr ? text->GetText() : u"(no text)";
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
  }
  static void PressBoxButton(int id) {
    ASSERT_NE(TopDialog, nullptr);
    TopDialog->OnGUIEvent(GuiEventButtonClicked, id, TopDialog->GetControl(id));
  }

  cAppPresentation port_;
  std::unique_ptr<ScopedPresentation> scoped_;
};

// The first and one-past-last byte of a field of the unit's row in a saved land_units.csv.
std::pair<std::size_t, std::size_t> Field(const std::string& rows, int id, int index) {
  std::size_t at = rows.find("\n" + std::to_string(id) + ";") + 1;
  for (int i = 0; i < index; ++i) at = rows.find(';', at) + 1;
  return {at, rows.find(';', at)};
}

// Puts the text in place of a field (0 the id, 3 and 4 the hex, 7 the strength) of the unit's row.
void EditLandUnit(const fs::path& file, int id, int index, const std::string& text) {
  std::string rows = test::ReadFileBytes(file);
  ASSERT_NE(rows.find("\n" + std::to_string(id) + ";"), std::string::npos) << id;
  const auto [from, to] = Field(rows, id, index);
  rows.replace(from, to - from, text);
  std::ofstream(file, std::ios::binary | std::ios::trunc) << rows;
}

// A changed save of the player's own: the box names the file and offers to
// load it as it is; Back keeps the list on its row; the sound save beside it
// loads with no box.
TEST_F(SavedGameLoadTest, AChangedSaveOfYourOwnMayBeLoadedAsItIs) {
  cGame& game = NewGame();
  ASSERT_TRUE(game.saveContext->SaveGame(u"Alpha", true));
  ASSERT_TRUE(game.saveContext->SaveGame(u"Beta", true));
  DestroyGame();
  EditLandUnit(Save("Beta", "land_units.csv"), 1, 7, "37");

  test::LogCapture log;
  ListWithSelected(u"Alpha");
  ClickControl(kStartButton);
  ASSERT_NE(gGame, nullptr);
  EXPECT_TRUE(ModalDialogStack.empty());
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  DestroyGame();

  ListWithSelected(u"Beta");
  ClickControl(kStartButton);
  ExpectRefused(u"Beta", "save_changed_title", u"data\\save\\Beta\\land_units.csv");
  ASSERT_NE(dynamic_cast<cChangedSaveBox*>(TopDialog), nullptr);
  PressBoxButton(cChangedSaveBox::kBackButton);
  EXPECT_TRUE(ModalDialogStack.empty());
  EXPECT_EQ(gGame, nullptr);
  EXPECT_EQ(SelectedTemplate(), Template(u"Beta"));

  // A second Start asks again, and the player loads the save they changed.
  ClickControl(kStartButton);
  ASSERT_NE(dynamic_cast<cChangedSaveBox*>(TopDialog), nullptr);
  PressBoxButton(cChangedSaveBox::kLoadButton);
  ASSERT_NE(gGame, nullptr);
  EXPECT_TRUE(ModalDialogStack.empty());
  EXPECT_NE(dynamic_cast<cScenarioSettingsMenu*>(CurrentMenu), nullptr);
  int strength = 0;
  for (const auto& unit : gGame->landUnits) strength = unit->id == 1 ? unit->strength : strength;
  EXPECT_EQ(strength, 37);
}

// Loaded as it is, a save whose edit breaks it is refused like any other,
// and so is a save holding a link, which is never read through.
TEST_F(SavedGameLoadTest, ALinkOrTwoUnitsOnOneHexIsRefusedWithABox) {
  cGame& game = NewGame();
  std::vector<const cJednostkaLadowa*> placed;
  for (const auto& unit : game.landUnits) {
    if (game.map->IsInside(unit->x, unit->y) && game.map->GetHex(unit->x, unit->y)->unit == unit.get()) {
      placed.push_back(unit.get());
    }
  }
  ASSERT_GE(placed.size(), 2u);
  const int second = placed[1]->id;
  const std::string place = Utf16ToUtf8(Format(u"%i;%i", placed[0]->x, placed[0]->y));
  ASSERT_TRUE(game.saveContext->SaveGame(u"Clash", true));
  ASSERT_TRUE(game.saveContext->SaveGame(u"Linked", true));
  DestroyGame();
  // The second unit is written onto the first one's hex.
  EditLandUnit(Save("Clash", "land_units.csv"), second, 3, place.substr(0, place.find(';')));
  EditLandUnit(Save("Clash", "land_units.csv"), second, 4, place.substr(place.find(';') + 1));
  ListWithSelected(u"Clash");
  ClickControl(kStartButton);
  ASSERT_NE(dynamic_cast<cChangedSaveBox*>(TopDialog), nullptr);
  PressBoxButton(cChangedSaveBox::kLoadButton);
  ExpectRefused(u"Clash", "save_not_loaded_title", u"data\\save\\Clash");
  EXPECT_NE(BoxText(3).find(u"occupied by"), std::u16string::npos) << Utf16ToUtf8(BoxText(3));
  EXPECT_EQ(dynamic_cast<cChangedSaveBox*>(TopDialog), nullptr);

  PressBoxButton(cDialogTekstowy::kDefaultLayoutBase + 4);
  EXPECT_TRUE(ModalDialogStack.empty());
  const fs::path kept = folder_.path() / "kept_relations.csv";
  fs::rename(Save("Linked", "relations.csv"), kept);
  fs::create_symlink(kept, Save("Linked", "relations.csv"));
  ListWithSelected(u"Linked");
  ClickControl(kStartButton);
  ExpectRefused(u"Linked", "save_not_loaded_title", u"data\\save\\Linked");
  EXPECT_NE(BoxText(3).find(u"relations.csv is a link"), std::u16string::npos) << Utf16ToUtf8(BoxText(3));
  EXPECT_EQ(dynamic_cast<cChangedSaveBox*>(TopDialog), nullptr);
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
TEST_F(SavedGameLoadTest, ASaveMadeWhileAWalkIsPausedLoadsWithEveryUnit) {
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
