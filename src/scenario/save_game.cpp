// The save driver: the folder of a save name, the swap of a fully written
// folder into place, and the 25 writers in their order.
#include "scenario/save_game.h"

#include <array>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "ai/ai_memory_file.h"
#include "events/auto_events.h"
#include "foundation/console_log.h"
#include "foundation/file_write.h"
#include "foundation/folder_swap.h"
#include "foundation/format.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "scenario/ai_data_file.h"
#include "scenario/save_fault.h"
#include "scenario/air_recon_file.h"
#include "scenario/air_units_file.h"
#include "scenario/airship_attacks_file.h"
#include "scenario/cities_file.h"
#include "scenario/city_info_files.h"
#include "scenario/commanders_file.h"
#include "scenario/countries_file.h"
#include "scenario/flags_file.h"
#include "scenario/fleets_file.h"
#include "scenario/land_units_file.h"
#include "scenario/naval_units_file.h"
#include "scenario/pbem_game_name.h"
#include "scenario/save_manifest.h"
#include "scenario/topography_file.h"
#include "scenario/unit_names_file.h"
#include "scenario/unit_state_file.h"
#include "turn/convoy.h"
#include "turn/sea_graph.h"
#include "units/player_control.h"
#include "world/gra.h"
#include "world/presentation.h"
#include "world/relations.h"

