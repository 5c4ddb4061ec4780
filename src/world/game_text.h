// Older name of GetText, kept for the callers that use it.
#pragma once

#include "foundation/string_base.h"

namespace tr {

inline std::u16string GameText(std::string_view key) { return GetText(key); }

}  // namespace tr
