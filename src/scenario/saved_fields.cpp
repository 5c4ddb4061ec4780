#include "scenario/saved_fields.h"

#include <array>
#include <charconv>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/file_read.h"
#include "foundation/format.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "foundation/text_file.h"
#include "ai/ai_memory_file.h"
#include "events/auto_events.h"
#include "scenario/ai_data_file.h"
#include "scenario/air_recon_file.h"
#include "scenario/air_units_file.h"
#include "scenario/airship_attacks_file.h"
#include "scenario/city_info_files.h"
#include "scenario/cities_file.h"
#include "scenario/commanders_file.h"
#include "scenario/countries_file.h"
#include "scenario/flags_file.h"
#include "scenario/fleets_file.h"
#include "scenario/land_units_file.h"
#include "scenario/naval_units_file.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"
#include "scenario/topography_file.h"
#include "scenario/unit_names_file.h"
#include "scenario/unit_state_file.h"
#include "turn/convoy.h"
#include "turn/sea_graph.h"
#include "world/relations.h"

namespace tr {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsCapitalHexDigit(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F'); }

// Bytes Windows-1252 gives no letter, and the control characters: no name
// the game holds has them.
bool IsUnwrittenByte(unsigned char c) {
  return c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

// A field as the log shows it: its start, each byte that is no printable
// letter as \xNN.
std::u16string Shown(std::string_view text) {
  constexpr std::size_t kShownBytes = 40;
  std::u16string shown;
  for (std::size_t i = 0; i < text.size() && i < kShownBytes; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c >= 0x7F) {
      shown += Format(u"\\x%02X", static_cast<int>(c));
    } else {
      shown += static_cast<char16_t>(c);
    }
  }
  if (text.size() > kShownBytes) shown += u"...";
  return shown;
}

std::u16string Number(double value) {
  char text[64];
  const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed).ptr;
  return Utf8ToUtf16(std::string_view(text, static_cast<std::size_t>(end - text)));
}

// What the game writes in the field, as the refusal says it.
std::u16string Written(const sSavedField& field) {
  switch (field.kind) {
    case eSavedKind::kWhole:
      if (field.low <= -kAnyWhole) return u"a whole number";
      return Format(u"a whole number from %s to %s", Number(field.low), Number(field.high));
    case eSavedKind::kDecimal:
      if (field.low <= -kAnyDecimal) return u"a decimal number";
      return Format(u"a decimal number from %s to %s", Number(field.low), Number(field.high));
    case eSavedKind::kText:
      return Format(u"a text of 1 to %s letters, none of them a control character", Number(field.high));
    case eSavedKind::kHex:
      return Format(u"a hexadecimal number in capitals from 0 to %X",
                    static_cast<unsigned>(static_cast<std::uint32_t>(field.high)));
  }
  return {};
}

// Whether the text is a value the game writes in the field; a UTF-16 table's
// text (as UTF-8) may hold any letter but a control character.
bool FieldHolds(const sSavedField& field, std::string_view text, bool utf16) {
  switch (field.kind) {
    case eSavedKind::kWhole: {
      const std::optional<std::int32_t> value = StrictWhole(text);
      return value && *value >= field.low && *value <= field.high;
    }
    case eSavedKind::kDecimal: {
      const std::optional<double> value = StrictDecimal(text);
      return value && *value >= field.low && *value <= field.high;
    }
    case eSavedKind::kText:
      if (text.size() < field.low || text.size() > field.high) return false;
      for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (utf16 ? byte < 0x20 || byte == 0x7F : IsUnwrittenByte(byte)) return false;
      }
      return true;
    case eSavedKind::kHex: {
      const std::optional<std::uint32_t> value = StrictHex(text);
      return value && *value >= field.low && *value <= field.high;
    }
  }
  return false;
}

void CheckField(const sSavedField& field, std::string_view text, bool utf16, std::size_t index,
                std::u16string_view path, int line, tRefuseTable refuse) {
  if (FieldHolds(field, text, utf16)) return;
  const int number = static_cast<int>(index) + 1;
  if (text.empty()) {
    return refuse(path, line, Format(u"has field %i (%s) empty, where the game writes %s", number, field.name,
                                     Written(field)));
  }
  refuse(path, line, Format(u"has \"%s\" in field %i (%s), where the game writes %s", Shown(text), number,
                            field.name, Written(field)));
}

// The lines read so far of each kind, by the text of their key.
class cKeysSeen {
 public:
  void Check(const sSavedLine& kind, const std::vector<std::string_view>& fields, std::string_view section,
             std::u16string_view path, int line, tRefuseTable refuse) {
    if (kind.unique.empty()) return;
    std::string key(section);
    std::u16string names;
    for (const std::size_t i : kind.unique) {
      if (i >= fields.size()) return;  // a line cut short is its reader's to refuse
      key.append(fields[i]);
      key += ';';
      if (!names.empty()) names += u", ";
      names += Format(u"field %i (%s) %s", static_cast<int>(i) + 1, kind.fields[i].name, Shown(fields[i]));
    }
    const auto [first, added] = seen_[&kind].emplace(std::move(key), line);
    if (added) return;
    refuse(path, line, Format(u"repeats the line with %s, first at line %i, where the game writes one line for each",
                              names, first->second));
  }

