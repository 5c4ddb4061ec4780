// Writes the large generated benchmark scenario into a game folder:
//   make_large_scenario <consts.csv> <game folder> <scenario name> [size factor]
// The constants are borrowed from the sample scenario, so the rules run on
// playable numbers. The size factor (default 1) grows the map and the units.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "datagen/large_scenario.h"
#include "foundation/paths.h"
#include "foundation/text.h"

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) {
    std::cerr << "usage: make_large_scenario <consts.csv> <game folder> <scenario name> [size factor]\n";
    return 2;
  }
  int factor = 1;
  if (argc == 5) {
    const int largest = tr::datagen::LargestLargeScenarioFactor();
    char* end = nullptr;
    const long parsed = std::strtol(argv[4], &end, 10);
    if (end == argv[4] || *end != '\0' || parsed < 1 || parsed > largest) {
      std::cerr << "the size factor must be a whole number from 1 to " << largest << '\n';
      return 2;
    }
    factor = static_cast<int>(parsed);
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::ostringstream constants;
  constants << in.rdbuf();
  if (!in) {
    std::cerr << "cannot read " << argv[1] << '\n';
    return 1;
  }
  tr::SetGameRoot(argv[2]);
  auto game = tr::datagen::BuildLargeGame(tr::datagen::ScaledLargeScenarioShape(factor));
  if (!tr::datagen::WriteLargeScenario(*game, tr::Utf8ToUtf16(argv[3]), constants.str())) {
    std::cerr << "the scenario could not be written\n";
    return 1;
  }
  return 0;
}
