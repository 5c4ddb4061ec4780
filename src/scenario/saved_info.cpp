#include "scenario/saved_info.h"

#include <algorithm>
#include <optional>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/ini_file.h"
#include "foundation/number_text.h"
#include "foundation/text.h"
#include "foundation/version.h"
#include "scenario/pbem_repository.h"
#include "scenario/save_manifest.h"
#include "scenario/table_reader.h"
#include "world/gra.h"
#include "world/value_limits.h"

namespace tr {
namespace {

// The day an impulse shows is 30 * impulse / n - 30 / n + 1 of the month's n
// impulses: 1 - 30 at impulse 0 of a one-impulse month, and past 31 for an
// impulse past the month's (a scenario's start, or consts.csv changed since).
constexpr std::int64_t kLeastShownDay = 1 - 30;
constexpr std::int64_t kMostShownDay = 30 * kMaxImpulse - 30 + 1;
constexpr std::int64_t kVersionHundredths = 102;
static_assert(kVersionHundredths == static_cast<std::int64_t>(kGameVersion * 100.0 + 0.5));

std::u16string Whole(std::int64_t value) { return Utf8ToUtf16(std::to_string(value)); }

using enum eSavedValue;
constexpr sSavedInfoKey kKeys[] = {
    {"Save/Date", kStamp, 0, 0, true, u"the time the game was saved",
     [](const cGame&, const sLocalTime& now) {
       return Format(u"%02d.%02d.%02d %02d:%02d", now.year % 100, now.month, now.day, now.hour, now.minute);
     }},
    {"Save/Turn", kWhole, 0, kMaxTurns, true, u"the turn of the game",
     [](const cGame& game, const sLocalTime&) { return Whole(game.turn); }},
    {"Save/Impulse", kWhole, 0, kMaxImpulse, true, u"the impulse of the turn",
     [](const cGame& game, const sLocalTime&) { return Whole(game.date.impulse); }},
    {"Save/GameDay", kWhole, 0, 31, true, u"the day of the game",
     [](const cGame& game, const sLocalTime&) { return Whole(game.gameDay); }},
    // 0 until the first impulse of a scenario that gives no month.
    {"Save/GameMonth", kWhole, 0, 12, true, u"the month of the game",
     [](const cGame& game, const sLocalTime&) { return Whole(game.date.month); }},
    {"Save/GameYear", kWhole, 1, kMaxYear, true, u"the year of the game",
     [](const cGame& game, const sLocalTime&) { return Whole(game.date.year); }},
    {"Save/ScenarioName", kText, 0, 0, false, u"the scenario's name",
     [](const cGame& game, const sLocalTime&) { return game.scenarioName; }},
    // The saved-game list shows the day the minimap's caption shows: the
    // scenario's first day in the first turn, the date's own day after it.
    {"Save/GameDayDisplayed", kWhole, kLeastShownDay, kMostShownDay, true, u"the day the game shows",
     [](const cGame& game, const sLocalTime&) {
       const bool firstDay = game.turn == 1 && game.gameDay >= 1;
       return Whole(firstDay ? game.gameDay : game.date.GetDayOfMonth());
     }},
    // The month the game stands at, so a save of a loaded game writes what the save it came from wrote.
    {"Save/GameMonthDisplayed", kWhole, 0, 12, true, u"the month the game shows",
     [](const cGame& game, const sLocalTime&) { return Whole(game.date.month); }},
    {"Save/GameYearDisplayed", kWhole, 1, kMaxYear, true, u"the year the game shows",
     [](const cGame& game, const sLocalTime&) { return Whole(game.date.year); }},
    // From the first release on.
    {"Save/GameVersion", kVersion, 100, kVersionHundredths, true, u"the version of the program that saved it",
     [](const cGame&, const sLocalTime&) { return Format(u"%.2f", kGameVersion); }},
    // Outside the list it names, so a save that lost the list on its way is told from one written before it.
    {kSaveManifestMark, kMark, 0, 0, false, u"the mark of the list of the save's files",
     [](const cGame&, const sLocalTime&) { return std::u16string(kSaveManifestFile); }},
    {"Save/LastFleetId", kWhole, 0, kMaxObjectNumber, false, u"the numbering of the fleets",
     [](const cGame& game, const sLocalTime&) { return Whole(game.nextFleetId); }},
    {"Save/LastNavalUnitId", kWhole, 0, kMaxObjectNumber, false, u"the numbering of the ships",
     [](const cGame& game, const sLocalTime&) { return Whole(game.nextNavalUnitId); }},
    {"Save/LastLandUnitId", kWhole, 0, kMaxObjectNumber, false, u"the numbering of the land units",
     [](const cGame& game, const sLocalTime&) { return Whole(game.nextLandUnitId); }},
    {"Save/LastAirUnitId", kWhole, 0, kMaxObjectNumber, false, u"the numbering of the air units",
     [](const cGame& game, const sLocalTime&) { return Whole(game.nextAirUnitId); }},
    {"Save/LastConvoyId", kWhole, 0, kMaxObjectNumber, false, u"the numbering of the convoys",
     [](const cGame& game, const sLocalTime&) { return Whole(game.nextConvoyId); }},
    // -666 until the first month's steps ran.
    {"Save/LastMonthProcessed", kWhole, -666, 12, false, u"the month whose monthly steps last ran",
     [](const cGame& game, const sLocalTime&) { return Whole(game.lastMonthProcessed); }},
    // Written only for a play-by-e-mail game, with its players, and checked by the load.
    {"Save/PBEMGameName", kText, 0, static_cast<std::int64_t>(kPbemRepoNameUnits), false,
     u"the play-by-e-mail game's name"},
    // The scenario's own when it is a length; else the length the game plays to.
    {kLengthKey, kWhole, 0, kMaxTurns, false, u"the number of turns the game lasts"},
};

// "12" of "%.2f" as hundredths; none for any other text.
std::optional<std::int64_t> Hundredths(std::u16string_view text) {
  const std::size_t dot = text.find(u'.');
  if (dot == std::u16string_view::npos || dot == 0 || dot > 6 || text.size() != dot + 3) return std::nullopt;
  if (text[0] == u'0' && dot > 1) return std::nullopt;
  std::int64_t value = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i == dot) continue;
    if (text[i] < u'0' || text[i] > u'9') return std::nullopt;
    value = value * 10 + (text[i] - u'0');
  }
  return value;
}

