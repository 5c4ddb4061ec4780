// The turn steps and the loaded game of one headless run, released however
// the run ends (a failed assertion returns early).
#pragma once

#include <memory>

#include "turn/game_steps.h"
#include "world/gra.h"

namespace tr::test {

struct GameRunScope {
  GameRunScope() { InstallGameSteps(); }
  ~GameRunScope() {
    if (gGame == game.get()) gGame = nullptr;
    game.reset();
    UninstallGameSteps();
  }
  GameRunScope(const GameRunScope&) = delete;
  GameRunScope& operator=(const GameRunScope&) = delete;
  std::unique_ptr<cGame> game;
};

}  // namespace tr::test
