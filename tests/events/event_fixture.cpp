#include "event_fixture.h"

#include <tinyxml.h>

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

void EventFilesTest::FireSingleOption(const std::string& effects) {
  WriteSingleEventFile(EventFile(
      R"(<event eventID="1" countryID="1" visibleByPlayer="0" oneTimeChecking="1"><title>T</title>)"
      R"(<options><option optionID="1" chanceAI="100"><description>D</description><effects>)" +
      effects + "</effects></option></options></event>\n"));
  engine_.documents.clear();
  engine_.events.clear();
  LoadScenarioEvents();
  ASSERT_EQ(engine_.events.size(), 1u);
  log_.Clear();
  ASSERT_TRUE(engine_.events[0].ExecuteOption(1));
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

namespace tr::test {

std::string EffectElement(std::string_view method, std::initializer_list<const char*> params) {
  std::string text = "<effect method=\"" + std::string(method) + "\"";
  int i = 0;
  for (const char* p : params) text += " param" + std::to_string(i++) + "=\"" + p + "\"";
  return text + "/>";
}

}  // namespace tr::test
