// The whole load of a scenario: progress, the files in order, placement on
// the map, the finishing passes and the start of play.
#include <gtest/gtest.h>
#include <fcntl.h>

#include <fstream>
#include <functional>
#include <memory>
#include <utility>

#include "foundation/console_log.h"
#include "foundation/fast_digest.h"
#include "foundation/fatal.h"
#include "foundation/file_read.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "scenario/save_game.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "support/test_scenario.h"
#include "turn/theads.h"
#include "world/folder_path.h"
#include "world/game_start.h"
#include "world/gra.h"
#include "world/headless_presentation.h"

namespace tr {
namespace {

class LoadSequence : public testing::Test {
 protected:
  LoadSequence() : screen_(std::make_unique<cHeadlessPresentation>(true)), scoped_(*screen_) {}
  ~LoadSequence() override { DestroyGame(); }

  cGame& Load() {
    scenario_.Write();
    return *LoadNewScenario(scenario_.FolderTemplate(), 0);
  }
  // The exit code of a load that must fail, with the game it left torn down.
  int FailingLoadCode() {
    try {
      Load();
    } catch (const FatalExitError& error) {
      DestroyGame();
      return error.code();
    }
    return -1;
  }
  static void DestroyGame() {
    delete gGame;
    gGame = nullptr;
  }
  // The exit code a load of the folder leaves by (0 if it went through), the game torn down.
  static int LoadExitCode(const char16_t* folder) {
    int code = 0;
    try {
      LoadNewScenario(folder, 1);
    } catch (const FatalExitError& error) {
      code = error.code();
    }
    DestroyGame();
    return code;
  }
  std::vector<int> Progress() const {
    std::vector<int> steps;
    for (const std::u16string& event : screen_->events()) {
      if (event.starts_with(u"progress ")) steps.push_back(std::stoi(std::string(event.begin() + 9, event.end())));
    }
    return steps;
  }

