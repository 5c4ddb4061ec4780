#include "foundation/format.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
#include <cstdint>
#include <mutex>
#include <set>
#include <vector>

#include "foundation/log_sink.h"
#include "foundation/text.h"

namespace tr {
namespace {

// Widths and precisions beyond it are cut to the bounds below anyway.
constexpr std::int64_t kMaxWrittenNumber = 100000;

struct ConversionForm {
  bool left = false, plus = false, space = false, zero = false, alt = false;
  int width = 0;
  int precision = -1;
  bool wide64 = false;   // ll / I64
  bool short16 = false;  // h
};

// The text being formatted, written by pointer into a buffer the thread
// keeps: the log formats hundreds of thousands of lines an impulse, and every
// string append would check and grow the caller's string again.
class cOutput {
 public:
  explicit cOutput(std::vector<char16_t>& buffer) : buffer_(buffer) {
    if (buffer_.size() < 256) buffer_.resize(256);
    begin_ = pos_ = buffer_.data();
    limit_ = begin_ + buffer_.size();
  }
  // Makes room for n more units.
  char16_t* Room(std::size_t n) {
    if (static_cast<std::size_t>(limit_ - pos_) < n) {
      const std::size_t used = static_cast<std::size_t>(pos_ - begin_);
      buffer_.resize(std::max(2 * buffer_.size(), used + n));
      begin_ = buffer_.data();
      pos_ = begin_ + used;
      limit_ = begin_ + buffer_.size();
    }
    return pos_;
  }
  void Advance(char16_t* to) { pos_ = to; }
  void Append(const char16_t* text, std::size_t n) {
    char16_t* to = Room(n);
    std::copy_n(text, n, to);
    pos_ = to + n;
  }
  void Fill(std::size_t n, char16_t c) {
    char16_t* to = Room(n);
    pos_ = std::fill_n(to, n, c);
  }
  std::u16string_view Text() const { return {begin_, static_cast<std::size_t>(pos_ - begin_)}; }

