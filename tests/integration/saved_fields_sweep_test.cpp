// Every field declared for a save's tables, given each value the game never
// writes there (text, "5abc", "1.5.5", a number past 32 bits, nothing, a NUL,
// a leading blank, the first value past its range), and every key declared
// unique given twice: each refuses the whole load of the save, naming the
// file and the line (and the field, where the line is whole). Beside them
// the sound save loads and is written back byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "foundation/text.h"
#include "hostile_save.h"
#include "scenario/saved_fields.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

// A table's text as lines, each without its line end.
struct sLines {
  std::vector<std::string> lines;

  explicit sLines(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
      start = end + 1;
    }
  }
  std::string Text() const {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
  }
};

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (start <= line.size()) {
    const std::size_t end = std::min(line.find(';', start), line.size());
    fields.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  return fields;
}

std::string Joined(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) line += (i == 0 ? "" : ";") + fields[i];
  return line;
}

bool IsData(const std::string& line) {
  return !line.empty() && line[0] != '#' && line.find_first_not_of(';') != std::string::npos;
}

// The kind of line a data line is, as the check takes it.
const sSavedLine* KindOf(const sSavedTable& table, const std::string& line) {
  const std::string first = Fields(line)[0];
  for (const sSavedLine& kind : table.lines) {
    if (kind.key == "*" || kind.key == first) return &kind;
  }
  return nullptr;
}

// A table's text as the sweep changes it, and back to its bytes: a UTF-16 table as UTF-8.
std::string TextOf(const sSavedTable& table, const std::string& bytes) {
  return table.utf16 ? Utf16ToUtf8(Utf16LeToUtf16(bytes)) : bytes;
}
std::string Utf16LeBytes(const std::string& text) { return Utf16ToUtf16Le(Utf8ToUtf16(text)); }
std::string BytesOf(const sSavedTable& table, const std::string& text) {
  return table.utf16 ? Utf16LeBytes(text) : text;
}

std::string NumberText(double value) { return std::to_string(static_cast<std::int64_t>(value)); }

// A line of the kind with the least value of each field, for a kind the save has no line of.
std::string MadeLine(const sSavedLine& kind) {
  std::vector<std::string> fields;
  for (const sSavedField& field : kind.fields) {
    fields.push_back(field.kind == eSavedKind::kText ? "a" : NumberText(field.low < -1 ? -1 : field.low));
  }
  if (kind.key != "*") fields[0] = std::string(kind.key);
  return Joined(fields) + ";";
}

// The texts the game never writes in the field.
std::vector<std::string> Unwritten(const sSavedField& field, const std::string& sound) {
  if (field.kind == eSavedKind::kText) {
    std::vector<std::string> texts{std::string("a\0b", 3), "a\x01", "\x7F"};
    if (field.low > 0) texts.push_back("");
    if (field.high < 1000) texts.push_back(std::string(static_cast<std::size_t>(field.high) + 1, 'x'));
    return texts;
  }
  std::vector<std::string> texts{"text", "5abc", "1.5.5", "", std::string("\0", 1), " " + sound, "+" + sound};
  if (field.high < 2147483648.0) texts.push_back("2147483648");
  if (field.low > -1) texts.push_back("-1");
  if (field.low > -kAnyWhole && field.low <= kAnyWhole) texts.push_back(NumberText(field.low - 1));
  if (field.high < kAnyWhole && field.high >= -kAnyWhole) texts.push_back(NumberText(field.high + 1));
  if (field.kind == eSavedKind::kWhole) texts.push_back("1.5");
  return texts;
}

class SavedFieldsSweep : public test::HostileSave {
 protected:
  // Loads the save with the table's text in place of its own; true when refused naming the file at the line.
  bool RefusedAt(const fs::path& file, const std::string& text, const std::u16string& where,
                 const std::u16string& field) {
    const std::string sound = test::ReadFileBytes(file);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    test::LogCapture log;
    const bool loaded = Load();
    if (loaded) {
      if (gGame == game_) gGame = nullptr;
      delete game_;
      game_ = nullptr;
    }
    std::ofstream(file, std::ios::binary | std::ios::trunc) << sound;
    if (!loaded && log.ContainsText(where) && log.ContainsText(field)) return true;
    for (const std::u16string& line : log.lines()) {
      if (line.starts_with(u"ERROR")) ADD_FAILURE() << Utf16ToUtf8(line);
    }
    return false;
  }
};

