#include "world/saved_field.h"

#include "foundation/format.h"
#include "foundation/number_text.h"
#include "foundation/text.h"
#include "scenario/table_reader.h"

namespace tr {

void RefuseBlankAroundSavedField(std::string_view text, int field, std::u16string_view path, int line) {
  if (text.empty() || (!IsBlank(text.front()) && !IsBlank(text.back()))) return;
  RefuseDamagedTable(path, line, Format(u"has \"%s\" in field %i, a blank around a value the game never writes",
                                        Utf8ToUtf16(text.substr(0, 40)), field));
}

void RefuseRepeatedSavedKey(std::u16string_view path, int line, std::u16string_view key, int firstLine) {
  RefuseDamagedTable(path, line, Format(u"has a second line for %s (the first at line %i)", key, firstLine));
}

}  // namespace tr
