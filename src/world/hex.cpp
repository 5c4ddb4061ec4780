#include "world/hex.h"

#include "foundation/console_log.h"
#include "world/gra.h"
#include "world/map.h"
#include "world/panstwo.h"

namespace tr {
namespace {

// The map this hex belongs to, when it is a cell of the running game's map.
cMap* OwningMap(const sHex* hex) {
  if (!gGame || !gGame->map) return nullptr;
  cMap* map = gGame->map.get();
  if (!map->IsInside(hex->x, hex->y) || map->GetHex(hex->x, hex->y) != hex) return nullptr;
  return map;
}

cCountry* CountryOf(int id) { return gGame ? gGame->GetCountry(id) : nullptr; }

}  // namespace

void sHex::ZwrocWektorRzek(std::array<bool, 6>& sides) const {
  for (int d = 0; d < 6; ++d) sides[d] = HasRiver(d);
}

bool sHex::HasRiver(int side) const {
  if (side < 0 || side > 5 || rivers >= kRiverMouth) return false;
  return (rivers >> side) & 1;
}

bool sHex::IsFriendlyTo(const cCountry& country) const {
  // A land hex without a controller is nobody's friend; asking the alliance
  // test about country 0 would end the game over a data slip.
  if (!IsLand() || controller == 0) return false;
  return controller == country.id || country.IsAlly(controller) || country.IsAtWarWith(controller);
}

bool sHex::IsCoastalLand() const { return seaZone != 0 && IsLand(); }

bool sHex::IsControlledByFriend(int country) const {
  if (controller == country) return true;
  if (controller == 0) return false;
  const cCountry* c = GetControllerCountry();
  return c && c->IsAlly(country);
}

bool sHex::IsHeldByFriend(int country) const {
  if (controller == country && owner == country) return true;
  if (controller == 0 || owner == 0) return false;
  const cCountry* c = GetControllerCountry();
  const cCountry* o = GetOwnerCountry();
  return c && o && c->IsAlly(country) && o->IsAlly(country);
}

cCountry* sHex::GetControllerCountry() const { return CountryOf(controller); }
cCountry* sHex::GetOwnerCountry() const { return CountryOf(owner); }
cCountry* sHex::GetOriginalOwnerCountry() const { return CountryOf(originalOwner); }

namespace {

void UpdateBordersOn(const cMap& map, sHex& hex) {
  if (!hex.IsLand()) return;
  for (int side = 1; side <= 3; ++side) {
    const sHex* n = map.GetNeighbour(hex.x, hex.y, side);
    if (!n) continue;  // a side without a neighbour keeps its bits
    const std::uint16_t ownerBit = static_cast<std::uint16_t>(1u << (side - 1));
    const std::uint16_t controllerBit = static_cast<std::uint16_t>(1u << (side + 2));
    if (n->IsLand() && n->owner != hex.owner) {
      hex.borders |= ownerBit;
    } else {
      hex.borders &= static_cast<std::uint16_t>(~ownerBit);
    }
    if (n->IsLand() && n->controller != hex.controller) {
      hex.borders |= controllerBit;
    } else {
      hex.borders &= static_cast<std::uint16_t>(~controllerBit);
    }
  }
}

void RefreshAround(sHex* hex) {
  cMap* map = OwningMap(hex);
  if (!map) return;
  UpdateBordersOn(*map, *hex);
  for (int d : {0, 4, 5}) {
    if (sHex* n = map->GetNeighbour(hex->x, hex->y, d)) UpdateBordersOn(*map, *n);
  }
}

// Every caller passes a country of the game or 0; a number the byte cannot
// hold would give the hex to another country, so it is refused.
bool HoldsCountry(const sHex& hex, int id, std::u16string_view what) {
  if (id >= 0 && id <= kMaxCountryNumber) return true;
  LogFormat(u"ERROR: hex (%i, %i) cannot take country %i as its %s: a hex holds the countries 0 to %i; the hex is "
            u"left as it was",
            static_cast<int>(hex.x), static_cast<int>(hex.y), id, what, kMaxCountryNumber);
  return false;
}

}  // namespace

void sHex::SetOwner(int id) {
  if (!HoldsCountry(*this, id, u"owner")) return;
  owner = static_cast<std::uint8_t>(id);
  RefreshAround(this);
}

void sHex::SetController(int id) {
  if (!HoldsCountry(*this, id, u"controller")) return;
  controller = static_cast<std::uint8_t>(id);
  RefreshAround(this);
}

void sHex::UpdateBorders() {
  if (const cMap* map = OwningMap(this)) UpdateBordersOn(*map, *this);
}

void sHex::AddFlags(std::uint32_t bits, std::int32_t value) {
  if (flags == 0) {
    if (cMap* map = OwningMap(this)) map->AddFlaggedHex(this);
  }
  flags |= bits;
  flagValue = value;
}

void sHex::RemoveFlags(std::uint32_t bits, bool removeFromList) {
  if (removeFromList) {
    if (cMap* map = OwningMap(this)) map->RemoveFlaggedHex(this);
  }
  flags &= ~bits;
  flagValue = -1;
}

}  // namespace tr
