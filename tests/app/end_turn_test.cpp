// The human end of turn: the hand-over to a computer country (the worker's
// state, the screen put away) or to the next human country (the screen given
// back with the banner), the play-by-e-mail hand-over, the fatal end without a
// next country, and the check of unit positions.
#include "app/end_turn.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <tuple>

#include "app/app_presentation.h"
#include "app/modal_stack.h"
#include "app/player_interface.h"
#include "app/scenario_menu.h"
#include "app/sea_battle_menu.h"
#include "dialogs/dialog_tekstowy.h"
#include "dialogs/small_dialogs.h"
#include "foundation/console_log.h"
#include "gui/static.h"
#include "platform/codes.h"
#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "scenario/pbem_repository.h"
#include "scenario/save_game.h"
#include "turn/sea_battle.h"
#include "game_screen_fixture.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "units/jednostka_ladowa.h"
#include "world/headless_presentation.h"
#include "world/map_camera.h"

namespace tr {
namespace {

// A text of the string base for the scope's life.
class ScopedText {
 public:
  ScopedText(const char* key, std::u16string_view text) : key_(key), before_(GetText(key)) {
    StringBase().SetText(key_, text);
  }
  ~ScopedText() { StringBase().SetText(key_, before_); }

 private:
  const char* key_;
  std::u16string before_;
};

class EndTurnTest : public test::GameScreenFixture {
 protected:
  void SetUp() override {
    GameScreenFixture::SetUp();
    cMap& map = *game().map;
    map.camera.x = map.camera.targetX = 830.0f;
    map.camera.y = map.camera.targetY = 410.0f;
    // The side panels before the turn: the hex panel open, the unit panel collapsed.
    hexPanel_->SetMinimized(false);
    unitPanel_->SetMinimized(true);
  }
};

TEST_F(EndTurnTest, ComputerNextGetsTheWorkersStateWithTheScreenPutAway) {
  PushModalDialog(new cDialog(700, RectFromSize(0, 0, 100, 100)));
  const float zoom = gZoomLevel;
  EndHumanTurn();
  EXPECT_EQ(game().GetGameState(), kGameComputerTurn);
  EXPECT_EQ(game().playerControl.currentCountry, &country(2));
  EXPECT_EQ(country(1).finishedTurn, 1);
  EXPECT_EQ(country(1).GetSavedView(), (std::array<float, 3>{830.0f, 410.0f, zoom}));
  EXPECT_EQ(game().viewingCountry, &country(1));
  EXPECT_EQ(TopDialog, nullptr);
  EXPECT_TRUE(ModalDialogStack.empty());
  EXPECT_TRUE(info().GetControl(cInfoPanel::kBusyImage)->GetVisible());
  EXPECT_FALSE(info().MouseInputEnabled());
  EXPECT_TRUE(hexPanel_->IsCollapsed());
  EXPECT_TRUE(unitPanel_->IsCollapsed());
  EXPECT_EQ(hexPanel_->rememberedCollapsed, 0);
  EXPECT_EQ(unitPanel_->rememberedCollapsed, 1);
  EXPECT_EQ(static_cast<CDXUTStatic*>(info().GetControl(cInfoPanel::kCountryName))->GetText(), u"Country2");

  // After the computer's phase each panel comes back as it was, and the
  // status line no longer says what the phase was doing.
  port_.SetStatusText(GetText("statusbar_hint_determining_sea_battles"));
  ResumePlayerInterface();
  EXPECT_EQ(static_cast<CDXUTStatic*>(info().GetControl(cInfoPanel::kStatusLine))->GetText(), u"");
  EXPECT_EQ(game().GetGameState(), kGameHumanIdle);
  EXPECT_FALSE(hexPanel_->IsCollapsed());
  EXPECT_TRUE(unitPanel_->IsCollapsed());
  EXPECT_FALSE(info().GetControl(cInfoPanel::kBusyImage)->GetVisible());
}

TEST_F(EndTurnTest, TheConsoleLogStartsAfreshAtTheEndOfTheTurn) {
  test::TempDir logs;
  const std::filesystem::path file = logs.path() / "ConsoleOut.txt";
  ConsoleLog().Reopen(file);
  LogLine(u"a line of the turn before");
  EndHumanTurn();
  const std::string bytes = test::ReadFileBytes(file);
  ConsoleLog().Close();
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE"));
  EXPECT_EQ(bytes.find("a line"), std::string::npos);
}

std::u16string BoxText(const cDialog* dialog, int line) {
  auto* box = dynamic_cast<const cDialogTekstowy*>(dialog);
  if (box == nullptr) return u"(no text box)";
  return static_cast<const CDXUTStatic*>(box->GetControl(box->layoutBase() + line))->GetText();
}

// The autosave's box as the player meets it: the reason, what became of the
// autosave before it, and what to do about it on this disk.
std::u16string AutosaveBox(std::u16string_view reason, const char* remedyKey, const char* earlierKey,
                           const char* thenKey = "autosave_then_save_yourself") {
  // A refused save names the folder of saves, which it writes in; the others the save's own.
  const bool refused = std::string_view(remedyKey) == "save_remedy_no_permission_%s";
  const std::u16string folder = refused ? u"data\\save" : u"data\\save\\" + GetText("autosave");
  return Format(GetText("autosave_failed_%s_%s_%s"), reason, GetText(earlierKey),
                Format(GetText(remedyKey), ShownPath(folder)) + u" " + GetText(thenKey));
}

struct AutosaveCase {
  const char* name;
  int flushError;         // what the system answers the flush of the autosave; 0 it goes in
  const char* reasonKey;  // the reason the box gives; none for a sound autosave
  const char* remedyKey;
};
class AutosaveTest : public EndTurnTest, public testing::WithParamInterface<AutosaveCase> {};

// The turn goes on to the computer whatever the autosave met. A failed one's
// box waits for the player's next turn: the sea-battle screen of the
// computer's phase closes every box open then, and the box comes under the
// banner the worker's hand-over pushes.
TEST_P(AutosaveTest, AFailedAutosaveIsToldAtThePlayersNextTurnWithItsReason) {
  game().saveContext = std::make_unique<cGameSaver>(game());
  const int flushError = GetParam().flushError;
  game().saveContext->flushCheck = [flushError](const std::filesystem::path&) { return flushError; };
  EndHumanTurn();
  EXPECT_EQ(game().GetGameState(), kGameComputerTurn);
  const std::filesystem::path saved = folder_.path() / "data/save" / std::filesystem::path(GetText("autosave"));
  EXPECT_EQ(std::filesystem::is_regular_file(saved / "Info.ini"), flushError == 0);
  EXPECT_TRUE(ModalDialogStack.empty());

  PushModalDialog(new cDialog(700, RectFromSize(0, 0, 100, 100)));
  sSeaBattle battle({}, {});
  CurrentMenu = new cSeaBattleMenu(battle);
  EXPECT_TRUE(ModalDialogStack.empty());
  DeleteCurrentMenu();
  port_.PushNewTurnDialog(1);
  ASSERT_EQ(ModalDialogStack.size(), flushError == 0 ? 1u : 2u);
  ASSERT_NE(dynamic_cast<cDialogNowejTury*>(TopDialog), nullptr);
  if (flushError == 0) return;
  const cDialog* box = ModalDialogStack.front();
  EXPECT_EQ(BoxText(box, 1), GetText("autosave_failed_title"));
  // Beyond a full disk, a read-only one and a refusal, the system's own words.
  const std::u16string reason = flushError == EIO ? Format(GetText(GetParam().reasonKey), u"Input/output error")
                                                  : GetText(GetParam().reasonKey);
  // No autosave was written before this one.
  EXPECT_EQ(BoxText(box, 3), AutosaveBox(reason, GetParam().remedyKey, "autosave_no_earlier"));
  // Closed unread by the next computer's phase, it comes again at the turn after.
  PopModalDialogs(-1);
  port_.PushNewTurnDialog(1);
  ASSERT_EQ(ModalDialogStack.size(), 2u);
  // Pushed once while it is up, whatever asks for the held boxes again.
  PushHeldBoxes();
  ASSERT_EQ(ModalDialogStack.size(), 2u);
  // Told once the player closed it: Enter on the banner, then on the box.
  TopDialog->OnKeyboard(VK_RETURN, true, false);
  ASSERT_EQ(ModalDialogStack.size(), 1u);
  TopDialog->OnKeyboard(VK_RETURN, true, false);
  EXPECT_TRUE(ModalDialogStack.empty());
  port_.PushNewTurnDialog(1);
  EXPECT_EQ(ModalDialogStack.size(), 1u);
  // Nor is it told as the game goes.
  cHeadlessPresentation shown;
  ScopedPresentation scoped(shown);
  TellHeldBoxes();
  EXPECT_EQ(shown.CountEvents(u"message-box "), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Disks, AutosaveTest,
    testing::Values(AutosaveCase{"Sound", 0, nullptr, nullptr},
                    AutosaveCase{"Full", ENOSPC, "save_failure_disk_full", "save_remedy_disk_full_%s"},
                    AutosaveCase{"ReadOnly", EROFS, "save_failure_read_only", "save_remedy_read_only_%s"},
                    AutosaveCase{"Refused", EACCES, "save_failure_no_permission", "save_remedy_no_permission_%s"},
                    AutosaveCase{"Failing", EIO, "save_failure_system_%s", "save_remedy_other_%s"}),
    [](const testing::TestParamInfo<AutosaveCase>& info) { return info.param.name; });

// Two held boxes come the first held on top, each pushed again after the
// screen closed them unread, and each is told only by its own OK: the one
// left open is the one told as the game goes.
TEST_F(EndTurnTest, EachHeldBoxIsSettledOnlyByItsOwnOk) {
  HoldBoxForNextTurn(u"First", u"first in game", u"first left");
  HoldBoxForNextTurn(u"Second", u"second in game", u"second left");
  PushHeldBoxes();
  ASSERT_EQ(ModalDialogStack.size(), 2u);
  EXPECT_EQ(BoxText(TopDialog, 1), u"First");
  EXPECT_EQ(BoxText(ModalDialogStack.front(), 1), u"Second");
  PopModalDialogs(-1);
  PushHeldBoxes();
  ASSERT_EQ(ModalDialogStack.size(), 2u);
  EXPECT_EQ(BoxText(TopDialog, 1), u"First");
  // OK on the first, then a third held and pushed over the second: OK on the third.
  TopDialog->OnKeyboard(VK_RETURN, true, false);
  ASSERT_EQ(ModalDialogStack.size(), 1u);
  HoldBoxForNextTurn(u"Third", u"third in game", u"third left");
  PushHeldBoxes();
  ASSERT_EQ(ModalDialogStack.size(), 2u);
  EXPECT_EQ(BoxText(TopDialog, 1), u"Third");
  TopDialog->OnKeyboard(VK_RETURN, true, false);
  ASSERT_EQ(ModalDialogStack.size(), 1u);
  cHeadlessPresentation shown;
  ScopedPresentation scoped(shown);
  TellHeldBoxes();
  ASSERT_EQ(shown.CountEvents(u"message-box "), 1);
  EXPECT_EQ(shown.events().back(), u"message-box Second|second left");
}

struct ViewCase {
  const char* name;
  float savedZoom;
  eGameState state;
};
class HumanNextTest : public EndTurnTest, public testing::WithParamInterface<ViewCase> {};

// The autosave fails on a read-only disk: its box comes under the banner.
TEST_P(HumanNextTest, TheNextHumanGetsTheScreenBackWithItsBannerAndItsView) {
  country(2).finishedTurn = 1;
  country(3).SetSavedView(249.0f, 294.0f, GetParam().savedZoom);
  hexPanel_->rememberedCollapsed = 0;
  game().saveContext = std::make_unique<cGameSaver>(game());
  game().saveContext->flushCheck = [](const std::filesystem::path&) { return EROFS; };
  EndHumanTurn();
  ASSERT_EQ(ModalDialogStack.size(), 2u);
  EXPECT_EQ(BoxText(ModalDialogStack.front(), 3),
            AutosaveBox(GetText("save_failure_read_only"), "save_remedy_read_only_%s", "autosave_no_earlier"));
  EXPECT_EQ(game().playerControl.currentCountry, &country(3));
  EXPECT_EQ(game().GetGameState(), GetParam().state);
  if (GetParam().savedZoom >= 0.0f) {
    EXPECT_EQ(game().map->camera.targetX, 249.0f);
    EXPECT_EQ(game().map->camera.targetY, 294.0f);
  }
  auto* banner = dynamic_cast<cDialogNowejTury*>(TopDialog);
  ASSERT_NE(banner, nullptr);
  EXPECT_EQ(banner->countryId(), 3);
  EXPECT_TRUE(info().MouseInputEnabled());
  EXPECT_FALSE(hexPanel_->IsCollapsed());
  EXPECT_TRUE(unitPanel_->IsCollapsed());
  // Put away before the player closed it, the game is gone: the advice is for the next one.
  cHeadlessPresentation shown;
  ScopedPresentation scoped(shown);
  TellHeldBoxes();
  ASSERT_EQ(shown.CountEvents(u"message-box "), 1);
  EXPECT_EQ(shown.events().back(),
            u"message-box " + GetText("autosave_failed_title") + u"|" +
                AutosaveBox(GetText("save_failure_read_only"), "save_remedy_read_only_%s", "autosave_no_earlier",
                            "autosave_then_next_time"));
}

INSTANTIATE_TEST_SUITE_P(Views, HumanNextTest,
                         testing::Values(ViewCase{"SavedViewGlides", 0.0f, kGameCameraGlide},
                                         ViewCase{"NoSavedViewCentresOnACity", -100.0f, kGameHumanIdle}),
                         [](const auto& info) { return info.param.name; });

TEST_F(EndTurnTest, WithoutANextCountryTheProgramEndsWithCodeOne) {
  country(2).finishedTurn = 1;
  country(3).finishedTurn = 1;
  test::LogCapture log;
  try {
    EndHumanTurn();
    FAIL() << "the turn went on without a next country";
  } catch (const FatalExitError& error) {
    EXPECT_EQ(error.code(), 1);
  }
  EXPECT_TRUE(log.Contains(GetText("error:_end_of_turn_from_main_thread._no_dummy_country?")));
}

// A play-by-e-mail game "Duel": country 1 is Ann's and ends its turn, country
// 3 is Bob's and plays next.
class PbemEndTurnTest : public EndTurnTest {
 protected:
  void SetUp() override {
    EndTurnTest::SetUp();
    std::filesystem::create_directories(folder_.path() / "data" / "pbem");
    game().pbemGame = 1;
    game().pbemGameName = u"Duel";
    game().turn = 4;
    PushBackSetupRecord(game().pbemPlayers, 1, u"Ann", u"ann@example.org");
    PushBackSetupRecord(game().pbemPlayers, 2, u"Bob", u"bob@example.org");
    country(1).pbemPlayerId = 1;
    country(3).pbemPlayerId = 2;
    country(2).finishedTurn = 1;
    game().saveContext = std::make_unique<cGameSaver>(game());
  }
  std::filesystem::path Pbem(const char16_t* folder = u"Duel") const {
    return folder_.path() / "data" / "pbem" / std::filesystem::path(folder);
  }
  // Where the turn in the folder stands and whose it is.
  std::string HeldTurn(const char16_t* folder) const {
    return test::ReadFileBytes(Pbem(folder) / "Info.ini") + test::ReadFileBytes(Pbem(folder) / "countries.csv");
  }
};

// The autosave fails on a full disk, while the turn's own folder takes the turn.
TEST_F(PbemEndTurnTest, TheTurnOfAnotherPlayerIsHandedOverAndTheGameWaitsInStateThree) {
  PushModalDialog(new cDialog(700, RectFromSize(0, 0, 100, 100)));
  game().saveContext->flushCheck = [](const std::filesystem::path& file) {
    return file.string().find("pbem") != std::string::npos ? 0 : ENOSPC;
  };
  const ScopedText message("pbem_turn_end_message", u"%s|%s|%s|%s");
  EndHumanTurn();
  EXPECT_TRUE(std::filesystem::is_regular_file(Pbem() / "Info.ini"));
  EXPECT_EQ(game().GetGameState(), kGameEndOfImpulse);
  // The message names the folder, whom to send it to and the country played
  // next, over a toolbar that takes no command. The autosave's box on top
  // gives advice that holds in the menus, where closing the message leads:
  // the play-by-e-mail list, where the answer will come.
  ASSERT_EQ(ModalDialogStack.size(), 2u);
  EXPECT_EQ(BoxText(ModalDialogStack.front(), 1), GetText("pbem_turn_end_title"));
  EXPECT_EQ(BoxText(ModalDialogStack.front(), 3),
            Format(u"%s|Bob|bob@example.org|Country3", ShownPath(u"data\\pbem\\Duel")));
  EXPECT_EQ(BoxText(TopDialog, 1), GetText("autosave_failed_title"));
  EXPECT_EQ(BoxText(TopDialog, 3),
            Format(GetText("autosave_failed_handed_over_%s_%s_%s_%s"), GetText("save_failure_disk_full"),
                   GetText("autosave_no_earlier"), ShownPath(u"data\\pbem\\Duel"),
                   Format(GetText("save_remedy_disk_full_%s"), ShownPath(u"data\\save\\" + GetText("autosave"))) +
                       u" " + GetText("autosave_then_before_next_turn")));
  EXPECT_FALSE(info().MouseInputEnabled());
  EXPECT_EQ(RequestedMenusList(), cScenarioMenu::kPbemGame);
  ClearReturnToMenusRequest();
  EXPECT_EQ(FindPbemRepoPlayer(u"Duel"), std::optional<std::uint32_t>(1));
  EXPECT_EQ(game().playerControl.currentCountry, &country(1));
}

// The turn cannot be written, on a full disk, then on a read-only one that
// fails the autosave too: the box names the folder, why and what to do, and
// the turn stays here, with the autosave's box on top. Each box is held till
// the player closes it.
TEST_F(PbemEndTurnTest, ATurnThatCannotBeWrittenIsNotHandedOverAndTheBoxSaysWhatToDo) {
  const std::u16string folder = ShownPath(u"data\\pbem\\Duel");
  for (const auto& [error, reason, remedy] :
       {std::tuple{ENOSPC, "save_failure_disk_full", "save_remedy_disk_full_%s"},
        std::tuple{EROFS, "save_failure_read_only", "save_remedy_read_only_%s"}}) {
    const bool autosaveFails = error == EROFS;
    game().saveContext->flushCheck = [error, autosaveFails](const std::filesystem::path& file) {
      return file.string().find("pbem") != std::string::npos || autosaveFails ? error : 0;
    };
    EndHumanTurn();
    ASSERT_EQ(ModalDialogStack.size(), autosaveFails ? 2u : 1u) << reason;
    const cDialog* box = ModalDialogStack.front();
    EXPECT_EQ(BoxText(box, 1), GetText("pbem_turn_not_handed_over_title"));
    EXPECT_EQ(BoxText(box, 3), Format(GetText("pbem_turn_not_written_%s_%s_%s_%s"), u"Bob", folder, GetText(reason),
                                      Format(GetText(remedy), folder) + u" " +
                                          GetText("pbem_then_end_turn_again")));
    if (autosaveFails) {
      // The first round's autosave went in, and is kept.
      EXPECT_EQ(BoxText(TopDialog, 3), AutosaveBox(GetText(reason), remedy, "autosave_earlier_kept"));
    }
    EXPECT_FALSE(ReturnToMenusRequested());
    EXPECT_FALSE(FindPbemRepoPlayer(u"Duel").has_value());
    EXPECT_EQ(game().playerControl.currentCountry, &country(1));
    // The window closed with the box unread, it is told as the game goes, in
    // words for a turn that did not end again.
    cHeadlessPresentation shown;
    ScopedPresentation scoped(shown);
    TellHeldBoxes();
    EXPECT_EQ(shown.CountEvents(u"message-box "), autosaveFails ? 2 : 1);
    EXPECT_EQ(shown.CountEvents(u"message-box " + GetText("pbem_turn_not_handed_over_title") + u"|" +
                                Format(GetText("pbem_turn_left_not_written_%s_%s_%s_%s"), u"Bob", folder,
                                       GetText(reason),
                                       Format(GetText(remedy), folder) + u" " +
                                           GetText("pbem_then_load_and_end_turn_again"))),
              1);
    PopModalDialogs(-1);
  }
}

struct HeldTurnCase {
  const char* name;
  std::int32_t turn;           // of the turn the game's folder holds
  std::int32_t endedThere;     // whether country 1 had ended its turn there
  const char16_t* secondPlayer;  // and the address, as the folder's turn names them
  const char16_t* secondEmail;
  const char16_t* folder;      // where the turn lies
  const char16_t* fault;       // empty: the turn is handed over
};
class HeldTurnTest : public PbemEndTurnTest, public testing::WithParamInterface<HeldTurnCase> {};

// The folder holds a turn written by this game at another time (the answer
// of the other player, or this turn handed over already by a save of it that
// was played again), or by another game of the same name or of a name in
// another case, which the paths would take for the game's own. Refused, the turn
// stays in play as it was before its end, to be ended again.
TEST_P(HeldTurnTest, OnlyALaterTurnOfTheSameGameIsWrittenOverTheFoldersTurn) {
  const HeldTurnCase& c = GetParam();
  cJednostkaLadowa& unit = world_->PlaceLandUnit(1, 4, 4);
  unit.startingActionPoints = unit.actionPoints = 3;
  unit.turnsSinceParadrop = 2;
  game().turn = c.turn;
  country(1).finishedTurn = c.endedThere;
  game().pbemPlayers[1].name = c.secondPlayer;
  game().pbemPlayers[1].email = c.secondEmail;
  ASSERT_TRUE(game().saveContext->SavePbemGame(c.folder));
  const std::string held = HeldTurn(c.folder);
  game().turn = 4;
  country(1).finishedTurn = 0;
  game().pbemPlayers[1].name = u"Bob";
  game().pbemPlayers[1].email = u"bob@example.org";

  test::LogCapture log;
  EndHumanTurn();
  auto* message = dynamic_cast<cDialogTekstowy*>(TopDialog);
  ASSERT_NE(message, nullptr);
  if (*c.fault == u'\0') {
    EXPECT_TRUE(ReturnToMenusRequested());
    ClearReturnToMenusRequest();
    EXPECT_NE(HeldTurn(c.folder), held);
    return;
  }
  EXPECT_TRUE(log.ContainsText(std::u16string(u"ERROR: The play-by-e-mail turn of Duel is not handed over: ") +
                               ShownPath(c.fault)));
  EXPECT_EQ(BoxText(message, 1), GetText("pbem_turn_not_handed_over_title"));
  // The box names the player it was for, then the fault.
  EXPECT_TRUE(BoxText(message, 3).starts_with(
      Format(GetText("pbem_turn_not_handed_over_%s_%s"), u"Bob", ShownPath(c.fault))))
      << Utf16ToUtf8(BoxText(message, 3));
  EXPECT_FALSE(ReturnToMenusRequested());
  EXPECT_EQ(HeldTurn(c.folder), held);
  EXPECT_FALSE(std::filesystem::exists(folder_.path() / "data" / "pbem" / "repo.dat"));
  EXPECT_EQ(game().GetGameState(), kGameHumanIdle);
  EXPECT_EQ(game().playerControl.currentCountry, &country(1));
  EXPECT_EQ(country(1).finishedTurn, 0);
  EXPECT_EQ(unit.turnsSinceParadrop, 2);
  EXPECT_TRUE(info().MouseInputEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Folder, HeldTurnTest,
    testing::Values(
        HeldTurnCase{"TheOtherPlayersAnswer", 4, 0, u"Bob", u"bob@example.org", u"Duel", u""},
        HeldTurnCase{"AnAnswerOfAnEarlierImpulse", 3, 1, u"Bob", u"bob@example.org", u"Duel", u""},
        HeldTurnCase{"AnAnswerBeforeThePlayerWasRenamed", 4, 0, u"Robert", u"bob@example.org", u"Duel", u""},
        HeldTurnCase{"AnAnswerBeforeThePlayerMoved", 4, 0, u"Bob", u"bob@example.net", u"Duel", u""},
        HeldTurnCase{"ThisTurnHandedOverAlready", 4, 1, u"Bob", u"bob@example.org", u"Duel",
                     u"data\\pbem\\Duel holds this turn of this game or a later one: this turn was handed over already"},
        HeldTurnCase{"ALaterTurn", 5, 0, u"Bob", u"bob@example.org", u"Duel",
                     u"data\\pbem\\Duel holds this turn of this game or a later one"},
        HeldTurnCase{"AnotherGameOfTheName", 3, 0, u"Carl", u"carl@example.org", u"Duel",
                     u"data\\pbem\\Duel holds a turn of another game, whose players are Ann, Carl"},
        HeldTurnCase{"AnotherGameOfANameInAnotherCase", 3, 0, u"Bob", u"bob@example.org", u"duel",
                     u"data\\pbem\\duel is the folder of another game; this game's folder data\\pbem\\Duel is missing"}),
    [](const auto& info) { return info.param.name; });

TEST_F(EndTurnTest, UnitsOnTheSeaOrAwayFromTheirHexAreReportedAndTheTurnGoesOn) {
  auto unit = std::make_unique<cJednostkaLadowa>();
  unit->owner = 1;
  unit->name = u"1st Rifles";
  unit->x = 5;
  unit->y = 5;
  world_->hex(2, 3).unit = unit.get();
  world_->hex(2, 3).terrain = kTerrainWater;
  test::LogCapture log;
  CheckUnitPositions(game());
  EXPECT_TRUE(log.Contains(u"DBGINF: sea hex (2, 3) is occupied by unit"));
  EXPECT_TRUE(log.Contains(
      u"DBGINF: hex (2, 3) is occupied by unit 1st Rifles owned by Country1 which location field is different: (5, 5)"));
  world_->hex(2, 3).unit = nullptr;
}

struct IdleCase {
  const char* name;
  int owner;
  int points;  // the unit started its turn with 3
  int turnsBefore;
  int turnsAfter;
};
class IdleTurnTest : public EndTurnTest, public testing::WithParamInterface<IdleCase> {};

TEST_P(IdleTurnTest, TheEndingCountrysUnitsCountTheirTurnsTowardsTheNextDrop) {
  const IdleCase& c = GetParam();
  cJednostkaLadowa& unit = world_->PlaceLandUnit(c.owner, 4, 4);
  unit.startingActionPoints = 3;
  unit.actionPoints = c.points;
  unit.turnsSinceParadrop = c.turnsBefore;
  EndHumanTurn();
  EXPECT_EQ(unit.turnsSinceParadrop, c.turnsAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Units, IdleTurnTest,
    testing::Values(IdleCase{"RestedOneMore", 1, 3, 2, 3}, IdleCase{"ActedStartsAgain", 1, 1, 5, 0},
                    IdleCase{"AnotherCountrysUnitWaits", 2, 3, 2, 2},
                    IdleCase{"AnotherCountrysActedUnitWaits", 2, 0, 2, 2},
                    IdleCase{"TheCountReachesItsTop", 1, 3, 999999, 1000000},
                    IdleCase{"TheCountStopsAtItsTop", 1, 3, 1000000, 1000000},
                    IdleCase{"TheCountStopsAtTheTop", 1, 3, 2147483647, 2147483647}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tr
