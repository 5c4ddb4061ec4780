#include "foundation/csv_reader.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "foundation/number_text.h"
#include "foundation/text.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

using Records = std::vector<std::vector<std::u16string>>;

// Reads every record the way the table readers do, keeping the 0-field ones.
Records ReadAll(std::string_view bytes, bool keepEmpty) {
  test::TempDir dir;
  const auto file = dir.Write("t.csv", bytes);
  cCsvReader reader(Utf8ToUtf16(file.string()));
  EXPECT_TRUE(reader.IsLoaded());
  Records records;
  while (!reader.AtEnd()) {
    reader.ReadRecord(keepEmpty);
    records.push_back(reader.fields);
  }
  return records;
}

Records NonEmpty(Records records) {
  std::erase_if(records, [](const auto& r) { return r.empty(); });
  return records;
}

struct CsvCase {
  const char* name;
  std::string bytes;
  bool keepEmpty;
  Records expected;
};

class CsvRecords : public testing::TestWithParam<CsvCase> {};

TEST_P(CsvRecords, ReadsFields) { EXPECT_EQ(ReadAll(GetParam().bytes, GetParam().keepEmpty), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Cases, CsvRecords,
    testing::Values(
        CsvCase{"EmptyFieldsDropped", "a;;b;\r", false, {{u"a", u"b"}}},
        CsvCase{"EmptyFieldsKept", "a;;b;\r", true, {{u"a", u"", u"b", u""}}},
        CsvCase{"LeadingSeparators", ";a;;b;\r", false, {{u"a", u"b"}}},
        CsvCase{"CommentLine", "#Name;X;Y\r1;2\r", false, {{}, {u"1", u"2"}}},
        CsvCase{"HashInLaterField", "1;#note\r", false, {{u"1", u"#note"}}},
        CsvCase{"CommentAfterEmptyField", ";#x\r", false, {{}}},
        CsvCase{"CommentAfterKeptEmptyField", ";#x\r", true, {{u"", u"#x"}}},
        CsvCase{"OnlySeparators", ";;;\r", false, {{}}},
        CsvCase{"BlankLineKept", "\r", true, {{u""}}},
        CsvCase{"LastRecordWithoutLineEnd", "a;b\rc;d", false, {{u"a", u"b"}, {u"c", u"d"}}},
        CsvCase{"FinalCrLfWithoutKeep", "a\r\n", false, {{u"a"}, {}}},
        CsvCase{"FinalCrLfWithKeep", "a\r\n", true, {{u"a"}, {u""}}},
        CsvCase{"BlanksKept", " a ; b \r", false, {{u" a ", u" b "}}},
        CsvCase{"LineOfBlanksIsEmpty", " \t \r\n;\v; \r", false, {{}, {}}},
        CsvCase{"LineOfBlanksIsOneEmptyField", " \t \r\n; ;\r", true, {{u""}, {u"", u" ", u""}}},
        CsvCase{"CodePageByte", "caf\xE9\r", false, {{u"caf\u00E9"}}},
        CsvCase{"LoneLfEndsRecord", "a;b\nc\n", false, {{u"a", u"b"}, {u"c"}}},
        CsvCase{"LeadingCrLfIsOneLineEnd", "\r\na\r\n", true, {{u""}, {u"a"}, {u""}}},
        CsvCase{"ByteOrderMarkBeforeAComment", "\xEF\xBB\xBF#Name;X\r1;2\r", false, {{}, {u"1", u"2"}}}),
    [](const auto& info) { return info.param.name; });

TEST(CsvReader, LineEndStylesGiveTheSameRecords) {
  const std::string crlf = "#h;x\r\n1;2\r\n\r\n3;;4\r\n";
  const std::string cr = "#h;x\r1;2\r\r3;;4\r";
  const std::string lf = "#h;x\n1;2\n\n3;;4\n";
  for (bool keep : {false, true}) {
    SCOPED_TRACE(keep);
    const Records expected = NonEmpty(ReadAll(cr, keep));
    EXPECT_EQ(NonEmpty(ReadAll(lf, keep)), expected);
    // With keepEmpty the LF after the last CR still reads as one empty field.
    Records crlf_expected = expected;
    if (keep) crlf_expected.push_back({u""});
    EXPECT_EQ(NonEmpty(ReadAll(crlf, keep)), crlf_expected);
  }
  EXPECT_EQ(NonEmpty(ReadAll(cr, false)), (Records{{u"1", u"2"}, {u"3", u"4"}}));
}

TEST(CsvReader, LongFieldIsKeptWhole) {
  const std::string field(5000, 'x');
  EXPECT_EQ(ReadAll("1;" + field + ";2\r", false), (Records{{u"1", AsciiToUtf16(field), u"2"}}));
}

// Runs of empty lines of every line end are passed over at once, yet the
// row after them keeps its line number.
TEST(CsvReader, RowsAfterManyEmptyLinesKeepTheirLineNumbers) {
  for (const std::string end : {"\r", "\n", "\r\n"}) {
    SCOPED_TRACE(testing::PrintToString(end));
    std::string bytes = "1;2" + end;
    for (int i = 0; i < 1000; ++i) bytes += end;
    bytes += "3;4" + end + end;
    test::TempDir dir;
    cCsvReader reader(Utf8ToUtf16(dir.Write("t.csv", bytes).string()));
    std::vector<std::pair<std::uint32_t, std::vector<std::u16string>>> rows;
    while (!reader.AtEnd()) {
      if (reader.ReadRecord() != 0) rows.emplace_back(reader.RecordCount(), reader.fields);
    }
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].first, 1u);
    EXPECT_EQ(rows[1].first, 1002u);
    EXPECT_EQ(rows[1].second, (std::vector<std::u16string>{u"3", u"4"}));
    // The lines passed at once are all counted, up to the file's end, as
    // when each is read as a record of its own.
    std::size_t records = 0;
    for (cCsvReader each(Utf8ToUtf16(dir.Write("t.csv", bytes).string())); !each.AtEnd(); each.ReadRecord(true)) {
      ++records;
    }
    EXPECT_EQ(reader.RecordCount(), records);
  }
}

