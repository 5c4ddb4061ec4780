// The list of a save's files and their digests: a save as written passes
// it and loads; a listed file grown, gone or with a folder in its place fails
// it, naming the file, and the load is refused.
#include "scenario/save_manifest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "foundation/fatal.h"
#include "foundation/fast_digest.h"
#include "foundation/file_budgets.h"
#include "foundation/file_read.h"
#include "foundation/md5.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "scenario/report_kinds.h"
#include "scenario/save_game.h"
#include "support/log_capture.h"
#include "support/test_scenario.h"
#include "world/byte_io.h"
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

// The refusal of a listed file written one byte past the budget of its kind.
std::u16string PastBudgetLine(const std::string& name, std::uint64_t budget) {
  return u"ERROR: " + std::u16string(kFolder) + u"\\" + Utf8ToUtf16(name) + u" was written with " +
         Utf8ToUtf16(std::to_string(budget + 1)) + u" bytes, says the list, more than the " +
         Utf8ToUtf16(std::to_string(budget)) + u" bytes a file of its kind may hold; the game is not loaded";
}

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
  // As after a call a signal interrupted: errno still tells of it, and the
  // reads that follow go on from what they read.
  errno = EINTR;
  EXPECT_TRUE(CheckSaveManifest(kFolder));
  EXPECT_EQ(LoadNewScenario(kTemplate, 1)->CountryCount(), 3);
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  DestroyGame();
  // The check keeps each file it compared open for its reader: with its name
  // removed since, the reader still reads the bytes compared.
  const fs::path table = ResolveGamePath(std::u16string(kFolder) + u"\\land_units.csv");
  const std::string bytes = test::ReadFileBytes(table);
  const cCheckedFiles checked;
  EXPECT_TRUE(CheckSaveManifest(kFolder));
  fs::remove(table);
  EXPECT_EQ(ReadWholeFile(table), bytes);
}

// The lines of a list above its closing line, closed as the game closes them.
std::string Closed(const std::string& covered, int count) {
  return covered + "#end;" + std::to_string(count) + ";" + FastDigestHex(FastDigest(covered)) + ";\r\n";
}

// The save's list with the named file's line written anew for the file as
// it now is.
void Relist(const fs::path& save, const std::string& name) {
  const std::string list = test::ReadFileBytes(save / "file_digests.csv");
  const std::string bytes = test::ReadFileBytes(save / name);
  std::string covered = list.substr(0, list.rfind("#end;"));
  const std::size_t at = covered.find("\n" + name + ";") + 1;
  covered.replace(at, covered.find('\n', at) + 1 - at,
                  name + ";" + std::to_string(bytes.size()) + ";" + FastDigestHex(FastDigest(bytes)) + ";\r\n");
  std::ofstream(save / "file_digests.csv", std::ios::binary | std::ios::trunc) << Closed(covered, kSaveFileCount);
}

struct sListCase {
  const char* what;
  std::string list;
  std::string table;        // land_units.csv's bytes
  const char16_t* logged;   // after the list's path; none for a sound list
};

