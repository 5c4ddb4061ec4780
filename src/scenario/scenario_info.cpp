#include "scenario/scenario_info.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

#include "foundation/console_log.h"
#include "foundation/file_budgets.h"
#include "foundation/file_read.h"
#include "foundation/format.h"
#include "foundation/ini_file.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "foundation/version.h"
#include "scenario/pbem_game_name.h"
#include "scenario/pbem_player.h"
#include "scenario/save_manifest.h"
#include "scenario/saved_info.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"
#include "scenario/table_writer.h"
#include "world/file_io.h"
#include "world/gra.h"

namespace tr {
namespace {

// Stored minus one; outside 1..5 the fallback.
int CounterSize(int value, int fallback) {
  return value >= 2 && value <= 6 ? value - 1 : fallback;
}

// The key's number when it lies in [low, high]; else logged and the fallback.
int RangedInt(cIniFile& ini, std::string_view key, int missing, int low, int high, int fallback,
              std::u16string_view path) {
  const int value = ini.GetInt(key, missing);
  if (value >= low && value <= high) return value;
  LogFormat(u"WARNING: %s (%i) in %s is outside %i to %i; %i used", std::string(key), value, path, low, high,
            fallback);
  return fallback;
}

std::string PlayerKey(int number, const char* what) {
  return "Save/PBEMPlayer" + std::to_string(number) + what;
}

// The save writes every line of "Info.ini" with its line end, and each key
// as the table of its keys declares it: a saved game's file otherwise was cut
// or changed on its way.
void CheckSavedInfo(cIniFile& ini, std::u16string_view path) {
  const std::optional<std::string> bytes = ReadWholeFile(ResolveGamePath(path));
  if (!bytes || bytes->empty()) RefuseDamagedTable(path, 0, u"is empty");
  if (bytes->back() != '\n' && bytes->back() != '\r') RefuseDamagedTable(path, 0, u"ends inside a line (cut short?)");
  // The reader stops at a NUL byte, which no save holds.
  if (const std::size_t nul = bytes->find('\0'); nul != std::string::npos) {
    const auto line = std::count(bytes->begin(), bytes->begin() + static_cast<std::ptrdiff_t>(nul), '\n') + 1;
    RefuseDamagedTable(path, static_cast<int>(line), u"holds a NUL byte, which the game never writes");
  }
  if (ini.CutAtLine() != 0) {
    RefuseDamagedTable(path, ini.CutAtLine(),
                       Format(u"adds a key or section past the %i the game writes at most",
                              static_cast<int>(cIniFile::kMostEntries)));
  }
  CheckSavedInfoKeys(ini, path);
}

// The numbering counters of the game, each with its key in the save: a save
// keeps them, as the numbers of objects destroyed before it are not given out
// again by the game that was saved.
struct sCounterKey {
  std::string_view key;
  std::int32_t cGame::*counter;
};
constexpr sCounterKey kCounterKeys[] = {
    {"Save/LastFleetId", &cGame::nextFleetId},         {"Save/LastNavalUnitId", &cGame::nextNavalUnitId},
    {"Save/LastLandUnitId", &cGame::nextLandUnitId},   {"Save/LastAirUnitId", &cGame::nextAirUnitId},
    {"Save/LastConvoyId", &cGame::nextConvoyId}};
// The month whose once-a-month steps last ran.
constexpr std::string_view kLastMonthKey = "Save/LastMonthProcessed";

// A save's Info.ini before its own keys: the scenario's file; a name that is
// no folder name has none.
cIniFile SaveInfoOf(const cGame& game) {
  cIniFile ini;
  if (IsSafeFileName(game.scenarioName)) ini.Load(ScenarioFilePath(game.scenarioName, u"Info.ini"));
  return ini;
}

// The Info.ini a save of the game writes at its largest: every key of the
// save at its widest, as a game of eight players by e-mail, whatever the game
// reaches.
cIniFile WidestSaveInfo(const cGame& game) {
  cIniFile ini = SaveInfoOf(game);
  SetSavedInfoKeys(ini, game, {});
  for (const sSavedInfoKey& key : SavedInfoKeys()) {
    if (key.kind == eSavedValue::kText && key.write) continue;
    if (key.key == kLengthKey && !ini.HasKey(kLengthKey)) continue;
    ini.SetString(key.key, std::u16string(WidestSavedValue(key), u'0'));
  }
  for (int i = 1; i <= kMaxPbemPlayers; ++i) {
    ini.SetString(PlayerKey(i, "Name"), std::u16string(kMaxNameLength, u'n'));
    ini.SetString(PlayerKey(i, "Email"), std::u16string(kMaxNameLength, u'e'));
  }
  return ini;
}

// A scenario is played only when every save of its game fits what the load
// of a save reads: refused at its start, not at a save in the middle of the war.
void CheckScenarioCanBeSaved(const cGame& game, std::u16string_view path) {
  const cIniFile ini = WidestSaveInfo(game);
  const std::uint64_t budget = FileBudgetOf(u"Info.ini", kTextFileBudget);
  const std::uint64_t bytes = ini.SaveText().size();
  if (ini.EntryCount() <= cIniFile::kMostEntries && bytes <= budget) return;
  LogFormat(u"ERROR: %s is too large to be saved with a game: with the keys a save adds it would hold %i keys and "
            u"sections (at most %i) and %lli bytes (at most %lli); the scenario is not started",
            path, static_cast<int>(ini.EntryCount()), static_cast<int>(cIniFile::kMostEntries),
            static_cast<long long>(bytes), static_cast<long long>(budget));
  ExitDestroyingGame(1);
}

}  // namespace

void PushBackSetupRecord(std::vector<sPbemPlayer>& players, std::int32_t number, std::u16string_view name,
                         std::u16string_view email) {
  players.push_back({number, CutName(name), CutName(email)});
}

std::vector<sPbemPlayer> ReadPbemPlayers(cIniFile& info) {
  std::vector<sPbemPlayer> players;
  for (int i = 1; i <= kMaxPbemPlayers; ++i) {
    const std::string nameKey = PlayerKey(i, "Name");
    const std::string emailKey = PlayerKey(i, "Email");
    if (!info.HasKey(nameKey) || !info.HasKey(emailKey)) break;
    PushBackSetupRecord(players, i, info.GetString(nameKey, u""), info.GetString(emailKey, u""));
  }
  return players;
}

sUnitCounterSizes& UnitCounterSizes() {
  static sUnitCounterSizes sizes;
  return sizes;
}

sLocalTime CurrentLocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
}

