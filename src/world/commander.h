// A commander of land, air or naval forces, kept in the game's commander
// vector and found by number. Its headquarters is the unit it is attached to.
#pragma once

#include <cstdint>
#include <string>

namespace tr {

class cUnit;

enum eCommanderState : std::int32_t {
  kCommanderNotAssigned = 0,
  kCommanderOnHisWay = 1,
  kCommanderAssigned = 2,
};

struct sCommander {
  std::int32_t id = 0;
  std::u16string name{};   // at most 99 units
  std::int32_t countryId = 0;
  std::int32_t type = 0;  // forces led: 0 land, 1 air, 2 naval (compared with a unit's category)
  std::int32_t skill = 0;
  std::int32_t experience = 0;
  std::int32_t state = kCommanderNotAssigned;
  cUnit* headquarters = nullptr;  // not owned; set by the unit readers
  // The line (counting from 1) of the row he was read from, for the load's messages.
  std::int32_t fileLine = 0;

  // The bonus factor at a hex distance from the headquarters (units/commander_link.cpp).
  float GetBonus(int distance) const;
};

}  // namespace tr