// A list the game would not write is damage, though its closing line may
// hold: a line naming no file as the game names one (a digest in capitals, a
// name inside a folder, a field left empty, with or without its closing
// separator), a file named twice or by a twin differing in case, a file
// every save holds left out (a list of its closing line only), a count that
// is no number, one file more than a save holds, Info.ini named again after
// every file a save holds, a closing line of another form, and a line
// changed under a closing line left as it was. Beside each, the list as
// written, and a file changed with its line and closing line written anew,
// pass.
TEST_F(SaveManifestTest, AListTheGameDoesNotWriteIsDamage) {
  const std::string list = test::ReadFileBytes(Save() / "file_digests.csv");
  const std::string table = test::ReadFileBytes(Save() / "land_units.csv");
  ASSERT_TRUE(list.starts_with("# file;bytes;xxh3;\r\n"));
  const std::string covered = list.substr(0, list.rfind("#end;"));
  const int count = static_cast<int>(std::count(covered.begin(), covered.end(), '\n')) - 1;
  const std::string digest = FastDigestHex(FastDigest(table));
  const std::string line = "land_units.csv;" + std::to_string(table.size()) + ";" + digest + ";\r\n";
  const std::size_t at = covered.find(line);
  ASSERT_NE(at, std::string::npos);
  const std::string lineNumber = std::to_string(std::count(covered.begin(), covered.begin() + at, '\n') + 1);
  const auto withLine = [&](const std::string& replacement) {
    return covered.substr(0, at) + replacement + covered.substr(at + line.size());
  };
  std::string capitals = digest;
  for (char& c : capitals) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  ASSERT_NE(capitals, digest);
  std::string edited = table;
  edited[edited.size() / 2] = edited[edited.size() / 2] == '7' ? '8' : '7';
  const std::string editedLine =
      "land_units.csv;" + std::to_string(edited.size()) + ";" + FastDigestHex(FastDigest(edited)) + ";\r\n";
  const std::u16string atLine = u" at line " + Utf8ToUtf16(lineNumber) + u" (counting from 1) ";
  const std::u16string noFile = atLine + u"holds no file's name, size and digest";
  // The second of the two lines is the one named.
  const std::u16string lineAfter = u" at line " + Utf8ToUtf16(std::to_string(std::stoi(lineNumber) + 1));
  const std::u16string twice = lineAfter + u" (counting from 1) names land_units.csv a second time";
  const std::u16string twinTwice = lineAfter + u" (counting from 1) names LAND_UNITS.csv a second time";
  // Told at the first line past a save's files (the header is line 1).
  const std::u16string more =
      u" at line " + Utf8ToUtf16(std::to_string(count + 2)) + u" (counting from 1) names more files than a save is "
      u"written with";
  // A name given again past a save's count of files is told as the repeat it is.
  const std::size_t infoAt = covered.find("\nInfo.ini;") + 1;
  ASSERT_NE(infoAt, 0u);
  const std::string infoLine = covered.substr(infoAt, covered.find('\n', infoAt) + 1 - infoAt);
  const std::u16string infoAgain = u" at line " + Utf8ToUtf16(std::to_string(count + 2)) +
                                   u" (counting from 1) names Info.ini a second time";
  const std::string closingFields = std::to_string(count) + ";" + FastDigestHex(FastDigest(covered)) + ";";
  ASSERT_EQ(covered + "#end;" + closingFields + "\r\n", list);
  const sListCase cases[] = {
      {"as written", list, table, nullptr},
      {"changed with its line", Closed(withLine(editedLine), count), edited, nullptr},
      {"digest in capitals",
       Closed(withLine("land_units.csv;" + std::to_string(table.size()) + ";" + capitals + ";\r\n"), count), table,
       noFile.c_str()},
      {"inside a folder", Closed(withLine("save/" + line), count), table, noFile.c_str()},
      {"a field left empty", Closed(withLine("land_units.csv;;" + line.substr(15)), count), table, noFile.c_str()},
      {"a field left empty and no closing separator",
       Closed(withLine("land_units.csv;;" + line.substr(15, line.size() - 18) + "\r\n"), count), table,
       noFile.c_str()},
      {"named twice", Closed(withLine(line + line), count + 1), table, twice.c_str()},
      {"named again by a twin in capitals", Closed(withLine(line + "LAND_UNITS.csv;" + line.substr(15)), count + 1),
       table, twinTwice.c_str()},
      {"a twin in capitals", Closed(withLine("LAND_UNITS.csv;" + line.substr(15)), count), edited,
       u" does not name land_units.csv, which every save is written with"},
      {"its closing line only", Closed("", 0), table, u" does not name ai_data.csv, which every save is written with"},
      {"its closing line only, counting no number", "#end;none;" + FastDigestHex(FastDigest("")) + ";\r\n", table,
       u" names 0 files where its closing line counts none"},
      {"a file more than a save holds", Closed(withLine(line + "notes.txt;" + line.substr(15)), count + 1), table,
       more.c_str()},
      {"Info.ini named again after every file", Closed(covered + infoLine, count + 1), table, infoAgain.c_str()},
      {"a closing line of four fields", covered + "#end;" + closingFields + "7;\r\n", table,
       u" does not end with its closing line (cut short?)"},
      {"a closing line with a doubled separator", covered + "#end;;" + closingFields + "\r\n", table,
       u" does not end with its closing line (cut short?)"},
      {"a closing line under another mark", covered + "#fin;" + closingFields + "\r\n", table,
       u" does not end with its closing line (cut short?)"},
      {"a line changed under its closing line", withLine(editedLine) + list.substr(covered.size()), edited,
       u" differs from what its closing line's digest was taken of (changed on its way?)"},
  };
  // The intact twin lies beside the changed table the reader opens.
  std::ofstream(Save() / "LAND_UNITS.csv", std::ios::binary) << table;
  for (const sListCase& c : cases) {
    SCOPED_TRACE(c.what);
    std::ofstream(Save() / "file_digests.csv", std::ios::binary | std::ios::trunc) << c.list;
    std::ofstream(Save() / "land_units.csv", std::ios::binary | std::ios::trunc) << c.table;
    test::LogCapture log;
    EXPECT_EQ(CheckSaveManifest(kFolder), c.logged == nullptr);
    if (c.logged != nullptr) {
      EXPECT_TRUE(log.Contains(u"ERROR: " + std::u16string(kFolder) + u"\\file_digests.csv" + c.logged +
                               u"; the list of the save's files is damaged and the game is not loaded"));
    } else {
      EXPECT_FALSE(log.ContainsText(u"ERROR"));
    }
  }
}

