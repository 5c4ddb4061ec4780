#include "world/relations.h"

#include <algorithm>

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "world/value_limits.h"

namespace tr {

void cRelations::Reset(int countryCount) {
  ++warChanges;
  count = countryCount < 0 ? 0 : countryCount;
  const std::size_t cellCount = static_cast<std::size_t>(count) * count;
  cells.assign(cellCount, sRelationCell{});
  shares.assign(cellCount, 0.0f);
}

int cRelations::Index(int a, int b, std::u16string (*zeroLine)()) const {
  if (a < 1 || b < 1) {
    LogLine(zeroLine());
    FatalExit(1);
  }
  if (a > count || b > count) {
    // Reading past the matrix would corrupt memory; such a number is no country.
    LogFormat(u"ERROR: Country ID parameter (%i, %i) above the number of countries (%i)", a, b, count);
    return -1;
  }
  return (a - 1) * count + (b - 1);
}

bool cRelations::IsAtWar(int a, int b) const {
  const int i = Index(a, b, [] {
    return std::u16string(u"ERROR: Country ID parameter was 0 while checking relations");
  });
  if (i < 0 || a == b) return false;
  return cells[i].atWar != 0;
}

void cRelations::SetWar(int a, int b, bool atWar) {
  const int i = Index(a, b, [] { return GetText("country_id_parameter_was_0_while_setting_war."); });
  if (i >= 0) cells[i].atWar = atWar ? 1 : 0;
  ++warChanges;
}

void cRelations::AddLosses(int a, int b, float amount) {
  const int i = Index(a, b, [] { return GetText("country_id_parameter_was_0_while_changing_losses"); });
  if (i >= 0) cells[i].losses = std::clamp(cells[i].losses + amount, -kMaxLosses, kMaxLosses);
}

float cRelations::GetLosses(int a, int b) const {
  const int i = Index(a, b, [] { return GetText("country_id_parameter_was_0_while_checking_losses"); });
  return i >= 0 ? cells[i].losses : 0.0f;
}

float cRelations::GetLossesShare(int a, int b) const {
  const int i =
      Index(a, b, [] { return GetText("country_id_parameter_was_0_while_checking_losses'_share"); });
  return i >= 0 ? shares[i] : 0.0f;
}

float cRelations::GetTotalLossesSuffered(int b) const {
  float total = 0.0f;
  for (int a = 1; a <= count; ++a) total += GetLosses(a, b);
  return total;
}

void cRelations::MakePeaceWithAll(int a) {
  for (int b = 1; b <= count; ++b) {
    if (b != a && IsAtWar(a, b)) {
      SetWar(a, b, false);
      SetWar(b, a, false);
    }
  }
}

void cRelations::UpdateLossesShares() {
  for (int b = 1; b <= count; ++b) {
    const float total = GetTotalLossesSuffered(b);
    for (int a = 1; a <= count; ++a) {
      const std::size_t i = static_cast<std::size_t>(a - 1) * count + (b - 1);
      shares[i] = total == 0.0f ? 0.0f : cells[i].losses / total;
    }
  }
}

}  // namespace tr
