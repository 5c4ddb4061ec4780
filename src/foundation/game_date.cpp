#include "foundation/game_date.h"

#include <atomic>

#include "foundation/format.h"
#include "foundation/string_base.h"

namespace tr {
namespace {

// Read by both threads; written when a game loads its constants.
std::array<std::atomic<int>, 12> gImpulsesPerMonth = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

constexpr const char* kMonthKeys[12] = {"january", "february", "march",     "april",   "may",      "june",
                                        "july",    "august",   "september", "october", "november", "december"};

}  // namespace

void SetImpulsesPerMonth(const std::array<int, 12>& impulses) {
  for (std::size_t i = 0; i < impulses.size(); ++i) gImpulsesPerMonth[i].store(impulses[i]);
}

int ImpulsesInMonth(int month) {
  if (month < 1 || month > 12) return 1;
  const int n = gImpulsesPerMonth[static_cast<std::size_t>(month - 1)].load();
  // A month without impulses would divide by zero; it is read as one impulse.
  return n < 1 ? 1 : n;
}

int cGameDate::GetDayOfMonth() const {
  const int n = ImpulsesInMonth(month);
  return 30 * impulse / n - 30 / n + 1;
}

bool cGameDate::IsBefore(int day, int otherMonth, int otherYear) const {
  if (year != otherYear) return year < otherYear;
  if (month != otherMonth) return month < otherMonth;
  return GetDayOfMonth() < day;
}

bool cGameDate::IsSameDay(int day, int otherMonth, int otherYear) const {
  return year == otherYear && month == otherMonth && GetDayOfMonth() == day;
}

bool cGameDate::IsAfter(int day, int otherMonth, int otherYear) const {
  return !IsSameDay(day, otherMonth, otherYear) && !IsBefore(day, otherMonth, otherYear);
}

std::u16string cGameDate::Format() const {
  const std::u16string monthName =
      month >= 1 && month <= 12 ? GetText(kMonthKeys[month - 1]) : tr::Format(u"%i", month);
  return tr::Format(u"%lS-%lS-%lS", tr::Format(u"%i", GetDayOfMonth()), monthName, tr::Format(u"%i", year));
}

}  // namespace tr
