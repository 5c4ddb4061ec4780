#include "scenario/ai_data_file.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/log_bound.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "scenario/countries_file.h"
#include "scenario/saved_fields.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"
#include "scenario/table_writer.h"
#include "world/file_io.h"
#include "world/gra.h"
#include "world/hex.h"

namespace tr {
namespace {

enum class Key {
  kCountry, kMakesSeaInvasions, kMaxNumberOfFrontsForSeaInvasion, kCurrentSeaInvasionTarget,
  kObligatorySeaInvasionTargets, kCurrentTargets, kDoNotAttackCities, kExtraCitiesToGarrison,
  kSeaZonesToPatrol, kPurchaseQueue, kFortLevelToHoldAtAllCost, kDesiredLandForcesStructure,
  kDesiredTechLevels, kDesiredStrategicMovementPoints, kNewUnitPurchasePreferences, kNewUnitPurchaseData,
  kMultipleSideAttackPreferences, kOneSideAttackPreferences, kAllianceEntryPolicy, kCountriesToPress,
  kTransportsUnitsToFrontsBySea, kMinRatioToPatchFront, kMaxUnitCountOnFront, kMaxCoveringUnitDistance,
  kMaxSafeMoveCost, kShoreBombardmentSingleUse, kCarrierTargetsPriorities,
};

struct KeyName {
  std::string_view name;
  Key key;
};

constexpr KeyName kKeys[] = {
    {"Country", Key::kCountry},
    {"MakesSeaInvasions", Key::kMakesSeaInvasions},
    {"MaxNumberOfFrontsForSeaInvasion", Key::kMaxNumberOfFrontsForSeaInvasion},
    {"CurrentSeaInvasionTarget", Key::kCurrentSeaInvasionTarget},
    {"ObligatorySeaInvasionTargets", Key::kObligatorySeaInvasionTargets},
    {"CurrentTargets", Key::kCurrentTargets},
    {"DoNotAttackCities", Key::kDoNotAttackCities},
    {"ExtraCitiesToGarrison", Key::kExtraCitiesToGarrison},
    {"SeaZonesToPatrol", Key::kSeaZonesToPatrol},
    {"PurchaseQueue", Key::kPurchaseQueue},
    {"FortLevelToHoldAtAllCost", Key::kFortLevelToHoldAtAllCost},
    {"DesiredLandForcesStructure", Key::kDesiredLandForcesStructure},
    {"DesiredTechLevels", Key::kDesiredTechLevels},
    {"DesiredStrategicMovementPoints", Key::kDesiredStrategicMovementPoints},
    {"NewUnitPurchasePreferences", Key::kNewUnitPurchasePreferences},
    {"NewUnitPurchaseData", Key::kNewUnitPurchaseData},
    {"MultipleSideAttackPreferences", Key::kMultipleSideAttackPreferences},
    {"OneSideAttackPreferences", Key::kOneSideAttackPreferences},
    {"AllianceEntryPolicy", Key::kAllianceEntryPolicy},
    {"CountriesToPress", Key::kCountriesToPress},
    {"TransportsUnitsToFrontsBySea", Key::kTransportsUnitsToFrontsBySea},
    {"MinRatioToPatchFront", Key::kMinRatioToPatchFront},
    {"MaxUnitCountOnFront", Key::kMaxUnitCountOnFront},
    {"MaxCoveringUnitDistance", Key::kMaxCoveringUnitDistance},
    {"MaxSafeMoveCost", Key::kMaxSafeMoveCost},
    {"ShoreBombardmentSingleUse", Key::kShoreBombardmentSingleUse},
    {"CarrierTargetsPriorities", Key::kCarrierTargetsPriorities},
};

std::optional<Key> FindKey(std::string_view name) {
  for (const KeyName& k : kKeys) {
    if (k.name == name) return k.key;
  }
  return std::nullopt;
}

template <std::size_t N>
void StoreCyclic(std::array<std::int32_t, N>& values, int k, std::int32_t value) {
  values[static_cast<std::size_t>(k - 1) % N] = value;
}

// The values of one keyed line, given to the settings of the current country.
class LineParser {
 public:
  LineParser(cGame& game, std::u16string_view path, int line_number)
      : game_(game), path_(path), line_(line_number) {}

