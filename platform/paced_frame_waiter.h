// platform/paced_frame_waiter.h — frame pacing with a real window: an absolute
// sleep on CLOCK_MONOTONIC up to the deadline minus the sleep margin, then a
// short spin that pumps events until the deadline.
//
// The margin is the -sleepmargin option when given, else 200 µs: about what a
// sleep overshoots its target on a loaded machine, so a frame starts on time
// while the process sleeps through nearly the whole wait (the spin costs about
// one per cent of a core at 60 frames a second).
// The process's timer slack is set to its minimum when the waiter is made, so
// that sleeps end as close to their target as the kernel allows.
#pragma once

#include <cstdint>

#include "engine/platform.h"

class PacedFrameWaiter : public FrameWaiter {
 public:
  static constexpr int64_t kDefaultMarginMicros = 200;

  explicit PacedFrameWaiter(int64_t marginMicros);
  void WaitUntil(int64_t deadlineMicros, const std::function<void()>& pump) override;
  void IdleUntil(int64_t deadlineMicros) override;

 private:
  int64_t marginMicros_;
};
