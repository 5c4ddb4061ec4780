// One country of the game: identity, alliance and politics, points and
// technologies, textures, its names for the unit types and its settings for
// the computer opponent. The game keeps the countries in a vector whose index
// is the country number minus 1.
#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <string_view>

#include "world/country_ai_settings.h"
#include "world/presentation.h"

namespace tr {

class cCity;
class cUnit;

// What a country rule of the end of impulse reports: a title and a text. The
// report of a rule that files one text is the title followed by the text.
struct sCountryReport {
  std::u16string title;
  std::u16string text;
};

// Per unit type, the units on the map (first) and in the reserves (second);
// rows 0..15 in display order, rows 16..31 by type code.
using UnitTypeCountTable = std::array<std::array<std::int32_t, 2>, 32>;

// Codes 4 to 6 are the leaders of the alliances 1 to 3.
enum eAlliance : std::int32_t {
  kNeutral = 0,
  kAllies = 1,
  kAxis = 2,
  kComintern = 3,
  kAlliesLeader = 4,
  kAxisLeader = 5,
  kCominternLeader = 6,
};

// Orientations 0..5 form the camps {0, 3} (allies), {1, 4} (axis) and {2, 5} (comintern).
enum eOrientation : std::int32_t {
  kFirmDemocracy = 0,
  kNationalistRegime = 1,
  kCommunistRegime = 2,
  kProAllied = 3,
  kProAxis = 4,
  kProCommunist = 5,
};

inline constexpr int kTechCount = 7;
// The technologies by their index in the countries' tech tables.
inline constexpr int kArtilleryTech = 0;
inline constexpr int kTanksTech = 1;
inline constexpr int kDoctrineTech = 2;
inline constexpr int kAircraftTech = 3;
inline constexpr int kSubmarineTech = 4;
inline constexpr int kNavyTech = 5;
inline constexpr int kUnitTypeNameSlots = 17;

// Alliance code 1..6 reduced to 1..3; 0 for neutral and unknown codes.
int AllianceBase(int code);

class cCountry {
 public:
  cCountry() = default;
  cCountry(const cCountry&) = delete;
  cCountry& operator=(const cCountry&) = delete;

  // Textures and names.
  void LoadUnitsTexture(std::u16string_view unitsSkin);
  void LoadFlagTexture(std::u16string_view scenarioName);
  TextureId GetFlagTexture() const;
  void ReleaseTextures();
  // Copies into name and skinsName, then reloads the units texture.
  void SetName(std::u16string_view newName);
  void SetSkinsName(std::u16string_view newName);
  // The country's name for a unit type code (0-6, 20-22, 40-45, 60); null
  // for other codes and for names never set.
  const std::u16string* GetUnitTypeName(int type) const;
  void SetUnitTypeName(int slot, std::u16string_view text);
  // The slot of a unit type code, or -1.
  static int UnitTypeSlot(int type);
  void SetSavedView(float x, float y, float zoom);
  std::array<float, 3> GetSavedView() const { return savedView; }

  // Points: each adds the amount (negative pays) and refreshes the information panel.
  void AddDiplomaticPoints(std::int32_t amount);
  void AddProductionPoints(double amount);
  void AddStrategicMovementPoints(std::int32_t amount);
  void AddSeaTransportPoints(std::int32_t amount);
  void AddInvasionPoints(std::int32_t amount);

  // Alliance, orientation and war tests.
  bool BelongsToAlliance(int alliance) const;
  bool IsAlly(int countryId) const;
  bool SharesOrientationWith(const cCountry& other) const;
  bool IsInOwnZoneOfInfluence() const;
  bool IsAtWarWith(int countryId) const;
  bool IsAtWarWithAnyone() const;
  bool IsAllianceActive() const;
  // A play-by-e-mail player plays the country; an id of 0 or less means none.
  bool HasPbemPlayer() const { return pbemPlayerId > 0; }
  // The fog of war of this country and its allies, from scratch (units/spotting.cpp).
  void RecalculateUnitsVisibility();
  // The level of technology 0..6; 0 for any other index.
  std::int32_t GetTechLevel(int index) const;

  // Lists of the computer opponent.
  bool IsExtraCityToGarrison(int x, int y) const;
  void RemoveDoNotAttackCity(int x, int y);

  // Alliances, war entry, orientation and names (country_alliances.cpp).
  // Joining an alliance whose leader does not exist is fatal.
  void JoinAlliance(int allianceCode);
  void DeclareWarOnAlliance(int allianceCode);
  // The row and column of the country in the declare-war tables.
  int GetDeclareWarRow() const;
  int GetDeclareWarColumn() const;
  void TurnOrientationToward(const cCountry& other);
  // The alliance 1..3 of the orientation's camp.
  int GetTargetAlliance() const;
  // Each writes the name's text into buffer; variant picks the keys ending in "2".
  void GetAllianceName(std::u16string& buffer, bool variant) const;
  void GetTargetAllianceName(std::u16string& buffer, bool variant) const;
  void GetOrientationName(std::u16string& buffer, bool variant) const;
  void GetZoneOfInfluenceName(std::u16string& buffer, bool variant) const;
  // 1 axis, 2 allies, 3 comintern, 4 neutral: the order sides act in.
  int GetTurnOrderSide() const;

