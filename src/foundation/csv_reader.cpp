#include "foundation/csv_reader.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "foundation/console_log.h"
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
  fileName_ = fileName;
  position_ = 0;
  size_ = 0;
  loaded_ = false;
  recordCount_ = 0;
  lineEnds_ = {};

  sFileBytes file = ReadRegularFile(ResolveGamePath(fileName));
  if (!file.opened) return false;
  // A read cut short by an error keeps what arrived but is not a loaded file.
  data_ = std::move(file.bytes);
  DecodeMarkedText(data_, fileName);
  size_ = data_.size();
  loaded_ = file.complete;
  return loaded_;
}

void cCsvReader::SkipLineEndRun(std::size_t at, bool separators) {
  const std::size_t from = at;
  std::uint64_t lineEnds = 0;
  at = separators ? SkipSeparatorLines(data_, at, lineEnds) : SkipLineEnds(data_, at, lineEnds);
  recordCount_ += static_cast<std::uint32_t>(lineEnds);
  // The LF of the last line end was a record of its own.
  if (at >= data_.size() && at - from >= 2 && data_.ends_with("\r\n")) ++recordCount_;
  position_ = at;
}

void cCsvReader::SkipEmptyLines(bool separators) {
  std::size_t at = static_cast<std::size_t>(position_);
  if (at < data_.size() && data_[at] == '\n' && at >= 1 && data_[at - 1] == '\r') {
    if (at + 1 == data_.size()) return;  // a record of its own, ReadRecord's to give
    ++at;
  }
  position_ = at;
  if (at < data_.size() && (data_[at] == '\r' || data_[at] == '\n' || (separators && data_[at] == ';'))) {
    SkipLineEndRun(at, separators);
  }
}

std::size_t cCsvReader::ReadRow() {
  SkipEmptyLines(true);
  return ReadRecord(true);
}

std::size_t cCsvReader::ReadRecord(bool keepEmpty) {
  fields.clear();
  fieldCount_ = 0;
  if (AtEnd()) return 0;
  const std::string_view data(data_);
  std::size_t at = static_cast<std::size_t>(position_);
  // An LF that follows a CR belongs to that CR's line end and is skipped (a
  // CR always ends a record, so only a record's first byte can be one); a
  // lone LF ends the record, so LF-only files read like CR LF files.
  if (data[at] == '\n' && at >= 1 && data[at - 1] == '\r') ++at;
  // Empty lines hold no record; a file of millions of them is passed over
  // here at once, each still counted as a record as it always was.
  // Lines of nothing but separators hold no field either.
  if (!keepEmpty && at < data.size() && (data[at] == '\r' || data[at] == '\n' || data[at] == ';')) {
    SkipLineEndRun(at, true);
    if (AtEnd()) return 0;
    at = static_cast<std::size_t>(position_);
  }
  std::size_t count = 0;
  std::size_t keptBytes = 0;
  bool droppedText = false;
  bool cut = false;
  for (;;) {
    if (at >= data.size()) {
      // A record made of the skipped LF alone.
      if (keepEmpty && count == 0 && at > position_) fields.emplace_back();
      break;
    }
    std::size_t end = at;
    while (end < data.size() && data[end] != ';' && data[end] != '\r' && data[end] != '\n') ++end;
    const std::string_view field = data.substr(at, end - at);
    if (count == 0 && field.starts_with('#')) {
      // A comment runs to its line end, separators and all.
      const std::size_t lineEnd = lineEnds_.From(data, at);
      at = lineEnd == data.size() ? lineEnd : lineEnd + 1;
      fields.clear();
      count = 0;
      break;
    }
    if (!field.empty() || keepEmpty) {
      // No table of the game has nearly this many fields to a record; a
      // stranger's line of millions would otherwise take gigabytes.
      if (fields.size() < kMostFieldsKept) {
        // Nor a record of nearly this much text: a field of megabytes would
        // take twice its size again as UTF-16, and again in each copy.
        const std::string_view kept = field.substr(0, kMostRecordBytes - keptBytes);
        if (kept.size() < field.size()) {
          cut = true;
          droppedText = droppedText || !TrimBlanks(field.substr(kept.size())).empty();
        }
        keptBytes += kept.size();
        fields.push_back(CodePageToUtf16(kept));
      } else if (!TrimBlanks(field).empty()) {
        droppedText = true;
      }
      ++count;
    }
    if (end >= data.size()) {
      at = end;
      break;
    }
    at = end + 1;
    if (data[end] != ';' || at >= data.size()) break;
  }
  position_ = at;
  ++recordCount_;
  if (count > fields.size()) {
    LogFormat(u"WARNING: line %i of %s holds %s fields, more than the %i any table of the game has; those past them "
              u"are left out",
              static_cast<int>(recordCount_), fileName_, Utf8ToUtf16(std::to_string(count)),
              static_cast<int>(kMostFieldsKept));
  }
  if (cut) {
    LogFormat(u"WARNING: line %i of %s holds more than the %i bytes of text any table of the game has on a line; "
              u"the rest is left out",
              static_cast<int>(recordCount_), fileName_, static_cast<int>(kMostRecordBytes));
  }
  // A line of blanks is an empty line, however many blanks a hand edit left on it.
  const bool blanks = !droppedText && std::all_of(fields.begin(), fields.end(),
                                                  [](const std::u16string& f) { return TrimBlanks(f).empty(); });
  if (blanks && !keepEmpty) fields.clear();
  if (blanks && keepEmpty && fields.size() == 1) fields[0].clear();
  fieldCount_ = fields.empty() ? 0 : count;
  return fields.size();
}

}  // namespace tr
