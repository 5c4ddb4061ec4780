// The game's random numbers. The generator and the way draws become values are
// game rules (outcomes depend on them), so they follow the original runtime
// exactly. Each thread has its own generator state.
#pragma once

#include <cstdint>
#include <deque>

namespace tr {

void SeedRandom(std::uint32_t seed);  // this thread only
// This thread's generator state: seeding with it goes on with the same draws.
std::uint32_t RandomState();
int RandomDraw();                     // 0..32767

float RandomUnit();                   // draw / 32767, 0..1 inclusive
int RandomRange(int low, int high);   // high only for the draw 32767
int RandomSum(int count, int low, int high);

// Tests script the draws of this thread: while the queue holds values,
// RandomDraw returns them in order instead of advancing the generator.
class ScopedRandomDraws {
 public:
  explicit ScopedRandomDraws(std::deque<int> draws);
  ~ScopedRandomDraws();
  ScopedRandomDraws(const ScopedRandomDraws&) = delete;
  ScopedRandomDraws& operator=(const ScopedRandomDraws&) = delete;
  std::size_t remaining() const { return draws_.size(); }

 private:
  friend int RandomDraw();
  std::deque<int> draws_;
  ScopedRandomDraws* previous_;
};

}  // namespace tr