// A saved table's rows keep their empty fields, so one where a value belongs
// stays in its place, while empty lines and lines of separators between rows
// are passed over as ReadRecord(false) passes them, each counted as a line.
TEST(CsvReader, ReadRowKeepsEmptyFieldsAndPassesEmptyLines) {
  for (const std::string end : {"\r", "\n", "\r\n"}) {
    SCOPED_TRACE(testing::PrintToString(end));
    test::TempDir dir;
    cCsvReader reader(Utf8ToUtf16(dir.Write("t.csv", "#h;;\r\n8;9;;10;" + end + end + end + ";;" + end + "1;2").string()));
    EXPECT_EQ(reader.ReadRow(), 0u);  // the header is a comment
    EXPECT_EQ(reader.ReadRow(), 5u);
    EXPECT_EQ(reader.fields, (std::vector<std::u16string>{u"8", u"9", u"", u"10", u""}));
    EXPECT_EQ(reader.RecordCount(), 2u);
    EXPECT_EQ(reader.ReadRow(), 2u);
    EXPECT_EQ(reader.fields, (std::vector<std::u16string>{u"1", u"2"}));
    EXPECT_EQ(reader.RecordCount(), 6u);
    EXPECT_TRUE(reader.AtEnd());
  }
}

// Records read past empty lines (ReadRecord without empty fields, or
// SkipEmptyLines before each, of lines of separators too) are those read one by one, with the same line
// numbers and the same count at the end, on texts of every mix of line ends.
TEST(CsvReader, EmptyLinesPassedOverAtOnceCountAsOneByOne) {
  test::TempDir dir;
  for (std::uint32_t seed = 1; seed <= 80; ++seed) {
    std::uint32_t x = seed;
    const auto next = [&x] { return (x = x * 214013 + 2531011) >> 16; };
    std::string bytes;
    while (bytes.size() < 40 + seed * 11) {
      const std::size_t run = next() % 30;
      const std::uint32_t kind = next() % 4;
      for (std::size_t i = 0; i < run; ++i) bytes += kind == 0 ? '\r' : kind == 1 ? '\n' : "\r\n"[next() % 2];
      if (next() % 3 != 0) bytes += std::string("a;;b# ;").substr(next() % 7, next() % 4 + 1);
    }
    SCOPED_TRACE(testing::PrintToString(bytes));
    const auto path = Utf8ToUtf16(dir.Write("t.csv", bytes).string());
    using Row = std::pair<std::uint32_t, std::vector<std::u16string>>;
    const auto nonEmpty = [](const std::vector<std::u16string>& fields) {
      std::vector<std::u16string> kept;
      for (const std::u16string& f : fields) {
        if (!f.empty()) kept.push_back(f);
      }
      return kept;
    };
    std::vector<Row> each;
    cCsvReader one(path);
    while (!one.AtEnd()) {
      one.ReadRecord(true);
      if (!nonEmpty(one.fields).empty()) each.emplace_back(one.RecordCount(), one.fields);
    }
    for (const bool separators : {false, true}) {
      std::vector<Row> skipped;
      cCsvReader skipping(path);
      while (!skipping.AtEnd()) {
        skipping.SkipEmptyLines(separators);
        if (skipping.AtEnd()) break;
        skipping.ReadRecord(true);
        if (!nonEmpty(skipping.fields).empty()) skipped.emplace_back(skipping.RecordCount(), skipping.fields);
      }
      EXPECT_EQ(skipped, each) << separators;
      EXPECT_EQ(skipping.RecordCount(), one.RecordCount()) << separators;
    }
    std::vector<Row> dropped;
    cCsvReader dropping(path);
    while (!dropping.AtEnd()) {
      if (dropping.ReadRecord(false) != 0) dropped.emplace_back(dropping.RecordCount(), dropping.fields);
    }
    // Without empty fields a line of blanks and separators is an empty line
    // too, and one whose first field left starts with '#' a comment.
    for (Row& row : each) row.second = nonEmpty(row.second);
    std::erase_if(each, [](const Row& row) {
      return row.second[0].starts_with(u'#') ||
             std::all_of(row.second.begin(), row.second.end(),
                         [](const std::u16string& f) { return TrimBlanks(f).empty(); });
    });
    EXPECT_EQ(dropped, each);
    EXPECT_EQ(dropping.RecordCount(), one.RecordCount());
  }
}

