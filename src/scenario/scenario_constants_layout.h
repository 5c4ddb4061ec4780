// The storage of the scenario constants: one flat table of numbered slots, in
// the order "consts.csv" fills them, and the map from each data line's fields
// to those slots. A few members share slots on purpose (the table says which),
// because rules read some arrays past their end into the next member.
#pragma once

#include <cstddef>
#include <span>

namespace tr::consts_layout {

// First slot of each member; arrays run on in the order their index runs.
inline constexpr int kImpulsesPerMonth = 0;                          // [1..12]
inline constexpr int kLandActionPoints = kImpulsesPerMonth + 12;     // [0..5][0..6]
inline constexpr int kLandBaseValue = kLandActionPoints + 42;        // [0..5][0..6]
inline constexpr int kAirActionPoints = kLandBaseValue;              // [20..22], level-0 row of the above
inline constexpr int kAirMaxStrength = kLandBaseValue + 42;          // [20..22], [22] = MoveCost[0][0]
inline constexpr int kMoveCost = kAirMaxStrength + 2;                // [0..2][0..9]: terrain, default, zoc
inline constexpr int kMoveCostRow = 10;
inline constexpr int kDoctrineCombatPercent = kMoveCost + 30;
inline constexpr int kDefenderLossPercent = kDoctrineCombatPercent + 1;  // [1..6][1..7]
inline constexpr int kAttackerLossFactor = kDefenderLossPercent + 42;    // [1..6][1..7]
inline constexpr int kLine31 = kAttackerLossFactor + 42;                 // 13 slots of line 31
inline constexpr int kArmourAttackFactor = kLine31;
inline constexpr int kNonLandDefenderAttackFactor = kLine31 + 1;
inline constexpr int kDirectionsFactor = kLine31 + 2;                    // [1..6]
inline constexpr int kRiverAttackFactor = kLine31 + 11;
inline constexpr int kFortAttackPercent = kLine31 + 12;
inline constexpr int kTerrainDefenceFactor = kLine31 + 13;               // [0..7]
inline constexpr int kCityDefenceFactor = kTerrainDefenceFactor + 8;
inline constexpr int kAirUnitDefenceStrength = kCityDefenceFactor + 1;
inline constexpr int kAttackActionPointCost = kAirUnitDefenceStrength + 1;  // [0..5]
inline constexpr int kAirCombatTableA = kAttackActionPointCost + 6;      // [1..6][-4..4]
inline constexpr int kAirCombatTableB = kAirCombatTableA + 54;
inline constexpr int kAirRangeBase = kAirCombatTableB + 54;              // [1..5]
inline constexpr int kFullSupplyLevel = kAirRangeBase + 5;
inline constexpr int kSupplyLevels = 51;                                 // levels 0..50
inline constexpr int kSupplyCombatPercent = kFullSupplyLevel + 1;
inline constexpr int kSupplySegmentBounds = kSupplyCombatPercent + kSupplyLevels;  // [0..9]
inline constexpr int kSupplySegmentValues = kSupplySegmentBounds + 10;   // [0..5][0..9], lines 51..56
inline constexpr int kSupplyApReductionPercent = kSupplySegmentValues + 60;
inline constexpr int kSupplyAirModifier = kSupplyApReductionPercent + kSupplyLevels;
inline constexpr int kSupplyBombardedPercent = kSupplyAirModifier + kSupplyLevels;
inline constexpr int kSupplyReplacementValueA = kSupplyBombardedPercent + kSupplyLevels;
inline constexpr int kSupplyReplacementValueB = kSupplyReplacementValueA + kSupplyLevels;
inline constexpr int kBombardLandTableA = kSupplyReplacementValueB + kSupplyLevels;  // [1..9]
inline constexpr int kBombardLandTableB = kBombardLandTableA + 9;        // [1..5]
inline constexpr int kBombardLandTableC = kBombardLandTableB + 5;        // [1..3]
inline constexpr int kBombardLandValue = kBombardLandTableC + 3;
inline constexpr int kBombardLandFactor = kBombardLandValue + 1;         // [1..6]
inline constexpr int kBombardLandLossTable = kBombardLandFactor + 6;     // [1..6][1..5]
inline constexpr int kStrategicMoveCost = kBombardLandLossTable + 30;    // [0..6], read on by type code
inline constexpr int kSeaTransportCost = kStrategicMoveCost + 7;         // [0..6]
inline constexpr int kAmphibiousTransportCost = kSeaTransportCost + 7;   // [0..6]
inline constexpr int kFleetValue = kAmphibiousTransportCost + 7;
inline constexpr int kFleetTable = kFleetValue + 1;                      // [1..8]
inline constexpr int kShipHitPoints = kFleetTable + 8;                   // [40..45]
inline constexpr int kNavalValuesB = kShipHitPoints + 6;                 // [40..45]
inline constexpr int kNavalValuesC = kNavalValuesB + 6;                  // [40..45]
inline constexpr int kNavalFactor = kNavalValuesC + 6;                   // [40..45], doubles
inline constexpr int kReplacementTable = kNavalFactor + 6;               // [1..6]
inline constexpr int kReplacementFactor = kReplacementTable + 6;         // [0..6]
inline constexpr int kLandPriceFactor = kReplacementFactor + 7;          // [0..6]
inline constexpr int kPriceTableA = kLandPriceFactor + 7;                // [1..3]
inline constexpr int kAirLevelUpFactor = kPriceTableA + 3;               // [20..22]
inline constexpr int kLevelPriceSurcharge = kAirLevelUpFactor + 3;
inline constexpr int kAirLevelUpPercent = kLevelPriceSurcharge + 1;
inline constexpr int kCommanderSkillFactor = kAirLevelUpPercent + 1;
inline constexpr int kPurchaseValues = kCommanderSkillFactor + 1;        // [1..4]
inline constexpr int kPurchasePriceBase = kPurchaseValues + 4;           // [1..3]
inline constexpr int kPurchasePriceFactor = kPurchasePriceBase + 3;      // [1..3]
inline constexpr int kResearchTableA = kPurchasePriceFactor + 3;         // [0..6]
inline constexpr int kResearchTableB = kResearchTableA + 7;              // [0..6]
inline constexpr int kResearchFactor = kResearchTableB + 7;              // [0..6]
inline constexpr int kDelayEntryValues = kResearchFactor + 7;            // [1..6]
inline constexpr int kHasteEntryValues = kDelayEntryValues + 6;          // [1..6]
inline constexpr int kElectionValues = kHasteEntryValues + 6;            // [1..3]
inline constexpr int kOrientationChangeValues = kElectionValues + 3;     // [1..9]
inline constexpr int kDeclareWarCost = kOrientationChangeValues + 9;     // [0..8][0..5]
inline constexpr int kDeclareWarUnrest = kDeclareWarCost + 54;           // [0..8][0..5]
inline constexpr int kExertPressureValues = kDeclareWarUnrest + 54;      // [1..6]
inline constexpr int kCoupValues = kExertPressureValues + 6;             // [1..11]
inline constexpr int kCountryValues = kCoupValues + 11;                  // [1..3]
inline constexpr int kWarEconomyValues = kCountryValues + 3;             // [1..4]
inline constexpr int kParadropLossTable = kWarEconomyValues + 4;         // [1..6]
inline constexpr int kShipTable = kParadropLossTable + 6;                // [1..12]
inline constexpr int kShoreBombardmentExponent = kShipTable + 12;        // = RetreatColumnFactor[0]
inline constexpr int kRetreatColumnFactor = kShoreBombardmentExponent;   // [1..7] from the next slot
inline constexpr int kRetreatTerrainFactor = kRetreatColumnFactor + 8;   // [0..7]
inline constexpr int kConvoyValues = kRetreatTerrainFactor + 8;          // [1..11]
inline constexpr int kSeaZoneValues = kConvoyValues + 11;                // [1..5]
inline constexpr int kShipValueHigh = kSeaZoneValues + 5;                // [40..45]
inline constexpr int kShipValueLow = kShipValueHigh + 6;                 // [40..45]
inline constexpr int kNuclearLossPercent = kShipValueLow + 6;
inline constexpr int kNuclearUnrestHit = kNuclearLossPercent + 1;
inline constexpr int kNuclearUnrestAlly = kNuclearUnrestHit + 1;
inline constexpr int kStrategicBombingLoss = kNuclearUnrestAlly + 1;     // [1..6] from the next slot
inline constexpr int kNuclearStrikeRadius = kStrategicBombingLoss;       // = StrategicBombingLoss[0]
inline constexpr int kStrategicBombingValues = kStrategicBombingLoss + 7;  // [1..5]
inline constexpr int kCommandRadius = kStrategicBombingValues + 5;
inline constexpr int kCommandRangeConstant = kCommandRadius + 1;
inline constexpr int kSeaBattleChanceLimit = kCommandRangeConstant + 1;
inline constexpr int kImpulseRuleValues = kSeaBattleChanceLimit + 1;     // [1..5]
inline constexpr int kCommanderMaxExperience = kImpulseRuleValues + 5;
inline constexpr int kCommanderExperienceFactor = kCommanderMaxExperience + 1;
inline constexpr int kDefenderCommanderExperienceChance = kCommanderExperienceFactor + 1;
inline constexpr int kAttackerCommanderExperienceChance = kDefenderCommanderExperienceChance + 1;
inline constexpr int kSiegeValues = kAttackerCommanderExperienceChance + 1;  // [1..7]
inline constexpr int kAirStrategicMoveCost = kSiegeValues + 7;           // [20..22]
inline constexpr int kTable133 = kAirStrategicMoveCost + 3;              // [1..3]
inline constexpr int kParadropInterval = kTable133 + 3;
inline constexpr int kMulberryValue = kParadropInterval + 1;
inline constexpr int kMulberrySupplySpread = kMulberryValue + 1;
inline constexpr int kMulberryStrength = kMulberrySupplySpread + 1;
inline constexpr int kMulberryDuration = kMulberryStrength + 1;
inline constexpr int kCountryFactor = kMulberryDuration + 1;
inline constexpr int kSupplyLossLimit = kCountryFactor + 1;
inline constexpr int kWinterBattlePercent = kSupplyLossLimit + 1;
inline constexpr int kWinterMovePercent = kWinterBattlePercent + 1;
inline constexpr int kMudBattlePercent = kWinterMovePercent + 1;
inline constexpr int kMudMovePercent = kMudBattlePercent + 1;
inline constexpr int kAiValueA = kMudMovePercent + 1;
inline constexpr int kMaxEntrenchment = kAiValueA + 1;
inline constexpr int kEntrenchmentPercent = kMaxEntrenchment + 1;
inline constexpr int kAirSearchRadius = kEntrenchmentPercent + 1;
inline constexpr int kFriendlyNavalLimit = kAirSearchRadius + 1;
inline constexpr int kEnemyNavalLimit = kFriendlyNavalLimit + 1;
inline constexpr int kAiValueB = kEnemyNavalLimit + 1;
inline constexpr int kRetreatBase = kAiValueB + 1;
inline constexpr int kShoreBombardmentNavyFactor = kRetreatBase + 1;     // [1..5]
inline constexpr int kAirRangeFactor = kShoreBombardmentNavyFactor + 4;  // [0..5], [0] = navy factor [5]
inline constexpr int kCaptureMargin = kAirRangeFactor + 6;
inline constexpr int kAiValueC = kCaptureMargin + 1;
inline constexpr int kShipSupplyTable = kAiValueC + 1;                   // [1..4], fields 11..14
inline constexpr int kPurchaseTable = kShipSupplyTable + 4;              // [1..10], fields 1..10
inline constexpr int kMinimumHitPointsPercent = kPurchaseTable + 10;
inline constexpr int kCarrierHitPointLimit = kMinimumHitPointsPercent + 1;
inline constexpr int kFleetRangeBase = kCarrierHitPointLimit + 1;
inline constexpr int kInvasionFactor = kFleetRangeBase + 1;
inline constexpr int kInvasionValue = kInvasionFactor + 1;
inline constexpr int kTable161 = kInvasionValue + 1;                     // [1..6]
inline constexpr int kPortSizeForShip = kTable161 + 6;                   // [40..45]
inline constexpr int kConvoyDialogValueA = kPortSizeForShip + 6;
inline constexpr int kConvoyDialogValueB = kConvoyDialogValueA + 1;
inline constexpr int kSeaGraphValue = kConvoyDialogValueB + 1;
inline constexpr int kSeaGraphTableA = kSeaGraphValue + 1;               // [1..3]
inline constexpr int kSeaGraphFactor = kSeaGraphTableA + 3;
inline constexpr int kSeaGraphTableB = kSeaGraphFactor + 1;              // [1..3]
inline constexpr int kShipSupplyLimit = kSeaGraphTableB + 3;
inline constexpr int kShipSupplyAmount = kShipSupplyLimit + 1;
inline constexpr int kTable170 = kShipSupplyAmount + 1;                  // [1..6]
inline constexpr int kTable171 = kTable170 + 6;                          // [1..6]
inline constexpr int kLine172 = kTable171 + 6;
inline constexpr int kLine173 = kLine172 + 1;
inline constexpr int kSeaBattleRetreatValue = kLine173 + 1;
inline constexpr int kSeaBombardmentValues = kSeaBattleRetreatValue + 1;  // [1..2]
inline constexpr int kAirTypeSupplyPercent = kSeaBombardmentValues + 2;   // [20..22]
inline constexpr int kSeaBombardmentTable = kAirTypeSupplyPercent + 3;    // [1..4]
inline constexpr int kCommanderCheckFactor = kSeaBombardmentTable + 4;
inline constexpr int kCommanderDefenceCheckFactor = kCommanderCheckFactor + 1;
inline constexpr int kCommanderChanceFactor = kCommanderDefenceCheckFactor + 1;
inline constexpr int kSeaBattleShotValue = kCommanderChanceFactor + 1;
inline constexpr int kConvoyAttackValue = kSeaBattleShotValue + 1;
inline constexpr int kLine180Field3 = kConvoyAttackValue + 1;
inline constexpr int kShipSupplySwitch = kLine180Field3 + 1;
inline constexpr int kAiValueD = kShipSupplySwitch + 1;
inline constexpr int kShipBombedValueA = kAiValueD + 1;
inline constexpr int kShipBombedValueB = kShipBombedValueA + 1;
inline constexpr int kSlotCount = kShipBombedValueB + 1;

inline constexpr int kLastDataLine = 184;

enum class SlotKind { kInt, kFloat, kDouble, kIntReadAsFloat };

// Fields first_field..last_field of a data line go to consecutive slots from
// `slot`; an open run stores every further field into the slots that follow.
struct LineRun {
  int line;
  int first_field;
  int last_field;
  int slot;
  SlotKind kind;
  bool open;
};

// Every run, in line order (a line may have more than one run).
std::span<const LineRun> LineRuns();

// The runs of one data line (empty for line 158 and lines past 184).
std::span<const LineRun> RunsOfLine(int line);

}  // namespace tr::consts_layout
