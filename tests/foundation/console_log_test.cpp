#include "foundation/console_log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "foundation/log_bound.h"
#include "foundation/log_sink.h"
#include "foundation/text.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

TEST(ConsoleLog, WritesUtf16LinesWithCrLf) {
  test::TempDir dir;
  cConsoleLog log(dir.path() / "ConsoleOut.txt");
  log.LogLine(u"abc");
  log.LogLine(u"");
  EXPECT_EQ(dir.Read("ConsoleOut.txt"), std::string("a\0b\0c\0\r\0\n\0\r\0\n\0", 14));
  log.Restart();
  log.LogLine(u"x");
  EXPECT_EQ(dir.Read("ConsoleOut.txt"), std::string("\xFF\xFEx\0\r\0\n\0", 8));
}

TEST(ConsoleLog, TwoThreadsWriteWholeLines) {
  test::TempDir dir;
  cConsoleLog log(dir.path() / "ConsoleOut.txt");
  auto work = [&](char16_t c) {
    for (int i = 0; i < 1000; ++i) log.LogLine(std::u16string(40, c));
  };
  std::thread a(work, u'a'), b(work, u'b');
  a.join();
  b.join();
  const std::string bytes = dir.Read("ConsoleOut.txt");
  ASSERT_EQ(bytes.size(), 2000u * 84u);
  for (std::size_t line = 0; line < 2000; ++line) {
    const char first = bytes[line * 84];
    for (std::size_t u = 0; u < 40; ++u) ASSERT_EQ(bytes[line * 84 + 2 * u], first);
    ASSERT_EQ(bytes.substr(line * 84 + 80, 4), std::string("\r\0\n\0", 4));
  }
}

// While a received file is read, each cause about each file is logged ten
// times and the rest counted in one line when the reading ends; another
// cause about the file and another file's lines of the same cause have ten of
// their own, ten lines leave nothing to count, and once the bound is gone
// every line is logged, past ten too.
TEST(ConsoleLog, TheLinesOfOneCauseAboutAFileAreBoundedWhileItIsRead) {
  const std::u16string cause = u"WARNING: row %i of %s is short";
  const std::u16string other = u"WARNING: unit %i is unknown";
  test::LogCapture log;
  {
    cLogBound bound;
    for (int row = 1; row <= 13; ++row) LogAboutFile(u"a.csv", cause, row, std::u16string(u"a.csv"));
    for (int unit = 1; unit <= 10; ++unit) LogAboutFile(u"a.csv", other, unit);
    for (int row = 21; row <= 31; ++row) LogAboutFile(u"b.csv", cause, row, std::u16string(u"b.csv"));
  }
  for (int row = 14; row <= 25; ++row) LogAboutFile(u"a.csv", cause, row, std::u16string(u"a.csv"));
  std::vector<std::u16string> expected;
  const auto numbered = [&](int from, int to, const std::string& before, const std::string& after) {
    for (int n = from; n <= to; ++n) expected.push_back(AsciiToUtf16(before + std::to_string(n) + after));
  };
  numbered(1, 10, "WARNING: row ", " of a.csv is short");
  numbered(1, 10, "WARNING: unit ", " is unknown");
  numbered(21, 30, "WARNING: row ", " of b.csv is short");
  expected.push_back(u"WARNING: 3 more lines about a.csv like \"" + cause + u"\" were left out of the log");
  expected.push_back(u"WARNING: 1 more lines about b.csv like \"" + cause + u"\" were left out of the log");
  numbered(14, 25, "WARNING: row ", " of a.csv is short");
  EXPECT_EQ(log.lines(), expected);
}

// A cause given in two parts is the cause of their text, however the text
// is cut; lines of causes that take turns are counted each to its own, as
// are those of a file whose name begins another's.
TEST(ConsoleLog, BoundCountsACauseGivenInPartsAsOne) {
  test::LogCapture log;
  int admitted = 0;
  {
    cLogBound bound;
    for (int i = 0; i < 8; ++i) {
      admitted += AdmitLogLine(u"c.csv2", u"too far") ? 1 : 0;
      admitted += AdmitLogLine(u"c.csv", u"too ", u"far") ? 1 : 0;
      admitted += AdmitLogLine(u"c.csv", u"too far") ? 1 : 0;
      admitted += AdmitLogLine(u"c.csv", u"too f", u"ar") ? 1 : 0;
      admitted += AdmitLogLine(u"d.csv", u"too far") ? 1 : 0;
      admitted += AdmitLogLine(u"c.csv", u"too", u" near") ? 1 : 0;
    }
  }
  EXPECT_EQ(admitted, 10 + 8 + 8 + 8);
  EXPECT_EQ(log.lines(), (std::vector<std::u16string>{
                             u"WARNING: 14 more lines about c.csv like \"too far\" were left out of the log"}));
}

TEST(ConsoleLog, UnwritableFileLogsNothingAndGoesOn) {
  test::TempDir dir;
  const std::filesystem::path file = dir.path() / "missing" / "ConsoleOut.txt";
  cConsoleLog log(file);
  log.LogLine(u"lost");
  log.Restart();
  log.LogLine(u"still lost");
  // Nothing is made on the way: the folder the log would need stays missing.
  EXPECT_FALSE(std::filesystem::exists(file.parent_path()));
}

// A log that is a link never empties or fills the file it names, and one that
// is a pipe without a reader does not stop the program at its first line.
TEST(ConsoleLog, ALinkOrAPipeIsNotWritten) {
  test::TempDir dir;
  const std::filesystem::path target = dir.Write("Settings.ini", "kept");
  std::filesystem::create_symlink(target, dir.path() / "ConsoleOut.txt");
  ASSERT_EQ(mkfifo((dir.path() / "pipe.txt").c_str(), 0600), 0);
  for (const char* name : {"ConsoleOut.txt", "pipe.txt"}) {
    cConsoleLog log(dir.path() / name);
    log.LogLine(u"line");
    log.Restart();
    log.LogLine(u"line");
  }
  EXPECT_EQ(dir.Read("Settings.ini"), "kept");
  cConsoleLog log(dir.path() / "ConsoleOut2.txt");
  log.LogLine(u"x");
  EXPECT_EQ(dir.Read("ConsoleOut2.txt"), std::string("x\0\r\0\n\0", 6));
}

TEST(ConsoleLog, GlobalLogReceivesSinkLines) {
  test::LogCapture capture;
  LogFormat(u"Loading INI file %s ...", u"Settings.ini");
  EXPECT_TRUE(capture.Contains(u"Loading INI file Settings.ini ..."));
}

// From start-up the low-level services' lines reach the game's log. Run in
// a fresh process: tests here send them elsewhere.
TEST(ConsoleLogDeathTest, SinkLinesReachTheGlobalLogFromStartUp) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        test::LogCapture capture;
        LogToSink(u"RC:probe.cpp:41");
        std::_Exit(capture.Contains(u"RC:probe.cpp:41") ? 0 : 3);
      },
      testing::ExitedWithCode(0), "");
}

// Lines of the low-level services reach standard error while no log takes
// them: during start-up and after the log closed at exit.
TEST(ConsoleLog, SinkLinesWithoutALogGoToStandardError) {
  SetLogSink(nullptr);
  testing::internal::CaptureStderr();
  LogToSink(u"S: \u0142\u00f3d\u017a : 3 : 0 ms");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "S: \xC5\x82\xC3\xB3" "d\xC5\xBA : 3 : 0 ms\n");
}

}  // namespace
}  // namespace tr
