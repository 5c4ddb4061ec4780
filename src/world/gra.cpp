// The game object's life: the empty game, the load sequence, the teardown.
#include "world/gra.h"

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/settings.h"
#include "world/game_services.h"
#include "world/presentation.h"

namespace tr {

cGame* gGame = nullptr;

cGame::cGame() = default;

cGame::~cGame() {
  Teardown();
  // Everything after this point only frees memory; the map goes first, as
  // nothing on it may outlive the objects it points to.
  map.reset();
  viewingCountry = nullptr;
  countries.clear();
  if (gGame == this) gGame = nullptr;
}

void cGame::Load(std::u16string_view folder, std::int32_t loaded) {
  folderTemplate = folder;
  loadedGame = loaded;
  gGame = this;
  cPresentation& screen = Presentation();
  // later: create the report list and the automatic-events repository
  screen.SetLoadingProgress(5);
  gameOver = 0;
  // later: read "Info.ini"
  screen.SetLoadingProgress(10);
  // later: read "consts.csv"
  screen.SetLoadingProgress(15);
  map = std::make_unique<cMap>();
  map->Load(folderTemplate);
  screen.SetLoadingProgress(20);
  // later: "flags.txt", "cities.csv" with the cities put on their hexes
  screen.SetLoadingProgress(25);
  // later: commanders, land and air units placed on their hexes, fleets, ships
  screen.SetLoadingProgress(35);
  // later: "countries.csv", "unit_names.csv"
  screen.SetLoadingProgress(40);
  // later: "airship_attacks.csv", "airrecon_units.csv"
  screen.SetLoadingProgress(45);
  // later: one computer-opponent object per country
  relations.LoadRelationsAndLosses(folderTemplate, CountryCount());
  viewingCountry = nullptr;
  screen.SetLoadingProgress(50);
  // later: strategic movement, event engine, convoy manager, save context
  screen.SetLoadingProgress(55);
  screen.SetLoadingProgress(60);
  // later: music player, in-game panels
  screen.SetLoadingProgress(65);
  // later: map skin
  screen.SetLoadingProgress(70);
  // later: units skin
  screen.SetLoadingProgress(75);
}

void cGame::Teardown() {
  if (tornDown_) return;
  tornDown_ = true;
  // State 15 first: the worker sees it and stops before anything is freed.
  SetGameState(kGameTeardown);
  StopWorkerThroughService();
  cPresentation& screen = Presentation();
  screen.ReleaseGameTextures();
  for (const auto& country : countries) country->ReleaseTextures();
  screen.OnMapFontsLost();
  // later: delete the music player
  SaveSettings();
}

cCountry* cGame::GetCountry(int id) const {
  if (id == 0) return nullptr;
  if (id < 0 || id > CountryCount()) {
    LogFormat(u"ERROR: Country ID %i does not exist (%i countries)", id, CountryCount());
    return nullptr;
  }
  return countries[id - 1].get();
}

void ExitDestroyingGame(int code) {
  if (gGame) gGame->Teardown();
  FatalExit(code);
}

}  // namespace tr
