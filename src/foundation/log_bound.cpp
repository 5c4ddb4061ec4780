#include "foundation/log_bound.h"

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

bool AdmitLogLine(std::u16string_view file, std::u16string_view cause) {
  if (tBound == nullptr) return true;
  std::u16string key(file);
  key += u'\0';
  key += cause;
  const auto [place, added] = tBound->index_.try_emplace(std::move(key), tBound->causes_.size());
  if (added) tBound->causes_.push_back({std::u16string(file), std::u16string(cause), 0});
  return ++tBound->causes_[place->second].lines <= kLinesPerCause;
}

}  // namespace tr
