// A save's ai_memory.csv on any bytes, read into the loaded sample, whose
// countries and cities diagram its lines name. Each input starts from
// computer players that remember nothing.
#include <cstddef>
#include <cstdint>

#include "ai/ai_memory_file.h"
#include "ai/country_ai.h"
#include "fuzz_support.h"
#include "world/gra.h"

// The sample is loaded before the first input, outside its time limit.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tr::fuzz::SampleGame();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tr;
  cGame& game = fuzz::SampleGame();
  game.countryAi.clear();
  fuzz::WriteGameFile("data/save/F/ai_memory.csv", fuzz::Bytes(data, size));
  fuzz::RunReader([&] { LoadAiMemory(game, u"data\\save\\F\\%s"); });
  return 0;
}
