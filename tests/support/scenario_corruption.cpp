#include "support/scenario_corruption.h"

#include <cctype>
#include <fstream>
#include <sstream>

#include "ai/autoplay.h"
#include "foundation/fatal.h"
#include "foundation/random.h"
#include "support/game_run_scope.h"
#include "support/temp_dir.h"
#include "turn/game_steps.h"
#include "world/gra.h"
#include "world/scenario_check.h"
#include "support/temp_dir.h"

namespace tr::test {
namespace {

namespace fs = std::filesystem;

// The tables a scenario folder holds, read by the load.
const char* const kTables[] = {"land_units.csv", "air_units.csv",  "naval_units.csv",    "fleets.csv",
                               "commanders.csv", "cities.csv",     "countries.csv",      "unit_names.csv",
                               "convoys.csv",    "sea_nodes.csv",  "sea_edges.csv",      "relations.csv",
                               "losses.csv",     "ai_data.csv",    "cities_diagram.csv", "flags.txt",
                               "Info.ini",       "topography.csv", "cities_supply_info.csv", "cities_convoy_info.csv",
                               "consts.csv"};
// The tables whose rows other tables point to by number, or which must hold one row per object.
const char* const kLinkedTables[] = {"land_units.csv", "air_units.csv", "naval_units.csv", "fleets.csv",
                                     "commanders.csv", "cities.csv",    "convoys.csv",     "sea_nodes.csv"};

const char* const kWholeValues[] = {"2147483647", "-2147483648", "-1", "0", "2", "1000000"};
const char* const kFractionValues[] = {"1e300", "-1e300"};

struct sLines {
  std::vector<std::string> lines;  // without their '\n'
  std::vector<std::size_t> data;   // indexes of the data rows
};

sLines ReadLines(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  const std::string text = bytes.str();
  sLines result;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    result.lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  for (std::size_t i = 0; i < result.lines.size(); ++i) {
    const std::string& line = result.lines[i];
    if (line.empty() || line == "\r" || line[0] == '#' || line[0] == '[') continue;
    result.data.push_back(i);
  }
  return result;
}

void WriteLines(const fs::path& file, const std::vector<std::string>& lines) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out << '\n';
    out << lines[i];
  }
}

// "Key=Value" lines of the INI files, ';'-separated fields elsewhere.
char SeparatorOf(const std::string& file) { return file.ends_with(".ini") ? '=' : ';'; }

std::vector<std::string> SplitFields(const std::string& line, char separator) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = line.find(separator, start);
    fields.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return fields;
}

std::string JoinFields(const std::vector<std::string>& fields, char separator) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += separator;
    line += fields[i];
  }
  return line;
}

// A decimal number as the tables write it: "-12", "3.500000", with the row's CR.
bool IsNumberField(std::string field) {
  if (!field.empty() && field.back() == '\r') field.pop_back();
  while (!field.empty() && field.back() == ' ') field.pop_back();
  while (!field.empty() && field.front() == ' ') field.erase(field.begin());
  std::size_t i = !field.empty() && field[0] == '-' ? 1 : 0;
  const std::size_t digits = i;
  while (i < field.size() && std::isdigit(static_cast<unsigned char>(field[i]))) ++i;
  if (i == digits) return false;
  if (i < field.size() && field[i] == '.') {
    const std::size_t fraction = ++i;
    while (i < field.size() && std::isdigit(static_cast<unsigned char>(field[i]))) ++i;
    if (i == fraction) return false;
  }
  return i == field.size();
}

void AddValueCorruptions(const std::string& file, int row, const std::string& line, std::vector<sCorruption>& out) {
  const std::vector<std::string> fields = SplitFields(line, SeparatorOf(file));
  for (std::size_t k = 0; k < fields.size(); ++k) {
    if (!IsNumberField(fields[k])) continue;
    auto add = [&](const char* value) {
      out.push_back({sCorruption::Kind::kValue, file, row, static_cast<int>(k), value});
    };
    for (const char* value : kWholeValues) add(value);
    if (fields[k].find('.') != std::string::npos) {
      for (const char* value : kFractionValues) add(value);
    }
  }
}

}  // namespace

std::string sCorruption::Describe() const {
  std::string text = file + " row " + std::to_string(row);
  switch (kind) {
    case Kind::kValue:
      return text + " field " + std::to_string(field) + " = " + value;
    case Kind::kDoubleRow:
      return text + " doubled";
    case Kind::kDropRow:
      return text + " dropped";
  }
  return text;
}

