#include "foundation/file_budgets.h"

#include <algorithm>
#include <array>

#include "foundation/file_read.h"
#include "foundation/unit_caps.h"

namespace tr {
namespace {

constexpr std::uint64_t kKiB = 1024;

// The largest game: the large generated scenario at the largest size the
// map's budget lets it grow to (nine times: 270,000 hexes, 18,000 land,
// 1,350 air and 2,700 naval units, 30 countries and 300 cities), whose save
// loads in 52 MiB, with all 255 countries a hex can name and twice the
// cities. Each budget below holds that game's file, from the bytes a row
// takes in the large scenario's save, with room to spare (names of 99
// letters, larger numbers); its save's file is given where it is larger.
//
// The files that list units hold every unit a game may hold
// (foundation/unit_caps.h), each row at the widest its writer writes: a
// whole number of 11 characters ("-2147483648"), a name of 99 letters, a
// decimal of 47 ("%f" of the largest float), each with its ';', and a line
// end; past the rows, their header, column and section lines.
constexpr std::uint64_t RowWidth(std::uint64_t wholes, std::uint64_t names, std::uint64_t decimals) {
  return 1 + wholes * 12 + names * 100 + decimals * 48;
}
constexpr std::uint64_t kTableHead = 4 * kKiB;
// Every land unit at sea rides a transport of its own.
constexpr std::uint64_t kMostAllShips = kMostShips + kMostLandUnits;
constexpr std::uint64_t kMostAllUnits = kMostLandUnits + kMostAirUnits + kMostAllShips;

struct sNamedBudget {
  std::string_view name;
  std::uint64_t budget;
};
constexpr std::array kBudgets{
    // 680 bytes a country; 255 countries: 173 KB.
    sNamedBudget{"ai_data.csv", 512 * kKiB},
    // Fronts of every country over every node of a diagram of 600 cities
    // (612 KB), each node's counts, and invasions waiting.
    sNamedBudget{"ai_memory.csv", 1024 * kKiB},
    // 18 whole numbers and a name a unit.
    sNamedBudget{"air_units.csv", kTableHead + kMostAirUnits * RowWidth(18, 1, 0)},
    // A line of two whole numbers for each unit spotted, up to every unit of
    // the game, and a line for each of 255 countries.
    sNamedBudget{"airrecon_units.csv", kTableHead + kMostAllUnits * RowWidth(2, 0, 0) + 255 * RowWidth(2, 0, 0)},
    // UTF-16: the attacks of a turn.
    sNamedBudget{"airship_attacks.csv", 256 * kKiB},
    // A line of two numbers for each automatic event: 45,000 events of the
    // longest numbers, far more than a scenario's event files hold.
    sNamedBudget{"auto_events.csv", 1024 * kKiB},
    // 36 bytes a city; 600 cities of 99-letter names: 84 KB.
    sNamedBudget{"cities.csv", 256 * kKiB},
    // A cell a country in a row a city: 600 x 255 cells of a few digits.
    sNamedBudget{"cities_convoy_info.csv", 1024 * kKiB},
    sNamedBudget{"cities_supply_info.csv", 1024 * kKiB},
    // 2,000 commanders of 120 bytes.
    sNamedBudget{"commanders.csv", 256 * kKiB},
    // 18 bytes a convoy; a convoy for each pair of 2,400 ports' routes.
    sNamedBudget{"convoys.csv", 128 * kKiB},
    // 292 bytes a country; 255 countries: 74 KB.
    sNamedBudget{"countries.csv", 256 * kKiB},
    // A line of up to 20 bytes for each of the game's 40,000 flags: 800 KB.
    sNamedBudget{"flags.txt", 1024 * kKiB},
    // 10 whole numbers and a name a fleet; a fleet holds a ship at least.
    sNamedBudget{"fleets.csv", kTableHead + kMostAllShips * RowWidth(10, 1, 0)},
    // 31 whole numbers, a name and a decimal a unit.
    sNamedBudget{"land_units.csv", kTableHead + kMostLandUnits * RowWidth(31, 1, 1)},
    // 287 bytes a country; 255 countries: 73 KB.
    sNamedBudget{"losses.csv", 256 * kKiB},
    sNamedBudget{"map.qel", kMapFileBudget},
    // 13 whole numbers and a name a ship.
    sNamedBudget{"naval_units.csv", kTableHead + kMostAllShips * RowWidth(13, 1, 0)},
    // A cell for each pair of 255 countries: 167 KB.
    sNamedBudget{"relations.csv", 256 * kKiB},
    sNamedBudget{"reports.dat", kReportsFileBudget},
    // 57 bytes a node; 2,000 nodes: 114 KB.
    sNamedBudget{"sea_nodes.csv", 256 * kKiB},
    // 580 bytes a country; 255 countries of twice the cities: 300 KB.
    sNamedBudget{"topography.csv", 512 * kKiB},
    // Names of each unit type for each of 255 countries.
    sNamedBudget{"unit_names.csv", 512 * kKiB},
    // A line of a kind ("Naval") and three whole numbers a unit, a land
    // unit's line of whether it moved, and the sea nodes' lines (2,000 nodes).
    sNamedBudget{"unit_state.csv", kMostAllUnits * (RowWidth(3, 0, 0) + 7) + kMostLandUnits * (RowWidth(1, 0, 0) + 7) +
                                       1024 * kKiB},
    // A save's keys, or a scenario's with its descriptions.
    sNamedBudget{"Info.ini", 64 * kKiB},
    // A line of 50 bytes for each file of a save.
    sNamedBudget{"file_digests.csv", 64 * kKiB},
    // A scenario's own tables: the cities diagram (20 bytes a node of 600
    // cities), the sea edges (2,000 nodes' edges), the constants (17 KB in
    // every scenario), the eye candies and the list of event files.
    sNamedBudget{"cities_diagram.csv", 256 * kKiB},
    sNamedBudget{"sea_edges.csv", 256 * kKiB},
    sNamedBudget{"consts.csv", 256 * kKiB},
    sNamedBudget{"eyecandies.csv", 256 * kKiB},
    sNamedBudget{"event_files.txt", 64 * kKiB},
};

template <typename Char>
bool SameName(std::string_view known, std::basic_string_view<Char> name) {
  if (known.size() != name.size()) return false;
  for (std::size_t i = 0; i < known.size(); ++i) {
    const auto lower = [](auto c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    if (lower(static_cast<char32_t>(known[i])) != lower(static_cast<char32_t>(name[i]))) return false;
  }
  return true;
}

template <typename Char>
std::uint64_t BudgetOf(std::basic_string_view<Char> name, std::uint64_t otherwise) {
  for (const sNamedBudget& named : kBudgets) {
    if (SameName(named.name, name)) return named.budget;
  }
  return otherwise;
}

}  // namespace

std::uint64_t FileBudgetOf(std::string_view name, std::uint64_t otherwise) { return BudgetOf(name, otherwise); }
std::uint64_t FileBudgetOf(std::u16string_view name, std::uint64_t otherwise) { return BudgetOf(name, otherwise); }

std::uint64_t FileReadLimitOf(std::u16string_view name, std::uint64_t otherwise) {
  return SameName("reports.dat", name) ? kReportsReadLimit : BudgetOf(name, otherwise);
}

std::uint64_t LargestNamedFileBudget() {
  std::uint64_t largest = 0;
  for (const sNamedBudget& named : kBudgets) largest = std::max(largest, named.budget);
  return largest;
}

}  // namespace tr
