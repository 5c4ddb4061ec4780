#include "foundation/format.h"

#include <algorithm>
#include <bit>
#include <charconv>
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

struct ConversionSpec {
  bool left = false, plus = false, space = false, zero = false, alt = false;
  int width = 0;
  int precision = -1;
  bool wide64 = false;   // ll / I64
  bool short16 = false;  // h
};

void Pad(std::u16string& out, std::u16string_view body, const ConversionSpec& cs, bool zero_pad_ok,
         std::size_t sign_len) {
  const std::size_t width = cs.width > 0 ? static_cast<std::size_t>(cs.width) : 0;
  if (body.size() >= width) {
    out += body;
    return;
  }
  const std::size_t fill = width - body.size();
  if (cs.left) {
    out += body;
    out.append(fill, u' ');
  } else if (cs.zero && zero_pad_ok) {
    out += body.substr(0, sign_len);
    out.append(fill, u'0');
    out += body.substr(sign_len);
  } else {
    out.append(fill, u' ');
    out += body;
  }
}

// Appends ASCII bytes widened to UTF-16.
void AppendAscii(std::u16string& out, const char* begin, const char* end) {
  const std::size_t at = out.size();
  out.resize(at + static_cast<std::size_t>(end - begin));
  for (char16_t* to = out.data() + at; begin != end; ++begin) *to++ = static_cast<unsigned char>(*begin);
}

// Pads a body that is ASCII, built in a fixed buffer: the per-line formats of
// the log would otherwise allocate twice for every number.
void PadAscii(std::u16string& out, const char* begin, const char* end, const ConversionSpec& cs, bool zero_pad_ok,
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
    out.append(fill, u' ');
  } else if (cs.zero && zero_pad_ok) {
    AppendAscii(out, begin, begin + sign_len);
    out.append(fill, u'0');
    AppendAscii(out, begin + sign_len, end);
  } else {
    out.append(fill, u' ');
    AppendAscii(out, begin, end);
  }
}

