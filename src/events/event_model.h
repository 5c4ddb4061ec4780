// The records of a scripted event as they come from the event files: the
// event with its date window and texts, its condition tree of comparisons,
// and its options with their effects. Numbers an author did not give keep a
// not-set value, so "0" and "missing" stay apart.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tr {

class cGameDate;

// A number attribute that was not given (or could not be read).
inline constexpr double kParamNotSet = -2147483647.0;
// A date field or an element line that is missing (0x80000001).
inline constexpr std::int32_t kIntNotSet = -2147483647;
// Event numbers run 0..kMaxEventId; each indexes a bit of the checked record.
inline constexpr int kMaxEventId = 40000;

inline constexpr int kParamCount = 10;
inline constexpr int kParamStringCount = 4;

using EventParams = std::array<double, kParamCount>;

inline constexpr EventParams kNoParams{kParamNotSet, kParamNotSet, kParamNotSet, kParamNotSet, kParamNotSet,
                                       kParamNotSet, kParamNotSet, kParamNotSet, kParamNotSet, kParamNotSet};

inline bool IsParamSet(double value) { return value != kParamNotSet; }

// One side of a comparison: a constant or a method of the event language.
struct sEventOperand {
  std::int32_t recognised = 0;  // set by ValidateOperand
  std::int32_t line = kIntNotSet;
  std::u16string method;
  double constValue = kParamNotSet;
  EventParams params = kNoParams;
};

struct sExpression {
  sEventOperand left;
  sEventOperand right;
  std::int32_t operatorLine = kIntNotSet;
  std::u16string operatorText;
};

enum eGroupKind : std::int32_t {
  kGroupAnd = 0,
  kGroupOr = 1,
  kGroupUnread = 2,  // a child group before its element is read
};

struct sConditionGroup {
  std::vector<sExpression> expressions;
  std::vector<sConditionGroup> groups;
  std::int32_t kind = kGroupAnd;

  // An empty group is true. Expressions are looked at before child groups,
  // and the first that decides the result ends the evaluation. The records
  // are validated again on the way, which sets their recognised flags.
  bool Evaluate();

  // The listing of the group: child groups first, then the left operand's
  // method of each expression, parted by "AND" / "OR" lines indented by depth.
  std::u16string Dump() const;
  std::u16string Dump(std::u16string& indent) const;
};

struct sEffect {
  std::uint8_t recognised = 0;  // set by ValidateEffect
  std::int32_t line = kIntNotSet;
  std::u16string method;
  EventParams params = kNoParams;
  std::array<std::u16string, kParamStringCount> paramStrings;

  // Method(1, 2, "text")  #line: 7, and a line end.
  std::u16string Dump() const;
};

struct sEventOption {
  std::int32_t optionID = -1;
  std::int32_t chanceAI = -1;  // weight of the option for the computer's choice
  std::u16string description;
  std::u16string tooltip;
  std::vector<sEffect> effects;

  // Each effect in list order through ExecuteEffect.
  void ExecuteEffects() const;
  std::u16string Dump() const;
};

struct sEventDate {
  std::int32_t day = kIntNotSet;
  std::int32_t month = kIntNotSet;
  std::int32_t year = kIntNotSet;
};

// One scripted event. Its option number everywhere else is the 1-based
// position in options, not optionID.
class cEvent {
 public:
  std::int32_t eventID = 0;
  std::int32_t countryID = 0;
  std::int32_t visibleByPlayer = 0;
  std::int32_t oneTimeChecking = 0;
  std::int32_t enableInPbem = 1;
  sEventDate beginDate;
  sEventDate endDate;
  std::u16string title;
  std::u16string description;
  std::u16string image;  // file name of the event's picture
  sConditionGroup condition;
  std::vector<sEventOption> options;

  // Whether the date lies in the window of beginDate and endDate (both days
  // included); a missing date leaves that side open.
  bool IsDateInWindow(const cGameDate& date) const;
  // The option (from 1) drawn by the chanceAI weights, or -1 for none.
  int ChooseOptionForAI() const;
  // Runs the effects of the option (from 1) after emptying the engine's
  // message list; false, with nothing run, for a number naming no option.
  bool ExecuteOption(int option) const;
  // Copies the option's texts; a number naming no option leaves them as they are.
  void GetOptionTexts(int option, std::u16string& description, std::u16string& tooltip) const;
  // The event's listing for scenario authors.
  std::u16string Dump() const;
};

// What the event dialog does with the player's choice: the choice goes into
// the country's reports, then the option runs.
void RunPlayerEventChoice(const cEvent& event, int option);

}  // namespace tr
