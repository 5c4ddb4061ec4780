#include "events/auto_events.h"

#include <algorithm>
#include <string>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/log_bound.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"
#include "scenario/table_writer.h"
#include "world/file_io.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr std::u16string_view kFileName = u"auto_events.csv";

// The fields of a line cut at every ';'; empty fields at the end (a trailing
// ';') are dropped, inner ones stay and read as 0.
std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t pos = 0;
  bool more = true;
  // No line of the file needs more; a stranger's line of millions would take gigabytes.
  while (more && fields.size() < cCsvReader::kMostFieldsKept) {
    const std::size_t end = line.find(';', pos);
    more = end != std::string_view::npos;
    fields.push_back(line.substr(pos, more ? end - pos : std::string_view::npos));
    pos = more ? end + 1 : line.size();
  }
  // Text past them still makes a line of too many fields, never an empty one.
  const bool droppedText = more && line.substr(pos).find_first_not_of("; \t") != std::string_view::npos;
  while (!droppedText && !fields.empty() && fields.back().find_first_not_of(" \t") == std::string_view::npos) {
    fields.pop_back();
  }
  return fields;
}

}  // namespace

bool cAutoEventsRepository::AddIfNew(std::int32_t eventId, std::int32_t optionId) {
  if (FindPair(eventId)) return false;
  pairs.emplace_back(eventId, optionId);
  return true;
}

const cAutoEventsRepository::Pair* cAutoEventsRepository::FindPair(std::int32_t eventId) const {
  const auto it = std::find_if(pairs.begin(), pairs.end(), [&](const Pair& pair) { return pair.first == eventId; });
  return it == pairs.end() ? nullptr : &*it;
}

bool cAutoEventsRepository::Save(std::u16string_view folder) const {
  const std::u16string path = SaveFilePath(folder, kFileName);
  LogLine(GetText("opening_file_for_writing..."));
  LogLine(path);
  cReplacingFile file(ResolveGamePath(path));
  if (!file.IsOpen()) {
    LogLine(GetText("error_opening_file_for_writing"));
    return false;
  }
  LogLine(GetText("file_opened_ok"));
  std::string bytes;
  for (const Pair& pair : pairs) bytes += std::to_string(pair.first) + ';' + std::to_string(pair.second) + "\r\n";
  if (!FitsLoadBudget(path, bytes.size())) return false;
  file.Write(bytes);
  if (!file.Commit()) {
    LogLine(u"Error writing file " + path);
    return false;
  }
  return true;
}

void cAutoEventsRepository::Load(std::u16string_view folderTemplate,
                                 const std::function<bool(std::int32_t)>& isEvent, bool savedGame) {
  const std::u16string path = FolderFilePath(folderTemplate, kFileName);
  LogLine(path);
  const std::optional<std::string> bytes = ReadTextFile(ResolveGamePath(path));
  if (!bytes) FailMissingTable(path);
  LogLine(kOpenOkLine);
  pairs.clear();
  int lineNo = 0;
  std::int64_t emptyLines = 0;
  for (const sTextLine line : SplitTextLines(*bytes)) {
    ++lineNo;
    if (!line.text.empty() && line.text[0] == '#') continue;
    const std::vector<std::string_view> fields = SplitFields(line.text);
    if (savedGame && !line.text.empty() && (!line.ended || fields.size() < 2 || fields[1].empty())) {
      RefuseDamagedTable(path, lineNo, u"has a line cut short");
    }
    if (fields.empty()) {
      // A stranger's file of millions of empty lines is not written out to
      // the log line by line.
      if (++emptyLines <= kLinesPerCause) LogLine(GetText("empty_line..."));
      continue;
    }
    if (fields.size() > 2) {
      LogLine(Format(GetText("error:_cannot_handle_word_from_column_%i_for_auto_events_repository."), 3));
      ExitDestroyingGame(1);
    }
    // A saved pair is two whole numbers: "abc" would read as 0, "5abc" as 5.
    if (savedGame) {
      SavedWholeIn(fields[0], 1, INT32_MIN, INT32_MAX, {}, path, lineNo);
      SavedWholeIn(fields[1], 2, INT32_MIN, INT32_MAX, {}, path, lineNo);
    }
    const std::int32_t eventId = ParseLeadingInt(fields[0]);
    std::int32_t optionId = kNoFavouredOption;
    if (fields.size() == 2) {
      optionId = ParseLeadingInt(fields[1]);
    } else {
      LogFormat(u"WARNING: Automatic event %i in %s has no option ID; recorded with none (%i)", eventId, path,
                optionId);
    }
    if (isEvent && !isEvent(eventId)) {
      LogAboutFile(path,
                   u"WARNING: %s at line %i (counting from 1) names event %i, which the scenario does not have; left "
                   u"out",
                   path, lineNo, eventId);
      continue;
    }
    pairs.emplace_back(eventId, optionId);
  }
  if (emptyLines > kLinesPerCause) {
    LogFormat(u"(%s more empty lines of %s are not logged)", Utf8ToUtf16(std::to_string(emptyLines - kLinesPerCause)),
              path);
  }
  // The reads stop at the end of the file with one failed read when the file
  // is empty or its last line is ended.
  if (bytes->empty() || bytes->ends_with('\r') || bytes->ends_with('\n')) LogLine(GetText("empty_line..."));
}

}  // namespace tr