 private:
  std::vector<char16_t>& buffer_;
  char16_t* begin_;
  char16_t* pos_;
  char16_t* limit_;
};

// The padding helpers are inlined: every conversion of every log line ends
// in one of them.
[[gnu::always_inline]] inline void Pad(cOutput& out, std::u16string_view body, const ConversionForm& cs, bool zero_pad_ok, std::size_t sign_len) {
  const std::size_t width = cs.width > 0 ? static_cast<std::size_t>(cs.width) : 0;
  if (body.size() >= width) {
    out.Append(body.data(), body.size());
    return;
  }
  const std::size_t fill = width - body.size();
  if (cs.left) {
    out.Append(body.data(), body.size());
    out.Fill(fill, u' ');
  } else if (cs.zero && zero_pad_ok) {
    out.Append(body.data(), sign_len);
    out.Fill(fill, u'0');
    out.Append(body.data() + sign_len, body.size() - sign_len);
  } else {
    out.Fill(fill, u' ');
    out.Append(body.data(), body.size());
  }
}

// Appends ASCII bytes widened to UTF-16.
[[gnu::always_inline]] inline void AppendAscii(cOutput& out, const char* begin, const char* end) {
  char16_t* to = out.Room(static_cast<std::size_t>(end - begin));
  for (; begin != end; ++begin) *to++ = static_cast<unsigned char>(*begin);
  out.Advance(to);
}

// Pads a body that is ASCII, built in a fixed buffer.
[[gnu::always_inline]] inline void PadAscii(cOutput& out, const char* begin, const char* end, const ConversionForm& cs, bool zero_pad_ok,
              std::size_t sign_len) {
  const std::size_t size = static_cast<std::size_t>(end - begin);
  const std::size_t width = cs.width > 0 ? static_cast<std::size_t>(cs.width) : 0;
  if (size >= width) {
    AppendAscii(out, begin, end);
    return;
  }
  const std::size_t fill = width - size;
  if (cs.left) {
    AppendAscii(out, begin, end);
    out.Fill(fill, u' ');
  } else if (cs.zero && zero_pad_ok) {
    AppendAscii(out, begin, begin + sign_len);
    out.Fill(fill, u'0');
    AppendAscii(out, begin + sign_len, end);
  } else {
    out.Fill(fill, u' ');
    AppendAscii(out, begin, end);
  }
}

constexpr int kMaxQuickDecimals = 9;
constexpr std::uint64_t kPowersOfTen[kMaxQuickDecimals + 1] = {1,      10,      100,      1000,      10000,
                                                              100000, 1000000, 10000000, 100000000, 1000000000};

// Writes v in decimal: the log's numbers are small, and the general
// conversion works out the length for any base first.
char* WriteDecimal(char* out, std::uint32_t v) {
  int digits = 1;
  while (digits < 10 && v >= kPowersOfTen[digits]) ++digits;
  for (int i = digits - 1; i > 0; --i) {
    out[i] = static_cast<char>('0' + v % 10);
    v /= 10;
  }
  out[0] = static_cast<char>('0' + v);
  return out + digits;
}

void FormatInteger(cOutput& out, const ConversionForm& cs, char conv, const FormatArg& arg) {
  bool negative = false;
  std::uint64_t magnitude;
  const bool is_signed = conv == 'd' || conv == 'i';
  if (is_signed) {
    std::int64_t v = arg.AsSigned();
    if (cs.short16) v = static_cast<std::int16_t>(v);
    else if (!cs.wide64) v = static_cast<std::int32_t>(v);
    negative = v < 0;
    magnitude = negative ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
  } else {
    std::uint64_t v = arg.AsUnsigned();
    if (cs.short16) v = static_cast<std::uint16_t>(v);
    else if (!cs.wide64) v = static_cast<std::uint32_t>(v);
    magnitude = v;
  }
  const int base = (conv == 'x' || conv == 'X') ? 16 : conv == 'o' ? 8 : 10;
  char digits[32];
  const char* digits_end = base == 10 && magnitude <= UINT32_MAX
                               ? WriteDecimal(digits, static_cast<std::uint32_t>(magnitude))
                               : std::to_chars(digits, digits + sizeof digits, magnitude, base).ptr;
  if (conv == 'X') {
    for (char* c = digits; c != digits_end; ++c) *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
  }
  // Prefix (at most a sign and "0x"), the zeros of the precision (at most
  // 400) and the digits.
  char body[4 + 400 + 32];
  char* to = body;
  if (negative) *to++ = '-';
  else if (is_signed && cs.plus) *to++ = '+';
  else if (is_signed && cs.space) *to++ = ' ';
  std::size_t digit_count = static_cast<std::size_t>(digits_end - digits);
  if (cs.precision == 0 && magnitude == 0) digit_count = 0;
  if (cs.alt && magnitude != 0) {
    if (conv == 'x') *to++ = '0', *to++ = 'x';
    else if (conv == 'X') *to++ = '0', *to++ = 'X';
    else if (conv == 'o' && (digit_count >= static_cast<std::size_t>(std::max(cs.precision, 0)) && digits[0] != '0')) {
      *to++ = '0';
    }
  }
  const std::size_t prefix_len = static_cast<std::size_t>(to - body);
  if (cs.precision >= 0 && digit_count < static_cast<std::size_t>(cs.precision)) {
    to = std::fill_n(to, static_cast<std::size_t>(cs.precision) - digit_count, '0');
  }
  to = std::copy(digits, digits + digit_count, to);
  PadAscii(out, body, to, cs, cs.precision < 0, prefix_len);
}

// Writes v with `decimals` digits after the point exactly as std::to_chars
// in fixed form does (the binary value rounded, a tie to the even digit), for
// the values the log prints by the hundred thousand: finite, below 1e9 in
// size, at most kMaxQuickDecimals decimals. Returns nullptr for any other.
char* QuickFixed(char* out, double v, int decimals) {
  if (decimals > kMaxQuickDecimals || !(v > -1e9 && v < 1e9)) return nullptr;
  const auto bits = std::bit_cast<std::uint64_t>(v);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased != 0) mantissa |= std::uint64_t{1} << 52;
  // v = mantissa x 2^shift exactly, and shift is below zero since |v| < 2^52.
  const int shift = 1075 - (biased == 0 ? 1 : biased);
  std::uint64_t units = 0;  // v x 10^decimals, rounded: below 10^18
  if (decimals <= 3) {
    // The log's usual case: mantissa x 10^3 < 2^63 fits one 64-bit product,
    // and any shift of 64 or more leaves 0 below a half.
    const std::uint64_t scaled = mantissa * kPowersOfTen[decimals];
    if (shift < 64) {
      units = scaled >> shift;
      const std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
      const std::uint64_t half = std::uint64_t{1} << (shift - 1);
      if (rest > half || (rest == half && (units & 1) != 0)) ++units;
    }
  } else {
    const unsigned __int128 scaled = static_cast<unsigned __int128>(mantissa) * kPowersOfTen[decimals];
    if (shift < 100) {  // scaled < 2^83, so any further shift leaves 0 below a half
      units = static_cast<std::uint64_t>(scaled >> shift);
      const unsigned __int128 rest = scaled & ((static_cast<unsigned __int128>(1) << shift) - 1);
      const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
      if (rest > half || (rest == half && (units & 1) != 0)) ++units;
    }
  }
  if (bits >> 63) *out++ = '-';
  // |v| < 10^9, so the whole part fits 32 bits; so does the fraction.
  std::uint32_t whole, fraction;
  if (units <= UINT32_MAX) {  // the usual case, and a 32-bit division is much quicker
    const auto small = static_cast<std::uint32_t>(units);
    const auto power = static_cast<std::uint32_t>(kPowersOfTen[decimals]);
    whole = small / power;
    fraction = small % power;
  } else {
    whole = static_cast<std::uint32_t>(units / kPowersOfTen[decimals]);
    fraction = static_cast<std::uint32_t>(units % kPowersOfTen[decimals]);
  }
  out = WriteDecimal(out, whole);
  if (decimals == 0) return out;
  *out++ = '.';
  for (int i = decimals - 1; i >= 0; --i) {
    out[i] = static_cast<char>('0' + fraction % 10);
    fraction /= 10;
  }
  return out + decimals;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

void FormatFloat(cOutput& out, const ConversionForm& cs, char conv, double v) {
  const int precision = cs.precision >= 0 ? cs.precision : 6;
  std::chars_format fmt = std::chars_format::fixed;
  const char lower = AsciiLower(conv);
  if (lower == 'e') fmt = std::chars_format::scientific;
  if (lower == 'g') fmt = std::chars_format::general;
  // One byte ahead for a sign, one behind for the '.' of the # flag.
  char buf[514];
  char* const first = buf + 1;
  char* begin = first;
  char* end = lower == 'f' ? QuickFixed(first, v, precision) : nullptr;
  if (!end) {
    auto res = std::to_chars(first, buf + sizeof buf - 1, v, fmt, precision == 0 && lower == 'g' ? 1 : precision);
    end = res.ptr;
    if (res.ec != std::errc()) {
      *first = '?';
      end = first + 1;
    }
  }
  if (cs.alt && precision == 0 && lower == 'f') *end++ = '.';
  if (conv == 'E' || conv == 'G' || conv == 'F') {
    for (char* c = begin; c != end; ++c) *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
  }
  std::size_t sign_len = 0;
  if (*begin == '-') {
    sign_len = 1;
  } else if (cs.plus) {
    *--begin = '+';
    sign_len = 1;
  } else if (cs.space) {
    *--begin = ' ';
    sign_len = 1;
  }
  const bool finite = v == v && v - v == 0;
  PadAscii(out, begin, end, cs, finite, sign_len);
}

void ReportOnce(std::u16string_view format) {
  static std::mutex mutex;
  static std::set<std::u16string> reported;
  {
    std::lock_guard<std::mutex> lock(mutex);
    if (reported.size() > 1000 || !reported.insert(std::u16string(format)).second) return;
  }
  LogToSink(u"Format: missing or mismatched argument in \"" + std::u16string(format) + u"\"");
}

// A format cut into its pieces once: the plain text before each conversion
// and the conversion as written. The game formats the same few hundred
// texts over and over, so the pieces are kept per thread (sFormatCache).
enum class ePieceKind : std::uint8_t {
  kText,      // plain text only
  kInteger,   // d i u x X o
  kChar,      // c C
  kFloat,     // f F e E g G
  kString,    // s S
  kUnknown,   // %n, %p and unknown conversions: nothing printed, no argument taken
  kCut,       // the format ends inside a conversion: nothing more is printed
};

struct sPiece {
  std::uint32_t textStart = 0;
  std::uint32_t textLength = 0;  // the plain text written before the conversion
  ePieceKind kind = ePieceKind::kText;
  char conv = 0;
  bool widthFromArg = false;      // '*' width
  bool precisionFromArg = false;  // '*' precision
  ConversionForm cs;              // flags, and width and precision as written
};

void ParseFormat(std::u16string_view format, std::vector<sPiece>& pieces) {
  pieces.clear();
  const std::size_t n = format.size();
  const char16_t* const text = format.data();
  std::size_t run = 0;  // where the current plain text started
  std::size_t i = 0;
  auto push = [&](std::size_t text_end, ePieceKind kind) -> sPiece& {
    sPiece& piece = pieces.emplace_back();
    piece.textStart = static_cast<std::uint32_t>(run);
    piece.textLength = static_cast<std::uint32_t>(text_end - run);
    piece.kind = kind;
    return piece;
  };
  while (i < n) {
    if (text[i] != u'%') {
      ++i;
      continue;
    }
    const std::size_t percent = i++;
    if (i >= n) {  // a lone '%' at the end prints nothing
      push(percent, ePieceKind::kCut);
      return;
    }
    if (text[i] == u'%') {
      // The text so far, then a new run from the second '%'.
      push(percent, ePieceKind::kText);
      run = i++;
      continue;
    }
    ConversionForm cs;
    for (; i < n; ++i) {
      const char16_t f = text[i];
      if (f == u'-') cs.left = true;
      else if (f == u'+') cs.plus = true;
      else if (f == u' ') cs.space = true;
      else if (f == u'0') cs.zero = true;
      else if (f == u'#') cs.alt = true;
      else break;
    }
    // A number as written, or '*' for one taken from the arguments.
    auto read_number = [&](int& target) -> bool {
      if (i < n && text[i] == u'*') {
        ++i;
        return true;
      }
      int v = 0;
      bool any = false;
      while (i < n && text[i] >= u'0' && text[i] <= u'9') {
        if (v < kMaxWrittenNumber) v = v * 10 + (text[i] - u'0');
        ++i;
        any = true;
      }
      if (any) target = v;
      return false;
    };
    const bool width_from_arg = read_number(cs.width);
    bool precision_from_arg = false;
    if (i < n && text[i] == u'.') {
      ++i;
      cs.precision = 0;
      precision_from_arg = read_number(cs.precision);
    }
    cs.width = std::min(cs.width, 4096);
    cs.precision = std::min(cs.precision, 400);
    // Length modifiers: only the integer width matters; l, w and L change nothing.
    const auto at = [&](std::size_t k) { return i + k < n ? text[i + k] : u'\0'; };
    while (i < n) {
      const char16_t c = text[i];
      if (c == u'I' && at(1) == u'6' && at(2) == u'4') cs.wide64 = true, i += 3;
      else if (c == u'I' && at(1) == u'3' && at(2) == u'2') i += 3;
      else if (c == u'l' && at(1) == u'l') cs.wide64 = true, i += 2;
      else if (c == u'h') cs.short16 = true, i += 1;
      else if (c == u'l' || c == u'L' || c == u'w' || c == u'j' || c == u'z' || c == u't') i += 1;
      else break;
    }
    if (i >= n) {
      push(percent, ePieceKind::kCut);
      return;
    }
    const char16_t conv16 = text[i++];
    const char conv = conv16 < 0x80 ? static_cast<char>(conv16) : '?';
    ePieceKind kind;
    switch (conv) {
      case 'd': case 'i': case 'u': case 'x': case 'X': case 'o': kind = ePieceKind::kInteger; break;
      case 'c': case 'C': kind = ePieceKind::kChar; break;
      case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': kind = ePieceKind::kFloat; break;
      case 's': case 'S': kind = ePieceKind::kString; break;
      default: kind = ePieceKind::kUnknown; break;
    }
    sPiece& piece = push(percent, kind);
    piece.conv = conv;
    piece.widthFromArg = width_from_arg;
    piece.precisionFromArg = precision_from_arg;
    piece.cs = cs;
    run = i;
  }
  if (run < n) push(n, ePieceKind::kText);
}

bool IsInteger(const FormatArg* arg) {
  return arg && (arg->kind() == FormatArg::Kind::kSigned || arg->kind() == FormatArg::Kind::kUnsigned);
}

// Writes the format's pieces with the arguments; returns false when an
// argument was missing or of another kind, or the format was faulty.
bool WritePieces(cOutput& out, const char16_t* text, const std::vector<sPiece>& pieces,
                 std::initializer_list<FormatArg> args) {
  const FormatArg* next = args.begin();
  const FormatArg* const end = args.end();
  bool faulty = false;
  auto take = [&]() -> const FormatArg* { return next != end ? next++ : nullptr; };
  ConversionForm starred;  // a form with a width or precision from the arguments
  for (const sPiece& piece : pieces) {
    out.Append(text + piece.textStart, piece.textLength);
    if (piece.kind == ePieceKind::kText) continue;
    if (piece.kind == ePieceKind::kCut) {
      faulty = true;
      break;
    }
    const ConversionForm* form = &piece.cs;
    if (piece.widthFromArg || piece.precisionFromArg) {
      starred = piece.cs;
      auto read_star = [&](int& target) {
        const FormatArg* a = take();
        if (IsInteger(a)) {
          // Held to what written digits can give, so negating a width never overflows.
          target = static_cast<int>(std::clamp<std::int64_t>(a->AsSigned(), -kMaxWrittenNumber, kMaxWrittenNumber));
        } else {
          faulty = true;
        }
      };
      if (piece.widthFromArg) read_star(starred.width);
      if (starred.width < 0) {
        starred.left = true;
        starred.width = -starred.width;
      }
      if (piece.precisionFromArg) {
        read_star(starred.precision);
        if (starred.precision < 0) starred.precision = -1;
      }
      starred.width = std::min(starred.width, 4096);
      starred.precision = std::min(starred.precision, 400);
      form = &starred;
    }
    const ConversionForm& cs = *form;
    const FormatArg* arg = nullptr;
    switch (piece.kind) {
      case ePieceKind::kInteger:
        arg = take();
        if (IsInteger(arg)) FormatInteger(out, cs, piece.conv, *arg);
        else faulty = true;
        break;
      case ePieceKind::kChar:
        arg = take();
        if (IsInteger(arg)) {
          const char16_t ch = static_cast<char16_t>(arg->AsUnsigned());
          Pad(out, std::u16string_view(&ch, 1), cs, false, 0);
        } else {
          faulty = true;
        }
        break;
      case ePieceKind::kFloat:
        arg = take();
        if (arg && arg->kind() == FormatArg::Kind::kFloat) FormatFloat(out, cs, piece.conv, arg->AsFloat());
        else faulty = true;
        break;
      case ePieceKind::kString: {
        arg = take();
        std::u16string narrow;
        std::u16string_view s;
        if (arg && arg->kind() == FormatArg::Kind::kString) {
          s = arg->AsString();
        } else if (arg && arg->kind() == FormatArg::Kind::kNarrowString) {
          narrow = Utf8ToUtf16(arg->AsNarrowString());
          s = narrow;
        } else {
          faulty = true;
          break;
        }
        if (cs.precision >= 0 && s.size() > static_cast<std::size_t>(cs.precision)) {
          s = s.substr(0, cs.precision);
        }
        Pad(out, s, cs, false, 0);
        break;
      }
      default:
        faulty = true;
        break;
    }
  }
  return !faulty;
}

// The thread's parsed formats, found by the text's address and length and
// used only when the kept copy of the text is the same, so a buffer that
// later holds another format is parsed again. Kept in a fixed table:
// collisions simply parse again.
struct sFormatCache {
  struct sEntry {
    std::u16string text;
    std::vector<sPiece> pieces;
  };
  static constexpr std::size_t kEntries = 512;
  sEntry entries[kEntries];
  std::vector<char16_t> output;

