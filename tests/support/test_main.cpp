// Test entry point: fatal exits throw instead of ending the test program, no
// test needs a display or a sound device, and a test that leaves the game root
// changed or writes into the build's game folder fails.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "foundation/fatal.h"
#include "foundation/paths.h"

// Caches that system libraries keep for the life of the process are not leaks
// of ours; the sanitizer runtime asks for these before main.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\nleak:libSDL2\nleak:libfreetype\nleak:libdbus\n";
}

namespace {

// A test that leaves the game root elsewhere sends the tests after it, in the
// same program, to another folder: the build's game folder or a removed one.
// It fails, and the root is put back for the next test.
class GameRootKeeper : public testing::EmptyTestEventListener {
  void OnTestSuiteStart(const testing::TestSuite&) override { suiteRoot_ = tr::GameRoot(); }
  void OnTestStart(const testing::TestInfo&) override { root_ = tr::GameRoot(); }
  void OnTestEnd(const testing::TestInfo&) override {
    EXPECT_EQ(tr::GameRoot(), root_) << "the test left the game root changed";
    tr::SetGameRoot(root_);
  }
  void OnTestSuiteEnd(const testing::TestSuite& suite) override {
    EXPECT_EQ(tr::GameRoot(), suiteRoot_) << suite.name() << " left the game root changed";
    tr::SetGameRoot(suiteRoot_);
  }
  std::filesystem::path suiteRoot_;
  std::filesystem::path root_;
};

// What a test could leave in the build's game folder, the one every test
// program shares: the settings a game writes when it ends, and saves.
std::string GameFolderState() {
  namespace fs = std::filesystem;
  const fs::path game = TR_GAME_DIR;
  std::string state;
  std::error_code error;
  const fs::path settings = game / "Settings.ini";
  if (fs::exists(settings, error)) {
    state += "Settings.ini " + std::to_string(fs::file_size(settings, error)) + " " +
             std::to_string(fs::last_write_time(settings, error).time_since_epoch().count()) + "\n";
  }
  for (const char* folder : {"data/save", "data/pbem"}) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(game / folder, error)) names.insert(entry.path().filename().string());
    for (const std::string& name : names) state += std::string(folder) + "/" + name + "\n";
  }
  return state;
}

class GameFolderKeeper : public testing::EmptyTestEventListener {
  void OnTestProgramStart(const testing::UnitTest&) override { state_ = GameFolderState(); }
  void OnTestEnd(const testing::TestInfo&) override {
    const std::string now = GameFolderState();
    EXPECT_EQ(now, state_) << "the test wrote into the build's game folder " << TR_GAME_DIR;
    state_ = now;
  }
  std::string state_;
};

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new GameRootKeeper);
  testing::UnitTest::GetInstance()->listeners().Append(new GameFolderKeeper);
  tr::SetFatalExitInterceptor([](int code) { throw tr::FatalExitError(code); });
  return RUN_ALL_TESTS();
}
