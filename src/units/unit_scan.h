// Walks over the game's unit lists that ask the cache for a unit a few places
// before it is read. The lists' nodes and units lie scattered over the heap,
// and a plain walk waits for each node and unit in turn: on the large
// scenarios the scans of every unit of the game were bound by those waits.
#pragma once

#include <cstddef>
#include <iterator>
#include <vector>

namespace tr {

// Requests, once per unit walked, the cache lines of the unit a fixed distance
// ahead: its list entry and the first line of the unit, which holds its place,
// carrier, type and owner. A vector is indexed directly. In a linked list the
// entry ahead is known only by walking to it, one wait at a time, so the
// addresses the last walk of the same list met at each position are used: the
// lists change little between walks, and a stale address costs only a wasted
// request (a prefetch never faults and reads nothing).
template <typename List>
class cUnitPrefetcher {
 public:
  explicit cUnitPrefetcher(const List& units) : units_(units) {
    if constexpr (!kIndexed) {
      sHints& hints = Hints();
      if (hints.list != &units) hints.addresses.clear();
      hints.list = &units;
      hints.addresses.resize(units.size());
    }
  }
  // The walk is at `position`, on `entry`.
  void Visit(std::size_t position, const typename List::value_type& entry) {
    const std::size_t ahead = position + kDistance;
    if constexpr (kIndexed) {
      if (ahead < units_.size()) __builtin_prefetch(&units_[ahead]->type);
    } else {
      std::vector<sAddresses>& addresses = Hints().addresses;
      if (position >= addresses.size()) return;
      if (ahead < addresses.size()) {
        __builtin_prefetch(addresses[ahead].entry);
        __builtin_prefetch(addresses[ahead].unit);
      }
      addresses[position] = {&entry, &entry->type};
    }
  }

 private:
  static constexpr std::size_t kDistance = 24;
  static constexpr bool kIndexed = std::random_access_iterator<typename List::const_iterator>;
  struct sAddresses {
    const void* entry = nullptr;
    const void* unit = nullptr;
  };
  struct sHints {
    const void* list = nullptr;
    std::vector<sAddresses> addresses;
  };
  // One record per list type and thread: the computer plays on its own thread.
  static sHints& Hints() {
    static thread_local sHints hints;
    return hints;
  }
  const List& units_;
};

// Calls fn(unit) for every unit of the list, in order.
template <typename List, typename Fn>
void ForEachUnit(const List& units, Fn&& fn) {
  cUnitPrefetcher<List> prefetcher(units);
  std::size_t position = 0;
  for (const auto& unit : units) {
    prefetcher.Visit(position++, unit);
    fn(*unit);
  }
}

}  // namespace tr
