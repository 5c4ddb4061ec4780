// MD5 message digest (RFC 1321), used to tell the shipped string base from an
// edited one and a saved file from one cut or changed on its way. Not for
// anything that needs real security.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tr {

using Md5Digest = std::array<std::uint8_t, 16>;

// A digest of bytes given in any number of pieces, as they are written.
class cMd5 {
 public:
  void Update(std::string_view bytes);
  // The digest of every byte given; the object is spent.
  Md5Digest Final();

 private:
  std::uint32_t state_[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
  unsigned char pending_[64] = {};
  std::size_t pendingSize_ = 0;
  std::uint64_t total_ = 0;
};

Md5Digest Md5(std::string_view bytes);
// The digest as 32 lowercase hexadecimal digits.
std::string Md5Hex(std::string_view bytes);
std::string Md5Hex(const Md5Digest& digest);

}  // namespace tr
