#include "foundation/random.h"

namespace tr {
namespace {

thread_local std::uint32_t tState = 1;  // the runtime's state before any seeding
thread_local ScopedRandomDraws* tScripted = nullptr;

}  // namespace

void SeedRandom(std::uint32_t seed) { tState = seed; }

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

int RandomRange(int low, int high) {
  const float f = static_cast<float>(RandomDraw()) / 32767.0f;
  const float span = static_cast<float>(high - low);
  return low + static_cast<int>(f * span);
}

int RandomSum(int count, int low, int high) {
  int sum = 0;
  for (int i = 0; i < count; ++i) sum += RandomRange(low, high);
  return sum;
}

ScopedRandomDraws::ScopedRandomDraws(std::deque<int> draws)
    : draws_(std::move(draws)), previous_(tScripted) {
  tScripted = this;
}

ScopedRandomDraws::~ScopedRandomDraws() { tScripted = previous_; }

}  // namespace tr
