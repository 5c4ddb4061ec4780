// Reads one ';'-separated data file record by record. The whole file is read
// into memory at once; each ReadRecord cuts the next record into UTF-16 fields.
// Records end at CR or at a lone LF (an LF right after a CR is skipped), ';'
// ends a field, a record whose first field starts with '#' is a comment, and
// empty fields are dropped unless the caller keeps them. A line holding
// nothing but blanks reads as an empty line. Field bytes are 8-bit code-page
// text and are not trimmed. A UTF-8 byte-order mark in front
// of the file is logged and skipped, so a first line "#..." stays a comment.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/text_file.h"

namespace tr {

class cCsvReader {
 public:
  cCsvReader() = default;
  // fileName is a game path ("data\\scenarios\\x\\cities.csv") or an absolute path.
  explicit cCsvReader(std::u16string_view fileName);

  // Forgets the previous file; false when the file could not be opened or read whole.
  bool LoadFile(std::u16string_view fileName);

  // Fills fields with the next record and returns their count: 0 for a comment,
  // for an empty line (or one of blanks and separators) without keepEmpty, and
  // once the data is exhausted. With keepEmpty a line of blanks reads as one
  // empty field, as an empty line does. Fields past kMostFieldsKept, and the
  // text of a record past kMostRecordBytes, are logged and left out.
  static constexpr std::size_t kMostFieldsKept = 4096;
  static constexpr std::size_t kMostRecordBytes = 1024 * 1024;
  std::size_t ReadRecord(bool keepEmpty = false);
  // The next record as ReadRecord(true) reads it, its empty fields kept, but
  // with the empty lines and those of nothing but ';' before it passed over
  // (SkipEmptyLines), as ReadRecord(false) passes them.
  std::size_t ReadRow();
  bool AtEnd() const { return position_ >= size_; }
  // Passes over the empty lines from here as ReadRecord(true) would read
  // them one by one, each counted as a record, at the speed of their bytes;
  // with `separators`, the lines of nothing but ';' that end too.
  void SkipEmptyLines(bool separators = false);

  bool IsLoaded() const { return loaded_; }
  std::uint64_t Size() const { return size_; }
  std::uint32_t RecordCount() const { return recordCount_; }
  // The fields the last record held, those left out included.
  std::size_t FieldCount() const { return fieldCount_; }

  // The fields of the last record read; callers read them directly.
  std::vector<std::u16string> fields;

 private:
  // Past the run of line ends from `at`, a line's start, each a record; with
  // `separators`, of lines of nothing but ';' too.
  void SkipLineEndRun(std::size_t at, bool separators = false);

  std::string data_;
  std::u16string fileName_;
  cLineEnds lineEnds_;
  std::uint64_t position_ = 0;
  std::uint64_t size_ = 0;
  bool loaded_ = false;
  std::uint32_t recordCount_ = 0;
  std::size_t fieldCount_ = 0;
};

}  // namespace tr
