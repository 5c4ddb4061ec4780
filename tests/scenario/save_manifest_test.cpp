// The list of a save's files and their digests: a save as written passes
// it and loads; a listed file grown, gone or with a folder in its place fails
// it, naming the file, and the load is refused.
#include "scenario/save_manifest.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "foundation/fatal.h"
#include "foundation/md5.h"
#include "foundation/text.h"
#include "scenario/save_game.h"
#include "support/log_capture.h"
#include "support/test_scenario.h"
#include "world/game_start.h"
#include "world/headless_presentation.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

constexpr std::u16string_view kFolder = u"data\\save\\listed";
constexpr std::u16string_view kTemplate = u"data\\save\\listed\\%s";

struct DamageCase {
  const char* name;
  const char* file;
  std::function<void(const fs::path& file)> damage;
  const char16_t* logged;  // after the file's path
};

class SaveManifestTest : public testing::Test {
 protected:
  SaveManifestTest() : scoped_(screen_) {
    scenario_.Write();
    cGame& game = *LoadNewScenario(scenario_.FolderTemplate(), 0);
    game.saveContext->clock = [] { return sLocalTime{1943, 11, 6, 9, 35}; };
    EXPECT_TRUE(game.saveContext->SaveGame(u"listed", true));
    DestroyGame();
  }
  ~SaveManifestTest() override { DestroyGame(); }
  static void DestroyGame() {
    delete gGame;
    gGame = nullptr;
  }
  fs::path Save() const { return scenario_.root() / "data/save/listed"; }

  test::TestScenario scenario_;
  cHeadlessPresentation screen_;
  ScopedPresentation scoped_;
};

class DamagedSave : public SaveManifestTest, public testing::WithParamInterface<DamageCase> {};

// The sound case beside the damaged ones: the list names what the save wrote
// and no more, and the save passes it and loads.
TEST_F(SaveManifestTest, TheSaveAsWrittenPassesAndLoads) {
  EXPECT_TRUE(SaveManifestNames(kFolder, u"land_units.csv"));
  EXPECT_TRUE(SaveManifestNames(kFolder, u"ai_memory.csv"));
  EXPECT_FALSE(SaveManifestNames(kFolder, u"notes.txt"));
  test::LogCapture log;
  EXPECT_TRUE(CheckSaveManifest(kFolder));
  EXPECT_EQ(LoadNewScenario(kTemplate, 1)->CountryCount(), 3);
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
}

// A list whose own digest holds but whose line names no file of the save as
// the game writes one (a name with a folder in it, a digest in capitals) is
// damaged; the same line written as the game writes it passes.
TEST_F(SaveManifestTest, AListLineTheGameDoesNotWriteIsDamage) {
  const std::string table = test::ReadFileBytes(Save() / "land_units.csv");
  const std::string digest = Md5Hex(table);
  std::string capitals = digest;
  for (char& c : capitals) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  ASSERT_NE(capitals, digest);
  const std::string size = std::to_string(table.size());
  const auto list = [](const std::string& line) {
    const std::string covered = "# file;bytes;md5;\r\n" + line + "\r\n";
    return covered + "#end;1;" + Md5Hex(covered) + ";\r\n";
  };
  struct sLine {
    std::string text;
    bool sound;
  };
  for (const sLine& line : {sLine{"land_units.csv;" + size + ";" + digest + ";", true},
                            sLine{"land_units.csv;" + size + ";" + capitals + ";", false},
                            sLine{"save/land_units.csv;" + size + ";" + digest + ";", false}}) {
    SCOPED_TRACE(line.text);
    std::ofstream(Save() / "file_digests.csv", std::ios::binary | std::ios::trunc) << list(line.text);
    test::LogCapture log;
    EXPECT_EQ(CheckSaveManifest(kFolder), line.sound);
    EXPECT_EQ(log.Contains(u"ERROR: " + std::u16string(kFolder) +
                           u"\\file_digests.csv at line 2 (counting from 1) holds no file's name, size and digest; "
                           u"the list of the save's files is damaged and the game is not loaded"),
              !line.sound);
  }
}

TEST_P(DamagedSave, ADamagedFileFailsTheListAndTheLoad) {
  const DamageCase& c = GetParam();
  c.damage(Save() / c.file);
  test::LogCapture log;
  EXPECT_FALSE(CheckSaveManifest(kFolder));
  EXPECT_TRUE(log.ContainsText(u"ERROR: " + std::u16string(kFolder) + u"\\" + Utf8ToUtf16(c.file) + c.logged));
  log.Clear();
  EXPECT_THROW(LoadNewScenario(kTemplate, 1), FatalExitError);
  EXPECT_TRUE(log.ContainsText(Utf8ToUtf16(c.file) + c.logged));
}

INSTANTIATE_TEST_SUITE_P(
    Damage, DamagedSave,
    testing::Values(
        DamageCase{"Grown", "land_units.csv",
                   [](const fs::path& file) { std::ofstream(file, std::ios::binary | std::ios::app) << "7"; },
                   u" holds more than the "},
        DamageCase{"Gone", "countries.csv", [](const fs::path& file) { fs::remove(file); },
                   u" is missing, though the save was written with it; the game is not loaded"},
        DamageCase{"Folder", "flags.txt",
                   [](const fs::path& file) {
                     fs::remove(file);
                     fs::create_directory(file);
                   },
                   u" cannot be read (a folder stands in its place); the game is not loaded"},
        DamageCase{"ListCutShort", "file_digests.csv",
                   [](const fs::path& file) { fs::resize_file(file, fs::file_size(file) - 11); },
                   u" does not end with its closing line (cut short?); the list of the save's files is damaged"}),
    [](const testing::TestParamInfo<DamageCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tr
