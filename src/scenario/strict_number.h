// Whole numbers of the optional state files, where a field that is not a
// number makes its line unusable (instead of reading as 0).
#pragma once

#include <optional>
#include <string_view>

namespace tr {

// An optional sign and decimal digits, with blanks around them; nothing else.
std::optional<int> WholeNumber(std::string_view text);
std::optional<int> WholeNumber(std::u16string_view text);

}  // namespace tr
