// The scenario settings menu over a small loaded game: the country list and
// its filters, the controller and difficulty controls, the statistics tabs,
// the play-by-e-mail players and folder, the ordered refusals of the start
// (which change nothing), the start itself and the way back.
#include "app/scenario_settings_menu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/app_presentation.h"
#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "dialogs/dialog_tekstowy.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "gui/check_box.h"
#include "gui/combo_box.h"
#include "gui/edit_box.h"
#include "gui/list_box.h"
#include "gui/static.h"
#include "gui/tab_frame.h"
#include "menu_fixture.h"
#include "scenario/pbem_repository.h"
#include "units/unit.h"
#include "support/log_capture.h"
#include "world/gra.h"

namespace tr {
namespace {

struct CountrySetup {
  const char16_t* name;
  int alliance;
  std::uint8_t active;
  int strength;
  int specialFlags;
  std::uint8_t human;
  int difficulty;
};

class ScenarioSettingsTest : public test::MenuFixture {
 protected:
  void SetUp() override {
    MenuFixture::SetUp();
    scoped_ = std::make_unique<ScopedPresentation>(port_);
    InstallMenuCallbackSet();
  }
  void TearDown() override {
    MenuFixture::TearDown();
    scoped_.reset();
  }
  // A loaded game (state 1) with the countries, numbered from 1 in this order.
  cGame& MakeGame(const std::vector<CountrySetup>& setups) {
    auto* game = new cGame();
    gGame = game;
    game->map = std::make_unique<cMap>(4, 4);
    for (const CountrySetup& setup : setups) {
      auto country = std::make_unique<cCountry>();
      country->id = static_cast<int>(game->countries.size()) + 1;
      country->name = setup.name;
      country->alliance = setup.alliance;
      country->isActive = setup.active;
      country->politicalStrength = setup.strength;
      country->specialFlags = setup.specialFlags;
      country->humanControlled = setup.human;
      country->difficulty = setup.difficulty;
      game->countries.push_back(std::move(country));
    }
    game->relations.Reset(static_cast<int>(setups.size()));
    game->folderTemplate = u"data\\scenarios\\Test\\%s";
    game->gameVersion = 1.02f;
    game->StoreGameState(kGameLoaded);
    return *game;
  }
  // Zeta and Alpha play; the others are left out of the list.
  cGame& MakeStandardGame() {
    return MakeGame({{u"Zeta", 1, 1, 10, 0, 0, 2},
                     {u"Hidden", 2, 0, 10, 0, 0, 2},
                     {u"Alpha", 0, 1, 5, 0, 1, 1},
                     {u"Rock", 2, 1, -1, 0, 0, 2},
                     {u"Events", 3, 1, 7, 1, 0, 2},
                     {u"Mid", 2, 1, 3, 0, 0, 4}});
  }
  cScenarioSettingsMenu& Open() {
    auto* menu = new cScenarioSettingsMenu();
    CurrentMenu = menu;
    return *menu;
  }
  static cScenarioSettingsMenu& Menu() { return *static_cast<cScenarioSettingsMenu*>(CurrentMenu); }
  template <typename Control>
  static Control& Get(int id) {
    CDXUTControl* control = CurrentMenu->GetControl(id);
    EXPECT_NE(control, nullptr) << id;
    return *static_cast<Control*>(control);
  }
  static std::vector<std::u16string> Rows(int listId) {
    std::vector<std::u16string> rows;
    auto& list = Get<CDXUTListBox>(listId);
    for (int i = 0; i < list.GetSize(); ++i) rows.push_back(list.GetItem(i)->text);
    return rows;
  }
  static void Event(int id, std::uint32_t event = GuiEventButtonClicked) {
    MenuGuiEventCallback(event, id, CurrentMenu->GetControl(id));
  }
  static void SelectRow(int listId, int row) { Get<CDXUTListBox>(listId).SelectItem(row, true); }
  static void SetField(int id, std::u16string_view text) { Get<CDXUTEditBox>(id).SetText(text); }
  // The countries tab (0) or the play-by-e-mail tab (1), as a click on its header leaves it.
  void ShowTab(int tab) {
    Get<CDXUTTabFrame>(kSettingsTabs).SelectTab(tab, true);
    CurrentMenu->OnFrameMove(frame_->graphics(), 0.0, 0.0f);
  }
  static std::u16string Row(std::u16string_view name, const char* controller, const char* difficulty) {
    return Format(u" %s;%s;%s", name, GetText(controller), GetText(difficulty));
  }
  // The standard game set for play by e-mail, Albrecia's and Kaltheim's
  // players first and second, under the given game name.
  cGame& PbemGameOfTwo(std::u16string_view name) {
    cGame& game = MakeStandardGame();
    Open();
    ShowTab(1);
    ClickControl(kPbemCheckBox);
    for (int id : {3, 1}) {
      game.GetCountry(id)->humanControlled = 1;
      game.GetCountry(id)->pbemPlayerId = id == 3 ? 1 : 2;
    }
    SetField(kPbemNameField, name);
    return game;
  }

