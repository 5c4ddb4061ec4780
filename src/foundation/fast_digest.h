// A fast 64-bit digest (XXH3) to tell a saved file from one cut or changed on
// its way. Transfer damage needs no cryptographic digest, and this one costs
// a small fraction of reading the file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tr {

std::uint64_t FastDigest(std::string_view bytes);
// The digest as 16 lowercase hexadecimal digits.
std::string FastDigestHex(std::uint64_t digest);

// The same digest of bytes given in any number of pieces, as they are written.
class cFastDigest {
 public:
  cFastDigest();
  ~cFastDigest();
  cFastDigest(const cFastDigest&) = delete;
  cFastDigest& operator=(const cFastDigest&) = delete;

  void Update(std::string_view bytes);
  std::uint64_t Value() const;

 private:
  struct sState;
  std::unique_ptr<sState> state_;
};

}  // namespace tr
