// MD5 message digest (RFC 1321), used to tell the shipped string base from an
// edited one. Not for anything that needs real security.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tr {

std::array<std::uint8_t, 16> Md5(std::string_view bytes);
// The digest as 32 lowercase hexadecimal digits.
std::string Md5Hex(std::string_view bytes);

}  // namespace tr
