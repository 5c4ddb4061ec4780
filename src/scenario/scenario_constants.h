// The numbers that tune a scenario's rules, read from its "consts.csv" by
// line position. Rules read them through the named accessors below, or by
// (data line, field) where a rule names its constant that way. Array
// accessors take the index their rules use; like the table they came from, an
// index past a member's end reads on into the next member, and anything past
// the whole table reads 0.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

#include "scenario/scenario_constants_layout.h"

namespace tr {

// The largest magnitude a constant may have: the rules multiply constants
// with each other and with values of the tables, and the products must stay
// far below the 32-bit limit.
inline constexpr double kMaxConstantMagnitude = 100000.0;

class sScenarioConstants {
 public:
  sScenarioConstants();

  // Raw slot access (the layout header names the slots).
  // Inline: the rules read constants in their innermost loops.
  double Slot(int slot) const {
    return slot < 0 || slot >= consts_layout::kSlotCount ? 0.0 : slots_[static_cast<std::size_t>(slot)];
  }
  void SetSlot(int slot, double value);

  // By data line (from 1, comments not counted) and field (from 1), through
  // the map of the loader; 0 for a field that is stored nowhere.
  int Int(int line, int field) const;
  float Float(int line, int field) const;
  double Double(int line, int field) const;
  // The slot a field is stored in, or -1.
  static int SlotOf(int line, int field);

