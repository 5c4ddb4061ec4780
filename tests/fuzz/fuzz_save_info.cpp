// A saved game's Info.ini on any bytes, read as the load reads it in a save
// folder and in a play-by-e-mail one, with the numbering counters the save
// keeps in it.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "scenario/scenario_info.h"
#include "world/gra.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tr;
  for (const char* folder : {"save", "pbem"}) {
    fuzz::WriteGameFile(std::string("data/") + folder + "/F/Info.ini", fuzz::Bytes(data, size));
  }
  for (const std::u16string_view folderTemplate : {u"data\\save\\F\\%s", u"data\\pbem\\F\\%s"}) {
    cGame& game = fuzz::SmallGame();
    game.loadedGame = 1;
    fuzz::RunReader([&] {
      LoadScenarioInfo(game, folderTemplate);
      RestoreSavedCounters(game, folderTemplate);
    });
  }
  return 0;
}
