// Folder templates, the atomic table writer and name sanitising.
#include <gtest/gtest.h>

#include "foundation/paths.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_writer.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

TEST(ScenarioPaths, NamesAreSubstitutedLiterally) {
  EXPECT_EQ(MakeFolderTemplate(kScenarioFolderTemplate, u"Sample"), u"data\\scenarios\\Sample\\%s");
  EXPECT_EQ(MakeFolderTemplate(kSaveFolderTemplate, u"50%s%d off"), u"data\\save\\50%s%d off\\%s");
  EXPECT_EQ(MakeFolderTemplate(kPbemFolderTemplate, u"g"), u"data\\pbem\\g\\%s");
  const std::u16string folder = MakeFolderTemplate(kSaveFolderTemplate, u"50%s off");
  EXPECT_EQ(FolderFilePath(folder, u"cities.csv"), u"data\\save\\50%s off\\cities.csv");
  EXPECT_EQ(TemplateFolder(folder), u"data\\save\\50%s off");
  EXPECT_EQ(SaveFilePath(u"data\\save\\50%s", u"reports.dat"), u"data\\save\\50%s\\reports.dat");
  EXPECT_EQ(ScenarioFilePath(u"S", u"consts.csv"), u"data\\scenarios\\S\\consts.csv");
}

// What a scenario's list may name: a file in its folder or below, never the
// folder itself nor a file beside it.
TEST(ScenarioPaths, AFileOfTheScenarioLiesInsideItsFolder) {
  EXPECT_TRUE(IsScenarioFilePath(u"data\\scenarios\\North\\events.xml", u"North"));
  EXPECT_TRUE(IsScenarioFilePath(u"Data/Scenarios/north/more/late.xml", u"North"));
  EXPECT_FALSE(IsScenarioFilePath(u"data\\scenarios\\North", u"North"));
  EXPECT_FALSE(IsScenarioFilePath(u"data\\scenarios\\North\\", u"North"));
  EXPECT_FALSE(IsScenarioFilePath(u"data\\scenarios\\South\\events.xml", u"North"));
  EXPECT_FALSE(IsScenarioFilePath(u"data\\scenarios\\North\\..\\South\\events.xml", u"North"));
}

TEST(FieldText, BreakingCharactersAreReplaced) {
  EXPECT_EQ(SanitizeFieldText(u"North;Fleet\r\n"), u"North,Fleet  ");
  EXPECT_EQ(SanitizeFieldText(u""), u"-");
  EXPECT_EQ(SanitizeFieldText(u"#1 City", true), u"_1 City");
  EXPECT_EQ(SanitizeFieldText(u"#1 City"), u"#1 City");
  EXPECT_EQ(CutName(std::u16string(120, u'a')).size(), 99u);
}

class TableWriterTest : public testing::Test {
 protected:
  void SetUp() override { SetGameRoot(dir_.path()); }
  void TearDown() override { SetGameRoot({}); }
  test::TempDir dir_;
};

TEST_F(TableWriterTest, TextModeWritesCodePageAndCrLf) {
  dir_.Write("data/save/a/.keep", "");
  test::LogCapture log;
  cTableWriter writer(u"data\\save\\a\\t.csv");
  ASSERT_TRUE(writer.ok());
  writer.Write(u"#T\n#A;B");
  writer.Write(u"\n\u00e9;1;");
  ASSERT_TRUE(writer.Commit());
  EXPECT_EQ(dir_.Read("data/save/a/t.csv"), "#T\r\n#A;B\r\n\xe9;1;");
  EXPECT_EQ(log.lines(), (std::vector<std::u16string>{u"Opening file for writing...", u"data\\save\\a\\t.csv",
                                                      u"File opened OK"}));
}

TEST_F(TableWriterTest, AnUnfinishedWriteKeepsTheOldFile) {
  dir_.Write("data/save/a/t.csv", "good");
  {
    cTableWriter writer(u"data\\save\\a\\t.csv");
    writer.Write(u"half");
  }
  EXPECT_EQ(dir_.Read("data/save/a/t.csv"), "good");
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "data/save/a/t.csv.tmp"));
}

// A table that cannot take its name (a folder of the player's holds it) is
// not written, and its writer says so.
TEST_F(TableWriterTest, ATableThatCannotTakeItsNameIsNotWritten) {
  dir_.Write("data/save/a/t.csv/notes.txt", "mine");
  test::LogCapture log;
  cTableWriter writer(u"data\\save\\a\\t.csv");
  ASSERT_TRUE(writer.ok());
  writer.Write(u"#T\n1;");
  EXPECT_FALSE(writer.Commit());
  EXPECT_TRUE(log.Contains(u"Error writing file data\\save\\a\\t.csv"));
  EXPECT_EQ(dir_.Read("data/save/a/t.csv/notes.txt"), "mine");
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "data/save/a/t.csv.tmp"));
}

TEST_F(TableWriterTest, MissingFolderIsReportedToTheCaller) {
  test::LogCapture log;
  cTableWriter writer(u"data\\save\\nowhere\\t.csv");
  EXPECT_FALSE(writer.ok());
  writer.Write(u"x");
  EXPECT_FALSE(writer.Commit());
  EXPECT_TRUE(log.Contains(u"Error opening file for writing"));
}

}  // namespace
}  // namespace tr
