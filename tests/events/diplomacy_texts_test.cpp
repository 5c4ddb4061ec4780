// Every diplomacy key the rules use has an English text, and that text prints
// each value the rules pass, in the order they pass them.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "diplomacy_fixture.h"
#include "foundation/format.h"
#include "foundation/text.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

// The values each key is formatted with: s a name, i a whole number, f a percentage with decimals.
const std::map<std::string, std::string>& ArgumentsByKey() {
  static const std::map<std::string, std::string> table = {
      {"diplomacy_not_enough_dp", "ii"},
      {"diplomacy_country_already_in_alliance", "s"},
      {"diplomacy_alliance_already_at_minimum_level", ""},
      {"diplomacy_delaying_alliance_entry_only_once_per_turn", ""},
      {"diplomacy_attempt_to_keep_away_from_joining_alliance", "i"},
      {"diplomacy_country_delay_alliance_entry", "sii"},
      {"diplomacy_hasting_alliance_entry_only_once_per_turn", ""},
      {"diplomacy_attempt_to_bring_closer_to_alliance", "i"},
      {"diplomacy_haste_war_entry_joined_alliance_name_allies", ""},
      {"diplomacy_haste_war_entry_joined_alliance_name_axis", ""},
      {"diplomacy_haste_war_entry_joined_alliance_name_comintern", ""},
      {"diplomacy_haste_war_entry_country_join_alliance", "ss"},
      {"diplomacy_haste_war_entry_country_increase_alliance_entry", "sii"},
      {"diplomacy_elections_not_possible_in_regimes", ""},
      {"diplomacy_elections_only_once_per_game", ""},
      {"diplomacy_elections_not_possible_during_war", ""},
      {"diplomacy_elections_not_possible_only_neutral", ""},
      {"diplomacy_elections_firm_democracies_only_to_weaker", ""},
      {"diplomacy_elections_choose_winning_orientation", ""},
      {"diplomacy_elections_in_country_country_becomes_orientation", "sss"},
      {"diplomacy_elections_in_country_orientation_changed_to_pro_allied_alliance_entry_dropped", "sii"},
      {"diplomacy_elections_in_country_orientation_changed_to_pro_allied", "s"},
      {"diplomacy_elections_in_country_orientation_changed_to_pro_axis_alliance_entry_dropped", "sii"},
      {"diplomacy_elections_in_country_orientation_changed_to_pro_axis_report_bug", "s"},
      {"diplomacy_elections_in_country_orientation_changed_to_pro_communist_alliance_entry_dropped", "sii"},
      {"diplomacy_elections_in_country_orientation_changed_to_pro_communist_report_bug", "s"},
      {"diplomacy_can_change_orientation_only_once_per_turn", ""},
      {"diplomacy_can_change_orientation_not_possible_during_war", ""},
      {"diplomacy_can_change_orientation_not_possible_in_alliance", ""},
      {"diplomacy_can_change_orientation_not_possible_social_unrest", ""},
      {"diplomacy_change_orientation_to_pro_allied", "sff"},
      {"diplomacy_change_orientation_to_pro_axis", "sff"},
      {"diplomacy_change_orientation_to_pro_communist", "sff"},
      {"diplomacy_change_orientation_to_firm_democracy", "sff"},
      {"diplomacy_change_orientation_to_nationalist_regime", "sff"},
      {"diplomacy_change_orientation_to_communist_regime", "sff"},
      {"diplomacy_change_orientation_to_other_then_pro_orientation", "ssffii"},
      {"diplomacy_can_extern_pressure_country_already_in_alliance", "s"},
      {"diplomacy_can_exert_pressure_only_once_per_turn_note_allies", "s"},
      {"diplomacy_can_exert_pressure_only_once_per_turn_note_axis", "s"},
      {"diplomacy_can_exert_pressure_only_once_per_turn_note_comintern", "s"},
      {"diplomacy_can_exert_pressure_hasten_alliance_entry_of_country_cost", "si"},
      {"diplomacy_can_exert_pressure_decrease_alliance_entry_of_country_cost_chance", "sii"},
      {"diplomacy_exert_pressure_country_tries_to_exert_pressure_on_country_but_fails", "ss"},
      {"diplomacy_exert_pressure_country_joins_alliance_pressure_from_country", "sss"},
      {"diplomacy_exert_pressure_alliance_entry_of_country_changed_pressure_from_country", "siis"},
      {"diplomacy_can_coup_detat_only_in_neutral", ""},
      {"diplomacy_can_coup_detat_only_in_countries_not_at_war", ""},
      {"diplomacy_can_coup_detat_same_orientation_of_country", "s"},
      {"diplomacy_can_coup_detat_try_to_stage_in_country_cost_chance", "sii"},
      {"diplomacy_coup_detat_in_country_orientation_changed_alliance_entry_dropped", "sssii"},
      {"diplomacy_coup_detat_attempt_in_country_failed_strength_of_country_increased_country_joins_alliance", "ssiss"},
      {"diplomacy_coup_detat_attempt_in_country_failed_strength_of_country_increased", "ssi"},
      {"diplomacy_coup_detat_attempt_in_country_failed_strength_of_country_increased_alliance_entry_increased",
       "ssiii"},
      {"diplomacy_can_declare_war_not_on_ally", ""},
      {"diplomacy_can_declare_war_similar_orientation", ""},
      {"diplomacy_can_declare_war_already_war_with_country", "s"},
      {"diplomacy_can_declare_war_country_is_member_of_alliance_declare_war_on_leader", "s"},
      {"diplomacy_can_declare_war_on_country_social_unrest_increase_country_join_alliance", "siiss"},
      {"diplomacy_can_declare_war_on_country_social_unrest_increase", "sii"},
  };
  return table;
}

