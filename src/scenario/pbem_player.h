// A player of a play-by-e-mail game, as "Info.ini" of the game's folder lists them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tr {

class cIniFile;

// The players a game may have; the countries file's player IDs go up to it.
inline constexpr int kMaxPbemPlayers = 8;

struct sPbemPlayer {
  std::int32_t number = 0;  // from 1
  std::u16string name;      // at most 99 units
  std::u16string email;     // at most 99 units
  friend bool operator==(const sPbemPlayer&, const sPbemPlayer&) = default;
};

// Appends a player, its texts cut to the 99 units the record holds.
void PushBackSetupRecord(std::vector<sPbemPlayer>& players, std::int32_t number, std::u16string_view name,
                         std::u16string_view email);

// The players "Info.ini" lists as Save/PBEMPlayer<n>Name and Email, from the
// first up to the first without both.
std::vector<sPbemPlayer> ReadPbemPlayers(cIniFile& info);

}  // namespace tr
