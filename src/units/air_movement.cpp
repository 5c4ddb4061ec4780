// Air units on the move: the hexes a unit may rebase to, the rebase itself
// for the player and the computer, and placing a unit from the reserve pool.
#include <algorithm>

#include "foundation/game_lock.h"
#include "foundation/settings.h"
#include "units/air_support.h"
#include "units/jednostka_lotnicza.h"
#include "world/gra.h"
#include "world/hex_distance.h"
#include "world/presentation.h"

namespace tr {

inline constexpr std::uint32_t kFlagPlacement = 64;
inline constexpr std::uint32_t kFlagMoveTarget = 128;

int cJednostkaLotnicza::ComputeMoveRange(int quiet) { return MarkMoveHexes(quiet == 0 ? 1 : 0); }

int cJednostkaLotnicza::MarkMoveHexes(int mark) {
  if (!gGame || !gGame->map) return 0;
  cMap& map = *gGame->map;
  const int r = GetMoveRange();
  const int x0 = std::max(x - r - 1, 0);
  const int x1 = std::min(x + r + 1, map.GetWidth() - 1);
  const int y0 = std::max(y - r - 1, 0);
  const int y1 = std::min(y + r + 1, map.GetHeight() - 1);
  if (mark) {
    for (sHex& hex : map.Hexes()) hex.AddFlags(kHexFlagShaded, -1);
  }
  // A unit that has acted this turn, or lacks the supply to fly, stays put.
  if (actionPoints != startingActionPoints) return 0;
  const sScenarioConstants& k = gGame->constants;
  const int needed = static_cast<int>(static_cast<float>(k.AirTypeSupplyPercent(type)) / 100.0f *
                                      static_cast<float>(k.FullSupplyLevel()));
  if (supply < needed) return 0;
  int count = 0;
  for (int hy = y0; hy <= y1; ++hy) {
    for (int hx = x0; hx <= x1; ++hx) {
      sHex& hex = *map.GetHex(hx, hy);
      if (!hex.IsLand() || hex.unit || HexDistance(x, y, hx, hy) > r) continue;
      if (!hex.IsControlledByFriend(owner)) continue;
      ++count;
      if (mark) {
        hex.RemoveFlags(kHexFlagShaded, false);
        hex.AddFlags(kFlagMoveTarget, -1);
      }
    }
  }
  return count;
}

namespace {

// Moves the unit's pointer between hexes without the checks of PlaceOnHex:
// the target was chosen among free hexes.
void LeaveHex(cJednostkaLotnicza& unit) {
  cMap& map = *gGame->map;
  if (!map.IsInside(unit.x, unit.y)) return;
  sHex* hex = map.GetHex(unit.x, unit.y);
  if (hex->unit == &unit) hex->unit = nullptr;
}

}  // namespace

void cJednostkaLotnicza::RebaseTo(int newX, int newY) {
  if (!gGame || !gGame->map || !gGame->map->IsInside(newX, newY)) return;
  PlayAirSound(u"PlaneFlying.wav");
  LeaveHex(*this);
  gGame->map->GetHex(newX, newY)->unit = this;
  x = newX;
  y = newY;
  actionPoints = 0;
}

void cJednostkaLotnicza::AiRebaseTo(int newX, int newY) {
  if (!gGame || !gGame->map || !gGame->map->IsInside(newX, newY)) return;
  // This runs on the worker while the screen draws the hexes and units, so
  // every change is made under the game lock and every wait outside it.
  const auto leave = [this] {
    GameLockGuard lock;
    LeaveHex(*this);
  };
  const bool shown = ShowsComputerMove(*this);
  if (!shown) {
    leave();
  } else {
    PlayAirSound(u"PlaneFlying.wav");
    Presentation().CenterCameraOn(x, y, true);
    WaitComputerDelay(kDelayAIMoveBefore);
    leave();
    WaitComputerDelay(kDelayAIMoveBetween);
    Presentation().CenterCameraOn(newX, newY, true);
    WaitComputerDelay(kDelayAIMoveBetween);
  }
  {
    GameLockGuard lock;
    gGame->map->GetHex(newX, newY)->unit = this;
  }
  if (shown) WaitComputerDelay(kDelayAIMoveAfter);
  GameLockGuard lock;
  x = newX;
  y = newY;
  actionPoints = 0;
}

int cJednostkaLotnicza::MarkPlacementHexes(int mark) {
  if (!gGame || !gGame->map) return 0;
  cMap& map = *gGame->map;
  const cCountry* placing = gGame->playerControl.currentCountry;
  if (!placing) return 0;
  const int country = placing->id;
  if (mark) map.ClearHexFlags(kFlagPlacement, true);
  const bool atWar = placing->IsAtWarWithAnyone();
  const int fullSupply = gGame->constants.FullSupplyLevel();
  const auto heldByCountry = [country](const sHex& hex) {
    return hex.controller == country && hex.owner == country;
  };
  int count = 0;
  const auto take = [&](sHex& hex) {
    ++count;
    if (mark) hex.AddFlags(kFlagPlacement, -1);
  };
  for (const auto& city : gGame->cities) {
    if (city->type == kCityResources || !map.IsInside(city->x, city->y)) continue;
    sHex& cityHex = *map.GetHex(city->x, city->y);
    if (!heldByCountry(cityHex)) continue;
    if (atWar) {
      const std::size_t i = static_cast<std::size_t>(country - 1);
      const int supplyInfo = i < city->supplyInfo.size() ? city->supplyInfo[i] : 0;
      const bool convoy = i < city->convoyInfo.size() && city->convoyInfo[i];
      if (2 * supplyInfo < fullSupply || convoy) continue;
    }
    if (!cityHex.unit) take(cityHex);
    for (int d = 0; d < kDirectionCount; ++d) {
      sHex* next = map.GetNeighbour(city->x, city->y, d);
      if (next && next->IsLand() && !next->unit && heldByCountry(*next)) take(*next);
    }
  }
  return count;
}

}  // namespace tr
