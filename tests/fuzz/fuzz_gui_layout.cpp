// The GUI layout file on any bytes.
#include <cstddef>
#include <cstdint>

#include "foundation/gui_layout.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tr;
  fuzz::WriteGameFile("data/GUI_1024x768.csv", fuzz::Bytes(data, size));
  fuzz::RunReader([] { LoadGuiLayoutFile(u"data\\GUI_1024x768.csv"); });
  return 0;
}
