// The keys of the shipped English string source, for tests that check every
// text a screen shows has an English text.
#pragma once

#include <set>
#include <string>
#include <string_view>

namespace tr::test {

std::set<std::string> EnglishTextKeys();
// The shipped English text of the key, for a test that measures it; empty when there is none.
std::u16string EnglishText(std::string_view key);

}  // namespace tr::test