namespace tr {

namespace fs = std::filesystem;

namespace {

constexpr int kSaveMessageLayoutBase = 684;

// A refused name would leave "data\save" or become a format.
bool IsAcceptableSaveName(std::u16string_view name) {
  return IsSafeFileName(name) && name.find(u'%') == std::u16string_view::npos;
}

struct sSaveStep {
  std::u16string_view file;
  bool (*write)(const cGame& game, std::u16string_view folder, const sLocalTime& now);
};

const std::array<sSaveStep, kSaveFileCount>& SaveSteps() {
  static const std::array<sSaveStep, kSaveFileCount> steps{{
      {u"ai_data.csv", [](const cGame& g, std::u16string_view f, const sLocalTime&) { return WriteAIData(g, f); }},
      {u"air_units.csv", [](const cGame& g, std::u16string_view f, const sLocalTime&) { return WriteAirUnits(g, f); }},
      {u"cities.csv", [](const cGame& g, std::u16string_view f, const sLocalTime&) { return WriteCities(g, f); }},
      {u"sea_nodes.csv",
       [](const cGame& g, std::u16string_view f, const sLocalTime&) { return WriteSeaNodes(g.seaGraph, f); }},
      {u"cities_supply_info.csv",
       [](const cGame& g, std::u16string_view f, const sLocalTime&) { return WriteCitiesSupplyInfo(g, f); }},
      {u"cities_convoy_info.csv",
       [](const cGame& g, std::u16string_view f, const sLocalTime&) { return WriteCitiesConvoyInfo(g, f); }},
      {u"commanders.csv",
       [](const cGame& g, std::u16string_view f, const sLocalTime&) { return WriteCommanders(g, f); }},
      {u"convoys.csv", [](const cGame& g, std::u16string_view f, const sLocalTime&) { return WriteConvoys(g, f); }},
      {u"countries.csv",
       [](const cGame& g, std::u16string_view f, const sLocalTime&) { return WriteCountries(g, f); }},
      {u"flags.txt", [](const cGame& g, std::u16string_view f, const sLocalTime&) { return WriteFlags(g, f); }},
      {u"fleets.csv", [](const cGame& g, std::u16string_view f, const sLocalTime&) { return WriteFleets(g, f); }},
      {u"land_units.csv",
       [](const cGame& g, std::u16string_view f, const sLocalTime&) { return WriteLandUnits(g, f); }},
      {u"losses.csv", [](const cGame& g, std::u16string_view f, const sLocalTime&) { return WriteLosses(g, f); }},
      {u"map.qel",
       [](const cGame& g, std::u16string_view f, const sLocalTime&) { return g.map && g.map->Save(f, {}); }},
      {u"Info.ini",
       [](const cGame& g, std::u16string_view f, const sLocalTime& now) { return WriteSaveInfo(g, f, now); }},
      {u"naval_units.csv",
       [](const cGame& g, std::u16string_view f, const sLocalTime&) { return WriteNavalUnits(g, f); }},
      {u"relations.csv",
       [](const cGame& g, std::u16string_view f, const sLocalTime&) { return WriteRelations(g, f); }},
      {u"topography.csv",
       [](const cGame& g, std::u16string_view f, const sLocalTime&) {
         return g.strategicMovement && WriteTopography(f, *g.strategicMovement, g.countries);
       }},
      {u"unit_names.csv",
       [](const cGame& g, std::u16string_view f, const sLocalTime&) { return WriteUnitNames(g, f); }},
      {u"airship_attacks.csv",
       [](const cGame& g, std::u16string_view f, const sLocalTime&) { return WriteAirshipAttacks(g, f); }},
      {u"airrecon_units.csv",
       [](const cGame& g, std::u16string_view f, const sLocalTime&) { return WriteAirReconUnits(g, f); }},
      {u"reports.dat", [](const cGame& g, std::u16string_view f, const sLocalTime&) { return g.reports.Save(f); }},
      {u"auto_events.csv",
       [](const cGame& g, std::u16string_view f, const sLocalTime&) { return g.autoEvents.Save(f); }},
      {u"unit_state.csv",
       [](const cGame& g, std::u16string_view f, const sLocalTime&) { return WriteUnitState(g, f); }},
      {u"ai_memory.csv",
       [](const cGame& g, std::u16string_view f, const sLocalTime&) { return WriteAiMemory(g, f); }},
  }};
  return steps;
}

// The files the save writes and the temporaries it writes them through: a
// save's own names, never carried over from the folder it replaces.
bool IsWrittenBySave(const fs::path& name) {
  const auto isWritten = [&name](std::u16string_view written) {
    const fs::path file(written);
    return name == file || name == fs::path(file.native() + ".tmp");
  };
  for (const sSaveStep& step : SaveSteps()) {
    if (isWritten(step.file)) return true;
  }
  return isWritten(kSaveManifestFile);
}

bool CopyKeptFolder(const fs::path& from, const fs::path& to, const fs::path& save);

// A full or read-only disk stops the copy as it would stop any file of the
// save; anything else is the kept file's own (one the player cannot read).
bool KeptEntryNotCopied(const fs::path& from, const fs::path& save, const std::error_code& error) {
  const std::u16string shown = Utf8ToUtf16(from.string());
  const std::u16string said = Utf8ToUtf16(error.message());
  LogFormat(u"ERROR: %s cannot be kept in the save (%s)", shown, said);
  const int code = error.value();
  if (code == ENOSPC || code == EDQUOT || code == EROFS) {
    NoteWriteFailure(code);
  } else {
    NoteSaveFault({eSaveFault::kKeptEntry, Utf8ToUtf16(from.lexically_relative(save).string()), said});
  }
  return false;
}

// Whatever the save does not write (a picture the player put there, a folder
// of notes) stays with it. Only files and folders are carried: a link, a pipe
// or a device is left behind, so nothing the save holds leads outside it.
bool CopyKeptEntry(const fs::path& from, const fs::path& to, const fs::path& save) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(from, error);
  if (error) return KeptEntryNotCopied(from, save, error);
  if (fs::is_directory(status)) {
    if (fs::create_directory(to, error)) return CopyKeptFolder(from, to, save);
  } else if (!fs::is_regular_file(status)) {
    LogFormat(u"WARNING: %s is not a file; it is not kept in the save", Utf8ToUtf16(from.string()));
    return true;
  } else if (fs::copy_file(from, to, error) && !error) {
    return true;
  }
  return KeptEntryNotCopied(from, save, error);
}

// The save's own files are left out at its top only.
bool CopyKeptFolder(const fs::path& from, const fs::path& to, const fs::path& save) {
  const bool top = from == save;
  std::error_code error;
  for (fs::directory_iterator it(from, error), end; !error && it != end; it.increment(error)) {
    const fs::path name = it->path().filename();
    if (top && IsWrittenBySave(name)) continue;
    if (!CopyKeptEntry(it->path(), to / name, save)) return false;
  }
  // A kept folder that cannot be read is named; the save's own folder is left to the log.
  if (error && !top) return KeptEntryNotCopied(from, save, error);
  return !error;
}

bool CopyKeptEntries(const fs::path& from, const fs::path& to) {
  std::error_code error;
  // A save folder that is itself a link is not read from either.
  if (!fs::is_directory(fs::symlink_status(from, error))) return true;
  return CopyKeptFolder(from, to, from);
}

// While it lives, a walk paused mid-way (the pause menu's Save) has its unit
// stand where the walk would end now: the hex it is passing over may hold
// another unit, and two units on one hex never load.
class cWalkerAtItsStop {
 public:
  explicit cWalkerAtItsStop(const cGame& game) : move_(game.playerControl.move) {
    if (move_.unit == nullptr) return;
    kept_ = {move_.unit->x, move_.unit->y};
    const sPoint stop = move_.StopHex();
    move_.unit->x = stop.x;
    move_.unit->y = stop.y;
  }
  ~cWalkerAtItsStop() {
    if (move_.unit == nullptr) return;
    move_.unit->x = kept_.x;
    move_.unit->y = kept_.y;
  }
  cWalkerAtItsStop(const cWalkerAtItsStop&) = delete;
  cWalkerAtItsStop& operator=(const cWalkerAtItsStop&) = delete;

