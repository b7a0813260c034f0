// platform/headless_platform.h — the pieces of a platform without a window: frames
// run back to back, pictures stay in memory, no device gives input.
#pragma once

#include "engine/platform.h"

// Returns at once: a headless game runs as fast as it can.
class ImmediateWaiter : public FrameWaiter {
 public:
  void WaitUntil(int64_t, const std::function<void()>&) override {}
  void IdleUntil(int64_t) override {}
};

// Accepts frames and shows them nowhere; always counts as visible, so that mouse
// events are raised as with a window.
class OffscreenPresenter : public FramePresenter {
 public:
  void Present(int64_t, const Image&, bool) override {}
  void SetCaption(const std::string&) override {}
  bool Visible() const override { return true; }
};

// No devices: no event ever.
class NoInputEventSource : public EventSource {
 public:
  void Pump(int64_t, const std::function<void(const InputEvent&)>&) override {}
};
