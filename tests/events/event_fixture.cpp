#include "event_fixture.h"

#include "foundation/fatal.h"
#include "foundation/paths.h"

namespace tr::test {

EventFilesTest::EventFilesTest() : engine_(*world_.game().events) { SetGameRoot(dir_.path()); }

EventFilesTest::~EventFilesTest() { SetGameRoot({}); }

void EventFilesTest::WriteScenarioFile(std::string_view name, std::string_view bytes) {
  dir_.Write("data/scenarios/S/" + std::string(name), bytes);
}

void EventFilesTest::WriteSingleEventFile(std::string_view xml) {
  WriteScenarioFile("event_files.txt", "data\\scenarios\\S\\events.xml\r\n");
  WriteScenarioFile("events.xml", xml);
}

void EventFilesTest::LoadScenarioEvents() {
  engine_.OpenEventFiles(u"S");
  engine_.ValidateEventsFile();
  engine_.LoadAllEvents();
}

std::vector<std::u16string> EventFilesTest::LinesStartingWith(
    std::initializer_list<std::u16string_view> prefixes) const {
  std::vector<std::u16string> found;
  for (const std::u16string& line : log_.lines()) {
    for (std::u16string_view prefix : prefixes) {
      if (line.starts_with(prefix)) {
        found.push_back(line);
        break;
      }
    }
  }
  return found;
}

std::string EventFile(std::string_view body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<events>\n" + std::string(body) + "</events>\n";
}

}  // namespace tr::test
