// A small running game for the unit rules: a land map, three countries with
// constants set for the land values and commanders, and helpers that put
// units on the map.
#pragma once

#include <memory>

#include <gtest/gtest.h>

#include "foundation/settings.h"
#include "scenario/scenario_constants_layout.h"
#include "support/world_builder.h"

namespace tr::test {

class UnitWorld : public testing::Test {
 protected:
  UnitWorld() : world_(12, 12, 3) {
    cGame& g = game();
    auto set = [&](int slot, double value) { g.constants.SetSlot(slot, value); };
    set(consts_layout::kDoctrineCombatPercent, 10);
    for (int level = 0; level < consts_layout::kSupplyLevels; ++level) {
      set(consts_layout::kSupplyCombatPercent + level, 100);
      set(consts_layout::kSupplyApReductionPercent + level, 0);
    }
    for (int doctrine = 0; doctrine <= 5; ++doctrine) {
      for (int type = 0; type < 7; ++type) set(consts_layout::kLandActionPoints + doctrine * 7 + type, 4 + type);
    }
    for (int level = 1; level <= 5; ++level) {
      for (int type = 0; type < 7; ++type) set(consts_layout::kLandBaseValue + level * 7 + type, 10.0 * level + type);
    }
    set(consts_layout::kSupplyLossLimit, 4);
    set(consts_layout::kCommandRadius, 3);
    set(consts_layout::kCommandRangeConstant, 50);
    set(consts_layout::kCommanderSkillFactor, 20);
    set(consts_layout::kCommanderExperienceFactor, 10);
    set(consts_layout::kFullSupplyLevel, 10);
    set(consts_layout::kMulberryStrength, 7.9);
    set(consts_layout::kMulberryDuration, 6.7);
    set(consts_layout::kParadropInterval, 3);
    savedFog_ = gFogOfWar;
  }
  ~UnitWorld() override { gFogOfWar = savedFog_; }

  cGame& game() { return world_.game(); }
  cMap& map() { return world_.map(); }
  cCountry& country(int id) { return world_.country(id); }

  // A land unit of the owner on the hex (placed on the map when the hex is on it).
  cJednostkaLadowa& AddLand(int owner, int x, int y, int type = kInfantryDivision) {
    auto unit = std::make_unique<cJednostkaLadowa>();
    unit->owner = owner;
    unit->SetType(type);
    unit->x = x;
    unit->y = y;
    unit->strength = 100;
    if (map().IsInside(x, y)) map().GetHex(x, y)->unit = unit.get();
    game().landUnits.push_back(std::move(unit));
    return *game().landUnits.back();
  }

  cJednostkaLotnicza& AddAir(int owner, int x, int y) {
    auto unit = std::make_unique<cJednostkaLotnicza>();
    unit->owner = owner;
    unit->x = x;
    unit->y = y;
    if (map().IsInside(x, y)) map().GetHex(x, y)->unit = unit.get();
    game().airUnits.push_back(std::move(unit));
    return *game().airUnits.back();
  }

  sCommander& AddCommander(int id, int owner, int skill, int experience, int forces = kCategoryLand) {
    auto commander = std::make_unique<sCommander>();
    commander->id = id;
    commander->countryId = owner;
    commander->skill = skill;
    commander->experience = experience;
    commander->type = forces;
    game().commanders.push_back(std::move(commander));
    return *game().commanders.back();
  }

  void Attach(sCommander& commander, cUnit& headquarters) {
    headquarters.attachedCommander = &commander;
    commander.headquarters = &headquarters;
  }

 private:
  TestWorld world_;
  int savedFog_ = 0;
};

}  // namespace tr::test