// Lines of nothing but separators are passed over with the empty lines only
// when asked; otherwise the next record is that line, of empty fields.
TEST(CsvReader, SkipEmptyLinesPassesLinesOfSeparatorsWhenAsked) {
  test::TempDir dir;
  const auto path = Utf8ToUtf16(dir.Write("t.csv", "h;\r\n;;;\r\nx;y;\r\n").string());
  for (const bool separators : {true, false}) {
    SCOPED_TRACE(separators);
    cCsvReader reader(path);
    reader.ReadRecord(true);
    EXPECT_EQ(reader.fields, (std::vector<std::u16string>{u"h", u""}));
    reader.SkipEmptyLines(separators);
    reader.ReadRecord(true);
    const std::vector<std::u16string> next =
        separators ? std::vector<std::u16string>{u"x", u"y", u""} : std::vector<std::u16string>{u"", u"", u"", u""};
    EXPECT_EQ(reader.fields, next);
    EXPECT_EQ(reader.RecordCount(), separators ? 3u : 2u);
  }
}

// A record of more fields than any table has keeps its first ones, logged;
// one of exactly that many is whole.
TEST(CsvReader, FieldsPastTheMostKeptAreLeftOutAndLogged) {
  const std::size_t most = cCsvReader::kMostFieldsKept;
  std::string atMost;
  for (std::size_t i = 0; i < most; ++i) atMost += std::to_string(i % 10) + ";";
  test::LogCapture log;
  EXPECT_EQ(ReadAll(atMost + "\r", false).front().size(), most);
  EXPECT_FALSE(log.ContainsText(u"more than the"));
  const Records past = ReadAll(atMost + "x;y;\r7\r", false);
  ASSERT_EQ(past.size(), 2u);
  EXPECT_EQ(past[0].size(), most);
  EXPECT_EQ(past[0].back(), u"5");
  EXPECT_EQ(past[1], std::vector<std::u16string>{u"7"});
  // The reader tells the line, the file and every field the record held.
  log.Clear();
  test::TempDir dir;
  const std::u16string pastFile = Utf8ToUtf16(dir.Write("p.csv", atMost + "x;y;\r").string());
  cCsvReader reader(pastFile);
  EXPECT_EQ(reader.ReadRecord(), most);
  EXPECT_EQ(reader.FieldCount(), most + 2);
  EXPECT_TRUE(log.Contains(u"WARNING: line 1 of " + pastFile +
                           u" holds 4098 fields, more than the 4096 any table of the game has; those past them are "
                           u"left out"));
  EXPECT_EQ(reader.ReadRecord(), 0u);
  EXPECT_EQ(reader.FieldCount(), 0u);
  // Text of a record up to the most is kept whole; past it the rest is left
  // out, the fields still counted.
  log.Clear();
  const std::string atMostText(cCsvReader::kMostRecordBytes - 1, 'x');
  EXPECT_EQ(ReadAll("1;" + atMostText + "\r", false).front().back().size(), atMostText.size());
  EXPECT_FALSE(log.ContainsText(u"bytes of text"));
  const Records cut = ReadAll("1;" + atMostText + "y;2;\r", false);
  ASSERT_EQ(cut.front().size(), 3u);
  EXPECT_EQ(cut.front()[1], AsciiToUtf16(atMostText));
  EXPECT_EQ(cut.front()[2], u"");
  EXPECT_TRUE(log.ContainsText(u"holds more than the 1048576 bytes of text any table of the game has on a line"));
  // A line of blanks past the most is still a line of blanks.
  std::string blanks;
  for (std::size_t i = 0; i <= most; ++i) blanks += " ;";
  EXPECT_EQ(ReadAll(blanks + "\r", true).front(), std::vector<std::u16string>(most, u" "));
  EXPECT_EQ(ReadAll(blanks + "\r", false).front(), std::vector<std::u16string>{});
  const std::string blankText(cCsvReader::kMostRecordBytes + 10, ' ');
  EXPECT_EQ(ReadAll(blankText + "\r", false).front(), std::vector<std::u16string>{});
  // Text past the most fields, or past the most text, makes it a line of
  // text all the same.
  blanks.resize(2 * most);
  EXPECT_EQ(ReadAll(blanks + "x;\r", false).front(), std::vector<std::u16string>(most, u" "));
  const std::u16string keptBlanks(cCsvReader::kMostRecordBytes, u' ');
  EXPECT_EQ(ReadAll(blankText.substr(10) + "x;\r", false).front(), std::vector<std::u16string>{keptBlanks});
}

