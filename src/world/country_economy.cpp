// The country's steps of the end of impulse that move production points:
// unit upkeep, production from cities, the monthly research and the
// land-warfare doctrine.
#include <algorithm>
#include <array>

#include "foundation/format.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "world/city_rules.h"
#include "world/gra.h"
#include "world/panstwo.h"
#include "world/presentation.h"
#include "world/tech_levels.h"

namespace tr {
namespace {

constexpr int kDoctrine = 2;
constexpr int kNuclear = 6;
constexpr int kMaxDoctrineLevel = 5;

struct sResearchLine {
  int tech;
  const char* key;
};
constexpr std::array<sResearchLine, 6> kResearchLines = {{{0, "artillery:_"},
                                                          {1, "tanks:_"},
                                                          {3, "aircrafts:_"},
                                                          {4, "submarines:_"},
                                                          {5, "warships:_"},
                                                          {kNuclear, "nuclear_bomb:_"}}};

// Production percent by difficulty level of a human country.
float DifficultyPercent(const cCountry& country) {
  static constexpr std::array<float, 5> kPercent = {50.0f, 75.0f, 100.0f, 150.0f, 200.0f};
  if (!country.humanControlled || country.difficulty < 0 || country.difficulty > 4) return 100.0f;
  return kPercent[static_cast<std::size_t>(country.difficulty)];
}

}  // namespace

sCountryReport cCountry::PayUnitUpkeep() {
  const double ppBefore = productionPoints;
  const float factor = gGame->constants.CountryFactor() * unitUpkeepModifier;
  float totalStrength = 0.0f;
  float totalUpkeep = 0.0f;
  const auto pay = [&](const std::vector<const cJednostka*>& units) {
    for (auto it = units.rbegin(); it != units.rend(); ++it) {
      const float value = (*it)->GetStrengthValue();
      const float upkeep = value * factor;
      totalStrength += value;
      totalUpkeep += upkeep;
      AddProductionPoints(-upkeep);
    }
  };
  std::vector<const cJednostka*> land;
  for (const auto& unit : gGame->landUnits) {
    if (unit->owner == id) land.push_back(unit.get());
  }
  for (const auto& unit : gGame->reservePool) {
    if (unit->owner == id && unit->category == kCategoryLand) land.push_back(unit.get());
  }
  pay(land);
  std::vector<const cJednostka*> air;
  for (const auto& unit : gGame->airUnits) {
    if (unit->owner == id) air.push_back(unit.get());
  }
  for (const auto& unit : gGame->reservePool) {
    if (unit->owner == id && unit->category == kCategoryAir) air.push_back(unit.get());
  }
  pay(air);

  sCountryReport report;
  report.title = Format(GetText("unit_upkeep_summary_for_%s"), name);
  report.text = Format(GetText("total_units'_strength:_%.2f"), totalStrength) +
                Format(GetText("total_upkeep:_%.2f"), totalUpkeep) +
                Format(GetText("pp_after_upkeep_substraction:_%.2f"), ppBefore - totalUpkeep) +
                Format(GetText("current_pp:_%.2f"), productionPoints);
  return report;
}

sCountryReport cCountry::CollectProduction() {
  const sScenarioConstants& k = gGame->constants;
  const cRelations& relations = gGame->relations;
  float resources = 0.0f, own = 0.0f, occupied = 0.0f, annexed = 0.0f, share = 0.0f;
  for (const auto& city : gGame->cities) {
    const float pp = city->productionPoints;
    const int controller = GetControllerId(*city);
    const int owner = GetOwnerId(*city);
    const int original = GetOriginalOwnerId(*city);
    if (city->type == kCityResources) {
      if (controller == id) resources += pp;
      continue;
    }
    if (controller == id) {
      if (original == id) {
        own += pp;
      } else if (owner != id) {
        occupied += pp * k.CountryValues(1);
      } else {
        annexed += pp * k.CountryValues(2);
        if (original != 0) share += relations.GetLossesShare(id, original) * k.CountryValues(3) * pp;
      }
    } else if (controller != 0 && owner == controller && original != 0 && original != controller &&
               original != id && IsAlly(controller)) {
      share += relations.GetLossesShare(id, original) * k.CountryValues(3) * pp;
    }
  }
  const float total = own + resources + occupied + annexed + share;
  const float civilOrder = 100.0f - socialUnrest;
  const float difficultyPercent = DifficultyPercent(*this);
  const float modifier = civilOrder / 100.0f * warEconomy / 100.0f * difficultyPercent / 100.0f;
  const float collected = modifier * total;
  AddProductionPoints(collected);

  sCountryReport report;
  report.title = GetText("report_production_main_content");
  report.text = Format(
      u"Resources: %.1f PP\nOwn cities: %.1f PP\nOccupied cities: %.1f PP\nAnnexed cities: %.1f PP\n"
      u"Share from annexed cities: %.1f PP\n\nTotal production: %.1f PP\n\n\nModifiers:\nCivil Order: %.1f%%\n"
      u"War Economy: %.1f%%\nDifficulty level: %.1f%%\n\nTotal modifier: %.1f%%\n\n\nCollected: %.1f PP",
      resources, own, occupied, annexed, share, total, civilOrder, warEconomy, difficultyPercent,
      100.0f * modifier, collected);
  return report;
}

sCountryReport cCountry::ProgressResearch() {
  const sScenarioConstants& k = gGame->constants;
  sCountryReport report;
  report.title = Format(GetText("monthly_research_report_for_%s"), name);
  const auto newBomb = [this, &report] {
    nuclearBombs = std::min(nuclearBombs + 1, kMaxPoints);
    report.text += Format(GetText("_%s_aquires_new_nuclear_bomb."), name);
  };
  for (const sResearchLine& line : kResearchLines) {
    const int t = line.tech;
    report.text += GetText(line.key);
    if (techInvestments[t] == 0) {
      report.text += GetText("no_investments.");
      continue;
    }
    // The countries table keeps levels up to kMaxStoredTechLevel, whatever the scenario allows.
    if (techLevels[t] >= std::min(k.ResearchTableB(t), kMaxStoredTechLevel)) {
      report.text += GetText("maximum_level_reached.");
      if (t == kNuclear) newBomb();
      continue;
    }
    const int before = researchProgress[t];
    researchProgress[t] = static_cast<std::int32_t>(
        std::min<std::int64_t>(std::int64_t{researchProgress[t]} + RandomSum(techInvestments[t], 1, 6), kMaxPoints));
    const int cost = k.ResearchTableA(t);
    if (researchProgress[t] >= cost) {
      ++techLevels[t];
      techInvestments[t] = 0;
      researchProgress[t] = 0;
      report.text += Format(GetText("level_%i_reached!"), techLevels[t]);
      if (t == kNuclear) newBomb();
      continue;
    }
    const int months =
        static_cast<int>(static_cast<double>(cost - researchProgress[t]) / (techInvestments[t] * 3.5) + 0.5);
    report.text += Format(GetText("progress_increased_from_%i_to_%i._estimated_completion_time:_%i_months."),
                          before, researchProgress[t], months);
  }
  return report;
}

void cCountry::CheckDoctrineLevel() {
  for (int i = 0; i < kMaxDoctrineLevel; ++i) {
    std::int32_t& months = doctrineMonths[static_cast<std::size_t>(i)];
    months = std::max(months - 1, -kMaxPoints);
    std::int32_t& level = techLevels[kDoctrine];
    if (level < 0 || level >= kMaxDoctrineLevel || doctrineMonths[static_cast<std::size_t>(level)] > 0) continue;
    ++level;
    if (!humanControlled) continue;
    Presentation().ShowTextAndWait(
        GetText("new_doctrine_level!"),
        Format(GetText("%s_reached_level_%i_of_land_warfare_doctrine._all_land_units_will_now_have_higher_effectivity."),
               name, level));
  }
}

}  // namespace tr
