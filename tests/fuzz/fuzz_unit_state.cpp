// A save's unit_state.csv on any bytes, read into the loaded sample, whose
// units, sea nodes and ships its lines name.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "scenario/unit_state_file.h"
#include "world/gra.h"

// The sample is loaded before the first input, outside its time limit.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tr::fuzz::SampleGame();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tr;
  cGame& game = fuzz::SampleGame();
  fuzz::WriteGameFile("data/save/F/unit_state.csv", fuzz::Bytes(data, size));
  fuzz::RunReader([&] { LoadUnitState(game, u"data\\save\\F\\%s"); });
  return 0;
}
