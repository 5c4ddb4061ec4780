#include "ai_fixture.h"

#include "foundation/format.h"
#include "scenario/scenario_constants_layout.h"
#include "world/gra.h"

namespace tr::test {

void PhaseRecorder::PhaseBegun(std::string_view phase, float factor) {
  if (phase == "PlayTurn") return;
  std::string name(phase);
  if (factor != 0.0f) {
    char text[16];
    std::snprintf(text, sizeof text, "(%.2f)", factor);
    name += text;
  }
  phases.push_back(name);
}

AiWorld::AiWorld(int width, int height, int countries) : world_(width, height, countries) {
  savedDelays_ = gDelays;
  gDelays.fill(0.0f);
  savedFollow_ = game().playerControl.follow;
  for (sHex& each : game().map->Hexes()) each.controller = 1;
  // Level 1 land units of every type have a base value of 10.
  for (int type = 0; type < kLandTypeCount; ++type) {
    game().constants.SetSlot(sScenarioConstants::SlotOf(9, type + 2), 10.0);
  }
}

AiWorld::~AiWorld() {
  gDelays = savedDelays_;
  game().playerControl.follow = savedFollow_;
}

cCountryAI& AiWorld::AiOf(int id) {
  game().playerControl.currentCountry = &country(id);
  cCountryAI& ai = CountryAiOf(game(), country(id));
  ai.country = &country(id);
  return ai;
}

cJednostkaLadowa& AiWorld::AddLand(int owner, int x, int y, int strength, int type) {
  cJednostkaLadowa& placed = world_.PlaceLandUnit(owner, x, y);
  placed.SetType(type);
  placed.name = Format(u"Land%i", placed.id);
  placed.strength = strength;
  return placed;
}

cJednostkaLotnicza& AiWorld::AddAir(int owner, int x, int y, int type) {
  cJednostkaLotnicza& placed = world_.PlaceAirUnit(owner, x, y);
  placed.SetType(type);
  placed.name = Format(u"Air%i", placed.id);
  return placed;
}

cJednostkaMorska& AiWorld::AddShip(int owner, int type) {
  auto ship = std::make_unique<cJednostkaMorska>();
  ship->owner = owner;
  ship->SetType(type);
  ship->id = static_cast<int>(game().navalUnits.size()) + 1;
  ship->name = Format(u"Ship%i", ship->id);
  cJednostkaMorska& placed = *ship;
  game().navalUnits.push_back(std::move(ship));
  return placed;
}

cCity& AiWorld::AddCity(std::u16string name, int x, int y, int controller) {
  auto city = std::make_unique<cCity>();
  city->name = std::move(name);
  city->x = x;
  city->y = y;
  cCity& placed = *city;
  hex(x, y).city = &placed;
  hex(x, y).controller = static_cast<std::uint8_t>(controller);
  game().cities.push_back(std::move(city));
  return placed;
}

void AiWorld::SetPlainCombatConstants() {
  namespace L = consts_layout;
  sScenarioConstants& k = game().constants;
  for (int doctrine = 0; doctrine <= 5; ++doctrine) k.SetSlot(L::kAttackActionPointCost + doctrine, 2);
  for (int die = 1; die <= 6; ++die) {
    for (int column = 1; column <= 7; ++column) {
      k.SetSlot(L::kDefenderLossPercent + (die - 1) * 7 + column - 1, die * 10 + column);
      k.SetSlot(L::kAttackerLossFactor + (die - 1) * 7 + column - 1, 0.5);
    }
  }
  for (int n = 1; n <= 6; ++n) k.SetSlot(L::kDirectionsFactor + n - 1, 1.0);
  for (int t = 0; t <= 7; ++t) k.SetSlot(L::kTerrainDefenceFactor + t, 1.0);
  k.SetSlot(L::kCityDefenceFactor, 1.0);
  k.SetSlot(L::kAirUnitDefenceStrength, 2.0);
  k.SetSlot(L::kRetreatBase, 0);
  for (int level = 0; level < L::kSupplyLevels; ++level) k.SetSlot(L::kSupplyCombatPercent + level, 100);
}

std::vector<std::u16string> LinesStartingWith(const LogCapture& log, std::u16string_view prefix) {
  std::vector<std::u16string> found;
  for (const std::u16string& line : log.lines()) {
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  }
  return found;
}

}  // namespace tr::test
