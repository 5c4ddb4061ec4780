#include "foundation/log_bound.h"

#include <cstring>

namespace tr {
namespace {
thread_local cLogBound* tBound = nullptr;
}  // namespace

cLogBound::cLogBound() : outer_(tBound) { tBound = this; }

cLogBound::~cLogBound() {
  tBound = outer_;
  for (const sCause& cause : causes_) {
    if (cause.lines <= kLinesPerCause) continue;
    LogFormat(u"WARNING: %lli more lines about %s like \"%s\" were left out of the log",
              static_cast<long long>(cause.lines - kLinesPerCause), cause.file, cause.cause);
  }
}

namespace {

// FNV-1a over the units of the texts in turn.
std::uint64_t Digest(std::uint64_t digest, std::u16string_view text) {
  for (const char16_t unit : text) digest = (digest ^ unit) * 0x100000001B3ULL;
  return digest;
}

// Compared as bytes, which the library does a word at a time.
bool SameUnits(const char16_t* a, std::u16string_view b) {
  // An empty view may hold no pointer, which memcmp must not be given.
  return b.empty() || std::memcmp(a, b.data(), b.size() * sizeof(char16_t)) == 0;
}

bool IsCause(const cLogBound::sCause& known, std::u16string_view file, std::u16string_view cause,
             std::u16string_view causeEnd) {
  return known.file.size() == file.size() && known.cause.size() == cause.size() + causeEnd.size() &&
         SameUnits(known.cause.data(), cause) && SameUnits(known.cause.data() + cause.size(), causeEnd) &&
         SameUnits(known.file.data(), file);
}

}  // namespace

bool AdmitLogLine(std::u16string_view file, std::u16string_view cause, std::u16string_view causeEnd) {
  if (tBound == nullptr) return true;
  std::vector<cLogBound::sCause>& causes = tBound->causes_;
  const auto admit = [&](std::size_t place) {
    tBound->last_ = place;
    return ++causes[place].lines <= kLinesPerCause;
  };
  if (tBound->last_ < causes.size() && IsCause(causes[tBound->last_], file, cause, causeEnd)) {
    return admit(tBound->last_);
  }
  const std::uint64_t digest = Digest(Digest(Digest(0xCBF29CE484222325ULL, file) * 0x100000001B3ULL, cause), causeEnd);
  const auto [from, to] = tBound->index_.equal_range(digest);
  for (auto it = from; it != to; ++it) {
    if (IsCause(causes[it->second], file, cause, causeEnd)) return admit(it->second);
  }
  std::u16string whole(cause);
  whole += causeEnd;
  tBound->index_.emplace(digest, causes.size());
  causes.push_back({std::u16string(file), std::move(whole), 0});
  return admit(causes.size() - 1);
}

}  // namespace tr
