// The reports file of a saved game on any bytes.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "scenario/reports.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tr;
  fuzz::WriteGameFile("data/save/F/reports.dat", fuzz::Bytes(data, size));
  cReportList reports;
  fuzz::RunReader([&] { reports.Load(u"data\\save\\F\\%s", 255); });
  // What was read writes out and reads back.
  const std::string bytes = reports.Serialize();
  cReportList again;
  if (!again.Deserialize(bytes, 255).empty()) __builtin_trap();
  return 0;
}
