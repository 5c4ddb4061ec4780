// What the table readers share: their log lines (the Polish ones carry the
// characters they have always carried in the log), opening a table with the
// fatal stop when it is missing, and the conversion of fields.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/csv_reader.h"
#include "world/value_limits.h"

namespace tr {

inline constexpr std::u16string_view kOpenFailedLine = u"Blad otwarcia pliku! (nie istnieje?)";
inline constexpr std::u16string_view kOpenOkLine = u"Otwarcie OK";

inline constexpr std::u16string_view kOpeningLandUnitsLine =
    u"Otwieram plik z jednostkami l\u010f\u017c\u02dddowymi ze \u010f\u017c\u02ddcie\u010f\u017c\u02ddk\u010f\u017c\u02dd...";
inline constexpr std::u16string_view kOpeningAirUnitsLine =
    u"Otwieram plik z jednostkami lotniczymi ze \u010f\u017c\u02ddcie\u010f\u017c\u02ddk\u010f\u017c\u02dd...";
inline constexpr std::u16string_view kOpeningNavalUnitsLine =
    u"Otwieram plik z jednostkami morskimi ze \u010f\u017c\u02ddcie\u010f\u017c\u02ddk\u010f\u017c\u02dd...";
inline constexpr std::u16string_view kOpeningCommandersLine =
    u"Otwieram plik z dow\u010f\u017c\u02dddcami ze \u010f\u017c\u02ddcie\u010f\u017c\u02ddk\u010f\u017c\u02dd...";
inline constexpr std::u16string_view kOpeningUnitNamesLine =
    u"Otwieram plik z szablonami nazw jednostek ze \u010f\u017c\u02ddcie\u010f\u017c\u02ddk\u010f\u017c\u02dd...";
inline constexpr std::u16string_view kOpeningAiDataLine = u"Otwieram plik z danymi AI ze sciezki...";
inline constexpr std::u16string_view kOpeningFlagsLine = u"Otwieram plik flag ze sciezka...";
inline constexpr std::u16string_view kFlagsOpenFailedLine = u"Blad otwarcia pliku (nie istnieje?)";
// "airrecon_units.csv" and "airship_attacks.csv".
inline constexpr std::u16string_view kOpeningFileLine = u"Otwieram plik...";
inline constexpr std::u16string_view kOpeningCitiesLine = u"Otwieram plik z miastami ze sciezka...";
inline constexpr std::u16string_view kOpeningCountriesLine = u"Otwieram plik z panstwami ze sciezka...";

// Logs the string-base text of a key.
void LogReaderText(std::string_view key);

// For a required table that cannot be opened: an ERROR line naming it when it
// is missing or a folder, so the reason a player is shown names the file.
void LogUnopenedTable(std::u16string_view path);
// A required table that cannot be opened: logs kOpenFailedLine and
// LogUnopenedTable's line, tears the running game down and ends the program
// with exit code 1.
[[noreturn]] void FailMissingTable(std::u16string_view path);

// Logs the opening line and the path, reads the table whole, and logs
// kOpenOkLine; a table that cannot be read is fatal.
cCsvReader OpenTable(std::u16string_view opening_line, std::u16string_view path);

// The game writes each table of a saved game (a received play-by-e-mail turn
// too) whole: its '#' header first, then rows of every field. Such a table
// found empty, without its header or with a row cut short was damaged on its
// way (a cut transfer, a full disk), and a game loaded without the rows lost
// would lose them for good at its next save. So the load is refused: logged
// with the file, the line (when there is one, else 0) and what is wrong, and
// ended as fatal. A scenario's tables are written by hand and keep their
// warnings instead.
[[noreturn]] void RefuseDamagedTable(std::u16string_view path, int line, std::u16string_view what);
// Refuses (RefuseDamagedTable) a saved table whose text is empty or does not
// begin with a '#' header line.
void CheckSavedTableStart(std::string_view text, std::u16string_view path);
// The same for a table opened and not read yet; reads its header line.
void CheckSavedTableStart(cCsvReader& reader, std::u16string_view path);
// Reads the next row into reader.fields. A saved row's empty fields are kept,
// so one where a value belongs is refused instead of shifting the rest; the
// empty text after its last ';' is none of them. A scenario's row passes its
// empty fields, as it always has.
void ReadTableRow(cCsvReader& reader, bool savedGame);
// Refuses a saved table whose row at the line has `count` fields of the `fields` a row has.
[[noreturn]] void RefuseShortSavedRow(std::u16string_view path, int line, std::size_t count, std::size_t fields);

// A kind of line of a table read by ReadLaterSavedTable: its first field, and
// the fields a line of it has at least, that one included.
struct sSavedLineKind {
  std::string_view key;
  std::size_t fields;
};

// The bytes of a file of a save that saves hold only since a later version of
// the game (as text: ReadTextFile), or nothing when it is not there and the
// save's list does not name it (an older save). One named and missing, or
// there and unreadable, refuses the load, naming it.
std::optional<std::string> ReadLaterSavedFile(std::u16string_view path, bool asText);

// Reads a table that saves hold only since a later version of the game: logs
// the opening line and the path; without the file logs `missing` and gives
// false (an older save), unless the save's list of files names it. A file
// there that cannot be read refuses the load, naming it. With it, visits each
// line's fields and number: the header is checked (CheckSavedTableStart);
// '#' lines, empty lines and lines of no field (only ';') are passed over;
// empty fields are kept (SplitTokens), so one where a number belongs is
// refused by the reader's SavedWholeField rather than shifting the rest; a
// line without the ';' the game ends every line with was cut, and one whose
// first field is none of the kinds or that has fewer fields than its kind is
// damage: both are refused (RefuseDamagedTable). So a visited line has at
// least its kind's fields.
bool ReadLaterSavedTable(std::u16string_view path, std::u16string_view missing,
                         std::span<const sSavedLineKind> kinds,
                         const std::function<void(const std::vector<std::string_view>& fields, int line)>& visit);

// Field i of a line such a table holds, a whole number; a field missing or not
// a whole number is damage and refused (RefuseDamagedTable).
int SavedWholeField(const std::vector<std::string_view>& fields, std::size_t i, std::u16string_view path, int line);

// A field (numbered from 1) of a line of a saved table, read as strictly as
// the game writes it: a whole number from low to high, or a decimal one from
// low to high (as "%f" or SavedDecimalText write it). Text, a number of the
// other kind or one beyond the range read as some other value, so each is
// damage and refused (RefuseDamagedTable), naming the field and, past the
// range, `what` the game writes there ("0 or 1").
std::int32_t SavedWholeIn(std::string_view text, int field, std::int32_t low, std::int32_t high,
                          std::u16string_view what, std::u16string_view path, int line);
double SavedDecimalIn(std::string_view text, int field, double low, double high, std::u16string_view what,
                      std::u16string_view path, int line);

// While one lives, the table at the path is read as a saved game's (a
// received turn's too): a value its reader would log and go on past (out of
// its range, held at an end, a row left out for it, text in a number column)
// is none the game writes there, and would load as some other value, so it
// refuses the load instead (RefuseDamagedTable), naming the line and the
// value. A scenario's tables are written by hand and read without one.
class cSavedTableScope {
 public:
  cSavedTableScope(std::u16string_view path, bool saved);
  ~cSavedTableScope();
  cSavedTableScope(const cSavedTableScope&) = delete;
  cSavedTableScope& operator=(const cSavedTableScope&) = delete;

