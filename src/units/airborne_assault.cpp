// Paratroops dropped on a hex within their owner's airborne range. The air
// superiority over the target sets how active the enemy's aircraft are, and
// that sets what the drop costs.
#include <algorithm>
#include <cmath>
#include <string_view>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "units/jednostka_ladowa.h"
#include "world/gra.h"
#include "world/hex_distance.h"
#include "world/presentation.h"
#include "world/tech_levels.h"

namespace tr {
namespace {

constexpr int kAirborneRangeBase = 5;
constexpr std::uint32_t kFlagDropFar = 4;
constexpr std::uint32_t kFlagDropNear = 16;

cCountry* ActingCountry(const cJednostkaLadowa& unit) {
  cCountry* current = gGame->playerControl.currentCountry;
  return current ? current : unit.GetOwnerCountry();
}

struct sAirSituation {
  std::string_view key;
  int modifier;
};

sAirSituation AirSituation(float ratio) {
  if (ratio < 1.0f / 3.0f) return {"enemy_has_total_air_superiority_over_target_hex", 2};
  if (ratio < 0.5f) return {"enemy_has_an_air_superiority_over_target_hex", 1};
  if (ratio < 2.0f) return {"neither_side_has_an_air_superiority_over_target_hex", 0};
  if (ratio < 3.0f) return {"you_have_an_air_superiority_over_target_hex", -1};
  return {"you_have_total_air_superiority_over_target_hex", -2};
}

std::string_view ActivityKey(int activity) {
  static constexpr std::string_view kKeys[] = {"none", "very_low", "low", "medium", "high", "very_high"};
  return kKeys[std::clamp(activity, 1, 6) - 1];
}

std::string_view LossKey(int loss) {
  if (loss == 0) return "none";
  if (loss < 33) return "light";
  if (loss < 66) return "medium";
  return "high";
}

// The unit lands on (x, y) and takes the hex from an enemy holding it.
void Land(cJednostkaLadowa& unit, int x, int y) {
  cMap& map = *gGame->map;
  if (map.IsInside(unit.x, unit.y) && map.GetHex(unit.x, unit.y)->unit == &unit) {
    map.GetHex(unit.x, unit.y)->unit = nullptr;
  }
  sHex& hex = *map.GetHex(x, y);
  hex.unit = &unit;
  unit.x = x;
  unit.y = y;
  if (unit.owner > 0 && hex.controller != 0 && gGame->relations.IsAtWar(hex.controller, unit.owner)) {
    hex.SetController(unit.owner);
  }
  unit.AddActionPoints(-1);
}

}  // namespace

void cJednostkaLadowa::MarkAirborneDropHexes() {
  if (!gGame || !gGame->map) return;
  const sScenarioConstants& k = gGame->constants;
  const cCountry* owner = GetOwnerCountry();
  const int level = owner ? owner->GetTechLevel(kAircraftTech) : 0;
  const float factor = k.AirRangeFactor(TechTableLevel(level, 0));
  const int range = static_cast<int>(factor * static_cast<float>(k.AirRangeBase(kAirborneRangeBase)));
  cMap& map = *gGame->map;
  const cCountry* acting = ActingCountry(*this);
  if (!acting) return;
  const int x0 = std::max(0, x - range);
  const int x1 = std::min(map.GetWidth() - 1, x + range);
  const int y0 = std::max(0, y - range);
  const int y1 = std::min(map.GetHeight() - 1, y + range);
  const std::uint32_t flag = actionPoints <= 1 ? kFlagDropNear : kFlagDropFar;
  for (int hy = y0; hy <= y1; ++hy) {
    for (int hx = x0; hx <= x1; ++hx) {
      sHex& hex = *map.GetHex(hx, hy);
      if (hex.CanBeEnteredBy(*acting) && HexDistance(x, y, hx, hy) <= range) hex.AddFlags(flag, -1);
    }
  }
}

void cJednostkaLadowa::AirborneAssault(int targetX, int targetY, std::u16string* text, int* landed) {
  if (!gGame || !gGame->map || !gGame->map->IsInside(targetX, targetY)) {
    LogFormat(u"Airborne assault of %s refused: hex (%i, %i) is not on the map", name, targetX, targetY);
    return;
  }
  // A hidden unit on the target would lose its place on the map.
  if (gGame->map->GetHex(targetX, targetY)->unit) {
    LogFormat(u"Airborne assault of %s refused: hex (%i, %i) is occupied", name, targetX, targetY);
    return;
  }
  std::u16string report;
  if (spotted) Presentation().PlaySoundEffect(u"data\\sound\\Paradrop.wav");
  const cCountry* acting = ActingCountry(*this);
  const float ratio = acting ? acting->GetAirSuperiorityRatio(targetX, targetY) : -1.0f;
  if (ratio == -1.0f) {
    report = GetText("enemy_has_no_air_forces_over_this_hexlanding_was_successful");
    Land(*this, targetX, targetY);
  } else {
    const sAirSituation situation = AirSituation(ratio);
    report = GetText(situation.key);
    const int activity = std::clamp(RandomRange(1, 6) + situation.modifier, 1, 6);
    report += GetText("enemy_air_activity:_");
    report += Format(u"%s ", GetText(ActivityKey(activity)));
    const int loss = gGame->constants.ParadropLossTable(activity);
    report += GetText("paratroops_losses:_");
    report += Format(u"%s ", GetText(LossKey(loss)));
    SetStrength(std::max(0, strength - loss));
    if (GetStrengthValue() < 0.1f) {
      report += GetText("airborne_unit_eliminated");
      if (landed) *landed = 0;
      if (text) *text = report;
      Kill();
      return;
    }
    if (landed) *landed = 1;
    report += GetText("troops_have_landed");
    Land(*this, targetX, targetY);
  }
  if (text) *text = report;
  RevealUnitsAround(0);
}

}  // namespace tr
