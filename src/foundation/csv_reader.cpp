#include "foundation/csv_reader.h"

#include <algorithm>

#include "foundation/file_read.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/text_file.h"
#include "foundation/text.h"

namespace tr {

cCsvReader::cCsvReader(std::u16string_view fileName) { LoadFile(fileName); }

bool cCsvReader::LoadFile(std::u16string_view fileName) {
  data_.clear();
  fields.clear();
  position_ = 0;
  size_ = 0;
  loaded_ = false;
  recordCount_ = 0;

  sFileBytes file = ReadRegularFile(ResolveGamePath(fileName));
  if (!file.opened) return false;
  // A read cut short by an error keeps what arrived but is not a loaded file.
  data_ = std::move(file.bytes);
  DecodeMarkedText(data_, fileName);
  size_ = data_.size();
  loaded_ = file.complete;
  return loaded_;
}

std::size_t cCsvReader::ReadRecord(bool keepEmpty) {
  fields.clear();
  if (AtEnd()) return 0;

  std::string field;
  bool comment = false;
  for (;;) {
    const char c = data_[position_++];
    const bool exhausted = AtEnd();
    // An LF that follows a CR belongs to that CR's line end and is skipped;
    // a lone LF ends the record, so LF-only files read like CR LF files.
    const bool lf_after_cr = c == '\n' && position_ >= 2 && data_[position_ - 2] == '\r';
    const bool line_end = c == '\r' || (c == '\n' && !lf_after_cr);
    const bool separator = c == ';';

    if (!line_end && !separator && c != '\n' && !comment) {
      if (c == '#' && field.empty() && fields.empty()) comment = true;
      field += c;
    }
    if (field.empty() && !keepEmpty) {
      if (line_end || exhausted) break;
      continue;
    }
    if (!comment && (line_end || separator || exhausted)) {
      fields.push_back(CodePageToUtf16(field));
      field.clear();
    }
    if (line_end || exhausted) break;
  }
  // A line of blanks is an empty line, however many blanks a hand edit left on it.
  const bool blanks =
      std::all_of(fields.begin(), fields.end(), [](const std::u16string& f) { return TrimBlanks(f).empty(); });
  if (blanks && !keepEmpty) fields.clear();
  if (blanks && keepEmpty && fields.size() == 1) fields[0].clear();
  ++recordCount_;
  return fields.size();
}

}  // namespace tr