void FormatInteger(std::u16string& out, const ConversionSpec& cs, char conv, const FormatArg& arg) {
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
  const char* digits_end = std::to_chars(digits, digits + sizeof digits, magnitude, base).ptr;
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

constexpr int kMaxQuickDecimals = 9;
constexpr std::uint64_t kPowersOfTen[kMaxQuickDecimals + 1] = {1,      10,      100,      1000,      10000,
                                                              100000, 1000000, 10000000, 100000000, 1000000000};

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
  const unsigned __int128 scaled = static_cast<unsigned __int128>(mantissa) * kPowersOfTen[decimals];
  std::uint64_t units = 0;  // v x 10^decimals, rounded: below 10^18
  if (shift < 100) {        // scaled < 2^83, so any further shift leaves 0 below a half
    units = static_cast<std::uint64_t>(scaled >> shift);
    const unsigned __int128 rest = scaled & ((static_cast<unsigned __int128>(1) << shift) - 1);
    const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
    if (rest > half || (rest == half && (units & 1) != 0)) ++units;
  }
  if (bits >> 63) *out++ = '-';
  const std::uint64_t whole = units / kPowersOfTen[decimals];
  out = std::to_chars(out, out + 20, whole).ptr;
  if (decimals == 0) return out;
  *out++ = '.';
  std::uint64_t fraction = units % kPowersOfTen[decimals];
  for (int i = decimals - 1; i >= 0; --i) {
    out[i] = static_cast<char>('0' + fraction % 10);
    fraction /= 10;
  }
  return out + decimals;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

void FormatFloat(std::u16string& out, const ConversionSpec& cs, char conv, double v) {
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

}  // namespace

std::u16string FormatArgs(std::u16string_view format, std::initializer_list<FormatArg> args) {
  std::u16string out;
  out.reserve(format.size() + 16 * args.size());
  FormatArgsTo(out, format, args);
  return out;
}

void FormatArgsTo(std::u16string& out, std::u16string_view format, std::initializer_list<FormatArg> args) {
  const FormatArg* next = args.begin();
  const FormatArg* const end = args.end();
  bool faulty = false;
  auto take = [&]() -> const FormatArg* { return next != end ? next++ : nullptr; };

  const std::size_t n = format.size();
  const char16_t* const text = format.data();
  std::size_t i = 0;
  while (i < n) {
    if (text[i] != u'%') {
      // The plain text up to the next conversion, in one piece.
      std::size_t stop = i + 1;
      while (stop < n && text[stop] != u'%') ++stop;
      out.append(text + i, stop - i);
      i = stop;
      continue;
    }
    ++i;
    if (i >= n) {  // a lone '%' at the end prints nothing
      faulty = true;
      break;
    }
    if (format[i] == u'%') {
      out += u'%';
      ++i;
      continue;
    }
    ConversionSpec cs;
    for (; i < n; ++i) {
      const char16_t f = format[i];
      if (f == u'-') cs.left = true;
      else if (f == u'+') cs.plus = true;
      else if (f == u' ') cs.space = true;
      else if (f == u'0') cs.zero = true;
      else if (f == u'#') cs.alt = true;
      else break;
    }
    auto read_number = [&](int& target) {
      if (i < n && format[i] == u'*') {
        ++i;
        const FormatArg* a = take();
        if (a && (a->kind() == FormatArg::Kind::kSigned || a->kind() == FormatArg::Kind::kUnsigned)) {
          // Held to what written digits can give, so negating a width never overflows.
          target = static_cast<int>(std::clamp<std::int64_t>(a->AsSigned(), -kMaxWrittenNumber, kMaxWrittenNumber));
        } else {
          faulty = true;
        }
        return;
      }
      int v = 0;
      bool any = false;
      while (i < n && format[i] >= u'0' && format[i] <= u'9') {
        if (v < kMaxWrittenNumber) v = v * 10 + (format[i] - u'0');
        ++i;
        any = true;
      }
      if (any) target = v;
    };
    read_number(cs.width);
    if (cs.width < 0) {
      cs.left = true;
      cs.width = -cs.width;
    }
    if (i < n && format[i] == u'.') {
      ++i;
      cs.precision = 0;
      read_number(cs.precision);
      if (cs.precision < 0) cs.precision = -1;
    }
    cs.width = std::min(cs.width, 4096);
    cs.precision = std::min(cs.precision, 400);
    // Length modifiers: only the integer width matters; l, w and L change nothing.
    // Compared a character at a time: every conversion of every log line passes here.
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
      faulty = true;
      break;
    }
    const char16_t conv16 = format[i++];
    const char conv = conv16 < 0x80 ? static_cast<char>(conv16) : '?';
    const FormatArg* arg = nullptr;
    switch (conv) {
      case 'd': case 'i': case 'u': case 'x': case 'X': case 'o':
        arg = take();
        if (arg && (arg->kind() == FormatArg::Kind::kSigned || arg->kind() == FormatArg::Kind::kUnsigned)) {
          FormatInteger(out, cs, conv, *arg);
        } else {
          faulty = true;
        }
        break;
      case 'c': case 'C':
        arg = take();
        if (arg && (arg->kind() == FormatArg::Kind::kSigned || arg->kind() == FormatArg::Kind::kUnsigned)) {
          const char16_t ch = static_cast<char16_t>(arg->AsUnsigned());
          Pad(out, std::u16string_view(&ch, 1), cs, false, 0);
        } else {
          faulty = true;
        }
        break;
      case 'f': case 'F': case 'e': case 'E': case 'g': case 'G':
        arg = take();
        if (arg && arg->kind() == FormatArg::Kind::kFloat) {
          FormatFloat(out, cs, conv, arg->AsFloat());
        } else {
          faulty = true;
        }
        break;
      case 's': case 'S': {
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
        // %n, %p and unknown conversions print nothing; %n never writes.
        faulty = true;
        break;
    }
  }
  if (faulty) ReportOnce(format);
}

}  // namespace tr
