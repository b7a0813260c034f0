// platform/sleep_margin.h — how long before a frame's deadline the waiter stops
// sleeping and starts to spin.
//
// Explicit: a fixed margin. Adaptive: learned from how late recent sleeps woke up
// (the 75th percentile of the last kWindow wake-ups, plus a little headroom,
// clamped to [kMinimumMicros, kMaximumMicros]); until kWarmUp wake-ups are seen
// it is kInitialMicros. The percentile is moderate and the cap low on purpose:
// on a busy machine a spin of milliseconds gets the process preempted and makes
// frames later, not earlier, while a short spin keeps three frames in four on
// time and the process asleep for nearly the whole frame.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

class SleepMargin {
 public:
  static constexpr int64_t kInitialMicros = 500;
  static constexpr int64_t kMinimumMicros = 50;
  static constexpr int64_t kMaximumMicros = 500;
  static constexpr int64_t kHeadroomMicros = 30;
  static constexpr std::size_t kWindow = 128;
  static constexpr std::size_t kWarmUp = 16;

  static SleepMargin Explicit(double milliseconds);
  static SleepMargin Adaptive() { return SleepMargin(-1); }

  // Records how late a sleep woke up after its target.
  void AddLateness(int64_t micros);
  int64_t Micros() const { return micros_; }

 private:
  explicit SleepMargin(int64_t fixedMicros);
  void Recompute();

  bool adaptive_;
  int64_t micros_;
  std::array<int64_t, kWindow> samples_{};
  std::size_t count_ = 0;  // samples seen, capped by kWindow
  std::size_t next_ = 0;   // where the next sample goes
};
