// The table reader on any bytes: records in both modes, then the same bytes
// as the countries table of a scenario.
#include <cstddef>
#include <cstdint>

#include "foundation/csv_reader.h"
#include "fuzz_support.h"
#include "scenario/countries_file.h"
#include "world/gra.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tr;
  fuzz::WriteGameFile("data/scenarios/F/countries.csv", fuzz::Bytes(data, size));
  for (const bool keepEmpty : {false, true}) {
    cCsvReader reader(u"data\\scenarios\\F\\countries.csv");
    while (!reader.AtEnd()) reader.ReadRecord(keepEmpty);
  }
  cGame& game = fuzz::SmallGame();
  fuzz::RunReader([&] { LoadCountries(game, u"data\\scenarios\\F\\%s"); });
  return 0;
}
