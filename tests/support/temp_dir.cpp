#include "support/temp_dir.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <set>
#include <sstream>

#include "foundation/folder_swap.h"
#include "foundation/paths.h"

namespace tr::test {

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  // Made in the working folder, the game folder of a test that names none:
  // the game reads no file outside its game folder.
  path_ = std::filesystem::current_path() /
          ("tidereach-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  // A folder a save replaced may still be being removed inside this one.
  WaitForFolderRemovals();
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::filesystem::path TempDir::Write(std::string_view relative, std::string_view bytes) const {
  const std::filesystem::path file = path_ / std::filesystem::path(relative);
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file;
}

std::string TempDir::Read(std::string_view relative) const {
  return ReadFileBytes(path_ / std::filesystem::path(relative));
}

std::string ReadFileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::map<std::string, std::string> ReadFolderBytes(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files[entry.path().filename().string()] = ReadFileBytes(entry.path());
  }
  return files;
}

void MakeOlderSave(const std::filesystem::path& folder) {
  std::filesystem::remove(folder / "file_digests.csv");
  std::string info = ReadFileBytes(folder / "Info.ini");
  const std::string mark = "FileList = file_digests.csv\r\n";
  if (const std::size_t at = info.find(mark); at != std::string::npos) info.erase(at, mark.size());
  // A save of this version without its list is refused; one before wrote none.
  const std::string version = "GameVersion = 1.02\r\n";
  if (const std::size_t at = info.find(version); at != std::string::npos) {
    info.replace(at, version.size(), "GameVersion = 1.01\r\n");
  }
  std::ofstream(folder / "Info.ini", std::ios::binary | std::ios::trunc) << info;
}

void CopyBuiltScenario(const std::filesystem::path& root, std::string_view scenario) {
  namespace fs = std::filesystem;
  const fs::path game(TR_GAME_DIR);
  // Folders whose contents a run of the game makes; the folders themselves are the build's.
  const std::set<fs::path> playerFolders{"data/save", "data/pbem"};
  const fs::path scenarios("data/scenarios");
  for (fs::recursive_directory_iterator it(game), end; it != end; ++it) {
    const fs::path relative = it->path().lexically_relative(game);
    const fs::path parent = relative.parent_path();
    const bool otherScenario = parent == scenarios && relative.filename() != fs::path(scenario);
    const bool program = relative == "tidereach" || relative == "renderer_probe";
    if (program || playerFolders.count(parent) != 0 || otherScenario) {
      if (it->is_directory()) it.disable_recursion_pending();
      continue;
    }
    if (it->is_directory()) {
      fs::create_directories(root / relative);
    } else {
      fs::copy_file(it->path(), root / relative, fs::copy_options::overwrite_existing);
    }
  }
}

ScopedGameRoot::ScopedGameRoot(const std::filesystem::path& root) : previous_(GameRoot()) { SetGameRoot(root); }

ScopedGameRoot::~ScopedGameRoot() { SetGameRoot(previous_); }

}  // namespace tr::test