TEST(CsvReader, EmptyAndMissingFiles) {
  test::TempDir dir;
  cCsvReader empty(Utf8ToUtf16(dir.Write("e.csv", "").string()));
  EXPECT_TRUE(empty.IsLoaded());
  EXPECT_TRUE(empty.AtEnd());
  EXPECT_EQ(empty.ReadRecord(), 0);

  cCsvReader missing(Utf8ToUtf16((dir.path() / "none.csv").string()));
  EXPECT_FALSE(missing.IsLoaded());
  EXPECT_TRUE(missing.AtEnd());
  EXPECT_EQ(missing.ReadRecord(true), 0);
}

TEST(CsvReader, LoadFileStartsOver) {
  test::TempDir dir;
  // Each file opens with a comment: where the first one's line ends is not
  // taken for the second's.
  cCsvReader reader(Utf8ToUtf16(dir.Write("a.csv", "#aaaaaa\r1\r").string()));
  reader.ReadRecord();
  reader.ReadRecord();
  EXPECT_EQ(reader.RecordCount(), 2u);
  ASSERT_TRUE(reader.LoadFile(Utf8ToUtf16(dir.Write("b.csv", "#x\rx;y").string())));
  EXPECT_EQ(reader.RecordCount(), 0u);
  EXPECT_EQ(reader.ReadRecord(), 0);
  EXPECT_EQ(reader.ReadRecord(), 2);
  EXPECT_EQ(reader.fields[1], u"y");
}

}  // namespace
}  // namespace tr
