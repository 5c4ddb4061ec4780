#include "scenario/flags_file.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "scenario/saved_fields.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"
#include "world/file_io.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr sSavedField kFlagFields[] = {SavedWhole(u"Flag number", 0, kGameFlagCount - 1), SavedAnyWhole(u"Flag value")};
constexpr std::size_t kFlagKey[] = {0};
constexpr sSavedLine kFlagLines[] = {{.fields = kFlagFields, .unique = kFlagKey}};

}  // namespace

const sSavedTable kFlagsFields{u"flags.txt", kFlagLines};

void LoadFlags(cGame& game, std::u16string_view folder_template) {
  const std::u16string path = FolderFilePath(folder_template, u"flags.txt");
  LogLine(kOpeningFlagsLine);
  LogLine(path);
  const std::optional<std::string> bytes = ReadTextFile(ResolveGamePath(path));
  if (!bytes) {
    LogLine(kFlagsOpenFailedLine);
    LogUnopenedTable(path);
    FatalExit(1);
  }
  LogLine(kOpenOkLine);
  std::fill(game.flags.begin(), game.flags.end(), 0);
  // The game writes its header and "number;value;" lines, each with its line end.
  const bool saved = game.loadedGame == 1;
  const cSavedTableScope scope(path, saved);
  if (saved) CheckSavedTableStart(*bytes, path);
  int lineNumber = 0;
  for (const sTextLine& line : NonEmptyTextLines(*bytes)) {
    lineNumber = line.number;
    const std::string_view text = line.text;
    if (saved && !text.empty() &&
        (!line.ended || (text[0] != '#' && (text.back() != ';' || SplitTokens(text).size() < 2)))) {
      RefuseDamagedTable(path, lineNumber, u"has a line cut short");
    }
    if (text.empty() || text[0] == '#') continue;
    const std::size_t semicolon = text.find(';');
    if (saved) {
      // The game writes a flag's number and value as whole numbers: text
      // would read as 0 or as the digits before it.
      SavedWholeIn(text.substr(0, semicolon), 1, INT32_MIN, INT32_MAX, {}, path, lineNumber);
      SavedWholeIn(text.substr(semicolon + 1, text.find(';', semicolon + 1) - semicolon - 1), 2, INT32_MIN,
                   INT32_MAX, {}, path, lineNumber);
      const std::size_t fields = SplitTokens(text, true).size();
      if (fields > 2) {
        RefuseDamagedTable(path, lineNumber, Format(u"has %i fields, more than the 2 of a line", static_cast<int>(fields)));
      }
    }
    if (semicolon == std::string_view::npos || semicolon == 0 || semicolon + 1 == text.size()) continue;
    const std::int32_t number = ParseLeadingInt(text.substr(0, semicolon));
    if (number < 0 || number >= kGameFlagCount) {
      LogValueOutOfRange(u"Flag number", number, path, lineNumber);
      continue;
    }
    game.flags[number] = ParseLeadingInt(text.substr(semicolon + 1));
  }
}

bool WriteFlags(const cGame& game, std::u16string_view folder) {
  const std::u16string path = SaveFilePath(folder, u"flags.txt");
  LogLine(u"Opening file for writing...");
  LogLine(path);
  cReplacingFile file(ResolveGamePath(path));
  if (!file.IsOpen()) {
    LogLine(kFlagsOpenFailedLine);
    return false;
  }
  LogLine(kOpenOkLine);
  std::string text = "# flag no;flag value\r\n";
  for (int number = 0; number < static_cast<int>(game.flags.size()); ++number) {
    if (game.flags[number] != 0) text += Utf16ToCodePage(Format(u"%i;%i;\r\n", number, game.flags[number]));
  }
  file.Write(text);
  if (file.Commit()) return true;
  LogLine(kFlagsOpenFailedLine);
  return false;
}

}  // namespace tr
