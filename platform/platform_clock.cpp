#include "platform/platform_clock.h"

#include <ctime>

int64_t MonotonicMicrosNow() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

int64_t SystemClock::WallClockSeconds() { return int64_t(std::time(nullptr)); }
