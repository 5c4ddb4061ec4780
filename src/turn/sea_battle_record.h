// What a play-by-e-mail game keeps of each sea battle for its players: the
// game holds these records, one per battle fought to its damage report.
#pragma once

#include <cstdint>
#include <set>
#include <string>

namespace tr {

struct sPbemSeaBattleRecord {
  std::u16string firstSideShips;  // one name a line
  std::u16string enemySideShips;  // one name a line
  std::u16string openingEvents;   // the carrier and submarine strikes, one a line
  std::set<std::int32_t> players;  // the owners' play-by-e-mail player numbers
};

}  // namespace tr
