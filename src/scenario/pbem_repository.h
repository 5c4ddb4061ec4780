// "data\pbem\repo.dat": for every play-by-e-mail game, the player whose turn
// has just ended. Records of 504 bytes lie back to back: the game name as
// UTF-16LE, NUL-terminated, in 500 bytes, then the player number as an
// unsigned 32-bit little-endian value. The game writes the file at each
// hand-over; the start of a saved play-by-e-mail game reads it back to
// refuse a turn this machine has played already.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tr {

inline constexpr std::size_t kPbemRepoRecordSize = 504;
inline constexpr std::size_t kPbemRepoNameUnits = 249;  // before the terminator
// The most the file may hold: records of 33,288 games. The game adds no
// record past it, and neither reads nor writes a larger file.
inline constexpr std::size_t kPbemRepoBudget = 33288 * kPbemRepoRecordSize;

// The record of a game (longer names are cut to 249 units).
std::string MakePbemRepoRecord(std::uint32_t playerNumber, std::u16string_view gameName);

// Overwrites the game's record in place, or adds it at the end of the file
// when the repository has none for the game; a missing repository is
// created. Nothing but the game's own record is ever overwritten. Returns
// why the record could not be written (logged too), for the player; empty
// when it was. The turn it notes is whole either way, so a repository that
// cannot be written (a folder, a file that may not be changed) ends nothing.
std::u16string UpdatePbemRepository(std::uint32_t playerNumber, std::u16string_view gameName);

// The player number the repository holds for the game; none when the
// repository or the game's record is missing.
std::optional<std::uint32_t> FindPbemRepoPlayer(std::u16string_view gameName);

}  // namespace tr
