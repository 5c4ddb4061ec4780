// What the game writes in each field of the tables a save carries: one kind
// (a whole number, a decimal, a text) and the range of values its writer
// gives, declared beside the writer, and the fields that together name one
// object or line, declared unique. A save's tables are checked against their
// declarations row by row before anything is built from them, so a value the
// game never writes there (text in a number, "5abc", a leading blank, a
// number past its range, a second line for one key) refuses the load,
// naming the file, the line and the field, instead of reading as some other
// value. A scenario's tables are written by hand and keep their readers'
// repairs and warnings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "scenario/table_reader.h"

namespace tr {

// kHex: a whole number as "%X" writes it (a colour).
enum class eSavedKind : std::uint8_t { kWhole, kDecimal, kText, kHex };

struct sSavedField {
  std::u16string_view name;
  eSavedKind kind = eSavedKind::kWhole;
  // The values written, both ends included (a text's length in bytes).
  double low = 0;
  double high = 0;
};

inline constexpr double kAnyWhole = 2147483647.0;
// A decimal the game keeps as a scenario gives it: any a float holds.
inline constexpr double kAnyDecimal = 3.4028234663852886e38;
// A hex of the map: its sides are written in 16 bits, so its last column or
// row is at most this.
inline constexpr double kMaxHexCoordinate = 65534;
// A sea node: a hex names its node in 16 bits, and the sea nodes' table's
// budget holds far fewer nodes, numbered from 1 in file order.
inline constexpr double kMaxSeaNodeNumber = 65535;

constexpr sSavedField SavedWhole(std::u16string_view name, double low, double high) {
  return {name, eSavedKind::kWhole, low, high};
}
// A whole number of the 32-bit range: a value a scenario's own file gives
// and the game keeps as it is.
constexpr sSavedField SavedAnyWhole(std::u16string_view name) {
  return {name, eSavedKind::kWhole, -kAnyWhole - 1, kAnyWhole};
}
constexpr sSavedField SavedSwitch(std::u16string_view name) { return {name, eSavedKind::kWhole, 0, 1}; }
constexpr sSavedField SavedDecimal(std::u16string_view name, double low, double high) {
  return {name, eSavedKind::kDecimal, low, high};
}
// A whole number in capital hexadecimal digits, as "%X" writes it.
constexpr sSavedField SavedHex(std::u16string_view name, double high) { return {name, eSavedKind::kHex, 0, high}; }
// A name or text: never empty, no control character, no ';', at most `most` bytes.
constexpr sSavedField SavedText(std::u16string_view name, double most) { return {name, eSavedKind::kText, 1, most}; }
// The same where the game may write nothing (a cell left to its default).
constexpr sSavedField SavedTextOrEmpty(std::u16string_view name, double most) {
  return {name, eSavedKind::kText, 0, most};
}
// The bytes a name of a unit, a fleet or a commander may take: those of the
// line it stands on (a bought unit's is its number and its type's name,
// whatever that holds).
inline constexpr double kNameBytes = 1 << 20;

// One kind of line of a table: the text of its first field ("*": any, so
// every data line no kind before it takes), its fields (the first one included), and which of them
// together name one object or line, so that no two lines of the kind may
// hold the same values there. With `repeatLast`, the last field declared
// stands for every field after it too (a list as long as the game needs,
// none included).
struct sSavedLine {
  std::string_view key = "*";
  std::span<const sSavedField> fields;
  std::span<const std::size_t> unique = {};
  bool repeatLast = false;
  // Its reader takes every field of the list for a value, an empty one past
  // the last too; other readers pass over empty fields past a line's values.
  bool countsEmpty = false;
};

// A table of a save: its file name and its kinds of line. A line of a keyed
// table whose first field is none of its kinds is refused.
// With a `section`, the kind of line that opens one (a country's block):
// the other kinds' keys are unique within each section only.
// With a `preamble`, the lines before the first line of the first kind are
// of that kind whatever their first field (lines its reader passes over).
// With `utf16`, the file is UTF-16 (little-endian) text, checked as its
// letters: a text field may hold any letter but a control character.
struct sSavedTable {
  std::u16string_view file;
  std::span<const sSavedLine> lines;
  std::string_view section = {};
  bool utf16 = false;
  const sSavedLine* preamble = nullptr;
};

// The whole number the text holds as "%i" writes it: an optional '-' and
// digits, no blank, no '+', no leading zero, no "-0", within 32 bits.
std::optional<std::int32_t> StrictWhole(std::string_view text);
// The decimal the text holds as "%f" or SavedDecimalText writes it: an
// optional '-', digits and one '.' with digits after it; none otherwise.
std::optional<double> StrictDecimal(std::string_view text);

// The whole number the text holds as "%X" writes it: 1 to 8 digits and
// capital letters, no leading zero.
std::optional<std::uint32_t> StrictHex(std::string_view text);

// Checks the table's text (its bytes as the file holds them) against its declaration, every data line of it:
// refuses the load (RefuseDamagedTable) at the first field outside it or the
// first repeated key. A line with fewer fields than its kind is left to the
// table's own reader, which refuses it as cut short; of a line with more,
// the fields declared are checked and its count is left to the reader.
// A declared field left empty is its kind's to judge, wherever it stands.
// `refuse` words the refusal: a save's by default.
using tRefuseTable = void (*)(std::u16string_view path, int line, std::u16string_view what);
void CheckSavedTableText(const sSavedTable& table, std::string_view text, std::u16string_view path,
                         tRefuseTable refuse = RefuseDamagedTable);

// The tables of a save that are declared, for the load and for the tests
// that sweep them.
std::span<const sSavedTable* const> SavedTables();

// Checks each declared table of the save whose files the folder template
// names (as the readers open them) that is there; one missing is left to
// its reader.
void CheckSavedTables(std::u16string_view folderTemplate);

}  // namespace tr
