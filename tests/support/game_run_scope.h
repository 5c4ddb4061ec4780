// The turn steps and the loaded game of one headless run, released however
// the run ends (a failed assertion returns early), and the game root the load
// set put back.
#pragma once

#include <filesystem>
#include <memory>

#include "foundation/paths.h"
#include "turn/game_steps.h"
#include "world/gra.h"

namespace tr::test {

struct GameRunScope {
  GameRunScope() { InstallGameSteps(); }
  ~GameRunScope() {
    if (gGame == game.get()) gGame = nullptr;
    game.reset();
    UninstallGameSteps();
    SetGameRoot(previousRoot_);
  }
  GameRunScope(const GameRunScope&) = delete;
  GameRunScope& operator=(const GameRunScope&) = delete;
  std::unique_ptr<cGame> game;

 private:
  std::filesystem::path previousRoot_ = GameRoot();
};

}  // namespace tr::test
