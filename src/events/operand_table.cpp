// The operand methods of the event language, one row each: name, required
// params and how the value is read. Methods only read the game.
#include <algorithm>
#include <cstdint>

#include "events/operand_access.h"
#include "events/operand_methods.h"
#include "foundation/console_log.h"
#include "foundation/random.h"
#include "world/gra.h"

namespace tr {
namespace {

// A field of the country named by param0.
template <auto Field>
double CountryField(const sEventOperand& operand) {
  const cCountry* country = ParamCountry(operand, 0);
  return country ? static_cast<double>(country->*Field) : 0.0;
}

// A setting of the computer opponent of the country named by param0.
template <auto Field>
double AiField(const sEventOperand& operand) {
  const cCountry* country = ParamCountry(operand, 0);
  return country ? static_cast<double>(country->aiSettings.*Field) : 0.0;
}

// Entry param1 - 1 of a list of the country's AI settings.
template <auto List>
double AiPosition(const sEventOperand& operand) {
  const cCountry* country = ParamCountry(operand, 0);
  return country ? PositionEntry(operand, 1, country->aiSettings.*List) : 0.0;
}

// Entry param1 of a per-technology list of the country.
template <auto List>
double TechEntry(const sEventOperand& operand) {
  const cCountry* country = ParamCountry(operand, 0);
  return country ? IndexEntry(operand, 1, country->*List) : 0.0;
}

double Yes(bool value) { return value ? 1.0 : 0.0; }

double HasWarWithCountry(const sEventOperand& operand) {
  const cCountry* a = ParamCountry(operand, 0);
  const cCountry* b = ParamCountry(operand, 1);
  if (a == nullptr || b == nullptr) return 0.0;
  return Yes(gGame->relations.IsAtWar(a->id, b->id));
}

double FlagValue(const sEventOperand& operand) {
  const int index = IntParam(operand, 0);
  if (index < 0 || index >= kGameFlagCount) {
    LogFormat(u"ERR: Flag.GetValue arg out of range: %d, max is %d", index, kGameFlagCount);
    return 0.0;
  }
  return gGame->flags[static_cast<std::size_t>(index)];
}

double CommanderLevel(const sEventOperand& operand) {
  const sCommander* commander = gGame->FindCommanderById(IntParam(operand, 0));
  return commander ? commander->skill : 0.0;
}

double RandomNumber(const sEventOperand& operand) {
  const int low = IntParam(operand, 0);
  const int high = IntParam(operand, 1);
  // The draw scales high - low as a float and adds it to low: the span must
  // be a 32-bit number, and so must the span as rounded to a float (spans
  // near 2^31 round up to 2^31) and low plus that rounded span.
  const std::int64_t span = static_cast<std::int64_t>(high) - low;
  const double scaled = span > INT32_MAX || span < INT32_MIN ? 0.0 : static_cast<float>(span);
  const double reach = low + scaled;
  if (span > INT32_MAX || span < INT32_MIN || scaled >= 2147483648.0 || reach > INT32_MAX || reach < INT32_MIN) {
    LogFormat(u"ERROR: operand %s at line %i has a range %i..%i too wide to draw from; its value is %i",
              operand.method, operand.line, low, high, low);
    return low;
  }
  return RandomRange(low, high);
}

// The hex's controller as a country of the game, or null (logged with the
// method's own line) for sea hexes and hexes without controller.
const cCountry* LandController(const sEventOperand& operand, const sHex& hex, const char16_t* line) {
  if (!hex.IsLand() || hex.controller == 0) {
    LogFormat(line, IntParam(operand, 0), IntParam(operand, 1));
    return nullptr;
  }
  return hex.GetControllerCountry();
}

double ControlledByAlliance(const sEventOperand& operand) {
  const sHex* hex = ParamHex(operand, 0, 1);
  if (hex == nullptr) return 0.0;
  const cCountry* controller = LandController(
      operand, *hex, u"ERROR Hex.ControlledByAliance called with arg pointing hex (%d, %d) which is sea hex");
  return Yes(controller && controller->BelongsToAlliance(IntParam(operand, 2)));
}

double OccupiedAndControlledByAlliance(const sEventOperand& operand) {
  const sHex* hex = ParamHex(operand, 0, 1);
  if (hex == nullptr) return 0.0;
  const cCountry* controller = LandController(
      operand, *hex,
      u"ERROR Hex.OccupiedAndControlledByAlliance called with arg pointing hex (%d, %d) which is sea hex");
  return Yes(controller && controller->BelongsToAlliance(IntParam(operand, 2)) && hex->unit != nullptr);
}

double Occupied(const sEventOperand& operand) {
  const sHex* hex = ParamHex(operand, 0, 1);
  return Yes(hex && hex->unit != nullptr);
}

double OccupiedByCountry(const sEventOperand& operand) {
  const sHex* hex = ParamHex(operand, 0, 1);
  return Yes(hex && hex->unit != nullptr && hex->unit->owner == IntParam(operand, 2));
}

double ControlledByCountry(const sEventOperand& operand) {
  const sHex* hex = ParamHex(operand, 0, 1);
  return Yes(hex && static_cast<double>(hex->controller) == operand.params[2]);
}

double CityWasBombed(const sEventOperand& operand) {
  const sHex* hex = ParamHex(operand, 0, 1);
  return Yes(hex && hex->city != nullptr && hex->city->bombedPP > 0);
}

double SeaZonePatrolled(const sEventOperand& operand) {
  const cCountry* country = ParamCountry(operand, 0);
  if (country == nullptr) return 0.0;
  const int zone = IntParam(operand, 1);
  const auto& zones = country->aiSettings.SeaZonesToPatrol;
  return Yes(std::any_of(zones.begin(), zones.end(), [&](const sSeaZoneToPatrol& z) { return z.seaZone == zone; }));
}

double PortSize(const sEventOperand& operand) {
  const cSeaGraph& graph = gGame->seaGraph;
  if (!ParamInRange(operand, 0, 1, graph.NodeCount())) return 0.0;
  return graph.GetNode(IntParam(operand, 0) - 1).portSize;
}

const sOperandMethod kMethods[] = {
    {u"Country.GetProductionPoints", 1, CountryField<&cCountry::productionPoints>},
    {u"Country.GetDiplomaticPoints", 1, CountryField<&cCountry::diplomaticPoints>},
    {u"Country.GetVP", 1,
     [](const sEventOperand& operand) {
       return static_cast<double>(CountCountryVictoryPoints(IntParam(operand, 0)));
     }},
    {u"Country.GetPoliticalStrength", 1, CountryField<&cCountry::politicalStrength>},
    {u"Country.GetAllianceEntry", 1, CountryField<&cCountry::allianceEntry>},
    {u"Country.GetSocialUnrest", 1, CountryField<&cCountry::socialUnrest>},
    {u"Country.HasWarWithCountry", 2, HasWarWithCountry},
    {u"Country.IsActive", 1, CountryField<&cCountry::isActive>},
    {u"Country.GetZoneOfInfluence", 1, CountryField<&cCountry::zoneOfInfluence>},
    {u"Country.GetOrientation", 1, CountryField<&cCountry::orientation>},
    {u"Flag.GetValue", 1, FlagValue},
    {u"Commander.GetLevel", 1, CommanderLevel},
    {u"System.GetRandomNumber", 2, RandomNumber},
    {u"Hex.ControlledByAliance", 3, ControlledByAlliance},
    {u"Hex.Occupied", 2, Occupied},
    {u"Hex.OccupiedAndControlledByAlliance", 3, OccupiedAndControlledByAlliance},
    {u"Country.IsAIControlled", 1,
     [](const sEventOperand& operand) {
       const cCountry* country = ParamCountry(operand, 0);
       return Yes(country && country->humanControlled == 0);
     }},
    {u"Country.GetWarEconomy", 1, CountryField<&cCountry::warEconomy>},
    {u"Country.GetAlliance", 1, CountryField<&cCountry::alliance>},
    {u"Country.GetStrategicMovementPoints", 1, CountryField<&cCountry::strategicMovementMax>},
    {u"Country.IsAtWar", 1,
     [](const sEventOperand& operand) {
       const cCountry* country = ParamCountry(operand, 0);
       return Yes(country && country->IsAtWarWithAnyone());
     }},
    {u"Country.GetShipsAmountInSeaZone", 3,
     [](const sEventOperand& operand) {
       return static_cast<double>(
           CountShipsAtSeaNode(IntParam(operand, 0), IntParam(operand, 1), IntParam(operand, 2)));
     }},
    {u"Hex.ControlledByCountry", 3, ControlledByCountry},
    {u"Country.GetUnitPurchasePreferences", 2, AiPosition<&sCountryAiSettings::NewUnitPurchasePreferences>},
    {u"Country.GetTechLevel", 2,
     [](const sEventOperand& operand) {
       const cCountry* country = ParamCountry(operand, 0);
       return country ? static_cast<double>(country->GetTechLevel(IntParam(operand, 1))) : 0.0;
     }},
    {u"Country.GetSTP", 1, CountryField<&cCountry::seaTransportPoints>},
    {u"Country.GetAIP", 1, CountryField<&cCountry::invasionPoints>},
    {u"Country.GetAICarrierTargetsPriorities", 2, AiPosition<&sCountryAiSettings::CarrierTargetsPriorities>},
    {u"Get.WinterBattle", 0,
     [](const sEventOperand&) { return static_cast<double>(gGame->constants.WinterBattlePercent()); }},
    {u"Get.WinterMove", 0,
     [](const sEventOperand&) { return static_cast<double>(gGame->constants.WinterMovePercent()); }},
    {u"Country.GetWinterBattle", 1, CountryField<&cCountry::winterBattle>},
    {u"Country.GetWinterMove", 1, CountryField<&cCountry::winterMove>},
    {u"Get.MudBattle", 0,
     [](const sEventOperand&) { return static_cast<double>(gGame->constants.MudBattlePercent()); }},
    {u"Get.MudMove", 0, [](const sEventOperand&) { return static_cast<double>(gGame->constants.MudMovePercent()); }},
    {u"Country.GetMudBattle", 1, CountryField<&cCountry::mudBattle>},
    {u"Country.GetMudMove", 1, CountryField<&cCountry::mudMove>},
    {u"Country.GetMaxNumberOfFrontsForSeaInvasion", 1, AiField<&sCountryAiSettings::MaxNumberOfFrontsForSeaInvasion>},
    {u"Country.GetTechResearchProgress", 2, TechEntry<&cCountry::researchProgress>},
    {u"Country.GetTechInvestment", 2, TechEntry<&cCountry::techInvestments>},
    {u"AI.IsSeaZonePatrolled", 2, SeaZonePatrolled},
    {u"Game.GetCurrentTurn", 0, [](const sEventOperand&) { return static_cast<double>(gGame->turn); }},
    {u"Country.GetUpkeepCost", 1, CountryField<&cCountry::unitUpkeepModifier>},
    {u"Country.GetMaxSafeMoveCost", 1, AiField<&sCountryAiSettings::MaxSafeMoveCost>},
    {u"Country.GetMaxCoveringUnitDistance", 1, AiField<&sCountryAiSettings::MaxCoveringUnitDistance>},
    {u"Country.GetMaxUnitCountOnFront", 1, AiField<&sCountryAiSettings::MaxUnitCountOnFront>},
    {u"Country.GetMinRatioToPatchFront", 1, AiField<&sCountryAiSettings::MinRatioToPatchFront>},
    {u"Country.GetDesiredLandForcesStructure", 2, AiPosition<&sCountryAiSettings::DesiredLandForcesStructure>},
    {u"Country.GetUnitCount", 2,
     [](const sEventOperand& operand) {
       return static_cast<double>(CountUnitsOfCountry(IntParam(operand, 0), IntParam(operand, 1)));
     }},
    {u"City.WasBombed", 2, CityWasBombed},
    {u"Port.GetSize", 1, PortSize},
    {u"Country.GetDifficultyLevel", 1, CountryField<&cCountry::difficulty>},
    {u"Hex.OccupiedByUnitOwnedByCountry", 3, OccupiedByCountry},
};

}  // namespace

std::span<const sOperandMethod> OperandMethods() { return kMethods; }

}  // namespace tr
