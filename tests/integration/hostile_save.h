// A save of the sample as the game writes it, made once per test suite,
// and the tools the hostile-save cases change a copy of it with.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "foundation/fatal.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "scenario/save_game.h"
#include "support/log_capture.h"
#include "support/scenario_corruption.h"
#include "support/temp_dir.h"
#include "turn/game_steps.h"
#include "world/commander.h"
#include "world/gra.h"
#include "world/scenario_check.h"

namespace tr::test {

namespace fs = std::filesystem;

inline constexpr char kScenario[] = "NorthernTide";

// The ';'-separated data rows of a table, each with the index of its line.
struct sTable {
  std::vector<std::string> lines;  // without their '\n'
  std::vector<std::size_t> data;   // the lines that are data rows

  explicit sTable(const fs::path& file) {
    const std::string text = ReadFileBytes(file);
    std::size_t start = 0;
    while (start <= text.size()) {
      const std::size_t end = std::min(text.find('\n', start), text.size());
      lines.push_back(text.substr(start, end - start));
      start = end + 1;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::string& line = lines[i];
      if (!line.empty() && line != "\r" && line[0] != '#') data.push_back(i);
    }
  }
  // Field k of data row r.
  std::string Field(std::size_t r, std::size_t k) const {
    std::istringstream in(lines[data[r]]);
    std::string field;
    for (std::size_t i = 0; i <= k && std::getline(in, field, ';');) ++i;
    if (!field.empty() && field.back() == '\r') field.pop_back();
    return field;
  }
  // The first data row whose fields pass the test.
  std::optional<std::size_t> Find(const std::function<bool(std::size_t)>& test) const {
    for (std::size_t r = 0; r < data.size(); ++r) {
      if (test(r)) return r;
    }
    return std::nullopt;
  }
};

inline void Set(const fs::path& save, const char* file, std::size_t row, int field, const std::string& value) {
  ASSERT_TRUE(ApplyCorruption(save, {sCorruption::Kind::kValue, file, static_cast<int>(row), field, value}))
      << file << " row " << row << " field " << field;
}

inline void Replace(const fs::path& file, const std::function<std::string(std::string)>& change) {
  const std::string text = change(ReadFileBytes(file));
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

// The map of the save: its width and one hex record, as the game wrote them.
struct sMapFile {
  static constexpr std::size_t kHeader = 268;
  static constexpr std::size_t kRecord = 37;
  std::string bytes;
  int width = 0;
  int height = 0;

  explicit sMapFile(const fs::path& file) : bytes(ReadFileBytes(file)) {
    width = static_cast<unsigned char>(bytes[264]) | static_cast<unsigned char>(bytes[265]) << 8;
    height = static_cast<unsigned char>(bytes[266]) | static_cast<unsigned char>(bytes[267]) << 8;
  }
  unsigned char& Byte(int x, int y, int field) {
    const std::size_t at = kHeader + (static_cast<std::size_t>(y) * width + x) * kRecord + field;
    return reinterpret_cast<unsigned char&>(bytes[at]);
  }
  // The first land hex in row order that pass the test.
  std::pair<int, int> FindLand(const std::function<bool(int, int)>& test = nullptr) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (Byte(x, y, 0) != 0 && (!test || test(x, y))) return {x, y};
      }
    }
    ADD_FAILURE() << "no land hex";
    return {0, 0};
  }
  void Write(const fs::path& file) const { std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes; }
};