// A list that cannot be written fails the save (a folder stands under its
// name in the folder being written), and the save before it stays as it was.
TEST_F(SaveManifestTest, AListThatCannotBeWrittenFailsTheSave) {
  const std::string before = test::ReadFileBytes(Save() / "file_digests.csv");
  cGame& game = *LoadNewScenario(scenario_.FolderTemplate(), 0);
  game.saveContext->stepCheck = [this](int step, std::u16string_view) {
    for (const auto& entry : fs::directory_iterator(Save().parent_path())) {
      if (step == kSaveFileCount && entry.path().filename().string().starts_with(".saving")) {
        fs::create_directory(entry.path() / "file_digests.csv");
      }
    }
    return true;
  };
  test::LogCapture log;
  EXPECT_FALSE(game.saveContext->SaveGame(u"listed", true));
  EXPECT_TRUE(log.Contains(u"ERROR: Game not saved; data\\save\\listed is left as it was"));
  EXPECT_EQ(test::ReadFileBytes(Save() / "file_digests.csv"), before);
  EXPECT_TRUE(CheckSaveManifest(kFolder));
}

// A list lost on its way is told by the mark the save's Info.ini carries:
// the check fails naming it. Without the mark the folder is a save from
// before the list, whatever version it claims (a save written without the
// list says 1.02 too), and loads as one.
TEST_F(SaveManifestTest, ALostListIsToldFromAnOlderSave) {
  fs::remove(Save() / "file_digests.csv");
  test::LogCapture log;
  EXPECT_FALSE(CheckSaveManifest(kFolder));
  EXPECT_TRUE(log.Contains(u"ERROR: " + std::u16string(kFolder) + u"\\file_digests.csv is missing, though " +
                           std::u16string(kFolder) +
                           u"\\Info.ini says the save was written with it; the list of the save's files is lost "
                           u"and the game is not loaded"));
  EXPECT_THROW(LoadNewScenario(kTemplate, 1), FatalExitError);
  DestroyGame();

  std::string info = test::ReadFileBytes(Save() / "Info.ini");
  const std::size_t mark = info.find("FileList = file_digests.csv\r\n");
  ASSERT_NE(mark, std::string::npos);
  info.erase(mark, std::string_view("FileList = file_digests.csv\r\n").size());
  const std::string version = "GameVersion = 1.02\r\n";
  const std::size_t at = info.find(version);
  ASSERT_NE(at, std::string::npos);
  for (const char* claimed : {"1.02", "1.01"}) {
    std::string changed = info;
    changed.replace(at, version.size(), "GameVersion = " + std::string(claimed) + "\r\n");
    std::ofstream(Save() / "Info.ini", std::ios::binary | std::ios::trunc) << changed;
    log.Clear();
    EXPECT_TRUE(CheckSaveManifest(kFolder)) << claimed;
    EXPECT_EQ(LoadNewScenario(kTemplate, 1)->CountryCount(), 3) << claimed;
    DestroyGame();
    EXPECT_TRUE(log.Contains(u"No file_digests.csv: a save from before it was written; its files are not compared "
                             u"with it"))
        << claimed;
    EXPECT_FALSE(log.ContainsText(u"ERROR")) << claimed;
  }
}

// The mark in Info.ini names the list the save was written with: one naming
// another file, or none, beside a list that holds is damage; the save's own
// mark, rewritten alike, passes.
TEST_F(SaveManifestTest, AMarkNamingAnotherListIsDamage) {
  const std::string info = test::ReadFileBytes(Save() / "Info.ini");
  const std::string markLine = "FileList = file_digests.csv\r\n";
  ASSERT_NE(info.find(markLine), std::string::npos);
  for (const std::string mark : {"file_digests.csv", "other.csv", ""}) {
    SCOPED_TRACE(mark);
    std::string marked = info;
    marked.replace(marked.find(markLine), markLine.size(), "FileList = " + mark + "\r\n");
    std::ofstream(Save() / "Info.ini", std::ios::binary | std::ios::trunc) << marked;
    Relist(Save(), "Info.ini");
    test::LogCapture log;
    EXPECT_EQ(CheckSaveManifest(kFolder), mark == "file_digests.csv");
    EXPECT_EQ(log.Contains(u"ERROR: " + std::u16string(kFolder) + u"\\Info.ini says the save was written with " +
                           Utf8ToUtf16(mark) + u", not file_digests.csv; the file is damaged and the game is not "
                           u"loaded"),
              mark != "file_digests.csv");
  }
}

