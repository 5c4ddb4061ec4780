// Builds a scenario's "map.qel" from its readable text description.
// Usage: make_scenario_map <map text> <scenario folder>
#include <fstream>
#include <iostream>
#include <sstream>

#include "foundation/paths.h"
#include "world/map_text.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_scenario_map <map text> <scenario folder>\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "make_scenario_map: cannot read " << argv[1] << '\n';
    return 1;
  }
  std::ostringstream text;
  text << in.rdbuf();
  std::string error;
  const std::unique_ptr<tr::cMap> map = tr::ParseMapText(text.str(), error);
  if (!map) {
    std::cerr << argv[1] << ": " << error << '\n';
    return 1;
  }
  std::filesystem::create_directories(argv[2]);
  tr::SetGameRoot(argv[2]);
  if (!map->Save(u".", {})) {
    std::cerr << "make_scenario_map: cannot write the map into " << argv[2] << '\n';
    return 1;
  }
  return 0;
}