// The save is made once: the sample played two impulses by the computer on
// every side, saved as the game saves. Each case changes a copy of it.
class HostileSave : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    root_ = new TempDir;
    ASSERT_TRUE(MakeBaseSave(root_->path(), kScenario));
  }
  static void TearDownTestSuite() {
    delete root_;
    root_ = nullptr;
  }
  ~HostileSave() override {
    if (gGame == game_) gGame = nullptr;
    delete game_;
    UninstallGameSteps();
  }

  // A fresh copy of the save under the name, to be changed.
  fs::path Copy(const std::string& name) {
    name_ = name;
    const fs::path folder = root_->path() / "data/save" / name;
    fs::remove_all(folder);
    fs::copy(root_->path() / "data/save" / kBaseSave, folder);
    return folder;
  }
  std::u16string File(const char* file) const { return Utf8ToUtf16("data\\save\\" + name_ + "\\" + file); }

  // Loads the copy as the game loads a save; false when the load was refused.
  bool Load() {
    sGameFolderArgs args;
    args.save = name_;
    return LoadFolder(args);
  }
  // Starts the sample scenario of the root as the game does.
  bool Start() {
    sGameFolderArgs args;
    args.scenario = kScenario;
    return LoadFolder(args);
  }
  bool LoadFolder(sGameFolderArgs args) {
    InstallGameSteps();
    args.root = root_->path().string();
    try {
      game_ = LoadGameFolder(args);
    } catch (const FatalExitError& error) {
      EXPECT_EQ(error.code(), 1);
      if (gGame != nullptr && gGame != game_) delete gGame;
      gGame = nullptr;
      return false;
    }
    return true;
  }

  // Saves the loaded game under the name at a fixed time, then frees it.
  void SaveAndClose(const char16_t* name) {
    game_->saveContext->clock = [] { return sLocalTime{1940, 5, 10, 6, 15}; };
    ASSERT_TRUE(game_->saveContext->SaveGame(name, true));
    gGame = nullptr;
    delete game_;
    game_ = nullptr;
  }
  // The same, and the next load loads that save.
  void SaveAs(const char16_t* name) {
    SaveAndClose(name);
    name_ = Utf16ToUtf8(name);
  }

  inline static TempDir* root_ = nullptr;
  // The loads set the root; it is put back after the game is freed.
  ScopedGameRoot gameRoot_{GameRoot()};
  std::string name_;
  cGame* game_ = nullptr;
};

struct sHostileCase {
  const char* name;
  // Changes the copy of the save; returns the text a log line must hold.
  std::function<std::u16string(const fs::path& save, const std::u16string& folder)> change;
  bool refused;
  // Checks the game a mended save loaded into.
  std::function<void(const cGame&)> mended = nullptr;
};

// The case's change, its line in the log, the load refused or mended.
class HostileSaveCase : public HostileSave, public testing::WithParamInterface<sHostileCase> {
 protected:
  void Check() {
    const fs::path save = Copy(GetParam().name);
    const std::u16string folder = Utf8ToUtf16("data\\save\\" + std::string(GetParam().name));
    const std::u16string expected = GetParam().change(save, folder);
    test::LogCapture log;
    EXPECT_EQ(Load(), !GetParam().refused);
    EXPECT_TRUE(log.ContainsText(expected)) << Utf16ToUtf8(expected);
    if (game_ != nullptr && GetParam().mended) GetParam().mended(*game_);
  }
};

inline std::u16string Text(const std::string& text) { return Utf8ToUtf16(text); }

// The refusal of a save whose unit_state.csv names a unit of the kind
// ("Land", "Naval") and number that its unit tables lost.
inline std::u16string UnitStateNamesLostUnit(const fs::path& save, const std::u16string& folder,
                                             const std::string& kind, const std::string& id) {
  const sTable state(save / "unit_state.csv");
  const auto row = state.Find([&](std::size_t r) { return state.Field(r, 0) == kind && state.Field(r, 1) == id; });
  EXPECT_TRUE(row.has_value()) << kind << ' ' << id;
  return u"ERROR: " + folder + u"\\unit_state.csv at line " + Text(std::to_string(row ? state.data[*row] + 1 : 0)) +
         u" (counting from 1) names the " + Text(kind) + u" unit ID=" + Text(id) + u", which the save does not hold";
}

}  // namespace tr::test
