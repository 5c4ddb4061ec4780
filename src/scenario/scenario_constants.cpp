#include "scenario/scenario_constants.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/file_read.h"
#include "foundation/game_date.h"
#include "foundation/log_bound.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/text_file.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"

namespace tr {
namespace {

using namespace consts_layout;

constexpr int kSegments = 10;
constexpr int kSupplyTables = 6;
constexpr std::size_t kMaxLineChars = 999;

struct sValueRange {
  double low;
  double high;
};

// Every value lies within kMaxConstantMagnitude; the lines below are held
// closer, since their rules multiply them with other constants and the
// products must stay within an int.
sValueRange RangeOfLine(int line) {
  switch (line) {
    case 48:  // the full supply level, which units take and the unit files read back within the levels
      return {0.0, consts_layout::kSupplyLevels - 1.0};
    case 52:  // the share of a unit's action points each supply level takes away, in percent
      return {0.0, 100.0};
    case 151:  // the factors of the air and fleet radii by aircraft technology level
      return {0.0, 100.0};
    case 68:  // the strategic move, sea transport and amphibious transport costs by unit type:
    case 69:  // a negative cost would pay for the move, and the refund of a landing would
    case 70:  // take more than was paid
      return {0.0, kMaxConstantMagnitude};
    default:
      return {-kMaxConstantMagnitude, kMaxConstantMagnitude};
  }
}

int TruncateToInt(double value) {
  if (!(value == value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

double Convert(std::string_view token, SlotKind kind) {
  switch (kind) {
    case SlotKind::kInt:
      return ParseLeadingInt(token);
    case SlotKind::kFloat:
      return ParseLeadingFloat(token);
    case SlotKind::kDouble:
      return ParseLeadingDouble(token);
    case SlotKind::kIntReadAsFloat:
      return TruncateToInt(ParseLeadingFloat(token));
  }
  return 0.0;
}

// The file's lines as a text-mode reader with a 1000-unit buffer sees them:
// CR LF and lone CR end lines like LF, and a longer line comes in pieces.
std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string current;
  auto finish = [&](bool with_break) {
    if (with_break) current.push_back('\n');
    for (std::size_t pos = 0; pos < current.size(); pos += kMaxLineChars) {
      std::string piece = current.substr(pos, kMaxLineChars);
      // The break that merely ends a line cut into pieces is not a line of its own.
      if (pos > 0 && piece == "\n") break;
      lines.push_back(std::move(piece));
    }
    current.clear();
  };
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r') {
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      finish(true);
    } else if (c == '\n') {
      finish(true);
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) finish(false);
  return lines;
}

}  // namespace

sScenarioConstants::sScenarioConstants() { ResetForLoading(); }

void sScenarioConstants::SetSlot(int slot, double value) {
  if (slot < 0 || slot >= kSlotCount) return;
  slots_[static_cast<std::size_t>(slot)] = value;
}

float sScenarioConstants::F(int slot) const { return ClampToFloat(Slot(slot)); }

int sScenarioConstants::SlotOf(int line, int field) {
  for (const LineRun& run : RunsOfLine(line)) {
    if (field < run.first_field) continue;
    if (field > run.last_field && !run.open) continue;
    const int slot = run.slot + field - run.first_field;
    return slot < kSlotCount ? slot : -1;
  }
  return -1;
}

int sScenarioConstants::Int(int line, int field) const {
  const int slot = SlotOf(line, field);
  return slot < 0 ? 0 : I(slot);
}

float sScenarioConstants::Float(int line, int field) const {
  const int slot = SlotOf(line, field);
  return slot < 0 ? 0.0f : F(slot);
}

double sScenarioConstants::Double(int line, int field) const {
  const int slot = SlotOf(line, field);
  return slot < 0 ? 0.0 : Slot(slot);
}

void sScenarioConstants::ResetForLoading() {
  slots_.fill(0.0);
  for (int k = 0; k < kSegments; ++k) {
    SetSlot(kSupplySegmentBounds + k, 50);
    // Line 54, the bombed percent, defaults to 100 in every segment.
    SetSlot(kSupplySegmentValues + 3 * kSegments + k, 100);
  }
  ship_hit_points_max_ = 1;
  supply_segments_ = kSegments;
}

void sScenarioConstants::StoreLine(int line, std::string_view text,
                                   const std::function<void(int field, double value)>& out_of_range) {
  const sValueRange range = RangeOfLine(line);
  const std::vector<std::string_view> tokens = SplitTokens(text);
  const int count = static_cast<int>(tokens.size());
  for (const LineRun& run : RunsOfLine(line)) {
    const int last = run.open ? count : std::min(run.last_field, count);
    for (int field = run.first_field; field <= last; ++field) {
      const int slot = run.slot + field - run.first_field;
      if (slot >= kSlotCount) break;
      double value = Convert(tokens[static_cast<std::size_t>(field - 1)], run.kind);
      if (!(value >= range.low && value <= range.high)) {
        // NaN is held at the top, as any value too large to read.
        const double held = value < range.low ? range.low : range.high;
        if (out_of_range) out_of_range(field, value);
        value = held;
      }
      SetSlot(slot, value);
    }
  }
  // Segments past the last bound a scenario gives take no part; otherwise their
  // default bound would hand every level their (zero) values.
  if (line == 50 && count > 1) supply_segments_ = std::min(kSegments, count - 1);
}

void sScenarioConstants::FinishLoading() {
  int largest = 1;
  for (int type = 40; type <= 45; ++type) largest = std::max(largest, ShipHitPoints(type));
  ship_hit_points_max_ = largest;

  // Each level from 1 to 50 takes the values of the last segment whose bound reaches it.
  const int tables[kSupplyTables] = {kSupplyCombatPercent, kSupplyApReductionPercent, kSupplyAirModifier,
                                     kSupplyBombardedPercent, kSupplyReplacementValueA,
                                     kSupplyReplacementValueB};
  for (int t = 0; t < kSupplyTables; ++t) {
    for (int level = 1; level < kSupplyLevels; ++level) {
      if (t == 0 || t >= 4) SetSlot(tables[t] + level, 0);
    }
  }
  for (int k = 0; k < supply_segments_; ++k) {
    const int bound = I(kSupplySegmentBounds + k);
    for (int level = 1; level < kSupplyLevels && level <= bound; ++level) {
      for (int t = 0; t < kSupplyTables; ++t) {
        SetSlot(tables[t] + level, Slot(kSupplySegmentValues + t * kSegments + k));
      }
    }
  }
  // The combat percent falls from 100 by the steps of every level from the top down to it.
  int steps = 0;
  for (int level = kSupplyLevels - 1; level >= 1; --level) {
    steps += I(kSupplyCombatPercent + level);
    SetSlot(kSupplyCombatPercent + level, 100 - steps);
  }
  SetSlot(kSupplyApReductionPercent, 100);
  SetSlot(kSupplyAirModifier, -4);
  SetSlot(kSupplyBombardedPercent, 50);
}

void LoadScenarioConstants(sScenarioConstants& constants, std::u16string_view scenario_name) {
  const std::u16string path = ScenarioFilePath(scenario_name, u"consts.csv");
  LogLine(u"Otwieram plik ze sta\u010f\u017c\u02ddymi ze \u010f\u017c\u02ddcie\u010f\u017c\u02ddk\u010f\u017c\u02dd...");
  LogLine(path);
  const sFileBytes file = ReadRegularFile(ResolveGamePath(path));
  if (!file.opened) {
    LogLine(kOpenFailedLine);
    FatalExit(1);
  }
  LogLine(kOpenOkLine);
  if (!file.complete) LogReaderText("error_while_reading_consts.csv!");
  std::string bytes = file.bytes;
  DecodeMarkedText(bytes, path);

  constants.ResetForLoading();
  int line = 0;
  int fileLine = 0;
  for (const std::string& text : SplitLines(bytes)) {
    ++fileLine;
    if (text.empty() || text[0] == '#') continue;
    ++line;
    if (line > kLastDataLine) break;
    constants.StoreLine(line, text, [&](int field, double value) {
      const sValueRange range = RangeOfLine(line);
      const double held = value < range.low ? range.low : range.high;
      LogAboutFile(path,
                   u"WARNING: constant %i of data line %i (%i) out of range in %s at line %i (counting from 1); held "
                   u"at %i",
                   field, line, TruncateToInt(value), path, fileLine, TruncateToInt(held));
    });
  }
  constants.FinishLoading();
  std::array<int, 12> impulses{};
  for (int month = 1; month <= 12; ++month) impulses[month - 1] = constants.ImpulsesPerMonth(month);
  SetImpulsesPerMonth(impulses);
}

}  // namespace tr
