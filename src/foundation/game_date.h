// The game calendar. A month has the number of impulses the scenario gives it
// and is taken as 30 days long; the impulses of a month spread evenly from day 1.
#pragma once

#include <array>
#include <string>

namespace tr {

// The impulses of January to December of the running game (the first twelve
// scenario constants). The game sets them when it loads its constants.
void SetImpulsesPerMonth(const std::array<int, 12>& impulses);
// The count of a month 1 to 12; a count below 1, or a month outside the
// year, counts as one impulse.
int ImpulsesInMonth(int month);

class cGameDate {
 public:
  int impulse = 1;  // within the month, from 1
  int month = 1;    // 1 to 12
  int year = 1939;

  // floor(30 i / n) - floor(30 / n) + 1 for impulse i of a month of n impulses.
  int GetDayOfMonth() const;
  bool IsBefore(int day, int month, int year) const;
  bool IsSameDay(int day, int month, int year) const;
  bool IsAfter(int day, int month, int year) const;
  // "1-September-1939", the month named by the string base.
  std::u16string Format() const;
};

}  // namespace tr
