// Walks over the game's unit lists that ask the cache for a unit a few places
// before it is read. The lists' nodes and units lie scattered over the heap,
// and a plain walk waits for each unit in turn: on the large scenarios the
// scans of every unit of the game were bound by those waits.
#pragma once

namespace tr {

// Keeps a position a fixed distance ahead of a walk over a list of unit
// pointers; Next, once per unit walked, requests the first cache line of the
// unit there, which holds its place, carrier, type and owner.
template <typename List>
class cUnitPrefetcher {
 public:
  explicit cUnitPrefetcher(const List& units) : ahead_(units.begin()), end_(units.end()) {
    for (int i = 0; i < kDistance && ahead_ != end_; ++i) ++ahead_;
  }
  void Next() {
    if (ahead_ == end_) return;
    __builtin_prefetch(&(*ahead_)->type);
    ++ahead_;
  }

 private:
  static constexpr int kDistance = 8;
  typename List::const_iterator ahead_;
  typename List::const_iterator end_;
};

// Calls fn(unit) for every unit of the list, in order.
template <typename List, typename Fn>
void ForEachUnit(const List& units, Fn&& fn) {
  cUnitPrefetcher<List> prefetcher(units);
  for (const auto& unit : units) {
    prefetcher.Next();
    fn(*unit);
  }
}

}  // namespace tr
