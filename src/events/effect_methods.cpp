#include "events/effect_methods.h"

#include "events/event_params.h"
#include "foundation/console_log.h"

namespace tr {
namespace {

const sEffectMethod kMethods[] = {
    {u"Country.ChangeDiplomaticPoints", 2, 0},
    {u"Country.ChangeProductionPoints", 2, 0},
    {u"Country.ChangePoliticalStrength", 2, 0},
    {u"Country.ChangeAllianceEntry", 2, 0},
    {u"Country.ChangeSocialUnrest", 2, 0},
    {u"Country.ChangeWarEconomy", 2, 0},
    {u"Country.SetDiplomaticPoints", 2, 0},
    {u"Country.SetProductionPoints", 2, 0},
    {u"Country.SetPoliticalStrength", 2, 0},
    {u"Country.SetAllianceEntry", 2, 0},
    {u"Country.SetSocialUnrest", 2, 0},
    {u"Country.SetWarEconomy", 2, 0},
    {u"Country.DeclareWarOnCountry", 2, 0},
    {u"Country.SetZoneOfInfluence", 2, 0},
    {u"Country.SetOrientation", 2, 0},
    {u"Flag.SetValue", 2, 0},
    {u"Flag.ChangeValue", 2, 0},
    {u"Commander.AddNew", 3, 1},
    {u"HexStripe.ChangeControllerAndOwner", 4, 0},
    {u"HexStripe.ChangeControllerOwnerAndOriginalOwner", 4, 0},
    {u"Country.ChangeTerritoryControllerOwnerAndOriginalOwner", 2, 0},
    {u"Country.UnFreezeAllUnits", 1, 0},
    {u"AI.AddInvasionTarget", 4, 0},
    {u"AI.SetMakesSeaInvasionsParameter", 2, 0},
    {u"Country.SetFreezeLevelForAllFreezedUnits", 2, 0},
    {u"Unit.Teleport", 4, 0},
    {u"AI.RemoveDoNotAttackCity", 3, 0},
    {u"Unit.Unfreeze", 2, 0},
    {u"Country.KillAllLandUnits", 1, 0},
    {u"Country.KillAllAirUnits", 1, 0},
    {u"Country.KillAllNavalUnits", 1, 0},
    {u"Country.ChangeOwnershipOfAllNavalUnits", 2, 0},
    {u"Country.KillAllUnitsInReserve", 1, 0},
    {u"Country.SetActive", 2, 0},
    {u"AI.AddCountryToPress", 2, 0},
    {u"Hex.SetFortLevel", 3, 0},
    {u"City.SetProductionPoints", 3, 0},
    {u"City.ChangeProductionPoints", 3, 0},
    {u"AI.SetDesiredStrategicMovementPoints", 2, 0},
    {u"AI.SetDesiredTechLevel", 3, 0},
    {u"Hex.KillUnit", 2, 0},
    {u"Country.ChangeEffectivityOfAllUnits", 3, 0},
    {u"Country.AddConvoy", 7, 0},
    {u"Country.RemoveConvoy", 6, 0},
    {u"Area.ChangeEffectivityOfAllUnits", 6, 0},
    {u"Hex.AddLandUnit", 6, 1},
    {u"Country.NewUnitPurchasePreferences", 3, 0},
    {u"Hex.AddMulberry", 3, 1},
    {u"Hex.AddAirUnit", 6, 1},
    {u"Hex.AddNavalUnit", 2, 1},
    {u"SeaNode.AddNavalUnit", 3, 1},
    {u"SeaNode.AddLandUnit", 6, 1},
    {u"SeaNode.AddLandUnitWithDest", 8, 1},
    {u"SeaNode.AddLandingLandUnit", 8, 1},
    {u"Port.SetSize", 2, 0},
    {u"Port.ChangeSize", 2, 0},
    {u"Country.SetTechLevel", 3, 0},
    {u"Country.ChangeTechLevel", 3, 0},
    {u"Country.SetTechResearchProgress", 3, 0},
    {u"Country.SetTechInvestment", 3, 0},
    {u"Country.ChangeSTP", 2, 0},
    {u"Country.ChangeAIP", 2, 0},
    {u"Country.SetWinterBattle", 2, 0},
    {u"Country.SetWinterMove", 2, 0},
    {u"Country.SetMudBattle", 2, 0},
    {u"Country.SetMudMove", 2, 0},
    {u"New.StartWinterArea", 5, 0},
    {u"New.EndWinterArea", 4, 0},
    {u"New.StartMudArea", 5, 0},
    {u"New.EndMudArea", 4, 0},
    {u"AI.SetMaxNumberOfFrontsForSeaInvasion", 2, 0},
    {u"AI.AddExtraCityToGarrison", 3, 0},
    {u"AI.AddDoNotAttackCity", 3, 0},
    {u"AI.RemoveInvasionTarget", 3, 0},
    {u"AI.AddSeaZoneToPatrolList", 3, 0},
    {u"AI.RemoveSeaZoneFromPatrolList", 2, 0},
    {u"AI.AddPortForObligatoryInvasion", 4, 0},
    {u"AI.RemovePortForObligatoryInvasion", 3, 0},
    {u"AI.TransportUnitsToFrontsBySea", 2, 0},
    {u"AI.SetMultipleSideAttackPreferences", 4, 0},
    {u"AI.SetOneSideAttackPreferences", 4, 0},
    {u"Country.MakePeace", 2, 0},
    {u"Unit.Freeze", 3, 0},
    {u"Unit.FreezeIfOwnedByCountry", 4, 0},
    {u"Hex.ChangeFortLevel", 3, 0},
    {u"City.SetType", 3, 0},
    {u"Country.ChangeSMP", 2, 0},
    {u"Hex.AddUnitAndPassControlOverHexIfEmpty", 6, 1},
    {u"City.FirePartisans", 6, 1},
    {u"Country.ChangeUpkeepCost", 2, 0},
    {u"Country.SetUpkeepCost", 2, 0},
    {u"Country.SetMaxSafeMoveCost", 2, 0},
    {u"Country.SetDesiredLandForcesStructure", 3, 0},
    {u"Country.SetMinRatioToPatchFront", 2, 0},
    {u"Country.SetMaxUnitCountOnFront", 2, 0},
    {u"Country.SetMaxCoveringUnitDistance", 2, 0},
    {u"Country.DamageRandomShipsInSeaZone", 4, 0},
    {u"Country.ChangeMonthsToReachWarfareDoctrineLevel", 2, 0},
    {u"Country.ChangeTechInvestment", 3, 0},
    {u"Country.ChangeTechResearchProgress", 3, 0},
    {u"Unit.Remove", 3, 0},
    {u"View.CenterAt", 2, 0},
    {u"AI.SetFortLevelToHoldAtAllCost", 2, 0},
    {u"Country.SetAICarrierTargetsPriorities", 9, 0},
    {u"Country.ChangeAICarrierTargetsPriorities", 3, 0},
    // Accepted so that scenarios using them load; they change nothing.
    {u"Commander.ChangeLevel", 2, 0},
    {u"Commander.SetLevel", 2, 0},
    {u"Hex.AddLandUnitAndPassControlOverHexIfEmpty", 6, 1},
};

}  // namespace

std::span<const sEffectMethod> EffectMethods() { return kMethods; }

bool ValidateEffect(sEffect& effect) {
  effect.recognised = 0;
  for (const sEffectMethod& method : kMethods) {
    if (!CheckEffectParams(effect, method.name, method.numbers, method.texts)) return false;
  }
  if (effect.recognised == 0) {
    LogFormat(u"ERROR: Effect at line %i has unknown method (%s)!", effect.line, effect.method);
    return false;
  }
  return true;
}

}  // namespace tr
