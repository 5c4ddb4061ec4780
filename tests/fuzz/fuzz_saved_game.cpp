// A whole saved game of the sample, loaded as the game loads a save, with
// one of its files replaced by the input's bytes after the first: the first
// byte picks which, among every file a save is written with, so each file
// is read by its own reader amid the others as the game wrote them.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "foundation/fatal.h"
#include "foundation/text.h"
#include "fuzz_support.h"
#include "scenario/save_game.h"
#include "world/gra.h"
#include "world/scenario_check.h"

// The sample is loaded before the first input, outside its time limit.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tr::fuzz::SampleSave();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tr;
  const std::string& save = fuzz::SampleSave();
  const std::string folder = "data/save/" + save + "/";
  static const std::map<std::u16string_view, std::string> sound = [&folder] {
    std::map<std::u16string_view, std::string> files;
    for (const std::u16string_view name : SaveFileNames()) {
      std::ifstream in(fuzz::GameFolder() / (folder + Utf16ToUtf8(name)), std::ios::binary);
      files[name] = std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    return files;
  }();
  if (size == 0) return 0;
  const std::vector<std::u16string_view> names = SaveFileNames();
  const std::u16string_view name = names[data[0] % names.size()];
  const std::string file = folder + Utf16ToUtf8(name);
  fuzz::WriteGameFile(file, fuzz::Bytes(data + 1, size - 1));
  sGameFolderArgs args;
  args.root = fuzz::GameFolder().string();
  args.save = save;
  gGame = nullptr;
  cGame* loaded = nullptr;
  try {
    loaded = LoadGameFolder(args);
  } catch (const FatalExitError&) {
    // A refused load leaves the game it began as the running one.
    loaded = gGame;
  }
  delete loaded;
  gGame = nullptr;
  fuzz::WriteGameFile(file, sound.at(name));
  return 0;
}
