#include "scenario/countries_file.h"

#include <cstdint>
#include <iterator>
#include <limits>
#include <memory>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/log_bound.h"
#include "foundation/number_text.h"
#include "foundation/text.h"
#include "scenario/pbem_player.h"
#include "scenario/saved_fields.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"
#include "scenario/table_writer.h"
#include "world/gra.h"
#include "world/hex.h"
#include "world/tech_levels.h"

namespace tr {
namespace {

constexpr std::size_t kMinimumFields = 69;
// The doctrine (technology 2) is neither invested in nor researched in the file.
constexpr int kStoredTechs[] = {0, 1, 3, 4, 5, 6};

constexpr std::u16string_view kGroupLine =
    u"#Important! Ids must follow sequence (1,2,3...etc);;;;;;;;;;;;;;Tech levels;;;;;;;Points;;;;;Points "
    u"max/used;;;Tech investments;;;;;;Tech research progress;;;;;;Capital coordinates on diplomacy bmp "
    u"image;;DoneDelayWarEntry;DoneHasteWarEntry;DoneParliamentaryElections;DoneTurnInOrientation;;;Data for "
    u"settings screen only;Data for settings screen only;;Nuclear;;Months to reach new level of land warfare "
    u"doctrine (cumulated);;;;;DoneExertPressureAxis;DoneExertPressureAllied;DoneExertPressureComintern;;;"
    u"Weather modifiers;;;;\n";
constexpr std::u16string_view kColumnLine =
    u"#ID;IsActive?;Name;Color1;Color2;Color3;Color4;Alliance;Orientation;Zone of Influence;Alliance entry;"
    u"Polit. Str.;Finished turn?;Human controlled?;Artillery;Tanks;Land warfer doctrine (0-5);Aircraft;Subs;"
    u"Navy;Nukes;PPs;DPs;SMPs;STPs;AIPs;SMP;STP used by convoys;AIP;Artillery;Tanks;Aircraft;Subs;Navy;Nukes;"
    u"Artillery;Tanks;Aircraft;Subs;Navy;Nukes;X;Y;0/1;0/1;0/1;0/1;Social unrest;WarEconomy(%);Power "
    u"(1-major, 2-minor, 3-other);Region (1-africa, 2-asia, 3-europe, 4-n. America, 5-s.america);Difficulty "
    u"level (0-v.hard, 1-hard, 2-normal, 3-easy, 4-v.easy);Nuclear bombs;DP growth per month;Lev 1;Lev 2;"
    u"Lev 3;Lev 4;Lev 5;0/1;0/1;0/1;PBEM Player ID;Unit upkeep cost modifier;Winter battle;Winter move;Mud "
    u"battle;Mud move;Country type special flags;Skins name [optional]";

// The reader below holds each value within these ranges, and the rules and
// events keep them there. A value a scenario gives and the game keeps as it
// is may be any whole number: the alliance entry (events add to it from
// there), the capital's place on the diplomacy picture, the power, the
// region and the special flags; so may a PBEM player below 0 (none).
constexpr sSavedField kCountryFields[] = {
    SavedWhole(u"ID", 1, kMaxCountryNumber),
    SavedSwitch(u"IsActive?"),
    SavedText(u"Name", kMaxNameLength),
    SavedHex(u"Color1", UINT32_MAX),
    SavedHex(u"Color2", UINT32_MAX),
    SavedHex(u"Color3", UINT32_MAX),
    SavedHex(u"Color4", UINT32_MAX),
    SavedWhole(u"Alliance", 0, 6),
    SavedWhole(u"Orientation", 0, 5),
    SavedWhole(u"Zone of Influence", 0, 3),
    SavedAnyWhole(u"Alliance entry"),
    // -1 marks a country that has left the war.
    SavedWhole(u"Polit. Str.", -1, kMaxPoints),
    SavedSwitch(u"Finished turn?"),
    SavedSwitch(u"Human controlled?"),
    SavedWhole(u"Artillery level", -kMaxStoredTechLevel, kMaxStoredTechLevel),
    SavedWhole(u"Tanks level", -kMaxStoredTechLevel, kMaxStoredTechLevel),
    SavedWhole(u"Land warfare doctrine level", -kMaxStoredTechLevel, kMaxStoredTechLevel),
    SavedWhole(u"Aircraft level", -kMaxStoredTechLevel, kMaxStoredTechLevel),
    SavedWhole(u"Subs level", -kMaxStoredTechLevel, kMaxStoredTechLevel),
    SavedWhole(u"Navy level", -kMaxStoredTechLevel, kMaxStoredTechLevel),
    SavedWhole(u"Nukes level", -kMaxStoredTechLevel, kMaxStoredTechLevel),
    SavedDecimal(u"PPs", -kMaxProduction, kMaxProduction),
    SavedWhole(u"DPs", -kMaxPoints, kMaxPoints),
    SavedWhole(u"SMPs", 0, kMaxPoints),
    SavedWhole(u"STPs", -kMaxPoints, kMaxPoints),
    SavedWhole(u"AIPs", -kMaxPoints, kMaxPoints),
    SavedWhole(u"SMP", 0, kMaxPoints),
    SavedWhole(u"STP used by convoys", 0, kMaxPoints),
    SavedWhole(u"AIP", -kMaxPoints, kMaxPoints),
    SavedWhole(u"Artillery investment", 0, kMaxPoints),
    SavedWhole(u"Tanks investment", 0, kMaxPoints),
    SavedWhole(u"Aircraft investment", 0, kMaxPoints),
    SavedWhole(u"Subs investment", 0, kMaxPoints),
    SavedWhole(u"Navy investment", 0, kMaxPoints),
    SavedWhole(u"Nukes investment", 0, kMaxPoints),
    SavedWhole(u"Artillery research progress", 0, kMaxPoints),
    SavedWhole(u"Tanks research progress", 0, kMaxPoints),
    SavedWhole(u"Aircraft research progress", 0, kMaxPoints),
    SavedWhole(u"Subs research progress", 0, kMaxPoints),
    SavedWhole(u"Navy research progress", 0, kMaxPoints),
    SavedWhole(u"Nukes research progress", 0, kMaxPoints),
    SavedAnyWhole(u"Capital X"),
    SavedAnyWhole(u"Capital Y"),
    SavedSwitch(u"DoneDelayWarEntry"),
    SavedSwitch(u"DoneHasteWarEntry"),
    SavedSwitch(u"DoneParliamentaryElections"),
    SavedSwitch(u"DoneTurnInOrientation"),
    SavedDecimal(u"Social unrest", 0, 100),
    SavedDecimal(u"WarEconomy(%)", 0, kMaxPoints),
    SavedAnyWhole(u"Power"),
    SavedAnyWhole(u"Region"),
    SavedWhole(u"Difficulty level", 0, 4),
    SavedWhole(u"Nuclear bombs", 0, kMaxPoints),
    SavedWhole(u"DP growth per month", 0, kMaxPoints),
    SavedWhole(u"Doctrine months Lev 1", -kMaxPoints, kMaxPoints),
    SavedWhole(u"Doctrine months Lev 2", -kMaxPoints, kMaxPoints),
    SavedWhole(u"Doctrine months Lev 3", -kMaxPoints, kMaxPoints),
    SavedWhole(u"Doctrine months Lev 4", -kMaxPoints, kMaxPoints),
    SavedWhole(u"Doctrine months Lev 5", -kMaxPoints, kMaxPoints),
    SavedSwitch(u"DoneExertPressureAxis"),
    SavedSwitch(u"DoneExertPressureAllied"),
    SavedSwitch(u"DoneExertPressureComintern"),
    SavedWhole(u"PBEM Player ID", -kAnyWhole - 1, kMaxPbemPlayers),
    SavedDecimal(u"Unit upkeep cost modifier", 0, kMaxPercent),
    SavedDecimal(u"Winter battle", -kMaxPercent, kMaxPercent),
    SavedDecimal(u"Winter move", -kMaxPercent, kMaxPercent),
    SavedDecimal(u"Mud battle", -kMaxPercent, kMaxPercent),
    SavedDecimal(u"Mud move", -kMaxPercent, kMaxPercent),
    SavedAnyWhole(u"Country type special flags"),
    SavedText(u"Skins name", kMaxNameLength),
};
// The game writes every field of a row, the skins name too.
constexpr std::size_t kSavedFields = kMinimumFields + 1;
static_assert(std::size(kCountryFields) == kSavedFields);
constexpr std::size_t kIdKey[] = {0};
constexpr sSavedLine kCountryLines[] = {{.fields = kCountryFields, .unique = kIdKey}};

// Reads the fields of one row; values that index tables are checked against their range.
class RowReader {
 public:
  RowReader(const std::vector<std::u16string>& fields, std::u16string_view path, int line)
      : fields_(fields), path_(path), line_(line) {}

