#include "platform/paced_frame_waiter.h"

#include <sys/prctl.h>

#include <cerrno>
#include <ctime>

#include "platform/platform_clock.h"

namespace {

// Frame waits never sleep longer than this, whatever the deadline says.
constexpr int64_t kLongestSleepMicros = 3000000;

void SleepUntil(int64_t targetMicros) {
  timespec target{};
  target.tv_sec = time_t(targetMicros / 1000000);
  target.tv_nsec = long(targetMicros % 1000000) * 1000;
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &target, nullptr) == EINTR) {
  }
}

// A frame wait never lasts longer than the longest sleep.
int64_t WithinLongestSleep(int64_t deadlineMicros, int64_t now) {
  return deadlineMicros > now + kLongestSleepMicros ? now + kLongestSleepMicros : deadlineMicros;
}

}  // namespace

PacedFrameWaiter::PacedFrameWaiter(int64_t marginMicros) : marginMicros_(marginMicros) {
  prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
}

void PacedFrameWaiter::WaitUntil(int64_t deadlineMicros, const std::function<void()>& pump) {
  int64_t now = MonotonicMicrosNow();
  deadlineMicros = WithinLongestSleep(deadlineMicros, now);
  int64_t wakeTarget = deadlineMicros - marginMicros_;
  if (wakeTarget > now) {
    SleepUntil(wakeTarget);
    now = MonotonicMicrosNow();
  }
  while (now < deadlineMicros) {
    if (pump) pump();
    now = MonotonicMicrosNow();
  }
}

void PacedFrameWaiter::IdleUntil(int64_t deadlineMicros) {
  SleepUntil(WithinLongestSleep(deadlineMicros, MonotonicMicrosNow()));
}
