// A count of the changes to what the computer's unit lists are split from:
// the game's lists of units and each listed unit's owner, type and carrier.
// The computer builds its lists many times a turn, mostly with none of these
// changed since the last build; a build that finds the count where its last
// walk left it may take that walk's findings instead of visiting every unit
// again. The count can only miss a change made by a path that bypasses these
// types, so every change goes through them: the fields are `cListedField`,
// whose assignments count, and the lists are `cUnitList`, whose every
// iterator is a const one (an entry cannot be replaced or moved out in place)
// and whose every change counts.
#pragma once

#include <atomic>
#include <cstdint>
#include <iterator>
#include <list>
#include <memory>
#include <type_traits>
#include <utility>

namespace tr {

// The change count. The computer's thread and the main thread both change
// units, each under the game lock or before the other starts.
inline std::atomic<std::uint64_t> gUnitListChanges{0};

inline void NoteUnitListChange() { gUnitListChanges.fetch_add(1, std::memory_order_relaxed); }
inline std::uint64_t UnitListChangeCount() { return gUnitListChanges.load(std::memory_order_relaxed); }

// A unit field read as a plain value; writing another value counts a change.
template <typename T>
class cListedField {
 public:
  using FormatsAs = T;  // a number prints as itself
  constexpr cListedField() = default;
  constexpr cListedField(T value) : value_(value) {}  // NOLINT(google-explicit-constructor): reads as T
  // A new unit is a change only once it is listed.
  constexpr cListedField(const cListedField&) = default;
  cListedField& operator=(const cListedField& other) {
    Set(other.value_);
    return *this;
  }
  cListedField& operator=(T value) {
    Set(value);
    return *this;
  }
  constexpr operator T() const { return value_; }  // NOLINT(google-explicit-constructor)
  T operator->() const
    requires std::is_pointer_v<T>
  {
    return value_;
  }

 private:
  void Set(T value) {
    if (value_ == value) return;
    value_ = value;
    NoteUnitListChange();
  }
  T value_{};
};

// A list of owned units. It hands out const iterators only, so what it holds
// changes only through its own members, and each of those counts a change.
template <typename Unit>
class cUnitList {
  using Base = std::list<std::unique_ptr<Unit>>;

 public:
  using value_type = typename Base::value_type;
  using size_type = typename Base::size_type;
  using const_iterator = typename Base::const_iterator;
  using iterator = const_iterator;
  using const_reverse_iterator = typename Base::const_reverse_iterator;
  using reverse_iterator = const_reverse_iterator;
  using reference = const value_type&;
  using const_reference = const value_type&;

  cUnitList() { NoteUnitListChange(); }
  cUnitList(const cUnitList&) = delete;
  cUnitList& operator=(const cUnitList&) = delete;
  ~cUnitList() { NoteUnitListChange(); }

  const_iterator begin() const { return units_.cbegin(); }
  const_iterator end() const { return units_.cend(); }
  const_iterator cbegin() const { return units_.cbegin(); }
  const_iterator cend() const { return units_.cend(); }
  const_reverse_iterator rbegin() const { return units_.crbegin(); }
  const_reverse_iterator rend() const { return units_.crend(); }
  size_type size() const { return units_.size(); }
  bool empty() const { return units_.empty(); }
  const value_type& front() const { return units_.front(); }
  const value_type& back() const { return units_.back(); }

  void push_back(value_type unit) {
    NoteUnitListChange();
    units_.push_back(std::move(unit));
  }
  template <typename... Args>
  const value_type& emplace_back(Args&&... args) {
    NoteUnitListChange();
    return units_.emplace_back(std::forward<Args>(args)...);
  }
  const_iterator insert(const_iterator where, value_type unit) {
    NoteUnitListChange();
    return units_.insert(where, std::move(unit));
  }
  const_iterator erase(const_iterator where) {
    NoteUnitListChange();
    return units_.erase(where);
  }
  const_iterator erase(const_iterator first, const_iterator last) {
    NoteUnitListChange();
    return units_.erase(first, last);
  }
  // Takes the unit out of the list: the entry goes, the unit is the caller's.
  value_type Take(const_iterator where) {
    NoteUnitListChange();
    const auto entry = units_.erase(where, where);  // the same entry, writable
    value_type unit = std::move(*entry);
    units_.erase(entry);
    return unit;
  }
  void clear() {
    NoteUnitListChange();
    units_.clear();
  }
  template <typename Pred>
  size_type remove_if(Pred pred) {
    NoteUnitListChange();
    return units_.remove_if(std::move(pred));
  }
  template <typename Less>
  void sort(Less less) {
    NoteUnitListChange();
    units_.sort(std::move(less));
  }

 private:
  Base units_;
};

// Moves the unit at `where` out of a list of owned units (a cUnitList or a
// vector) and drops its entry.
template <typename List, typename Iterator>
typename List::value_type TakeEntry(List& list, Iterator where) {
  if constexpr (requires { list.Take(where); }) {
    return list.Take(where);
  } else {
    typename List::value_type unit = std::move(*where);
    list.erase(where);
    return unit;
  }
}

}  // namespace tr
