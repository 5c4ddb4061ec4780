#include "world/map_records.h"

#include <utility>

#include "foundation/console_log.h"
#include "world/byte_io.h"

namespace tr {
namespace {

// Hex kind code at offset 35: bit 0 port; bit 1 set for a hex without weather.
constexpr std::uint16_t kKindPort = 1;
constexpr std::uint16_t kKindNoWeather = 2;

}  // namespace

void ReadQelHexRecord(sHex& hex, std::string_view r) {
  hex = sHex{};  // x, y -1 and the runtime members cleared
  hex.terrain = ReadU8(r, 0);
  hex.detail = ReadU8(r, 1);
  hex.rivers = ReadU8(r, 2);
  hex.seaZone = ReadU16(r, 3);
  hex.variant = ReadU8(r, 5);
  hex.controller = ReadU8(r, 6);
  hex.owner = ReadU8(r, 7);
  hex.originalOwner = ReadU8(r, 8);
  hex.fortLevel = ReadU8(r, 9);
  for (int m = 0; m < kMonthsPerYear; ++m) {
    hex.mudChance[m] = ReadU8(r, 10 + m);
    hex.winterChance[m] = ReadU8(r, 22 + m);
  }
  hex.weather = ReadU8(r, 34);
  // Only the low byte of the kind code carries meaning.
  const std::uint8_t kind = ReadU8(r, 35);
  hex.port = kind & kKindPort;
  hex.takesWeather = (kind & kKindNoWeather) ? 0 : 1;
}

void HoldQelHexRecord(sHex& hex, std::u16string_view path) {
  const int x = hex.x;
  const int y = hex.y;
  if (hex.weather < 0 || hex.weather > kMaxWeatherCode) {
    LogFormat(u"WARNING: hex (%i, %i) in %s has the weather code %i, which is no weather; made clear (0)", x, y,
              path, hex.weather);
    hex.weather = 0;
  }
  for (auto [chances, what] : {std::pair{&hex.mudChance, u"mud"}, std::pair{&hex.winterChance, u"winter"}}) {
    for (std::size_t month = 0; month < chances->size(); ++month) {
      std::uint8_t& chance = (*chances)[month];
      if (chance <= kMaxChancePercent) continue;
      LogFormat(u"WARNING: hex (%i, %i) in %s has a %s chance of %i percent in month %i; held at %i", x, y,
                path, std::u16string_view(what), static_cast<int>(chance), static_cast<int>(month) + 1,
                kMaxChancePercent);
      chance = kMaxChancePercent;
    }
  }
}

void AppendQelHexRecord(std::string& out, const sHex& hex) {
  AppendU8(out, hex.terrain);
  AppendU8(out, hex.detail);
  AppendU8(out, hex.rivers);
  AppendU16(out, hex.seaZone);
  AppendU8(out, hex.variant);
  AppendU8(out, hex.controller);
  AppendU8(out, hex.owner);
  AppendU8(out, hex.originalOwner);
  AppendU8(out, hex.fortLevel);
  for (std::uint8_t chance : hex.mudChance) AppendU8(out, chance);
  for (std::uint8_t chance : hex.winterChance) AppendU8(out, chance);
  AppendU8(out, static_cast<std::uint8_t>(hex.weather & 0xFF));
  // A port is written as a port whatever its weather, so it reads back taking weather.
  const std::uint16_t kind = hex.port ? kKindPort : (hex.takesWeather ? 0 : kKindNoWeather);
  AppendU16(out, kind);
}

void ReadHmfHexRecord(sHex& hex, std::string_view r) {
  hex = sHex{};
  hex.terrain = ReadU8(r, 0);
  hex.rivers = ReadU8(r, 2);
  hex.controller = ReadU8(r, 3);
  hex.owner = ReadU8(r, 4);
  hex.originalOwner = ReadU8(r, 5);
  hex.detail = ReadU8(r, 12);
  hex.seaZone = ReadU8(r, 13);
  hex.port = hex.seaZone > 0 ? 1 : 0;
  hex.fortLevel = ReadU8(r, 14);
}

}  // namespace tr
