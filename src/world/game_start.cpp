// Finishing a load and starting play.
#include "world/game_start.h"

#include <unordered_set>

#include "ai/ai_memory_file.h"
#include "events/zdarzenia.h"
#include "foundation/console_log.h"
#include "foundation/file_read.h"
#include "foundation/game_lock.h"
#include "foundation/log_bound.h"
#include "scenario/city_info_files.h"
#include "scenario/scenario_info.h"
#include "scenario/topography_file.h"
#include "scenario/unit_state_file.h"
#include "turn/gra_endturn.h"
#include "turn/supply.h"
#include "turn/theads.h"
#include "units/commander_link.h"
#include "world/folder_path.h"
#include "world/gra.h"
#include "world/map_camera.h"
#include "world/presentation.h"
#include "world/turn_order.h"

namespace tr {

std::atomic<bool> gDeferredEndTurnRequest{false};

namespace {

// A country whose special flags are 1 ends its turn at once when it starts.
constexpr std::int32_t kCountryEndsTurnAtOnce = 1;

void FinishNewGame(cGame& game, cPresentation& screen) {
  EndOfImpulse(game, 0);
  // A scenario whose countries all start finished has none chosen; the end of
  // impulse has cleared their marks, so one is chosen now.
  if (game.playerControl.currentCountry == nullptr) {
    game.playerControl.currentCountry = DetermineCurrentCountry(game.countries);
    game.playerControl.FollowCurrentCountry();
  }
  if (game.playerControl.currentCountry == nullptr) {
    LogFormat(u"ERROR: %s has no active country to play; the game is not loaded",
              FolderFilePath(game.folderTemplate, u"countries.csv"));
    ExitDestroyingGame(1);
  }
  screen.SetLoadingProgress(90);
  game.RegisterAutoEvents();
  screen.SetLoadingProgress(95);
  const std::int32_t paradrop = game.constants.ParadropInterval();
  for (const auto& unit : game.landUnits) unit->turnsSinceParadrop = paradrop;
}

// The commander each unit stands under is chosen at every end of impulse and
// is not a column of the unit files, so a saved game chooses it again from the
// positions it was saved with, as the end of impulse before the save did.
void ChooseCommandersAgain(cGame& game) {
  const std::vector<const cUnit*> headquarters = CollectHeadquarters(game);
  for (const auto& unit : game.landUnits) AssignCommanderAmong(*unit, headquarters);
  for (const auto& unit : game.airUnits) AssignCommanderAmong(*unit, headquarters);
  for (sWezelGrafuMorz& node : game.seaGraph.nodes) node.ShareBestCommander(-1);
}

void FinishSavedGame(cGame& game, cPresentation& screen) {
  RestoreLastMonthProcessed(game);
  ResetSupplyState(game);
  LoadCitiesSupplyAndConvoyInfo(game, game.folderTemplate);
  screen.SetLoadingProgress(90);
  game.strategicMovement->Init(game.CountryCount());
  LoadTopography(*game.strategicMovement, *game.map, game.folderTemplate, game.loadedGame == 1);
  ChooseCommandersAgain(game);
  for (const auto& unit : game.landUnits) unit->ComputeCombatValue();
  screen.SetLoadingProgress(95);
  game.reports.Load(game.folderTemplate, game.CountryCount());
  std::unordered_set<std::int32_t> eventIds;
  for (const cEvent& event : game.events->events) eventIds.insert(event.eventID);
  game.autoEvents.Load(
      game.folderTemplate, [&eventIds](std::int32_t eventId) { return eventIds.count(eventId) != 0; },
      game.loadedGame == 1);
  RestoreSavedCounters(game, game.folderTemplate);
  LoadAiMemory(game, game.folderTemplate);
  // Last: nothing after it may touch what the map shows or the units' combat values.
  LoadUnitState(game, game.folderTemplate);
}

// A human country that ends its turn at once has the events checked for it
// by the worker first; the frame ends the turn once that check is done. A
// computer country's turn is the worker's: ending it from the frame would let
// both threads play, so it is left to the worker. Any other view is centred.
void RequestEndOrCentre(cGame& game) {
  cCountry* current = game.playerControl.currentCountry;
  if (current && current->specialFlags == kCountryEndsTurnAtOnce) {
    if (current->humanControlled) {
      gEventsCheckRequested.store(1);
      gDeferredEndTurnRequest.store(true);
    }
  } else {
    game.playerControl.CenterOnCurrentCountry(true);
  }
}

}  // namespace

cGame* LoadNewScenario(std::u16string_view folderTemplate, std::int32_t loadedGame) {
  // The files of a save its check has read stay open for their readers. One
  // refused to its reader refuses the load: a reader that may meet a file
  // absent (an older save lacks it) would load the game without it.
  const cCheckedFiles checked([] {
    if (cCheckedFiles::Current()->FoundAChange()) NoteLoadRefusal(eLoadRefusal::kChangedWhileLoading);
    ExitDestroyingGame(1);
  });
  auto* game = new cGame();
  gGame = game;
  cPresentation& screen = Presentation();
  {
    // A received file cannot fill the log: its warnings of each cause are
    // logged a few times, then counted.
    const cLogBound bound;
    game->Load(folderTemplate, loadedGame);

    screen.SetLoadingProgress(80);
    game->FinishLoading(game->folderTemplate);
    CheckImpulsesPerMonth(*game);

    screen.SetLoadingProgress(85);
    game->map->RefreshHexes();
    // The map opens at the zoom the settings keep.
    ResetMapView(*game->map);

    if (loadedGame == 0) {
      FinishNewGame(*game, screen);
    } else if (loadedGame == 1) {
      FinishSavedGame(*game, screen);
    }
  }

  screen.SetLoadingProgress(100);
  LogLine(u"-- Loading new scenario done!");
  game->StoreGameState(kGameLoaded);
  LogFormat(u"---- Game state = %i", static_cast<int>(kGameLoaded));

  GameLockGuard lock(__FILE__, __LINE__);
  screen.ShowScenarioSettingsMenu();
  return game;
}

void cGame::StartGame() {
  cPresentation& screen = Presentation();
  screen.LoadPauseWallpaper();
  LogLine(u"============== Starting game ==============");
  if (cCountry* human = FindNextHumanCountry(countries, playerControl.currentCountry)) {
    human->RecalculateUnitsVisibility();
  }
  LogLine(u"Updating units appearance");
  screen.ChooseFontsForZoom();
  LogLine(u"Updating cities appearance");
  LogLine(u"Updating minimapr 2nd layer");
  screen.UpdateMinimapOwnershipLayer();

  playerControl.ClearSelection();
  LogLine(u"Initializing music");
  InitMusic();

  LogLine(u"Closing menu, setting callbacks");
  screen.CloseMenu();
  screen.InstallGameCallbacks();
  LogLine(u"============== Enjoy your game :)");
  screen.ChooseFontsForZoom();
  RequestEndOrCentre(*this);

  cCountry* current = playerControl.currentCountry;
  if (current && current->humanControlled) {
    viewingCountry = current;
    Resume();
    screen.ResumePlayerPanels();
    screen.ChooseFontsForZoom();
    RequestEndOrCentre(*this);
    return;
  }
  if (viewingCountry == nullptr) {
    for (const auto& country : countries) {
      if (country->humanControlled) {
        viewingCountry = country.get();
        break;
      }
    }
  }
  if (viewingCountry) viewingCountry->RecalculateUnitsVisibility();
  screen.SuspendPlayerPanels();
  SetGameState(kGameComputerTurn);
}

void cGame::InitMusic() {
  int playlist = -1;
  cPresentation& screen = Presentation();
  for (const auto& country : countries) {
    if (country->humanControlled && screen.HasMusicPlaylist(country->id)) {
      playlist = country->id;
      break;
    }
  }
  screen.StartMusic(playlist);
}

}  // namespace tr
