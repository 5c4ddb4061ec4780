// A test on a private copy of the built sample scenario, loaded as the program loads a new game
// (game steps installed, so the load runs its first supply).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "foundation/fatal.h"
#include "foundation/paths.h"
#include "foundation/random.h"
#include "scenario/pbem_player.h"
#include "scenario/save_game.h"
#include "support/temp_dir.h"
#include "turn/game_steps.h"
#include "world/game_start.h"
#include "world/gra.h"

namespace tr::test {

class BuiltSampleTest : public testing::Test {
 protected:
  BuiltSampleTest() {
    CopyBuiltScenario(dir_.path(), "NorthernTide");
    InstallGameSteps();
  }
  ~BuiltSampleTest() override {
    Drop();
    UninstallGameSteps();
  }
  static void Drop() {
    delete gGame;
    gGame = nullptr;
  }
  // Every load starts from the same seed, so two loads of one folder play alike.
  static cGame& Load(const std::u16string& folderTemplate, int loaded) {
    Drop();
    SeedRandom(20110304);
    return *LoadNewScenario(folderTemplate, loaded);
  }
  // A save of the sample under the name, as the player's save writes it; in a
  // play-by-e-mail game, as a hand-over writes it, when one is named.
  void MakeSave(const std::u16string& name, const std::u16string& pbemName = {}) {
    cGame& game = Load(u"data\\scenarios\\NorthernTide\\%s", 0);
    if (!pbemName.empty()) {
      game.pbemGame = 1;
      game.pbemGameName = pbemName;
      PushBackSetupRecord(game.pbemPlayers, 1, u"Ann", u"ann@example.org");
      PushBackSetupRecord(game.pbemPlayers, 2, u"Bob", u"bob@example.org");
    }
    ASSERT_TRUE(game.saveContext->SaveGame(name, true));
    Drop();
  }
  // The exit code of a load that ends fatally; 0 when the game loads.
  static int LoadEnding(const std::u16string& folderTemplate, int loaded = 1) {
    try {
      Load(folderTemplate, loaded);
      return 0;
    } catch (const FatalExitError& error) {
      return error.code();
    }
  }

  TempDir dir_;
  ScopedGameRoot root_{dir_.path()};
};

}  // namespace tr::test
