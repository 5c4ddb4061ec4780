// The game's commands and hotkeys on the headless screen: the end of turn by
// Q with and without its confirmation, the toggled hotkeys help, the display
// keys and the stored ones, Escape by game state, the held arrows and Tab's
// walk to the next movable land unit.
#include "app/game_commands.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/game_frame_move.h"
#include "app/menu.h"
#include "app/modal_stack.h"
#include "app/pause_menu.h"
#include "dialogs/cheats_dialog.h"
#include "dialogs/preferences_dialog.h"
#include "dialogs/small_dialogs.h"
#include "gui/check_box.h"
#include "gui/hint_box.h"
#include "foundation/settings.h"
#include "game_screen_fixture.h"
#include "platform/codes.h"
#include "support/log_capture.h"
#include "turn/convoy.h"
#include "units/jednostka_ladowa.h"
#include "world/map_camera.h"

namespace tr {
namespace {

class GameCommandsTest : public test::GameScreenFixture {
 protected:
  void SetUp() override {
    GameScreenFixture::SetUp();
    InstallGameCommandHandlers();
    gArrowKeys = 0;
  }
  void TearDown() override {
    DontConfirmEndTurn = dontConfirm_;
    gShowGrid = showGrid_;
    gShowWeather = showWeather_;
    gShowCityNames = showCityNames_;
    gShowAPLeft = showAPLeft_;
    gBorderMode = borderMode_;
    gMapOwnershipMode = ownershipMode_;
    gMapMode = mapMode_;
    gArrowKeys = 0;
    GameScreenFixture::TearDown();
  }
  // A key pressed and let go through the game's keyboard callback.
  static void Press(std::uint32_t key) {
    GameKeyboardCallback(key, true, false);
    GameKeyboardCallback(key, false, false);
  }

