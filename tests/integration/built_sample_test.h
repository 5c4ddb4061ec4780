// A test on a private copy of the built sample scenario, loaded as the program loads a new game
// (game steps installed, so the load runs its first supply).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "foundation/paths.h"
#include "foundation/random.h"
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

  TempDir dir_;
  ScopedGameRoot root_{dir_.path()};
};

}  // namespace tr::test
