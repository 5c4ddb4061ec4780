// How deep the event XML parser will nest elements, found before it runs:
// the parser recurses once per level and would run out of stack on a file
// nested throughout.
#pragma once

#include <cstddef>
#include <string_view>

namespace tr {

// Where an element opens past `limit` levels, or npos. The text is read the
// way the parser reads it in UTF-8 mode, so that a quote, comment, CDATA
// section, declaration or unknown tag the parser reads one way is read the
// same way here, and no element it opens goes uncounted.
std::size_t FindTooDeepElement(std::string_view text, int limit);

}  // namespace tr
