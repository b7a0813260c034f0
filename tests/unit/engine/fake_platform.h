// A platform for tests: a clock that only moves when told, a waiter that jumps
// the clock to each deadline, input given per frame, a presenter that records.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "engine/platform.h"
#include "graphics/image.h"

class FakeClock : public PlatformClock {
 public:
  int64_t MonotonicMicros() override { return now; }
  int64_t WallClockSeconds() override { return 1715592600; }
  int64_t now = 5000000;
};

class FakeWaiter : public FrameWaiter {
 public:
  explicit FakeWaiter(FakeClock& clock) : clock_(clock) {}
  void WaitUntil(int64_t deadline, const std::function<void()>& pump) override {
    waits.push_back(deadline - clock_.now);
    pump();
    if (deadline > clock_.now) clock_.now = deadline;
  }
  void IdleUntil(int64_t deadline) override {
    idles.push_back(deadline - clock_.now);
    if (deadline > clock_.now) clock_.now = deadline;
  }
  std::vector<int64_t> waits;  // how long each wait was asked to last
  std::vector<int64_t> idles;  // the same for the waits without pumping

 private:
  FakeClock& clock_;
};

class FakeEvents : public EventSource {
 public:
  void Pump(int64_t frame, const std::function<void(const InputEvent&)>& deliver) override {
    pumped = std::max(pumped, frame);
    auto found = byFrame.find(frame);
    if (found == byFrame.end()) return;
    std::vector<InputEvent> events;
    events.swap(found->second);
    for (const InputEvent& event : events) deliver(event);
  }
  bool Exhausted() const override { return endAfter > 0 && pumped >= endAfter; }

  std::map<int64_t, std::vector<InputEvent>> byFrame;
  int64_t endAfter = 0;  // exhausted once this frame has had its input (0: never)
  int64_t pumped = 0;
};

class FakePresenter : public FramePresenter {
 public:
  void Present(int64_t frame, const Image&, bool) override { frames.push_back(frame); }
  void SetCaption(const std::string&) override {}
  bool Visible() const override { return true; }
  std::vector<int64_t> frames;
};

inline std::unique_ptr<Platform> MakeFakePlatform() {
  auto platform = std::make_unique<Platform>();
  auto clock = std::make_unique<FakeClock>();
  platform->waiter = std::make_unique<FakeWaiter>(*clock);
  platform->clock = std::move(clock);
  platform->events = std::make_unique<FakeEvents>();
  platform->presenter = std::make_unique<FakePresenter>();
  platform->headless = true;
  return platform;
}
