// A game folder with one scenario whose event files the tests write, a small
// running world (three countries on a 6 x 4 land map) and the console log.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "events/zdarzenia.h"
#include "foundation/fatal.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "support/world_builder.h"

namespace tr::test {

class EventFilesTest : public testing::Test {
 protected:
  EventFilesTest();
  ~EventFilesTest() override;

  // Writes data/scenarios/S/<name> below the game folder.
  void WriteScenarioFile(std::string_view name, std::string_view bytes);
  // One XML file listed alone in "event_files.txt".
  void WriteSingleEventFile(std::string_view xml);
  // OpenEventFiles, ValidateEventsFile and LoadAllEvents of scenario "S".
  void LoadScenarioEvents();
  // Loads, in place of any earlier events, a file whose one event (of
  // country 1) has one option with the effects, clears the log and fires
  // that option as the event check does.
  void FireSingleOption(const std::string& effects);
  // The exit code of a fatal end inside fn, or -1 when it returned.
  template <typename Fn>
  int ExitCodeOf(Fn fn) {
    try {
      fn();
    } catch (const FatalExitError& error) {
      return error.code();
    }
    return -1;
  }
  // The captured log lines that begin with one of the prefixes.
  std::vector<std::u16string> LinesStartingWith(std::initializer_list<std::u16string_view> prefixes) const;

  TempDir dir_;
  TestWorld world_{6, 4, 3};
  cEventEngine& engine_;
  LogCapture log_;
};

// An XML event file: the root element around the given events.
std::string EventFile(std::string_view body);
// One effect element with its numbers param0, param1... in order.
std::string EffectElement(std::string_view method, std::initializer_list<const char*> params);

}  // namespace tr::test
