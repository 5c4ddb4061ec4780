#include "ai/air_scans.h"

#include "units/air_support.h"
#include "units/unit_list_changes.h"
#include "units/unit_scan.h"
#include "world/gra.h"

namespace tr {

std::vector<cJednostkaLotnicza*> cAirTargetsByType::OfType(int type) {
  std::vector<cJednostkaLotnicza*> targets;
  if (!gGame) return targets;
  if (!walked_ || changes_ != UnitListChangeCount()) {
    units_.clear();
    ForEachUnit(gGame->airUnits, [&](cJednostkaLotnicza& unit) { units_.push_back({&unit, unit.type, unit.owner}); });
    changes_ = UnitListChangeCount();
    walked_ = true;
  }
  for (const sEntry& entry : units_) {
    if (entry.type == type && AtWarWith(entry.owner)) targets.push_back(entry.unit);
  }
  return targets;
}

bool cAirTargetsByType::AtWarWith(int owner) {
  const int known = static_cast<int>(gGame->relations.count);
  if (owner < 1 || owner > known || owner_ < 1 || owner_ > known) return AtWar(owner, owner_);
  if (warChanges_ != gGame->relations.warChanges) {
    atWar_.clear();
    warChanges_ = gGame->relations.warChanges;
  }
  atWar_.resize(static_cast<std::size_t>(known) + 1, 0);
  std::uint8_t& answer = atWar_[static_cast<std::size_t>(owner)];
  if (answer == 0) answer = AtWar(owner, owner_) ? 2 : 1;
  return answer == 2;
}

}  // namespace tr
