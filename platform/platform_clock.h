// platform/platform_clock.h — the real clocks: CLOCK_MONOTONIC in microseconds for
// timing and pacing, and the system's wall clock.
#pragma once

#include <cstdint>

#include "engine/platform.h"

// Microseconds of CLOCK_MONOTONIC (the clock that frame waits sleep on).
int64_t MonotonicMicrosNow();

class SystemClock : public PlatformClock {
 public:
  int64_t MonotonicMicros() override { return MonotonicMicrosNow(); }
  int64_t WallClockSeconds() override;
};