 private:
  bool dontConfirm_ = DontConfirmEndTurn;
  bool showGrid_ = gShowGrid, showWeather_ = gShowWeather, showCityNames_ = gShowCityNames, showAPLeft_ = gShowAPLeft;
  int borderMode_ = gBorderMode, ownershipMode_ = gMapOwnershipMode, mapMode_ = gMapMode;
};

class EndTurnKey : public GameCommandsTest, public testing::WithParamInterface<bool> {};

TEST_P(EndTurnKey, QEndsTheTurnAtOnceOrAsksFirst) {
  const bool confirm = GetParam();
  DontConfirmEndTurn = !confirm;
  Press('Q');
  if (confirm) {
    EXPECT_NE(dynamic_cast<cDialogPotwKoncaTury*>(TopDialog), nullptr);
    EXPECT_EQ(game().GetGameState(), kGameHumanIdle);
    EXPECT_EQ(country(1).finishedTurn, 0);
  } else {
    EXPECT_EQ(TopDialog, nullptr);
    EXPECT_EQ(country(1).finishedTurn, 1);
    // The computer plays next, and the disabled toolbar no longer answers Q.
    EXPECT_EQ(game().GetGameState(), kGameComputerTurn);
    DontConfirmEndTurn = false;
    Press('Q');
    EXPECT_EQ(TopDialog, nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(Confirmation, EndTurnKey, testing::Bool());

// Outside the player's states a letter key presses nothing, even with the
// toolbar enabled: neither the purchases nor a second end of the turn.
TEST_F(GameCommandsTest, LetterKeysDoNothingOutsideThePlayersStates) {
  DontConfirmEndTurn = true;
  game().StoreGameState(kGameEndOfImpulse);
  for (std::uint32_t key : {'P', 'Q', 'U', 'C', 'T'}) Press(key);
  EXPECT_EQ(TopDialog, nullptr);
  EXPECT_EQ(country(1).finishedTurn, 0);
  EXPECT_EQ(game().GetGameState(), kGameEndOfImpulse);
}

TEST_F(GameCommandsTest, HotkeysHelpKeyOpensItAndThenClosesItWithWhatLiesAbove) {
  OnGameKeyboard('I', true, false);
  cDialog* help = FindModalDialog(kHotkeysDialogId);
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(TopDialog, help);
  PushModalDialog(new cDialog(700, RectFromSize(0, 0, 50, 50)));
  OnGameKeyboard('I', true, false);
  EXPECT_EQ(FindModalDialog(kHotkeysDialogId), nullptr);
  EXPECT_TRUE(ModalDialogStack.empty());
}

// F1 works in the computer's turn too; OK leaves that turn to the computer.
TEST_F(GameCommandsTest, PreferencesOverTheComputersTurnLeaveItRunning) {
  game().SetGameState(kGameComputerTurn);
  OnGameKeyboard(VK_F1, true, false);
  auto* preferences = dynamic_cast<cDialogUstawien*>(TopDialog);
  ASSERT_NE(preferences, nullptr);
  preferences->OnGUIEvent(GuiEventButtonClicked, cDialogUstawien::kOkButton, nullptr);
  EXPECT_EQ(FindModalDialog(cDialogUstawien::kDialogId), nullptr);
  EXPECT_EQ(game().GetGameState(), kGameComputerTurn);
}

TEST_F(GameCommandsTest, F12OpensTheCheats) {
  OnGameKeyboard(VK_F12, true, false);
  EXPECT_NE(dynamic_cast<cDialogCheatow*>(TopDialog), nullptr);
}

// The preferences by F1: without the end-of-turn question, the next Q ends the turn at once.
TEST_F(GameCommandsTest, F1PreferencesTurnTheEndOfTurnQuestionOff) {
  DontConfirmEndTurn = false;
  const cIniFile settings = SettingsIni();
  OnGameKeyboard(VK_F1, true, false);
  auto* preferences = dynamic_cast<cDialogUstawien*>(TopDialog);
  ASSERT_NE(preferences, nullptr);
  auto* box = static_cast<CDXUTCheckBox*>(preferences->GetControlOfType(cDialogUstawien::kEndTurnConfirmCheck,
                                                                         kControlCheckBox));
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(box->GetChecked());
  box->SetCheckedState(false, true, true);
  // OK writes the settings: here into the test's folder.
  preferences->OnGUIEvent(GuiEventButtonClicked, cDialogUstawien::kOkButton, nullptr);
  SettingsIni() = settings;
  EXPECT_EQ(FindModalDialog(cDialogUstawien::kDialogId), nullptr);
  EXPECT_EQ(game().GetGameState(), kGameHumanIdle);
  Press('Q');
  EXPECT_EQ(TopDialog, nullptr);
  EXPECT_EQ(country(1).finishedTurn, 1);
}

struct DialogKey {
  std::uint32_t key;
  int dialogId;
};
class DialogHotkey : public GameCommandsTest, public testing::WithParamInterface<DialogKey> {};

TEST_P(DialogHotkey, OpensItsDialogAndClosesItAgain) {
  OnGameKeyboard(GetParam().key, true, false);
  cDialog* dialog = FindModalDialog(GetParam().dialogId);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(TopDialog, dialog);
  OnGameKeyboard(GetParam().key, true, false);
  EXPECT_TRUE(ModalDialogStack.empty());
}

INSTANTIATE_TEST_SUITE_P(ReportsAndResearch, DialogHotkey,
                         testing::Values(DialogKey{'R', kReportsDialogId}, DialogKey{'T', kResearchDialogId}));

struct ToggleKey {
  std::uint32_t key;
  int dialogId;
};
class DialogToggleKey : public GameCommandsTest, public testing::WithParamInterface<ToggleKey> {};

// The second press closes the dialog with every dialog pushed above it.
TEST_P(DialogToggleKey, OpensTheDialogAndASecondPressClosesIt) {
  game().convoys.Reset(3);
  OnGameKeyboard(GetParam().key, true, false);
  ASSERT_NE(TopDialog, nullptr);
  EXPECT_EQ(TopDialog->id, GetParam().dialogId);
  PushModalDialog(new cDialogSkrotowKlawiszowych());
  PressToolbarButton(GetParam().dialogId == kPurchasesDialogId ? 336
                     : GetParam().dialogId == kUnitsDialogId   ? 337
                                                               : 341);
  EXPECT_TRUE(ModalDialogStack.empty());
}

INSTANTIATE_TEST_SUITE_P(PUC, DialogToggleKey,
                         testing::Values(ToggleKey{'P', kPurchasesDialogId}, ToggleKey{'U', kUnitsDialogId},
                                         ToggleKey{'C', kConvoysDialogId}));

struct FlagKey {
  std::uint32_t key;
  bool* flag;
  const char* iniKey;
};

class DisplayFlagKey : public GameCommandsTest, public testing::WithParamInterface<FlagKey> {};

TEST_P(DisplayFlagKey, InvertsTheFlagInMemoryOnly) {
  const FlagKey& c = GetParam();
  const bool before = *c.flag;
  const int stored = SettingsIni().GetInt(c.iniKey, -7);
  OnGameKeyboard(c.key, true, false);
  EXPECT_EQ(*c.flag, !before);
  EXPECT_EQ(SettingsIni().GetInt(c.iniKey, -7), stored);
}

INSTANTIATE_TEST_SUITE_P(F2ToF5, DisplayFlagKey,
                         testing::Values(FlagKey{VK_F1 + 1, &gShowGrid, "MapDisplay/ShowGrid"},
                                         FlagKey{VK_F1 + 2, &gShowWeather, "MapDisplay/ShowWeather"},
                                         FlagKey{VK_F1 + 3, &gShowCityNames, "MapDisplay/ShowCityName"},
                                         FlagKey{VK_F1 + 4, &gShowAPLeft, "MapDisplay/ShowAPLeft"}));

struct ModeStep {
  bool byKey;  // else by command
  std::uint32_t keyOrCommand;
  int* mode;
  const char* iniKey;
  int from;
  int to;
};

class StoredModeStep : public GameCommandsTest, public testing::WithParamInterface<ModeStep> {};

TEST_P(StoredModeStep, CyclesAndStoresInTheSettings) {
  const ModeStep& c = GetParam();
  *c.mode = c.from;
  if (c.byKey) {
    OnGameKeyboard(c.keyOrCommand, true, false);
  } else {
    OnGameCommand(0x101, static_cast<int>(c.keyOrCommand), nullptr);
  }
  EXPECT_EQ(*c.mode, c.to);
  EXPECT_EQ(SettingsIni().GetInt(c.iniKey, -7), c.to);
}

INSTANTIATE_TEST_SUITE_P(
    BorderOwnershipAndMapModes, StoredModeStep,
    testing::Values(ModeStep{true, VK_F1 + 5, &gBorderMode, "Border/Mode", 0, 1},
                    ModeStep{true, VK_F1 + 5, &gBorderMode, "Border/Mode", 2, 0},
                    ModeStep{false, 318, &gBorderMode, "Border/Mode", 1, 2},
                    ModeStep{false, 318, &gBorderMode, "Border/Mode", 5, 5},
                    ModeStep{true, VK_F1 + 6, &gMapOwnershipMode, "MapDisplay/OwnershipMode", 2, 3},
                    ModeStep{false, 319, &gMapOwnershipMode, "MapDisplay/OwnershipMode", 3, 0},
                    ModeStep{false, 320, &gMapMode, "MapDisplay/Mode", 0, 2},
                    ModeStep{false, 320, &gMapMode, "MapDisplay/Mode", 2, 0},
                    ModeStep{false, 320, &gMapMode, "MapDisplay/Mode", 1, 1}));

class EscapeKey : public GameCommandsTest, public testing::WithParamInterface<eGameState> {};

TEST_P(EscapeKey, OpensThePauseMenuOnlyInTheHumanStates) {
  game().StoreGameState(GetParam());
  Press(VK_ESCAPE);
  const bool human = GetParam() == kGameHumanIdle || GetParam() == kGameHumanMoving;
  EXPECT_EQ(dynamic_cast<cPauseMenu*>(CurrentMenu) != nullptr, human);
  EXPECT_EQ(game().GetGameState(), human ? kGamePaused : GetParam());
}

INSTANTIATE_TEST_SUITE_P(States, EscapeKey, testing::Values(kGameHumanIdle, kGameHumanMoving, kGameComputerTurn));

// The bottom of the game screen is the information panel's: the pause menu's
// version line stands just above it, where its layout would lay it over it.
TEST_F(GameCommandsTest, ThePauseMenusVersionLineStandsJustAboveTheInformationPanel) {
  Press(VK_ESCAPE);
  ASSERT_NE(dynamic_cast<cPauseMenu*>(CurrentMenu), nullptr);
  CDXUTControl* version = CurrentMenu->GetControl(7001);
  CDXUTControl* panel = info().GetControl(292);
  ASSERT_NE(version, nullptr);
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(panel->GetVisible());
  const Rect line = version->GetBoundingBox(), picture = panel->GetBoundingBox();
  EXPECT_EQ(line.bottom, picture.top) << line.top << " " << line.bottom << " over " << picture.top;
  EXPECT_GT(line.top, picture.top - 2 * line.height());
}

// Plus zooms in (the zoom level falls), minus zooms out, from the numeric
// pad and from the main keyboard alike.
struct ZoomKeyCase {
  std::uint32_t key;
  float direction;
};
class ZoomKey : public GameCommandsTest, public testing::WithParamInterface<ZoomKeyCase> {
 protected:
  void TearDown() override {
    gZoomLevel = zoom_;
    gTargetScale = scale_;
    GameCommandsTest::TearDown();
  }

 private:
  float zoom_ = gZoomLevel;
  float scale_ = gTargetScale;
};

TEST_P(ZoomKey, ZoomsTheMap) {
  gZoomLevel = 0.5f;
  Press(GetParam().key);
  EXPECT_NEAR(gZoomLevel, 0.5f - GetParam().direction * 0.01f, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Keys, ZoomKey,
                         testing::Values(ZoomKeyCase{VK_ADD, 1.0f}, ZoomKeyCase{VK_OEM_PLUS, 1.0f},
                                         ZoomKeyCase{VK_SUBTRACT, -1.0f}, ZoomKeyCase{VK_OEM_MINUS, -1.0f}));

TEST_F(GameCommandsTest, ArrowsSetTheirBitUntilLetGoEvenUnderADialog) {
  GameKeyboardCallback(VK_LEFT, true, false);
  GameKeyboardCallback(VK_DOWN, true, false);
  EXPECT_EQ(gArrowKeys, 0b1001);
  // Tab acts while the arrow stays held.
  GameKeyboardCallback(VK_TAB, true, false);
  EXPECT_EQ(gArrowKeys, 0b1001);
  GameKeyboardCallback(VK_DOWN, false, false);
  EXPECT_EQ(gArrowKeys, 0b0001);
  PushModalDialog(new cDialog(700, RectFromSize(0, 0, 50, 50)));
  GameKeyboardCallback(VK_UP, true, false);
  EXPECT_EQ(gArrowKeys, 0b0001);
  GameKeyboardCallback(VK_LEFT, false, false);
  EXPECT_EQ(gArrowKeys, 0);
}

// A click on the minimap centres the map on the hex under the pointer.
TEST_F(GameCommandsTest, AMinimapClickCentresTheMapOnItsHex) {
  const int oldX = GetHintBox().pointer_x(), oldY = GetHintBox().pointer_y();
  game().map->minimapRect = {713, 529, 160, 120};
  // 100 of 160 pixels across and 45 of 120 down an 8 by 8 map.
  GetHintBox().OnMouse(false, false, 813, 574);
  OnGameCommand(0x101, 315, nullptr);
  GetHintBox().OnMouse(false, false, oldX, oldY);
  EXPECT_EQ(game().map->camera.targetX, 5.0f * kColumnStep);
  EXPECT_EQ(game().map->camera.targetY, 3.0f * kRowStep);
}

// Land units in list order: country 1 movable at (1,1), country 2 at (2,2),
// country 1 without points at (3,3), country 1 movable at (4,4).
class NextUnitTab : public GameCommandsTest {
 protected:
  void SetUp() override {
    GameCommandsTest::SetUp();
    Add(1, 1, 1, 5);
    Add(2, 2, 2, 5);
    Add(1, 3, 3, 0);
    Add(1, 4, 4, 3);
  }
  cJednostkaLadowa& Add(int owner, int x, int y, int actionPoints) {
    auto unit = std::make_unique<cJednostkaLadowa>();
    unit->owner = owner;
    unit->x = x;
    unit->y = y;
    unit->actionPoints = unit->startingActionPoints = actionPoints;
    cJednostkaLadowa& placed = *unit;
    world_->hex(x, y).unit = &placed;
    game().landUnits.push_back(std::move(unit));
    return placed;
  }
  const sHex* Selected() { return game().playerControl.selectedHex; }
};

TEST_F(NextUnitTab, WalksPastOtherCountriesAndSpentUnitsAndWraps) {
  // Nothing selected: the first unit is where the walk starts, so it is passed over.
  OnGameKeyboard(VK_TAB, true, false);
  EXPECT_EQ(Selected(), &world_->hex(4, 4));
  EXPECT_EQ(game().playerControl.selectedUnit, world_->hex(4, 4).unit);
  OnGameKeyboard(VK_TAB, true, false);
  EXPECT_EQ(Selected(), &world_->hex(1, 1));
  OnGameKeyboard(VK_TAB, true, false);
  EXPECT_EQ(Selected(), &world_->hex(4, 4));
}

TEST_F(NextUnitTab, TheOnlyMovableUnitAlreadySelectedStaysAsItIs) {
  static_cast<cJednostkaLadowa*>(world_->hex(4, 4).unit)->actionPoints = 0;
  game().playerControl.SelectHex(1, 1);
  OnGameKeyboard(VK_TAB, true, false);
  EXPECT_EQ(Selected(), &world_->hex(1, 1));
}

TEST_F(NextUnitTab, ASelectedUnitMissingFromTheListIsLoggedAndNothingMoves) {
  cJednostkaLadowa stray;
  stray.owner = 1;
  stray.x = stray.y = 6;
  stray.actionPoints = 4;
  world_->hex(6, 6).unit = &stray;
  game().playerControl.selectedHex = &world_->hex(6, 6);
  test::LogCapture log;
  OnGameKeyboard(VK_TAB, true, false);
  EXPECT_TRUE(log.Contains(u"Jednostka z heksa zaznaczonego nie jest na liscie jednostek ladowych, TAB problem"));
  EXPECT_EQ(Selected(), &world_->hex(6, 6));
  world_->hex(6, 6).unit = nullptr;
}

TEST_F(NextUnitTab, DoesNothingWhileTheComputerPlays) {
  game().StoreGameState(kGameComputerTurn);
  OnGameKeyboard(VK_TAB, true, false);
  EXPECT_EQ(Selected(), nullptr);
}

}  // namespace
}  // namespace tr
