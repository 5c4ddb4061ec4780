// Writes the seed inputs of every fuzz target into <output>/<target>/: the
// text files are copies of the shipped data and of the small hand-made seeds
// under tests/fuzz/seeds, the binary ones are made here by the writers the
// game itself uses, so no opaque file is kept in the sources.
//
// Usage: make_fuzz_seeds <source folder> <output folder> [--near-budget]
// With --near-budget only the shaped seeds of tests/fuzz/seeds/shapes.txt
// are written, each grown to its file's budget.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "foundation/file_budgets.h"
#include "foundation/file_read.h"
#include "foundation/string_base_file.h"
#include "foundation/text.h"
#include "fuzz_support.h"
#include "scenario/save_game.h"
#include "scenario/reports.h"
#include "world/byte_io.h"
#include "world/hex.h"
#include "world/map_records.h"

namespace fs = std::filesystem;
using namespace tr;

namespace {

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", file.c_str());
    std::exit(1);
  }
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteSeed(const fs::path& folder, const std::string& name, const std::string& bytes) {
  fs::create_directories(folder);
  std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", (folder / name).c_str());
    std::exit(1);
  }
}

void CopySeeds(const fs::path& folder, const fs::path& source, const std::vector<std::string>& files) {
  for (const std::string& file : files) WriteSeed(folder, fs::path(file).filename().string(), ReadFile(source / file));
}

// The hand-made seeds of a target, when it has any.
void CopyHandMadeSeeds(const fs::path& folder, const fs::path& source, const std::string& target) {
  const fs::path seeds = source / "tests/fuzz/seeds" / target;
  if (!fs::is_directory(seeds)) return;
  for (const auto& entry : fs::directory_iterator(seeds)) {
    if (entry.is_regular_file()) WriteSeed(folder, entry.path().filename().string(), ReadFile(entry.path()));
  }
}

// The sample's countries as editors and stray programs change them: a
// byte-order mark, CR-only line ends, two rows on one line, numbers the
// readers would read by their first digits, and a row of exactly 65,536
// fields (a count that once wrapped to 0).
void OddCountryTables(const fs::path& folder, const std::string& countries) {
  WriteSeed(folder, "bom_countries.csv", "\xEF\xBB\xBF" + countries);
  std::string crOnly = countries;
  std::erase(crOnly, '\n');
  WriteSeed(folder, "cr_only_countries.csv", crOnly);
  // The last line end of the first data row is lost.
  std::size_t rowEnd = countries.find("\r\n1;");
  if (rowEnd != std::string::npos) rowEnd = countries.find("\r\n", rowEnd + 2);
  if (rowEnd != std::string::npos) {
    WriteSeed(folder, "joined_countries.csv", countries.substr(0, rowEnd) + countries.substr(rowEnd + 2));
  }
  WriteSeed(folder, "odd_numbers.csv", "#ID;A;B\r\n0x17;1.4e1;1e38;99999999999;-;+;.;1e;12abc;\r\n");
  std::string wide = "1;";
  for (int i = 1; i < 65536; ++i) wide += "7;";
  WriteSeed(folder, "row_of_65536_fields.csv", wide + "\r\n");
}

// A string base of the first texts of the English source, and the same cut short.
void StringBaseSeeds(const fs::path& folder, const fs::path& source) {
  std::vector<std::string> errors;
  std::vector<sStringBaseEntry> entries = ParseStringBaseSource(ReadFile(source / "data/texts/lang_ENG.txt"), errors);
  if (entries.size() > 24) entries.resize(24);
  entries.push_back({"units_%s", u"Caf\u00E9 %s \U0001F600"});
  const std::string bytes = EncodeStringBase(entries, errors);
  WriteSeed(folder, "texts.db", bytes);
  WriteSeed(folder, "cut.db", bytes.substr(0, bytes.size() / 2));
  WriteSeed(folder, "empty.db", EncodeStringBase({}, errors));
}