TEST(DiplomacyTexts, EveryKeyTheRulesUseIsListedHere) {
  const std::regex key("\"(diplomacy_[a-z_]+)\"");
  std::set<std::string> used;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(TR_SOURCE_DIR) / "src/events")) {
    const std::string code = test::ReadFileBytes(entry.path());
    for (std::sregex_iterator it(code.begin(), code.end(), key), end; it != end; ++it) used.insert((*it)[1].str());
  }
  EXPECT_EQ(used.size(), ArgumentsByKey().size());
  for (const auto& k : used) EXPECT_TRUE(ArgumentsByKey().contains(k)) << k;
}

// The formatter takes its values as a braced list; the longest list here has six.
std::u16string FormatList(const std::u16string& format, const std::vector<FormatArg>& a) {
  switch (a.size()) {
    case 0: return FormatArgs(format, {});
    case 1: return FormatArgs(format, {a[0]});
    case 2: return FormatArgs(format, {a[0], a[1]});
    case 3: return FormatArgs(format, {a[0], a[1], a[2]});
    case 4: return FormatArgs(format, {a[0], a[1], a[2], a[3]});
    case 5: return FormatArgs(format, {a[0], a[1], a[2], a[3], a[4]});
    default: return FormatArgs(format, {a[0], a[1], a[2], a[3], a[4], a[5]});
  }
}

class DiplomacyText : public testing::TestWithParam<std::pair<const std::string, std::string>> {};

TEST_P(DiplomacyText, PrintsEveryValueInOrder) {
  const auto& [key, kinds] = GetParam();
  const std::u16string english = test::EnglishText(key);
  std::vector<FormatArg> args;
  std::vector<std::u16string> shown;
  std::vector<std::u16string> names;
  names.reserve(kinds.size());
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    const int n = static_cast<int>(i) + 1;
    switch (kinds[i]) {
      case 's':
        names.push_back(Format(u"Name%i", n));
        args.emplace_back(names.back());
        shown.push_back(names.back());
        break;
      case 'i':
        args.emplace_back(700 + n);
        shown.push_back(Format(u"%i", 700 + n));
        break;
      default:
        args.emplace_back(40.5 + n);
        shown.push_back(Format(u"%.1f", 40.5 + n));
        break;
    }
  }
  test::LogCapture log;
  const std::u16string text = FormatList(english, args);
  EXPECT_FALSE(log.ContainsText(u"missing or mismatched")) << Utf16ToUtf8(english);
  std::size_t at = 0;
  for (const auto& value : shown) {
    const std::size_t found = text.find(value, at);
    ASSERT_NE(found, std::u16string::npos) << Utf16ToUtf8(value) << " missing or out of order in " << Utf16ToUtf8(text);
    at = found + value.size();
  }
}

INSTANTIATE_TEST_SUITE_P(Keys, DiplomacyText, testing::ValuesIn(ArgumentsByKey().begin(), ArgumentsByKey().end()),
                         [](const auto& info) { return info.param.first; });

}  // namespace
}  // namespace tr
