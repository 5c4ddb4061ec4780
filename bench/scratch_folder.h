// A folder of one benchmark run's own, in the temporary folder unless told
// otherwise, removed when the run is done: runs side by side, of one program or of several people on
// one machine, never write into or clear each other's files.
#pragma once

#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "foundation/folder_swap.h"

namespace tr::bench {

class ScratchFolder {
 public:
  // Made in the temporary folder, or in the folder given (made when missing).
  explicit ScratchFolder(std::string_view name,
                         const std::filesystem::path& parent = std::filesystem::temp_directory_path()) {
    std::filesystem::create_directories(parent);
    std::string pattern = (parent / ("tidereach_bench_" + std::string(name) + "_XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      throw std::filesystem::filesystem_error("cannot make a scratch folder", pattern,
                                              std::error_code(errno, std::generic_category()));
    }
    path_ = pattern;
  }
  ~ScratchFolder() {
    if (kept_) return;
    // A save may still be removing the folder it replaced inside this one.
    WaitForFolderRemovals();
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Left in place, for a log a skipped case points to.
  void Keep() { kept_ = true; }

 private:
  std::filesystem::path path_;
  bool kept_ = false;
};

}  // namespace tr::bench