  test::TestScenario scenario_;
  std::unique_ptr<cHeadlessPresentation> screen_;
  ScopedPresentation scoped_;
  test::LogCapture log_;
};

TEST_F(LoadSequence, NewScenarioLoadsEveryTableAndEndsInStateOne) {
  cGame& game = Load();
  EXPECT_EQ(gGame, &game);
  EXPECT_EQ(Progress(), (std::vector<int>{5, 10, 15, 20, 25, 35, 40, 45, 50, 55, 60, 65, 70, 75, 80, 85, 90, 95, 100}));
  EXPECT_TRUE(log_.Contains(u"-- Loading new scenario done!"));
  EXPECT_TRUE(log_.Contains(u"---- Game state = 1"));
  EXPECT_EQ(game.GetGameState(), kGameLoaded);
  EXPECT_EQ(screen_->events().back(), u"scenario-settings-menu");

  EXPECT_EQ(game.scenarioName, u"Test");
  EXPECT_EQ(game.CountryCount(), 3);
  EXPECT_EQ(game.cities.size(), 6u);
  EXPECT_EQ(game.map->GetHex(2, 4)->city->name, u"London");
  ASSERT_EQ(game.landUnits.size(), 2u);
  EXPECT_EQ(game.map->GetHex(1, 0)->unit, game.landUnits.front().get());
  EXPECT_EQ(game.map->GetHex(0, 2)->unit, game.airUnits.front().get());
  EXPECT_EQ(game.aboardUnitsA.size(), 1u);
  EXPECT_EQ(game.reservePool.size(), 2u);
  EXPECT_EQ(game.navalReserve.size(), 1u);
  ASSERT_EQ(game.fleets.size(), 2u);
  EXPECT_EQ(game.fleets.front()->ships.size(), 1u);
  EXPECT_EQ(game.seaGraph.NodeCount(), 4);
  EXPECT_EQ(game.convoys.ConvoysOf(1).size(), 1u);
  EXPECT_EQ(game.flags[39999], 123456);
  EXPECT_TRUE(game.relations.IsAtWar(1, 2));
  EXPECT_EQ(game.events->events.size(), 2u);
  EXPECT_EQ(game.autoEvents.pairs, (std::list<cAutoEventsRepository::Pair>{{1, 2}, {2, 7}}));
  // The short end of impulse moved the date on once.
  EXPECT_EQ(game.turn, 2);
  // Numbers continue above the highest in use; the convoy file holds number 3.
  EXPECT_EQ(game.nextLandUnitId, 5);
  EXPECT_EQ(game.nextConvoyId, 4);
  EXPECT_EQ(game.landUnits.front()->turnsSinceParadrop, game.constants.ParadropInterval());
  // The axis leader is the first side to act.
  EXPECT_EQ(game.playerControl.currentCountry, game.countries[0].get());
  EXPECT_GE(game.map->GetHex(1, 1)->city->hopCounts.size(), 1u);
  // The world's land groups are made: Berg and London share one.
  EXPECT_TRUE(game.playerControl.worldTopography.AreHexesInSameTopographyGroup(1, 1, 2, 4));
}

// A save from before the counters were kept numbers on past the highest
// number in use, as a new scenario does: only a save that keeps its
// counters starts from them.
TEST_F(LoadSequence, ASaveWithoutItsCountersNumbersOnPastTheHighestNumber) {
  ASSERT_TRUE(cGameSaver(Load()).SaveGame(u"Older", true));
  DestroyGame();
  const std::filesystem::path folder = ResolveGamePath(u"data\\save\\Older");
  test::MakeOlderSave(folder);
  std::string info = test::ReadFileBytes(folder / "Info.ini");
  const std::size_t key = info.find("LastLandUnitId");
  ASSERT_NE(key, std::string::npos);
  info.erase(key, info.find('\n', key) + 1 - key);
  std::ofstream(folder / "Info.ini", std::ios::binary | std::ios::trunc) << info;
  cGame& game = *LoadNewScenario(u"data\\save\\Older\\%s", 1);
  EXPECT_EQ(game.loadedGame, 1);
  EXPECT_EQ(game.nextLandUnitId, 5);
  EXPECT_EQ(game.nextConvoyId, 4);
}

// Each load says which check of its folders refused it, if any: never the
// verdict of the load before.
TEST_F(LoadSequence, ALoadTellsWhichFolderCheckRefusedItAndNoOtherLoadsVerdict) {
  cGame& game = Load();
  for (const char16_t* name : {u"Changed", u"Linked", u"Sound"}) ASSERT_TRUE(game.saveContext->SaveGame(name, true));
  DestroyGame();
  const std::filesystem::path changed = ResolveGamePath(u"data\\save\\Changed\\relations.csv");
  std::string bytes = test::ReadFileBytes(changed);
  bytes[bytes.size() - 3] ^= 0x01;
  std::ofstream(changed, std::ios::binary | std::ios::trunc) << bytes;
  const std::filesystem::path linked = ResolveGamePath(u"data\\save\\Linked\\relations.csv");
  std::filesystem::rename(linked, scenario_.root() / "relations.csv");
  std::filesystem::create_symlink(scenario_.root() / "relations.csv", linked);
  const auto refused = [](const char16_t* folder) {
    try {
      LoadNewScenario(folder, 1);
    } catch (const FatalExitError&) {
      DestroyGame();
      return true;
    }
    DestroyGame();
    return false;
  };
  EXPECT_TRUE(refused(u"data\\save\\Changed\\%s"));
  EXPECT_TRUE(LastLoadRefusedByFileCheck());
  EXPECT_FALSE(LastLoadRefusedForALink());
  EXPECT_TRUE(refused(u"data\\save\\Linked\\%s"));
  EXPECT_FALSE(LastLoadRefusedByFileCheck());
  EXPECT_TRUE(LastLoadRefusedForALink());
  EXPECT_FALSE(refused(u"data\\save\\Sound\\%s"));
  EXPECT_FALSE(LastLoadRefusedForALink());
  // A link in the scenario folder of a sound save refuses it as a link too.
  std::filesystem::create_symlink(scenario_.root() / "relations.csv", scenario_.ScenarioFolder() / "linked.csv");
  EXPECT_TRUE(refused(u"data\\save\\Sound\\%s"));
  EXPECT_FALSE(LastLoadRefusedByFileCheck());
  EXPECT_TRUE(LastLoadRefusedForALink());
}

// Acts on a save's files once the load reaches its last step: past the check
// of the save's list, before the last tables are read.
class cChangingPresentation : public cHeadlessPresentation {
 public:
  explicit cChangingPresentation(std::function<void()> change) : change_(std::move(change)) {}
  void SetLoadingProgress(int percent) override {
    cHeadlessPresentation::SetLoadingProgress(percent);
    if (percent == 95) change_();
  }

