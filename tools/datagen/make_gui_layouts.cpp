// Writes the layout files of the other window sizes the game offers from the
// 1024 x 768 layout:
//   make_gui_layouts GUI_1024x768.csv game_data_folder
// Rows added to the 1024 x 768 file reach every size at the next build.
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "datagen/gui_layout_sizes.h"

namespace {

struct Size {
  int width, height;
};
constexpr Size kSizes[] = {{1280, 720}, {1366, 768}, {1920, 1080}};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_gui_layouts GUI_1024x768.csv game_data_folder\n";
    return 1;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "make_gui_layouts: cannot read " << argv[1] << "\n";
    return 1;
  }
  const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (const Size& size : kSizes) {
    const std::string path = std::string(argv[2]) + "/GUI_" + std::to_string(size.width) + "x" +
                             std::to_string(size.height) + ".csv";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << tr::datagen::DeriveGuiLayout(source, size.width, size.height);
    if (!out.flush()) {
      std::cerr << "make_gui_layouts: cannot write " << path << "\n";
      return 1;
    }
  }
  return 0;
}