bool IsStamp(std::u16string_view text) {
  constexpr std::u16string_view kShape = u"00.00.00 00:00";
  if (text.size() != kShape.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = text[i] >= u'0' && text[i] <= u'9';
    if (kShape[i] == u'0' ? !digit : text[i] != kShape[i]) return false;
  }
  return true;
}

// The whole number as to_string writes it; none for other text or beyond 32 bits.
std::optional<std::int64_t> CanonicalWhole(std::u16string_view text) {
  const std::optional<std::int32_t> value = WholeNumber(text);
  if (!value || Whole(*value) != text) return std::nullopt;
  return *value;
}

// What the game writes for the key, in the player's words.
std::u16string Expected(const sSavedInfoKey& key) {
  switch (key.kind) {
    case kWhole:
      return Format(u"a whole number from %lli to %lli", static_cast<long long>(key.low),
                    static_cast<long long>(key.high));
    case kVersion:
      return Format(u"a version from %.2f to %.2f", static_cast<double>(key.low) / 100.0,
                    static_cast<double>(key.high) / 100.0);
    case kStamp:
      return u"the time of saving as dd.dd.dd dd:dd";
    case kMark:
      return u"\"" + std::u16string(kSaveManifestFile) + u"\"";
    case kText:
      break;
  }
  return u"text";
}

[[noreturn]] void RefuseKey(const cIniFile& ini, std::u16string_view path, std::string_view key,
                            std::u16string_view what) {
  // The key is for whoever mends the file; the player is told what it means.
  LogFormat(u"%s: Info.ini key %s %s", path, Utf8ToUtf16(key), what);
  RefuseDamagedTable(path, ini.LineOf(key), what);
}

