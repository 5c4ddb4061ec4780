// The actions a country takes on itself: delaying or hastening its entry into
// the alliance of its camp, holding elections and changing its orientation.
#include <cstdint>

#include "events/diplomacy.h"
#include "events/diplomacy_parts.h"
#include "foundation/console_log.h"

namespace tr {

using diplomacy::Camp;
using diplomacy::Constants;
using diplomacy::Country;
using diplomacy::InAlliance;
using diplomacy::Text;

namespace {

std::u16string OrientationName(const cCountry& country) {
  std::u16string name;
  country.GetOrientationName(name, false);
  return name;
}

// The alliance entry falls by the roll; the text shows it before and after.
void DropEntry(cCountry& country, int drop, std::int32_t& before, std::int32_t& after) {
  before = country.allianceEntry;
  AddPercentClampedInt(country, -static_cast<std::int64_t>(drop));
  after = country.allianceEntry;
}

}  // namespace

bool CanDelayAllianceEntry(int number, std::u16string& text) {
  if (!diplomacy::Known(number, text)) return false;
  const cCountry& country = *Country(number);
  if (InAlliance(country)) {
    text = Text("diplomacy_country_already_in_alliance", country.name);
    return false;
  }
  if (country.allianceEntry <= 0) {
    text = Text("diplomacy_alliance_already_at_minimum_level");
    return false;
  }
  if (country.doneDelayWarEntry) {
    text = Text("diplomacy_delaying_alliance_entry_only_once_per_turn");
    return false;
  }
  const int cost = GetDelayAllianceEntryCost(number);
  if (country.diplomaticPoints < cost) {
    text = Text("diplomacy_not_enough_dp", cost, country.diplomaticPoints);
    return false;
  }
  text = Text("diplomacy_attempt_to_keep_away_from_joining_alliance", cost);
  return true;
}

void DelayAllianceEntry(int number, std::u16string& text) {
  cCountry* country = Country(number);
  text.clear();
  if (!country) return;
  diplomacy::PayDiplomacyPoints(*country, GetDelayAllianceEntryCost(number));
  country->doneDelayWarEntry = 1;
  const sScenarioConstants& k = Constants();
  const int drop = RollDiceFractionalCount(k.DelayEntryValues(4), k.DelayEntryValues(5), k.DelayEntryValues(6));
  std::int32_t before = 0;
  std::int32_t after = 0;
  DropEntry(*country, drop, before, after);
  text = Text("diplomacy_country_delay_alliance_entry", country->name, before, after);
}

bool CanHasteAllianceEntry(int number, std::u16string& text) {
  if (!diplomacy::Known(number, text)) return false;
  const cCountry& country = *Country(number);
  if (InAlliance(country)) {
    text = Text("diplomacy_country_already_in_alliance", country.name);
    return false;
  }
  if (country.doneHasteWarEntry) {
    text = Text("diplomacy_hasting_alliance_entry_only_once_per_turn");
    return false;
  }
  const int cost = GetHasteAllianceEntryCost(number);
  if (country.diplomaticPoints < cost) {
    text = Text("diplomacy_not_enough_dp", cost, country.diplomaticPoints);
    return false;
  }
  text = Text("diplomacy_attempt_to_bring_closer_to_alliance", cost);
  return true;
}

void HasteAllianceEntry(int number, std::u16string& text) {
  cCountry* country = Country(number);
  text.clear();
  if (!country) return;
  diplomacy::PayDiplomacyPoints(*country, GetHasteAllianceEntryCost(number));
  country->doneHasteWarEntry = 1;
  const sScenarioConstants& k = Constants();
  const int gain = RollDice(TruncateToInt(k.HasteEntryValues(4)), TruncateToInt(k.HasteEntryValues(5)),
                            TruncateToInt(k.HasteEntryValues(6)));
  const std::int32_t before = country->allianceEntry;
  AddPercentClampedInt(*country, gain);
  if (country->allianceEntry >= 100) {
    static constexpr const char* kNameKeys[] = {"diplomacy_haste_war_entry_joined_alliance_name_allies",
                                                "diplomacy_haste_war_entry_joined_alliance_name_axis",
                                                "diplomacy_haste_war_entry_joined_alliance_name_comintern"};
    const int camp = Camp(country->orientation);
    if (camp < 0) {
      // The alliance cannot be chosen: the country stays neutral at 100.
      LogLine(u"Error 1: Orientation not specified");
      LogFormat(u"Diplomacy refused: %s has orientation %i, outside 0 to 5", country->name, country->orientation);
    } else if (JoinAllianceIfLed(*country, camp + 1)) {
      text = Text("diplomacy_haste_war_entry_country_join_alliance", country->name, GetText(kNameKeys[camp]));
      return;
    }
  }
  text = Text("diplomacy_haste_war_entry_country_increase_alliance_entry", country->name, before,
              country->allianceEntry);
}

bool CanHoldElections(int number, std::u16string& text) {
  if (!diplomacy::Known(number, text)) return false;
  const cCountry& country = *Country(number);
  if (country.orientation == kNationalistRegime || country.orientation == kCommunistRegime) {
    text = Text("diplomacy_elections_not_possible_in_regimes");
    return false;
  }
  if (country.doneParliamentaryElections) {
    text = Text("diplomacy_elections_only_once_per_game");
    return false;
  }
  if (country.IsAtWarWithAnyone()) {
    text = Text("diplomacy_elections_not_possible_during_war");
    return false;
  }
  if (InAlliance(country)) {
    text = Text("diplomacy_elections_not_possible_only_neutral");
    return false;
  }
  text = Text(country.orientation == kFirmDemocracy ? "diplomacy_elections_firm_democracies_only_to_weaker"
                                                    : "diplomacy_elections_choose_winning_orientation");
  return true;
}

void HoldElections(int number, int winner, std::u16string& text) {
  cCountry* country = Country(number);
  text.clear();
  if (!country) return;
  if (Camp(winner) < 0) {
    LogLine(u"Elections - orientaion unknown. ERROR");
    LogFormat(u"Diplomacy refused: elections in %s cannot be won by orientation %i", country->name, winner);
    return;
  }
  country->doneParliamentaryElections = 1;
  const sScenarioConstants& k = Constants();
  const int drop = RollDice(TruncateToInt(k.ElectionValues(1)), TruncateToInt(k.ElectionValues(2)),
                            TruncateToInt(k.ElectionValues(3)));
  const int was = country->orientation;
  std::int32_t before = 0;
  std::int32_t after = 0;
  switch (winner) {
    case kProAllied:
      country->orientation = kProAllied;
      if (was == kProAxis || was == kProCommunist) {
        DropEntry(*country, drop, before, after);
        text = Text("diplomacy_elections_in_country_orientation_changed_to_pro_allied_alliance_entry_dropped",
                    country->name, before, after);
      } else {
        text = Text("diplomacy_elections_in_country_orientation_changed_to_pro_allied", country->name);
      }
      return;
    case kProAxis:
      country->orientation = kProAxis;
      if (was == kProAllied || was == kProCommunist) {
        DropEntry(*country, drop, before, after);
        text = Text("diplomacy_elections_in_country_orientation_changed_to_pro_axis_alliance_entry_dropped",
                    country->name, before, after);
      } else {
        text = Text("diplomacy_elections_in_country_orientation_changed_to_pro_axis_report_bug", country->name);
      }
      return;
    case kProCommunist:
      country->orientation = kProCommunist;
      if (was == kProAllied || was == kProAxis) {
        DropEntry(*country, drop, before, after);
        text = Text("diplomacy_elections_in_country_orientation_changed_to_pro_communist_alliance_entry_dropped",
                    country->name, before, after);
      } else {
        text = Text("diplomacy_elections_in_country_orientation_changed_to_pro_communist_report_bug", country->name);
      }
      return;
    default:
      country->orientation = winner;
      text = Text("diplomacy_elections_in_country_country_becomes_orientation", country->name, country->name,
                  OrientationName(*country));
      return;
  }
}

bool CanChangeOrientation(int number, std::u16string& text) {
  if (!diplomacy::Known(number, text)) return false;
  const cCountry& country = *Country(number);
  if (country.doneTurnInOrientation) {
    text = Text("diplomacy_can_change_orientation_only_once_per_turn");
    return false;
  }
  const int cost = GetChangeOrientationCost(number);
  if (country.diplomaticPoints < cost) {
    text = Text("diplomacy_not_enough_dp", cost, country.diplomaticPoints);
    return false;
  }
  if (country.IsAtWarWithAnyone()) {
    text = Text("diplomacy_can_change_orientation_not_possible_during_war");
    return false;
  }
  if (InAlliance(country)) {
    text = Text("diplomacy_can_change_orientation_not_possible_in_alliance");
    return false;
  }
  if (country.socialUnrest > 75.0f) {
    text = Text("diplomacy_can_change_orientation_not_possible_social_unrest");
    return false;
  }
  return true;
}

void ChangeOrientation(int number, int target, std::u16string& text) {
  cCountry* country = Country(number);
  text.clear();
  if (!country) return;
  if (Camp(target) < 0) {
    LogFormat(u"Diplomacy refused: %s cannot change its orientation to %i, outside 0 to 5", country->name, target);
    return;
  }
  diplomacy::PayDiplomacyPoints(*country, GetChangeOrientationCost(number));
  country->doneTurnInOrientation = 1;
  const sScenarioConstants& k = Constants();
  const auto roll = [&k](int first) {
    return RollDice(TruncateToInt(k.OrientationChangeValues(first)), TruncateToInt(k.OrientationChangeValues(first + 1)),
                    TruncateToInt(k.OrientationChangeValues(first + 2)));
  };
  const float unrestBefore = country->socialUnrest;
  // A small step keeps the camp: a regime or firm democracy leans, or a lean hardens.
  const auto smallStep = [&](int orientation, const char* key) {
    AddPercentClampedFloat(*country, static_cast<float>(roll(7)));
    country->orientation = orientation;
    text = Text(key, country->name, unrestBefore, country->socialUnrest);
  };
  // Leaving the camp of a lean costs more unrest and some of the alliance entry.
  const auto otherStep = [&] {
    AddPercentClampedFloat(*country, static_cast<float>(roll(4)));
    std::int32_t before = 0;
    std::int32_t after = 0;
    DropEntry(*country, roll(1), before, after);
    country->orientation = target;
    text = Text("diplomacy_change_orientation_to_other_then_pro_orientation", country->name,
                OrientationName(*country), unrestBefore, country->socialUnrest, before, after);
  };
  switch (country->orientation) {
    case kFirmDemocracy: smallStep(kProAllied, "diplomacy_change_orientation_to_pro_allied"); break;
    case kNationalistRegime: smallStep(kProAxis, "diplomacy_change_orientation_to_pro_axis"); break;
    case kCommunistRegime: smallStep(kProCommunist, "diplomacy_change_orientation_to_pro_communist"); break;
    case kProAllied:
      if (target == kFirmDemocracy) smallStep(kFirmDemocracy, "diplomacy_change_orientation_to_firm_democracy");
      else otherStep();
      break;
    case kProAxis:
      if (target == kNationalistRegime) smallStep(kNationalistRegime, "diplomacy_change_orientation_to_nationalist_regime");
      else otherStep();
      break;
    case kProCommunist:
      if (target == kCommunistRegime) smallStep(kCommunistRegime, "diplomacy_change_orientation_to_communist_regime");
      else otherStep();
      break;
    default: break;
  }
}

}  // namespace tr
