#include "platform/draw_record.h"

#include <algorithm>

namespace tr {

std::size_t DrawRecorder::Count(DrawRecord::Kind kind) const {
  return static_cast<std::size_t>(
      std::count_if(records_.begin(), records_.end(), [kind](const DrawRecord& r) { return r.kind == kind; }));
}

std::vector<const DrawRecord*> DrawRecorder::OfKind(DrawRecord::Kind kind) const {
  std::vector<const DrawRecord*> out;
  for (const DrawRecord& r : records_) {
    if (r.kind == kind) out.push_back(&r);
  }
  return out;
}

const DrawRecord* DrawRecorder::FindText(std::u16string_view text) const {
  for (const DrawRecord& r : records_) {
    if (r.kind == DrawRecord::Kind::kText && r.text == text) return &r;
  }
  return nullptr;
}

}  // namespace tr