void LoadScenarioInfo(cGame& game, std::u16string_view folder_template) {
  const std::u16string path = FolderFilePath(folder_template, u"Info.ini");
  cIniFile ini;
  if (!ini.Load(path)) {
    LogFormat(u"ERROR: %s cannot be read; the game is not loaded", path);
    ExitDestroyingGame(1);
  }
  if (game.loadedGame == 1) CheckSavedInfo(ini, path);

  game.date.impulse = RangedInt(ini, "Save/Impulse", 0, 0, kMaxImpulse, 0, path);
  game.date.month = ini.GetInt("Save/GameMonth", 0);
  game.date.year = ini.GetInt("Save/GameYear", 0);
  // The calendar runs from year 1; a year that is not one gives no months to play.
  if (game.date.year < 1 || game.date.year > kMaxYear) {
    // As written: a scenario's text reads as year 0.
    const std::u16string year = ini.GetString("Save/GameYear", u"");
    LogFormat(u"ERROR: Save/GameYear (%s) in %s is not a year from 1 to %i; the game is not loaded", year, path,
              kMaxYear);
    // The last line is the one the player is shown: the same in the player's words.
    LogFormat(u"ERROR: %s gives the year of the game as %s, not a year from 1 to %i; the game is not loaded", path,
              year, kMaxYear);
    ExitDestroyingGame(1);
  }
  if (game.date.month < 1 || game.date.month > 12) {
    LogFormat(u"WARNING: Save/GameMonth (%i) in %s is not a month from 1 to 12", game.date.month, path);
    // 0, a scenario's "not started", turns into January at the first impulse; other months are January now.
    if (game.date.month != 0) game.date.month = 1;
  }
  // Every folder names the scenario whose tables and events it plays with.
  if (!ini.HasKey("Save/ScenarioName")) {
    LogFormat(u"ERROR: %s has no Save/ScenarioName, the name of the folder of data\\scenarios the game belongs "
              u"to; the game is not loaded",
              path);
    LogFormat(u"ERROR: %s does not say which scenario the game is played on; the game is not loaded", path);
    ExitDestroyingGame(1);
  }
  game.scenarioName = ini.GetString("Save/ScenarioName", u"unknown");
  // The name is put into the paths of the scenario's own tables and events;
  // one that is not a folder name would read files outside the scenarios.
  if (!IsSafeFileName(game.scenarioName)) {
    LogFormat(u"ERROR: Save/ScenarioName (\"%s\") in %s is not the name of a folder of data\\scenarios; the game "
              u"is not loaded",
              game.scenarioName, path);
    LogFormat(u"ERROR: %s names the scenario \"%s\", which cannot be a scenario of the game (it must be the name "
              u"of one of its folders); the game is not loaded",
              path, game.scenarioName);
    ExitDestroyingGame(1);
  }
  game.turn = RangedInt(ini, "Save/Turn", 0, 0, kMaxTurns, 0, path);
  game.turnsLeft = RangedInt(ini, kLengthKey, game.turn, 0, kMaxTurns, game.turn, path) - game.turn;

  game.pbemPlayers.clear();
  game.pbemGame = ini.HasKey("Save/PBEMGameName") ? 1 : 0;
  game.pbemGameName = ini.GetString("Save/PBEMGameName", u"unknown");
  // The turn is saved into the folder of this name when it ends.
  if (const std::u16string_view fault = game.pbemGame ? PbemGameNameFault(game.pbemGameName) : u"";
      !fault.empty()) {
    LogFormat(u"ERROR: The play-by-e-mail game's name \"%s\" (in %s) cannot name its folder in data\\pbem: it %s; "
              u"the game is not loaded",
              game.pbemGameName, path, fault);
    ExitDestroyingGame(1);
  }
  // A turn received into data\pbem hands the game over into the folder it
  // came in: with the name of another folder it would replace another game's turn.
  const std::u16string folder = TemplateFolder(folder_template);
  constexpr std::u16string_view kPbemFolders = u"data\\pbem\\";
  if (game.pbemGame && folder.starts_with(kPbemFolders) && folder.substr(kPbemFolders.size()) != game.pbemGameName) {
    LogFormat(u"ERROR: This turn belongs to the play-by-e-mail game \"%s\" (so says %s), not to the game of the "
              u"folder %s it lies in: put it in its own game's folder, or ask the sender for this game's turn; the "
              u"game is not loaded",
              game.pbemGameName, path, folder);
    NoteLoadRefusal(eLoadRefusal::kAnotherGamesTurn);
    ExitDestroyingGame(1);
  }
  if (game.pbemGame) {
    for (const sPbemPlayer& player : ReadPbemPlayers(ini)) game.pbemPlayers.push_back(player);
  }

  game.gameVersion = ParseLeadingFloat(ini.GetString("Save/GameVersion", u"1.0"));
  game.gameDay = RangedInt(ini, "Save/GameDay", 1, 0, 31, 1, path);
  game.displayedMonth = game.date.month;
  game.displayedYear = game.date.year;

  UnitCounterSizes().small = CounterSize(ini.GetInt("Map/SmallUnitsSize", 1), 0);
  UnitCounterSizes().large = CounterSize(ini.GetInt("Map/LargeUnitsSize", 2), 1);
  if (game.loadedGame != 1) CheckScenarioCanBeSaved(game, path);
}

