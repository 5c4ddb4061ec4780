// Every text table of a saved game is written through cTableWriter: the rows
// go to a temporary file beside the target, which replaces the target only
// once it is complete, so a failed save never leaves a half-written table nor
// spoils the good one. Failures are logged and reported to the caller.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "world/file_io.h"

namespace tr {

class cTableWriter {
 public:
  // kText: UTF-16 text stored in the 8-bit code page, each "\n" as CR LF.
  // kBinary: the code-page bytes as they are.
  enum class Mode { kText, kBinary };

  // Logs "Opening file for writing...", the path, then "File opened OK" or
  // "Error opening file for writing".
  explicit cTableWriter(std::u16string_view game_path, Mode mode = Mode::kText);

  bool ok() const { return file_ && file_->IsOpen(); }
  void Write(std::u16string_view text);
  void WriteBytes(std::string_view bytes);
  // Closes and renames the temporary over the target; false (logged) on
  // failure, or when the table would not fit its reader's budget.
  bool Commit();

 private:
  Mode mode_;
  std::u16string path_;
  std::unique_ptr<cReplacingFile> file_;
  std::string buffer_;
};

// A file the game saves is one its next load reads whole or refuses: one that
// would hold more than its reader's budget (the file's own, FileBudgetOf) is
// not written, and the save fails, naming it, so the save it would have
// replaced is kept. Logs the file and the sizes when it does not fit.
bool FitsLoadBudget(std::u16string_view path, std::uint64_t bytes, std::uint64_t budget = kTextFileBudget);

// A name as a table row can hold it: no ';', CR, LF or other control
// character (they would split the row on reload, or are refused there), never empty (an empty field would shift the columns), and,
// in the first column, no leading '#' (the row would read as a comment).
std::u16string SanitizeFieldText(std::u16string_view text, bool first_column = false);

// A row format whose "%f" columns are written as "%s", for the decimals a save
// writes exactly (SavedDecimalText); the reader keeps the "%f" format.
std::u16string ExactDecimalRow(std::u16string_view rowFormat);

// Names are kept to the 99 units their records always held.
inline constexpr std::size_t kMaxNameLength = 99;
std::u16string CutName(std::u16string_view text, std::size_t max_length = kMaxNameLength);

}  // namespace tr
