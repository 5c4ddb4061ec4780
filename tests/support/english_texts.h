// The keys of the shipped English string source, for tests that check every
// text a screen shows has an English text.
#pragma once

#include <set>
#include <string>

namespace tr::test {

std::set<std::string> EnglishTextKeys();

}  // namespace tr::test
