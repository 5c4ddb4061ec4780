// Country rules of alliances and wars: joining an alliance with the wars it
// drags in, declaring war on a whole alliance, the declare-war table indexes,
// turning an orientation, the names of alliances, orientations and zones,
// and the side a country acts with.
#include <array>
#include <string>

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "world/gra.h"
#include "world/panstwo.h"

namespace tr {
namespace {

bool IsOrientation(int value) { return value >= 0 && value <= 5; }

// The declare-war column of a country outside the leaders, by orientation.
int OrientationColumn(int orientation) {
  switch (orientation % 3) {
    case 2: return 3;
    case 1: return 4;
    default: return 5;
  }
}

// New orientation by the other's orientation (row) and this one's (column);
// -1 keeps this one's.
constexpr std::array<std::array<int, 6>, 6> kOrientationTurn = {{
    {-1, 4, 5, 0, 3, 3},
    {3, -1, 5, 4, 1, 4},
    {3, 4, -1, 5, 5, 2},
    {3, 4, 5, -1, 3, 3},
    {3, 4, 5, 4, -1, 4},
    {3, 4, 5, 5, 5, -1},
}};

std::string VariantKey(const char* key, bool variant) { return variant ? std::string(key) + "2" : key; }

}  // namespace

void cCountry::JoinAlliance(int allianceCode) {
  if (allianceCode < kAllies || allianceCode > kComintern) {
    LogFormat(u"ERROR: %s cannot join alliance %i, only 1 to 3 exist; nothing changes", name, allianceCode);
    return;
  }
  allianceEntry = 100;
  alliance = allianceCode;
  LogLine(Format(GetText("%s_is_joining_alliance_%i"), name, allianceCode));

  const int leaderCode = allianceCode + 3;
  cCountry* leader = nullptr;
  for (const auto& c : gGame->countries) {
    if (c->alliance == leaderCode) leader = c.get();
  }
  if (!leader) {
    LogLine(Format(GetText("cannot_find_leader_for_alliance_%i_while_trying_to_add_%s_to_that_alliance"),
                   leaderCode, name));
    FatalExit(1);
  }

  cRelations& relations = gGame->relations;
  for (const auto& member : gGame->countries) {
    if (member->alliance != allianceCode && member->alliance != leaderCode) continue;
    for (const auto& other : gGame->countries) {
      if (other.get() == member.get()) continue;
      if (relations.IsAtWar(id, other->id) && !relations.IsAtWar(member->id, other->id)) {
        LogFormat(u"own war %s-%s causes war %s-%s", name, other->name, member->name, other->name);
        relations.SetWar(member->id, other->id, true);
        relations.SetWar(other->id, member->id, true);
      }
    }
  }
  for (const auto& other : gGame->countries) {
    if (other.get() == this) continue;
    if (relations.IsAtWar(leader->id, other->id) && !relations.IsAtWar(id, other->id)) {
      LogFormat(u"leader's war %s-%s causes war %s-%s", leader->name, other->name, name, other->name);
      relations.SetWar(id, other->id, true);
      relations.SetWar(other->id, id, true);
    }
  }
}

void cCountry::DeclareWarOnAlliance(int allianceCode) {
  LogLine(Format(GetText("%s_is_now_at_war_with_alliance_%i._wars_are_declared:"), name, allianceCode));
  for (const auto& other : gGame->countries) {
    if (other.get() == this || !other->BelongsToAlliance(allianceCode)) continue;
    gGame->relations.SetWar(id, other->id, true);
    gGame->relations.SetWar(other->id, id, true);
    LogFormat(u"%s - %s", name, other->name);
    LogFormat(u"%s - %s", other->name, name);
  }
}

int cCountry::GetDeclareWarRow() const {
  switch (alliance) {
    case kCominternLeader: return 0;
    case kAxisLeader: return 1;
    case kAlliesLeader: return 2;
    case kComintern: return 3;
    case kAxis: return 4;
    case kAllies: return 5;
    case kNeutral: break;
    default:
      LogLine(GetText("error_in_returning_row_for_declare_war_table:_unknown_alliance"));
      FatalExit(-1);
  }
  if (!IsOrientation(orientation)) {
    LogLine(GetText("error_in_returning_row_for_declare_war_table:_unknown_orientation"));
    FatalExit(1);
  }
  return OrientationColumn(orientation) + 3;
}

int cCountry::GetDeclareWarColumn() const {
  switch (alliance) {
    case kCominternLeader: return 0;
    case kAxisLeader: return 1;
    case kAlliesLeader: return 2;
    default: break;
  }
  if (!IsOrientation(orientation)) {
    LogLine(GetText("error_in_returning_column_for_declare_war_table:_unknown_orientation"));
    FatalExit(1);
  }
  return OrientationColumn(orientation);
}

void cCountry::TurnOrientationToward(const cCountry& other) {
  if (!IsOrientation(orientation) || !IsOrientation(other.orientation)) return;
  const int turned = kOrientationTurn[other.orientation][orientation];
  if (turned >= 0) orientation = turned;
}

int cCountry::GetTargetAlliance() const {
  if (!IsOrientation(orientation)) {
    LogLine(GetText("error_in_returning_target_alliance:_orientation_not_specified"));
    FatalExit(1);
  }
  return orientation % 3 + 1;
}

void cCountry::GetAllianceName(std::u16string& buffer, bool variant) const {
  static constexpr std::array<const char*, 4> kKeys = {"neutral_countries", "allies", "axis", "comintern"};
  buffer = GetText(VariantKey(kKeys[AllianceBase(alliance)], variant));
}

void cCountry::GetTargetAllianceName(std::u16string& buffer, bool variant) const {
  static constexpr std::array<const char*, 3> kKeys = {"allies", "axis", "comintern"};
  buffer = GetText(VariantKey(IsOrientation(orientation) ? kKeys[orientation % 3] : "hey,_error!", variant));
}

void cCountry::GetOrientationName(std::u16string& buffer, bool variant) const {
  static constexpr std::array<const char*, 3> kKeys = {"firm_democracy", "nationalist_regime", "communist_regime"};
  static constexpr std::array<std::u16string_view, 3> kPlain = {u"pro-allied", u"pro-axis", u"pro-communist"};
  static constexpr std::array<std::u16string_view, 3> kPlainVariant = {u"Pro-allied", u"Pro-axis",
                                                                       u"Pro-communist"};
  if (orientation >= 0 && orientation <= 2) {
    buffer = GetText(VariantKey(kKeys[orientation], variant));
  } else if (orientation >= 3 && orientation <= 5) {
    buffer = variant ? kPlainVariant[orientation - 3] : kPlain[orientation - 3];
  }
}

void cCountry::GetZoneOfInfluenceName(std::u16string& buffer, bool variant) const {
  static constexpr std::array<const char*, 4> kKeys = {"none", "allied", "axis", "comintern"};
  if (zoneOfInfluence >= 0 && zoneOfInfluence <= 3) buffer = GetText(VariantKey(kKeys[zoneOfInfluence], variant));
}

int cCountry::GetTurnOrderSide() const {
  switch (AllianceBase(alliance)) {
    case kAxis: return 1;
    case kAllies: return 2;
    case kComintern: return 3;
    default: return 4;
  }
}

}  // namespace tr
