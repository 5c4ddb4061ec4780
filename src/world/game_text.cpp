#include "world/game_text.h"

#include "foundation/text.h"

namespace tr {

std::u16string GameText(std::string_view key) { return AsciiToUtf16(key); }

}  // namespace tr