// Hexes of every kind the records hold: land and sea, rivers, ports, owners, weather.
sHex SampleHex(int x, int y) {
  sHex hex;
  hex.x = static_cast<std::int16_t>(x);
  hex.y = static_cast<std::int16_t>(y);
  const int k = x + 3 * y;
  hex.terrain = static_cast<std::uint8_t>(k % 2 == 0 ? 1 + k % 7 : 0);
  hex.rivers = static_cast<std::uint8_t>(k % 3 == 0 ? 5 : 0);
  hex.controller = hex.owner = hex.originalOwner = static_cast<std::uint8_t>(hex.terrain != 0 ? 1 + k % 3 : 0);
  hex.seaZone = static_cast<std::uint16_t>(hex.terrain == 0 ? 1 + k % 2 : 0);
  hex.port = static_cast<std::uint8_t>(k == 2 ? 3 : 0);
  hex.fortLevel = static_cast<std::uint8_t>(k % 4);
  hex.weather = k % 3;
  for (int m = 0; m < 12; ++m) {
    hex.mudChance[m] = static_cast<std::uint8_t>(10 * m);
    hex.winterChance[m] = static_cast<std::uint8_t>(120 - 10 * m);
  }
  return hex;
}

std::string QelMap(int width, int height) {
  std::string out("Qelv1", 5);
  std::string comment(255, '\0');
  comment.replace(0, 12, "Fuzzing seed");
  out += comment;
  AppendF32(out, 1.0f);
  AppendU16(out, static_cast<std::uint16_t>(width));
  AppendU16(out, static_cast<std::uint16_t>(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) AppendQelHexRecord(out, SampleHex(x, y));
  }
  return out;
}

// An older-format map: plain land of country 1 with some sea hexes.
std::string HmfMap(int width, int height) {
  std::string bytes(kHmfHeaderSize, '\0');
  std::string size;
  AppendU32(size, static_cast<std::uint32_t>(width));
  AppendU32(size, static_cast<std::uint32_t>(height));
  bytes.replace(4132, 8, size);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::string record(kHmfRecordSize, '\0');
      const bool sea = (x + y) % 3 == 2;
      record[0] = sea ? 0 : 1;
      record[3] = record[4] = record[5] = 1;
      record[12] = 7;
      record[13] = sea ? 4 : 0;
      record[14] = 2;
      bytes += record;
    }
  }
  return bytes;
}

std::string Reports() {
  cReportList list;
  list.Add(sReport{1, 1939, 9, 1, 1, 1, 1, u"Warsaw is besieged"}, {});
  list.Add(sReport{25, 1940, 5, 12, 9, 2, 0, u"Caf\u00E9 \U0001F600 %s %i"}, {1940, 5, 12, 9});
  list.Add(sReport{7, 1941, 12, 31, 60, 3, 1, u""}, {1941, 12, 31, 60});
  return list.Serialize();
}

// The seeds of a save's files, from a save of the sample the game wrote:
// each file of it for the whole-save target (its first byte picks the file),
// and the files that have targets of their own.
void SaveSeeds(const fs::path& out) {
  const fs::path save = fuzz::GameFolder() / "data/save" / fuzz::SampleSave();
  const std::vector<std::u16string_view> names = SaveFileNames();
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string name = Utf16ToUtf8(names[i]);
    WriteSeed(out / "saved_game", name, std::string(1, static_cast<char>(i)) + ReadFile(save / name));
  }
  CopySeeds(out / "unit_state", save, {"unit_state.csv"});
  CopySeeds(out / "ai_memory", save, {"ai_memory.csv"});
  const std::string info = ReadFile(save / "Info.ini");
  WriteSeed(out / "save_info", "save_info.ini", info);
  WriteSeed(out / "save_info", "pbem_info.ini",
            info + "\r\n[Save]\r\nPBEMGameName = F\r\nPBEMPlayer1Name = Anna\r\nPBEMPlayer1Email = anna@example.org\r\n"
                   "PBEMPlayer2Name = Ben\r\nPBEMPlayer2Email = ben@example.org\r\n");
  WriteSeed(out / "save_manifest", "list.csv", fuzz::ListOfSaveFolder(false));
  WriteSeed(out / "save_manifest", "md5_list.csv", fuzz::ListOfSaveFolder(true));
}

