#include "scenario/scenario_constants_layout.h"

#include <algorithm>
#include <array>

namespace tr::consts_layout {
namespace {

constexpr SlotKind I = SlotKind::kInt;
constexpr SlotKind F = SlotKind::kFloat;
constexpr SlotKind D = SlotKind::kDouble;
constexpr SlotKind T = SlotKind::kIntReadAsFloat;

// A run of each of `count` lines from `first_line`, `stride` slots apart.
template <std::size_t N>
constexpr void AddRows(std::array<LineRun, N>& runs, std::size_t& n, int first_line, int count,
                       int first_field, int last_field, int slot, int stride, SlotKind kind,
                       bool open = false) {
  for (int i = 0; i < count; ++i) {
    runs[n++] = {first_line + i, first_field, last_field, slot + i * stride, kind, open};
  }
}

constexpr auto BuildRuns() {
  std::array<LineRun, 200> runs{};
  std::size_t n = 0;
  auto one = [&](int line, int first, int last, int slot, SlotKind kind) {
    runs[n++] = {line, first, last, slot, kind, false};
  };
  one(1, 1, 12, kImpulsesPerMonth, I);
  AddRows(runs, n, 2, 6, 2, 8, kLandActionPoints, 7, I, true);
  one(8, 1, 3, kAirActionPoints, I);
  AddRows(runs, n, 9, 5, 2, 8, kLandBaseValue + 7, 7, F, true);
  one(14, 1, 3, kAirMaxStrength, I);
  // Field k of a movement line is element k-1 of its row: terrain 1..7, default, zone of control.
  AddRows(runs, n, 15, 3, 2, 10, kMoveCost + 1, kMoveCostRow, I);
  one(18, 1, 1, kDoctrineCombatPercent, I);
  AddRows(runs, n, 19, 6, 2, 8, kDefenderLossPercent, 7, I);
  AddRows(runs, n, 25, 6, 2, 8, kAttackerLossFactor, 7, F);
  one(31, 1, 13, kLine31, F);
  one(32, 1, 9, kTerrainDefenceFactor, F);
  one(33, 1, 1, kAirUnitDefenceStrength, F);
  one(34, 1, 6, kAttackActionPointCost, I);
  AddRows(runs, n, 35, 6, 2, 10, kAirCombatTableA, 9, I);
  AddRows(runs, n, 41, 6, 2, 10, kAirCombatTableB, 9, I);
  one(47, 1, 5, kAirRangeBase, I);
  one(48, 1, 1, kFullSupplyLevel, I);
  one(49, 1, 1, kSupplyCombatPercent, I);
  one(50, 2, 11, kSupplySegmentBounds, I);
  AddRows(runs, n, 51, 6, 2, 11, kSupplySegmentValues, 10, I);
  one(57, 1, 9, kBombardLandTableA, I);
  one(58, 1, 5, kBombardLandTableB, I);
  one(59, 1, 3, kBombardLandTableC, I);
  one(60, 1, 1, kBombardLandValue, I);
  one(61, 2, 7, kBombardLandFactor, F);
  AddRows(runs, n, 62, 6, 2, 6, kBombardLandLossTable, 5, I);
  one(68, 2, 8, kStrategicMoveCost, I);
  one(69, 2, 8, kSeaTransportCost, I);
  one(70, 2, 8, kAmphibiousTransportCost, I);
  one(71, 1, 1, kFleetValue, I);
  one(72, 1, 8, kFleetTable, I);
  one(73, 1, 6, kShipHitPoints, I);
  one(74, 2, 7, kNavalValuesB, I);
  one(75, 2, 7, kNavalValuesC, I);
  one(76, 2, 7, kNavalFactor, D);
  one(77, 2, 7, kReplacementTable, I);
  one(78, 2, 8, kReplacementFactor, F);
  one(79, 2, 8, kLandPriceFactor, F);
  one(80, 2, 4, kPriceTableA, F);
  one(81, 2, 4, kAirLevelUpFactor, F);
  one(82, 1, 1, kLevelPriceSurcharge, I);
  one(83, 1, 1, kAirLevelUpPercent, I);
  one(84, 1, 1, kCommanderSkillFactor, I);
  one(85, 1, 4, kPurchaseValues, F);
  one(86, 1, 3, kPurchasePriceBase, F);
  one(87, 1, 3, kPurchasePriceFactor, F);
  one(88, 2, 8, kResearchTableA, I);
  one(89, 2, 8, kResearchTableB, I);
  one(90, 2, 8, kResearchFactor, F);
  one(91, 2, 7, kDelayEntryValues, F);
  one(92, 2, 7, kHasteEntryValues, F);
  one(93, 2, 4, kElectionValues, F);
  one(94, 2, 10, kOrientationChangeValues, F);
  AddRows(runs, n, 95, 9, 2, 7, kDeclareWarCost, 6, I);
  AddRows(runs, n, 104, 9, 2, 7, kDeclareWarUnrest, 6, I);
  one(113, 2, 7, kExertPressureValues, F);
  one(114, 2, 12, kCoupValues, F);
  one(115, 1, 7, kCountryValues, F);
  one(116, 2, 7, kParadropLossTable, I);
  one(117, 2, 14, kShipTable, F);
  one(118, 1, 7, kRetreatColumnFactor + 1, F);
  one(119, 1, 8, kRetreatTerrainFactor, F);
  one(120, 1, 11, kConvoyValues, F);
  one(121, 1, 5, kSeaZoneValues, F);
  one(122, 2, 7, kShipValueHigh, I);
  one(123, 2, 7, kShipValueLow, I);
  one(124, 1, 3, kNuclearLossPercent, I);
  one(125, 2, 7, kStrategicBombingLoss + 1, I);
  one(126, 2, 6, kStrategicBombingValues, I);
  one(127, 1, 2, kCommandRadius, I);
  one(128, 1, 1, kSeaBattleChanceLimit, I);
  one(129, 1, 5, kImpulseRuleValues, I);
  one(130, 1, 4, kCommanderMaxExperience, I);
  one(131, 1, 7, kSiegeValues, F);
  one(132, 1, 3, kAirStrategicMoveCost, T);
  one(133, 1, 3, kTable133, T);
  one(134, 1, 1, kParadropInterval, T);
  one(135, 1, 4, kMulberryValue, F);
  one(136, 1, 1, kCountryFactor, F);
  one(137, 1, 1, kSupplyLossLimit, I);
  one(138, 1, 1, kWinterBattlePercent, F);
  one(139, 1, 1, kWinterMovePercent, F);
  one(140, 1, 1, kMudBattlePercent, F);
  one(141, 1, 1, kMudMovePercent, F);
  one(142, 1, 1, kAiValueA, F);
  one(143, 1, 1, kMaxEntrenchment, I);
  one(144, 1, 1, kEntrenchmentPercent, F);
  one(145, 1, 1, kAirSearchRadius, I);
  one(146, 1, 1, kFriendlyNavalLimit, I);
  one(147, 1, 1, kEnemyNavalLimit, I);
  one(148, 1, 1, kAiValueB, F);
  one(149, 1, 1, kRetreatBase, I);
  one(150, 1, 5, kShoreBombardmentNavyFactor, F);
  one(151, 1, 5, kAirRangeFactor + 1, F);
  one(152, 1, 1, kCaptureMargin, I);
  one(153, 1, 1, kAiValueC, F);
  one(154, 1, 10, kPurchaseTable, I);
  one(154, 11, 14, kShipSupplyTable, I);
  one(155, 1, 1, kMinimumHitPointsPercent, F);
  one(156, 1, 1, kCarrierHitPointLimit, I);
  one(157, 1, 1, kFleetRangeBase, I);
  one(159, 1, 1, kInvasionFactor, F);
  one(160, 1, 1, kInvasionValue, I);
  one(161, 1, 6, kTable161, I);
  one(162, 1, 6, kPortSizeForShip, I);
  one(163, 1, 1, kConvoyDialogValueA, I);
  one(164, 1, 1, kConvoyDialogValueB, I);
  one(165, 1, 1, kSeaGraphValue, I);
  one(166, 1, 4, kSeaGraphTableA, I);
  one(167, 1, 3, kSeaGraphTableB, I);
  one(168, 1, 1, kShipSupplyLimit, I);
  one(169, 1, 1, kShipSupplyAmount, I);
  one(170, 1, 6, kTable170, I);
  one(171, 1, 6, kTable171, I);
  one(172, 1, 1, kLine172, I);
  one(173, 1, 1, kLine173, I);
  one(174, 1, 1, kSeaBattleRetreatValue, I);
  one(175, 1, 1, kNuclearStrikeRadius, I);
  one(176, 1, 2, kSeaBombardmentValues, I);
  one(177, 1, 3, kAirTypeSupplyPercent, I);
  one(178, 1, 4, kSeaBombardmentTable, I);
  one(179, 1, 3, kCommanderCheckFactor, I);
  one(180, 1, 3, kSeaBattleShotValue, I);
  one(181, 1, 1, kShipSupplySwitch, I);
  one(182, 1, 1, kAiValueD, I);
  one(183, 1, 1, kShipBombedValueA, I);
  one(184, 1, 1, kShipBombedValueB, I);
  struct Result {
    std::array<LineRun, 200> runs;
    std::size_t count;
  };
  return Result{runs, n};
}

constexpr auto kRuns = BuildRuns();

// Every run must stay inside the table, and lines must come in order.
constexpr bool RunsAreSound() {
  for (std::size_t i = 0; i < kRuns.count; ++i) {
    const LineRun& r = kRuns.runs[i];
    if (r.slot < 0 || r.slot + (r.last_field - r.first_field) >= kSlotCount) return false;
    if (i > 0 && kRuns.runs[i - 1].line > r.line) return false;
  }
  return true;
}
static_assert(RunsAreSound());

}  // namespace

std::span<const LineRun> LineRuns() { return {kRuns.runs.data(), kRuns.count}; }

std::span<const LineRun> RunsOfLine(int line) {
  const auto all = LineRuns();
  const auto first = std::lower_bound(all.begin(), all.end(), line,
                                      [](const LineRun& r, int l) { return r.line < l; });
  auto last = first;
  while (last != all.end() && last->line == line) ++last;
  return {first, last};
}

}  // namespace tr::consts_layout
