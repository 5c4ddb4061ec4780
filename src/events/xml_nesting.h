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

// What a scan of the text found, read the same way: where an element opens
// past `depthLimit` levels, where the node past the first `mostNodes` starts,
// where the attribute past the first `mostAttributes` of one element starts,
// and the nodes met up to any of them (each element, attribute, text that is
// not all white space, comment, declaration and other tag is one); npos where
// none. The parser's tree takes some hundred bytes a node, whatever its text,
// and the parser compares each attribute of an element with every one before
// it, so one element of many attributes costs the square of their number.
struct sXmlScan {
  std::size_t tooDeep = std::string_view::npos;
  std::size_t tooMany = std::string_view::npos;
  std::size_t tooManyAttributes = std::string_view::npos;
  std::size_t nodes = 0;
};
sXmlScan ScanXmlTree(std::string_view text, int depthLimit, std::size_t mostNodes,
                     std::size_t mostAttributes = std::string_view::npos);

}  // namespace tr