[[noreturn]] void BadRecipe(int line, const char* why) {
  std::fprintf(stderr, "shapes.txt line %i: %s\n", line, why);
  std::exit(1);
}

// A recipe's text with its escapes (\r \n \t \\ \xHH) turned into bytes.
std::string Unescaped(std::string_view text, int line) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      bytes += text[i];
      continue;
    }
    if (++i == text.size()) BadRecipe(line, "a text ends in '\\'");
    switch (text[i]) {
      case 'r': bytes += '\r'; break;
      case 'n': bytes += '\n'; break;
      case 't': bytes += '\t'; break;
      case '\\': bytes += '\\'; break;
      case 'x': {
        unsigned value = 0;
        if (i + 2 >= text.size() ||
            std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16).ptr != text.data() + i + 3) {
          BadRecipe(line, "\\x takes two hex digits");
        }
        bytes += static_cast<char>(value);
        i += 2;
        break;
      }
      default: BadRecipe(line, "unknown escape");
    }
  }
  return bytes;
}

// The repeated text with its counters filled in for repetition n.
std::string Counted(std::string_view text, long n, int line) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != '{') {
      out += text[i++];
      continue;
    }
    const std::size_t close = text.find('}', i);
    if (close == std::string_view::npos || text.substr(i, 2) != "{n") BadRecipe(line, "a '{' that is no counter");
    long base = 0;
    if (text[i + 2] == ':' && std::from_chars(text.data() + i + 3, text.data() + close, base).ptr != text.data() + close) {
      BadRecipe(line, "a counter's base is no number");
    }
    out += std::to_string(base + n);
    i = close + 1;
  }
  return out;
}

std::string Utf16Le(const std::string& bytes) {
  std::string wide;
  for (const char c : bytes) {
    wide += c;
    wide += '\0';
  }
  return wide;
}

