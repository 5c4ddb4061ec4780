// Text files as every reader of the game takes them. The game's 8-bit texts
// are Windows-1252, but an editor may save a file as UTF-8 with a byte-order
// mark in front, and end lines with CR LF, a lone CR or a lone LF; readers
// see the same code-page text whichever way the file was saved.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace tr {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The length of the byte-order mark the text starts with: 3 or 0.
std::size_t ByteOrderMarkLength(std::string_view bytes);

// A text file read whole (ReadWholeFile) as code-page text (DecodeMarkedText).
std::optional<std::string> ReadTextFile(const std::filesystem::path& file);

// Bytes read from the file after a UTF-8 byte-order mark are UTF-8: the mark
// is logged, naming the file, and dropped, and the text is turned into the
// code page. Letters the code page cannot hold become '?', logged with the
// first line that has one. False, with the bytes untouched, without a mark.
bool DecodeMarkedText(std::string& bytes, std::u16string_view fileName);

// Where the lines of an 8-bit text end, asked line after line: the first CR
// or LF at or after a place (the text's size when none), the places asked
// never going back and the text always the same. Each search goes past the
// one before, so a text of LF line ends is not searched for a CR again at
// every line.
class cLineEnds {
 public:
  std::size_t From(std::string_view text, std::size_t at) {
    if (at >= text.size()) return text.size();
    if (text[at] == '\r' || text[at] == '\n') return at;
    if (cr_ == kUnknown || cr_ < at) cr_ = Find(text, '\r', at);
    if (lf_ == kUnknown || lf_ < at) lf_ = Find(text, '\n', at);
    return cr_ < lf_ ? cr_ : lf_;
  }

 private:
  static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);
  static std::size_t Find(std::string_view text, char c, std::size_t at) {
    const void* found = std::memchr(text.data() + at, c, text.size() - at);
    return found == nullptr ? text.size() : static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
  }
  std::size_t cr_ = kUnknown;
  std::size_t lf_ = kUnknown;
};

// Past the run of line ends (CR and LF bytes or units) that starts at `at`,
// adding the line ends it holds to `lineEnds` (CR LF is one): the empty lines
// of a text starting at `at`, passed over a word at a time in 8-bit text.
std::size_t SkipLineEnds(std::string_view text, std::size_t at, std::uint64_t& lineEnds);
std::size_t SkipLineEnds(std::u16string_view text, std::size_t at, std::uint64_t& lineEnds);
// Past the lines from `at`, a line's start, that hold nothing but ';' and
// end in a line end (records of no field), adding their line ends to
// `lineEnds`: the start of the first line that holds more, or of a last line
// without a line end, or the text's end.
std::size_t SkipSeparatorLines(std::string_view text, std::size_t at, std::uint64_t& lineEnds);
std::size_t SkipSeparatorLines(std::u16string_view text, std::size_t at, std::uint64_t& lineEnds);

// The text lines of a text, 8-bit or UTF-16, as views into it, cut one at a
// time as the reader walks them: a file of millions of empty lines costs no
// more memory than its bytes. CR LF, CR and LF all end a line; a text ending
// in a line end has no empty last line. The text must outlive the walk.
template <typename Char>
struct sTextLineOf {
  std::basic_string_view<Char> text;
  bool ended = false;  // whether a line end followed the line
  int number = 0;      // counting from 1
};
using sTextLine = sTextLineOf<char>;

// Which lines a walk passes over a run at a time, not giving them.
enum class eLinesPassed : std::uint8_t { kNone, kEmpty, kSeparatorsOnly };

// kSkip: the lines the walk passes over, the empty ones, or those of nothing
// but ';' too.
template <typename Char, bool kWithEnd, eLinesPassed kSkip = eLinesPassed::kNone>
class cTextLineWalk {
 public:
  using View = std::basic_string_view<Char>;

  class iterator {
   public:
    using value_type = std::conditional_t<kWithEnd, sTextLineOf<Char>, View>;
    using difference_type = std::ptrdiff_t;
    using reference = value_type;
    using pointer = void;
    using iterator_category = std::forward_iterator_tag;

