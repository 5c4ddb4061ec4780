// A fresh folder under the working folder, removed at the end of the test.
#pragma once

#include <filesystem>
#include <map>
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

// Points the game at a folder while it lives, then back where it was: the
// tests after it in the same program find the root they started with.
class ScopedGameRoot {
 public:
  explicit ScopedGameRoot(const std::filesystem::path& root);
  ~ScopedGameRoot();
  ScopedGameRoot(const ScopedGameRoot&) = delete;
  ScopedGameRoot& operator=(const ScopedGameRoot&) = delete;

 private:
  std::filesystem::path previous_;
};

std::string ReadFileBytes(const std::filesystem::path& file);
// Every file directly in a folder, by name, with its bytes.
std::map<std::string, std::string> ReadFolderBytes(const std::filesystem::path& folder);
// Makes the save in the folder one from before the list of its files'
// digests: the list removed, the mark of it in Info.ini, and the version
// made the one before this program's.
void MakeOlderSave(const std::filesystem::path& folder);
// A private game folder exactly as the build makes it, holding of the
// scenarios only the one named: tests save into what a player gets, and never
// into the shared build. The program itself and any save a run of it left in
// the build are not copied.
void CopyBuiltScenario(const std::filesystem::path& root, std::string_view scenario);

}  // namespace tr::test
