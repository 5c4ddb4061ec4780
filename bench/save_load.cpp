// Loading a saved game and saving it again, as the saved-game menu and the
// save box do: the sample saved once, and the large generated scenario at
// four times its size saved once (about 6 MB). The figures to watch are CPU
// times, taken for the whole process (the save removes the folder it
// replaces on a thread of its own). Each game folder is a copy in a folder of the build, so the build's
// own game folder keeps no save of a run.
//
// The sample's save with every table padded to its reader's budget (or one
// table a byte past it) shows how much memory a load of a received save can
// take: run that case alone (--benchmark_filter=LoadPaddedSave/0) and read
// its peak_rss_mib, the process's peak resident size. The judging of a list
// of the save's files with extra lines, up to the list's own budget, is timed
// on its own.
//
// LoadShapedSave loads saves whose tables are filled to their budgets (each
// file's own, FileBudgetOf) in the shapes a stranger may give them (empty
// lines of each line end, one long line, rows of millions of fields, in 8-bit
// and UTF-16 tables; the map grown, empty reports, long fronts, reserve
// units), and a save with every file at its budget at once. Each load
// runs in a child process of its own, so its peak_rss_mib is that load's
// peak (with the benchmark's own pages at the fork, rss_at_fork_mib, in it),
// and its time is the child's CPU time.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "foundation/fast_digest.h"
#include "foundation/fatal.h"
#include "foundation/file_budgets.h"
#include "foundation/file_read.h"
#include "foundation/file_write.h"
#include "foundation/paths.h"
#include "scenario/save_game.h"
#include "scenario/save_manifest.h"
#include "world/map_records.h"
#include "world/game_start.h"
#include "world/gra.h"

namespace {

namespace fs = std::filesystem;

// A copy of a game folder holding one save, made from a load of the scenario.
class cSavedGame {
 public:
  cSavedGame(const fs::path& from, const char* name, const char16_t* scenario) : root_(fs::path(TR_BENCH_DIR) / name) {
    std::error_code error;
    fs::remove_all(root_, error);
    fs::create_directories(root_, error);
    fs::copy(from, root_, fs::copy_options::recursive | fs::copy_options::skip_symlinks, error);
    for (const char* folder : {"data/save", "data/pbem"}) {
      fs::remove_all(root_ / folder, error);
      fs::create_directories(root_ / folder, error);
    }
    tr::SetGameRoot(root_);
    tr::gGame = tr::LoadNewScenario(scenario, 0);
    saved_ = tr::gGame->saveContext->SaveGame(u"bench", true);
    Drop();
    for (const auto& entry : fs::directory_iterator(root_ / "data/save/bench", error)) bytes_ += entry.file_size();
  }
  ~cSavedGame() {
    Drop();
    tr::SetGameRoot({});
    std::error_code error;
    fs::remove_all(root_, error);
  }
  cSavedGame(const cSavedGame&) = delete;
  cSavedGame& operator=(const cSavedGame&) = delete;

  bool saved() const { return saved_; }
  std::uintmax_t bytes() const { return bytes_; }
  static void Drop() {
    delete tr::gGame;
    tr::gGame = nullptr;
  }

 private:
  fs::path root_;
  bool saved_ = false;
  std::uintmax_t bytes_ = 0;
};

constexpr char16_t kSaveTemplate[] = u"data\\save\\bench\\%s";
constexpr char16_t kSaveFolder[] = u"data\\save\\bench";

// The budget a load holds a file of the save to.
std::uint64_t BudgetOf(std::string_view name) { return tr::FileBudgetOf(name, tr::kTextFileBudget); }

double PeakResidentMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // KiB on Linux
}

