// "relations.csv" and "losses.csv": one row per country, the country number,
// its name, then one value per country.
#include <algorithm>
#include <cstdint>
#include <optional>

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/log_bound.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "scenario/saved_fields.h"
#include "scenario/table_reader.h"
#include "scenario/table_writer.h"
#include "world/file_io.h"
#include "world/folder_path.h"
#include "world/gra.h"
#include "world/relations.h"
#include "world/value_limits.h"

namespace tr {
namespace {

// Reads one matrix file: row(a, fields, line) for every data row of a valid
// country number. savedFields: 0 for a scenario's file; for a saved game's,
// the fields of a whole row, whose values none may be empty.
template <typename Row>
void ReadMatrixFile(std::u16string_view folderTemplate, std::u16string_view fileName,
                    std::u16string_view openingLine, int countryCount, std::size_t savedFields, Row row) {
  const std::u16string path = FolderFilePath(folderTemplate, fileName);
  LogLine(openingLine);
  LogLine(path);
  const std::optional<std::string> file = ReadTextFile(ResolveGamePath(path));
  if (!file) FailMissingTable(path);
  LogLine(u"Otwarcie OK");
  if (savedFields > 0) CheckSavedTableStart(*file, path);
  // The line of each country's row, 0 while it has none.
  std::vector<int> rowSeen(static_cast<std::size_t>(std::max(countryCount, 0)) + 1, 0);
  int lineNo = 0;
  for (const sTextLine& line : NonEmptyTextLines(*file)) {
    lineNo = line.number;
    // The length counts the line end, so "1;" alone at the end of the file is skipped.
    const std::size_t length = line.text.size() + (line.ended ? 1 : 0);
    if (length <= 2 || line.text.front() == '#') continue;
    std::vector<std::string_view> fields;
    std::string_view rest = line.text;
    // No row needs more; a stranger's line of millions would take gigabytes.
    while (fields.size() < cCsvReader::kMostFieldsKept) {
      const std::size_t semicolon = rest.find(';');
      fields.push_back(rest.substr(0, semicolon));
      if (semicolon == std::string_view::npos) break;
      rest.remove_prefix(semicolon + 1);
    }
    const int a = ParseLeadingInt(fields[0]);
    if (a < 1 || a > countryCount) {
      LogLine(Format(u"Error in file %lS line no. %i", path, lineNo));
      LogLine(GetText("wrong_country_id"));
      // In a saved game the countries' table is as likely the cut one.
      if (savedFields > 0 && a > countryCount) {
        LogFormat(u"ERROR: %s at line %i (counting from 1) has a row for country %i, but %s holds %i countries (cut "
                  u"short?); the game is not loaded",
                  path, lineNo, a, FolderFilePath(folderTemplate, u"countries.csv"), countryCount);
      }
      FatalExit(1);
    }
    if (savedFields > 0) {
      int values = 0;
      for (std::size_t i = 2; i < fields.size() && i < static_cast<std::size_t>(countryCount) + 2; ++i) {
        values += fields[i].empty() ? 0 : 1;
      }
      if (fields.size() < savedFields || values < countryCount) {
        RefuseDamagedTable(path, lineNo,
                           Format(u"has %i of the %i values of a row (cut short?)", values, countryCount));
      }
      // Values past a row's would be left out without a word; empty fields
      // after them (a losses row ends with a ';') hold none.
      std::size_t written = fields.size();
      while (written > 0 && fields[written - 1].empty()) --written;
      // As in a row past the countries, the countries' table is as likely the cut one.
      if (written > static_cast<std::size_t>(countryCount) + 2) {
        LogFormat(u"ERROR: %s at line %i (counting from 1) has %i values in a row, but %s holds %i countries (cut "
                  u"short?); the game is not loaded",
                  path, lineNo, static_cast<int>(written) - 2, FolderFilePath(folderTemplate, u"countries.csv"),
                  countryCount);
        FatalExit(1);
      }
    }
    rowSeen[static_cast<std::size_t>(a)] = lineNo;
    row(a, fields, lineNo);
  }
  // The game writes a row for every country.
  for (int a = 1; savedFields > 0 && a <= countryCount; ++a) {
    if (rowSeen[static_cast<std::size_t>(a)] == 0) {
      RefuseDamagedTable(path, 0, Format(u"has no row for country %i (cut short?)", a));
    }
  }
}

// War is declared and ended in both directions at once; a file that says
// otherwise was not written by the game, and war wins, since peace between
// two sides that fight each other is what the rules cannot hold.
void MakeWarsMutual(cRelations& relations, const std::u16string& path, const std::vector<int>& lines, bool saved) {
  for (int a = 1; a <= relations.count; ++a) {
    for (int b = a + 1; b <= relations.count; ++b) {
      const bool ab = relations.IsAtWar(a, b);
      if (ab == relations.IsAtWar(b, a)) continue;
      const int atPeace = ab ? b : a;
      const int atWar = ab ? a : b;
      const int line = lines[static_cast<std::size_t>(atPeace)];
      // The game writes every war both ways.
      if (saved) {
        RefuseDamagedTable(path, line, Format(u"has country %i at peace with country %i, which is at war with it",
                                              atPeace, atWar));
      }
      const std::u16string where = line > 0 ? Format(u" (its row at line %i, counting from 1)", line) : u"";
      LogFormat(u"WARNING: %s: country %i is at war with country %i, but country %i is at peace with country %i%s; "
                u"both are now at war",
                path, atWar, atPeace, atPeace, atWar, where);
      relations.SetWar(atPeace, atWar, true);
    }
  }
}

}  // namespace

void cRelations::LoadRelationsAndLosses(std::u16string_view folderTemplate, int countryCount, bool savedGame) {
  Reset(countryCount);
  const std::u16string path = FolderFilePath(folderTemplate, u"relations.csv");
  // The line of each country's row, 0 while it has none.
  std::vector<int> rowLines(static_cast<std::size_t>(std::max(count, 0)) + 1, 0);
  // A relations row holds the number, the name and a value per country; a
  // losses row ends each value with ';', so a whole one has a field more.
  const std::size_t rowFields = static_cast<std::size_t>(std::max(count, 0)) + 2;
  ReadMatrixFile(folderTemplate, u"relations.csv", u"Otwieram plik z relacjami ze sciezki...", count,
                 savedGame ? rowFields : 0,
                 [this, &rowLines, &path](int a, const std::vector<std::string_view>& fields, int line) {
                   rowLines[static_cast<std::size_t>(a)] = line;
                   // A row cut short, or written with another separator, leaves countries at peace.
                   if (static_cast<int>(fields.size()) < count + 2) {
                     LogAboutFile(path,
                                  u"WARNING: row of country %i in %s at line %i (counting from 1) has %i values of "
                                  u"%i; the countries without one are at peace with it",
                                  a, path, line, std::max(static_cast<int>(fields.size()) - 2, 0), count);
                   }
                   for (int b = 1; b <= count && b + 1 < static_cast<int>(fields.size()); ++b) {
                     sRelationCell& cell = cells[(a - 1) * count + (b - 1)];
                     cell.atWar = ParseLeadingInt(fields[b + 1]) != 0 ? 1 : 0;
                     cell.losses = 0.0f;
                   }
                 });
  // The game writes a row for every country; with none, every war of the
  // game would be lost without a trace.
  if (count > 1 && std::all_of(rowLines.begin(), rowLines.end(), [](int line) { return line == 0; })) {
    LogFormat(u"ERROR: %s holds no row of relations between the %i countries; the game is not loaded", path, count);
    ExitDestroyingGame(1);
  }
  for (int a = 1; a <= count; ++a) {
    if (rowLines[static_cast<std::size_t>(a)] != 0) continue;
    LogFormat(u"WARNING: %s has no row for country %i; it is at war only with the countries at war with it", path,
              a);
  }
  MakeWarsMutual(*this, path, rowLines, savedGame);
  const std::u16string lossesPath = FolderFilePath(folderTemplate, u"losses.csv");
  ReadMatrixFile(folderTemplate, u"losses.csv", u"Otwieram plik ze stratami ze sciezki...", count,
                 savedGame ? rowFields + 1 : 0,
                 [this, &lossesPath](int a, const std::vector<std::string_view>& fields, int line) {
                   for (int b = 1; b <= count && b + 1 < static_cast<int>(fields.size()); ++b) {
                     // A scenario's value past the limit is held, with a word; a
                     // save's was refused as its fields were checked (kLossesFields).
                     const double read = ParseLeadingDouble(fields[b + 1]);
                     const double held = std::clamp(read, -double{kMaxLosses}, double{kMaxLosses});
                     if (held != read) {
                       LogFormat(u"WARNING: losses of country %i against country %i (%s) out of range in %s at line "
                                 u"%i (counting from 1); held at %s",
                                 a, b, SavedDecimalText(read), lossesPath, line,
                                 SavedDecimalText(held));
                     }
                     cells[(a - 1) * count + (b - 1)].losses = static_cast<float>(held);
                   }
                 });
}

namespace {

// Writes one save table; false (logged) when it cannot be written.
bool WriteSaveFile(std::u16string_view folder, std::u16string_view fileName, const std::u16string& text) {
  cTableWriter out(Format(u"%s\\%s", folder, fileName), cTableWriter::Mode::kBinary);
  out.Write(text);
  return out.Commit();
}

// A name in a row must not shift the columns after it.
std::u16string RowName(const cCountry& country) { return SanitizeFieldText(CutName(country.name)); }

// A row of either file: the country's number, its name (an earlier release
// wrote it as the countries' table gave it, empty too), then one value per
// country: 0 for peace and 1 for war, or the losses dealt it, which the
// relations hold within kMaxLosses either way.
constexpr sSavedField kRelationsRow[] = {SavedWhole(u"Country ID", 1, kMaxCountryNumber),
                                         SavedTextOrEmpty(u"Country name", kNameBytes), SavedSwitch(u"At war")};
constexpr sSavedField kLossesRow[] = {SavedWhole(u"Country ID", 1, kMaxCountryNumber),
                                      SavedTextOrEmpty(u"Country name", kNameBytes),
                                      SavedDecimal(u"Losses dealt", -kMaxLosses, kMaxLosses)};
constexpr std::size_t kCountryKey[] = {0};
constexpr sSavedLine kRelationsLines[] = {{.fields = kRelationsRow, .unique = kCountryKey, .repeatLast = true}};
constexpr sSavedLine kLossesLines[] = {{.fields = kLossesRow, .unique = kCountryKey, .repeatLast = true}};

}  // namespace

const sSavedTable kRelationsFields{u"relations.csv", kRelationsLines};
const sSavedTable kLossesFields{u"losses.csv", kLossesLines};

bool WriteRelations(const cGame& game, std::u16string_view folder) {
  std::u16string text =
      u"#Relations matrix [0=peace, 1=war]\r\n"
      u"#Country ID;Country Name;Relations with all countries [0=peace, 1=war]";
  const int n = game.CountryCount();
  for (const auto& country : game.countries) {
    text += Format(u"\r\n%i;%s", country->id, RowName(*country));
    for (int b = 1; b <= n; ++b) text += Format(u";%i", game.relations.IsAtWar(country->id, b) ? 1 : 0);
  }
  return WriteSaveFile(folder, u"relations.csv", text);
}

bool WriteLosses(const cGame& game, std::u16string_view folder) {
  std::u16string text =
      u"#Losses matrix:\r\n"
      u"#Country ID;Country Name;Casualties dealt against all countries";
  const int n = game.CountryCount();
  for (const auto& country : game.countries) {
    text += Format(u"\r\n%i;%s;", country->id, RowName(*country));
    for (int b = 1; b <= n; ++b) text += Format(u"%s;", SavedDecimalText(game.relations.GetLosses(country->id, b)));
  }
  return WriteSaveFile(folder, u"losses.csv", text);
}

}  // namespace tr
