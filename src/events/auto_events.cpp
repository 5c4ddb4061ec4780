#include "events/auto_events.h"

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/log_bound.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "events/event_model.h"
#include "scenario/saved_fields.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"
#include "scenario/table_writer.h"
#include "world/file_io.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr std::u16string_view kFileName = u"auto_events.csv";

// A line for each event of the scenario, its number as the events file gives
// it (one below 0 too, which no rule reads), and the option it favours.
constexpr sSavedField kPairFields[] = {SavedWhole(u"Event ID", -kAnyWhole - 1, kMaxEventId),
                                       SavedAnyWhole(u"Favoured option ID")};
constexpr std::size_t kEventKey[] = {0};
constexpr sSavedLine kPairLines[] = {{.fields = kPairFields, .unique = kEventKey}};

// The fields of a line cut at every ';'; empty fields at the end (a trailing
// ';') are dropped, inner ones stay and read as 0. Into `fields`, whose room
// the lines share.
void SplitFields(std::string_view line, std::vector<std::string_view>& fields) {
  fields.clear();
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
}

}  // namespace

const sSavedTable kAutoEventsFields{kFileName, kPairLines};

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
  std::vector<std::string_view> fields;
  // A stranger's file of millions of empty lines is not written out to the
  // log line by line.
  const auto passEmpty = [&emptyLines](std::int64_t count) {
    for (std::int64_t i = emptyLines; i < std::min(kLinesPerCause, emptyLines + count); ++i) {
      LogLine(GetText("empty_line..."));
    }
    emptyLines += count;
  };
  std::size_t lastEnd = 0;  // where the last line that is not empty ends
  for (const sTextLine line : NonEmptyTextLines(*bytes)) {
    passEmpty(line.number - lineNo - 1);
    lineNo = line.number;
    lastEnd = static_cast<std::size_t>(line.text.data() - bytes->data()) + line.text.size();
    if (!line.text.empty() && line.text[0] == '#') continue;
    SplitFields(line.text, fields);
    if (savedGame && !line.text.empty() && (!line.ended || fields.size() < 2 || fields[1].empty())) {
      RefuseDamagedTable(path, lineNo, u"has a line cut short");
    }
    if (fields.empty()) {
      passEmpty(1);
      continue;
    }
    if (fields.size() > 2) {
      LogLine(Format(GetText("error:_cannot_handle_word_from_column_%i_for_auto_events_repository."), 3));
      ExitDestroyingGame(1);
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
      // The game records only the events its scenario has.
      if (savedGame) {
        RefuseDamagedTable(path, lineNo, Format(u"names event %i, which the scenario does not have", eventId));
      }
      LogAboutFile(path,
                   u"WARNING: %s at line %i (counting from 1) names event %i, which the scenario does not have; left "
                   u"out",
                   path, lineNo, eventId);
      continue;
    }
    pairs.emplace_back(eventId, optionId);
  }
  // The empty lines after the last one that is not: all but the line end of that one.
  std::uint64_t lineEnds = 0;
  SkipLineEnds(*bytes, lastEnd, lineEnds);
  passEmpty(static_cast<std::int64_t>(lineEnds) - (lineNo > 0 && lineEnds > 0 ? 1 : 0));
  if (emptyLines > kLinesPerCause) {
    LogFormat(u"(%s more empty lines of %s are not logged)", Utf8ToUtf16(std::to_string(emptyLines - kLinesPerCause)),
              path);
  }
  // The reads stop at the end of the file with one failed read when the file
  // is empty or its last line is ended.
  if (bytes->empty() || bytes->ends_with('\r') || bytes->ends_with('\n')) LogLine(GetText("empty_line..."));
}

}  // namespace tr
