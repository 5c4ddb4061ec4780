#include "scenario/table_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "foundation/console_log.h"
#include "foundation/file_read.h"
#include "foundation/format.h"
#include "foundation/log_bound.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/text_file.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "scenario/save_manifest.h"
#include "world/gra.h"

namespace tr {

void LogReaderText(std::string_view key) { LogLine(GetText(key)); }

void LogUnopenedTable(std::u16string_view path) {
  // A file refused for what it is (a link, over its budget) was logged so by
  // the reader already.
  eFileRefusal refusal = eFileRefusal::kNone;
  if (OpenGameFile(ResolveGamePath(path), kTextFileBudget, &refusal, true).is_open()) return;
  if (refusal == eFileRefusal::kMissing) LogFormat(u"ERROR: %s is missing; the game is not loaded", path);
  if (refusal == eFileRefusal::kFolder) LogFormat(u"ERROR: %s is a folder, not a file; the game is not loaded", path);
}

void FailMissingTable(std::u16string_view path) {
  LogLine(kOpenFailedLine);
  LogUnopenedTable(path);
  ExitDestroyingGame(1);
}

cCsvReader OpenTable(std::u16string_view opening_line, std::u16string_view path) {
  LogLine(opening_line);
  LogLine(path);
  cCsvReader reader(path);
  if (!reader.IsLoaded()) FailMissingTable(path);
  LogLine(kOpenOkLine);
  return reader;
}

void RefuseDamagedTable(std::u16string_view path, int line, std::u16string_view what) {
  const std::u16string where = line > 0 ? Format(u" at line %i (counting from 1)", line) : std::u16string();
  LogFormat(u"ERROR: %s%s %s; the game writes the files of a saved game whole, so the file is damaged and the game "
            u"is not loaded",
            path, where, what);
  ExitDestroyingGame(1);
}

void CheckSavedTableStart(std::string_view text, std::u16string_view path) {
  if (text.empty()) RefuseDamagedTable(path, 0, u"is empty");
  if (text.front() != '#') RefuseDamagedTable(path, 1, u"does not begin with the table's '#' header line");
}

std::optional<std::string> ReadLaterSavedFile(std::u16string_view path, bool asText) {
  const std::filesystem::path file = ResolveGamePath(path);
  // Only a file that is not there makes an older save; one there that cannot
  // be read (a folder in its place, over its budget, gone meanwhile) would
  // otherwise load as if the save never had it.
  // A file the check of the save read is read from what it read.
  const bool checked = cCheckedFiles::Current() != nullptr && cCheckedFiles::Current()->Holds(file);
  eFileRefusal refusal = eFileRefusal::kNone;
  if (!checked && !OpenGameFile(file, kTextFileBudget, &refusal, true).is_open() &&
      refusal == eFileRefusal::kMissing) {
    const std::size_t split = path.rfind(u'\\');
    if (split == std::u16string_view::npos || !SaveManifestNames(path.substr(0, split), path.substr(split + 1))) {
      return std::nullopt;
    }
    LogFormat(u"ERROR: %s is missing, though the save was written with it; the game is not loaded", path);
    ExitDestroyingGame(1);
  }
  std::optional<std::string> bytes = asText ? ReadTextFile(file) : ReadWholeFile(file);
  if (!bytes) {
    LogFormat(u"ERROR: %s is there but cannot be read; only a save from before it was written lacks it, so the game "
              u"is not loaded",
              path);
    ExitDestroyingGame(1);
  }
  return bytes;
}

bool ReadLaterSavedTable(std::u16string_view path, std::u16string_view missing,
                         std::span<const sSavedLineKind> kinds,
                         const std::function<void(const std::vector<std::string_view>& fields, int line)>& visit) {
  LogLine(kOpeningFileLine);
  LogLine(path);
  const std::optional<std::string> bytes = ReadLaterSavedFile(path, true);
  if (!bytes) {
    LogLine(missing);
    return false;
  }
  LogLine(kOpenOkLine);
  CheckSavedTableStart(*bytes, path);
  int lineNumber = 0;
  // A line of separators only holds no record, as in every table, and is passed over with empty ones.
  for (const sTextLine& line : TextLinesWithFields(*bytes)) {
    lineNumber = line.number;
    if (line.text.empty() || line.text[0] == '#') continue;
    if (line.text.back() != ';') RefuseDamagedTable(path, lineNumber, u"has a line cut short");
    // Empty fields are kept: one dropped would shift the values after it.
    const std::vector<std::string_view> fields = SplitTokens(line.text, true);
    // A line of separators only holds no record, as in every table.
    if (std::all_of(fields.begin(), fields.end(), [](std::string_view f) { return f.empty(); })) continue;
    const auto kind = std::find_if(kinds.begin(), kinds.end(),
                                   [&fields](const sSavedLineKind& k) { return k.key == fields[0]; });
    if (kind == kinds.end()) RefuseDamagedTable(path, lineNumber, u"has a line that is not the game's");
    if (fields.size() < kind->fields) RefuseShortSavedRow(path, lineNumber, fields.size(), kind->fields);
    visit(fields, lineNumber);
  }
  return true;
}

int SavedWholeField(const std::vector<std::string_view>& fields, std::size_t i, std::u16string_view path, int line) {
  const std::optional<int> value = i < fields.size() ? WholeNumber(fields[i]) : std::nullopt;
  if (!value) RefuseDamagedTable(path, line, Format(u"has no whole number in field %i", static_cast<int>(i) + 1));
  return *value;
}

void RefuseShortSavedRow(std::u16string_view path, int line, std::size_t count, std::size_t fields) {
  RefuseDamagedTable(path, line,
                     Format(u"has %i fields of the %i of a row (cut short?)", static_cast<int>(count),
                            static_cast<int>(fields)));
}

void CheckSavedTableStart(cCsvReader& reader, std::u16string_view path) {
  if (reader.RecordCount() != 0) return;
  if (reader.Size() == 0) RefuseDamagedTable(path, 0, u"is empty");
  // Kept empty fields tell a blank or data line (one field at least) from a comment (none).
  if (reader.ReadRecord(true) != 0) RefuseDamagedTable(path, 1, u"does not begin with the table's '#' header line");
}

namespace {

// The path of the table read as a saved game's now, or none.
thread_local const std::u16string* tSavedTable = nullptr;

// Refuses a value of a saved table that its reader would log and go on past.
[[noreturn]] void RefuseSavedValue(std::u16string_view what, std::u16string_view value, std::u16string_view path,
                                   int line) {
  RefuseDamagedTable(path, line, Format(u"has %s of %s, a value the game never writes there", what, value));
}

// A value's line is one of a cause about the file: the value's name and what
// became of it.
bool AdmitValueLine(std::u16string_view path, std::u16string_view what, std::u16string_view outcome) {
  return AdmitLogLine(path, what, outcome);
}

// A decimal as the log shows it: every digit it needs, whatever its size.
template <typename Number>
std::string DecimalText(Number value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

// Why a number field does not read as what it says; empty when it does.
std::u16string_view NumberSlip(std::u16string_view text, eColumn column) {
  if (column == eColumn::kWhole) {
    if (!IsWholeNumberText(text)) return u"is not a whole number";
    if (!WholeNumber(text)) return u"is beyond the 32-bit range";
    return {};
  }
  if (!IsDecimalNumberText(text)) return u"is not a number";
  if (std::abs(ParseLeadingDouble(text)) > std::numeric_limits<float>::max()) return u"is beyond the range of a decimal field";
  return {};
}

void LogNumberSlip(std::u16string_view field, eColumn column, std::u16string_view why, std::u16string_view path,
                   int line, std::size_t index, int more) {
  // A stranger's field can be of any length; the start of it is enough to find it.
  constexpr std::size_t kShownUnits = 40;
  const std::u16string_view text = CutUnits(field, kShownUnits);
  if (ReadingSavedTable(path)) {
    if (field.empty()) RefuseDamagedTable(path, line, Format(u"has field %i empty, where the game writes a number",
                                                             static_cast<int>(index) + 1));
    RefuseDamagedTable(path, line, Format(u"has \"%s%s\" in field %i, which %s", text,
                                          std::u16string_view(text.size() < field.size() ? u"..." : u""),
                                          static_cast<int>(index) + 1, why));
  }
  if (!AdmitValueLine(path, u"a number column that ", why)) return;
  const std::u16string readAs = column == eColumn::kWhole ? Format(u"%i", ParseLeadingInt(field))
                                                          : Utf8ToUtf16(DecimalText(ParseLeadingFloat(field)));
  std::u16string message =
      Format(u"WARNING: %s at line %i (counting from 1), column %i: \"%s%s\" %s; read as %s", path, line,
             static_cast<int>(index) + 1, text, std::u16string_view(text.size() < field.size() ? u"..." : u""), why,
             readAs);
  if (more > 0) message += Format(u" (and %i more columns of the row)", more);
  LogLine(message);
}

}  // namespace

cSavedTableScope::cSavedTableScope(std::u16string_view path, bool saved)
    : path_(path), previous_(tSavedTable), saved_(saved) {
  if (saved_) tSavedTable = &path_;
}

cSavedTableScope::~cSavedTableScope() {
  if (saved_) tSavedTable = previous_;
}

bool ReadingSavedTable(std::u16string_view path) { return tSavedTable != nullptr && *tSavedTable == path; }

bool FieldSwitch(const std::vector<std::u16string>& fields, std::size_t i, std::u16string_view path, int line) {
  const std::int32_t value = FieldInt(fields, i);
  if (value != 0 && value != 1 && ReadingSavedTable(path)) {
    RefuseDamagedTable(path, line,
                       Format(u"has %i in field %i, where the game writes 0 or 1", value, static_cast<int>(i) + 1));
  }
  return value != 0;
}

std::int32_t SavedWholeIn(std::string_view text, int field, std::int32_t low, std::int32_t high,
                          std::u16string_view what, std::u16string_view path, int line) {
  const std::optional<std::int32_t> value = WholeNumber(text);
  if (!value && IsWholeNumberText(text)) {
    RefuseDamagedTable(path, line, Format(u"has a number beyond the 32-bit range in field %i", field));
  }
  if (!value) RefuseDamagedTable(path, line, Format(u"has no whole number in field %i", field));
  if (*value < low || *value > high) {
    RefuseDamagedTable(path, line, Format(u"has %i in field %i, where the game writes %s", *value, field, what));
  }
  return *value;
}

double SavedDecimalIn(std::string_view text, int field, double low, double high, std::u16string_view what,
                      std::u16string_view path, int line) {
  if (!IsDecimalNumberText(text)) {
    RefuseDamagedTable(path, line, Format(u"has no number in field %i", field));
  }
  const double value = ParseLeadingDouble(text);
  if (!(value >= low && value <= high)) {
    RefuseDamagedTable(path, line, Format(u"has %s in field %i, where the game writes %s", DecimalText(value), field,
                                          what));
  }
  return value;
}

std::vector<eColumn> ColumnsOfRow(std::u16string_view rowFormat) {
  std::vector<eColumn> columns;
  for (std::size_t i = 0; i < rowFormat.size(); ++i) {
    if (rowFormat[i] != u'%') continue;
    ++i;
    // Flags, width, precision and length come before the conversion letter.
    constexpr std::u16string_view kConversions = u"diouxXfFeEgGaAcCsSp%";
    while (i < rowFormat.size() && kConversions.find(rowFormat[i]) == std::u16string_view::npos) ++i;
    if (i >= rowFormat.size() || rowFormat[i] == u'%') continue;
    const char16_t conversion = rowFormat[i];
    columns.push_back(conversion == u'i' || conversion == u'd' ? eColumn::kWhole
                      : conversion == u'f'                     ? eColumn::kDecimal
                                                               : eColumn::kText);
  }
  return columns;
}

void CheckNumberFields(const std::vector<std::u16string>& fields, const std::vector<eColumn>& columns,
                       std::u16string_view path, int line) {
  std::size_t first = 0;
  std::u16string_view why;
  int more = 0;
  for (std::size_t i = 0; i < fields.size() && i < columns.size(); ++i) {
    if (columns[i] == eColumn::kText) continue;
    const std::u16string_view slip = NumberSlip(fields[i], columns[i]);
    if (slip.empty()) continue;
    if (why.empty()) {
      first = i;
      why = slip;
    } else {
      ++more;
    }
  }
  if (!why.empty()) LogNumberSlip(fields[first], columns[first], why, path, line, first, more);
}

void CheckNumberField(const std::vector<std::u16string>& fields, std::size_t i, eColumn column,
                      std::u16string_view path, int line) {
  if (i >= fields.size() || column == eColumn::kText) return;
  const std::u16string_view why = NumberSlip(fields[i], column);
  if (!why.empty()) LogNumberSlip(fields[i], column, why, path, line, i, 0);
}

void ReadTableRow(cCsvReader& reader, bool savedGame) {
  if (!savedGame) {
    reader.ReadRecord(false);
    return;
  }
  reader.ReadRow();
  // Separators past the row's last value hold none either.
  while (!reader.fields.empty() && reader.fields.back().empty()) reader.fields.pop_back();
}

cTableRows::cTableRows(cCsvReader& reader, std::u16string_view rowFormat, std::u16string_view path, bool savedGame)
    : reader_(reader), columns_(ColumnsOfRow(rowFormat)), path_(path), savedGame_(savedGame), scope_(path, savedGame) {
  if (savedGame_) CheckSavedTableStart(reader_, path_);
}

bool cTableRows::Next() {
  const std::size_t columns = columns_.size();
  while (!reader_.AtEnd()) {
    ReadTableRow(reader_, savedGame_);
    // A line of blanks and separators holds no row, as in every table.
    if (savedGame_ && std::all_of(reader_.fields.begin(), reader_.fields.end(),
                                  [](const std::u16string& f) { return TrimBlanks(f).empty(); })) {
      reader_.fields.clear();
    }
    const std::size_t count = reader_.fields.size();
    if (count == 0) continue;
    if (count < columns) {
      if (savedGame_) RefuseShortSavedRow(path_, line(), count, columns);
      ++short_;
      LogAboutFile(path_, u"WARNING: row of %s at line %i (counting from 1) has %i fields of %i; row skipped", path_,
                   line(), static_cast<int>(count), static_cast<int>(columns));
      continue;
    }
    ++whole_;
    if (count > columns && savedGame_) {
      RefuseDamagedTable(path_, line(), Format(u"has more than the %i fields of a row", static_cast<int>(columns)));
    }
    if (count > columns) {
      LogAboutFile(path_,
                   u"WARNING: row of %s at line %i (counting from 1) has %lli fields, more than the %i of a row (two "
                   u"rows on one line?); its first %i are read and the rest left out",
                   path_, line(), static_cast<long long>(reader_.FieldCount()), static_cast<int>(columns),
                   static_cast<int>(columns));
    }
    CheckNumberFields(reader_.fields, columns_, path_, line());
    return true;
  }
  if (whole_ == 0 && short_ > 0) {
    LogFormat(u"ERROR: none of the %i rows of %s has the %i fields a row needs; the game is not loaded", short_,
              path_, static_cast<int>(columns));
    ExitDestroyingGame(1);
  }
  return false;
}

int cTableRows::line() const { return static_cast<int>(reader_.RecordCount()); }

std::int32_t FieldInt(const std::vector<std::u16string>& fields, std::size_t i) {
  return i < fields.size() ? ParseLeadingInt(fields[i]) : 0;
}

float FieldFloat(const std::vector<std::u16string>& fields, std::size_t i) {
  return i < fields.size() ? ParseLeadingFloat(fields[i]) : 0.0f;
}

bool FieldFlag(const std::vector<std::u16string>& fields, std::size_t i) { return FieldInt(fields, i) != 0; }

std::vector<std::string_view> SplitTokens(std::string_view line, bool keepEmpty) {
  std::vector<std::string_view> tokens;
  std::size_t pos = 0;
  while (pos < line.size() && tokens.size() < cCsvReader::kMostFieldsKept) {
    const std::size_t end = std::min(line.find(';', pos), line.size());
    if (end > pos || keepEmpty) tokens.push_back(line.substr(pos, end - pos));
    pos = end + 1;
  }
  return tokens;
}

void LogValueOutOfRange(std::u16string_view what, std::int64_t value, std::u16string_view path, int line) {
  if (ReadingSavedTable(path)) RefuseSavedValue(what, Utf8ToUtf16(std::to_string(value)), path, line);
  if (!AdmitValueLine(path, what, u" out of range; ignored")) return;
  LogFormat(u"WARNING: %s (%lli) out of range in %s at line %i (counting from 1); ignored", what, value, path, line);
}

void LogDecimalOutOfRange(std::u16string_view what, double value, std::u16string_view path, int line) {
  if (ReadingSavedTable(path)) RefuseSavedValue(what, Utf8ToUtf16(DecimalText(value)), path, line);
  if (!AdmitValueLine(path, what, u" out of range; ignored")) return;
  LogFormat(u"WARNING: %s (%s) out of range in %s at line %i (counting from 1); ignored", what, DecimalText(value),
            path, line);
}

void LogValueHeld(std::u16string_view what, std::int64_t value, std::int64_t held, std::u16string_view path,
                  int line) {
  if (ReadingSavedTable(path)) RefuseSavedValue(what, Utf8ToUtf16(std::to_string(value)), path, line);
  if (!AdmitValueLine(path, what, u" out of range; held")) return;
  LogFormat(u"WARNING: %s (%lli) out of range in %s at line %i (counting from 1); held at %lli", what, value, path,
            line, held);
}

void LogDecimalHeld(std::u16string_view what, double value, double held, std::u16string_view path, int line) {
  if (ReadingSavedTable(path)) RefuseSavedValue(what, Utf8ToUtf16(DecimalText(value)), path, line);
  if (!AdmitValueLine(path, what, u" out of range; held")) return;
  LogFormat(u"WARNING: %s (%s) out of range in %s at line %i (counting from 1); held at %s", what, DecimalText(value),
            path, line, DecimalText(held));
}

void LogRowOutOfRange(std::u16string_view what, std::int64_t value, std::u16string_view path, int line) {
  if (ReadingSavedTable(path)) RefuseSavedValue(what, Utf8ToUtf16(std::to_string(value)), path, line);
  if (!AdmitValueLine(path, what, u" out of range; row skipped")) return;
  LogFormat(u"WARNING: %s (%lli) out of range in %s at line %i (counting from 1); row skipped", what, value, path,
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

std::int32_t HeldInRange(std::int32_t value, std::int32_t low, std::int32_t high, std::u16string_view what,
                         std::u16string_view path, int line) {
  if (value >= low && value <= high) return value;
  const std::int32_t held = value < low ? low : high;
  LogValueHeld(what, value, held, path, line);
  return held;
}

float HeldInRange(float value, float low, float high, std::u16string_view what, std::u16string_view path,
                  int line) {
  if (value >= low && value <= high) return value;
  const float held = value < low ? low : high;
  LogDecimalHeld(what, value, held, path, line);
  return held;
}

std::int32_t FieldIntHeld(const std::vector<std::u16string>& fields, std::size_t i, std::int32_t low,
                          std::int32_t high, std::u16string_view what, std::u16string_view path, int line) {
  return HeldInRange(FieldInt(fields, i), low, high, what, path, line);
}

}  // namespace tr