void CheckKey(cIniFile& ini, std::u16string_view path, const sSavedInfoKey& key) {
  if (!ini.HasKey(key.key)) return;
  const std::u16string name = Utf8ToUtf16(key.key);
  // A text's blanks around it are its own: an earlier release kept a game's
  // name as typed, a blank at its end included.
  if (key.kind != kText && !ini.IsWrittenAsSaved(key.key)) {
    RefuseKey(ini, path, key.key,
              Format(u"holds %s other than as \"key = value\", the way the game writes it", key.what));
  }
  const std::u16string text = ini.GetString(key.key, u"");
  if (FitsSavedInfoKey(key, text)) return;
  if (key.kind == kWhole && !IsWholeNumberText(text)) {
    LogFormat(u"%s has \"%s\" for %s, not a whole number", path, text, name);
  }
  RefuseKey(ini, path, key.key,
            Format(u"gives \"%s\" as %s, where the game writes %s", text, key.what, Expected(key)));
}

const sSavedInfoKey& KeyOf(std::string_view name) {
  return *std::find_if(std::begin(kKeys), std::end(kKeys), [name](const sSavedInfoKey& key) { return key.key == name; });
}

}  // namespace

std::span<const sSavedInfoKey> SavedInfoKeys() { return kKeys; }

void SetSavedInfoKeys(cIniFile& ini, const cGame& game, const sLocalTime& now) {
  for (const sSavedInfoKey& key : kKeys) {
    if (key.write) ini.SetString(key.key, key.write(game, now));
  }
  // A save's length must be a length no shorter than its turn: where the
  // scenario's author wrote another text, or fewer turns than the game has
  // played, the length the game plays to is written in its place (its turn
  // at least: the war ends at its next impulse all the same).
  if (!ini.HasKey(kLengthKey)) return;
  const std::u16string length = ini.GetString(kLengthKey, u"");
  if (!FitsSavedInfoKey(KeyOf(kLengthKey), length) || ParseLeadingInt(length) < game.turn) {
    ini.SetInt(kLengthKey, std::max(game.turn + game.turnsLeft, game.turn));
  }
}

bool FitsSavedInfoKey(const sSavedInfoKey& key, std::u16string_view text) {
  switch (key.kind) {
    case kWhole: {
      const std::optional<std::int64_t> value = CanonicalWhole(text);
      return value && *value >= key.low && *value <= key.high;
    }
    case kVersion: {
      const std::optional<std::int64_t> value = Hundredths(text);
      return value && *value >= key.low && *value <= key.high;
    }
    case kStamp:
      return IsStamp(text);
    case kMark:
      return text == kSaveManifestFile;
    case kText:
      break;
  }
  return true;
}

std::size_t WidestSavedValue(const sSavedInfoKey& key) {
  switch (key.kind) {
    case kWhole:
      return std::max(Whole(key.low).size(), Whole(key.high).size());
    case kVersion:
      return Whole(key.high / 100).size() + 3;
    case kStamp:
      return 14;
    case kMark:
      return kSaveManifestFile.size();
    case kText:
      break;
  }
  return static_cast<std::size_t>(key.high);
}

void CheckSavedInfoKeys(cIniFile& ini, std::u16string_view path) {
  // The writer writes each key and section once.
  if (!ini.Repeats().empty()) {
    const cIniFile::sRepeat& repeat = ini.Repeats().front();
    LogFormat(u"%s: Info.ini repeats %s", path, Utf8ToUtf16(repeat.key));
    RefuseDamagedTable(path, repeat.line,
                       Format(u"repeats %s, which the game writes once", Utf8ToUtf16(repeat.key)));
  }
  for (const sSavedInfoKey& key : kKeys) {
    if (!key.everySave || ini.HasKey(key.key)) continue;
    // The key is for whoever mends the file; the player is told what the file lacks.
    LogFormat(u"%s has no %s", path, Utf8ToUtf16(key.key));
    RefuseDamagedTable(path, 0, u"lacks a line the game writes into every save (cut short?)");
  }
  for (const sSavedInfoKey& key : kKeys) CheckKey(ini, path, key);
  // The game ends when its turns run out, and is not saved past them.
  if (ini.HasKey(kLengthKey) && ini.GetInt("Save/Turn", 0) > ini.GetInt(kLengthKey, 0)) {
    RefuseKey(ini, path, "Save/Turn",
              Format(u"gives %i as the turn of the game, past the %i turns the game lasts", ini.GetInt("Save/Turn", 0),
                     ini.GetInt(kLengthKey, 0)));
  }
}

}  // namespace tr
