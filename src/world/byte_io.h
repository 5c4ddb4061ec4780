// Little-endian fields of the binary files, read from and appended to byte
// strings one by one, never by copying structs.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace tr {

inline std::uint8_t ReadU8(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint8_t>(bytes[at]);
}

inline std::uint16_t ReadU16(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(ReadU8(bytes, at) | ReadU8(bytes, at + 1) << 8);
}

inline std::uint32_t ReadU32(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint32_t>(ReadU16(bytes, at)) |
         static_cast<std::uint32_t>(ReadU16(bytes, at + 2)) << 16;
}

inline void AppendU8(std::string& out, std::uint8_t v) { out.push_back(static_cast<char>(v)); }

inline void AppendU16(std::string& out, std::uint16_t v) {
  AppendU8(out, static_cast<std::uint8_t>(v & 0xFF));
  AppendU8(out, static_cast<std::uint8_t>(v >> 8));
}

inline void AppendU32(std::string& out, std::uint32_t v) {
  AppendU16(out, static_cast<std::uint16_t>(v & 0xFFFF));
  AppendU16(out, static_cast<std::uint16_t>(v >> 16));
}

inline void AppendF32(std::string& out, float v) {
  std::uint32_t bits;
  static_assert(sizeof bits == sizeof v);
  std::memcpy(&bits, &v, sizeof bits);
  AppendU32(out, bits);
}

}  // namespace tr
