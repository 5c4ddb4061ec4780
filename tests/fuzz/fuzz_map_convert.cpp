// The conversion of an older-format map on any bytes.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "world/map.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tr;
  fuzz::WriteGameFile("data/scenarios/F/map.hmf", fuzz::Bytes(data, size));
  cMap map(1, 1);
  fuzz::RunReader([&] { map.ConvertHmfMap(u"data\\scenarios\\F\\%s"); });
  return 0;
}