 private:
  const sUnitMove& move_;
  sPoint kept_;
};

}  // namespace

std::u16string SaveFolderPath(std::u16string_view name) {
  const std::u16string_view trimmed = TrimBlanks(name);
  // A name starting with '.' would make a hidden folder that no list of saves shows.
  // A longer name is refused rather than cut: two names that begin alike
  // would share one folder.
  if (!IsAcceptableSaveName(trimmed) || trimmed.front() == u'.' || trimmed.size() > kMaxSaveNameUnits) return {};
  return u"data\\save\\" + std::u16string(trimmed);
}

std::u16string SaveNameRule() {
  return Format(u"a save's name has 1 to %i characters, does not start with '.' and holds no \"..\", '/', '\\', "
                u"':' or '%%'",
                static_cast<int>(kMaxSaveNameUnits));
}

bool cGameSaver::WriteSaveFiles(std::u16string_view folder) {
  const sLocalTime now = clock ? clock() : CurrentLocalTime();
  int step = 0;
  for (const sSaveStep& save : SaveSteps()) {
    ++step;
    const bool written = (!stepCheck || stepCheck(step, save.file)) && save.write(game_, folder, now);
    if (!written) {
      LogFormat(u"ERROR: Saving stopped at %s (file %i of %i)", save.file, step, kSaveFileCount);
      return false;
    }
  }
  return true;
}

namespace {

// The first folder on the way to the save's (the save's own included) that
// is a link leading nowhere, with where it leads; the system's "no such file"
// would name neither.
bool NoteDanglingLink(std::u16string_view folder) {
  std::size_t end = 0;
  while (end != std::u16string_view::npos) {
    end = folder.find(u'\\', end + 1);
    const std::u16string_view step = folder.substr(0, end);
    const fs::path path = ResolveGamePath(step);
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(path, error)) || fs::exists(path, error)) continue;
    const std::u16string leads = Utf8ToUtf16(fs::read_symlink(path, error).string());
    LogFormat(u"ERROR: %s is a link to %s, which does not exist; the game is not saved", step, leads);
    NoteSaveFault({eSaveFault::kDanglingLink, std::u16string(step), leads});
    return true;
  }
  return false;
}

}  // namespace

bool cGameSaver::SaveIntoFolder(const std::u16string& folder) {
  ClearWriteFailure();
  ClearSaveFault();
  if (NoteDanglingLink(folder)) return false;
  const fs::path target = ResolveGamePath(folder);
  std::error_code error;
  // Only a folder is ever replaced by a save: a file or a link standing under
  // the name (the repository of play-by-e-mail games, say) is left alone.
  const fs::file_status present = fs::symlink_status(target, error);
  if (fs::exists(present) && !fs::is_directory(present)) {
    LogFormat(u"ERROR: %s is not a save folder; the game is not saved", folder);
    NoteSaveFault({eSaveFault::kNotAFolder, folder, {}});
    return false;
  }
  const std::u16string parent = folder.substr(0, folder.rfind(u'\\'));
  // A game folder that lost its save folder still saves.
  if (!fs::is_directory(target.parent_path(), error) && fs::create_directories(target.parent_path(), error)) {
    LogFormat(u"Created the folder %s", parent);
  }
  // Every save writes into a folder of its own, so two game processes saving
  // one name at once (the autosave of two copies) never write into each other's.
  const cWorkingFolder working(target);
  const std::u16string writing = parent + u"\\" + Utf8ToUtf16(working.path().filename().string());
  if (!working.IsMade() || !CopyKeptEntries(target, working.path())) {
    LogFormat(u"ERROR: Cannot create the save folder %s", writing);
    return false;
  }
  // The list of the files, with what each was written with, comes last: a
  // save without it is either an older one or one that never went in.
  const cWrittenFilesRecord written;
  const cWalkerAtItsStop walker(game_);
  if (!WriteSaveFiles(writing) || !WriteSaveManifest(writing, written.entries())) {
    LogFormat(u"ERROR: Game not saved; %s is left as it was", folder);
    return false;
  }
  if (!SwapFolderIntoPlace(working, target, renameCheck, flushCheck)) {
    LogFormat(u"ERROR: Cannot replace the save folder %s", folder);
    return false;
  }
  return true;
}

bool cGameSaver::SaveGame(std::u16string_view name, bool silent) {
  const std::u16string folder = SaveFolderPath(name);
  if (folder.empty()) {
    LogFormat(u"ERROR: Save name refused: %s (%s)", name, SaveNameRule());
    return false;
  }
  if (!SaveIntoFolder(folder)) return false;
  if (!silent) {
    Presentation().PushTextDialog(GetText("save_game_title"), GetText("save_game_successfull"), kSaveMessageLayoutBase);
  }
  return true;
}