 private:
  std::unordered_map<const sSavedLine*, std::unordered_map<std::string, int>> seen_;
};

const sSavedLine* KindOf(const sSavedTable& table, std::string_view first) {
  for (const sSavedLine& kind : table.lines) {
    if (kind.key == "*" || kind.key == first) return &kind;
  }
  return nullptr;
}

}  // namespace

std::optional<std::int32_t> StrictWhole(std::string_view text) {
  const std::size_t digits = !text.empty() && text[0] == '-' ? 1 : 0;
  const std::string_view number = text.substr(digits);
  if (number.empty() || number.size() > 10) return std::nullopt;
  for (const char c : number) {
    if (!IsDigit(c)) return std::nullopt;
  }
  // "%i" writes no leading zero and no "-0".
  if (number[0] == '0' && (number.size() > 1 || digits == 1)) return std::nullopt;
  return WholeNumber(text);
}

std::optional<std::uint32_t> StrictHex(std::string_view text) {
  if (text.empty() || text.size() > 8 || (text[0] == '0' && text.size() > 1)) return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : text) {
    if (!IsCapitalHexDigit(c)) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(IsDigit(c) ? c - '0' : c - 'A' + 10);
  }
  return value;
}

std::optional<double> StrictDecimal(std::string_view text) {
  const std::string_view number = !text.empty() && text[0] == '-' ? text.substr(1) : text;
  const std::size_t point = number.find('.');
  const std::string_view whole = number.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view() : number.substr(point + 1);
  if (whole.empty() || (point != std::string_view::npos && fraction.empty())) return std::nullopt;
  for (const std::string_view part : {whole, fraction}) {
    for (const char c : part) {
      if (!IsDigit(c)) return std::nullopt;
    }
  }
  return ParseLeadingDouble(text);
}

void CheckSavedTableText(const sSavedTable& table, std::string_view bytes, std::u16string_view path,
                         tRefuseTable refuse) {
  // A UTF-16 table's letters, as UTF-8; the byte-order mark an editor puts
  // in front is no part of its header, as its reader reads it.
  const std::string letters = table.utf16 ? Utf16ToUtf8(Utf16LeToUtf16(bytes)) : std::string();
  std::string_view text = table.utf16 ? std::string_view(letters) : bytes;
  if (table.utf16 && text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  cKeysSeen keys;
  std::string section;
  bool inPreamble = table.preamble != nullptr;
  for (const sTextLine& line : TextLinesWithFields(text)) {
    if (line.text.empty() || line.text[0] == '#') continue;
    // A line of separators only holds no value, as every reader reads it.
    if (line.text.find_first_not_of(';') == std::string_view::npos) continue;
    std::vector<std::string_view> fields = SplitTokens(line.text, true);
    const sSavedLine* kind = KindOf(table, fields[0]);
    if (inPreamble && kind != &table.lines.front()) kind = table.preamble;
    inPreamble = inPreamble && kind == table.preamble;
    if (kind == nullptr) return refuse(path, line.number, u"has a line that is not the game's");
    const std::size_t declared = kind->fields.size();
    // Separators past the line's values hold none, as its reader passes over
    // them; a declared field left empty stays, for its kind to judge.
    while (!kind->countsEmpty && fields.size() > declared && fields.back().empty()) fields.pop_back();
    // A line cut short is its reader's to refuse, saying so; so is the count
    // of one running on, whose declared fields are checked here.
    if (fields.size() + (kind->repeatLast ? 1 : 0) < declared) continue;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i >= declared && !kind->repeatLast) break;
      CheckField(kind->fields[i < declared ? i : declared - 1], fields[i], table.utf16, i, path, line.number,
                 refuse);
    }
    const bool opens = !table.section.empty() && kind->key == table.section;
    keys.Check(*kind, fields, opens ? std::string_view() : section, path, line.number, refuse);
    if (opens) section = std::string(line.text) + '\n';
  }
}

std::span<const sSavedTable* const> SavedTables() {
  // The files other parts of the load read and check themselves (Info.ini,
  // reports.dat, map.qel) join the list by a declaration beside their writers.
  static const std::array<const sSavedTable*, 22> kTables{
      &kFlagsFields,      &kCitiesFields,         &kCommandersFields,       &kLandUnitsFields,
      &kAirUnitsFields,   &kFleetsFields,         &kNavalUnitsFields,       &kUnitNamesFields,
      &kAirReconFields,   &kUnitStateFields,      &kAiDataFields,           &kRelationsFields,
      &kLossesFields,     &kConvoysFields,        &kAiMemoryFields,         &kAutoEventsFields,
      &kSeaNodesFields,   &kTopographyFields,     &kCountriesFields,        &kAirshipAttacksFields,
      &kCitiesSupplyInfoFields, &kCitiesConvoyInfoFields,
  };
  return kTables;
}

void CheckSavedTables(std::u16string_view folderTemplate) {
  for (const sSavedTable* table : SavedTables()) {
    const std::u16string path = FolderFilePath(folderTemplate, table->file);
    // A file missing or unreadable is its reader's to tell.
    const std::optional<std::string> text =
        table->utf16 ? ReadWholeFile(ResolveGamePath(path)) : ReadTextFile(ResolveGamePath(path));
    if (text) CheckSavedTableText(*table, *text, path);
  }
}

}  // namespace tr
