#include "events/zdarzenia.h"

#include <tinyxml.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "events/event_xml.h"
#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "scenario/scenario_paths.h"
#include "world/gra.h"

namespace tr {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The lines of the list file; a missing or unreadable file has none.
std::vector<std::string> ReadListLines(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<std::string> lines;
  if (!in) return lines;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

bool LoadDocument(TiXmlDocument& document, const std::u16string& gamePath) {
  const std::filesystem::path file = ResolveGamePath(gamePath);
  std::unique_ptr<std::FILE, FileCloser> handle(std::fopen(file.c_str(), "rb"));
  if (!handle) return false;
  document.SetValue(Utf16ToUtf8(gamePath));
  if (document.LoadFile(handle.get(), TIXML_DEFAULT_ENCODING)) return true;
  // The author needs the parser's own words to find the fault.
  LogFormat(u"XML error in %s at row %i, column %i: %s", gamePath, document.ErrorRow(), document.ErrorCol(),
            Utf8ToUtf16(document.ErrorDesc() ? document.ErrorDesc() : ""));
  return false;
}

// The event check keeps one bit per event number and the event belongs to a
// country, so an event that has neither would be read out of range later.
bool IsEventUsable(const TiXmlElement& element, const cEvent& event) {
  if (event.eventID < 0) {
    LogFormat(u"ERROR: <event> at line %i has a negative eventID (%i); the event is left out",
              ElementLine(element), event.eventID);
    return false;
  }
  const int countryCount = gGame ? gGame->CountryCount() : 0;
  if (event.countryID < 1 || event.countryID > countryCount) {
    LogFormat(u"ERROR: <event> at line %i has countryID %i, which names no country; the event is left out",
              ElementLine(element), event.countryID);
    return false;
  }
  return true;
}

}  // namespace

cEventEngine::cEventEngine() = default;
cEventEngine::~cEventEngine() = default;

void cEventEngine::OpenEventFiles(std::u16string_view scenarioName) {
  LogLine(u"Initializing XML events file");
  const std::u16string listPath = ScenarioFilePath(scenarioName, u"event_files.txt");
  documents.clear();
  for (const std::string& line : ReadListLines(ResolveGamePath(listPath))) {
    if (line.empty() || line.front() == ';') continue;
    const std::u16string path = CodePageToUtf16(line);
    TiXmlDocument& document = *documents.emplace_back(std::make_unique<TiXmlDocument>());
    if (!LoadDocument(document, path)) {
      LogFormat(u"ERROR initializing events from file %s. Exiting...", path);
      FatalExit(1);
    }
  }
}

void cEventEngine::LoadEventsFromDocument(const TiXmlDocument& document, int& highestId) {
  const TiXmlElement* root = document.RootElement();
  if (root == nullptr) return;
  for (const TiXmlElement* element = root->FirstChildElement("event"); element != nullptr;
       element = element->NextSiblingElement("event")) {
    cEvent event = ReadEventElement(*element);
    if (event.eventID > highestId) highestId = event.eventID;
    if (IsEventUsable(*element, event)) events.push_back(std::move(event));
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