 private:
  std::u16string path_;
  const std::u16string* previous_ = nullptr;
  bool saved_ = false;
};
// Whether the table at the path is read as a saved game's now.
bool ReadingSavedTable(std::u16string_view path);

// Field i (from 0) of a row, a switch the game writes as 0 or 1. In a saved
// table anything else is refused as SavedWholeIn refuses it; in a scenario's
// any number but 0 reads as 1.
bool FieldSwitch(const std::vector<std::u16string>& fields, std::size_t i, std::u16string_view path, int line);

// What a column of a table holds.
enum class eColumn : std::uint8_t { kText, kWhole, kDecimal };

// The columns of a row as the format its table's writer writes a row with
// gives them: "%i" and "%d" a whole number, "%f" a decimal one, any other
// conversion text.
std::vector<eColumn> ColumnsOfRow(std::u16string_view rowFormat);

// A number column whose text is not the number it reads as ("0x17" reads as
// 0, "1.4e1" in a whole column as 1, "12 units" as 12) or lies beyond the
// range its value is held in is logged, one line for the row, with the file,
// the line and the column; the value is read as before. In a saved table
// (cSavedTableScope) it is refused instead.
void CheckNumberFields(const std::vector<std::u16string>& fields, const std::vector<eColumn>& columns,
                       std::u16string_view path, int line);
// The same for field i alone.
void CheckNumberField(const std::vector<std::u16string>& fields, std::size_t i, eColumn column,
                      std::u16string_view path, int line);

// Reads the data rows of a table: comments and blank lines are passed over,
// and a row with fewer fields than the table's rows need is logged with the
// file and line and skipped, so a cut or mis-separated file never loses rows
// without a word. A row with more fields (two rows run together on one line)
// is read by its first fields and logged, and so is a number column whose
// text is not a number (CheckNumberFields). A table of a saved game is
// refused instead when it is empty, lacks its header, has a short or a long
// row, or a value its reader would go on past (RefuseDamagedTable,
// cSavedTableScope); its empty fields are kept, so an empty number field is
// refused rather than read as the next one.
class cTableRows {
 public:
  // rowFormat: the row as the table's writer writes it; its conversions are the
  // columns. savedGame: the table is one the game wrote (the loaded-game flag).
  cTableRows(cCsvReader& reader, std::u16string_view rowFormat, std::u16string_view path, bool savedGame = false);
  cTableRows(const cTableRows&) = delete;
  cTableRows& operator=(const cTableRows&) = delete;

