// The settings the world model depends on: the configured screen size, which
// the map's view state follows, and the current units skin.
#pragma once

#include <string>

namespace tr {

int ScreenWidth();
int ScreenHeight();
std::u16string CurrentUnitsSkin();

}  // namespace tr
