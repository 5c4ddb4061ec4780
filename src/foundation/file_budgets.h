// The budget of each file of a saved game, and of a scenario's file of the
// same name, by the file's name: what the game writes for the largest game it
// plays, with room to spare, so that a load of every file at its budget at
// once stays within a modest memory and time. The writer of each file holds
// it to the same budget, so what the game writes it can read back.
#pragma once

#include <cstdint>
#include <string_view>

namespace tr {

// The budget of a file by its name (letter case aside), or `otherwise` for a
// file the table does not name.
std::uint64_t FileBudgetOf(std::string_view name, std::uint64_t otherwise);
std::uint64_t FileBudgetOf(std::u16string_view name, std::uint64_t otherwise);

// The most bytes a load reads of a file by its name: its budget, but for
// "reports.dat", which it reads in pieces, kReportsReadLimit.
std::uint64_t FileReadLimitOf(std::u16string_view name, std::uint64_t otherwise);

// The largest budget the table gives.
std::uint64_t LargestNamedFileBudget();

}  // namespace tr
