// The name of a play-by-e-mail game: its folder "data\pbem\<name>", its
// record in "data\pbem\repo.dat" and the key "Save/PBEMGameName" of every
// save of it. A name is taken only when all three hold it unchanged, so no
// two games can end up sharing a folder or a record.
#pragma once

#include <string_view>

namespace tr {

// Characters the name field drops: those no folder name may hold on the
// systems the turns travel between, ';' and '#' that break the lists and
// the INI file, and '%' that the save's working folders use.
inline constexpr std::u16string_view kPbemNameRefusedCharacters = u"\\/:*?<>;#&|%";

// Why the name cannot be a play-by-e-mail game's name (ready to follow the
// quoted name in a message); empty when it can.
std::u16string_view PbemGameNameFault(std::u16string_view name);

}  // namespace tr
