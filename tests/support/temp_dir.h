// A fresh folder under the system temporary directory, removed at the end of the test.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tr::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Writes bytes to a file below the folder, creating its parent folders.
  std::filesystem::path Write(std::string_view relative, std::string_view bytes) const;
  std::string Read(std::string_view relative) const;

 private:
  std::filesystem::path path_;
};

std::string ReadFileBytes(const std::filesystem::path& file);

}  // namespace tr::test