  int ImpulsesPerMonth(int month) const { return I(consts_layout::kImpulsesPerMonth + month - 1); }
  int LandActionPoints(int doctrine, int land_type) const { return I(consts_layout::kLandActionPoints + doctrine * 7 + land_type); }
  // How many hexes the computer keeps its air bases from enemy land units:
  // the action points of an armoured division at doctrine level 2.
  int AirBaseSafetyDistance() const { return LandActionPoints(2, 4); }
  int AirActionPoints(int air_type) const { return I(consts_layout::kAirActionPoints + air_type - 20); }
  float LandBaseValue(int level, int land_type) const { return F(consts_layout::kLandBaseValue + level * 7 + land_type); }
  int AirMaxStrength(int air_type) const { return I(consts_layout::kAirMaxStrength + air_type - 20); }
  int MoveCost(int category, int terrain) const { return I(consts_layout::kMoveCost + category * consts_layout::kMoveCostRow + terrain); }
  int MoveCostDefault(int category) const { return MoveCost(category, 8); }
  int ZocMoveSurcharge(int category) const { return MoveCost(category, 9); }
  int DoctrineCombatPercent() const { return I(consts_layout::kDoctrineCombatPercent); }
  int DefenderLossPercent(int die, int column) const { return I(consts_layout::kDefenderLossPercent + (die - 1) * 7 + column - 1); }
  float AttackerLossFactor(int die, int column) const { return F(consts_layout::kAttackerLossFactor + (die - 1) * 7 + column - 1); }
  float ArmourAttackFactor() const { return F(consts_layout::kArmourAttackFactor); }
  float NonLandDefenderAttackFactor() const { return F(consts_layout::kNonLandDefenderAttackFactor); }
  float DirectionsFactor(int sides) const { return F(consts_layout::kDirectionsFactor + sides - 1); }
  float RiverAttackFactor() const { return F(consts_layout::kRiverAttackFactor); }
  float FortAttackPercent() const { return F(consts_layout::kFortAttackPercent); }
  float TerrainDefenceFactor(int terrain) const { return F(consts_layout::kTerrainDefenceFactor + terrain); }
  float CityDefenceFactor() const { return F(consts_layout::kCityDefenceFactor); }
  float AirUnitDefenceStrength() const { return F(consts_layout::kAirUnitDefenceStrength); }
  int AttackActionPointCost(int doctrine) const { return I(consts_layout::kAttackActionPointCost + doctrine); }
  int AirCombatTableA(int die, int column) const { return I(consts_layout::kAirCombatTableA + (die - 1) * 9 + column + 4); }
  int AirCombatTableB(int die, int column) const { return I(consts_layout::kAirCombatTableB + (die - 1) * 9 + column + 4); }
  int AirRangeBase(int i) const { return I(consts_layout::kAirRangeBase + i - 1); }
  int FullSupplyLevel() const { return I(consts_layout::kFullSupplyLevel); }
  int SupplyCombatPercent(int level) const { return I(consts_layout::kSupplyCombatPercent + level); }
  int SupplyApReductionPercent(int level) const { return I(consts_layout::kSupplyApReductionPercent + level); }
  int SupplyAirModifier(int level) const { return I(consts_layout::kSupplyAirModifier + level); }
  int SupplyBombardedPercent(int level) const { return I(consts_layout::kSupplyBombardedPercent + level); }
  int SupplyReplacementValueA(int level) const { return I(consts_layout::kSupplyReplacementValueA + level); }
  int SupplyReplacementValueB(int level) const { return I(consts_layout::kSupplyReplacementValueB + level); }
  int BombardLandTableA(int i) const { return I(consts_layout::kBombardLandTableA + i - 1); }
  int BombardLandTableB(int i) const { return I(consts_layout::kBombardLandTableB + i - 1); }
  int BombardLandTableC(int i) const { return I(consts_layout::kBombardLandTableC + i - 1); }
  int BombardLandValue() const { return I(consts_layout::kBombardLandValue); }
  float BombardLandFactor(int i) const { return F(consts_layout::kBombardLandFactor + i - 1); }
  int BombardLandLossTable(int die, int column) const { return I(consts_layout::kBombardLandLossTable + (die - 1) * 5 + column - 1); }
  // Continued by type code: air types 20..22 reach lines 70 field 8, 71 and 72 field 1.
  int StrategicMoveCost(int type) const { return I(consts_layout::kStrategicMoveCost + type); }
  int SeaTransportCost(int land_type) const { return I(consts_layout::kSeaTransportCost + land_type); }
  int AmphibiousTransportCost(int land_type) const { return I(consts_layout::kAmphibiousTransportCost + land_type); }
  int FleetValue() const { return I(consts_layout::kFleetValue); }
  int FleetTable(int i) const { return I(consts_layout::kFleetTable + i - 1); }
  int ShipHitPoints(int naval_type) const { return I(consts_layout::kShipHitPoints + naval_type - 40); }
  int ShipHitPointsMax() const { return ship_hit_points_max_; }
  int NavalValuesB(int naval_type) const { return I(consts_layout::kNavalValuesB + naval_type - 40); }
  int NavalValuesC(int naval_type) const { return I(consts_layout::kNavalValuesC + naval_type - 40); }
  double NavalFactor(int naval_type) const { return Slot(consts_layout::kNavalFactor + naval_type - 40); }
  int ReplacementTable(int i) const { return I(consts_layout::kReplacementTable + i - 1); }
  float ReplacementFactor(int land_type) const { return F(consts_layout::kReplacementFactor + land_type); }
  float LandPriceFactor(int land_type) const { return F(consts_layout::kLandPriceFactor + land_type); }
  float PriceTableA(int i) const { return F(consts_layout::kPriceTableA + i - 1); }
  float AirLevelUpFactor(int air_type) const { return F(consts_layout::kAirLevelUpFactor + air_type - 20); }
  int LevelPriceSurcharge() const { return I(consts_layout::kLevelPriceSurcharge); }
  int AirLevelUpPercent() const { return I(consts_layout::kAirLevelUpPercent); }
  int CommanderSkillFactor() const { return I(consts_layout::kCommanderSkillFactor); }
  // Line 85: the prices of the naval types 40..43 that can be bought.
  float PurchaseValues(int i) const { return F(consts_layout::kPurchaseValues + i - 1); }
  float PurchasePriceBase(int i) const { return F(consts_layout::kPurchasePriceBase + i - 1); }
  float PurchasePriceFactor(int i) const { return F(consts_layout::kPurchasePriceFactor + i - 1); }
  int ResearchTableA(int tech) const { return I(consts_layout::kResearchTableA + tech); }
  int ResearchTableB(int tech) const { return I(consts_layout::kResearchTableB + tech); }
  float ResearchFactor(int tech) const { return F(consts_layout::kResearchFactor + tech); }
  float DelayEntryValues(int i) const { return F(consts_layout::kDelayEntryValues + i - 1); }
  float HasteEntryValues(int i) const { return F(consts_layout::kHasteEntryValues + i - 1); }
  float ElectionValues(int i) const { return F(consts_layout::kElectionValues + i - 1); }
  float OrientationChangeValues(int i) const { return F(consts_layout::kOrientationChangeValues + i - 1); }
  int DeclareWarCost(int row, int column) const { return I(consts_layout::kDeclareWarCost + row * 6 + column); }
  int DeclareWarUnrest(int row, int column) const { return I(consts_layout::kDeclareWarUnrest + row * 6 + column); }
  float ExertPressureValues(int i) const { return F(consts_layout::kExertPressureValues + i - 1); }
  float CoupValues(int i) const { return F(consts_layout::kCoupValues + i - 1); }
  float CountryValues(int i) const { return F(consts_layout::kCountryValues + i - 1); }
  float WarEconomyValues(int i) const { return F(consts_layout::kWarEconomyValues + i - 1); }
  int ParadropLossTable(int i) const { return I(consts_layout::kParadropLossTable + i - 1); }
  float ShipTable(int i) const { return F(consts_layout::kShipTable + i - 1); }
  float ShoreBombardmentExponent() const { return F(consts_layout::kShoreBombardmentExponent); }
  float RetreatColumnFactor(int column) const { return F(consts_layout::kRetreatColumnFactor + column); }
  float RetreatTerrainFactor(int terrain) const { return F(consts_layout::kRetreatTerrainFactor + terrain); }
  float ConvoyValues(int i) const { return F(consts_layout::kConvoyValues + i - 1); }
  float SeaZoneValues(int i) const { return F(consts_layout::kSeaZoneValues + i - 1); }
  int ShipValueHigh(int naval_type) const { return I(consts_layout::kShipValueHigh + naval_type - 40); }
  int ShipValueLow(int naval_type) const { return I(consts_layout::kShipValueLow + naval_type - 40); }
  int NuclearLossPercent() const { return I(consts_layout::kNuclearLossPercent); }
  int NuclearUnrestHit() const { return I(consts_layout::kNuclearUnrestHit); }
  int NuclearUnrestAlly() const { return I(consts_layout::kNuclearUnrestAlly); }
  int StrategicBombingLoss(int die) const { return I(consts_layout::kStrategicBombingLoss + die); }
  int NuclearStrikeRadius() const { return I(consts_layout::kNuclearStrikeRadius); }
  int StrategicBombingValues(int i) const { return I(consts_layout::kStrategicBombingValues + i - 1); }
  int CommandRadius() const { return I(consts_layout::kCommandRadius); }
  int CommandRangeConstant() const { return I(consts_layout::kCommandRangeConstant); }
  int SeaBattleChanceLimit() const { return I(consts_layout::kSeaBattleChanceLimit); }
  int ImpulseRuleValues(int i) const { return I(consts_layout::kImpulseRuleValues + i - 1); }
  int CommanderMaxExperience() const { return I(consts_layout::kCommanderMaxExperience); }
  int CommanderExperienceFactor() const { return I(consts_layout::kCommanderExperienceFactor); }
  int DefenderCommanderExperienceChance() const { return I(consts_layout::kDefenderCommanderExperienceChance); }
  int AttackerCommanderExperienceChance() const { return I(consts_layout::kAttackerCommanderExperienceChance); }
  float SiegeValues(int i) const { return F(consts_layout::kSiegeValues + i - 1); }
  int AirStrategicMoveCost(int air_type) const { return I(consts_layout::kAirStrategicMoveCost + air_type - 20); }
  int Table133(int i) const { return I(consts_layout::kTable133 + i - 1); }
  int ParadropInterval() const { return I(consts_layout::kParadropInterval); }
  float MulberryValue() const { return F(consts_layout::kMulberryValue); }
  float MulberrySupplySpread() const { return F(consts_layout::kMulberrySupplySpread); }
  float MulberryStrength() const { return F(consts_layout::kMulberryStrength); }
  float MulberryDuration() const { return F(consts_layout::kMulberryDuration); }
  float CountryFactor() const { return F(consts_layout::kCountryFactor); }
  int SupplyLossLimit() const { return I(consts_layout::kSupplyLossLimit); }
  float WinterBattlePercent() const { return F(consts_layout::kWinterBattlePercent); }
  float WinterMovePercent() const { return F(consts_layout::kWinterMovePercent); }
  float MudBattlePercent() const { return F(consts_layout::kMudBattlePercent); }
  float MudMovePercent() const { return F(consts_layout::kMudMovePercent); }
  float AiValueA() const { return F(consts_layout::kAiValueA); }
  int MaxEntrenchment() const { return I(consts_layout::kMaxEntrenchment); }
  float EntrenchmentPercent() const { return F(consts_layout::kEntrenchmentPercent); }
  int AirSearchRadius() const { return I(consts_layout::kAirSearchRadius); }
  int FriendlyNavalLimit() const { return I(consts_layout::kFriendlyNavalLimit); }
  int EnemyNavalLimit() const { return I(consts_layout::kEnemyNavalLimit); }
  float AiValueB() const { return F(consts_layout::kAiValueB); }
  int RetreatBase() const { return I(consts_layout::kRetreatBase); }
  float ShoreBombardmentNavyFactor(int level) const { return F(consts_layout::kShoreBombardmentNavyFactor + level - 1); }
  // Plain factors as the file gives them; level 0 shares its slot with ShoreBombardmentNavyFactor(5).
  float AirRangeFactor(int level) const { return F(consts_layout::kAirRangeFactor + level); }
  int CaptureMargin() const { return I(consts_layout::kCaptureMargin); }
  float AiValueC() const { return F(consts_layout::kAiValueC); }
  int ShipSupplyTable(int i) const { return I(consts_layout::kShipSupplyTable + i - 1); }
  int PurchaseTable(int i) const { return I(consts_layout::kPurchaseTable + i - 1); }
  float MinimumHitPointsPercent() const { return F(consts_layout::kMinimumHitPointsPercent); }
  int CarrierHitPointLimit() const { return I(consts_layout::kCarrierHitPointLimit); }
  int FleetRangeBase() const { return I(consts_layout::kFleetRangeBase); }
  float InvasionFactor() const { return F(consts_layout::kInvasionFactor); }
  int InvasionValue() const { return I(consts_layout::kInvasionValue); }
  int Table161(int i) const { return I(consts_layout::kTable161 + i - 1); }
  // Line 162; line 161 is Table161.
  int PortSizeForShip(int naval_type) const { return I(consts_layout::kPortSizeForShip + naval_type - 40); }
  int ConvoyDialogValueA() const { return I(consts_layout::kConvoyDialogValueA); }
  int ConvoyDialogValueB() const { return I(consts_layout::kConvoyDialogValueB); }
  int SeaGraphValue() const { return I(consts_layout::kSeaGraphValue); }
  int SeaGraphTableA(int i) const { return I(consts_layout::kSeaGraphTableA + i - 1); }
  int SeaGraphFactor() const { return I(consts_layout::kSeaGraphFactor); }
  int SeaGraphTableB(int i) const { return I(consts_layout::kSeaGraphTableB + i - 1); }
  int ShipSupplyLimit() const { return I(consts_layout::kShipSupplyLimit); }
  int ShipSupplyAmount() const { return I(consts_layout::kShipSupplyAmount); }
  int Table170(int i) const { return I(consts_layout::kTable170 + i - 1); }
  int Table171(int i) const { return I(consts_layout::kTable171 + i - 1); }
  int SeaBattleRetreatValue() const { return I(consts_layout::kSeaBattleRetreatValue); }
  int SeaBombardmentValues(int i) const { return I(consts_layout::kSeaBombardmentValues + i - 1); }
  int AirTypeSupplyPercent(int air_type) const { return I(consts_layout::kAirTypeSupplyPercent + air_type - 20); }
  int SeaBombardmentTable(int i) const { return I(consts_layout::kSeaBombardmentTable + i - 1); }
  int CommanderCheckFactor() const { return I(consts_layout::kCommanderCheckFactor); }
  int CommanderDefenceCheckFactor() const { return I(consts_layout::kCommanderDefenceCheckFactor); }
  int CommanderChanceFactor() const { return I(consts_layout::kCommanderChanceFactor); }
  int SeaBattleShotValue() const { return I(consts_layout::kSeaBattleShotValue); }
  int ConvoyAttackValue() const { return I(consts_layout::kConvoyAttackValue); }
  int ShipSupplySwitch() const { return I(consts_layout::kShipSupplySwitch); }
  int AiValueD() const { return I(consts_layout::kAiValueD); }
  int ShipBombedValueA() const { return I(consts_layout::kShipBombedValueA); }
  int ShipBombedValueB() const { return I(consts_layout::kShipBombedValueB); }

  // Loader steps, public for the loader and its tests.
  void ResetForLoading();
  // A value beyond kMaxConstantMagnitude is held at it and reported to
  // `out_of_range` with its field (from 1) and the value read.
  void StoreLine(int line, std::string_view text,
                 const std::function<void(int field, double value)>& out_of_range = {});
  void FinishLoading();

 private:
  // The slot truncated toward zero, NaN as 0, held to the int range.
  int I(int slot) const {
    const double value = Slot(slot);
    if (!(value == value)) return 0;
    if (value >= 2147483647.0) return 2147483647;
    if (value <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(value);
  }
  float F(int slot) const;

  std::array<double, consts_layout::kSlotCount> slots_{};
  int ship_hit_points_max_ = 1;
  int supply_segments_ = 10;  // the segments whose bounds line 50 gave (all ten without it)
};

// Reads "data\scenarios\<name>\consts.csv" into `constants`. A missing file is
// fatal (exit code 1); there is no default set of constants.
void LoadScenarioConstants(sScenarioConstants& constants, std::u16string_view scenario_name);

}  // namespace tr
