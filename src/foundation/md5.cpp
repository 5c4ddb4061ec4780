#include "foundation/md5.h"

#include <algorithm>
#include <cstring>

namespace tr {
namespace {

constexpr std::uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

constexpr int kShift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                            5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                            4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                            6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

std::uint32_t RotateLeft(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

void ProcessBlock(std::uint32_t state[4], const unsigned char* block) {
  std::uint32_t m[16];
  for (int i = 0; i < 16; ++i) {
    m[i] = static_cast<std::uint32_t>(block[4 * i]) | (static_cast<std::uint32_t>(block[4 * i + 1]) << 8) |
           (static_cast<std::uint32_t>(block[4 * i + 2]) << 16) |
           (static_cast<std::uint32_t>(block[4 * i + 3]) << 24);
  }
  std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  for (int i = 0; i < 64; ++i) {
    std::uint32_t f;
    int g;
    if (i < 16) {
      f = (b & c) | (~b & d);
      g = i;
    } else if (i < 32) {
      f = (d & b) | (~d & c);
      g = (5 * i + 1) % 16;
    } else if (i < 48) {
      f = b ^ c ^ d;
      g = (3 * i + 5) % 16;
    } else {
      f = c ^ (b | ~d);
      g = (7 * i) % 16;
    }
    const std::uint32_t next = b + RotateLeft(a + f + kSine[i] + m[g], kShift[i]);
    a = d;
    d = c;
    c = b;
    b = next;
  }
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
}

}  // namespace

void cMd5::Update(std::string_view bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t n = bytes.size();
  total_ += n;
  if (pendingSize_ > 0) {
    const std::size_t take = std::min(n, sizeof pending_ - pendingSize_);
    std::memcpy(pending_ + pendingSize_, data, take);
    pendingSize_ += take;
    data += take;
    n -= take;
    if (pendingSize_ < sizeof pending_) return;
    ProcessBlock(state_, pending_);
    pendingSize_ = 0;
  }
  for (; n >= 64; data += 64, n -= 64) ProcessBlock(state_, data);
  if (n > 0) std::memcpy(pending_, data, n);
  pendingSize_ = n;
}

Md5Digest cMd5::Final() {
  // Padding: 0x80, zeros, then the bit length, little-endian, in the last 8 bytes.
  unsigned char tail[128] = {};
  const std::size_t rest = pendingSize_;
  if (rest > 0) std::memcpy(tail, pending_, rest);
  tail[rest] = 0x80;
  const std::size_t tail_len = rest < 56 ? 64 : 128;
  const std::uint64_t bits = total_ * 8;
  for (int i = 0; i < 8; ++i) tail[tail_len - 8 + i] = static_cast<unsigned char>(bits >> (8 * i));
  for (std::size_t off = 0; off < tail_len; off += 64) ProcessBlock(state_, tail + off);

  Md5Digest digest{};
  for (int i = 0; i < 16; ++i) digest[i] = static_cast<std::uint8_t>(state_[i / 4] >> (8 * (i % 4)));
  return digest;
}

Md5Digest Md5(std::string_view bytes) {
  cMd5 md5;
  md5.Update(bytes);
  return md5.Final();
}

std::string Md5Hex(const Md5Digest& digest) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (std::uint8_t b : digest) {
    out += kHex[b >> 4];
    out += kHex[b & 15];
  }
  return out;
}

std::string Md5Hex(std::string_view bytes) { return Md5Hex(Md5(bytes)); }

}  // namespace tr