bool cGameSaver::SavePbemGame(std::u16string_view name) {
  // The repository, the working folders of saving and names the save's own
  // "Info.ini" cannot hold are never written as a game's folder.
  if (const std::u16string_view fault = PbemGameNameFault(name); !fault.empty()) {
    LogFormat(u"ERROR: Save name refused: %s (it %s)", name, fault);
    return false;
  }
  const std::u16string folder = u"data\\pbem\\" + std::u16string(name);
  LogFormat(u"Zapisuej gre PBEM to katalogu %s", folder);
  return SaveIntoFolder(folder);
}

std::u16string SaveFailureReason() {
  switch (const sSaveFault fault = LastSaveFault(); fault.kind) {
    case eSaveFault::kTooLarge: return Format(GetText("save_failure_too_large_%s"), fault.path);
    case eSaveFault::kKeptEntry:
      return Format(GetText("save_failure_kept_entry_%s_%s"), fault.path, fault.system);
    case eSaveFault::kNotAFolder: return GetText("save_failure_not_a_folder");
    case eSaveFault::kDanglingLink:
      return Format(GetText("save_failure_dangling_link_%s_%s"), ShownPath(fault.path), fault.system);
    case eSaveFault::kNone: break;
  }
  switch (const int error = LastWriteFailure()) {
    case 0: return GetText("save_failure_see_log");
    case ENOSPC:
    case EDQUOT: return GetText("save_failure_disk_full");
    case EROFS: return GetText("save_failure_read_only");
    case EACCES:
    case EPERM: return GetText("save_failure_no_permission");
    default: return Format(GetText("save_failure_system_%s"), Utf8ToUtf16(std::generic_category().message(error)));
  }
}

namespace {

// The folder a refused save could not write in. A save is written in a
// folder of its own beside the save's and renamed into place, so that is the
// folder of saves, or the nearest of its parents that exists, where that must
// be made: never the save's own folder, which may not exist yet.
std::u16string RefusingFolder(std::u16string_view folder) {
  std::u16string_view parent = folder.substr(0, folder.rfind(u'\\'));
  std::error_code error;
  while (!fs::is_directory(ResolveGamePath(parent), error) && parent.rfind(u'\\') != std::u16string_view::npos) {
    parent = parent.substr(0, parent.rfind(u'\\'));
  }
  return std::u16string(parent);
}

std::u16string RemedyOfTheCause(std::u16string_view folder) {
  const std::u16string shown = ShownPath(folder);
  switch (const sSaveFault fault = LastSaveFault(); fault.kind) {
    case eSaveFault::kTooLarge: return Format(GetText("save_remedy_too_large_%s"), shown);
    case eSaveFault::kKeptEntry: return Format(GetText("save_remedy_kept_entry_%s"), shown);
    case eSaveFault::kNotAFolder: return Format(GetText("save_remedy_not_a_folder_%s"), shown);
    case eSaveFault::kDanglingLink:
      return Format(GetText("save_remedy_dangling_link_%s_%s"), fault.system, ShownPath(fault.path));
    case eSaveFault::kNone: break;
  }
  switch (LastWriteFailure()) {
    case 0: return Format(GetText("save_remedy_see_log_%s"), shown);
    case ENOSPC:
    case EDQUOT: return Format(GetText("save_remedy_disk_full_%s"), shown);
    // Only the system can make the disk writable again: the game cannot.
    case EROFS: return Format(GetText("save_remedy_read_only_%s"), shown);
    case EACCES:
    case EPERM: return Format(GetText("save_remedy_no_permission_%s"), ShownPath(RefusingFolder(folder)));
    default: return Format(GetText("save_remedy_other_%s"), shown);
  }
}

}  // namespace

std::u16string SaveFailureRemedy(std::u16string_view folder, std::u16string_view then) {
  std::u16string remedy = RemedyOfTheCause(folder);
  // Nothing on the disk is at fault for a file too long: saving again meets it again.
  if (then.empty() || LastSaveFault().kind == eSaveFault::kTooLarge) return remedy;
  return remedy + u" " + std::u16string(then);
}

std::vector<std::u16string_view> SaveFileNames() {
  std::vector<std::u16string_view> names;
  for (const sSaveStep& step : SaveSteps()) names.push_back(step.file);
  return names;
}

bool SaveFolderExists(std::u16string_view name) {
  // The folder the save would write: the name trimmed and cut as the save does.
  const std::u16string folder = SaveFolderPath(name);
  if (folder.empty()) return false;
  std::error_code error;
  return fs::is_directory(ResolveGamePath(folder), error);
}

}  // namespace tr
