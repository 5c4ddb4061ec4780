#include "foundation/fast_digest.h"

#include <xxhash.h>

#include <cstdio>

namespace tr {

struct cFastDigest::sState {
  XXH3_state_t* xxh = XXH3_createState();
  sState() { XXH3_64bits_reset(xxh); }
  ~sState() { XXH3_freeState(xxh); }
};

std::uint64_t FastDigest(std::string_view bytes) { return XXH3_64bits(bytes.data(), bytes.size()); }

std::string FastDigestHex(std::uint64_t digest) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(digest));
  return std::string(text, 16);
}

cFastDigest::cFastDigest() : state_(std::make_unique<sState>()) {}
cFastDigest::~cFastDigest() = default;

void cFastDigest::Update(std::string_view bytes) { XXH3_64bits_update(state_->xxh, bytes.data(), bytes.size()); }

std::uint64_t cFastDigest::Value() const { return XXH3_64bits_digest(state_->xxh); }

}  // namespace tr
