// The clock the frame reads. Tests give the frame a ManualClock and move time
// themselves, so nothing depends on real time.
#pragma once

#include <chrono>
#include <cstdint>
#include <thread>

namespace tr {

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since an arbitrary start; never goes back.
  virtual double NowSeconds() const = 0;
  // Lets the given time pass: the frame's wait for the end of its minimum frame time.
  virtual void SleepFor(double seconds) = 0;
};

class SteadyClock : public Clock {
 public:
  double NowSeconds() const override {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }
  void SleepFor(double seconds) override {
    if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

class ManualClock : public Clock {
 public:
  explicit ManualClock(double start_seconds = 0) : now_(start_seconds) {}
  double NowSeconds() const override { return now_; }
  // Time moves on at once: a test never waits.
  void SleepFor(double seconds) override {
    if (seconds > 0) now_ += seconds;
  }
  void Advance(double seconds) { now_ += seconds; }
  void AdvanceMs(double ms) { now_ += ms / 1000.0; }
  void Set(double seconds) { now_ = seconds; }

 private:
  double now_;
};

// Milliseconds of the running frame's clock (of a process-wide steady clock
// when no frame runs), as a 32-bit value that wraps; differences are taken unsigned.
std::uint32_t TimerMs();

}  // namespace tr
