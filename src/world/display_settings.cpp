#include "world/display_settings.h"

namespace tr {

int ScreenWidth() { return 1024; }
int ScreenHeight() { return 768; }
std::u16string CurrentUnitsSkin() { return u"Counters"; }

}  // namespace tr
