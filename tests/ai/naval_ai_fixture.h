// The computer at sea: a naval world of two allies at war with a third,
// every ship counted and spotted, no delays.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "ai/country_ai.h"
#include "ai/fleet_mission.h"
#include "foundation/format.h"
#include "foundation/settings.h"
#include "support/log_capture.h"
#include "support/naval_world.h"
#include "turn/convoy.h"
#include "turn/sea_graph.h"
#include "units/combat_result.h"
#include "units/jednostka_ladowa.h"
#include "world/headless_presentation.h"
#include "world/topography.h"

namespace tr::test {

// Countries 1 and 2 allies at war with 3; every ship counted by the
// estimates, every enemy ship spotted, no delay.
class NavalAi : public testing::Test {
 protected:
  NavalAi() : scoped_(screen) {
    savedDelays_ = gDelays;
    gDelays.fill(0.0f);
    savedFog_ = gFogOfWar;
    gFogOfWar = 0;
    savedFollow_ = game().playerControl.follow;
    sea.SetConstant(146, 1, 100);
    sea.SetConstant(147, 1, 100);
    SetShipValue(kBattleship, 5);
    SetShipValue(kCruiser, 5);
    SetShipValue(kCargoShip, 5);
    SetShipValue(kAmphibiousShip, 5);
    game().convoys.Reset(game().CountryCount());
    game().strategicMovement->Init(game().CountryCount());
  }
  ~NavalAi() override {
    gDelays = savedDelays_;
    gFogOfWar = savedFog_;
    game().playerControl.follow = savedFollow_;
  }

  cGame& game() { return sea.game(); }
  cCountry& country(int id) { return sea.world().country(id); }
  sHex& hex(int x, int y) { return sea.world().hex(x, y); }
  cCountryAI& Ai(int id) {
    game().playerControl.currentCountry = &country(id);
    cCountryAI& ai = CountryAiOf(game(), country(id));
    ai.country = &country(id);
    return ai;
  }
  // Both naval values of the type; a navy of level 0 counts 0.4 of them.
  void SetShipValue(int type, int value) {
    sea.SetConstant(74, type - kAircraftCarrier + 2, value);
    sea.SetConstant(75, type - kAircraftCarrier + 2, value);
  }
  cFleet* FleetWithShip(const cJednostkaMorska* ship) { return ship ? ship->fleet : nullptr; }
  int FleetCount(int owner) {
    return static_cast<int>(std::count_if(game().fleets.begin(), game().fleets.end(),
                                          [owner](const auto& f) { return f->countryId == owner; }));
  }
  // A land unit aboard the ship (the cargo list for type 44).
  cJednostkaLadowa& Load(cJednostkaMorska& ship, int owner) {
    auto unit = std::make_unique<cJednostkaLadowa>();
    unit->owner = owner;
    unit->x = unit->y = -1;
    unit->name = Format(u"Cargo%i", unit->id);
    unit->transporter = &ship;
    ship.carriedUnit = unit.get();
    auto& list = ship.type == kCargoShip ? game().aboardUnitsA : game().aboardUnitsB;
    list.push_back(std::move(unit));
    return *list.back();
  }

  NavalWorld sea;
  cHeadlessPresentation screen;
  LogCapture log;

 private:
  ScopedPresentation scoped_;
  std::array<float, kDelayCount> savedDelays_{};
  int savedFog_ = 0;
  std::uint8_t savedFollow_ = 0;
};

}  // namespace tr::test