  // The end of impulse's country steps (country_surrender.cpp, country_economy.cpp).
  sCountryReport Surrender();
  sCountryReport PayUnitUpkeep();
  sCountryReport CollectProduction();
  sCountryReport ProgressResearch();
  void CheckDoctrineLevel();

  // Rules over the country's cities and units (country_units.cpp, country_air.cpp).
  bool HasLostAllVictoryCities() const;
  cCity* FindMainCity() const;
  void DestroyAllLandUnits();
  void DestroyAllAirUnits();
  void DestroyAllNavalUnits();
  void UnfreezeAllLandUnits();
  void SetFreezeTimeOfFrozenLandUnits(std::int32_t time);
  void TransferForcesTo(int countryId);
  void AddAmphibiousShipCapacity();
  std::int32_t GetTotalSeaTransportPoints() const;
  void CountUnitsByType(UnitTypeCountTable& table) const;
  void WithdrawUnitsFromForeignHexes(bool restoreControl);
  std::int32_t GetFriendlyAirPowerAt(int x, int y) const;
  std::int32_t GetEnemyAirPowerAt(int x, int y) const;
  // Friendly over enemy air power; -1 when the enemy has none.
  float GetAirSuperiorityRatio(int x, int y) const;
  // The unit that would intercept an air attack on (x, y) for this country:
  // its own or an ally's fighter over land, an enemy carrier at the sea node
  // of a water hex; null when there is none (country_interceptor.cpp).
  cUnit* FindBestInterceptor(int x, int y) const;

  std::int32_t id = 0;
  std::uint8_t isActive = 0;
  std::u16string name;
  std::u16string skinsName;
  std::int32_t alliance = kNeutral;
  std::int32_t orientation = kFirmDemocracy;
  std::int32_t zoneOfInfluence = 0;  // 0 none, 1 allied, 2 axis, 3 comintern
  std::int32_t allianceEntry = 0;    // percent; 100 for a member
  std::int32_t politicalStrength = 0;  // -1: never surrenders
  std::uint8_t finishedTurn = 0;
  std::uint8_t humanControlled = 0;
  std::array<std::int32_t, kTechCount> techLevels{};
  float socialUnrest = 0.0f;
  std::array<std::optional<std::u16string>, kUnitTypeNameSlots> unitTypeNames;
  std::array<float, 3> savedView{0.0f, 0.0f, -100.0f};  // x, y, zoom; zoom below 0: none saved
  TextureId unitsTexture = kNoTexture;
  TextureId flagTexture = kNoTexture;
  std::array<std::uint32_t, 4> colors{};  // ARGB
  double productionPoints = 0.0;
  std::int32_t diplomaticPoints = 0;
  std::int32_t strategicMovementPoints = 0;
  std::int32_t seaTransportPoints = 0;
  std::int32_t invasionPoints = 0;
  std::int32_t strategicMovementMax = 0;
  std::int32_t seaTransportUsedByConvoys = 0;
  std::int32_t invasionPointsUsed = 0;
  std::array<std::int32_t, kTechCount> techInvestments{};
  std::array<std::int32_t, kTechCount> researchProgress{};
  std::int32_t capitalX = 0;
  std::int32_t capitalY = 0;
  std::uint8_t doneDelayWarEntry = 0;
  std::uint8_t doneHasteWarEntry = 0;
  std::uint8_t doneParliamentaryElections = 0;
  std::uint8_t doneTurnInOrientation = 0;
  std::uint8_t doneExertPressureAxis = 0;
  std::uint8_t doneExertPressureAllied = 0;
  std::uint8_t doneExertPressureComintern = 0;
  float warEconomy = 0.0f;
  std::int32_t power = 0;       // 1 major, 2 minor, 3 other
  std::int32_t region = 0;      // 1 Africa .. 5 South America
  std::int32_t difficulty = 0;  // 0 very hard .. 4 very easy
  std::int32_t nuclearBombs = 0;
  std::int32_t dpGrowthPerMonth = 0;
  std::array<std::int32_t, 5> doctrineMonths{};
  sCountryAiSettings aiSettings;
  std::int32_t pbemPlayerId = 0;
  float unitUpkeepModifier = 0.0f;
  float winterBattle = 0.0f;
  float winterMove = 0.0f;
  float mudBattle = 0.0f;
  float mudMove = 0.0f;
  std::list<std::u16string> airshipAttackReports;  // waiting for the country as defender
  std::list<cUnit*> reconSpottedUnits;  // not owned
  std::int32_t specialFlags = 0;
};

// Game paths of a country's textures.
std::u16string UnitsTexturePath(std::u16string_view unitsSkin, std::u16string_view countryName);
std::u16string ScenarioFlagPath(std::u16string_view scenarioName, std::u16string_view countryName);
std::u16string DefaultFlagPath(std::u16string_view countryName);

}  // namespace tr
