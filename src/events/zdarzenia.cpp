#include "events/zdarzenia.h"

#include <tinyxml.h>

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "events/event_xml.h"
#include "events/xml_nesting.h"
#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/file_read.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "foundation/text_file.h"
#include "scenario/scenario_paths.h"
#include "world/gra.h"

namespace tr {
namespace {

// The lines of the list file; a missing file, or one that is not a regular
// file, has none. A line ends at its first NUL, as a C string would.
std::vector<std::string> ReadListLines(const std::filesystem::path& file) {
  std::vector<std::string> lines;
  const std::optional<std::string> bytes = ReadTextFile(file);
  if (!bytes) return lines;
  for (const std::string_view line : TextLineViews(std::string_view(*bytes))) {
    lines.emplace_back(line.substr(0, line.find('\0')));
  }
  return lines;
}

void LogXmlError(const std::u16string& gamePath, int row, int column, std::u16string_view description) {
  // The author needs the parser's own words to find the fault.
  LogFormat(u"XML error in %s at row %i, column %i: %s", gamePath, row, column, description);
}

// The parser's reading of its input: CR LF and a lone CR become LF, and the
// text ends at the first NUL.
std::string NormalizeXmlText(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\0'));
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r') {
      text += bytes[i];
      continue;
    }
    text += '\n';
    if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
  }
  return text;
}

// Beyond any calendar a scenario plays in, far below the 32-bit limit.
constexpr int kMaxEventYear = 100000;

// Deeper than any event needs: the parser and the checks after it recurse
// once per level, and a file of a few hundred kilobytes nested throughout
// would run them out of stack.
constexpr int kMaxElementDepth = 200;

// Four times what any element of an event carries (an effect has fifteen):
// the parser compares each attribute with every one before it on its
// element, so one element of ten thousand holds the load for a second, and
// elements of 256 up to the nodes allowed for as long again as the nodes.
constexpr std::size_t kMostElementAttributes = 64;

// The row and column (from 1) of a byte of the text that is not a line end.
std::pair<int, int> RowAndColumn(std::string_view text, std::size_t at) {
  const std::size_t newline = text.rfind('\n', at);
  const std::size_t rowStart = newline == std::string_view::npos ? 0 : newline + 1;
  const auto rows = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n');
  return {static_cast<int>(rows) + 1, static_cast<int>(at - rowStart) + 1};
}

// The file is read here, checked to be UTF-8, and handed to the parser with
// NULs after its end: the parser steps over a multi-byte sequence by its lead
// byte, and would read past a buffer that ended inside one.
// The event files of a scenario, all together, may hold this many bytes: their
// trees take up to a hundred times their bytes (a file of empty elements).
constexpr std::uint64_t kEventFilesBudget = 8 * kMiB;

// The nodes the trees of a scenario's event files may hold together, each
// some hundred bytes: over eight hundred times those of the sample's, which
// a file of empty elements within the bytes above would hold ten times over.
constexpr std::size_t kMostEventNodes = 200000;

