#include "world/map_records.h"

#include <array>
#include <utility>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "scenario/table_reader.h"
#include "world/byte_io.h"

namespace tr {
namespace {

// Hex kind code at offset 35: bit 0 port; bit 1 set for a hex without weather.
constexpr std::uint16_t kKindPort = 1;
constexpr std::uint16_t kKindNoWeather = 2;

// A field of a hex record and the values the game writes there, from 0 to
// `high`: `count` values of `size` bytes each from `offset`.
struct sQelField {
  std::u16string_view name;
  std::size_t offset;
  std::size_t size;
  std::size_t count;
  int high;
};

// What the game writes in each field of a hex record. A scenario's map is
// held within them as it is read (HoldQelHexRecord), and the rules and
// events keep them, so a save's map holding anything else was damaged.
constexpr std::array<sQelField, 14> kQelFields{{
    {u"terrain", 0, 1, 1, kTerrainKinds - 1},
    // No rule reads the detail byte; it carries any byte of the older format.
    {u"detail", 1, 1, 1, 0xFF},
    {u"rivers", 2, 1, 1, kRiverSides | kRiverMouth},
    // Checked against the scenario's sea nodes once they are loaded.
    {u"sea zone", 3, 2, 1, 0xFFFF},
    {u"variant", 5, 1, 1, kTerrainVariants - 1},
    // The countries are checked once they are loaded.
    {u"controller", 6, 1, 1, kMaxCountryNumber},
    {u"owner", 7, 1, 1, kMaxCountryNumber},
    {u"original owner", 8, 1, 1, kMaxCountryNumber},
    // An event may set any level the byte holds.
    {u"fort level", 9, 1, 1, kMaxStoredFortLevel},
    {u"mud chance", 10, 1, kMonthsPerYear, kMaxChancePercent},
    {u"winter chance", 22, 1, kMonthsPerYear, kMaxChancePercent},
    {u"weather", 34, 1, 1, kMaxWeatherCode},
    {u"kind", 35, 2, 1, kKindNoWeather},
}};

// A value of a field of a scenario's hex beyond what the game writes: logged
// with the hex and the file, and read as `held`.
template <typename Value>
void HoldHexField(Value& value, int high, Value held, const sHex& hex, std::u16string_view what,
                  std::u16string_view path) {
  if (static_cast<int>(value) <= high) return;
  LogFormat(u"WARNING: hex (%i, %i) in %s has the %s %i, which the game knows none of; read as %i", hex.x, hex.y,
            path, what, static_cast<int>(value), static_cast<int>(held));
  value = held;
}

}  // namespace

void RefuseUnwrittenQelHex(std::string_view record, int x, int y, int index, std::u16string_view path) {
  for (const sQelField& field : kQelFields) {
    for (std::size_t i = 0; i < field.count; ++i) {
      const std::size_t at = field.offset + i * field.size;
      const int value = field.size == 1 ? ReadU8(record, at) : ReadU16(record, at);
      if (value <= field.high) continue;
      const std::u16string month = field.count > 1 ? Format(u" of month %i", static_cast<int>(i) + 1) : u"";
      RefuseDamagedTable(path, 0,
                         Format(u"gives hex (%i, %i) (record %i) the %s%s %i, where the game writes 0 to %i", x, y,
                                index, field.name, month, value, field.high));
    }
  }
}

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
  // An unknown terrain is not drawn and moves as none: the hex is held as land of the first kind.
  HoldHexField(hex.terrain, kTerrainKinds - 1, kTerrainClear, hex, u"terrain", path);
  // The sides and the mouth keep their bits; the top bit is none of them.
  HoldHexField(hex.rivers, kRiverSides | kRiverMouth, static_cast<std::uint8_t>(hex.rivers & (kRiverSides | kRiverMouth)),
               hex, u"river byte", path);
  // Drawn by the variant's place in the six the sheet holds.
  HoldHexField(hex.variant, kTerrainVariants - 1, static_cast<std::uint8_t>(hex.variant % kTerrainVariants), hex,
               u"terrain variant", path);
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