TEST_F(SavedFieldsSweep, EveryFieldAndKeyRefusesWhatTheGameNeverWrites) {
  const fs::path save = Copy("Sweep");
  // A report waiting for a country, in letters past one byte: their UTF-8 holds bytes no name of an
  // 8-bit table may, and a pair of UTF-16 units.
  const fs::path reports = save / "airship_attacks.csv";
  std::ofstream(reports, std::ios::binary | std::ios::app)
      << Utf16LeBytes("\n1;\xC5\x81\xC3\xB3d\xC5\xBA, \xE2\x9C\x88 \xF0\x9F\x9B\xA9 \xC2\x81;");
  const std::u16string folder = u"ERROR: data\\save\\Sweep\\";
  int cases = 0;
  for (const sSavedTable* table : SavedTables()) {
    const fs::path file = save / fs::path(table->file);
    ASSERT_TRUE(fs::exists(file)) << Utf16ToUtf8(table->file);
    const sLines sound(TextOf(*table, test::ReadFileBytes(file)));
    for (const sSavedLine& kind : table->lines) {
      sLines lines = sound;
      std::size_t at = lines.lines.size();
      for (std::size_t i = 0; i < lines.lines.size() && at == lines.lines.size(); ++i) {
        if (IsData(lines.lines[i]) && KindOf(*table, lines.lines[i]) == &kind) at = i;
      }
      // A kind of line the sample's save holds none of is made, and checked as one the game wrote.
      if (at == lines.lines.size()) lines.lines.push_back(MadeLine(kind));
      const std::vector<std::string> fields = Fields(lines.lines[at]);
      const std::u16string where = folder + std::u16string(table->file) + Utf8ToUtf16(" at line " + std::to_string(at + 1) + " ");
      for (std::size_t f = kind.key == "*" ? 0 : 1; f < kind.fields.size(); ++f) {
        for (const std::string& bad : Unwritten(kind.fields[f], fields[f])) {
          sLines changed = lines;
          std::vector<std::string> row = fields;
          row[f] = bad;
          changed.lines[at] = Joined(row);
          // A line with no ';' after its last field, emptied, is cut short: refused naming no field; so is
          // one whose first field makes it a line of another kind.
          const bool cut = bad.empty() && f + 1 == row.size();
          const bool otherKind = KindOf(*table, Joined(row)) != &kind;
          const std::u16string name = cut || otherKind ? u"" : u"(" + std::u16string(kind.fields[f].name) + u")";
          ++cases;
          EXPECT_TRUE(RefusedAt(file, BytesOf(*table, changed.Text()), where, name))
              << Utf16ToUtf8(table->file) << " field " << f + 1 << " \"" << bad << "\"";
        }
      }
      // The last value of a list, past the declared fields, emptied where the game writes none empty:
      // its reader must not read it as 0.
      const std::size_t last = fields.size() - (fields.back().empty() ? 2 : 1);
      const sSavedField& listed = kind.fields.back();
      const bool emptyUnwritten = listed.kind != eSavedKind::kText || listed.low > 0;
      if (kind.repeatLast && emptyUnwritten && last >= kind.fields.size()) {
        sLines changed = lines;
        std::vector<std::string> row = fields;
        row[last] = "";
        changed.lines[at] = Joined(row);
        ++cases;
        EXPECT_TRUE(RefusedAt(file, BytesOf(*table, changed.Text()), where, u""))
            << Utf16ToUtf8(table->file) << " last value of " << kind.key << " empty";
      }
      if (kind.unique.empty()) continue;
      // Right after the first, in the same block of a table of blocks.
      sLines twice = lines;
      twice.lines.insert(twice.lines.begin() + static_cast<std::ptrdiff_t>(at) + 1, lines.lines[at]);
      ++cases;
      const std::u16string second =
          folder + std::u16string(table->file) + Utf8ToUtf16(" at line " + std::to_string(at + 2) + " ");
      EXPECT_TRUE(RefusedAt(file, BytesOf(*table, twice.Text()), second, u"repeats the line"))
          << Utf16ToUtf8(table->file) << " key of " << kind.key << " twice";
    }
  }
  EXPECT_GT(cases, 500);
  // The sound save beside them: loads, and is written back byte for byte.
  test::LogCapture log;
  ASSERT_TRUE(Load());
  SaveAs(u"SweepOnce");
  ASSERT_TRUE(Load());
  SaveAndClose(u"SweepTwice");
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  const fs::path saves = root_->path() / "data/save";
  EXPECT_EQ(test::ReadFolderBytes(saves / "SweepTwice"), test::ReadFolderBytes(saves / "SweepOnce"));
  EXPECT_EQ(test::ReadFileBytes(saves / "SweepOnce/airship_attacks.csv"), test::ReadFileBytes(reports));
}