  void Value(Key key, sCountryAiSettings& ai, int k, std::string_view token) {
    const std::int32_t v = ParseLeadingInt(token);
    const float f = ParseLeadingFloat(token);
    switch (key) {
      case Key::kCountry: break;
      case Key::kMakesSeaInvasions: ai.MakesSeaInvasions = v != 0; break;
      case Key::kMaxNumberOfFrontsForSeaInvasion: ai.MaxNumberOfFrontsForSeaInvasion = v; break;
      case Key::kCurrentSeaInvasionTarget: ai.CurrentSeaInvasionTarget = v; break;
      case Key::kFortLevelToHoldAtAllCost: ai.FortLevelToHoldAtAllCost = v; break;
      case Key::kDesiredStrategicMovementPoints: ai.DesiredStrategicMovementPoints = v; break;
      case Key::kAllianceEntryPolicy: ai.AllianceEntryPolicy = v; break;
      case Key::kTransportsUnitsToFrontsBySea: ai.TransportsUnitsToFrontsBySea = v != 0; break;
      case Key::kMinRatioToPatchFront: ai.MinRatioToPatchFront = f; break;
      case Key::kMaxUnitCountOnFront: ai.MaxUnitCountOnFront = v; break;
      case Key::kMaxCoveringUnitDistance:
        // A distance the searches add to hex coordinates; an absurd one keeps what was there.
        if (v >= 0 && v <= kMaxPoints) {
          ai.MaxCoveringUnitDistance = v;
        } else {
          LogValueOutOfRange(u"MaxCoveringUnitDistance", v, path_, line_);
        }
        break;
      case Key::kMaxSafeMoveCost: ai.MaxSafeMoveCost = v; break;
      case Key::kDesiredLandForcesStructure: StoreCyclic(ai.DesiredLandForcesStructure, k, v); break;
      case Key::kDesiredTechLevels: StoreCyclic(ai.DesiredTechLevels, k, v); break;
      case Key::kNewUnitPurchasePreferences: StoreCyclic(ai.NewUnitPurchasePreferences, k, v); break;
      case Key::kMultipleSideAttackPreferences: StoreCyclic(ai.MultipleSideAttackPreferences, k, v); break;
      case Key::kOneSideAttackPreferences: StoreCyclic(ai.OneSideAttackPreferences, k, v); break;
      case Key::kNewUnitPurchaseData: StorePurchaseData(ai.NewUnitPurchaseData, k, v, f); break;
      case Key::kShoreBombardmentSingleUse:
        if (k <= 2) ai.ShoreBombardmentSingleUse[static_cast<std::size_t>(k - 1)] = f * 0.01f;
        break;
      case Key::kCarrierTargetsPriorities:
        if (k <= 9) ai.CarrierTargetsPriorities[static_cast<std::size_t>(k - 1)] = v;
        break;
      case Key::kCountriesToPress:
        if (v >= 1 && v <= game_.CountryCount()) {
          ai.CountriesToPress.push_back(v);
        } else {
          LogValueOutOfRange(u"CountriesToPress", v, path_, line_);
        }
        break;
      case Key::kPurchaseQueue: ai.PurchaseQueue.push_back(v); break;
      case Key::kCurrentTargets:
        pending_[static_cast<std::size_t>((k - 1) % 3)] = v;
        if (k % 3 == 0) ai.CurrentTargets.push_back({pending_[0], pending_[1], pending_[2]});
        break;
      case Key::kSeaZonesToPatrol:
        pending_[static_cast<std::size_t>((k - 1) % 2)] = v;
        if (k % 2 == 0) ai.SeaZonesToPatrol.push_back({pending_[0], pending_[1]});
        break;
      case Key::kObligatorySeaInvasionTargets:
      case Key::kDoNotAttackCities:
      case Key::kExtraCitiesToGarrison:
        pending_[static_cast<std::size_t>((k - 1) % 2)] = v;
        if (k % 2 == 0) AddCity(key, ai, pending_[0], pending_[1]);
        break;
    }
  }

 private:
  static void StorePurchaseData(sNewUnitPurchaseData& d, int k, std::int32_t v, float f) {
    switch (k) {
      case 1: d.landType = v; break;
      case 2: d.landPrice = f; break;
      case 3: d.airType = v; break;
      case 4: d.airPrice = f; break;
      case 5: d.navalType = v; break;
      case 6: d.navalPrice = f; break;
      default: break;
    }
  }

