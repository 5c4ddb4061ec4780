#include "scenario/pbem_turn_check.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "foundation/csv_reader.h"
#include "foundation/format.h"
#include "foundation/ini_file.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "scenario/pbem_player.h"
#include "scenario/table_reader.h"
#include "world/gra.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kActiveColumn = 2;
constexpr std::size_t kFinishedColumn = 13;
constexpr std::size_t kHumanColumn = 14;
constexpr std::size_t kPbemPlayerColumn = 63;

std::u16string FolderOf(std::u16string_view gameName) { return u"data\\pbem\\" + std::u16string(gameName); }

// A text as "Info.ini" gives it back: through the code page, without the
// blanks around it.
std::u16string AsStored(std::u16string_view text) {
  std::u16string stored;
  for (const char16_t unit : text) stored += CodePageToUnit(static_cast<unsigned char>(CodePageFromUnit(unit)));
  return std::u16string(TrimBlanks(stored));
}

// The "Info.ini" of the turn the folder holds; false when it holds none (a
// new game's folder is empty until the first hand-over).
bool LoadFolderInfo(std::u16string_view gameName, cIniFile& info) {
  const std::u16string path = FolderOf(gameName) + u"\\Info.ini";
  std::error_code error;
  if (!fs::is_regular_file(fs::symlink_status(ResolveGamePath(path), error))) return false;
  return info.Load(path);
}

std::u16string JoinNames(const std::vector<std::u16string>& names) {
  std::u16string joined;
  for (const std::u16string& name : names) joined += (joined.empty() ? u"" : u", ") + name;
  return joined;
}

}  // namespace

sPbemTurnPosition PbemTurnPosition(const cGame& game) {
  sPbemTurnPosition position{game.turn, 0};
  for (const auto& country : game.countries) position.finished += country->finishedTurn != 0 ? 1 : 0;
  return position;
}

std::optional<sPbemTurnPosition> PbemFolderTurnPosition(std::u16string_view gameName) {
  const std::u16string folder = FolderOf(gameName);
  cIniFile info;
  if (!LoadFolderInfo(gameName, info) || !info.HasKey("Save/Turn")) return std::nullopt;
  sPbemTurnPosition position{info.GetInt("Save/Turn", 0), 0};
  const std::u16string countries = folder + u"\\countries.csv";
  cCsvReader reader;
  if (!reader.LoadFile(countries)) return position;
  // Counted from whatever rows are whole: the folder's turn is only compared
  // with, and a received table the load would refuse refuses nothing here.
  while (!reader.AtEnd()) {
    if (reader.ReadRecord() < kFinishedColumn) continue;
    position.finished += FieldFlag(reader.fields, kFinishedColumn - 1) ? 1 : 0;
  }
  return position;
}

std::optional<bool> PbemFolderWaitsOnOthers(std::u16string_view gameName, std::int32_t player) {
  cCsvReader reader;
  if (!reader.LoadFile(FolderOf(gameName) + u"\\countries.csv")) return std::nullopt;
  bool anyRow = false;
  bool waits = false;
  while (!reader.AtEnd()) {
    if (reader.ReadRecord() < kPbemPlayerColumn) continue;
    anyRow = true;
    const std::vector<std::u16string>& fields = reader.fields;
    // The country that checks the events between turns is human but no player's.
    const std::int32_t owner = FieldInt(fields, kPbemPlayerColumn - 1);
    if (FieldFlag(fields, kActiveColumn - 1) && FieldFlag(fields, kHumanColumn - 1) &&
        !FieldFlag(fields, kFinishedColumn - 1) && owner > 0 && owner != player) {
      waits = true;
    }
  }
  if (!anyRow) return std::nullopt;
  return waits;
}

std::u16string PbemFolderOwnerFault(const cGame& game) {
  const std::u16string& name = game.pbemGameName;
  const std::u16string found = ResolveGamePath(FolderOf(name)).filename().u16string();
  // The paths find a folder whose name differs in case when the game's own is missing.
  if (found != name) {
    return Format(u"%s is the folder of another game; this game's folder %s is missing", ShownPath(FolderOf(found)),
                  ShownPath(FolderOf(name)));
  }
  cIniFile info;
  if (!LoadFolderInfo(name, info) || !info.HasKey("Save/PBEMGameName")) return {};
  const std::u16string otherName = info.GetString("Save/PBEMGameName", u"");
  if (otherName != name) {
    return Format(u"%s holds a turn of another game, \"%s\"", ShownPath(FolderOf(name)), otherName);
  }
  const std::u16string scenario = info.GetString("Save/ScenarioName", u"");
  if (!EqualsIgnoreCase(scenario, game.scenarioName)) {
    return Format(u"%s holds a turn of another game, played on the scenario %s", ShownPath(FolderOf(name)),
                  scenario);
  }
  // Two games named alike by older saves ("Duel" and "Duel ") tell apart by
  // their players. A player renamed, or given a new address, in the settings
  // of a loaded game is still the same player.
  const std::vector<sPbemPlayer> players = ReadPbemPlayers(info);
  bool same = players.size() == game.pbemPlayers.size();
  for (std::size_t i = 0; same && i < players.size(); ++i) {
    const sPbemPlayer& ours = game.pbemPlayers[i];
    same = players[i].name == AsStored(ours.name) || players[i].email == AsStored(ours.email);
  }
  if (!same) {
    std::vector<std::u16string> names;
    for (const sPbemPlayer& player : players) names.push_back(player.name);
    return Format(u"%s holds a turn of another game, whose players are %s", ShownPath(FolderOf(name)),
                  JoinNames(names));
  }
  return {};
}

std::u16string PbemTurnWriteFault(const cGame& game, bool handingOver) {
  if (std::u16string fault = PbemFolderOwnerFault(game); !fault.empty()) return fault;
  const std::optional<sPbemTurnPosition> held = PbemFolderTurnPosition(game.pbemGameName);
  if (!held) return {};
  const sPbemTurnPosition here = PbemTurnPosition(game);
  if (handingOver ? *held >= here : *held > here) {
    return Format(u"%s holds this turn of this game or a later one: this turn was handed over already",
                  ShownPath(FolderOf(game.pbemGameName)));
  }
  return {};
}

}  // namespace tr