 private:
  std::function<void()> change_;
};

// A save's file is read from the very file its check compared with the list:
// its name removed by the time its reader comes, the save loads as written;
// the file changed in place to the same size (a letter of its header, which
// would read alike), the load is refused naming it.
TEST_F(LoadSequence, ASavesFileIsReadOnlyAsItsCheckFoundIt) {
  ASSERT_TRUE(cGameSaver(Load()).SaveGame(u"Checked", true));
  DestroyGame();
  const std::filesystem::path file = ResolveGamePath(u"data\\save\\Checked\\unit_state.csv");
  const std::string bytes = test::ReadFileBytes(file);
  ASSERT_TRUE(bytes.starts_with("#Seas"));
  {
    cChangingPresentation removing([&file] { std::filesystem::remove(file); });
    const ScopedPresentation scoped(removing);
    EXPECT_EQ(LoadNewScenario(u"data\\save\\Checked\\%s", 1)->landUnits.size(), 2u);
    EXPECT_FALSE(log_.ContainsText(u"ERROR"));
    DestroyGame();
  }
  std::ofstream(file, std::ios::binary) << bytes;
  cChangingPresentation changing([&file, &bytes] { std::ofstream(file, std::ios::binary) << "#SEAS" + bytes.substr(5); });
  const ScopedPresentation scoped(changing);
  const cLastErrorLine reason;
  EXPECT_EQ(LoadExitCode(u"data\\save\\Checked\\%s"), 1);
  // Refused where the change was found, with that for its reason.
  EXPECT_TRUE(reason.text().ends_with(u"unit_state.csv changed on the disk while the game was loaded from it; the "
                                      u"game is not loaded"))
      << Utf16ToUtf8(reason.text());
  // The cause the box gives its advice for: the file changed here, during the load.
  EXPECT_EQ(LastLoadRefusal(), eLoadRefusal::kChangedWhileLoading);

  // A read error as the reader takes the file is no change: its refusal
  // names no cause the box has advice for.
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
  cChangingPresentation failing([&file, &bytes] {
    cCheckedFiles* checked = cCheckedFiles::Current();
    ASSERT_NE(checked, nullptr);
    ASSERT_TRUE(checked->Holds(file));
    // Opened for writing only, the file gives a read error.
    checked->Hold(file, cGameFile(::open(file.c_str(), O_WRONLY), bytes.size()), bytes.size(), FastDigest(bytes));
  });
  const ScopedPresentation failingScoped(failing);
  EXPECT_EQ(LoadExitCode(u"data\\save\\Checked\\%s"), 1);
  EXPECT_TRUE(reason.text().ends_with(u"unit_state.csv cannot be read (a read error); the game is not loaded"))
      << Utf16ToUtf8(reason.text());
  EXPECT_EQ(LastLoadRefusal(), eLoadRefusal::kOther);
}

// The game saves only while a country is left to play the impulse, so a save
// whose countries have all finished is refused naming countries.csv. A
// scenario's countries all marked finished start with their marks cleared
// and the first country to play chosen, as when none is marked; a scenario
// without an active country is refused.
TEST_F(LoadSequence, AGameIsNeverLoadedWithoutACountryToPlay) {
  // With the allies' actions not shown, the first country's moves are
  // followed or not as its alliance says, as a sound scenario's are.
  const bool showAllies = std::exchange(gShowAlliesActions, false);
  const std::unique_ptr<bool, std::function<void(bool*)>> restore(&gShowAlliesActions,
                                                                   [showAllies](bool* flag) { *flag = showAllies; });
  cGame& game = Load();
  const auto follow = game.playerControl.follow;
  for (const auto& country : game.countries) country->finishedTurn = 1;
  ASSERT_TRUE(cGameSaver(game).SaveGame(u"Finished", true));
  DestroyGame();
  EXPECT_THROW(LoadNewScenario(u"data\\save\\Finished\\%s", 1), FatalExitError);
  DestroyGame();
  EXPECT_TRUE(log_.Contains(u"ERROR: data\\save\\Finished\\countries.csv leaves no country to play: every active "
                            u"country has \"Finished turn?\" set; the game writes the files of a saved game whole, so "
                            u"the file is damaged and the game is not loaded"));
  for (const auto& country : scenario_.world().countries) country->finishedTurn = 1;
  cGame& started = Load();
  ASSERT_EQ(started.playerControl.currentCountry, started.countries[0].get());
  EXPECT_EQ(started.playerControl.follow, follow);
  EXPECT_EQ(follow, 0);
  for (const auto& country : started.countries) EXPECT_EQ(country->finishedTurn, 0) << country->id;
  DestroyGame();
  for (const auto& country : scenario_.world().countries) country->isActive = 0;
  EXPECT_EQ(FailingLoadCode(), 1);
  EXPECT_TRUE(log_.Contains(u"ERROR: " + FolderFilePath(scenario_.FolderTemplate(), u"countries.csv") +
                            u" has no active country to play; the game is not loaded"));
}

TEST_F(LoadSequence, TwoLandUnitsOnOneHexAreBothNamedThenFatal) {
  scenario_.world().landUnits.back()->x = 1;
  scenario_.world().landUnits.back()->y = 0;
  EXPECT_EQ(FailingLoadCode(), 1);
  EXPECT_TRUE(log_.Contains(
      u"ERROR: Trying to place land unit 2nd Armour (ID=2) to hex (1, 0) occupied by 1st Infantry (ID=1)"));
  EXPECT_FALSE(log_.Contains(u"-- Loading new scenario done!"));
}

// Two units on one hex refuse the load in the player's words, naming both
// and the hex. A load refused for anything else leaves the words to its log
// line: an earlier unit off the map too, and never the words of the load before.
TEST_F(LoadSequence, TwoUnitsOnOneHexAloneAreToldInThePlayersWords) {
  cGame& world = scenario_.world();
  world.landUnits.back()->x = 1;
  world.landUnits.back()->y = 0;
  EXPECT_EQ(FailingLoadCode(), 1);
  // The file that holds them is named, as the player finds it.
  const auto file = [this](const char16_t* name) { return ShownPath(FolderFilePath(scenario_.FolderTemplate(), name)); };
  EXPECT_EQ(LastLoadRefusalInWords(), Format(GetText("load_refused_units_on_one_hex_%s_%s_%i_%i_%s"), u"1st Infantry",
                                             u"2nd Armour", 1, 0, file(u"land_units.csv")));
  EXPECT_EQ(LastLoadRefusal(), eLoadRefusal::kUnitsOnOneHex);
  // An air unit on a land unit's hex: both files.
  world.landUnits.back()->x = 3;
  world.landUnits.back()->y = 4;
  world.airUnits.front()->x = 3;
  world.airUnits.front()->y = 4;
  EXPECT_EQ(FailingLoadCode(), 1);
  EXPECT_EQ(LastLoadRefusalInWords(),
            Format(GetText("load_refused_units_on_one_hex_%s_%s_%i_%i_%s"), u"2nd Armour", u"JG 1", 3, 4,
                   Format(GetText("load_refused_two_files_%s_%s"), file(u"land_units.csv"), file(u"air_units.csv"))));
  world.airUnits.front()->x = 0;
  world.airUnits.front()->y = 2;
  world.landUnits.back()->x = 1;
  world.landUnits.back()->y = 0;
  world.landUnits.front()->x = 40;
  auto third = std::make_unique<cJednostkaLadowa>(*world.landUnits.back());
  third->id = 3;
  third->name = u"3rd Rifles";
  world.landUnits.push_back(std::move(third));
  EXPECT_EQ(FailingLoadCode(), 1);
  EXPECT_TRUE(log_.Contains(u"ERROR: Trying to place land unit 1st Infantry (ID=1) to hex (40, 0) outside the map"));
  EXPECT_TRUE(log_.Contains(
      u"ERROR: Trying to place land unit 3rd Rifles (ID=3) to hex (1, 0) occupied by 2nd Armour (ID=2)"));
  EXPECT_EQ(LastLoadRefusalInWords(), u"");
  EXPECT_EQ(LastLoadRefusal(), eLoadRefusal::kOther);
}

struct PlacementCase {
  const char* name;
  std::function<void(cGame&)> spoil;
  std::u16string_view line;
  int lastProgress;  // the load ends with the placement that found the clash
};

class Placement : public LoadSequence, public testing::WithParamInterface<PlacementCase> {};

TEST_P(Placement, EveryBadPositionIsLoggedThenFatal) {
  GetParam().spoil(scenario_.world());
  EXPECT_EQ(FailingLoadCode(), 1);
  EXPECT_TRUE(log_.Contains(GetParam().line)) << GetParam().name;
  EXPECT_EQ(Progress().back(), GetParam().lastProgress) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Clashes, Placement,
    testing::Values(
        PlacementCase{"AirOnLand",
                      [](cGame& g) {
                        g.airUnits.front()->x = 3;
                        g.airUnits.front()->y = 4;
                      },
                      u"ERROR: Trying to place air unit JG 1 (ID=1) to hex (3, 4) occupied by 2nd Armour (ID=2)", 25},
        PlacementCase{"LandOffMap", [](cGame& g) { g.landUnits.back()->x = 40; },
                      u"ERROR: Trying to place land unit 2nd Armour (ID=2) to hex (40, 4) outside the map", 25},
        PlacementCase{"CityOffMap", [](cGame& g) { g.cities.back()->y = 99; },
                      u"ERROR: City Neutra lies outside the map at hex (4, 99)", 20},
        PlacementCase{"TwoCities", [](cGame& g) { g.cities.back()->x = 2, g.cities.back()->y = 6; },
                      u"ERROR: Trying to place city Neutra to hex (2, 6) occupied by Ore", 20}),
    [](const testing::TestParamInfo<PlacementCase>& info) { return std::string(info.param.name); });

TEST_F(LoadSequence, HexesWithoutValidOwnersAreLoggedOnceInABox) {
  sHex& land = *scenario_.world().map->GetHex(4, 2);
  land.controller = 0;
  land.originalOwner = 7;
  // The sea may belong to nobody, but not to a country that does not exist.
  scenario_.world().map->GetHex(8, 3)->owner = 9;
  const int owner = land.owner;
  cGame& game = Load();
  const std::u16string map = FolderFilePath(scenario_.FolderTemplate(), u"map.qel");
  EXPECT_TRUE(log_.Contains(u"ERR: Hex (4, 2) ma nieprawidlowego posiadacza (0)"));
  EXPECT_TRUE(log_.Contains(u"ERR: Hex (4, 2) ma nieprawidlowego wlasciciela pierwotnego (7)"));
  EXPECT_FALSE(log_.ContainsText(u"Hex (8, 3)"));
  EXPECT_TRUE(log_.Contains(u"WARNING: hex (8, 3) of " + map + u" given controller 0, owner 0 and original owner 0"));
  EXPECT_EQ(game.map->GetHex(8, 3)->owner, 0);
  EXPECT_EQ(screen_->CountEvents(u"message-box Invalid ctr ids on hexes|"), 1);
  // The rules would end the program on a country that does not exist: the owner stands in.
  const sHex& mended = *game.map->GetHex(4, 2);
  EXPECT_EQ(mended.controller, owner);
  EXPECT_EQ(mended.originalOwner, owner);
  EXPECT_TRUE(log_.Contains(Format(u"WARNING: hex (4, 2) of %s given controller %i, owner %i and original owner %i",
                                   map, owner, owner, owner)));
}

// A land hex of a country that does not exist takes the countries of its
// first land neighbour; the sea beside it, even when owned, gives none.
TEST_F(LoadSequence, AHexOfNoCountryTakesItsFirstLandNeighboursCountries) {
  cMap& map = *scenario_.world().map;
  // The sea comes first among the neighbours of the top hex of column 5.
  for (const int y : {0, 1}) {
    sHex& sea = *map.GetHex(6, y);
    sea.controller = sea.owner = sea.originalOwner = 2;
  }
  sHex& lost = *map.GetHex(5, 0);
  lost.controller = lost.owner = lost.originalOwner = 7;
  cGame& game = Load();
  const sHex& mended = *game.map->GetHex(5, 0);
  EXPECT_EQ(mended.controller, 1);
  EXPECT_EQ(mended.owner, 1);
  EXPECT_EQ(mended.originalOwner, 1);
  EXPECT_EQ(game.map->GetHex(6, 0)->owner, 2);
  EXPECT_TRUE(log_.Contains(u"WARNING: hex (5, 0) of " + FolderFilePath(scenario_.FolderTemplate(), u"map.qel") +
                            u" given controller 1, owner 1 and original owner 1"));
}

// The last country's units are units of a country; a commander saved as free
// who leads a unit is counted as assigned, so the computer gives him no other.
TEST_F(LoadSequence, UnitsOfTheLastCountryLoadAndALeadingCommanderIsAssigned) {
  cJednostkaLadowa& neutral = *scenario_.world().landUnits.back();
  neutral.owner = 3;
  neutral.x = 3;
  neutral.y = 7;
  scenario_.world().commanders.front()->state = 0;
  cGame& game = Load();
  EXPECT_EQ(game.landUnits.back()->owner, 3);
  EXPECT_FALSE(log_.ContainsText(u"which does not exist"));
  const sCommander& kestrin = *game.commanders.front();
  EXPECT_EQ(kestrin.headquarters, game.landUnits.front().get());
  EXPECT_EQ(kestrin.state, kCommanderAssigned);
  EXPECT_TRUE(log_.ContainsText(u"WARNING: commander Kestrin (ID=1) in "));
}

// A commander leads his own country's units only: an air unit or a land unit
// of another country that names him is left without him, and he leads no one.
TEST_F(LoadSequence, AUnitNamingAnotherCountrysCommanderLosesHim) {
  cGame& scenario = scenario_.world();
  auto commander = std::make_unique<sCommander>();
  commander->id = 6;
  commander->name = u"Halvard";
  commander->countryId = 2;
  commander->skill = 3;
  commander->experience = 5;
  commander->state = kCommanderAssigned;
  scenario.airUnits.front()->attachedCommander = commander.get();
  scenario.commanders.push_back(std::move(commander));
  scenario.landUnits.back()->attachedCommander = scenario.commanders.front().get();
  cGame& game = Load();
  EXPECT_EQ(game.airUnits.front()->attachedCommander, nullptr);
  EXPECT_EQ(game.commanders.back()->headquarters, nullptr);
  EXPECT_TRUE(log_.Contains(u"WARNING: air unit JG 1 (ID=1) of country 1 in " +
                            FolderFilePath(scenario_.FolderTemplate(), u"air_units.csv") +
                            u" at line 4 (counting from 1) names commander Halvard (ID=6) of country 2; the unit is "
                            u"left without a commander"));
  EXPECT_EQ(game.landUnits.back()->attachedCommander, nullptr);
  EXPECT_EQ(game.commanders.front()->headquarters, game.landUnits.front().get());
  EXPECT_TRUE(log_.ContainsText(u"WARNING: land unit 2nd Armour (ID=2) of country 2 in "));
  EXPECT_FALSE(log_.ContainsText(u"who already leads"));
}

TEST_F(LoadSequence, StartingWithAHumanCountryGivesTheInterfaceToThePlayer) {
  cGame& game = Load();
  game.StartGame();
  // The player's interface is resumed, then the camera glides to the country
  // and its end gives the state back to the player.
  EXPECT_TRUE(log_.Contains(u"---- Game state = 7"));
  EXPECT_EQ(game.GetGameState(), kGameCameraGlide);
  EXPECT_EQ(game.viewingCountry, game.countries[0].get());
  EXPECT_TRUE(log_.Contains(u"============== Enjoy your game :)"));
  EXPECT_EQ(screen_->CountEvents(u"music -1"), 1);
}

TEST_F(LoadSequence, StartingWithAComputerCountryLetsTheWorkerPlay) {
  scenario_.world().countries[0]->humanControlled = 0;
  scenario_.world().countries[2]->humanControlled = 1;
  screen_->SetMusicPlaylists({3});
  cGame& game = Load();
  game.StartGame();
  EXPECT_EQ(game.GetGameState(), kGameComputerTurn);
  EXPECT_EQ(game.viewingCountry, game.countries[2].get());
  EXPECT_EQ(screen_->CountEvents(u"music 3"), 1);
}

// A current country whose special flags are 1 has its events checked by the
// worker first and its turn ended by the frame after that; a computer one is
// left to the worker's own turn.
class EventsCountryStart : public LoadSequence, public testing::WithParamInterface<bool> {
 protected:
  ~EventsCountryStart() override {
    gEventsCheckRequested.store(0);
    gDeferredEndTurnRequest.store(false);
  }
};

TEST_P(EventsCountryStart, AsksForTheEventsCheckAndTheEndOfItsTurn) {
  const bool human = GetParam();
  scenario_.world().countries[0]->humanControlled = human ? 1 : 0;
  scenario_.world().countries[2]->humanControlled = 1;
  cGame& game = Load();
  ASSERT_EQ(game.playerControl.currentCountry, game.countries[0].get());
  game.countries[0]->specialFlags = 1;
  game.StartGame();
  EXPECT_EQ(gEventsCheckRequested.load(), human ? 1 : 0);
  EXPECT_EQ(gDeferredEndTurnRequest.load(), human);
  EXPECT_EQ(game.GetGameState(), human ? kGameHumanIdle : kGameComputerTurn);
  EXPECT_EQ(screen_->CountEvents(u"camera "), 0);
}

INSTANTIATE_TEST_SUITE_P(Controls, EventsCountryStart, testing::Bool(),
                         [](const auto& info) { return info.param ? "Human" : "Computer"; });

// An effect the engine does not know ends the load before any event is read.
TEST_F(LoadSequence, AnEventsFileWithAnUnknownEffectIsFatal) {
  scenario_.Write();
  scenario_.WriteFile("events.xml",
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<events>\n"
                      "<event eventID=\"3\" countryID=\"2\" visibleByPlayer=\"1\" oneTimeChecking=\"1\">"
                      "<title>Levy</title>\n<options><option optionID=\"4\" chanceAI=\"60\"><effects>\n"
                      "<effect method=\"flag.SetValue\" param0=\"5\" param1=\"8\"/>\n"
                      "</effects></option></options></event>\n</events>\n");
  try {
    LoadNewScenario(scenario_.FolderTemplate(), 0);
    ADD_FAILURE() << "an unknown effect must not load";
  } catch (const FatalExitError& error) {
    EXPECT_EQ(error.code(), 1);
  }
  DestroyGame();
  EXPECT_TRUE(log_.Contains(u"CRITICAL: Effect at line 5 is not correct. See error messages above. Exiting..."));
}

TEST_F(LoadSequence, MissingConstantsAreFatal) {
  scenario_.Write();
  scenario_.RemoveFile("consts.csv");
  try {
    LoadNewScenario(scenario_.FolderTemplate(), 0);
    ADD_FAILURE() << "a scenario without constants must not load";
  } catch (const FatalExitError& error) {
    EXPECT_EQ(error.code(), 1);
  }
  DestroyGame();
}

}  // namespace
}  // namespace tr