// The tables a padded save fills to their budget with comment lines that
// every reader skips; airship_attacks.csv is UTF-16 text.
constexpr const char* kPaddedTables[] = {
    "ai_data.csv", "air_units.csv", "cities.csv", "sea_nodes.csv", "cities_supply_info.csv", "cities_convoy_info.csv",
    "commanders.csv", "convoys.csv", "countries.csv", "flags.txt", "fleets.csv", "land_units.csv", "losses.csv",
    "naval_units.csv", "relations.csv", "topography.csv", "unit_names.csv", "airship_attacks.csv",
    "airrecon_units.csv", "auto_events.csv", "unit_state.csv", "ai_memory.csv"};

// Appends comment lines of at most 402 characters (some tables are read in
// lines of 500) until the file holds `size` bytes, written a piece at a time;
// after a last line end each line has its own (flags.txt wants them).
void PadFile(const fs::path& file, std::uint64_t size, bool wide) {
  const std::uint64_t unit = wide ? 2 : 1;
  std::uint64_t left = (size - fs::file_size(file)) / unit;
  bool ended = false;
  {
    std::ifstream in(file, std::ios::binary);
    in.seekg(-static_cast<std::streamoff>(unit), std::ios::end);
    ended = in.get() == '\n';
  }
  std::ofstream out(file, std::ios::binary | std::ios::app);
  std::string line;
  const auto put = [&](char c) {
    line += c;
    if (wide) line += '\0';
  };
  while (left >= 3) {
    const std::uint64_t length = left >= 403 ? 400 : left;
    line.clear();
    if (!ended) {
      put('\r');
      put('\n');
    }
    put('#');
    for (std::uint64_t i = 3; i < length; ++i) put('x');
    if (ended) {
      put('\r');
      put('\n');
    }
    out << line;
    left -= length;
  }
}

// The list written anew for the files as they are, as the game writes it.
bool ListAgain(const fs::path& folder) {
  std::vector<tr::cWrittenFilesRecord::sEntry> entries;
  std::string piece(1 << 20, '\0');
  for (const std::u16string_view name : tr::SaveFileNames()) {
    const fs::path file = folder / fs::path(name);
    std::ifstream in(file, std::ios::binary);
    tr::cFastDigest digest;
    std::uint64_t size = 0;
    while (in.read(piece.data(), static_cast<std::streamsize>(piece.size())) || in.gcount() > 0) {
      digest.Update(std::string_view(piece.data(), static_cast<std::size_t>(in.gcount())));
      size += static_cast<std::uint64_t>(in.gcount());
    }
    entries.push_back({file, size, digest.Value()});
  }
  return tr::WriteSaveManifest(kSaveFolder, entries);
}

void LoadSave(benchmark::State& state, const cSavedGame& game) {
  if (!game.saved()) {
    state.SkipWithError("the save was not written");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(tr::LoadNewScenario(kSaveTemplate, 1));
    state.PauseTiming();
    cSavedGame::Drop();
    state.ResumeTiming();
  }
  state.counters["save_bytes"] = static_cast<double>(game.bytes());
}

void SaveLoaded(benchmark::State& state, const cSavedGame& game) {
  if (!game.saved()) {
    state.SkipWithError("the save was not written");
    return;
  }
  tr::LoadNewScenario(kSaveTemplate, 1);
  for (auto _ : state) {
    if (!tr::gGame->saveContext->SaveGame(u"again", true)) {
      state.SkipWithError("the save failed");
      break;
    }
  }
  cSavedGame::Drop();
  state.counters["save_bytes"] = static_cast<double>(game.bytes());
}