  sEntry& Find(std::u16string_view format) {
    const auto address = reinterpret_cast<std::uintptr_t>(format.data());
    const std::size_t slot = static_cast<std::size_t>(((address ^ format.size()) * 0x9E3779B97F4A7C15ull) >> 55);
    sEntry& entry = entries[slot];
    // An empty view may have no data at all, which memcmp must not be given.
    if (entry.text.size() != format.size() ||
        (!format.empty() && std::memcmp(entry.text.data(), format.data(), format.size() * sizeof(char16_t)) != 0)) {
      entry.text.assign(format);
      ParseFormat(format, entry.pieces);
    }
    return entry;
  }

  ~sFormatCache();
};

// Set when the thread's cache is gone (its thread-local objects are being
// destroyed): a line formatted after that parses its format on the spot.
thread_local bool tCacheGone = false;

sFormatCache::~sFormatCache() { tCacheGone = true; }

sFormatCache* ThreadCache() {
  if (tCacheGone) return nullptr;
  thread_local sFormatCache cache;
  return &cache;
}

}  // namespace

std::u16string FormatArgs(std::u16string_view format, std::initializer_list<FormatArg> args) {
  std::u16string out;
  FormatArgsTo(out, format, args);
  return out;
}

void FormatArgsTo(std::u16string& out, std::u16string_view format, std::initializer_list<FormatArg> args) {
  FormatArgsThen(
      format, args, [](std::u16string_view text, void* to) { static_cast<std::u16string*>(to)->append(text); }, &out);
}

void FormatArgsThen(std::u16string_view format, std::initializer_list<FormatArg> args,
                    void (*use)(std::u16string_view text, void* context), void* context) {
  if (sFormatCache* cache = ThreadCache()) {
    // The buffer is taken out while in use: a format reached from use (or
    // from the report of a faulty format) finds it empty and grows its own.
    std::vector<char16_t> buffer = std::move(cache->output);
    cOutput text(buffer);
    if (!WritePieces(text, format.data(), cache->Find(format).pieces, args)) ReportOnce(format);
    use(text.Text(), context);
    cache->output = std::move(buffer);
  } else {
    std::vector<sPiece> pieces;
    ParseFormat(format, pieces);
    std::vector<char16_t> buffer;
    cOutput text(buffer);
    if (!WritePieces(text, format.data(), pieces, args)) ReportOnce(format);
    use(text.Text(), context);
  }
}

}  // namespace tr
