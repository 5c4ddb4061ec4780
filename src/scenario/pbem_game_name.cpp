#include "scenario/pbem_game_name.h"

#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "scenario/pbem_repository.h"

namespace tr {

std::u16string_view PbemGameNameFault(std::u16string_view name) {
  if (!IsSafeFileName(name) || name.find_first_of(kPbemNameRefusedCharacters) != std::u16string_view::npos) {
    return u"cannot name a folder";
  }
  // The folders saving works in start with '.'.
  if (name.front() == u'.') return u"starts with '.'";
  // Paths find a name in another case too.
  if (EqualsIgnoreCase(name, u"repo.dat")) return u"is the name of the repository file data\\pbem\\repo.dat";
  if (name.size() > kPbemRepoNameUnits) return u"is longer than the 249 characters the repository keeps";
  // "Info.ini" stores text in the Windows-1252 code page: any other letter
  // would come back as '?' and the next turn would go into another folder.
  if (!FitsCodePage(name)) return u"holds letters outside the Western European (Windows-1252) code page";
  // "Info.ini" gives its values back without the blanks around them: the
  // turn would name another folder than the one it was saved in.
  if (TrimBlanks(name).size() != name.size()) return u"begins or ends with a blank";
  return {};
}

}  // namespace tr