// Writes the seeds of the recipes in tests/fuzz/seeds/shapes.txt: each at
// its own size, or (nearBudget) grown to the budget of the targets' files.
void ShapedSeeds(const fs::path& out, const fs::path& source, bool nearBudget) {
  static const std::set<std::string> kTextBudgetTargets{"saved_game", "save_info", "save_manifest", "csv_reader",
                                                        "unit_state", "ai_memory"};
  static const std::map<std::string, std::string> kTargetFiles{{"save_info", "Info.ini"},
                                                               {"save_manifest", "file_digests.csv"},
                                                               {"unit_state", "unit_state.csv"},
                                                               {"ai_memory", "ai_memory.csv"}};
  const fs::path save = fuzz::GameFolder() / "data/save" / fuzz::SampleSave();
  const std::vector<std::u16string_view> names = SaveFileNames();
  std::istringstream recipes(ReadFile(source / "tests/fuzz/seeds/shapes.txt"));
  std::string text;
  for (int line = 1; std::getline(recipes, text); ++line) {
    if (text.empty() || text[0] == '#') continue;
    std::vector<std::string> f;
    std::size_t at = 0;
    for (std::size_t tab; (tab = text.find('\t', at)) != std::string::npos; at = tab + 1) {
      f.push_back(text.substr(at, tab - at));
    }
    f.push_back(text.substr(at));
    if (f.size() != 7 && !(f.size() == 8 && f[7] == "utf16")) BadRecipe(line, "not 7 fields (or 8, the last utf16)");
    const std::string& target = f[0];
    const bool wide = f.size() == 8;
    std::size_t size = 0;
    if (std::from_chars(f[5].data(), f[5].data() + f[5].size(), size).ptr != f[5].data() + f[5].size()) {
      BadRecipe(line, "the size is no number");
    }
    // A seed stands at most at its file's own budget, and with --near-budget
    // just there; the CSV reader's at the most a text file may hold.
    const std::string file = target == "saved_game" ? f[2] : kTargetFiles.contains(target) ? kTargetFiles.at(target) : "";
    const std::size_t budget = static_cast<std::size_t>(FileBudgetOf(file, kTextFileBudget));
    if (nearBudget) {
      if (kTextBudgetTargets.count(target) == 0) continue;
      size = budget;
    } else {
      size = std::min(size, budget);
    }
    const auto encoded = [wide](const std::string& bytes) { return wide ? Utf16Le(bytes) : bytes; };
    std::string bytes;
    std::string start = f[3];
    if (start.starts_with("@save")) {
      if (f[2] == "-") BadRecipe(line, "@save without a file of the save");
      bytes = ReadFile(save / f[2]);
      start.erase(0, 5);
    }
    bytes += encoded(Unescaped(start, line));
    const std::string end = encoded(Unescaped(f[6], line));
    const std::string repeated = Unescaped(f[4], line);
    if (repeated.empty()) BadRecipe(line, "nothing to repeat");
    for (long n = 1;; ++n) {
      const std::string piece = encoded(Counted(repeated, n, line));
      if (bytes.size() + piece.size() + end.size() > size) break;
      bytes += piece;
    }
    bytes += end;
    if (target == "saved_game") {
      std::size_t index = 0;
      while (index < names.size() && Utf16ToUtf8(names[index]) != f[2]) ++index;
      if (index == names.size()) BadRecipe(line, "no file of a save has that name");
      bytes.insert(bytes.begin(), static_cast<char>(index));
    }
    WriteSeed(out / target, f[1], bytes);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool nearBudget = argc == 4 && std::string_view(argv[3]) == "--near-budget";
  if (argc != 3 && !nearBudget) {
    std::fprintf(stderr, "usage: make_fuzz_seeds <source folder> <output folder> [--near-budget]\n");
    return 2;
  }
  const fs::path source = argv[1];
  const fs::path out = argv[2];
  if (nearBudget) {
    ShapedSeeds(out, source, true);
    return 0;
  }
  const std::string sample = "data/scenarios/NorthernTide/";

  CopySeeds(out / "csv_reader", source,
            {sample + "countries.csv", sample + "cities.csv", sample + "fleets.csv", sample + "commanders.csv"});
  CopySeeds(out / "ini_file", source, {"data/Settings.ini", sample + "Info.ini"});
  CopySeeds(out / "gui_layout", source, {"data/GUI_1024x768.csv"});
  CopySeeds(out / "event_xml", source, {sample + "events.xml"});
  // Nested far deeper than any event, as a file that once ran the parser out
  // of stack; made here rather than kept, at 90 KB.
  std::string deep = "<events>";
  for (int i = 0; i < 30000; ++i) deep += "<a>";
  WriteSeed(out / "event_xml", "deep.xml", deep);
  // The same behind a tag whose name holds a quote, which once hid the
  // nesting from the depth scan: the 210 KB file that ran the parser out of
  // stack, and a 54 KB one that took seconds to parse.
  for (const auto& [name, levels] : {std::pair{"quote_in_tag_name.xml", 70000}, std::pair{"quote_slow.xml", 17714}}) {
    std::string hidden = "<events><'a>";
    for (int i = 0; i < levels; ++i) hidden += "<a>";
    WriteSeed(out / "event_xml", name, hidden);
  }
  StringBaseSeeds(out / "string_base", source);
  WriteSeed(out / "map_file", "small.qel", QelMap(3, 2));
  WriteSeed(out / "map_file", "row.qel", QelMap(5, 1));
  WriteSeed(out / "map_convert", "small.hmf", HmfMap(3, 2));
  WriteSeed(out / "map_convert", "square.hmf", HmfMap(2, 2));
  WriteSeed(out / "reports", "reports.dat", Reports());
  OddCountryTables(out / "csv_reader", ReadFile(source / sample / "countries.csv"));
  SaveSeeds(out);
  for (const char* target : {"csv_reader", "ini_file", "gui_layout", "event_xml", "string_base", "map_file",
                             "map_convert", "reports", "ai_memory", "unit_state"}) {
    CopyHandMadeSeeds(out / target, source, target);
  }
  // The INI files a received save or turn brings are a save's Info.ini too.
  CopyHandMadeSeeds(out / "save_info", source, "ini_file");
  ShapedSeeds(out, source, false);
  return 0;
}
