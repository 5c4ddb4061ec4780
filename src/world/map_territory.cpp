// Territory changing hands wholesale: annexation, the hex stripes and the
// territory transfer of scripted events; and the airborne landing test.
#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "units/jednostka.h"
#include "world/gra.h"
#include "world/map.h"

namespace tr {
namespace {

bool IsCountryNumber(int id) { return gGame && id >= 1 && id <= gGame->CountryCount(); }

// The unit's owner is the country or one of its allies.
bool OwnerIsFriendOf(const cUnit& unit, int country) {
  if (unit.owner == country) return true;
  const cCountry* owner = gGame->GetCountry(unit.owner);
  return owner && owner->IsAlly(country);
}

void SendToReserve(cUnit* unit) {
  if (auto* landOrAir = dynamic_cast<cJednostka*>(unit)) landOrAir->MoveToReservePool();
}

// A unit on a hex of the annexed country: allies of it leave for their
// reserve, its enemies stay; anyone else could not stand there at all.
void JudgeUnitOnAnnexedHex(cUnit* unit, int annexed) {
  if (!unit) return;
  const cCountry* owner = gGame->GetCountry(unit->owner);
  if (owner && owner->IsAlly(annexed)) {
    SendToReserve(unit);
    return;
  }
  if (unit->owner >= 1 && gGame->relations.IsAtWar(unit->owner, annexed)) return;
  LogLine(Format(GetText("critical_error!_while_annexing,_unit_%s_was_found"), unit->name));
  LogLine(Format(GetText("it_belongs_to_%s,_but_this_country_isn't_ally_or_enemy_of_annexed_nation"),
                 owner ? owner->name : std::u16string()));
  LogLine(u"And if its not enemy or ally - it cannot occupy this hex! Report this as a bug! Exiting.");
  FatalExit(1);
}

}  // namespace

bool sHex::CanBeEnteredBy(const cCountry& country) const {
  if (unit && unit->spotted) return false;
  if (terrain == kTerrainWater || terrain == kTerrainMountain) return false;
  if (controller == 0 || controller == country.id) return true;
  return country.IsAlly(controller) || (gGame && gGame->relations.IsAtWar(country.id, controller));
}

void cMap::ReassignAnnexedHexes(int annexed, int successor) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      sHex& hex = *GetHex(x, y);
      if (hex.controller == annexed && hex.owner == annexed) {
        hex.SetController(successor);
        hex.SetOwner(successor);
      } else if (hex.controller == annexed) {
        hex.SetController(hex.owner);
      } else if (hex.owner == annexed) {
        hex.SetOwner(hex.controller);
        continue;
      } else {
        continue;
      }
      JudgeUnitOnAnnexedHex(hex.unit, annexed);
      OnPortCaptured(x, y);
    }
  }
}

namespace {

bool StripeIsValid(const cMap& map, int x, int y, int n, int c) {
  const bool valid = x >= 0 && x < map.GetWidth() && y >= 0 && y < map.GetHeight() && n > 0 &&
                     std::int64_t{y} + n - 1 < map.GetHeight() && IsCountryNumber(c);
  if (!valid) {
    LogLine(Format(
        GetText("error:_hexstripe.changecontrollerandowner(%i_%i_%i_%i)_incorrect_parameter(s)!_ignoring_this..."),
        x, y, n, c));
  }
  return valid;
}

void ChangeStripe(cMap& map, int x, int y, int n, int c, bool originalOwnerToo) {
  if (!StripeIsValid(map, x, y, n, c)) return;
  for (int row = y; row < y + n; ++row) {
    sHex& hex = *map.GetHex(x, row);
    hex.SetController(c);
    hex.SetOwner(c);
    if (originalOwnerToo) hex.originalOwner = static_cast<std::uint8_t>(c);
    if (hex.unit && !OwnerIsFriendOf(*hex.unit, c)) SendToReserve(hex.unit);
  }
}

}  // namespace

void cMap::ChangeStripeControllerAndOwner(int x, int y, int n, int c) { ChangeStripe(*this, x, y, n, c, false); }

void cMap::ChangeStripeControllerOwnerAndOriginalOwner(int x, int y, int n, int c) {
  ChangeStripe(*this, x, y, n, c, true);
}

void cMap::TransferTerritory(int a, int b) {
  if (!IsCountryNumber(a) || !IsCountryNumber(b)) {
    LogFormat(u"ERROR: territory transfer from country %i to country %i: no such country, ignored", a, b);
    return;
  }
  for (sHex& hex : hexes_) {
    if (hex.controller != a) continue;
    hex.SetController(b);
    hex.SetOwner(b);
    hex.originalOwner = static_cast<std::uint8_t>(b);
    if (hex.unit && !OwnerIsFriendOf(*hex.unit, b)) SendToReserve(hex.unit);
  }
}

}  // namespace tr
