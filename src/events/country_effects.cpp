// The "Country." effects on a country's points, politics, technologies and
// settings for the computer opponent. Every result stays within the range the
// countries table is read with, so a saved game gives back what an event set.
#include <algorithm>
#include <cstdint>
#include <string>

#include "events/diplomacy.h"
#include "events/effect_dispatch.h"
#include "events/effect_targets.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "scenario/countries_file.h"
#include "world/gra.h"
#include "world/presentation.h"
#include "world/tech_levels.h"

namespace tr {
namespace {

constexpr int kMaxDoctrineLevel = 5;

// Runs a behaviour on the country of param0 when it exists.
template <void (*Behaviour)(const sEffect&, cCountry&)>
void OnCountry(const sEffect& effect) {
  if (cCountry* country = EffectCountry(effect, 0)) Behaviour(effect, *country);
}

std::int64_t Sum(std::int32_t value, std::int32_t delta) { return static_cast<std::int64_t>(value) + delta; }

// Joins the alliance of the orientation's camp, with the text the player is shown.
void JoinCampAlliance(const sEffect& effect, cCountry& country) {
  if (country.orientation < kFirmDemocracy || country.orientation > kProCommunist) {
    LogFormat(u"WARNING: effect %s at line %i: %s has orientation %i, outside 0 to 5; it joins no alliance",
              effect.method, effect.line, country.name, country.orientation);
    return;
  }
  // A leader that joined as a member would leave its alliance without a leader.
  if (country.alliance >= kAlliesLeader && country.alliance <= kCominternLeader) {
    LogFormat(u"WARNING: effect %s at line %i: %s leads alliance %i and stays its leader", effect.method, effect.line,
              country.name, country.alliance - 3);
    return;
  }
  std::u16string allianceName;
  country.GetTargetAllianceName(allianceName, false);
  if (!JoinAllianceIfLed(country, country.GetTargetAlliance())) return;
  QueueEffectMessage(u"Alliance entry level in " + country.name + u" reaches 100%% and " + country.name + u" joins " +
                     allianceName);
}

void ChangeDiplomaticPoints(const sEffect& e, cCountry& c) {
  const std::int32_t target =
      HeldInRange(e, Sum(c.diplomaticPoints, IntParam(e, 1)), -kMaxPoints, kMaxPoints, u"DPs", c);
  c.AddDiplomaticPoints(target - c.diplomaticPoints);
}

void ChangeProductionPoints(const sEffect& e, cCountry& c) {
  const double target =
      HeldFractionInRange(e, c.productionPoints + e.params[1], -kMaxProduction, kMaxProduction, u"PPs", c);
  c.AddProductionPoints(target - c.productionPoints);
}

void ChangePoliticalStrength(const sEffect& e, cCountry& c) {
  c.politicalStrength =
      static_cast<std::int32_t>(std::clamp<std::int64_t>(Sum(c.politicalStrength, IntParam(e, 1)), 0, 100));
}

void ChangeAllianceEntry(const sEffect& e, cCountry& c) {
  AddPercentClampedInt(c, IntParam(e, 1));
  if (c.allianceEntry >= 100) JoinCampAlliance(e, c);
}

void SetAllianceEntry(const sEffect& e, cCountry& c) {
  const std::int32_t value = IntParam(e, 1);
  c.allianceEntry = std::min(value, 100);
  if (value >= 100) JoinCampAlliance(e, c);
}

void ChangeSocialUnrest(const sEffect& e, cCountry& c) { AddPercentClampedFloat(c, FloatParam(e, 1)); }

void ChangeWarEconomy(const sEffect& e, cCountry& c) {
  c.warEconomy = static_cast<float>(
      HeldFractionInRange(e, static_cast<double>(c.warEconomy) + e.params[1], 0.0, kMaxPoints, u"WarEconomy(%)", c));
}

void SetDiplomaticPoints(const sEffect& e, cCountry& c) {
  c.diplomaticPoints = HeldInRange(e, IntParam(e, 1), -kMaxPoints, kMaxPoints, u"DPs", c);
  Presentation().RefreshInfoPanel();
}

void SetProductionPoints(const sEffect& e, cCountry& c) {
  c.productionPoints = HeldFractionInRange(e, e.params[1], -kMaxProduction, kMaxProduction, u"PPs", c);
  Presentation().RefreshInfoPanel();
}

void SetPoliticalStrength(const sEffect& e, cCountry& c) {
  c.politicalStrength = HeldInRange(e, IntParam(e, 1), -1, kMaxPoints, u"Polit. Str.", c);
}

void SetSocialUnrest(const sEffect& e, cCountry& c) { c.socialUnrest = std::clamp(FloatParam(e, 1), 0.0f, 100.0f); }

void SetWarEconomy(const sEffect& e, cCountry& c) {
  c.warEconomy = static_cast<float>(HeldFractionInRange(e, e.params[1], 0.0, kMaxPoints, u"WarEconomy(%)", c));
}

void SetZoneOfInfluence(const sEffect& e, cCountry& c) {
  const std::int32_t zone = IntParam(e, 1);
  // The zone names a camp in the diplomacy rules and the texts.
  if (zone < 0 || zone > 3) {
    LogFormat(u"WARNING: effect %s at line %i: zone of influence %i is outside 0 to 3; nothing changes", e.method,
              e.line, zone);
    return;
  }
  c.zoneOfInfluence = zone;
}

void SetOrientation(const sEffect& e, cCountry& c) {
  const std::int32_t orientation = IntParam(e, 1);
  // The orientation indexes the camps and the declare-war tables.
  if (orientation < kFirmDemocracy || orientation > kProCommunist) {
    LogFormat(u"WARNING: effect %s at line %i: orientation %i is outside 0 to 5; nothing changes", e.method, e.line,
              orientation);
    return;
  }
  c.orientation = orientation;
}

void SetActive(const sEffect& e, cCountry& c) { c.isActive = e.params[1] != 0.0 ? 1 : 0; }

void NewUnitPurchasePreferences(const sEffect& e, cCountry& c) {
  auto& list = c.aiSettings.NewUnitPurchasePreferences;
  std::size_t slot = 0;
  if (EffectPosition(e, 1, list.size(), slot)) list[slot] = IntParam(e, 2);
}

// Runs a behaviour on the country of param0 and the technology of param1.
template <void (*Behaviour)(const sEffect&, cCountry&, std::size_t)>
void OnTech(const sEffect& e, cCountry& c) {
  std::size_t tech = 0;
  if (EffectTech(e, 1, tech)) Behaviour(e, c, tech);
}

void SetTechLevel(const sEffect& e, cCountry& c, std::size_t t) {
  c.techLevels[t] = HeldInRange(e, IntParam(e, 2), -kMaxStoredTechLevel, kMaxStoredTechLevel, u"tech level", c);
}

void ChangeTechLevel(const sEffect& e, cCountry& c, std::size_t t) {
  c.techLevels[t] =
      HeldInRange(e, Sum(c.techLevels[t], IntParam(e, 2)), -kMaxStoredTechLevel, kMaxStoredTechLevel, u"tech level", c);
}

void SetTechResearchProgress(const sEffect& e, cCountry& c, std::size_t t) {
  c.researchProgress[t] = HeldInRange(e, IntParam(e, 2), 0, kMaxPoints, u"tech research progress", c);
}

void SetTechInvestment(const sEffect& e, cCountry& c, std::size_t t) {
  c.techInvestments[t] = HeldInRange(e, IntParam(e, 2), 0, kMaxPoints, u"tech investment", c);
}

void ChangeTechInvestment(const sEffect& e, cCountry& c, std::size_t t) {
  c.techInvestments[t] =
      static_cast<std::int32_t>(std::clamp<std::int64_t>(Sum(c.techInvestments[t], IntParam(e, 2)), 0, 3));
}

void ChangeTechResearchProgress(const sEffect& e, cCountry& c, std::size_t t) {
  c.researchProgress[t] = HeldInRange(e, std::max<std::int64_t>(Sum(c.researchProgress[t], IntParam(e, 2)), 0), 0,
                                      kMaxPoints, u"tech research progress", c);
}

void ChangeSTP(const sEffect& e, cCountry& c) {
  const std::int32_t target =
      HeldInRange(e, Sum(c.seaTransportPoints, IntParam(e, 1)), -kMaxPoints, kMaxPoints, u"STPs", c);
  c.AddSeaTransportPoints(target - c.seaTransportPoints);
}

void ChangeAIP(const sEffect& e, cCountry& c) {
  const std::int32_t target =
      HeldInRange(e, Sum(c.invasionPoints, IntParam(e, 1)), -kMaxPoints, kMaxPoints, u"AIPs", c);
  c.AddInvasionPoints(target - c.invasionPoints);
}

void ChangeSMP(const sEffect& e, cCountry& c) {
  const std::int64_t sum = std::max<std::int64_t>(Sum(c.strategicMovementPoints, IntParam(e, 1)), 0);
  const std::int32_t target = HeldInRange(e, sum, 0, kMaxPoints, u"SMPs", c);
  c.AddStrategicMovementPoints(target - c.strategicMovementPoints);
}

float Modifier(const sEffect& e, double value, double low, std::u16string_view what, const cCountry& c) {
  return static_cast<float>(HeldFractionInRange(e, value, low, kMaxPercent, what, c));
}

void SetWinterBattle(const sEffect& e, cCountry& c) {
  c.winterBattle = Modifier(e, e.params[1], -kMaxPercent, u"Winter battle", c);
}
void SetWinterMove(const sEffect& e, cCountry& c) {
  c.winterMove = Modifier(e, e.params[1], -kMaxPercent, u"Winter move", c);
}
void SetMudBattle(const sEffect& e, cCountry& c) {
  c.mudBattle = Modifier(e, e.params[1], -kMaxPercent, u"Mud battle", c);
}
void SetMudMove(const sEffect& e, cCountry& c) { c.mudMove = Modifier(e, e.params[1], -kMaxPercent, u"Mud move", c); }

void ChangeUpkeepCost(const sEffect& e, cCountry& c) {
  c.unitUpkeepModifier =
      Modifier(e, static_cast<double>(c.unitUpkeepModifier) + e.params[1], 0.0, u"Unit upkeep cost modifier", c);
}

void SetUpkeepCost(const sEffect& e, cCountry& c) {
  c.unitUpkeepModifier = Modifier(e, e.params[1], 0.0, u"Unit upkeep cost modifier", c);
}

// The computer opponent's limits are counts and distances: held within what
// its searches can add to a hex coordinate or a cost without overflowing.
void SetMaxSafeMoveCost(const sEffect& e, cCountry& c) {
  c.aiSettings.MaxSafeMoveCost = HeldInRange(e, IntParam(e, 1), -kMaxPoints, kMaxPoints, u"MaxSafeMoveCost", c);
}

void SetDesiredLandForcesStructure(const sEffect& e, cCountry& c) {
  auto& list = c.aiSettings.DesiredLandForcesStructure;
  std::size_t slot = 0;
  if (EffectPosition(e, 1, list.size(), slot)) list[slot] = IntParam(e, 2);
}

void SetMinRatioToPatchFront(const sEffect& e, cCountry& c) {
  c.aiSettings.MinRatioToPatchFront =
      static_cast<float>(HeldFractionInRange(e, e.params[1], 0.0, kMaxPercent, u"MinRatioToPatchFront", c));
}
void SetMaxUnitCountOnFront(const sEffect& e, cCountry& c) {
  c.aiSettings.MaxUnitCountOnFront = HeldInRange(e, IntParam(e, 1), 0, kMaxPoints, u"MaxUnitCountOnFront", c);
}
void SetMaxCoveringUnitDistance(const sEffect& e, cCountry& c) {
  c.aiSettings.MaxCoveringUnitDistance =
      HeldInRange(e, IntParam(e, 1), 0, kMaxPoints, u"MaxCoveringUnitDistance", c);
}

// The doctrine rises while the months of its next level are reached. An
// effect runs under the game lock and so never waits for a dialog: the text
// a human country is shown waits in the message list.
void RaiseDoctrineLevel(cCountry& c) {
  std::int32_t& level = c.techLevels[kDoctrineTech];
  while (level >= 0 && level < kMaxDoctrineLevel && c.doctrineMonths[static_cast<std::size_t>(level)] <= 0) {
    ++level;
    if (!c.humanControlled) continue;
    QueueEffectMessage(Format(
        GetText("%s_reached_level_%i_of_land_warfare_doctrine._all_land_units_will_now_have_higher_effectivity."),
        c.name, level));
  }
}

void ChangeMonthsToReachWarfareDoctrineLevel(const sEffect& e, cCountry& c) {
  const std::int32_t delta = IntParam(e, 1);
  if (delta != 0) {
    for (std::int32_t& months : c.doctrineMonths) {
      months = HeldInRange(e, std::max<std::int64_t>(Sum(months, delta), delta > 0 ? -kMaxPoints : 0), -kMaxPoints,
                           kMaxPoints, u"Doctrine months", c);
    }
  }
  RaiseDoctrineLevel(c);
}

// The one "Country." method without a country: every country's priorities.
void SetAICarrierTargetsPriorities(const sEffect& e) {
  for (const auto& country : gGame->countries) {
    auto& list = country->aiSettings.CarrierTargetsPriorities;
    for (std::size_t i = 0; i < list.size(); ++i) list[i] = IntParam(e, static_cast<int>(i));
  }
}

void ChangeAICarrierTargetsPriorities(const sEffect& e, cCountry& c) {
  auto& list = c.aiSettings.CarrierTargetsPriorities;
  std::size_t slot = 0;
  if (EffectPosition(e, 1, list.size(), slot)) list[slot] = IntParam(e, 2);
}

const sEffectBehaviour kCountryEffects[] = {
    {u"Country.ChangeDiplomaticPoints", OnCountry<ChangeDiplomaticPoints>},
    {u"Country.ChangeProductionPoints", OnCountry<ChangeProductionPoints>},
    {u"Country.ChangePoliticalStrength", OnCountry<ChangePoliticalStrength>},
    {u"Country.ChangeAllianceEntry", OnCountry<ChangeAllianceEntry>},
    {u"Country.SetAllianceEntry", OnCountry<SetAllianceEntry>},
    {u"Country.ChangeSocialUnrest", OnCountry<ChangeSocialUnrest>},
    {u"Country.ChangeWarEconomy", OnCountry<ChangeWarEconomy>},
    {u"Country.SetDiplomaticPoints", OnCountry<SetDiplomaticPoints>},
    {u"Country.SetProductionPoints", OnCountry<SetProductionPoints>},
    {u"Country.SetPoliticalStrength", OnCountry<SetPoliticalStrength>},
    {u"Country.SetSocialUnrest", OnCountry<SetSocialUnrest>},
    {u"Country.SetWarEconomy", OnCountry<SetWarEconomy>},
    {u"Country.SetActive", OnCountry<SetActive>},
    {u"Country.NewUnitPurchasePreferences", OnCountry<NewUnitPurchasePreferences>},
    {u"Country.SetTechLevel", OnCountry<OnTech<SetTechLevel>>},
    {u"Country.ChangeTechLevel", OnCountry<OnTech<ChangeTechLevel>>},
    {u"Country.SetTechResearchProgress", OnCountry<OnTech<SetTechResearchProgress>>},
    {u"Country.SetTechInvestment", OnCountry<OnTech<SetTechInvestment>>},
    {u"Country.ChangeSTP", OnCountry<ChangeSTP>},
    {u"Country.ChangeAIP", OnCountry<ChangeAIP>},
    {u"Country.SetWinterBattle", OnCountry<SetWinterBattle>},
    {u"Country.SetWinterMove", OnCountry<SetWinterMove>},
    {u"Country.SetMudBattle", OnCountry<SetMudBattle>},
    {u"Country.SetMudMove", OnCountry<SetMudMove>},
    {u"Country.SetZoneOfInfluence", OnCountry<SetZoneOfInfluence>},
    {u"Country.SetOrientation", OnCountry<SetOrientation>},
    {u"Country.ChangeSMP", OnCountry<ChangeSMP>},
    {u"Country.ChangeUpkeepCost", OnCountry<ChangeUpkeepCost>},
    {u"Country.SetUpkeepCost", OnCountry<SetUpkeepCost>},
    {u"Country.SetMaxSafeMoveCost", OnCountry<SetMaxSafeMoveCost>},
    {u"Country.SetDesiredLandForcesStructure", OnCountry<SetDesiredLandForcesStructure>},
    {u"Country.SetMinRatioToPatchFront", OnCountry<SetMinRatioToPatchFront>},
    {u"Country.SetMaxUnitCountOnFront", OnCountry<SetMaxUnitCountOnFront>},
    {u"Country.SetMaxCoveringUnitDistance", OnCountry<SetMaxCoveringUnitDistance>},
    {u"Country.ChangeMonthsToReachWarfareDoctrineLevel", OnCountry<ChangeMonthsToReachWarfareDoctrineLevel>},
    {u"Country.ChangeTechInvestment", OnCountry<OnTech<ChangeTechInvestment>>},
    {u"Country.ChangeTechResearchProgress", OnCountry<OnTech<ChangeTechResearchProgress>>},
    {u"Country.SetAICarrierTargetsPriorities", SetAICarrierTargetsPriorities},
    {u"Country.ChangeAICarrierTargetsPriorities", OnCountry<ChangeAICarrierTargetsPriorities>},
};

}  // namespace

std::span<const sEffectBehaviour> CountryEffects() { return kCountryEffects; }

}  // namespace tr
