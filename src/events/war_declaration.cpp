// Declaring war: its cost and unrest from the two tables of the constants, the
// check, and the six ways a declaration spreads depending on whether the
// declarer belongs to an alliance, whether the target leads one, and whether
// the target lies in its own zone of influence.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "events/diplomacy.h"
#include "events/diplomacy_parts.h"
#include "foundation/console_log.h"
#include "world/gra.h"

namespace tr {

using diplomacy::Camp;
using diplomacy::Constants;
using diplomacy::Country;
using diplomacy::InAlliance;
using diplomacy::IsLeader;
using diplomacy::Text;

namespace {

// The table indexes end the program for politics they do not know; such
// countries never reach them.
bool Placeable(const cCountry& country) {
  return country.alliance >= kNeutral && country.alliance <= kCominternLeader && Camp(country.orientation) >= 0;
}

void WarBothWays(const cCountry& a, const cCountry& b) {
  gGame->relations.SetWar(a.id, b.id, true);
  gGame->relations.SetWar(b.id, a.id, true);
}

// Every country of the alliance, in country order, declares war on the other alliance.
void AllianceDeclaresWarOn(int alliance, int otherAlliance) {
  for (const auto& country : gGame->countries) {
    if (country->BelongsToAlliance(alliance)) country->DeclareWarOnAlliance(otherAlliance);
  }
}

}  // namespace

int GetDeclareWarCost(int declarer, int target) {
  const cCountry* a = Country(declarer);
  const cCountry* b = Country(target);
  if (!a || !b || !Placeable(*a) || !Placeable(*b)) return 0;
  const std::int64_t entry = Constants().DeclareWarCost(a->GetDeclareWarRow(), b->GetDeclareWarColumn());
  const std::int64_t cost = entry * b->politicalStrength / 100;
  return static_cast<int>(std::clamp<std::int64_t>(cost, 0, std::numeric_limits<int>::max()));
}

int GetDeclareWarUnrestIncrease(int declarer, int target) {
  const cCountry* a = Country(declarer);
  const cCountry* b = Country(target);
  if (!a || !b || !Placeable(*a) || !Placeable(*b)) return 0;
  return Constants().DeclareWarUnrest(a->GetDeclareWarRow(), b->GetDeclareWarColumn());
}

bool CanDeclareWar(int declarer, int target, std::u16string& text) {
  if (!diplomacy::BothKnown(declarer, target, text)) return false;
  const cCountry& a = *Country(declarer);
  const cCountry& b = *Country(target);
  if (a.IsAlly(b.id)) {
    text = Text("diplomacy_can_declare_war_not_on_ally");
    return false;
  }
  if (a.SharesOrientationWith(b)) {
    text = Text("diplomacy_can_declare_war_similar_orientation");
    return false;
  }
  if (gGame->relations.IsAtWar(a.id, b.id)) {
    text = Text("diplomacy_can_declare_war_already_war_with_country", b.name);
    return false;
  }
  if (b.alliance >= kAllies && b.alliance <= kComintern) {
    text = Text("diplomacy_can_declare_war_country_is_member_of_alliance_declare_war_on_leader", b.name);
    return false;
  }
  const int cost = GetDeclareWarCost(declarer, target);
  if (a.diplomaticPoints < cost) {
    text = Text("diplomacy_not_enough_dp", cost, a.diplomaticPoints);
    return false;
  }
  const int unrest = GetDeclareWarUnrestIncrease(declarer, target);
  if (b.IsInOwnZoneOfInfluence() && !InAlliance(b)) {
    std::u16string alliance;
    b.GetTargetAllianceName(alliance, false);
    text = Text("diplomacy_can_declare_war_on_country_social_unrest_increase_country_join_alliance", b.name, cost,
                unrest, b.name, alliance);
  } else {
    text = Text("diplomacy_can_declare_war_on_country_social_unrest_increase", b.name, cost, unrest);
  }
  return true;
}

int DeclareWar(int declarer, int target, bool pay) {
  std::u16string unused;
  if (!diplomacy::BothKnown(declarer, target, unused)) return 0;
  if (declarer == target) {
    LogFormat(u"Diplomacy refused: %s cannot declare war on itself", Country(declarer)->name);
    return 0;
  }
  cCountry& a = *Country(declarer);
  cCountry& b = *Country(target);
  if (pay) {
    diplomacy::PayDiplomacyPoints(a, GetDeclareWarCost(declarer, target));
    AddPercentClampedFloat(a, static_cast<float>(GetDeclareWarUnrestIncrease(declarer, target)));
  }
  const auto announce = [&](int number) { LogFormat(u"%s declares war on %s (CASE %i)", a.name, b.name, number); };
  const bool ownZone = b.IsInOwnZoneOfInfluence();
  if (!InAlliance(a)) {
    if (IsLeader(b)) {
      announce(3);
      a.DeclareWarOnAlliance(b.alliance);
      return 3;
    }
    if (!ownZone) {
      announce(1);
      WarBothWays(a, b);
      return 1;
    }
    announce(2);
    WarBothWays(a, b);
    JoinAllianceIfLed(b, b.GetTargetAlliance());
    return 2;
  }
  if (IsLeader(b)) {
    announce(6);
    WarBothWays(a, b);
    AllianceDeclaresWarOn(b.alliance, a.alliance);
    return 6;
  }
  if (!ownZone) {
    announce(4);
    b.DeclareWarOnAlliance(a.alliance);
    return 4;
  }
  announce(5);
  const int joined = b.GetTargetAlliance();
  WarBothWays(a, b);
  JoinAllianceIfLed(b, joined);
  AllianceDeclaresWarOn(joined, a.alliance);
  return 5;
}

}  // namespace tr