bool WriteSaveInfo(const cGame& game, std::u16string_view folder) {
  return WriteSaveInfo(game, folder, CurrentLocalTime());
}

bool WriteSaveInfo(const cGame& game, std::u16string_view folder, const sLocalTime& now) {
  cIniFile ini = SaveInfoOf(game);
  SetSavedInfoKeys(ini, game, now);
  if (game.pbemGame) {
    ini.SetString("Save/PBEMGameName", game.pbemGameName);
    int position = 1;
    for (const sPbemPlayer& player : game.pbemPlayers) {
      ini.SetString(PlayerKey(position, "Name"), player.name);
      ini.SetString(PlayerKey(position, "Email"), player.email);
      ++position;
    }
  }

  const std::u16string path = SaveFilePath(folder, u"Info.ini");
  // A scenario's file near the limit leaves no room for the keys of the save.
  if (ini.EntryCount() > cIniFile::kMostEntries) {
    LogFormat(u"ERROR: %s would hold %i keys and sections, more than the %i a load reads", path,
              static_cast<int>(ini.EntryCount()), static_cast<int>(cIniFile::kMostEntries));
    LogFormat(u"ERROR during saving INI file %s", path);
    return false;
  }
  const std::string text = ini.SaveText();
  if (!FitsLoadBudget(path, text.size()) || !WriteFileReplacing(ResolveGamePath(path), text)) {
    LogFormat(u"ERROR during saving INI file %s", path);
    return false;
  }
  return true;
}

namespace {

// A save goes on with its own numbering when it keeps every counter and the
// units' state; an older save is numbered as a scenario is.
bool HoldsNumbering(const cIniFile& ini, std::u16string_view folder_template) {
  for (const sCounterKey& counter : kCounterKeys) {
    if (!ini.HasKey(counter.key)) return false;
  }
  std::error_code error;
  return std::filesystem::is_regular_file(ResolveGamePath(FolderFilePath(folder_template, u"unit_state.csv")), error);
}

// The save's Info.ini, read again. The load read it first; gone or unreadable
// since, the save's counters would give way to the scenario's, and numbers
// in use would be given out again.
void LoadSavedInfoAgain(cIniFile& ini, std::u16string_view path) {
  if (ini.Load(path)) return;
  LogFormat(u"ERROR: %s cannot be read; the game is not loaded", path);
  ExitDestroyingGame(1);
}

}  // namespace

bool SaveKeepsItsNumbering(std::u16string_view folder_template) {
  cIniFile ini;
  LoadSavedInfoAgain(ini, FolderFilePath(folder_template, u"Info.ini"));
  return HoldsNumbering(ini, folder_template);
}

void RestoreSavedCounters(cGame& game, std::u16string_view folder_template) {
  const std::u16string path = FolderFilePath(folder_template, u"Info.ini");
  cIniFile ini;
  LoadSavedInfoAgain(ini, path);
  if (!HoldsNumbering(ini, folder_template)) return;
  for (const sCounterKey& counter : kCounterKeys) {
    std::int32_t& value = game.*counter.counter;
    value = std::max(value, RangedInt(ini, counter.key, value, 0, kMaxObjectNumber, value, path));
  }
  // A new game runs its first month's steps while it starts, which the date
  // alone does not tell from a game that reached that month by playing.
  if (ini.HasKey(kLastMonthKey)) {
    game.lastMonthProcessed = RangedInt(ini, kLastMonthKey, game.lastMonthProcessed, 0, 12, game.lastMonthProcessed,
                                        path);
  }
}

}  // namespace tr
