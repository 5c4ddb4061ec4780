#include "scenario/table_writer.h"

#include <algorithm>

#include "foundation/console_log.h"
#include "foundation/file_budgets.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "scenario/save_fault.h"

namespace tr {

cTableWriter::cTableWriter(std::u16string_view game_path, Mode mode)
    : mode_(mode), path_(game_path), file_(std::make_unique<cReplacingFile>(ResolveGamePath(game_path))) {
  LogLine(u"Opening file for writing...");
  LogLine(game_path);
  LogLine(file_->IsOpen() ? u"File opened OK" : u"Error opening file for writing");
}

void cTableWriter::Write(std::u16string_view text) {
  if (!ok()) return;
  const std::string bytes = Utf16ToCodePage(text);
  if (mode_ == Mode::kBinary) {
    buffer_ += bytes;
    return;
  }
  for (char c : bytes) {
    if (c == '\n') buffer_.push_back('\r');
    buffer_.push_back(c);
  }
}

void cTableWriter::WriteBytes(std::string_view bytes) {
  if (ok()) buffer_.append(bytes);
}

bool cTableWriter::Commit() {
  if (!ok() || !FitsLoadBudget(path_, buffer_.size())) return false;
  file_->Write(buffer_);
  if (!file_->Commit()) {
    LogLine(u"Error writing file " + path_);
    return false;
  }
  return true;
}

bool FitsLoadBudget(std::u16string_view path, std::uint64_t bytes, std::uint64_t budget) {
  const std::size_t name = path.find_last_of(u"\\/");
  const std::u16string_view fileName = name == std::u16string_view::npos ? path : path.substr(name + 1);
  budget = std::min(budget, FileBudgetOf(fileName, budget));
  if (bytes <= budget) return true;
  LogFormat(u"ERROR: %s would hold %lli bytes, more than the %lli its load reads; it is not written", path,
            static_cast<long long>(bytes), static_cast<long long>(budget));
  NoteSaveFault({eSaveFault::kTooLarge, std::u16string(fileName), {}});
  return false;
}

std::u16string SanitizeFieldText(std::u16string_view text, bool first_column) {
  if (text.empty()) return u"-";
  std::u16string result(text);
  for (char16_t& c : result) {
    if (c == u';') c = u',';
    // A control character is none a saved name may hold: its load refuses it.
    if (c < u' ' || c == u'\x7F') c = u' ';
  }
  if (first_column && result[0] == u'#') result[0] = u'_';
  return result;
}

std::u16string ExactDecimalRow(std::u16string_view rowFormat) {
  std::u16string row(rowFormat);
  for (std::size_t at = row.find(u"%f"); at != std::u16string::npos; at = row.find(u"%f", at + 2)) row[at + 1] = u's';
  return row;
}

std::u16string CutName(std::u16string_view text, std::size_t max_length) {
  return std::u16string(CutUnits(text, max_length));
}

}  // namespace tr