  std::int32_t Int(std::size_t column) const {
    CheckNumberField(fields_, column - 1, eColumn::kWhole, path_, line_);
    return FieldInt(fields_, column - 1);
  }
  float Float(std::size_t column) const {
    CheckNumberField(fields_, column - 1, eColumn::kDecimal, path_, line_);
    return FieldFloat(fields_, column - 1);
  }
  double Double(std::size_t column) const {
    CheckNumberField(fields_, column - 1, eColumn::kDecimal, path_, line_);
    return ParseLeadingDouble(fields_[column - 1]);
  }
  std::uint8_t Flag(std::size_t column) const {
    Int(column);
    return FieldSwitch(fields_, column - 1, path_, line_) ? 1 : 0;
  }
  std::uint32_t Hex(std::size_t column) const {
    // A saved colour was checked as the game writes it (kCountryFields).
    return ParseLeadingHex(fields_[column - 1]);
  }
  std::u16string Text(std::size_t column) const { return CutName(fields_[column - 1]); }
  std::u16string_view Path() const { return path_; }

  // The value when it lies in [low, high]; else logged, and the fallback.
  std::int32_t Ranged(std::size_t column, std::u16string_view what, int low, int high, int fallback) const {
    const std::int32_t value = Int(column);
    if (value >= low && value <= high) return value;
    LogValueOutOfRange(what, value, path_, line_);
    return fallback;
  }
  // A quantity that play raises or lowers: beyond its range it is held at the
  // nearest end, as play holds it.
  std::int32_t Held(std::size_t column, std::u16string_view what, int low, int high) const {
    return HeldInRange(Int(column), low, high, what, path_, line_);
  }
  double HeldDouble(std::size_t column, std::u16string_view what, double low, double high) const {
    const double value = Double(column);
    if (value >= low && value <= high) return value;
    const double held = value > high ? high : low;  // a value that is no number reads as the lower end
    LogDecimalHeld(what, value, held, path_, line_);
    return held;
  }
  float HeldFloat(std::size_t column, std::u16string_view what, float low, float high) const {
    return static_cast<float>(HeldDouble(column, what, low, high));
  }
  // Points that must not be negative.
  std::int32_t Points(std::size_t column, std::u16string_view what) const { return Held(column, what, 0, kMaxPoints); }