// Each file is held to its own reader's budget by its line of the list: a
// table listed a byte past it is refused before it or the file after it is
// read; every file of the save at its budget at once passes, and each a byte
// past it alone is refused (reports.dat, read up to the most of all, as no
// size a list may hold). The files are sparse; Info.ini, which says a list
// was written, keeps its keys.
TEST_F(SaveManifestTest, AFileListedPastItsBudgetIsRefusedBeforeAnyIsRead) {
  const std::string losses = test::ReadFileBytes(Save() / "losses.csv");
  fs::remove(Save() / "losses.csv");
  const std::uint64_t landBudget = FileBudgetOf("land_units.csv", kTextFileBudget);
  fs::resize_file(Save() / "land_units.csv", landBudget + 1);
  Relist(Save(), "land_units.csv");
  test::LogCapture log;
  EXPECT_FALSE(CheckSaveManifest(kFolder));
  EXPECT_TRUE(log.Contains(PastBudgetLine("land_units.csv", landBudget)));
  EXPECT_FALSE(log.ContainsText(u"losses.csv"));
  std::ofstream(Save() / "losses.csv", std::ios::binary) << losses;
  std::vector<std::string> names;
  for (const std::u16string_view name : SaveFileNames()) {
    if (name != u"Info.ini") names.push_back(Utf16ToUtf8(name));
  }
  const auto readLimit = [](const std::string& name) { return FileReadLimitOf(Utf8ToUtf16(name), kTextFileBudget); };
  for (const std::string& name : names) {
    fs::resize_file(Save() / name, readLimit(name));
    Relist(Save(), name);
  }
  EXPECT_TRUE(CheckSaveManifest(kFolder));
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const std::uint64_t budget = readLimit(name);
    fs::resize_file(Save() / name, budget + 1);
    Relist(Save(), name);
    const test::LogCapture past;
    EXPECT_FALSE(CheckSaveManifest(kFolder));
    EXPECT_TRUE(budget == kReportsReadLimit ? past.ContainsText(u"holds no file's name, size and digest")
                                                   : past.Contains(PastBudgetLine(name, budget)));
    fs::resize_file(Save() / name, budget);
    Relist(Save(), name);
  }
}

// A save of the earlier release whose reports.dat grew past the budget (it
// kept up to 64 MiB) loads through its list: the newest reports within the
// budget are kept, as the game keeps them when it adds them, the load says
// how many were dropped, and the next save writes the kept ones.
TEST_F(SaveManifestTest, AnEarlierSavesLargerReportsLoadWithTheNewestKept) {
  constexpr std::size_t kTextBytes = 1200000;
  std::string file("Qelv1");
  AppendU32(file, 6);
  for (int i = 0; i < 6; ++i) {
    for (const std::int32_t value : {static_cast<std::int32_t>(kReportSiege), 1941, 6, 15, i, 1, 1 + i % 3}) {
      AppendU32(file, static_cast<std::uint32_t>(value));
    }
    AppendU32(file, kTextBytes / 2);
    file.append(kTextBytes, static_cast<char>('a' + i));
  }
  std::ofstream(Save() / "reports.dat", std::ios::binary | std::ios::trunc) << file;
  Relist(Save(), "reports.dat");
  test::LogCapture log;
  cGame& game = *LoadNewScenario(kTemplate, 1);
  ASSERT_EQ(game.reports.Reports().size(), 3u);
  EXPECT_EQ(game.reports.Reports().front().turn, 3);
  EXPECT_EQ(game.reports.Reports().back().text, std::u16string(kTextBytes / 2, u'\x6666'));
  EXPECT_TRUE(log.Contains(u"Reports: the 3 oldest reports of " + std::u16string(kFolder) +
                           u"\\reports.dat were dropped to keep the list within 4194304 bytes, as the game does when "
                           u"it adds one"));
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  ASSERT_TRUE(game.saveContext->SaveGame(u"kept", true));
  std::string kept = file.substr(0, 5);
  AppendU32(kept, 3);
  kept += file.substr(9 + 3 * (32 + kTextBytes));
  EXPECT_EQ(test::ReadFileBytes(scenario_.root() / "data/save/kept/reports.dat"), kept);
}

