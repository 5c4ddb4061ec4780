// An event file on any bytes, through the whole load of a scenario's events:
// the list, the parse, the checks of every comparison and effect, the records.
#include <cstddef>
#include <cstdint>

#include "events/zdarzenia.h"
#include "fuzz_support.h"
#include "world/gra.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tr;
  fuzz::WriteGameFile("data/scenarios/F/event_files.txt", "data\\scenarios\\F\\events.xml\r\n");
  fuzz::WriteGameFile("data/scenarios/F/events.xml", fuzz::Bytes(data, size));
  fuzz::SmallGame();
  cEventEngine engine;
  fuzz::RunReader([&] {
    engine.OpenEventFiles(u"F");
    engine.ValidateEventsFile();
    engine.LoadAllEvents();
  });
  return 0;
}
