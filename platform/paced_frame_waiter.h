// platform/paced_frame_waiter.h — frame pacing with a real window: an absolute
// sleep on CLOCK_MONOTONIC up to the deadline minus the sleep margin, then a
// short spin that pumps events until the deadline.
//
// The process's timer slack is set to its minimum when the waiter is made, so
// that sleeps end as close to their target as the kernel allows.
#pragma once

#include "engine/platform.h"
#include "platform/sleep_margin.h"

class PacedFrameWaiter : public FrameWaiter {
 public:
  explicit PacedFrameWaiter(SleepMargin margin);
  void WaitUntil(int64_t deadlineMicros, const std::function<void()>& pump) override;
  void IdleUntil(int64_t deadlineMicros) override;

 private:
  SleepMargin margin_;
};
