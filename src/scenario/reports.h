// Turn reports: dated texts addressed to one country (battles, bombardments,
// convoy losses, upkeep, research, diplomacy). The game keeps every report in
// one list in the order they were made; a saved game carries the list in
// "reports.dat".
#pragma once

#include <cstdint>
#include <list>
#include <string>
#include <string_view>

namespace tr {

struct sReport {
  std::int32_t type = 0;
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  std::int32_t turn = 0;
  std::int32_t country = 0;
  std::int32_t state = 1;
  std::u16string text;
  friend bool operator==(const sReport&, const sReport&) = default;
};

// When a report is made: the game date (day of the month) and the turn.
struct sReportStamp {
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  std::int32_t turn = 0;
};

class cReportList {
 public:
  // Appends a copy stamped with the running game's date and turn. The list
  // stays within the bytes a load reads (kReportsFileBudget): beyond them the
  // oldest reports are dropped, with a log line the first time.
  void Add(const sReport& report);
  void Add(sReport report, const sReportStamp& stamp);
  // A report of the type for one country, made now; nothing for a country
  // number below 1, which the rules pass for "nobody".
  void Add(std::int32_t type, std::int32_t country, std::u16string text);

  // Writes "<folder>\reports.dat"; false (logged) when it cannot be written.
  bool Save(std::u16string_view folder) const;
  // Reads "reports.dat" of a saved game of `countries` countries through the
  // path template into the emptied list. A file missing, unreadable, or not
  // as the game writes it (its tag, its count against the reports that
  // follow, each field within what the game writes there) refuses the load,
  // naming the file and the fault. A file of an earlier release past the
  // budget is read in pieces, keeping its newest reports within it.
  void Load(std::u16string_view path_template, std::int32_t countries);

  // Copies of the reports of one country and type, in list order.
  void Select(std::list<sReport>& result, std::int32_t country, std::int32_t type) const;

  const std::list<sReport>& Reports() const { return reports_; }
  void Clear();

  // The file's bytes, and their reading into the emptied list: the fault of
  // bytes the game would not write for a game of `countries` countries (the
  // list then emptied), or empty.
  std::string Serialize() const;
  std::u16string Deserialize(std::string_view bytes, std::int32_t countries);

 private:
  // Appends the report as it is, cut and with the oldest dropped to stay
  // within the budget; gives how many were dropped.
  int Keep(sReport report);

  std::list<sReport> reports_;
  std::uint64_t bytes_ = 5 + 4;  // the size of the list's file
  bool full_ = false;  // reports were dropped to make room since the list was emptied
};

// The date (day of the month) and turn of the running game; zeros without one.
sReportStamp CurrentReportStamp();

}  // namespace tr