    iterator() = default;
    iterator(View text, std::size_t start) : text_(text), start_(start) { Find(); }
    value_type operator*() const {
      const View line = text_.substr(start_, end_ - start_);
      if constexpr (kWithEnd) {
        return {line, end_ < text_.size(), static_cast<int>(number_)};
      } else {
        return line;
      }
    }
    iterator& operator++() {
      start_ = next_;
      Find();
      return *this;
    }
    iterator operator++(int) {
      iterator before = *this;
      ++*this;
      return before;
    }
    bool operator==(const iterator& other) const { return start_ == other.start_; }

   private:
    void Find() {
      if constexpr (kSkip == eLinesPassed::kSeparatorsOnly) {
        if (start_ < text_.size() &&
            (text_[start_] == Char(';') || text_[start_] == Char('\r') || text_[start_] == Char('\n'))) {
          start_ = SkipSeparatorLines(text_, start_, number_);
        }
      } else if constexpr (kSkip == eLinesPassed::kEmpty) {
        // Each line end of a run from a line's start ends an empty line.
        if (start_ < text_.size() && (text_[start_] == Char('\r') || text_[start_] == Char('\n'))) {
          start_ = SkipLineEnds(text_, start_, number_);
        }
      }
      if (start_ >= text_.size()) {
        start_ = end_ = next_ = text_.size();
        return;
      }
      ++number_;
      end_ = LineEnd(start_);
      next_ = end_ + 1;
      if (end_ < text_.size() && text_[end_] == Char('\r') && next_ < text_.size() && text_[next_] == Char('\n')) {
        ++next_;
      }
      if (end_ >= text_.size()) next_ = text_.size();
    }
    std::size_t LineEnd(std::size_t from) {
      if constexpr (sizeof(Char) == 1) {
        return ends_.From(text_, from);
      } else {
        while (from < text_.size() && text_[from] != Char('\r') && text_[from] != Char('\n')) ++from;
        return from;
      }
    }

    View text_;
    cLineEnds ends_;
    std::uint64_t number_ = 0;
    std::size_t start_ = 0;
    std::size_t end_ = 0;
    std::size_t next_ = 0;
  };

  explicit cTextLineWalk(View text) : text_(text) {}
  iterator begin() const { return iterator(text_, 0); }
  iterator end() const { return iterator(text_, text_.size()); }

 private:
  View text_;
};

// Each line with whether a line end followed it (only the last can lack one).
inline cTextLineWalk<char, true> SplitTextLines(std::string_view bytes) { return cTextLineWalk<char, true>(bytes); }

// The lines that are not empty, each with its number among all the lines:
// a text of millions of empty lines is walked at the speed of its bytes.
template <typename Char>
cTextLineWalk<Char, true, eLinesPassed::kEmpty> NonEmptyTextLines(std::basic_string_view<Char> text) {
  return cTextLineWalk<Char, true, eLinesPassed::kEmpty>(text);
}
inline cTextLineWalk<char, true, eLinesPassed::kEmpty> NonEmptyTextLines(std::string_view text) {
  return cTextLineWalk<char, true, eLinesPassed::kEmpty>(text);
}
// The lines that hold more than ';' separators (or lack a line end), each with its number.
template <typename Char>
cTextLineWalk<Char, true, eLinesPassed::kSeparatorsOnly> TextLinesWithFields(std::basic_string_view<Char> text) {
  return cTextLineWalk<Char, true, eLinesPassed::kSeparatorsOnly>(text);
}
inline cTextLineWalk<char, true, eLinesPassed::kSeparatorsOnly> TextLinesWithFields(std::string_view text) {
  return cTextLineWalk<char, true, eLinesPassed::kSeparatorsOnly>(text);
}

// The lines alone.
template <typename Char>
cTextLineWalk<Char, false> TextLineViews(std::basic_string_view<Char> text) {
  return cTextLineWalk<Char, false>(text);
}

}  // namespace tr
