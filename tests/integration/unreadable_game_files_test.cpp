// The built sample with a folder where one of its files should be: the load
// ends with exit code 1 after the reader's own line, or goes on where the
// file is optional, and never dies of an exception.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "foundation/fatal.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "world/gra.h"
#include "world/scenario_check.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

constexpr char kScenario[] = "NorthernTide";

class UnreadableGameFileTest : public testing::Test {
 protected:
  UnreadableGameFileTest() { test::CopyBuiltScenario(dir_.path(), kScenario); }
  ~UnreadableGameFileTest() override {
    delete gGame;  // left by a load that ended fatally
    gGame = nullptr;
  }

  // Replaces a file below the game folder with a folder of the same name.
  void MakeFolder(const std::string& relative) const {
    fs::remove(dir_.path() / relative);
    fs::create_directories(dir_.path() / relative);
  }

  // The checker's exit: its code, or the code of the fatal end.
  int Check(const char* kind, const std::string& name, const std::string& saveAs = "") {
    std::vector<std::string> args{"--root", dir_.path().string(), kind, name};
    if (!saveAs.empty()) args.insert(args.end(), {"--save-as", saveAs, "--clock", "2011-03-04 09:30"});
    out_.str("");
    try {
      const int code = RunScenarioCheck(args, out_, errors_);
      delete gGame;
      gGame = nullptr;
      return code;
    } catch (const FatalExitError& error) {
      return error.code();
    }
  }

  test::TempDir dir_;
  std::ostringstream out_;
  std::ostringstream errors_;
};

struct FolderCase {
  const char* name;
  const char* file;  // in the scenario folder
  std::u16string_view line;
};

class ScenarioFileIsAFolder : public UnreadableGameFileTest, public testing::WithParamInterface<FolderCase> {};

TEST_P(ScenarioFileIsAFolder, EndsWithCodeOneAfterTheReadersLine) {
  MakeFolder(std::string("data/scenarios/") + kScenario + "/" + GetParam().file);
  test::LogCapture log;
  EXPECT_EQ(Check("--scenario", kScenario), 1);
  EXPECT_TRUE(log.Contains(GetParam().line)) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Sample, ScenarioFileIsAFolder,
    testing::Values(FolderCase{"Cities", "cities.csv", u"Blad otwarcia pliku! (nie istnieje?)"},
                    FolderCase{"Countries", "countries.csv", u"Blad otwarcia pliku! (nie istnieje?)"},
                    FolderCase{"Constants", "consts.csv", u"Blad otwarcia pliku! (nie istnieje?)"},
                    FolderCase{"Events", "events.xml",
                               u"ERROR initializing events from file data\\scenarios\\NorthernTide\\events.xml. "
                               u"Exiting..."}),
    [](const testing::TestParamInfo<FolderCase>& info) { return std::string(info.param.name); });

TEST_F(UnreadableGameFileTest, EventListThatIsAFolderMeansNoEvents) {
  MakeFolder(std::string("data/scenarios/") + kScenario + "/event_files.txt");
  ASSERT_EQ(Check("--scenario", kScenario), 0) << errors_.str();
  EXPECT_NE(out_.str().find("Events: 0 ("), std::string::npos) << out_.str();
}

TEST_F(UnreadableGameFileTest, SavedReportsThatAreAFolderAreRefusedNamingThem) {
  ASSERT_EQ(Check("--scenario", kScenario, "kept"), 0) << errors_.str();
  ASSERT_EQ(Check("--save", "kept"), 0) << errors_.str();
  MakeFolder("data/save/kept/reports.dat");
  // As an older save, without the list of its files' digests, which would name the folder first.
  test::MakeOlderSave(dir_.path() / "data/save/kept");
  test::LogCapture log;
  EXPECT_EQ(Check("--save", "kept"), 1);
  EXPECT_TRUE(log.Contains(u"ERROR: data\\save\\kept\\reports.dat cannot be read (a folder stands in its place); "
                           u"the game is not loaded"));
}

}  // namespace
}  // namespace tr