// budgetLeft and nodesLeft are what the event files read before may still
// leave to this one: a list naming one file many times over would otherwise
// hold a tree of it for every line.
bool LoadDocument(TiXmlDocument& document, const std::u16string& gamePath, std::uint64_t& budgetLeft,
                  std::size_t& nodesLeft, std::u16string_view listPath) {
  const std::optional<std::string> bytes = ReadWholeFile(ResolveGamePath(gamePath), kEventFilesBudget);
  if (!bytes) return false;
  if (bytes->size() > budgetLeft) {
    LogFormat(u"ERROR: the events files %s names hold more than %i bytes together; %s is not read", listPath,
              static_cast<std::int64_t>(kEventFilesBudget), gamePath);
    return false;
  }
  budgetLeft -= bytes->size();
  document.SetValue(Utf16ToUtf8(gamePath));
  std::string text = NormalizeXmlText(*bytes);
  if (const std::size_t bad = FirstInvalidUtf8(text); bad != std::string::npos) {
    const auto [row, column] = RowAndColumn(text, bad);
    LogXmlError(gamePath, row, column, u"The text is not valid UTF-8.");
    return false;
  }
  const sXmlScan scan = ScanXmlTree(text, kMaxElementDepth, nodesLeft, kMostElementAttributes);
  if (scan.tooDeep != std::string::npos) {
    const auto [row, column] = RowAndColumn(text, scan.tooDeep);
    LogXmlError(gamePath, row, column, Format(u"Elements are nested more than %i deep.", kMaxElementDepth));
    return false;
  }
  if (scan.tooManyAttributes != std::string::npos) {
    const auto [row, column] = RowAndColumn(text, scan.tooManyAttributes);
    LogXmlError(gamePath, row, column,
                Format(u"An element has more than %i attributes.", static_cast<int>(kMostElementAttributes)));
    return false;
  }
  if (scan.tooMany != std::string::npos) {
    const auto [row, column] = RowAndColumn(text, scan.tooMany);
    LogXmlError(gamePath, row, column,
                Format(u"The events files %s names hold more than %i elements, attributes and texts together.",
                       listPath, static_cast<int>(kMostEventNodes)));
    return false;
  }
  nodesLeft -= scan.nodes;
  constexpr std::size_t kPadding = 8;
  text.append(kPadding, '\0');
  // Read as the UTF-8 it was checked to be, whatever it declares: the depth
  // scan reads white space and characters as the parser does in that mode.
  document.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
  if (!document.Error()) return true;
  LogXmlError(gamePath, document.ErrorRow(), document.ErrorCol(),
              Utf8ToUtf16(document.ErrorDesc() ? document.ErrorDesc() : ""));
  return false;
}

// A date the calendar of the game can reach; a missing date is open.
bool IsPossibleDate(const sEventDate& date) {
  if (date.day == kIntNotSet && date.month == kIntNotSet && date.year == kIntNotSet) return true;
  return date.day >= 1 && date.day <= 31 && date.month >= 1 && date.month <= 12 && date.year >= 1 &&
         date.year <= kMaxEventYear;
}

// The event check keeps one bit per event number and the event belongs to a
// country, so an event that has neither would be read out of range later. An
// event shares its bit and its saved choice with no other, has dates the game
// can reach, and offers the player at least one option to close its dialog.
bool IsEventUsable(const TiXmlElement& element, const cEvent& event, std::u16string_view file,
                   const std::unordered_set<std::int32_t>& loaded) {
  const int line = ElementLine(element);
  if (event.eventID < 0) {
    LogFormat(u"ERROR: <event> at line %i of %s has a negative eventID (%i); the event is left out", line, file,
              event.eventID);
    return false;
  }
  const int countryCount = gGame ? gGame->CountryCount() : 0;
  if (event.countryID < 1 || event.countryID > countryCount) {
    LogFormat(u"ERROR: <event> at line %i of %s has countryID %i, which names no country; the event is left out",
              line, file, event.countryID);
    return false;
  }
  if (loaded.count(event.eventID) != 0) {
    LogFormat(u"ERROR: <event> at line %i of %s has eventID %i, which an event before it has; the event is left "
              u"out",
              line, file, event.eventID);
    return false;
  }
  for (const auto& [date, name] : {std::pair{&event.beginDate, u"beginDate"}, std::pair{&event.endDate, u"endDate"}}) {
    if (IsPossibleDate(*date)) continue;
    LogFormat(u"ERROR: <event> at line %i of %s has the %s %i.%i.%i, which is not a day of the calendar (day 1-31, "
              u"month 1-12, year 1-%i); the event is left out",
              line, file, std::u16string_view(name), date->day, date->month, date->year, kMaxEventYear);
    return false;
  }
  if (event.options.empty()) {
    LogFormat(u"ERROR: <event> at line %i of %s has no <option>; the event is left out", line, file);
    return false;
  }
  return true;
}

