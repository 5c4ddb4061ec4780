#include "fuzz_support.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <system_error>

#include "foundation/fast_digest.h"
#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/log_sink.h"
#include "foundation/md5.h"
#include "foundation/paths.h"
#include "foundation/random.h"
#include "foundation/text.h"
#include "scenario/save_game.h"
#include "turn/game_steps.h"
#include "world/gra.h"
#include "world/map.h"
#include "world/panstwo.h"
#include "world/scenario_check.h"

namespace tr::fuzz {
namespace {

std::filesystem::path& Folder() {
  static std::filesystem::path folder;
  return folder;
}

constexpr char kSampleScenario[] = "NorthernTide";

std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) std::abort();
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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

void CopyBuiltSample() {
  static const bool done = [] {
    namespace fs = std::filesystem;
    const fs::path built(TR_FUZZ_GAME_DIR);
    const fs::path scenario = fs::path("data/scenarios") / kSampleScenario;
    fs::create_directories(GameFolder() / scenario);
    fs::copy(built / scenario, GameFolder() / scenario,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    for (const char* file : {"Settings.ini", "lang_ENG.db"}) {
      fs::copy_file(built / file, GameFolder() / file, fs::copy_options::overwrite_existing);
    }
    fs::create_directories(GameFolder() / "data/save");
    fs::create_directories(GameFolder() / "data/pbem");
    return true;
  }();
  (void)done;
}

cGame& SampleGame() {
  static cGame* const game = [] {
    CopyBuiltSample();
    InstallGameSteps();
    sGameFolderArgs args;
    args.root = GameFolder().string();
    args.scenario = kSampleScenario;
    SeedRandom(20110304);
    cGame* loaded = LoadGameFolder(args);
    if (loaded == nullptr) std::abort();
    return loaded;
  }();
  gGame = game;
  return *game;
}

const std::string& SampleSave() {
  static const std::string name = [] {
    cGame& game = SampleGame();
    game.saveContext->clock = [] { return sLocalTime{1940, 5, 10, 6, 15}; };
    if (!game.saveContext->SaveGame(u"Sample", true)) std::abort();
    // As a save from before the list: a changed file is read, not refused by the list.
    const std::filesystem::path folder = GameFolder() / "data/save/Sample";
    std::filesystem::remove(folder / "file_digests.csv");
    std::string info = ReadFile(folder / "Info.ini");
    const std::string mark = "FileList = file_digests.csv\r\n";
    if (const std::size_t at = info.find(mark); at != std::string::npos) info.erase(at, mark.size());
    // A version that wrote no list: this one's save without its list is refused.
    const std::string version = "GameVersion = 1.02\r\n";
    if (const std::size_t at = info.find(version); at != std::string::npos) {
      info.replace(at, version.size(), "GameVersion = 1.01\r\n");
    }
    WriteGameFile("data/save/Sample/Info.ini", info);
    return std::string("Sample");
  }();
  return name;
}

const std::string& ListedSaveFolder() {
  static const std::string name = [] {
    for (const std::u16string_view file : SaveFileNames()) {
      const std::string text = Utf16ToUtf8(file);
      // Info.ini carries the mark that says the save has its list.
      WriteGameFile("data/save/Listed/" + text, file == u"Info.ini"
                                                    ? std::string("[Save]\r\nFileList = file_digests.csv\r\n")
                                                    : "#" + text + "\r\n1;");
    }
    return std::string("Listed");
  }();
  return name;
}

std::string ListOfSaveFolder(bool md5) {
  const std::filesystem::path folder = GameFolder() / "data/save" / ListedSaveFolder();
  std::string list(md5 ? "# file;bytes;md5;\r\n" : "# file;bytes;xxh3;\r\n");
  int count = 0;
  for (const std::u16string_view file : SaveFileNames()) {
    const std::string bytes = ReadFile(folder / std::filesystem::path(file));
    list += Utf16ToUtf8(file) + ";" + std::to_string(bytes.size()) + ";" +
            (md5 ? Md5Hex(bytes) : FastDigestHex(FastDigest(bytes))) + ";\r\n";
    ++count;
  }
  return list + "#end;" + std::to_string(count) + ";" + (md5 ? Md5Hex(list) : FastDigestHex(FastDigest(list))) +
         ";\r\n";
}

}  // namespace tr::fuzz
