#include "scenario/table_reader.h"

#include <algorithm>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "scenario/number_text.h"
#include "foundation/string_base.h"
#include "world/gra.h"

namespace tr {

void LogReaderText(std::string_view key) { LogLine(GetText(key)); }

void FailMissingTable() {
  LogLine(kOpenFailedLine);
  ExitDestroyingGame(1);
}

cCsvReader OpenTable(std::u16string_view opening_line, std::u16string_view path) {
  LogLine(opening_line);
  LogLine(path);
  cCsvReader reader(path);
  if (!reader.IsLoaded()) FailMissingTable();
  LogLine(kOpenOkLine);
  return reader;
}

cTableRows::cTableRows(cCsvReader& reader, std::size_t columns, std::u16string_view path)
    : reader_(reader), columns_(columns), path_(path) {}

cTableRows::~cTableRows() {
  if (whole_ > 0 || short_ == 0) return;
  LogFormat(u"WARNING: none of the %i rows of %s has the %i fields a row needs; the table is read as empty", short_,
            path_, static_cast<int>(columns_));
}

bool cTableRows::Next() {
  while (!reader_.AtEnd()) {
    const std::size_t count = reader_.ReadRecord(false);
    if (count == 0) continue;
    if (count >= columns_) {
      ++whole_;
      return true;
    }
    ++short_;
    LogFormat(u"WARNING: row of %s at line %i (counting from 1) has %i fields of %i; row skipped", path_, line(),
              static_cast<int>(count), static_cast<int>(columns_));
  }
  return false;
}

int cTableRows::line() const { return static_cast<int>(reader_.RecordCount()); }

int TableLineOf(std::u16string_view path, std::int32_t id) {
  cCsvReader reader(path);
  while (reader.IsLoaded() && !reader.AtEnd()) {
    if (reader.ReadRecord(false) == 0) continue;
    if (FieldInt(reader.fields, 0) == id) return static_cast<int>(reader.RecordCount());
  }
  return 0;
}

std::int32_t FieldInt(const std::vector<std::u16string>& fields, std::size_t i) {
  return i < fields.size() ? ParseLeadingInt(fields[i]) : 0;
}

float FieldFloat(const std::vector<std::u16string>& fields, std::size_t i) {
  return i < fields.size() ? ParseLeadingFloat(fields[i]) : 0.0f;
}

bool FieldFlag(const std::vector<std::u16string>& fields, std::size_t i) { return FieldInt(fields, i) != 0; }

std::vector<std::string_view> SplitTokens(std::string_view line) {
  std::vector<std::string_view> tokens;
  std::size_t pos = 0;
  while (pos < line.size()) {
    const std::size_t end = std::min(line.find(';', pos), line.size());
    if (end > pos) tokens.push_back(line.substr(pos, end - pos));
    pos = end + 1;
  }
  return tokens;
}

void LogValueOutOfRange(std::u16string_view what, std::int64_t value, std::u16string_view path, int line) {
  LogFormat(u"WARNING: %s (%i) out of range in %s at line %i (counting from 1); ignored", what, value, path, line);
}

void LogRowOutOfRange(std::u16string_view what, std::int64_t value, std::u16string_view path, int line) {
  LogFormat(u"WARNING: %s (%i) out of range in %s at line %i (counting from 1); row skipped", what, value, path,
            line);
}

std::int32_t FieldIntIn(const std::vector<std::u16string>& fields, std::size_t i, std::int32_t low,
                        std::int32_t high, std::int32_t fallback, std::u16string_view what, std::u16string_view path,
                        int line) {
  const std::int32_t value = FieldInt(fields, i);
  if (value >= low && value <= high) return value;
  LogValueOutOfRange(what, value, path, line);
  return fallback;
}

}  // namespace tr
