// The unit record shared by every kind: names, type codes, owner, commander
// by number, and placing on a hex.
#include "units/unit.h"

#include "world/gra.h"

namespace tr {

int CategoryOfType(int type) {
  if ((type >= kInfantryDivision && type <= kAirborneDivision) || type == kMulberryType) return kCategoryLand;
  if (type >= kFighter && type <= kStrategicBomber) return kCategoryAir;
  if (type >= kAircraftCarrier && type <= kAmphibiousShip) return kCategoryNaval;
  return -1;
}

cUnit::~cUnit() = default;

bool cUnit::TryIntercept(cUnit*, sCombatResult*) { return false; }

int cUnit::ComputeCombatValue() { return 0; }

void cUnit::OnBombarded(sCombatResult*, cUnit*, sHex*) {}

void cUnit::Kill() {}

void cUnit::SetName(std::u16string_view text) {
  name = std::u16string(text.substr(0, 99));
}

void cUnit::SetType(int code) {
  type = code;
  const int kind = CategoryOfType(code);
  if (kind >= 0) category = kind;
}

cCountry* cUnit::GetOwnerCountry() const {
  if (!gGame || owner < 1 || owner > gGame->CountryCount()) return nullptr;
  return gGame->countries[owner - 1].get();
}

cCity* cUnit::GetHexGridEntry() const {
  return gGame ? gGame->playerControl.worldTopography.NearestCity(x, y) : nullptr;
}

sCommander* cUnit::GetCommander() const {
  return gGame ? gGame->FindCommanderById(commanderId) : nullptr;
}

void cUnit::SetCommander(const sCommander* commander) {
  commanderId = commander ? commander->id : -1;
}

sHex* cUnit::PlaceOnHex(int newX, int newY) {
  if (!gGame || !gGame->map) return nullptr;
  cMap& map = *gGame->map;
  // Negative coordinates are off the map as much as those past its end.
  if (!map.IsInside(newX, newY)) return nullptr;
  sHex* target = map.GetHex(newX, newY);
  if (target->unit) return nullptr;
  if (map.IsInside(x, y)) {
    sHex* old = map.GetHex(x, y);
    if (old->unit == this) old->unit = nullptr;
  }
  x = newX;
  y = newY;
  target->unit = this;
  return target;
}

}  // namespace tr