void BM_LoadSampleSave(benchmark::State& state) {
  const cSavedGame game(TR_GAME_DIR, "sample", u"data\\scenarios\\NorthernTide\\%s");
  LoadSave(state, game);
}
void BM_SaveSampleGame(benchmark::State& state) {
  const cSavedGame game(TR_GAME_DIR, "sample", u"data\\scenarios\\NorthernTide\\%s");
  SaveLoaded(state, game);
}
void BM_LoadLargeSave(benchmark::State& state) {
  const cSavedGame game(TR_LARGE_GAME_DIR, "large", u"data\\scenarios\\Large4\\%s");
  LoadSave(state, game);
}
void BM_SaveLargeGame(benchmark::State& state) {
  const cSavedGame game(TR_LARGE_GAME_DIR, "large", u"data\\scenarios\\Large4\\%s");
  SaveLoaded(state, game);
}
// range(0): 0 pads every table to its budget, 1 pads the first a byte past it.
void BM_LoadPaddedSave(benchmark::State& state) {
  const cSavedGame game(TR_GAME_DIR, "padded", u"data\\scenarios\\NorthernTide\\%s");
  const fs::path folder = tr::ResolveGamePath(kSaveFolder);
  const bool past = state.range(0) == 1;
  for (const std::string_view table : kPaddedTables) {
    PadFile(folder / table, BudgetOf(table) + (past && table == kPaddedTables[0] ? 1 : 0),
            table == "airship_attacks.csv");
  }
  if (!game.saved() || !ListAgain(folder)) {
    state.SkipWithError("the padded save was not written");
    return;
  }
  state.counters["rss_before_mib"] = PeakResidentMiB();
  std::uintmax_t bytes = 0;
  for (const auto& entry : fs::directory_iterator(folder)) bytes += entry.file_size();
  for (auto _ : state) {
    bool loaded = false;
    try {
      const tr::cFatalExitThrows throws;
      benchmark::DoNotOptimize(tr::LoadNewScenario(kSaveTemplate, 1));
      loaded = true;
    } catch (const tr::FatalExitError&) {
    }
    state.PauseTiming();
    cSavedGame::Drop();
    state.ResumeTiming();
    if (loaded == past) {
      state.SkipWithError(past ? "a table past its budget loaded" : "the padded save did not load");
      break;
    }
  }
  state.counters["save_bytes"] = static_cast<double>(bytes);
  state.counters["peak_rss_mib"] = PeakResidentMiB();
}

// Appends `head` once, then `unit` (in UTF-16 for a wide table) until the
// file holds as many bytes of it as `budget` (0: the file's own) allows with
// `tail` after them. A numbered unit has its running number in place of '@'.
void FillFile(const fs::path& file, std::string_view unit, bool wide, std::uint64_t budget = 0,
              std::string_view head = {}, std::string_view tail = {}, bool numbered = false) {
  const auto widen = [wide](std::string_view text) {
    std::string piece;
    for (const char c : text) {
      piece += c;
      if (wide) piece += '\0';
    }
    return piece;
  };
  if (budget == 0) budget = BudgetOf(file.filename().string());
  std::ofstream out(file, std::ios::binary | std::ios::app);
  out << widen(head);
  const std::uint64_t room = budget - fs::file_size(file) - widen(head).size() - widen(tail).size();
  if (numbered) {
    const std::size_t at = unit.find('@');
    for (std::uint64_t n = 1, left = room;; ++n) {
      const std::string piece =
          widen(std::string(unit.substr(0, at)) + std::to_string(n) + std::string(unit.substr(at + 1)));
      if (piece.size() > left) break;
      out << piece;
      left -= piece.size();
    }
  } else {
    const std::string piece = widen(unit);
    std::uint64_t left = room / piece.size();
    std::string block;
    while (block.size() < (1u << 20)) block += piece;
    const std::uint64_t perBlock = block.size() / piece.size();
    for (; left >= perBlock; left -= perBlock) out << block;
    out << block.substr(0, static_cast<std::size_t>(left) * piece.size());
  }
  out << widen(tail);
}

// Appends the lines line(0), line(1), ... while the file stays within its budget.
// Returns the count of lines appended.
std::uint64_t FillLines(const fs::path& file, const std::function<std::string(std::uint64_t)>& line) {
  std::uint64_t size = fs::file_size(file);
  const std::uint64_t budget = BudgetOf(file.filename().string());
  std::ofstream out(file, std::ios::binary | std::ios::app);
  std::string block;
  std::uint64_t i = 0;
  for (;; ++i) {
    const std::string next = line(i);
    if (size + next.size() > budget) break;
    size += next.size();
    block += next;
    if (block.size() >= (1u << 20)) {
      out << block;
      block.clear();
    }
  }
  out << block;
  return i;
}

