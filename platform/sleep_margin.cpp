#include "platform/sleep_margin.h"

#include <algorithm>

namespace {
constexpr double kPercentile = 0.75;
}  // namespace

SleepMargin::SleepMargin(int64_t fixedMicros)
    : adaptive_(fixedMicros < 0), micros_(fixedMicros < 0 ? kInitialMicros : fixedMicros) {}

SleepMargin SleepMargin::Explicit(double milliseconds) {
  return SleepMargin(std::max<int64_t>(0, int64_t(milliseconds * 1000.0)));
}

void SleepMargin::AddLateness(int64_t micros) {
  if (!adaptive_) return;
  samples_[next_] = std::max<int64_t>(0, micros);
  next_ = (next_ + 1) % kWindow;
  count_ = std::min(count_ + 1, kWindow);
  if (count_ >= kWarmUp) Recompute();
}

void SleepMargin::Recompute() {
  std::array<int64_t, kWindow> sorted = samples_;
  auto end = sorted.begin() + std::ptrdiff_t(count_);
  auto rank = sorted.begin() + std::ptrdiff_t(double(count_ - 1) * kPercentile);
  std::nth_element(sorted.begin(), rank, end);
  micros_ = std::clamp(*rank + kHeadroomMicros, kMinimumMicros, kMaximumMicros);
}
