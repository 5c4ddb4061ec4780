#include "scenario/airship_attacks_file.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/log_bound.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "scenario/saved_fields.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"
#include "scenario/table_writer.h"
#include "world/file_io.h"
#include "world/gra.h"
#include "world/hex.h"

namespace tr {
namespace {

// No game waits with nearly this many reports; a stranger's file of a
// million lines would hold each in a list node of its own.
constexpr std::size_t kMostReports = 4096;

// A report as the scenario gave it, its control characters and ';' made
// blanks and ',' (SanitizeFieldText): no longer than the file. A country may
// wait for two alike, so no field names a line.
constexpr sSavedField kReportFields[] = {SavedWhole(u"Defender country ID", 1, kMaxCountryNumber),
                                         SavedText(u"Report", kNameBytes)};
constexpr sSavedLine kReportLines[] = {{.fields = kReportFields}};

}  // namespace

const sSavedTable kAirshipAttacksFields{.file = u"airship_attacks.csv", .lines = kReportLines, .utf16 = true};

void LoadAirshipAttacks(cGame& game, std::u16string_view folder_template) {
  const std::u16string path = FolderFilePath(folder_template, u"airship_attacks.csv");
  LogLine(kOpeningFileLine);
  LogLine(path);
  for (const auto& country : game.countries) country->airshipAttackReports.clear();
  // A scenario may go without reports, and so may a save from before they were kept.
  const bool saved = game.loadedGame == 1;
  const std::optional<std::string> bytes = saved ? ReadLaterSavedFile(path, false) : ReadWholeFile(ResolveGamePath(path));
  if (!bytes) {
    LogLine(u"Nie uda?o si? otworzy? pliku - mo?e nie istnie? (zadnych raportow do wyswietlenia)");
    return;
  }
  LogLine(kOpenOkLine);
  const std::u16string decoded = Utf16LeToUtf16(*bytes);
  std::u16string_view text = decoded;
  // The UTF-16 byte-order mark an editor puts in front is no part of the first line.
  if (text.starts_with(u'\uFEFF')) {
    text.remove_prefix(1);
    LogFormat(u"NOTE: %s starts with a byte-order mark; the mark is skipped", path);
  }
  // The game writes its header, then "country;report;" lines.
  if (saved && text.empty()) RefuseDamagedTable(path, 0, u"is empty");
  if (saved && text.front() != u'#') RefuseDamagedTable(path, 1, u"does not begin with the table's '#' header line");
  int lineNumber = 0;
  std::size_t reports = 0;
  // A line of only separators holds no report, as in every table.
  for (const sTextLineOf<char16_t> walked : TextLinesWithFields(text)) {
    const std::u16string_view line = walked.text;
    lineNumber = walked.number;
    if (line[0] == u'#') continue;
    // A saved line of separators only holds no report to refuse.
    if (saved && line.find_first_not_of(u';') == std::u16string_view::npos) continue;
    // Only the country and the report are read, so the line is not cut at every ';' it holds.
    const std::size_t first = line.find(u';');
    if (saved && (line.back() != u';' || first == std::u16string_view::npos)) {
      RefuseDamagedTable(path, lineNumber, u"has a line cut short");
    }
    if (first == std::u16string_view::npos) continue;
    const std::size_t second = line.find(u';', first + 1);
    // The game writes "country;report;": a field after the report would be left out.
    if (saved && second != std::u16string_view::npos && line.find_first_not_of(u';', second) != std::u16string_view::npos) {
      RefuseDamagedTable(path, lineNumber, u"has more than the 2 fields of a line");
    }
    const std::array<std::u16string_view, 2> fields = {
        line.substr(0, first),
        line.substr(first + 1, second == std::u16string_view::npos ? second : second - first - 1)};
    if (reports == kMostReports) {
      if (saved) {
        RefuseDamagedTable(path, lineNumber,
                           Format(u"has a report past the %i the game keeps", static_cast<int>(kMostReports)));
      }
      LogFormat(u"WARNING: %s holds more than the %i reports the game keeps; those from line %i (counting from 1) "
                u"on are left out",
                path, static_cast<int>(kMostReports), lineNumber);
      break;
    }
    const std::optional<int> id = WholeNumber(fields[0]);
    if (!id || *id < 1 || *id > game.CountryCount()) {
      if (saved) RefuseDamagedTable(path, lineNumber, u"names in field 1 no country the save holds");
      LogAboutFile(path,
                   u"WARNING: bad country in %s at line %i (counting from 1); ignored",
                   path, lineNumber);
      continue;
    }
    game.countries[*id - 1]->airshipAttackReports.emplace_back(fields[1]);
    ++reports;
  }
}

bool WriteAirshipAttacks(const cGame& game, std::u16string_view folder) {
  cTableWriter writer(SaveFilePath(folder, u"airship_attacks.csv"), cTableWriter::Mode::kBinary);
  if (!writer.ok()) return false;
  std::u16string text = u"#Defender country ID;report";
  for (const auto& country : game.countries) {
    for (const std::u16string& report : country->airshipAttackReports) {
      text += Format(u"\n%i;%s;", country->id, SanitizeFieldText(report));
    }
  }
  writer.WriteBytes(Utf16ToUtf16Le(text));
  return writer.Commit();
}

}  // namespace tr