std::vector<sCorruption> ListCorruptions(const fs::path& scenario_folder) {
  std::vector<sCorruption> all;
  for (const char* file : kTables) {
    const sLines table = ReadLines(scenario_folder / file);
    if (table.data.empty()) continue;
    const int last = static_cast<int>(table.data.size()) - 1;
    // An INI file has one value per line, and each line of the constants its own meaning.
    const bool everyRow = SeparatorOf(file) == '=' || std::string_view(file) == "consts.csv";
    for (int row = 0; row <= last; ++row) {
      if (row == 0 || row == last || everyRow) AddValueCorruptions(file, row, table.lines[table.data[row]], all);
    }
  }
  for (const char* file : kLinkedTables) {
    const sLines table = ReadLines(scenario_folder / file);
    for (int row = 0; row < static_cast<int>(table.data.size()); ++row) {
      all.push_back({sCorruption::Kind::kDoubleRow, file, row, 0, {}});
      all.push_back({sCorruption::Kind::kDropRow, file, row, 0, {}});
    }
  }
  return all;
}

bool ApplyCorruption(const fs::path& scenario_folder, const sCorruption& corruption) {
  const fs::path file = scenario_folder / corruption.file;
  sLines table = ReadLines(file);
  if (corruption.row < 0 || corruption.row >= static_cast<int>(table.data.size())) return false;
  const std::size_t index = table.data[corruption.row];
  switch (corruption.kind) {
    case sCorruption::Kind::kValue: {
      const char separator = SeparatorOf(corruption.file);
      std::vector<std::string> fields = SplitFields(table.lines[index], separator);
      if (corruption.field < 0 || corruption.field >= static_cast<int>(fields.size())) return false;
      std::string& field = fields[corruption.field];
      const bool carriageReturn = !field.empty() && field.back() == '\r';
      const bool blank = !field.empty() && field.front() == ' ';  // "Key = value"
      field = (blank ? " " : "") + corruption.value + (carriageReturn ? "\r" : "");
      table.lines[index] = JoinFields(fields, separator);
      break;
    }
    case sCorruption::Kind::kDoubleRow: {
      // The copy goes to the end, where a later duplicate is met last.
      std::string copy = table.lines[index];
      if (!copy.empty() && copy.back() != '\r') copy += '\r';
      if (!table.lines.back().empty() && table.lines.back().back() != '\r') table.lines.back() += '\r';
      table.lines.push_back(copy);
      break;
    }
    case sCorruption::Kind::kDropRow:
      table.lines.erase(table.lines.begin() + static_cast<std::ptrdiff_t>(index));
      break;
  }
  WriteLines(file, table.lines);
  return true;
}

bool MakeBaseSave(const fs::path& root, const std::string& scenario) {
  CopyBuiltScenario(root, scenario);
  std::ostringstream out;
  std::ostringstream errors;
  if (RunAutoplay({"--root", root.string(), "--scenario", scenario, "--impulses", "2", "--seed", "5", "--save-as",
                   kBaseSave, "--clock", "2011-03-04 09:30"},
                  out, errors) != 0) {
    return false;
  }
  // Without the list of its files' digests, as an older save: with it, every
  // change would be refused before a reader met it.
  MakeOlderSave(root / "data/save" / kBaseSave);
  return !fs::exists(root / "data/save" / kBaseSave / "file_digests.csv");
}

std::string PlayCorrupted(const fs::path& root, const std::string& scenario, const sCorruption& corruption,
                          int impulses, std::string* outcome, bool inSave) {
  std::string ignored;
  if (!outcome) outcome = &ignored;
  if (inSave) {
    if (!MakeBaseSave(root, scenario)) return "the base save failed";
  } else {
    CopyBuiltScenario(root, scenario);
  }
  const fs::path folder = inSave ? root / "data/save" / kBaseSave : root / "data/scenarios" / scenario;
  if (!ApplyCorruption(folder, corruption)) return "the corruption does not apply";
  // Declared first so the game, which writes its settings when freed, goes
  // while the root is still the copy's.
  const ScopedGameRoot gameRoot(root);
  GameRunScope scope;
  sGameFolderArgs args;
  args.root = root.string();
  (inSave ? args.save : args.scenario) = inSave ? kBaseSave : scenario;
  SeedRandom(1);
  cGame* const before = gGame;
  try {
    scope.game.reset(LoadGameFolder(args));
  } catch (const FatalExitError&) {
    // The game the refused load had begun is freed with the scope.
    if (gGame != before) scope.game.reset(gGame);
    *outcome = "refused at load";
    return {};
  }
  try {
    cAutoplay play(*scope.game);
    while (play.impulsesRun() < impulses && play.PlayImpulse()) {
    }
    *outcome = "played " + std::to_string(play.impulsesRun()) + " impulses";
    if (!play.violation().empty()) return "invariant broken " + play.violation();
  } catch (const FatalExitError& error) {
    return "fatal exit " + std::to_string(error.code()) + " during play";
  }
  return {};
}

}  // namespace tr::test
