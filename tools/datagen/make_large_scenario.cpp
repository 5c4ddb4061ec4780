// Writes the large generated benchmark scenario into a game folder:
//   make_large_scenario <consts.csv> <game folder> <scenario name>
// The constants are borrowed from the sample scenario, so the rules run on
// playable numbers.
#include <fstream>
#include <iostream>
#include <sstream>

#include "datagen/large_scenario.h"
#include "foundation/paths.h"
#include "foundation/text.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: make_large_scenario <consts.csv> <game folder> <scenario name>\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::ostringstream constants;
  constants << in.rdbuf();
  if (!in) {
    std::cerr << "cannot read " << argv[1] << '\n';
    return 1;
  }
  tr::SetGameRoot(argv[2]);
  auto game = tr::datagen::BuildLargeGame();
  if (!tr::datagen::WriteLargeScenario(*game, tr::Utf8ToUtf16(argv[3]), constants.str())) {
    std::cerr << "the scenario could not be written\n";
    return 1;
  }
  return 0;
}
