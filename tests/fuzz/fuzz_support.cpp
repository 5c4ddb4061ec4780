#include "fuzz_support.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <system_error>

#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/log_sink.h"
#include "foundation/paths.h"
#include "world/gra.h"
#include "world/map.h"
#include "world/panstwo.h"

namespace tr::fuzz {
namespace {

std::filesystem::path& Folder() {
  static std::filesystem::path folder;
  return folder;
}

void RemoveFolder() {
  std::error_code ec;
  if (!Folder().empty()) std::filesystem::remove_all(Folder(), ec);
}

}  // namespace

void Setup() {
  static const bool done = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "tidereach-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    Folder() = pattern;
    std::atexit(RemoveFolder);
    SetGameRoot(Folder());
    // Millions of inputs would otherwise write millions of log lines.
    SetLogSink([](std::u16string_view) {});
    SetFatalExitInterceptor([](int code) { throw FatalExitError(code); });
    return true;
  }();
  (void)done;
}

const std::filesystem::path& GameFolder() {
  Setup();
  return Folder();
}

void WriteGameFile(std::string_view relative, std::string_view bytes) {
  const std::filesystem::path file = GameFolder() / std::filesystem::path(relative);
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) std::abort();
}

cGame& SmallGame() {
  Setup();
  // Made once and kept for the life of the process, like the running game.
  static cGame* const game = [] {
    auto* made = new cGame();
    made->map = std::make_unique<cMap>(6, 4);
    made->relations.Reset(3);
    return made;
  }();
  // A reader may have replaced the countries; each input starts from the same three.
  game->viewingCountry = nullptr;
  game->countries.clear();
  for (int id = 1; id <= 3; ++id) {
    auto country = std::make_unique<cCountry>();
    country->id = id;
    country->isActive = 1;
    country->name = Format(u"Country%i", id);
    country->skinsName = country->name;
    game->countries.push_back(std::move(country));
  }
  gGame = game;
  return *game;
}

}  // namespace tr::fuzz
