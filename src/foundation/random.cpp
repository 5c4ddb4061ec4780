#include "foundation/random.h"

#include <algorithm>
#include <limits>

namespace tr {
namespace {

thread_local std::uint32_t tState = 1;  // the runtime's state before any seeding
thread_local ScopedRandomDraws* tScripted = nullptr;

}  // namespace

void SeedRandom(std::uint32_t seed) { tState = seed; }

std::uint32_t RandomState() { return tState; }

int RandomDraw() {
  if (tScripted && !tScripted->draws_.empty()) {
    const int v = tScripted->draws_.front();
    tScripted->draws_.pop_front();
    return v & 0x7FFF;
  }
  tState = tState * 214013u + 2531011u;
  return static_cast<int>((tState >> 16) & 0x7FFF);
}

float RandomUnit() { return static_cast<float>(RandomDraw()) / 32767.0f; }

namespace {

int ClampToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                    std::numeric_limits<int>::max()));
}

}  // namespace

// The bounds may come from data files: the span and the sum are taken in 64
// bits (the float product as before), and the result held to the int range.
int RandomRange(int low, int high) {
  const float f = static_cast<float>(RandomDraw()) / 32767.0f;
  const float span = static_cast<float>(std::int64_t{high} - low);
  return ClampToInt(low + static_cast<std::int64_t>(f * span));
}

int RandomSum(int count, int low, int high) {
  std::int64_t sum = 0;
  for (int i = 0; i < count; ++i) sum += RandomRange(low, high);
  return ClampToInt(sum);
}

ScopedRandomDraws::ScopedRandomDraws(std::deque<int> draws)
    : draws_(std::move(draws)), previous_(tScripted) {
  tScripted = this;
}

ScopedRandomDraws::~ScopedRandomDraws() { tScripted = previous_; }

}  // namespace tr
