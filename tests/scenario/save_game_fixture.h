// A game saved and loaded in a temporary game folder holding a small
// scenario: the running game is replaced at each load, and a save's files
// and a folder's entries are read back for comparison.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "foundation/folder_swap.h"
#include "scenario/save_game.h"
#include "support/test_scenario.h"
#include "turn/supply.h"
#include "turn/turn_steps.h"
#include "world/game_start.h"
#include "world/gra.h"
#include "world/headless_presentation.h"

namespace tr {

namespace fs = std::filesystem;

using FolderBytes = std::map<std::string, std::string>;

class SaveGameTest : public testing::Test {
 protected:
  // A new game computes supply before its first turn, as the game does, so
  // the cities' supply information is saved and read back.
  SaveGameTest() : scoped_(screen_) {
    scenario_.Write();
    SetSupplyStep(RunSupplyStep);
  }
  ~SaveGameTest() override {
    DestroyGame();
    SetSupplyStep({});
  }

  static void DestroyGame() {
    delete gGame;
    gGame = nullptr;
  }
  // Loads a scenario (flag 0) or a save (flag 1), replacing the running game.
  cGame& Load(std::u16string_view folderTemplate, int loaded) {
    DestroyGame();
    cGame& game = *LoadNewScenario(folderTemplate, loaded);
    game.saveContext->clock = [] { return sLocalTime{2010, 7, 15, 14, 5}; };
    return game;
  }
  cGame& LoadScenario() { return Load(scenario_.FolderTemplate(), 0); }
  cGame& LoadSave(std::u16string_view name) { return Load(u"data\\save\\" + std::u16string(name) + u"\\%s", 1); }

  static std::set<std::string> Entries(const fs::path& folder) {
    WaitForFolderRemovals();
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
  }

  // Every file below the save folder, by its path there.
  FolderBytes Files(const std::string& save) const {
    FolderBytes files;
    const fs::path folder = scenario_.root() / "data/save" / save;
    if (!fs::is_directory(folder)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      if (entry.is_regular_file()) files[entry.path().lexically_relative(folder).string()] = test::ReadFileBytes(entry.path());
    }
    return files;
  }

  test::TestScenario scenario_;
  cHeadlessPresentation screen_;
  ScopedPresentation scoped_;
};

}  // namespace tr