// A city's supply row before supply is first computed holds its hex alone: it loads,
// and its hex is checked as any row's is.
TEST_F(SavedFieldsSweep, ASupplyRowOfNoValuesYetIsCheckedAsAWholeRow) {
  const fs::path file = Copy("NoSupplyYet") / "cities_supply_info.csv";
  sLines lines(test::ReadFileBytes(file));
  std::size_t first = lines.lines.size();
  for (std::size_t i = 0; i < lines.lines.size(); ++i) {
    if (!IsData(lines.lines[i])) continue;
    const std::vector<std::string> fields = Fields(lines.lines[i]);
    lines.lines[i] = fields[0] + ";" + fields[1] + ";";
    first = std::min(first, i);
  }
  ASSERT_LT(first, lines.lines.size());
  std::ofstream(file, std::ios::binary | std::ios::trunc) << lines.Text();
  const auto where = [](std::size_t line) {
    return u"ERROR: data\\save\\NoSupplyYet\\cities_supply_info.csv at line " + Utf8ToUtf16(std::to_string(line)) + u" ";
  };
  sLines leadingZero = lines;
  leadingZero.lines[first] = "0" + lines.lines[first];
  EXPECT_TRUE(RefusedAt(file, leadingZero.Text(), where(first + 1), u"(Hex X)"));
  sLines twice = lines;
  twice.lines.insert(twice.lines.begin() + static_cast<std::ptrdiff_t>(first), lines.lines[first]);
  EXPECT_TRUE(RefusedAt(file, twice.Text(), where(first + 2), u"repeats the line"));
  test::LogCapture log;
  EXPECT_TRUE(Load());
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
}

}  // namespace
}  // namespace tr

namespace tr {
namespace {

// A scenario's unit_names.csv goes into every save as it is: what a save's
// load would refuse is refused when the scenario starts, and what its reader
// passes over (a line before the header, a slot past the seventeen) plays,
// saves and loads back.
class ScenarioUnitNames : public test::HostileSave {
 protected:
  fs::path File() const { return root_->path() / "data/scenarios" / test::kScenario / "unit_names.csv"; }
};

TEST_F(ScenarioUnitNames, WhatASaveCouldNotHoldIsRefusedAtTheStartAndWhatItsReaderPassesOverPlays) {
  const std::string own = test::ReadFileBytes(File());
  const std::size_t header = own.find("\n;;") + 1;
  const std::string passedOver =
      own.substr(0, header) + "Names of the units;by country;as their armies call them\r\n" + own.substr(header) + "18;Nothing;x\r\n";
  std::ofstream(File(), std::ios::binary | std::ios::trunc) << passedOver;
  {
    test::LogCapture log;
    ASSERT_TRUE(Start());
    SaveAs(u"Names");
    ASSERT_TRUE(Load());
    SaveAndClose(u"NamesAgain");
    EXPECT_FALSE(log.ContainsText(u"ERROR"));
  }
  const fs::path saves = root_->path() / "data/save";
  EXPECT_EQ(test::ReadFileBytes(saves / "NamesAgain/unit_names.csv"), passedOver);

  const std::size_t name = own.find(";", own.find("\n1;")) + 1;
  std::ofstream(File(), std::ios::binary | std::ios::trunc) << own.substr(0, name) + "\x01" + own.substr(name);
  test::LogCapture log;
  EXPECT_FALSE(Start());
  std::ofstream(File(), std::ios::binary | std::ios::trunc) << own;
  EXPECT_TRUE(log.ContainsText(u"ERROR: data\\scenarios\\NorthernTide\\unit_names.csv at line 3 (counting from 1) has "
                               u"\"\\x01"));
  EXPECT_TRUE(log.ContainsText(u"in field 2 (Name)"));
  EXPECT_TRUE(log.ContainsText(u"could not be loaded back, so the scenario is not started"));
}

}  // namespace
}  // namespace tr