  // The next whole row into the reader's fields; false at the end of the
  // file. A table with data rows none of which has its fields is refused
  // there (logged, exit code 1): the file is not the table it stands for. A
  // table of comments only is an empty table.
  bool Next();
  // The line (counting from 1) of the row Next() gave.
  int line() const;
  const std::vector<std::u16string>& fields() const { return reader_.fields; }

 private:
  cCsvReader& reader_;
  std::vector<eColumn> columns_;
  std::u16string path_;
  bool savedGame_ = false;
  cSavedTableScope scope_;
  int whole_ = 0;
  int short_ = 0;
};

// Field i (from 0) of a record, converted the way every table converts.
std::int32_t FieldInt(const std::vector<std::u16string>& fields, std::size_t i);
float FieldFloat(const std::vector<std::u16string>& fields, std::size_t i);
bool FieldFlag(const std::vector<std::u16string>& fields, std::size_t i);

// The fields of a text line the way the runtime's token splitter cuts them:
// runs of ';' separate fields and give no empty ones. With `keepEmpty`, as a
// saved table is read, every field between two ';' is kept, the empty ones
// too: an empty field where the game writes a value is refused there instead
// of shifting every value after it; the empty text after the line's last ';'
// is no field. No more than cCsvReader::kMostFieldsKept are cut, however many
// the line holds.
std::vector<std::string_view> SplitTokens(std::string_view line, bool keepEmpty = false);

// The Log* lines below refuse a saved table's load instead (cSavedTableScope).
// Logs that a value read from a file is out of its range and is ignored.
void LogValueOutOfRange(std::u16string_view what, std::int64_t value, std::u16string_view path, int line);
// The same for a decimal value, logged whole whatever its size.
void LogDecimalOutOfRange(std::u16string_view what, double value, std::u16string_view path, int line);
// Logs that a value read from a file is out of its range and is held at the
// nearest end of it, the value used.
void LogValueHeld(std::u16string_view what, std::int64_t value, std::int64_t held, std::u16string_view path,
                  int line);
void LogDecimalHeld(std::u16string_view what, double value, double held, std::u16string_view path, int line);
// The value held within [low, high]: one beyond an end is logged
// (LogValueHeld) and read as that end.
std::int32_t HeldInRange(std::int32_t value, std::int32_t low, std::int32_t high, std::u16string_view what,
                         std::u16string_view path, int line);
// The same for a decimal, logged with LogDecimalHeld; one beyond a float's
// range (read as infinite) is held at the nearest end too.
float HeldInRange(float value, float low, float high, std::u16string_view what, std::u16string_view path, int line);
// Logs that a row is left out because a value of it is out of its range.
void LogRowOutOfRange(std::u16string_view what, std::int64_t value, std::u16string_view path, int line);

// Field i when it lies in [low, high]; otherwise logged with the file and
// line (LogValueOutOfRange) and `fallback`.
std::int32_t FieldIntIn(const std::vector<std::u16string>& fields, std::size_t i, std::int32_t low,
                        std::int32_t high, std::int32_t fallback, std::u16string_view what, std::u16string_view path,
                        int line);
// Field i held within [low, high]: a value beyond an end is logged
// (LogValueHeld) and read as that end.
std::int32_t FieldIntHeld(const std::vector<std::u16string>& fields, std::size_t i, std::int32_t low,
                          std::int32_t high, std::u16string_view what, std::u16string_view path, int line);

}  // namespace tr