 private:
  const std::vector<std::u16string>& fields_;
  std::u16string_view path_;
  int line_;
};

void FillCountry(cCountry& c, const RowReader& row, int position) {
  c.id = row.Int(1);
  // Every rule finds country k in row k and sizes its tables by the count of
  // rows, so a number out of that sequence cannot be played.
  if (c.id != position) {
    LogFormat(u"ERROR: country in row %i of %s has ID %i; IDs must follow the sequence 1, 2, 3...", position,
              row.Path(), c.id);
    ExitDestroyingGame(1);
  }
  if (c.id > kMaxCountryNumber) {
    LogFormat(u"ERROR: country in row %i of %s has ID %i; a hex of the map keeps its country in one byte, so a game "
              u"has at most %i countries",
              position, row.Path(), c.id, kMaxCountryNumber);
    ExitDestroyingGame(1);
  }
  c.isActive = row.Flag(2);
  c.SetName(row.Text(3));
  for (std::size_t i = 0; i < 4; ++i) c.colors[i] = row.Hex(4 + i);
  c.alliance = row.Ranged(8, u"Alliance", 0, 6, 0);
  c.orientation = row.Ranged(9, u"Orientation", 0, 5, 0);
  c.zoneOfInfluence = row.Ranged(10, u"Zone of Influence", 0, 3, 0);
  c.allianceEntry = row.Int(11);
  // -1 marks a country that has left the war.
  c.politicalStrength = row.Held(12, u"Polit. Str.", -1, kMaxPoints);
  c.finishedTurn = row.Flag(13);
  c.humanControlled = row.Flag(14);
  for (std::size_t t = 0; t < 7; ++t) c.techLevels[t] = row.Held(15 + t, u"Tech level", -kMaxStoredTechLevel, kMaxStoredTechLevel);
  c.productionPoints = row.HeldDouble(22, u"PPs", -kMaxProduction, kMaxProduction);
  // Events and payments may take more than a country holds.
  c.diplomaticPoints = row.Held(23, u"DPs", -kMaxPoints, kMaxPoints);
  c.strategicMovementPoints = row.Points(24, u"SMPs");
  c.seaTransportPoints = row.Held(25, u"STPs", -kMaxPoints, kMaxPoints);
  c.invasionPoints = row.Held(26, u"AIPs", -kMaxPoints, kMaxPoints);
  c.strategicMovementMax = row.Points(27, u"SMP");
  c.seaTransportUsedByConvoys = row.Points(28, u"STP used by convoys");
  // The invasion points held at the end of an impulse, debts included.
  c.invasionPointsUsed = row.Held(29, u"AIP", -kMaxPoints, kMaxPoints);
  for (std::size_t k = 0; k < 6; ++k) {
    c.techInvestments[kStoredTechs[k]] = row.Points(30 + k, u"Tech investment");
    c.researchProgress[kStoredTechs[k]] = row.Points(36 + k, u"Tech research progress");
  }
  c.capitalX = row.Int(42);
  c.capitalY = row.Int(43);
  c.doneDelayWarEntry = row.Flag(44);
  c.doneHasteWarEntry = row.Flag(45);
  c.doneParliamentaryElections = row.Flag(46);
  c.doneTurnInOrientation = row.Flag(47);
  c.socialUnrest = row.HeldFloat(48, u"Social unrest", 0.0f, 100.0f);
  c.warEconomy = row.HeldFloat(49, u"WarEconomy(%)", 0.0f, static_cast<float>(kMaxPoints));
  c.power = row.Int(50);
  c.region = row.Int(51);
  c.difficulty = row.Ranged(52, u"Difficulty level", 0, 4, 2);
  c.nuclearBombs = row.Points(53, u"Nuclear bombs");
  c.dpGrowthPerMonth = row.Points(54, u"DP growth per month");
  // Lowered every month without a floor, so they may stand below 0.
  for (std::size_t k = 0; k < 5; ++k) {
    c.doctrineMonths[k] = row.Held(55 + k, u"Doctrine months", -kMaxPoints, kMaxPoints);
  }
  c.doneExertPressureAxis = row.Flag(60);
  c.doneExertPressureAllied = row.Flag(61);
  c.doneExertPressureComintern = row.Flag(62);
  c.pbemPlayerId = row.Ranged(63, u"PBEM Player ID", std::numeric_limits<int>::min(), kMaxPbemPlayers, 0);
  c.unitUpkeepModifier = row.HeldFloat(64, u"Unit upkeep cost modifier", 0.0f, kMaxPercent);
  c.winterBattle = row.HeldFloat(65, u"Winter battle", -kMaxPercent, kMaxPercent);
  c.winterMove = row.HeldFloat(66, u"Winter move", -kMaxPercent, kMaxPercent);
  c.mudBattle = row.HeldFloat(67, u"Mud battle", -kMaxPercent, kMaxPercent);
  c.mudMove = row.HeldFloat(68, u"Mud move", -kMaxPercent, kMaxPercent);
  c.specialFlags = row.Int(69);
}

std::u16string CountryRow(const cCountry& c) {
  std::u16string row = Format(u"\n%i;%i;%s;%X;%X;%X;%X;", c.id, c.isActive, SanitizeFieldText(c.name), c.colors[0],
                              c.colors[1], c.colors[2], c.colors[3]);
  row += Format(u"%i;%i;%i;%i;%i;%i;%i;", c.alliance, c.orientation, c.zoneOfInfluence, c.allianceEntry,
                c.politicalStrength, c.finishedTurn, c.humanControlled);
  for (std::int32_t level : c.techLevels) row += Format(u"%i;", level);
  row += Format(u"%s;", SavedDecimalText(c.productionPoints));
  row += Format(u"%i;%i;%i;%i;%i;%i;%i;", c.diplomaticPoints, c.strategicMovementPoints, c.seaTransportPoints,
                c.invasionPoints, c.strategicMovementMax, c.seaTransportUsedByConvoys, c.invasionPointsUsed);
  for (int t : kStoredTechs) row += Format(u"%i;", c.techInvestments[t]);
  for (int t : kStoredTechs) row += Format(u"%i;", c.researchProgress[t]);
  row += Format(u"%i;%i;%i;%i;%i;%i;", c.capitalX, c.capitalY, c.doneDelayWarEntry, c.doneHasteWarEntry,
                c.doneParliamentaryElections, c.doneTurnInOrientation);
  row += Format(u"%s;%s;", SavedDecimalText(c.socialUnrest), SavedDecimalText(c.warEconomy));
  row += Format(u"%i;%i;%i;%i;%i;", c.power, c.region, c.difficulty, c.nuclearBombs, c.dpGrowthPerMonth);
  for (std::int32_t months : c.doctrineMonths) row += Format(u"%i;", months);
  row += Format(u"%i;%i;%i;%i;", c.doneExertPressureAxis, c.doneExertPressureAllied, c.doneExertPressureComintern,
                c.pbemPlayerId);
  for (const float modifier : {c.unitUpkeepModifier, c.winterBattle, c.winterMove, c.mudBattle, c.mudMove}) {
    row += Format(u"%s;", SavedDecimalText(modifier));
  }
  row += Format(u"%i;%s;", c.specialFlags, SanitizeFieldText(c.skinsName));
  return row;
}

}  // namespace

const sSavedTable kCountriesFields{u"countries.csv", kCountryLines};

void LoadCountries(cGame& game, std::u16string_view folder_template) {
  const std::u16string path = FolderFilePath(folder_template, u"countries.csv");
  cCsvReader reader = OpenTable(kOpeningCountriesLine, path);
  game.viewingCountry = nullptr;
  game.countries.clear();
  const bool saved = game.loadedGame == 1;
  const cSavedTableScope scope(path, saved);
  if (saved) CheckSavedTableStart(reader, path);
  while (!reader.AtEnd()) {
    ReadTableRow(reader, saved);
    const std::size_t count = reader.fields.size();
    if (count == 0) continue;
    const int line = static_cast<int>(reader.RecordCount());
    if (saved && count > kSavedFields) {
      RefuseDamagedTable(path, line, Format(u"has more than the %i fields of a row", static_cast<int>(kSavedFields)));
    }
    if (saved && count < kSavedFields) RefuseShortSavedRow(path, line, count, kSavedFields);
    if (count < kMinimumFields) {
      LogAboutFile(path,
                   u"WARNING: wrong tokens (columns/values) amount (%i) in %s at line %i (counting from 1)",
                   static_cast<int>(count), path, line);
      continue;
    }
    auto country = std::make_unique<cCountry>();
    FillCountry(*country, RowReader(reader.fields, path, line), game.CountryCount() + 1);
    if (count > kMinimumFields) country->SetSkinsName(CutName(reader.fields[kMinimumFields]));
    country->LoadFlagTexture(game.scenarioName);
    LogFormat(u"Added country %s (ID: %i, AllianceID: %i)", country->name, country->id, country->alliance);
    game.countries.push_back(std::move(country));
  }
}

bool WriteCountries(const cGame& game, std::u16string_view folder) {
  cTableWriter writer(SaveFilePath(folder, u"countries.csv"));
  if (!writer.ok()) return false;
  writer.Write(kGroupLine);
  writer.Write(kColumnLine);
  for (const auto& country : game.countries) writer.Write(CountryRow(*country));
  return writer.Commit();
}

}  // namespace tr