  void AddCity(Key key, sCountryAiSettings& ai, int x, int y) {
    const cMap* map = game_.map.get();
    const cCity* city = map && map->IsInside(x, y) ? map->GetHex(x, y)->city : nullptr;
    if (!city) {
      LogFormat(u"ERROR (ai_data.csv, line %i): There is no city at coords (%i,%i)", line_, x, y);
      FatalExit(1);
    }
    if (key == Key::kObligatorySeaInvasionTargets) {
      if (city->type != kCitySupplyPort && city->type != kCityPort) {
        LogFormat(u"ERROR(ai_data.csv, line %i): City at coords (%i, %i) is not a port", line_, x, y);
        FatalExit(1);
      }
      ai.ObligatorySeaInvasionTargets.push_back({x, y});
    } else if (key == Key::kDoNotAttackCities) {
      ai.DoNotAttackCities.push_back({x, y});
    } else {
      ai.ExtraCitiesToGarrison.push_back({x, y});
    }
  }

  cGame& game_;
  std::u16string_view path_;
  int line_;
  std::array<std::int32_t, 3> pending_{};
};

// Value k (from 1) of a key in a saved file, as the game writes it: the
// shares, ratio and prices as decimals, the two switches as 0 or 1, every
// other value a whole number. Anything else would read as another value.
void CheckSavedValue(Key key, int k, std::string_view token, std::u16string_view path, int line) {
  const int field = k + 1;
  const bool decimal = key == Key::kMinRatioToPatchFront || key == Key::kShoreBombardmentSingleUse ||
                       (key == Key::kNewUnitPurchaseData && k % 2 == 0);
  if (decimal) {
    SavedDecimalIn(token, field, std::numeric_limits<float>::lowest(), std::numeric_limits<float>::max(),
                   u"a decimal number within the range of its value", path, line);
  } else if (key == Key::kMakesSeaInvasions || key == Key::kTransportsUnitsToFrontsBySea) {
    SavedWholeIn(token, field, 0, 1, u"0 or 1", path, line);
  } else {
    SavedWholeIn(token, field, INT32_MIN, INT32_MAX, {}, path, line);
  }
}

// The values the game writes after a key: `count` of them, or a list of
// entries of `count` values each.
struct sSavedCount {
  std::size_t count;
  bool list;
};

// The count of values an array of the settings holds, written whole.
template <typename Array>
constexpr sSavedCount kWhole{std::tuple_size_v<Array>, false};

sSavedCount SavedCountOf(Key key) {
  using Ai = sCountryAiSettings;
  switch (key) {
    case Key::kObligatorySeaInvasionTargets:
    case Key::kDoNotAttackCities:
    case Key::kExtraCitiesToGarrison:
    case Key::kSeaZonesToPatrol: return {2, true};
    case Key::kCurrentTargets: return {3, true};
    case Key::kPurchaseQueue:
    case Key::kCountriesToPress: return {1, true};
    case Key::kDesiredLandForcesStructure: return kWhole<decltype(Ai::DesiredLandForcesStructure)>;
    case Key::kDesiredTechLevels: return kWhole<decltype(Ai::DesiredTechLevels)>;
    case Key::kNewUnitPurchasePreferences: return kWhole<decltype(Ai::NewUnitPurchasePreferences)>;
    case Key::kMultipleSideAttackPreferences: return kWhole<decltype(Ai::MultipleSideAttackPreferences)>;
    case Key::kOneSideAttackPreferences: return kWhole<decltype(Ai::OneSideAttackPreferences)>;
    case Key::kNewUnitPurchaseData: return {6, false};
    case Key::kShoreBombardmentSingleUse: return kWhole<decltype(Ai::ShoreBombardmentSingleUse)>;
    case Key::kCarrierTargetsPriorities: return kWhole<decltype(Ai::CarrierTargetsPriorities)>;
    default: return {1, false};
  }
}

// A saved key's values counted as the game writes them: more would wrap
// over the first or be left out, a list's half entry dropped.
void CheckSavedCount(Key key, std::size_t values, std::u16string_view name, std::u16string_view path, int line) {
  const sSavedCount saved = SavedCountOf(key);
  if (!saved.list && values != saved.count) {
    RefuseDamagedTable(path, line, Format(u"has %i values for %s, where the game writes %i",
                                          static_cast<int>(values), name, static_cast<int>(saved.count)));
  }
  if (saved.list && values % saved.count != 0) {
    RefuseDamagedTable(path, line, Format(u"has %i values for %s, where the game writes %i for each entry",
                                          static_cast<int>(values), name, static_cast<int>(saved.count)));
  }
}

}  // namespace

void LoadAIData(cGame& game, std::u16string_view folder_template) {
  const std::u16string path = FolderFilePath(folder_template, u"ai_data.csv");
  LogLine(kOpeningAiDataLine);
  LogLine(path);
  const std::optional<std::string> bytes = ReadTextFile(ResolveGamePath(path));
  if (!bytes) FailMissingTable(path);
  LogLine(kOpenOkLine);
  // The game writes a block for every country, each key with its values.
  const bool saved = game.loadedGame == 1;
  const cSavedTableScope scope(path, saved);
  if (saved) CheckSavedTableStart(*bytes, path);
  std::vector<bool> blockSeen(static_cast<std::size_t>(game.CountryCount()) + 1, false);

  // Lines are read whole: a saved purchase queue can be longer than any fixed buffer.
  int current_country = -1;
  int line_number = 0;
  for (const sTextLine& line : NonEmptyTextLines(*bytes)) {
    line_number = line.number;
    if (!line.text.empty() && line.text[0] == '#') continue;
    // A saved line's empty fields are kept: one dropped would shift a list's pairs.
    std::vector<std::string_view> tokens = SplitTokens(line.text, saved);
    // A line of separators only holds no value, as in every table.
    if (std::all_of(tokens.begin(), tokens.end(), [](std::string_view t) { return t.empty(); })) tokens.clear();
    if (tokens.size() < 2) {
      if (saved && !tokens.empty()) RefuseShortSavedRow(path, line_number, tokens.size(), 2);
      continue;  // a key without values does nothing
    }
    const std::optional<Key> key = FindKey(tokens[0]);
    if (!key) {
      LogFormat(u"ERROR: line %i in ai_data.csv has incorrect variable name (%s)!", line_number,
                CodePageToUtf16(tokens[0]));
      FatalExit(1);
    }
    for (std::size_t k = 1; saved && k < tokens.size(); ++k) {
      CheckSavedValue(*key, static_cast<int>(k), tokens[k], path, line_number);
    }
    if (saved) CheckSavedCount(*key, tokens.size() - 1, CodePageToUtf16(tokens[0]), path, line_number);
    if (*key == Key::kCountry) {
      current_country = ParseLeadingInt(tokens.back());
      if (current_country < 1 || current_country > game.CountryCount()) {
        LogValueOutOfRange(u"Country", current_country, path, line_number);
        current_country = -1;
      } else {
        blockSeen[static_cast<std::size_t>(current_country)] = true;
      }
      continue;
    }
    if (current_country < 1) {
      if (saved) {
        RefuseDamagedTable(path, line_number, Format(u"gives %s before a Country line naming a country the save holds",
                                                     CodePageToUtf16(tokens[0])));
      }
      LogAboutFile(path,
                   u"WARNING: %s in %s at line %i (counting from 1) belongs to no country; ignored",
                   CodePageToUtf16(tokens[0]), path, line_number);
      continue;
    }
    sCountryAiSettings& ai = game.countries[current_country - 1]->aiSettings;
    LineParser parser(game, path, line_number);
    for (std::size_t k = 1; k < tokens.size(); ++k) parser.Value(*key, ai, static_cast<int>(k), tokens[k]);
  }
  if (!saved) return;
  for (int country = 1; country <= game.CountryCount(); ++country) {
    if (!blockSeen[static_cast<std::size_t>(country)]) {
      RefuseDamagedTable(path, 0, Format(u"has no block for country %i (cut short?)", country));
    }
  }
}

namespace {

// A key followed by ";%i;%i" (or triples) per entry; nothing when the list is empty.
void WritePoints(std::u16string& out, std::u16string_view key, const std::vector<sPoint>& points) {
  if (points.empty()) return;
  out += u"\n";
  out += key;
  for (const sPoint& p : points) out += Format(u";%i;%i", p.x, p.y);
}

// The percentage written for a share the reader takes as percent * 0.01f:
// the float next to share * 100 that gives the share back, where one does,
// so a saved game keeps the share exactly.
float SharePercent(float share) {
  float below = share * 100.0f;
  float above = below;
  for (int step = 0; step < 4; ++step) {
    if (below * 0.01f == share) return below;
    if (above * 0.01f == share) return above;
    below = std::nextafter(below, -std::numeric_limits<float>::infinity());
    above = std::nextafter(above, std::numeric_limits<float>::infinity());
  }
  return share * 100.0f;
}

template <typename List, typename Each>
void WriteList(std::u16string& out, std::u16string_view key, const List& list, Each each) {
  if (list.empty()) return;
  out += u"\n";
  out += key;
  for (const auto& entry : list) out += each(entry);
}

std::u16string CountryBlock(const cCountry& country) {
  const sCountryAiSettings& ai = country.aiSettings;
  std::u16string out = Format(u"\nCountry;%i", country.id);
  out += Format(u"\nMakesSeaInvasions;%i", ai.MakesSeaInvasions);
  out += Format(u"\nMaxNumberOfFrontsForSeaInvasion;%i", ai.MaxNumberOfFrontsForSeaInvasion);
  WritePoints(out, u"DoNotAttackCities", ai.DoNotAttackCities);
  out += Format(u"\nFortLevelToHoldAtAllCost;%i", ai.FortLevelToHoldAtAllCost);
  WritePoints(out, u"ExtraCitiesToGarrison", ai.ExtraCitiesToGarrison);
  WriteList(out, u"CurrentTargets", ai.CurrentTargets,
            [](const sAiTarget& t) { return Format(u";%i;%i;%i", t.x, t.y, t.value); });
  WritePoints(out, u"ObligatorySeaInvasionTargets", ai.ObligatorySeaInvasionTargets);
  WriteList(out, u"SeaZonesToPatrol", ai.SeaZonesToPatrol,
            [](const sSeaZoneToPatrol& z) { return Format(u";%i;%i", z.seaZone, z.value); });
  const auto& l = ai.DesiredLandForcesStructure;
  out += Format(u"\nDesiredLandForcesStructure;%i;%i;%i;%i;%i", l[0], l[1], l[2], l[3], l[4]);
  const auto& t = ai.DesiredTechLevels;
  out += Format(u"\nDesiredTechLevels;%i;%i;%i;%i;%i;%i;%i", t[0], t[1], t[2], t[3], t[4], t[5], t[6]);
  out += Format(u"\nDesiredStrategicMovementPoints;%i", ai.DesiredStrategicMovementPoints);
  out += u"\nNewUnitPurchasePreferences";
  for (std::int32_t p : ai.NewUnitPurchasePreferences) out += Format(u";%i", p);
  out += Format(u"\nCurrentSeaInvasionTarget;%i", ai.CurrentSeaInvasionTarget);
  const auto& m = ai.MultipleSideAttackPreferences;
  out += Format(u"\nMultipleSideAttackPreferences;%i;%i;%i", m[0], m[1], m[2]);
  const auto& o = ai.OneSideAttackPreferences;
  out += Format(u"\nOneSideAttackPreferences;%i;%i;%i", o[0], o[1], o[2]);
  out += Format(u"\nAllianceEntryPolicy;%i", ai.AllianceEntryPolicy);
  WriteList(out, u"CountriesToPress", ai.CountriesToPress, [](std::int32_t c) { return Format(u";%i", c); });
  out += Format(u"\nTransportsUnitsToFrontsBySea;%i", ai.TransportsUnitsToFrontsBySea);
  WriteList(out, u"PurchaseQueue", ai.PurchaseQueue, [](std::int32_t c) { return Format(u";%i", c); });
  const sNewUnitPurchaseData& d = ai.NewUnitPurchaseData;
  out += Format(u"\nNewUnitPurchaseData;%i;%s;%i;%s;%i;%s", d.landType, SavedDecimalText(d.landPrice), d.airType,
                SavedDecimalText(d.airPrice), d.navalType, SavedDecimalText(d.navalPrice));
  out += Format(u"\nMinRatioToPatchFront;%s", SavedDecimalText(ai.MinRatioToPatchFront));
  out += Format(u"\nMaxUnitCountOnFront;%i", ai.MaxUnitCountOnFront);
  out += Format(u"\nMaxCoveringUnitDistance;%i", ai.MaxCoveringUnitDistance);
  out += Format(u"\nMaxSafeMoveCost;%i", ai.MaxSafeMoveCost);
  out += Format(u"\nShoreBombardmentSingleUse;%s;%s", SavedDecimalText(SharePercent(ai.ShoreBombardmentSingleUse[0])),
                SavedDecimalText(SharePercent(ai.ShoreBombardmentSingleUse[1])));
  out += u"\nCarrierTargetsPriorities";
  for (std::int32_t p : ai.CarrierTargetsPriorities) out += Format(u";%i", p);
  return out;
}

// A block for each country, opened by its Country line, with one line of
// each key: the readers above check what each value means.
constexpr sSavedField kCountryLine[] = {SavedText(u"Key", 40), SavedWhole(u"Country", 1, kMaxCountryNumber)};
constexpr sSavedField kWholesLine[] = {SavedText(u"Key", 40), SavedAnyWhole(u"Value")};
constexpr sSavedField kDecimalsLine[] = {SavedText(u"Key", 40), SavedDecimal(u"Value", -kAnyDecimal, kAnyDecimal)};
constexpr sSavedField kPurchaseDataLine[] = {
    SavedText(u"Key", 40),
    SavedAnyWhole(u"Land type"),
    SavedDecimal(u"Land price", -kAnyDecimal, kAnyDecimal),
    SavedAnyWhole(u"Air type"),
    SavedDecimal(u"Air price", -kAnyDecimal, kAnyDecimal),
    SavedAnyWhole(u"Naval type"),
    SavedDecimal(u"Naval price", -kAnyDecimal, kAnyDecimal),
};
constexpr std::size_t kKeyField[] = {0};
constexpr std::size_t kCountryField[] = {1};
constexpr sSavedLine Wholes(std::string_view key) {
  return {.key = key, .fields = kWholesLine, .unique = kKeyField, .repeatLast = true};
}
constexpr sSavedLine kAiDataLines[] = {
    {.key = "Country", .fields = kCountryLine, .unique = kCountryField},
    {.key = "MinRatioToPatchFront", .fields = kDecimalsLine, .unique = kKeyField},
    {.key = "ShoreBombardmentSingleUse", .fields = kDecimalsLine, .unique = kKeyField, .repeatLast = true},
    {.key = "NewUnitPurchaseData", .fields = kPurchaseDataLine, .unique = kKeyField},
    Wholes("MakesSeaInvasions"), Wholes("MaxNumberOfFrontsForSeaInvasion"), Wholes("CurrentSeaInvasionTarget"),
    Wholes("ObligatorySeaInvasionTargets"), Wholes("CurrentTargets"), Wholes("DoNotAttackCities"),
    Wholes("ExtraCitiesToGarrison"), Wholes("SeaZonesToPatrol"), Wholes("PurchaseQueue"),
    Wholes("FortLevelToHoldAtAllCost"), Wholes("DesiredLandForcesStructure"), Wholes("DesiredTechLevels"),
    Wholes("DesiredStrategicMovementPoints"), Wholes("NewUnitPurchasePreferences"),
    Wholes("MultipleSideAttackPreferences"), Wholes("OneSideAttackPreferences"), Wholes("AllianceEntryPolicy"),
    Wholes("CountriesToPress"), Wholes("TransportsUnitsToFrontsBySea"), Wholes("MaxUnitCountOnFront"),
    Wholes("MaxCoveringUnitDistance"), Wholes("MaxSafeMoveCost"), Wholes("CarrierTargetsPriorities"),
};

}  // namespace

const sSavedTable kAiDataFields{u"ai_data.csv", kAiDataLines, "Country"};

bool WriteAIData(const cGame& game, std::u16string_view folder) {
  cTableWriter writer(SaveFilePath(folder, u"ai_data.csv"));
  if (!writer.ok()) return false;
  writer.Write(u"# ai data");
  for (const auto& country : game.countries) writer.Write(CountryBlock(*country));
  return writer.Commit();
}

}  // namespace tr
