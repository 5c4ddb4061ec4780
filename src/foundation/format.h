// The one formatter for texts used as printf formats, with the wide-printf
// semantics the game's texts were written for: %s, %S, %ls and %lS all take a
// string. Arguments are typed, so a missing or mismatched argument prints
// nothing for its conversion (logged once per format) instead of reading memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

namespace tr {

class FormatArg {
 public:
  enum class Kind { kSigned, kUnsigned, kFloat, kString, kNarrowString };

  template <typename T>
    requires(std::is_integral_v<T> && std::is_signed_v<T> && !std::is_same_v<T, char>)
  FormatArg(T v) : kind_(Kind::kSigned), i_(v) {}
  template <typename T>
    requires(std::is_integral_v<T> && std::is_unsigned_v<T> && !std::is_same_v<T, bool>)
  FormatArg(T v) : kind_(Kind::kUnsigned), u_(v) {}
  template <typename T>
    requires std::is_enum_v<T>
  FormatArg(T v) : kind_(Kind::kSigned), i_(static_cast<std::int64_t>(v)) {}
  // A wrapped number (a field that notes its changes) prints as the number.
  template <typename T>
    requires std::is_arithmetic_v<typename T::FormatsAs>
  FormatArg(const T& v) : FormatArg(static_cast<typename T::FormatsAs>(v)) {}
  FormatArg(bool v) : kind_(Kind::kSigned), i_(v ? 1 : 0) {}
  FormatArg(char v) : kind_(Kind::kSigned), i_(static_cast<unsigned char>(v)) {}
  FormatArg(char16_t v) : kind_(Kind::kUnsigned), u_(v) {}
  FormatArg(double v) : kind_(Kind::kFloat), f_(v) {}
  FormatArg(float v) : kind_(Kind::kFloat), f_(v) {}
  FormatArg(std::u16string_view v) : kind_(Kind::kString), s_(v) {}
  FormatArg(const std::u16string& v) : kind_(Kind::kString), s_(v) {}
  FormatArg(const char16_t* v) : kind_(Kind::kString), s_(v ? v : u"") {}
  // Narrow strings (source file names, ASCII keys) are taken as UTF-8.
  FormatArg(std::string_view v) : kind_(Kind::kNarrowString), n_(v) {}
  FormatArg(const std::string& v) : kind_(Kind::kNarrowString), n_(v) {}
  FormatArg(const char* v) : kind_(Kind::kNarrowString), n_(v ? v : "") {}

  Kind kind() const { return kind_; }
  std::int64_t AsSigned() const { return kind_ == Kind::kSigned ? i_ : static_cast<std::int64_t>(u_); }
  std::uint64_t AsUnsigned() const { return kind_ == Kind::kUnsigned ? u_ : static_cast<std::uint64_t>(i_); }
  double AsFloat() const { return f_; }
  std::u16string_view AsString() const { return s_; }
  std::string_view AsNarrowString() const { return n_; }

 private:
  Kind kind_;
  union {
    std::int64_t i_;
    std::uint64_t u_;
    double f_;
  };
  std::u16string_view s_;
  std::string_view n_;
};

std::u16string FormatArgs(std::u16string_view format, std::initializer_list<FormatArg> args);
// Appends the formatted text to out.
void FormatArgsTo(std::u16string& out, std::u16string_view format, std::initializer_list<FormatArg> args);
// Hands the formatted text to use, from a buffer the thread keeps: a line
// that goes straight on (to the log) is never copied into a string.
void FormatArgsThen(std::u16string_view format, std::initializer_list<FormatArg> args,
                    void (*use)(std::u16string_view text, void* context), void* context);

// A literal's length is known without measuring it; an array holding a
// shorter text (a NUL before its last unit) is measured.
template <std::size_t N>
constexpr std::u16string_view FormatText(const char16_t (&format)[N]) {
  if constexpr (N >= 2) {
    if (format[N - 1] == u'\0' && format[N - 2] != u'\0') return std::u16string_view(format, N - 1);
  }
  return std::u16string_view(format);
}

template <typename... Args>
std::u16string Format(std::u16string_view format, const Args&... args) {
  return FormatArgs(format, {FormatArg(args)...});
}
template <std::size_t N, typename... Args>
std::u16string Format(const char16_t (&format)[N], const Args&... args) {
  return FormatArgs(FormatText(format), {FormatArg(args)...});
}

}  // namespace tr