// The list is held to its own budget: padded with a remark up to it, it
// passes; a byte past it, it is refused unread.
TEST_F(SaveManifestTest, AListPaddedPastItsBudgetIsRefused) {
  const std::string list = test::ReadFileBytes(Save() / "file_digests.csv");
  const std::string covered = list.substr(0, list.rfind("#end;"));
  const std::uint64_t budget = FileBudgetOf("file_digests.csv", kTextFileBudget);
  const std::size_t remark = budget - list.size() - 3;  // with its '#' and CR LF
  for (const std::size_t past : {0, 1}) {
    SCOPED_TRACE(past);
    const std::string padded = Closed(covered + "#" + std::string(remark + past, 'x') + "\r\n", kSaveFileCount);
    ASSERT_EQ(padded.size(), budget + past);
    std::ofstream(Save() / "file_digests.csv", std::ios::binary | std::ios::trunc) << padded;
    test::LogCapture log;
    EXPECT_EQ(CheckSaveManifest(kFolder), past == 0);
    EXPECT_EQ(log.Contains(u"ERROR: " + std::u16string(kFolder) +
                           u"\\file_digests.csv cannot be read (it is larger than a file of its kind may be); the "
                           u"game is not loaded"),
              past == 1);
  }
}

// A list the round before wrote with MD5 digests, under its own header, is
// still compared with the files: the save passes and loads, and a file
// changed since fails it.
TEST_F(SaveManifestTest, AnMd5ListStillChecksTheSave) {
  const std::string list = test::ReadFileBytes(Save() / "file_digests.csv");
  std::string covered = "# file;bytes;md5;\r\n";
  int count = 0;
  const std::size_t closing = list.rfind("\n#end;");
  ASSERT_NE(closing, std::string::npos);
  for (std::size_t start = list.find('\n') + 1; start < closing;) {
    const std::size_t end = list.find('\n', start);
    const std::string name = list.substr(start, list.find(';', start) - start);
    const std::string bytes = test::ReadFileBytes(Save() / name);
    covered += name + ";" + std::to_string(bytes.size()) + ";" + Md5Hex(bytes) + ";\r\n";
    ++count;
    start = end + 1;
  }
  ASSERT_EQ(count, kSaveFileCount);
  std::ofstream(Save() / "file_digests.csv", std::ios::binary | std::ios::trunc)
      << covered + "#end;" + std::to_string(count) + ";" + Md5Hex(covered) + ";\r\n";
  test::LogCapture log;
  EXPECT_TRUE(CheckSaveManifest(kFolder));
  EXPECT_EQ(LoadNewScenario(kTemplate, 1)->CountryCount(), 3);
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  DestroyGame();

  std::string flags = test::ReadFileBytes(Save() / "flags.txt");
  flags[flags.size() / 3] ^= 0x02;
  std::ofstream(Save() / "flags.txt", std::ios::binary | std::ios::trunc) << flags;
  EXPECT_FALSE(CheckSaveManifest(kFolder));
  EXPECT_TRUE(log.Contains(u"ERROR: " + std::u16string(kFolder) +
                           u"\\flags.txt holds other bytes than it was written with (changed on its way?); the file "
                           u"is damaged and the game is not loaded"));
}

// A save the player loads as it is compares nothing with its list, and loads
// whole; but a table it was written with and has lost is not taken for one
// an older save lacks.
TEST_F(SaveManifestTest, ASaveLoadedAsItIsStillMissesNoTableItWasWrittenWith) {
  const cSaveLoadedAsItIs asItIs;
  test::LogCapture log;
  EXPECT_EQ(LoadNewScenario(kTemplate, 1)->CountryCount(), 3);
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  DestroyGame();
  fs::remove(Save() / "ai_memory.csv");
  log.Clear();
  EXPECT_THROW(LoadNewScenario(kTemplate, 1), FatalExitError);
  EXPECT_TRUE(log.Contains(u"ERROR: " + std::u16string(kFolder) +
                           u"\\ai_memory.csv is missing, though the save was written with it; the game is not "
                           u"loaded"));
  EXPECT_FALSE(log.ContainsText(u"is there but cannot be read"));
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
        DamageCase{"CutShort", "cities.csv", [](const fs::path& file) { fs::resize_file(file, 40); },
                   u" holds 40 bytes, not the "},
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
