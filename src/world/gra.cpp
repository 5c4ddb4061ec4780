// The game object's life: the empty game and the teardown (the load sequence
// is gra_load.cpp).
#include "world/gra.h"

#include "ai/country_ai.h"
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
