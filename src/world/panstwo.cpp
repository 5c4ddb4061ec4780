// Country record operations: names and textures, points, and the alliance,
// orientation and war tests.
#include "world/panstwo.h"

#include <algorithm>
#include <system_error>

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/file_read.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "world/gra.h"

namespace tr {
namespace {

// The camp of an orientation (0 allies, 1 axis, 2 comintern), -1 when unknown.
int Camp(int orientation) { return orientation >= 0 && orientation <= 5 ? orientation % 3 : -1; }

bool FileExists(std::u16string_view gamePath) { return IsReadableRegularFile(ResolveGamePath(gamePath)); }

// The points stay within the range the countries table reads, so what play
// adds or spends loads back as it is; a sum beyond it saturates.
std::int32_t HeldSum(std::int32_t value, std::int32_t amount, std::int32_t low, std::int32_t high) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{value} + amount, low, high));
}

}  // namespace

int AllianceBase(int code) {
  if (code >= 1 && code <= 3) return code;
  if (code >= 4 && code <= 6) return code - 3;
  return 0;
}

std::u16string UnitsTexturePath(std::u16string_view unitsSkin, std::u16string_view countryName) {
  return Format(u"data\\gfx\\[UnitsSkin]%s\\units_%s.png", unitsSkin, countryName);
}

std::u16string ScenarioFlagPath(std::u16string_view scenarioName, std::u16string_view countryName) {
  return Format(u"data\\scenarios\\%s\\Flags\\%s.png", scenarioName, countryName);
}

std::u16string DefaultFlagPath(std::u16string_view countryName) {
  return Format(u"data\\gfx\\Flags\\%s.png", countryName);
}

void cCountry::LoadUnitsTexture(std::u16string_view unitsSkin) {
  Presentation().ReleaseTexture(unitsTexture);
  unitsTexture = kNoTexture;
  // Names come from data; one that could leave its folder names no texture.
  if (!IsSafeFileName(unitsSkin) || !IsSafeFileName(name)) return;
  const std::u16string path = UnitsTexturePath(unitsSkin, name);
  if (FileExists(path)) {
    unitsTexture = Presentation().LoadTexture(ResolveGamePath(path), eTextureUse::kUnitSheet);
  }
}

void cCountry::LoadFlagTexture(std::u16string_view scenarioName) {
  Presentation().ReleaseTexture(flagTexture);
  flagTexture = kNoTexture;
  if (!IsSafeFileName(name)) return;
  std::u16string path;
  if (IsSafeFileName(scenarioName) && FileExists(ScenarioFlagPath(scenarioName, name))) {
    path = ScenarioFlagPath(scenarioName, name);
  } else {
    path = DefaultFlagPath(name);
  }
  flagTexture = Presentation().LoadTexture(ResolveGamePath(path), eTextureUse::kPlain);
}

TextureId cCountry::GetFlagTexture() const {
  return flagTexture != kNoTexture ? flagTexture : Presentation().DefaultFlagTexture();
}

void cCountry::ReleaseTextures() {
  Presentation().ReleaseTexture(unitsTexture);
  Presentation().ReleaseTexture(flagTexture);
  unitsTexture = kNoTexture;
  flagTexture = kNoTexture;
}

void cCountry::SetName(std::u16string_view newName) {
  name = newName;
  skinsName = newName;
  LoadUnitsTexture(gUnitsSkin);
}

void cCountry::SetSkinsName(std::u16string_view newName) {
  skinsName = newName;
  LoadUnitsTexture(gUnitsSkin);
}

int cCountry::UnitTypeSlot(int type) {
  if (type >= 0 && type <= 6) return type;
  if (type >= 20 && type <= 22) return type - 13;
  if (type >= 40 && type <= 45) return type - 30;
  if (type == 60) return 16;
  return -1;
}

const std::u16string* cCountry::GetUnitTypeName(int type) const {
  const int slot = UnitTypeSlot(type);
  if (slot < 0 || !unitTypeNames[slot]) return nullptr;
  return &*unitTypeNames[slot];
}

