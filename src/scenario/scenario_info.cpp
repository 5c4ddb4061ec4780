#include "scenario/scenario_info.h"

#include <ctime>
#include <string>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/ini_file.h"
#include "foundation/paths.h"
#include "foundation/version.h"
#include "scenario/number_text.h"
#include "scenario/pbem_player.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_writer.h"
#include "world/file_io.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr int kMaxPbemPlayers = 8;

// Stored minus one; outside 1..5 the fallback.
int CounterSize(int value, int fallback) {
  const int size = value - 1;
  return size >= 1 && size <= 5 ? size : fallback;
}

std::string PlayerKey(int number, const char* what) {
  return "Save/PBEMPlayer" + std::to_string(number) + what;
}

}  // namespace

void PushBackSetupRecord(std::vector<sPbemPlayer>& players, std::int32_t number, std::u16string_view name,
                         std::u16string_view email) {
  players.push_back({number, CutName(name), CutName(email)});
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
  ini.Load(path);

  game.date.impulse = ini.GetInt("Save/Impulse", 0);
  game.date.month = ini.GetInt("Save/GameMonth", 0);
  game.date.year = ini.GetInt("Save/GameYear", 0);
  if (game.date.month < 1 || game.date.month > 12) {
    LogFormat(u"WARNING: Save/GameMonth (%i) in %s is not a month from 1 to 12", game.date.month, path);
  }
  game.scenarioName = ini.GetString("Save/ScenarioName", u"unknown");
  game.turn = ini.GetInt("Save/Turn", 0);
  game.turnsLeft = ini.GetInt("Duration/Turns", game.turn) - game.turn;

  game.pbemPlayers.clear();
  game.pbemGame = ini.HasKey("Save/PBEMGameName") ? 1 : 0;
  game.pbemGameName = ini.GetString("Save/PBEMGameName", u"unknown");
  if (game.pbemGame) {
    for (int i = 1; i <= kMaxPbemPlayers; ++i) {
      const std::string name_key = PlayerKey(i, "Name");
      const std::string email_key = PlayerKey(i, "Email");
      if (!ini.HasKey(name_key) || !ini.HasKey(email_key)) break;
      PushBackSetupRecord(game.pbemPlayers, i, ini.GetString(name_key, u"should_not_see_this"),
                          ini.GetString(email_key, u"should_not_see_this"));
    }
  }

  game.gameVersion = ParseLeadingFloat(ini.GetString("Save/GameVersion", u"1.0"));
  game.gameDay = ini.GetInt("Save/GameDay", 1);
  game.displayedMonth = game.date.month;
  game.displayedYear = game.date.year;

  UnitCounterSizes().small = CounterSize(ini.GetInt("Map/SmallUnitsSize", 1), 0);
  UnitCounterSizes().large = CounterSize(ini.GetInt("Map/LargeUnitsSize", 2), 1);
}

bool WriteSaveInfo(const cGame& game, std::u16string_view folder) {
  return WriteSaveInfo(game, folder, CurrentLocalTime());
}

bool WriteSaveInfo(const cGame& game, std::u16string_view folder, const sLocalTime& now) {
  cIniFile ini;
  ini.Load(ScenarioFilePath(game.scenarioName, u"Info.ini"));

  ini.SetString("Save/Date", Format(u"%02d.%02d.%02d %02d:%02d", now.year % 100, now.month, now.day, now.hour,
                                    now.minute));
  ini.SetInt("Save/Turn", game.turn);
  ini.SetInt("Save/Impulse", game.date.impulse);
  ini.SetInt("Save/GameDay", game.gameDay);
  ini.SetInt("Save/GameMonth", game.date.month);
  ini.SetInt("Save/GameYear", game.date.year);
  ini.SetString("Save/ScenarioName", game.scenarioName);
  ini.SetInt("Save/GameDayDisplayed", game.gameDay);
  // The saved-game list shows the month the game stands at, and a save of a
  // loaded game must write what the save it came from wrote.
  ini.SetInt("Save/GameMonthDisplayed", game.date.month);
  ini.SetInt("Save/GameYearDisplayed", game.date.year);
  ini.SetString("Save/GameVersion", Format(u"%.2f", kGameVersion));
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
  if (!WriteFileReplacing(ResolveGamePath(path), ini.SaveText())) {
    LogFormat(u"ERROR during saving INI file %s", path);
    return false;
  }
  return true;
}

}  // namespace tr