// Reserve units as the game writes them, each of a number of its own.
void FillReserveUnits(const fs::path& folder) {
  // The table ends without a line end: the first row begins with one, as the game writes each.
  const std::uint64_t count = FillLines(folder / "land_units.csv", [](std::uint64_t i) {
    return "\r\n" + std::to_string(1000000 + i) +
           ";D;1;-1;-1;0;1;100;0;0;0;-1;-1;0;-1;-1;1;0.000000;0;0;-1;-1;-1;-1;0;0;0;-1;0;1;-1;-1;0;";
  });
  // The game writes each unit's state too, after the units' lines it holds already.
  const fs::path states = folder / "unit_state.csv";
  std::string text;
  {
    std::ifstream in(states, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::size_t at = std::min(text.find("\r\nMoved;"), text.find("\r\nNode;"));
  if (at == std::string::npos) at = text.size();
  std::string lines;
  for (std::uint64_t i = 0; i < count; ++i) lines += "\r\nLand;" + std::to_string(1000000 + i) + ";0;100;";
  text.insert(at, lines);
  std::ofstream(states, std::ios::binary | std::ios::trunc) << text;
}

// Fronts of as many nodes as a line is split into, each the diagram's first node.
void FillFronts(const fs::path& folder) {
  std::string front = "\r\nFront;1;0;0;0;0;0;0;0;0;0;0;0;4082;";
  for (int i = 0; i < 4082; ++i) front += "0;";
  FillLines(folder / "ai_memory.csv", [&front](std::uint64_t) { return front; });
}

// Empty reports, as many as the budget holds.
void FillReports(const fs::path& folder) {
  const std::uint64_t count = (BudgetOf("reports.dat") - 9) / 32;
  std::string bytes = "Qelv1";
  for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((count >> shift) & 0xFF);
  bytes.append(static_cast<std::size_t>(count) * 32, '\0');
  std::ofstream(folder / "reports.dat", std::ios::binary | std::ios::trunc) << bytes;
}

// The map grown to its budget, 1,000 hexes wide: the save's hexes where they
// were, sea (a hex of no country, no port) around them.
void GrowMap(const fs::path& folder) {
  const fs::path file = folder / "map.qel";
  std::ifstream in(file, std::ios::binary);
  const std::string map{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const auto u16 = [&map](std::size_t at) {
    return static_cast<int>(static_cast<unsigned char>(map[at]) | static_cast<unsigned char>(map[at + 1]) << 8);
  };
  const int width = u16(264);
  const int height = u16(266);
  const auto record = [&](int x, int y) {
    return map.substr(tr::kQelHeaderSize + (static_cast<std::size_t>(y) * width + x) * tr::kQelRecordSize,
                      tr::kQelRecordSize);
  };
  std::string sea;
  for (int i = 0; i < width * height && sea.empty(); ++i) {
    const std::string r = record(i % width, i / width);
    if (r[6] == 0 && r[7] == 0 && (r[35] & 1) == 0) sea = r;
  }
  const int grownWidth = 1000;
  const int grownHeight =
      static_cast<int>((BudgetOf("map.qel") - tr::kQelHeaderSize) / (tr::kQelRecordSize * grownWidth));
  std::string grown = map.substr(0, tr::kQelHeaderSize);
  grown[264] = static_cast<char>(grownWidth & 0xFF);
  grown[265] = static_cast<char>(grownWidth >> 8);
  grown[266] = static_cast<char>(grownHeight & 0xFF);
  grown[267] = static_cast<char>(grownHeight >> 8);
  for (int y = 0; y < grownHeight; ++y) {
    for (int x = 0; x < grownWidth; ++x) grown += x < width && y < height ? record(x, y) : sea;
  }
  std::ofstream(file, std::ios::binary | std::ios::trunc) << grown;
}

// Every file of the save at its budget at once, each in the shape that costs
// a load the most of those measured that still loads: the big tables as
// above, Info.ini of keys, airship_attacks.csv of one line of separators,
// auto_events.csv of comments, flags.txt, topography.csv and the cities' supply and convoy tables of line ends,
// airrecon_units.csv of hexes, and every other table of lines of one
// separator.
void FillEveryFile(const fs::path& folder) {
  GrowMap(folder);
  FillReports(folder);
  FillFronts(folder);
  FillReserveUnits(folder);
  // As many keys as an INI file may hold, then comments; a save names each
  // event once, so its automatic events are padded with comments.
  FillLines(folder / "Info.ini", [](std::uint64_t i) { return i < 4000 ? "k" + std::to_string(i) + "=\r\n" : ";\r\n"; });
  FillLines(folder / "auto_events.csv", [](std::uint64_t) { return std::string("#\r\n"); });
  FillFile(folder / "airship_attacks.csv", ";", true);
  FillFile(folder / "flags.txt", "\r", false);
  // A saved hex names a unit the save holds: the first land unit on the map.
  std::string spotted;
  {
    std::ifstream in(folder / "land_units.csv", std::ios::binary);
    for (std::string line; spotted.empty() && std::getline(in, line);) {
      if (line.empty() || line[0] == '#') continue;
      std::vector<std::string> fields;
      std::size_t from = 0;
      for (std::size_t to; fields.size() < 5 && (to = line.find(';', from)) != std::string::npos; from = to + 1) {
        fields.push_back(line.substr(from, to - from));
      }
      if (fields.size() == 5 && fields[3] != "-1") spotted = fields[3] + ";" + fields[4] + ";\r";
    }
  }
  for (const std::string_view table : kPaddedTables) {
    if (table == "land_units.csv" || table == "ai_memory.csv" || table == "auto_events.csv" ||
        table == "airship_attacks.csv" || table == "flags.txt") {
      continue;
    }
    // Some tables end without a line end, which would leave their last line cut short.
    std::ifstream in(folder / table, std::ios::binary);
    in.seekg(-1, std::ios::end);
    const char last = static_cast<char>(in.get());
    in.close();
    if (last != '\n' && last != '\r') std::ofstream(folder / table, std::ios::binary | std::ios::app) << "\r\n";
    // A saved hex line of airrecon_units.csv holds its two fields; the lines
    // of the cities' tables and topography.csv hold a row, so they take line ends alone.
    const bool rowsOnly = table == "cities_supply_info.csv" || table == "cities_convoy_info.csv" ||
                          table == "topography.csv";
    // A saved hex follows the line of the country it was spotted for.
    const bool recon = table == "airrecon_units.csv";
    FillFile(folder / table, recon ? std::string_view(spotted) : rowsOnly ? "\r" : ";\r", false, 0,
             recon ? "Country;1;\r" : "");
  }
}

struct sSaveShape {
  const char* name;
  const char* table;      // null: every padded table; else the tables, separated by blanks
  std::string_view unit;  // empty: comment lines, or fields of 4 KiB in one table
  bool loads;
  std::string_view head = {};  // FillFile's
  std::string_view tail = {};
  bool numbered = false;
  void (*fill)(const fs::path& folder) = nullptr;  // fills the save in its own way instead
};
// The scenario's events, which the save's load reads from the scenario.
constexpr const char* kScenarioEvents = "../../scenarios/NorthernTide/events.xml";
const sSaveShape kSaveShapes[] = {
    {"comment lines", nullptr, "", true},
    {"bare CR LF line ends", nullptr, "\r\n", true},
    {"bare CR line ends", nullptr, "\r", true},
    {"bare LF line ends", nullptr, "\n", true},
    {"unit_state.csv of CR", "unit_state.csv", "\r", true},
    {"flags.txt of CR", "flags.txt", "\r", true},
    {"airship_attacks.csv (UTF-16) of CR", "airship_attacks.csv", "\r", true},
    {"land_units.csv, one row of 1;", "land_units.csv", "1;", false},
    {"relations.csv, one row of 1;", "relations.csv", "1;", false},
    {"topography.csv, one row of 1;", "topography.csv", "1;", false},
    {"unit_names.csv, one row of 4 KiB fields", "unit_names.csv", "", true},
    {"unit_state.csv, one long line (cut short)", "unit_state.csv", "x", false},
    {"land_units.csv, one row of 4 KiB fields", "land_units.csv", "", false},
    {"file_digests.csv, one line of a;", "file_digests.csv", "a;", false},
    {"Info.ini of k<N>= lines", "Info.ini", "k@=\r\n", false, "", "", true},
    {"Info.ini of [s<N>] lines", "Info.ini", "[s@]\r\n", false, "", "", true},
    {"Info.ini, GameVersion of 16 MiB of digits", "Info.ini", "1", true, "[Save]\r\nGameVersion = ", "\r\n"},
    {"airship_attacks.csv (UTF-16), one line of ;", "airship_attacks.csv", ";", true, "\n"},
    {"airship_attacks.csv (UTF-16) of 1;x; lines", "airship_attacks.csv", "\n1;x;", false},
    {"auto_events.csv of 1;1 lines", "auto_events.csv", "1;1\r\n", false},
    {"unit_names.csv of ;CR lines", "unit_names.csv", ";\r", true},
    {"16 tables of ;CR lines (those a saved game may hold so)",
     "ai_data.csv air_units.csv cities.csv sea_nodes.csv commanders.csv convoys.csv countries.csv fleets.csv "
     "land_units.csv losses.csv naval_units.csv relations.csv unit_names.csv airship_attacks.csv unit_state.csv "
     "ai_memory.csv",
     ";\r", true},
    {"events.xml of <a/>", kScenarioEvents, "<a/>", false},
    {"map.qel grown to its budget", "", "", true, {}, {}, false, GrowMap},
    {"reports.dat of empty reports", "", "", true, {}, {}, false, FillReports},
    {"ai_memory.csv of fronts of 4,082 nodes", "", "", true, {}, {}, false, FillFronts},
    {"land_units.csv of reserve units", "", "", true, {}, {}, false, FillReserveUnits},
    {"every file at its budget at once", "", "", true, {}, {}, false, FillEveryFile},
};

// range(0): the shape in kSaveShapes.
void BM_LoadShapedSave(benchmark::State& state) {
  const sSaveShape& shape = kSaveShapes[state.range(0)];
  state.SetLabel(shape.name);
  const cSavedGame game(TR_GAME_DIR, "shaped", u"data\\scenarios\\NorthernTide\\%s");
  const fs::path folder = tr::ResolveGamePath(kSaveFolder);
  const std::string longFields = std::string(4095, 'x') + ";";
  const bool listShaped = shape.table != nullptr && std::string_view(shape.table) == "file_digests.csv";
  const auto names = [&shape](std::string_view table) {
    if (shape.table == nullptr) return true;
    const std::string_view list = shape.table;
    const std::size_t at = list.find(table);
    return at != std::string_view::npos && (at == 0 || list[at - 1] == ' ') &&
           (at + table.size() == list.size() || list[at + table.size()] == ' ');
  };
  if (shape.fill != nullptr) shape.fill(folder);
  const bool padded = shape.fill != nullptr || std::ranges::any_of(kPaddedTables, names);
  for (const std::string_view table : kPaddedTables) {
    if (shape.fill != nullptr || !names(table)) continue;
    const bool wide = table == "airship_attacks.csv";
    if (shape.unit.empty() && shape.table == nullptr) {
      PadFile(folder / table, BudgetOf(table), wide);
    } else {
      FillFile(folder / table, shape.unit.empty() ? std::string_view(longFields) : shape.unit, wide, 0,
               shape.head, shape.tail, shape.numbered);
    }
  }
  if (!padded && !listShaped) {
    const bool events = shape.table == std::string_view(kScenarioEvents);
    FillFile(folder / shape.table, shape.unit, false, events ? 8 * tr::kMiB : 0, shape.head,
             shape.tail, shape.numbered);
  }
  if (!game.saved() || !ListAgain(folder)) {
    state.SkipWithError("the shaped save was not written");
    return;
  }
  if (listShaped) {
    std::ofstream(folder / fs::path(tr::kSaveManifestFile), std::ios::binary | std::ios::trunc).close();
    FillFile(folder / fs::path(tr::kSaveManifestFile), shape.unit, false);
  }
  const double atFork = PeakResidentMiB();
  double peak = 0;
  for (auto _ : state) {
    const pid_t child = fork();
    if (child == 0) {
      bool loaded = false;
      try {
        const tr::cFatalExitThrows throws;
        loaded = tr::LoadNewScenario(kSaveTemplate, 1) != nullptr;
      } catch (const tr::FatalExitError&) {
      }
      _exit(loaded ? 0 : 1);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status)) {
      state.SkipWithError("the load's process failed");
      break;
    }
    state.SetIterationTime(static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6);
    peak = std::max(peak, static_cast<double>(usage.ru_maxrss) / 1024.0);
    if ((WEXITSTATUS(status) == 0) != shape.loads) {
      state.SkipWithError(shape.loads ? "the shaped save did not load" : "the shaped save loaded");
      break;
    }
  }
  state.counters["peak_rss_mib"] = peak;
  state.counters["rss_at_fork_mib"] = atFork;
}

// A list of the sample's save with range(0) lines more, each naming a file
// of its own, under a closing line that holds; range(0) = 0 fills the list
// to its budget. Each judging must end within a second.
void BM_JudgeLongList(benchmark::State& state) {
  const cSavedGame game(TR_GAME_DIR, "list", u"data\\scenarios\\NorthernTide\\%s");
  const fs::path folder = tr::ResolveGamePath(kSaveFolder);
  const fs::path listFile = folder / fs::path(tr::kSaveManifestFile);
  std::ifstream in(listFile, std::ios::binary);
  const std::string list{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::string covered = list.substr(0, list.rfind("#end;"));
  const std::string digest = tr::FastDigestHex(0);
  const std::size_t lines = state.range(0) > 0 ? static_cast<std::size_t>(state.range(0)) : SIZE_MAX;
  const std::size_t room = BudgetOf("file_digests.csv") - 64;
  for (std::size_t i = 0; i < lines; ++i) {
    std::string line = std::to_string(i);
    line += ".csv;1;" + digest + ";\r\n";
    if (covered.size() + line.size() > room) break;
    covered += line;
  }
  const int count = static_cast<int>(std::count(covered.begin(), covered.end(), '\n')) - 1;
  std::ofstream(listFile, std::ios::binary | std::ios::trunc)
      << covered + "#end;" + std::to_string(count) + ";" + tr::FastDigestHex(tr::FastDigest(covered)) + ";\r\n";
  for (auto _ : state) benchmark::DoNotOptimize(tr::CheckSaveManifest(kSaveFolder));
  state.counters["list_bytes"] = static_cast<double>(fs::file_size(listFile));
  state.counters["list_lines"] = count;
}

BENCHMARK(BM_LoadSampleSave)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_SaveSampleGame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_LoadLargeSave)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_SaveLargeGame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_LoadPaddedSave)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(3);
BENCHMARK(BM_LoadShapedSave)
    ->DenseRange(0, static_cast<int>(std::size(kSaveShapes)) - 1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK(BM_JudgeLongList)->Arg(30000)->Arg(100000)->Arg(200000)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