void cCountry::SetUnitTypeName(int slot, std::u16string_view text) {
  if (slot < 0 || slot >= kUnitTypeNameSlots) {
    LogFormat(u"ERROR: unit type name slot %i of country %i does not exist", slot, id);
    return;
  }
  unitTypeNames[slot] = std::u16string(text);
}

void cCountry::SetSavedView(float x, float y, float zoom) { savedView = {x, y, zoom}; }

void cCountry::AddDiplomaticPoints(std::int32_t amount) {
  diplomaticPoints = HeldSum(diplomaticPoints, amount, -kMaxPoints, kMaxPoints);
  Presentation().RefreshInfoPanel();
}

void cCountry::AddProductionPoints(double amount) {
  productionPoints = std::clamp(productionPoints + amount, -kMaxProduction, kMaxProduction);
  Presentation().RefreshInfoPanel();
}

void cCountry::AddStrategicMovementPoints(std::int32_t amount) {
  strategicMovementPoints = HeldSum(strategicMovementPoints, amount, 0, kMaxPoints);
  Presentation().RefreshInfoPanel();
}

void cCountry::AddSeaTransportPoints(std::int32_t amount) {
  seaTransportPoints = HeldSum(seaTransportPoints, amount, -kMaxPoints, kMaxPoints);
  Presentation().RefreshInfoPanel();
}

void cCountry::AddInvasionPoints(std::int32_t amount) {
  invasionPoints = HeldSum(invasionPoints, amount, -kMaxPoints, kMaxPoints);
  Presentation().RefreshInfoPanel();
}

bool cCountry::BelongsToAlliance(int allianceCode) const {
  const int own = AllianceBase(alliance);
  return own != 0 && own == AllianceBase(allianceCode);
}

bool cCountry::IsAlly(int countryId) const {
  if (countryId < 1) {
    LogLine(u"ERROR: Country ID parameter was 0 while checking alliance!");
    FatalExit(1);
  }
  const cCountry* other = gGame ? gGame->GetCountry(countryId) : nullptr;
  if (!other) return false;
  const int own = AllianceBase(alliance);
  return own != 0 && own == AllianceBase(other->alliance);
}

bool cCountry::SharesOrientationWith(const cCountry& other) const {
  const int camp = Camp(orientation);
  return camp >= 0 && camp == Camp(other.orientation);
}

bool cCountry::IsInOwnZoneOfInfluence() const {
  const int camp = Camp(orientation);
  return camp >= 0 && zoneOfInfluence == camp + 1;
}

bool cCountry::IsAtWarWith(int countryId) const {
  return gGame && gGame->relations.IsAtWar(id, countryId);
}

bool cCountry::IsAtWarWithAnyone() const {
  if (!gGame) return false;
  for (int b = 1; b <= gGame->CountryCount(); ++b) {
    if (gGame->relations.IsAtWar(id, b)) return true;
  }
  return false;
}

bool cCountry::IsAllianceActive() const {
  if (AllianceBase(alliance) == 0 || !gGame) return false;
  return std::any_of(gGame->countries.begin(), gGame->countries.end(),
                     [this](const auto& c) { return c->BelongsToAlliance(alliance); });
}

std::int32_t cCountry::GetTechLevel(int index) const {
  return index >= 0 && index < kTechCount ? techLevels[index] : 0;
}

bool cCountry::IsExtraCityToGarrison(int x, int y) const {
  const auto& list = aiSettings.ExtraCitiesToGarrison;
  return std::find(list.begin(), list.end(), sPoint{x, y}) != list.end();
}

void cCountry::RemoveDoNotAttackCity(int x, int y) {
  auto& list = aiSettings.DoNotAttackCities;
  const auto it = std::find(list.begin(), list.end(), sPoint{x, y});
  if (it != list.end()) list.erase(it);
}

}  // namespace tr
