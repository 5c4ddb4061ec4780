#include "ai_fixture.h"

#include "foundation/format.h"
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

std::vector<std::u16string> LinesStartingWith(const LogCapture& log, std::u16string_view prefix) {
  std::vector<std::u16string> found;
  for (const std::u16string& line : log.lines()) {
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  }
  return found;
}

}  // namespace tr::test
