// Texts of the string base used by the world model, looked up by key.
#pragma once

#include <string>
#include <string_view>

namespace tr {

std::u16string GameText(std::string_view key);

}  // namespace tr