// The texts an effect gives (the names of the units and commanders it makes)
// are kept in the 8-bit tables of a save. A letter those cannot hold would
// be saved as '?' under a name the game had shown whole, so the game uses
// the saved form from the start and the author learns which event to mend.
void KeepEffectTextsInCodePage(cEvent& event, const TiXmlElement& element, std::u16string_view file) {
  for (sEventOption& option : event.options) {
    for (sEffect& effect : option.effects) {
      for (std::u16string& text : effect.paramStrings) {
        if (FitsCodePage(text)) continue;
        std::u16string kept = CodePageToUtf16(Utf16ToCodePage(text));
        LogFormat(u"WARNING: <event> %i at line %i of %s: effect %s at line %i gives the name \"%s\", whose letters "
                  u"the Windows-1252 code page of saved games cannot all keep; it is used as \"%s\"",
                  event.eventID, ElementLine(element), file, effect.method, effect.line, text, kept);
        text = std::move(kept);
      }
    }
  }
}

}  // namespace

cEventEngine::cEventEngine() = default;
cEventEngine::~cEventEngine() = default;

void cEventEngine::OpenEventFiles(std::u16string_view scenarioName) {
  LogLine(u"Initializing XML events file");
  const std::u16string listPath = ScenarioFilePath(scenarioName, u"event_files.txt");
  documents.clear();
  const std::u16string folder = TemplateFolder(MakeFolderTemplate(kScenarioFolderTemplate, scenarioName));
  // The list comes with the scenario: it may name its own files only, never
  // one elsewhere on the machine.
  std::uint64_t budgetLeft = kEventFilesBudget;
  std::size_t nodesLeft = kMostEventNodes;
  for (const std::string& line : ReadListLines(ResolveGamePath(listPath))) {
    if (line.empty() || line.front() == ';') continue;
    const std::u16string path = CodePageToUtf16(line);
    if (!IsScenarioFilePath(path, scenarioName)) {
      LogFormat(u"ERROR: %s names the events file %s, which is not a file of %s. Exiting...", listPath, path, folder);
      FatalExit(1);
    }
    TiXmlDocument& document = *documents.emplace_back(std::make_unique<TiXmlDocument>());
    if (!LoadDocument(document, path, budgetLeft, nodesLeft, listPath)) {
      LogFormat(u"ERROR initializing events from file %s. Exiting...", path);
      FatalExit(1);
    }
  }
}

void cEventEngine::LoadEventsFromDocument(const TiXmlDocument& document, int& highestId) {
  const TiXmlElement* root = document.RootElement();
  if (root == nullptr) return;
  const std::u16string file = Utf8ToUtf16(document.Value());
  std::unordered_set<std::int32_t> loaded;
  for (const cEvent& event : events) loaded.insert(event.eventID);
  for (const TiXmlElement* element = root->FirstChildElement("event"); element != nullptr;
       element = element->NextSiblingElement("event")) {
    cEvent event = ReadEventElement(*element);
    // The picture is opened from data\events by its name; a name that could
    // leave that folder is refused with the file.
    if (!event.image.empty() && !IsSafeFileName(event.image)) {
      LogFormat(u"ERROR: <event> at line %i of %s names the image \"%s\", which is not a file name of data\\events",
                ElementLine(*element), file, event.image);
      FatalExit(1);
    }
    if (event.eventID > highestId) highestId = event.eventID;
    if (IsEventUsable(*element, event, file, loaded)) {
      KeepEffectTextsInCodePage(event, *element, file);
      loaded.insert(event.eventID);
      events.push_back(std::move(event));
    }
  }
}

void cEventEngine::LoadAllEvents() {
  LogLine(u"*****************************");
  LogLine(u"*LOADING ALL EVENTS FROM DOM*");
  LogLine(u"*****************************");
  events.clear();
  int highestId = -1;
  for (const auto& document : documents) LoadEventsFromDocument(*document, highestId);
  LogFormat(u"Reserving memory for event bool vector... Max no. of events is %d, event with ID higher than %d "
            u"will crash...",
            kMaxEventId, kMaxEventId);
  if (highestId > kMaxEventId) {
    LogFormat(u"ERROR: maxID = %d (have to be >= 0 && <= %d", highestId, kMaxEventId);
    FatalExit(1);
  }
  checkedBits.assign(static_cast<std::size_t>(highestId + 1), false);
  LogLine(u"*****************************");
  LogLine(u"*  FINISHED LOADING EVENTS  *");
  LogLine(u"*****************************");
}

}  // namespace tr
