// The end of impulse's absorption of cut-off territory: land that no chain of
// its controller's or allied hexes links to a city passes to the enemy whose
// connected territory borders it, unless a unit holds it or a friendly
// artificial harbour nearby keeps it supplied.
#include <vector>

#include "foundation/console_log.h"
#include "units/jednostka_ladowa.h"
#include "world/city.h"
#include "world/gra.h"
#include "world/hex_distance.h"
#include "world/hexes_beside.h"
#include "world/map.h"

namespace tr {

void AbsorbUnsuppliedHexes() {
  LogLine(u"Wchlaniam hexy bez zaopatrzenia");
  if (!gGame || !gGame->map) return;
  cMap& map = *gGame->map;
  const int width = map.GetWidth();
  const auto cell = [width](int x, int y) { return static_cast<std::size_t>(y) * width + x; };
  // The controller that reached each hex; 0 not reached.
  std::vector<std::int32_t> reach(static_cast<std::size_t>(width) * map.GetHeight(), 0);
  std::vector<sPoint> work;
  for (const auto& city : gGame->cities) {
    if (!map.IsInside(city->x, city->y)) continue;
    reach[cell(city->x, city->y)] = map.GetHex(city->x, city->y)->controller;
    work.push_back({city->x, city->y});
  }
  for (std::size_t i = 0; i < work.size(); ++i) {
    const int k = map.GetHex(work[i].x, work[i].y)->controller;
    const sHexesBeside beside = HexesBeside(map, work[i].x, work[i].y);
    for (const sHex* n : beside.hex) {
      if (!n || n->controller == 0 || reach[cell(n->x, n->y)] != 0) continue;
      if (n->controller != k) {
        const cCountry* owner = n->GetControllerCountry();
        if (!(k != 0 && owner && owner->IsAlly(k))) continue;
      }
      reach[cell(n->x, n->y)] = n->controller;
      work.push_back({n->x, n->y});
    }
  }

  // Cut-off land found in the map's row order; the entries below still go
  // column by column, the order the hexes change hands in.
  std::vector<std::uint8_t> cutOff(reach.size(), 0);
  bool anyCutOff = false;
  const std::vector<sHex>& hexes = map.Hexes();
  for (std::size_t i = 0; i < hexes.size() && i < cutOff.size(); ++i) {
    const sHex& hex = hexes[i];
    cutOff[i] = hex.IsLand() && hex.controller != 0 && reach[i] == 0;
    anyCutOff = anyCutOff || cutOff[i];
  }

  HexEntryList entries;
  for (int x = 0; x < width && anyCutOff; ++x) {
    for (int y = 0; y < map.GetHeight(); ++y) {
      if (!cutOff[cell(x, y)]) continue;
      const sHex& hex = *map.GetHex(x, y);
      for (int d = 0; d < kDirectionCount; ++d) {
        const sHex* n = map.GetNeighbour(x, y, d);
        if (!n || reach[cell(n->x, n->y)] == 0 || n->controller == 0) continue;
        if (!gGame->relations.IsAtWar(n->controller, hex.controller)) continue;
        PushBackHexEntry(entries, x, y, n->controller);
        break;
      }
    }
  }

  std::vector<const cJednostkaLadowa*> harbours;
  for (const auto& unit : gGame->landUnits) {
    if (unit->type == kMulberryType && map.IsInside(unit->x, unit->y)) harbours.push_back(unit.get());
  }
  const float spread = gGame->constants.MulberrySupplySpread();
  for (const sHexEntry& entry : entries) {
    sHex& hex = *map.GetHex(entry.x, entry.y);
    if (hex.unit) continue;
    const cCountry* controller = hex.GetControllerCountry();
    bool supplied = false;
    for (const cJednostkaLadowa* harbour : harbours) {
      const bool friendly = harbour->owner == hex.controller ||
                            (controller && harbour->owner >= 1 && controller->IsAlly(harbour->owner));
      if (friendly && static_cast<float>(HexDistance(entry.x, entry.y, harbour->x, harbour->y)) < spread) {
        supplied = true;
        break;
      }
    }
    if (!supplied) hex.SetController(entry.value);
  }
}

}  // namespace tr
