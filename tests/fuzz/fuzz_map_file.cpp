// The map file reader on any bytes, as a scenario's map and as a saved one.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "world/map.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tr;
  fuzz::WriteGameFile("data/scenarios/F/map.qel", fuzz::Bytes(data, size));
  for (const bool saved : {false, true}) {
    cMap map(1, 1);
    fuzz::RunReader([&] { map.Load(u"data\\scenarios\\F\\%s", saved); });
  }
  return 0;
}