  cAppPresentation port_;
  std::unique_ptr<ScopedPresentation> scoped_;
};

TEST_F(ScenarioSettingsTest, ListsThePlayableCountriesByNameAndSelectsTheFirst) {
  MakeStandardGame();
  test::LogCapture log;
  Open();
  EXPECT_EQ(Rows(kCountryList),
            (std::vector<std::u16string>{Row(u"Alpha", "scenario_settings_human_controlled", "scenario_settings_hard"),
                                         Row(u"Mid", "scenario_settings_ai_controlled", "scenario_settings_very_easy"),
                                         Row(u"Zeta", "scenario_settings_ai_controlled", "scenario_settings_normal")}));
  EXPECT_EQ(Menu().selectedCountry(), gGame->GetCountry(3));
  EXPECT_EQ(Get<CDXUTStatic>(kCountryName).GetText(), u"Alpha");
  EXPECT_EQ(Get<CDXUTStatic>(kCountryName).GetTextElement(), 2);  // the title's large type
  EXPECT_TRUE(Get<CDXUTRadioButton>(kHumanRadio).GetChecked());
  EXPECT_FALSE(Get<CDXUTRadioButton>(kComputerRadio).GetChecked());
  EXPECT_TRUE(Get<CDXUTRadioButton>(kVeryHardRadio + 1).GetChecked());
  // Not a play-by-e-mail game: no player to choose.
  EXPECT_FALSE(Get<CDXUTComboBox>(kPlayerCombo).GetVisible());
  const std::vector<std::u16string> expected = {u"----- Scenario Settings Menu -----", u"Minimap loaded", u"Tabs added",
                                                u"Countries updated", u"Country selected", u"Menu created"};
  std::vector<std::u16string> seen;
  for (const std::u16string& line : log.lines()) {
    if (std::find(expected.begin(), expected.end(), line) != expected.end()) seen.push_back(line);
  }
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(Get<CDXUTEditBox>(kPbemNameField).GetText(), u"New pbem");
  EXPECT_TRUE(Get<CDXUTEditBox>(kPbemNameField).GetEnabled());
  // The menu's frame lies where the layout puts it.
  const CDXUTControl& frame = Get<CDXUTControl>(kSettingsFrame);
  const sGuiLayoutEntry& at = sGuiLayoutTable[kSettingsFrame];
  EXPECT_EQ((Rect{frame.x(), frame.y(), frame.width(), frame.height()}), (Rect{at.x, at.y, at.width, at.height}));
}

TEST_F(ScenarioSettingsTest, WithoutPlayableCountriesNothingIsSelectedAndTheControllerControlsHide) {
  MakeGame({{u"Hidden", 1, 0, 10, 0, 0, 2}});
  Open();
  EXPECT_TRUE(Rows(kCountryList).empty());
  EXPECT_EQ(Menu().selectedCountry(), nullptr);
  for (int id : {kComputerRadio, kHumanRadio, kPlayerCombo, kVeryHardRadio, kVeryEasyRadio}) {
    EXPECT_FALSE(Get<CDXUTControl>(id).GetVisible()) << id;
  }
}

TEST_F(ScenarioSettingsTest, ControllerAndDifficultyClicksGoIntoTheCountryAndItsRow) {
  MakeStandardGame();
  Open();
  SelectRow(kCountryList, 1);
  ASSERT_EQ(Menu().selectedCountry()->name, u"Mid");
  EXPECT_TRUE(Get<CDXUTRadioButton>(kVeryEasyRadio).GetChecked());
  ClickControl(kHumanRadio);
  ClickControl(kVeryHardRadio + 2);
  const cCountry& mid = *gGame->GetCountry(6);
  EXPECT_EQ(mid.humanControlled, 1);
  EXPECT_EQ(mid.difficulty, 2);
  EXPECT_EQ(Rows(kCountryList)[1], Row(u"Mid", "scenario_settings_human_controlled", "scenario_settings_normal"));
  ClickControl(kComputerRadio);
  EXPECT_EQ(mid.humanControlled, 0);
  EXPECT_EQ(Rows(kCountryList)[1], Row(u"Mid", "scenario_settings_ai_controlled", "scenario_settings_normal"));
}

TEST_F(ScenarioSettingsTest, EachTabShowsItsOwnControlsAndThePlayerChoiceStaysHidden) {
  MakeStandardGame();
  Open();
  auto& tabs = Get<CDXUTTabFrame>(kSettingsTabs);
  // The play-by-e-mail tab's controls, its first and its last, show with their tab only.
  EXPECT_FALSE(Get<CDXUTControl>(kPbemCheckBox).GetVisible());
  EXPECT_FALSE(Get<CDXUTControl>(kRemovePlayerButton).GetVisible());
  tabs.SelectTab(1, true);
  EXPECT_FALSE(Get<CDXUTControl>(kHumanRadio).GetVisible());
  EXPECT_TRUE(Get<CDXUTControl>(kPbemCheckBox).GetVisible());
  EXPECT_TRUE(Get<CDXUTControl>(kRemovePlayerButton).GetVisible());
  tabs.SelectTab(0, true);
  CurrentMenu->OnFrameMove(frame_->graphics(), 0.0, 0.0f);
  EXPECT_TRUE(Get<CDXUTControl>(kHumanRadio).GetVisible());
  EXPECT_FALSE(Get<CDXUTControl>(kPlayerCombo).GetVisible());
  EXPECT_FALSE(Get<CDXUTControl>(kPbemCheckBox).GetVisible());
}

struct StatsCase {
  const char* name;
  int tab;
  int row;
  std::u16string_view format;
  const char* key;
  int rows;
};

class ScenarioSettingsStats : public ScenarioSettingsTest, public testing::WithParamInterface<StatsCase> {};

TEST_P(ScenarioSettingsStats, ShowTheSelectedTabsRows) {
  cGame& game = MakeStandardGame();
  cCountry& alpha = *game.GetCountry(3);
  alpha.allianceEntry = 40;
  alpha.socialUnrest = 12.4f;
  alpha.productionPoints = 151.6;
  alpha.diplomaticPoints = 7;
  alpha.dpGrowthPerMonth = 2;
  alpha.seaTransportPoints = 9;
  alpha.techLevels = {1, 2, 3, 4, 5, 6, 7};
  Open();
  Get<CDXUTTabFrame>(kStatsTabs).SelectTab(GetParam().tab, true);
  const std::vector<std::u16string> rows = Rows(kStatsList);
  ASSERT_EQ(static_cast<int>(rows.size()), GetParam().rows);
  const std::u16string text = GetText(GetParam().key);
  EXPECT_EQ(rows[static_cast<std::size_t>(GetParam().row)], Format(GetParam().format, text));
}

INSTANTIATE_TEST_SUITE_P(
    Tabs, ScenarioSettingsStats,
    testing::Values(StatsCase{"NeutralEntry", 0, 0, u"%s;40%%", "country_stats_alliance_entry", 9},
                    StatsCase{"Unrest", 0, 5, u"%s;12%%", "country_stats_social_unrest", 9},
                    StatsCase{"Doctrine", 0, 7, u"%s;3", "country_stats_land_warfare_doctrine_level", 9},
                    StatsCase{"Production", 1, 0, u"%s;152", "country_stats_production_points", 5},
                    StatsCase{"SeaTransport", 1, 3, u"%s;9", "country_stats_sea_transport_points", 5},
                    StatsCase{"Tanks", 3, 1, u"%s;2", "country_stats_technology_tanks", 6},
                    StatsCase{"NuclearBomb", 3, 5, u"%s;7", "country_stats_technology_nuclear_bomb", 6}),
    [](const auto& info) { return info.param.name; });

TEST_F(ScenarioSettingsTest, UnitsTabCountsEachTypeOnTheMapAndInReserve) {
  cGame& game = MakeStandardGame();
  for (int i = 0; i < 2; ++i) {
    auto unit = std::make_unique<cJednostkaLadowa>();
    unit->owner = 3;
    unit->SetType(1);
    game.landUnits.push_back(std::move(unit));
  }
  auto air = std::make_unique<cJednostkaLotnicza>();
  air->owner = 3;
  air->SetType(21);
  game.reservePool.push_back(std::move(air));
  Open();
  Get<CDXUTTabFrame>(kStatsTabs).SelectTab(2, true);
  const std::vector<std::u16string> rows = Rows(kStatsList);
  ASSERT_EQ(rows.size(), 16u);
  EXPECT_EQ(rows[1], Format(u"%s;2;0", GetUnitTypeName(1)));
  EXPECT_EQ(rows[8], Format(u"%s;0;1", GetUnitTypeName(21)));
  EXPECT_EQ(rows[15], Format(u"%s;0;0", GetUnitTypeName(45)));
}

TEST_F(ScenarioSettingsTest, PlayersAreNumberedByTheirPlaceAsASaveStoresThem) {
  cGame& game = MakeStandardGame();
  Open();
  ShowTab(1);
  ClickControl(kPbemCheckBox);
  ASSERT_EQ(game.pbemGame, 1);
  // Ticking the box hands every country to the computer.
  EXPECT_EQ(game.GetCountry(3)->humanControlled, 0);
  for (const char16_t* name : {u"Ann", u"Bob", u"Cid"}) {
    SelectRow(kPlayerList, Get<CDXUTListBox>(kPlayerList).GetSize() - 1);
    EXPECT_EQ(Get<CDXUTEditBox>(kPlayerNameField).GetText(), cScenarioSettingsMenu::kNewPlayerName);
    SetField(kPlayerNameField, name);
    SetField(kPlayerEmailField, Format(u"%s@example.com", name));
    ClickControl(kSavePlayerButton);
  }
  SelectRow(kPlayerList, 1);
  EXPECT_EQ(Menu().selectedPlayer(), 2);
  EXPECT_EQ(Get<CDXUTEditBox>(kPlayerEmailField).GetText(), u"Bob@example.com");
  ClickControl(kRemovePlayerButton);
  ASSERT_EQ(game.pbemPlayers.size(), 2u);
  EXPECT_EQ(game.pbemPlayers[1].number, 2) << "Cid moves up to Bob's number";
  SelectRow(kPlayerList, 2);
  SetField(kPlayerNameField, std::u16string(150, u'D'));
  ClickControl(kSavePlayerButton);
  ASSERT_EQ(game.pbemPlayers.size(), 3u);
  EXPECT_EQ(game.pbemPlayers[2].number, 3);
  EXPECT_EQ(game.pbemPlayers[2].name, std::u16string(99, u'D'));
  EXPECT_EQ(Rows(kPlayerList).back(), GetText("scenario_settings_pbem_player_new"));
  // The second field holds the address and says so.
  EXPECT_EQ(Get<CDXUTStatic>(kPlayerEmailField - 1).GetText(), GetText("scenario_settings_pbem_player_email"));
  EXPECT_NE(GetText("scenario_settings_pbem_player_email"), GetText("scenario_settings_pbem_player_name"));
  EXPECT_EQ(Rows(kPlayerList)[1], u"Cid;Cid@example.com");

  // Cid (number 2) leads Zeta, and the new player (number 3) Alpha.
  ShowTab(0);
  SelectRow(kCountryList, 0);
  Get<CDXUTComboBox>(kPlayerCombo).SetSelectedByData(3);
  ClickControl(kHumanRadio);
  SelectRow(kCountryList, 2);
  Get<CDXUTComboBox>(kPlayerCombo).SetSelectedByData(2);
  ClickControl(kHumanRadio);
  EXPECT_EQ(game.GetCountry(1)->pbemPlayerId, 2);
  EXPECT_EQ(Rows(kCountryList)[2], Format(u" Zeta;Cid;%s", GetText("scenario_settings_normal")));

  // Renaming and removing the player show in the country's row at once.
  ShowTab(1);
  SelectRow(kPlayerList, 1);
  SetField(kPlayerNameField, u"Cyd");
  ClickControl(kSavePlayerButton);
  EXPECT_EQ(Rows(kCountryList)[2], Format(u" Zeta;Cyd;%s", GetText("scenario_settings_normal")));
  ClickControl(kRemovePlayerButton);
  EXPECT_EQ(game.GetCountry(1)->pbemPlayerId, 0) << "the removed player's country has no player";
  const cCountry* alpha = game.GetCountry(static_cast<int>(Get<CDXUTListBox>(kCountryList).GetItem(0)->data));
  EXPECT_EQ(alpha->pbemPlayerId, 2) << "the next player's country follows its player";
  EXPECT_EQ(Rows(kCountryList)[2], Row(u"Zeta", "scenario_settings_human_controlled", "scenario_settings_normal"));
}

TEST_F(ScenarioSettingsTest, TheGameNameFieldDropsTheCharactersAFolderNameCannotHold) {
  MakeStandardGame();
  Open();
  SetField(kPbemNameField, u"a/b\\c:d*e?f<g>h;i#j&k|l%m.n");
  Event(kPbemNameField, GuiEventEditChanged);
  EXPECT_EQ(Get<CDXUTEditBox>(kPbemNameField).GetText(), u"abcdefghijklm.n");
}

// The state a refusal must leave alone.
struct Snapshot {
  std::vector<int> human, player, difficulty;
  int pbem;
  std::u16string pbemName;
  std::size_t players;
  bool operator==(const Snapshot&) const = default;
};
Snapshot Take(const cGame& game) {
  Snapshot s{{}, {}, {}, game.pbemGame, game.pbemGameName, game.pbemPlayers.size()};
  for (const auto& c : game.countries) {
    s.human.push_back(c->humanControlled);
    s.player.push_back(c->pbemPlayerId);
    s.difficulty.push_back(c->difficulty);
  }
  return s;
}

struct RefusalCase {
  const char* name;
  int failing;  // the first check that fails, 1 to 5
  std::u16string (*text)();  // the box's text, from the string base
  const char* title;
};

class ScenarioSettingsRefusals : public ScenarioSettingsTest, public testing::WithParamInterface<RefusalCase> {};

TEST_P(ScenarioSettingsRefusals, TheFirstFailingCheckShowsItsTextAndChangesNothing) {
  const int failing = GetParam().failing;
  cGame& game = MakeStandardGame();  // Alpha (3) is human
  std::filesystem::create_directories(folder_.path() / "data/pbem/Taken");
  if (failing == 1) {
    // An old save without any human country.
    game.loadedGame = 1;
    game.gameVersion = 1.0f;
    game.GetCountry(3)->humanControlled = 0;
  } else if (failing == 2) {
    // This machine handed the turn over as player 1; Zeta of player 2 is next.
    game.loadedGame = 1;
    game.pbemGame = 1;
    game.pbemGameName = u"Old";
    game.GetCountry(3)->humanControlled = 0;
    game.GetCountry(1)->humanControlled = 1;
    game.GetCountry(1)->pbemPlayerId = 2;
    game.playerControl.currentCountry = game.GetCountry(6);
    UpdatePbemRepository(1, u"Old");
  }
  Open();
  if (failing >= 3) {
    // A new play-by-e-mail game whose folder exists already.
    ShowTab(1);
    ClickControl(kPbemCheckBox);
    SetField(kPbemNameField, u"Taken");
  }
  if (failing >= 4) {
    game.GetCountry(3)->humanControlled = 1;
    game.GetCountry(3)->pbemPlayerId = 1;
  }
  if (failing == 5) {
    game.GetCountry(1)->humanControlled = 1;
    game.GetCountry(1)->pbemPlayerId = 2;
  }
  const Snapshot before = Take(game);
  test::LogCapture log;
  ClickControl(kStartButton);

  ASSERT_NE(TopDialog, nullptr);
  auto* box = dynamic_cast<cDialogTekstowy*>(TopDialog);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(static_cast<CDXUTStatic*>(box->GetControl(685))->GetText(), GetText(GetParam().title));
  EXPECT_EQ(static_cast<CDXUTStatic*>(box->GetControl(687))->GetText(), GetParam().text());
  EXPECT_EQ(ModalDialogStack.size(), 1u);
  EXPECT_EQ(Take(game), before);
  EXPECT_EQ(game.GetGameState(), kGameLoaded);
  EXPECT_NE(dynamic_cast<cScenarioSettingsMenu*>(CurrentMenu), nullptr);
  EXPECT_FALSE(log.Contains(u"============== Starting game =============="));
  // Escape closes the message and keeps the game and the menu.
  MenuKeyboardCallback(VK_ESCAPE, true, false);
  EXPECT_TRUE(ModalDialogStack.empty());
  EXPECT_NE(gGame, nullptr);
  EXPECT_NE(dynamic_cast<cScenarioSettingsMenu*>(CurrentMenu), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    InOrder, ScenarioSettingsRefusals,
    testing::Values(
        RefusalCase{"OldSave", 1, [] { return GetText("start_refused_old_save"); }, "start_refused_old_save_title"},
        RefusalCase{"TurnPlayedHere", 2, [] { return GetText("pbem_turn_already_played"); },
                    "start_refused_pbem_save_title"},
        RefusalCase{"NoHuman", 3, [] { return GetText("start_refused_no_human"); }, "start_refused_settings_title"},
        RefusalCase{"OnePlayer", 4, [] { return GetText("start_refused_pbem_players"); },
                    "start_refused_pbem_settings_title"},
        RefusalCase{"FolderExists", 5,
                    [] {
                      return Format(GetText("start_refused_pbem_name_taken_%s_%s"), u"Taken",
                                    ShownPath(u"data\\pbem\\Taken"));
                    },
                    "start_refused_pbem_settings_title"}),
    [](const auto& info) { return info.param.name; });

class ScenarioSettingsBadNames : public ScenarioSettingsTest, public testing::WithParamInterface<const char16_t*> {};

TEST_P(ScenarioSettingsBadNames, AreRefusedWithTheDirectoryText) {
  EXPECT_FALSE(IsPbemGameNameValid(GetParam()));
  EXPECT_FALSE(CheckPbemFolder(GetParam()));
  EXPECT_FALSE(std::filesystem::exists(folder_.path() / "data/pbem"));
}

INSTANTIATE_TEST_SUITE_P(Names, ScenarioSettingsBadNames,
                         testing::Values(u"", u".", u"..", u"a%s", u"x/y", u"..\\up", u"c:d", u"a|b", u"repo.dat",
                                         u"Repo.DAT", u".hidden", u"Игра", u"Tank № 1", u"Wojna Lodz ", u" Duel"));

struct NameRefusal {
  const char* name;
  const char16_t* gameName;
  std::u16string (*text)();
};

class ScenarioSettingsNameRefusals : public ScenarioSettingsTest, public testing::WithParamInterface<NameRefusal> {};

// A game's name is kept in its folder's name, in the repository and in every
// turn's "Info.ini", and each must give it back unchanged: otherwise a later
// turn names another folder than its own, or two games share one. Such a
// name is refused, saying why, before any folder is made.
TEST_P(ScenarioSettingsNameRefusals, BeforeAnyFolderIsMade) {
  std::filesystem::create_directories(folder_.path() / "data/pbem/Wojna Lodz");
  cGame& game = PbemGameOfTwo(GetParam().gameName);
  ClickControl(kStartButton);
  ASSERT_NE(TopDialog, nullptr);
  EXPECT_EQ(static_cast<CDXUTStatic*>(TopDialog->GetControl(687))->GetText(), GetParam().text());
  EXPECT_EQ(game.GetGameState(), kGameLoaded);
  EXPECT_NE(game.pbemGameName, GetParam().gameName);
  std::vector<std::string> folders;
  for (const auto& entry : std::filesystem::directory_iterator(folder_.path() / "data/pbem")) {
    folders.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(folders, std::vector<std::string>{"Wojna Lodz"});
}

INSTANTIATE_TEST_SUITE_P(
    Names, ScenarioSettingsNameRefusals,
    testing::Values(
        // "Info.ini" holds the name in the Western European code page: "Игра"
        // would come back as "????", and so would every other name of its length.
        NameRefusal{"LettersTheCodePageLacks", u"Игра",
                    [] {
                      return Format(GetText("start_refused_pbem_name_%s_%s"), u"Игра",
                                    u"holds letters outside the Western European (Windows-1252) code page");
                    }},
        // "Info.ini" gives "Wojna Lodz" back, the name of another folder.
        NameRefusal{"TrailingBlank", u"Wojna Lodz ",
                    [] {
                      return Format(GetText("start_refused_pbem_name_%s_%s"), u"Wojna Lodz ",
                                    u"begins or ends with a blank");
                    }},
        NameRefusal{"LeadingBlank", u" Duel",
                    [] {
                      return Format(GetText("start_refused_pbem_name_%s_%s"), u" Duel", u"begins or ends with a blank");
                    }},
        // The folder of "Wojna Lodz" answers to this name too.
        NameRefusal{"AnotherGamesNameInAnotherCase", u"wojna lodz",
                    [] {
                      return Format(GetText("start_refused_pbem_name_taken_%s_%s"), u"wojna lodz",
                                    ShownPath(u"data\\pbem\\Wojna Lodz"));
                    }}),
    [](const auto& info) { return info.param.name; });

struct PlayerRefusal {
  const char* name;
  const char16_t* player;
  const char16_t* email;
  std::u16string (*text)();
};

class ScenarioSettingsPlayerRefusals : public ScenarioSettingsTest,
                                       public testing::WithParamInterface<PlayerRefusal> {};

// "Info.ini" keeps the players in the Western European code page: "Борис"
// would be "?????" in every later turn and in the hand-over message of the
// other machine. The player is not saved, new or renamed.
TEST_P(ScenarioSettingsPlayerRefusals, AreNotSavedAndTheMessageSaysWhy) {
  cGame& game = PbemGameOfTwo(u"Duel");
  PushBackSetupRecord(game.pbemPlayers, 1, u"Ann", u"ann@example.org");
  Menu().FillPbemPlayers();
  for (int row : {1, 0}) {
    SelectRow(kPlayerList, row);
    SetField(kPlayerNameField, GetParam().player);
    SetField(kPlayerEmailField, GetParam().email);
    ClickControl(kSavePlayerButton);
    auto* box = dynamic_cast<cDialogTekstowy*>(TopDialog);
    ASSERT_NE(box, nullptr) << row;
    EXPECT_EQ(static_cast<CDXUTStatic*>(box->GetControl(687))->GetText(), GetParam().text());
    MenuKeyboardCallback(VK_ESCAPE, true, false);
    ASSERT_EQ(game.pbemPlayers.size(), 1u);
    EXPECT_EQ(game.pbemPlayers[0].name, u"Ann");
    EXPECT_EQ(game.pbemPlayers[0].email, u"ann@example.org");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Players, ScenarioSettingsPlayerRefusals,
    testing::Values(PlayerRefusal{"Name", u"Борис", u"boris@example.org",
                                  [] { return Format(GetText("pbem_player_name_code_page_%s"), u"Борис"); }},
                    PlayerRefusal{"Address", u"Boris", u"борис@пример.рф",
                                  [] {
                                    return Format(GetText("pbem_player_email_code_page_%s"), u"борис@пример.рф");
                                  }}),
    [](const auto& info) { return info.param.name; });

TEST_F(ScenarioSettingsTest, AValidPbemStartMakesTheFolderAndASecondStartOfTheNameFails) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    cGame& game = PbemGameOfTwo(u"Duel");
    test::LogCapture log;
    ClickControl(kStartButton);
    EXPECT_TRUE(std::filesystem::is_directory(folder_.path() / "data/pbem/Duel"));
    if (attempt == 0) {
      EXPECT_TRUE(ModalDialogStack.empty());
      EXPECT_EQ(game.pbemGame, 1);
      EXPECT_EQ(game.pbemGameName, u"Duel");
      EXPECT_EQ(game.GetCountry(5)->humanControlled, 1) << "the special country plays its events";
      EXPECT_EQ(CurrentMenu, nullptr);
      EXPECT_TRUE(log.Contains(u"============== Starting game =============="));
      DestroyGame();
    } else {
      ASSERT_NE(TopDialog, nullptr);
      EXPECT_EQ(static_cast<CDXUTStatic*>(TopDialog->GetControl(687))->GetText(),
                Format(GetText("start_refused_pbem_name_taken_%s_%s"), u"Duel", ShownPath(u"data\\pbem\\Duel")));
      EXPECT_EQ(game.GetGameState(), kGameLoaded);
    }
  }
}

TEST_F(ScenarioSettingsTest, ASavedPbemGameKeepsItsNameAndStartsForTheLocalPlayerWithoutANewFolder) {
  cGame& game = MakeStandardGame();
  game.loadedGame = 1;
  game.pbemGame = 1;
  game.pbemGameName = u"Ongoing";
  game.GetCountry(3)->humanControlled = 0;
  game.GetCountry(1)->humanControlled = 1;
  game.GetCountry(1)->pbemPlayerId = 2;
  game.playerControl.currentCountry = game.GetCountry(6);
  std::filesystem::create_directories(folder_.path() / "data/pbem");
  // This machine last played as player 2, whose country is next.
  UpdatePbemRepository(2, u"Ongoing");
  Open();
  EXPECT_EQ(Get<CDXUTEditBox>(kPbemNameField).GetText(), u"Ongoing");
  EXPECT_FALSE(Get<CDXUTEditBox>(kPbemNameField).GetEnabled());
  EXPECT_TRUE(Get<CDXUTCheckBox>(kPbemCheckBox).GetChecked());
  ClickControl(kStartButton);
  EXPECT_TRUE(ModalDialogStack.empty());
  EXPECT_EQ(CurrentMenu, nullptr);
  EXPECT_FALSE(std::filesystem::exists(folder_.path() / "data/pbem/Ongoing"));
  EXPECT_EQ(game.pbemGameName, u"Ongoing");
}

// A turn received into the game's folder is loaded from that folder: the game
// stands at the turn the folder holds and starts; a save standing behind it
// (the turn was handed over since) is refused.
TEST_F(ScenarioSettingsTest, ASavedPbemGameStartsAtTheTurnItsFolderHoldsButNotBehindIt) {
  cGame& game = MakeStandardGame();
  game.loadedGame = 1;
  game.pbemGame = 1;
  game.pbemGameName = u"Ongoing";
  game.turn = 4;
  game.GetCountry(3)->humanControlled = 0;
  game.GetCountry(1)->humanControlled = 1;
  game.GetCountry(1)->pbemPlayerId = 2;
  game.playerControl.currentCountry = game.GetCountry(6);
  folder_.Write("data/pbem/Ongoing/Info.ini", "[Save]\r\nTurn=5\r\n");
  UpdatePbemRepository(2, u"Ongoing");
  Open();
  ClickControl(kStartButton);
  auto* box = dynamic_cast<cDialogTekstowy*>(TopDialog);
  ASSERT_NE(box, nullptr);
  // A folder without a countries table does not say whose move its turn awaits.
  EXPECT_EQ(static_cast<CDXUTStatic*>(box->GetControl(687))->GetText(),
            Format(GetText("pbem_save_behind_folder_%s"),
                   ShownPath(u"data\\pbem\\Ongoing") +
                       u" holds this turn of this game or a later one: this turn was handed over already"));
  MenuKeyboardCallback(VK_ESCAPE, true, false);
  ASSERT_TRUE(ModalDialogStack.empty());
  // A countries table whose only unfinished human country is player 2's: the
  // folder holds the other players' answer, and the refusal points to it.
  std::string row;
  for (int column = 1; column <= 63; ++column) {
    row += column == 2 || column == 14 ? "1" : column == 63 ? "2" : "0";
    row += column < 63 ? ";" : "\r\n";
  }
  folder_.Write("data/pbem/Ongoing/countries.csv", row);
  ClickControl(kStartButton);
  box = dynamic_cast<cDialogTekstowy*>(TopDialog);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(static_cast<CDXUTStatic*>(box->GetControl(687))->GetText(),
            Format(GetText("pbem_save_behind_received_turn_%s"), ShownPath(u"data\\pbem\\Ongoing")));
  MenuKeyboardCallback(VK_ESCAPE, true, false);
  ASSERT_TRUE(ModalDialogStack.empty());
  std::filesystem::remove(folder_.path() / "data/pbem/Ongoing/countries.csv");
  folder_.Write("data/pbem/Ongoing/Info.ini", "[Save]\r\nTurn=4\r\n");
  ClickControl(kStartButton);
  EXPECT_TRUE(ModalDialogStack.empty());
  EXPECT_EQ(CurrentMenu, nullptr);
}

class ScenarioSettingsBack : public ScenarioSettingsTest, public testing::WithParamInterface<bool> {};

TEST_P(ScenarioSettingsBack, BackAndEscapeDestroyTheGameAndShowTheScenarioMenu) {
  MakeStandardGame();
  Open();
  if (GetParam()) {
    MenuKeyboardCallback(VK_ESCAPE, true, false);
  } else {
    ClickControl(kBackButton);
  }
  EXPECT_EQ(gGame, nullptr);
  EXPECT_NE(dynamic_cast<cScenarioMenu*>(CurrentMenu), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Ways, ScenarioSettingsBack, testing::Values(false, true));

TEST_F(ScenarioSettingsTest, StartWithAHumanCountryHandsTheGameOver) {
  MakeStandardGame();
  Open();
  ClickControl(kStartButton);
  EXPECT_TRUE(ModalDialogStack.empty());
  EXPECT_EQ(CurrentMenu, nullptr);
  EXPECT_NE(gGame->GetGameState(), kGameLoaded);
  EXPECT_EQ(gGame->pbemGame, 0);
}

}  // namespace
}  // namespace tr
