// One cell of the hex map: terrain, rivers, sea zone, ownership,
// fortification, weather, highlight flags, and the city and unit on it.
// The map (and the sea-battle screen's grid) hold these records; every change
// of owner or controller goes through SetOwner / SetController so that the
// border flags stay right.
#pragma once

#include <array>
#include <cstdint>

namespace tr {

class cCity;
class cCountry;
class cJednostkaLotnicza;
class cUnit;
struct sCombatResult;

inline constexpr int kMonthsPerYear = 12;

// Terrain codes.
inline constexpr std::uint8_t kTerrainWater = 0;
inline constexpr std::uint8_t kTerrainClear = 1;
inline constexpr std::uint8_t kTerrainMountain = 6;
// Water to desert; the terrain sheet draws no others.
inline constexpr int kTerrainKinds = 8;
// The graphic variants of a terrain the sheet holds.
inline constexpr int kTerrainVariants = 6;

// Bit 6 of the rivers byte marks a sea hex that shows a river mouth; a byte
// with it set reads as no river on any side.
inline constexpr std::uint8_t kRiverMouth = 0x40;
// The bits of a river on each of the six sides.
inline constexpr std::uint8_t kRiverSides = 0x3F;

// Border bits: owner differs across side 1..3, controller differs, sea-zone border.
inline constexpr std::uint16_t kOwnerBorderBits = 0x007;
inline constexpr std::uint16_t kControllerBorderBits = 0x038;
inline constexpr std::uint16_t kSeaZoneBorderBits = 0x1C0;

// A hex keeps its controller, owner and original owner in a byte each, so no
// country above this number can hold a hex (and a scenario has no more).
inline constexpr int kMaxCountryNumber = 255;

// The highlight bit that ClearHexFlags can clear on every hex of the map.
inline constexpr std::uint32_t kHexFlagShaded = 0x1000000;

struct sHex {
  std::int16_t x = -1;
  std::int16_t y = -1;
  std::uint8_t terrain = kTerrainWater;
  std::uint8_t rivers = 0;
  std::uint16_t borders = 0;
  std::uint8_t variant = 0;
  std::uint8_t controller = 0;
  std::uint8_t owner = 0;
  std::uint8_t originalOwner = 0;
  cCity* city = nullptr;
  std::uint8_t detail = 0;  // carried from the older map format; no rule reads it
  std::uint16_t seaZone = 0;
  std::uint8_t port = 0;
  std::uint16_t seaNodeMarker = 0;
  std::uint8_t fortLevel = 0;
  std::int32_t weather = 0;  // 0 clear, 1 winter, 2 mud
  std::uint32_t flags = 0;
  std::int32_t flagValue = -1;
  cUnit* unit = nullptr;
  std::array<std::uint8_t, kMonthsPerYear> mudChance{};
  std::array<std::uint8_t, kMonthsPerYear> winterChance{};
  std::uint8_t takesWeather = 1;

  bool IsLand() const { return terrain != kTerrainWater; }

  // Rivers.
  void ZwrocWektorRzek(std::array<bool, 6>& sides) const;
  bool HasRiver(int side) const;

  // Friend and ownership tests; country arguments are country numbers unless
  // they take a cCountry.
  bool IsFriendlyTo(const cCountry& country) const;
  // Whether the country's airborne units may land here (map_territory.cpp).
  bool CanBeEnteredBy(const cCountry& country) const;
  bool IsCoastalLand() const;
  bool IsControlledByFriend(int country) const;
  bool IsHeldByFriend(int country) const;
  cCountry* GetControllerCountry() const;
  cCountry* GetOwnerCountry() const;
  cCountry* GetOriginalOwnerCountry() const;

  // Store the number, then refresh the border flags of this hex and of its
  // neighbours N, SW and NW, which carry the other three edges.
  void SetOwner(int id);
  void SetController(int id);
  void UpdateBorders();

  // Highlight flags, kept together with the map's list of flagged hexes.
  void AddFlags(std::uint32_t bits, std::int32_t value);
  void RemoveFlags(std::uint32_t bits, bool removeFromList);

  // Air war (hex_air.cpp): the fighter that would intercept a mission of the
  // attacking country over this land hex, or null; and the strike of an air
  // unit or a carrier's aircraft on the hex. The strike may kill the
  // attacker, which the result's attacker-destroyed flag then tells.
  cJednostkaLotnicza* FindBestInterceptor(int attackingCountry) const;
  void BombardFromAir(sCombatResult& result, cUnit& attacker);
};

}  // namespace tr
