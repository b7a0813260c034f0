#include "engine/frame_loop.h"

#include <algorithm>

#include "engine/frame_canvas.h"
#include "engine/frame_stats.h"
#include "engine/frame_step.h"
#include "engine/game_world.h"
#include "engine/input_state.h"
#include "engine/rooms.h"
#include "graphics/image.h"
#include "runtime/args.h"
#include "runtime/debug_output.h"

namespace {
constexpr int64_t kMicrosPerSecond = 1000000;
constexpr int kDefaultSpeed = 60;

int g_framesPerSecond = 0;
int64_t g_frameNumber = 0;

class FrameLoop {
 public:
  explicit FrameLoop(const FrameLoopParts& parts)
      : parts_(parts), period_(kMicrosPerSecond / (parts.gameSpeed > 0 ? parts.gameSpeed : kDefaultSpeed)) {}

  void Run() {
    loopStart_ = parts_.clock.MonotonicMicros();
    frameStart_ = loopStart_ - period_;  // the first frame starts at once
    while (g_gameRunning) {
      Tick();
      if (g_gameRunning && parts_.events.Exhausted()) EndWithoutInput();
    }
  }

 private:
  void Tick() {
    ReclaimArgumentScratch();
    WaitForFrame();
    if (!StillRunning()) return;
    const int64_t deadline = frameStart_ + period_;
    frameStart_ = parts_.clock.MonotonicMicros();
    stats_.StartWork();
    const int32_t room = CurrentRoom() ? CurrentRoom()->index : -1;
    CountFrame();
    ++g_frameNumber;
    parts_.events.Pump(g_frameNumber, [this](const InputEvent& event) { Deliver(event); });
    if (!StillRunning()) return;
    FrameStepSettings settings{parts_.presenter.Visible(), parts_.gameSpeed};
    if (RunFrameStep(parts_.canvas, settings)) Present();
    ActOnPendingRoom();
    if (stats_.Enabled())
      stats_.Record(g_frameNumber, room, frameStart_ - deadline, parts_.clock.MonotonicMicros() - frameStart_);
  }

  void WaitForFrame() {
    int64_t now = parts_.clock.MonotonicMicros();
    int64_t wait = std::clamp<int64_t>(period_ - (now - frameStart_), 0, kMicrosPerSecond);
    if (wait == 0) return;
    if (FramesFrozen()) {  // nothing runs: no spinning for a precise start
      parts_.waiter.IdleUntil(now + wait);
      return;
    }
    int64_t nextFrame = g_frameNumber + 1;
    parts_.waiter.WaitUntil(
        now + wait, [&] { parts_.events.Pump(nextFrame, [this](const InputEvent& event) { Deliver(event); }); });
  }

  void CountFrame() {
    int64_t second = (frameStart_ - loopStart_) / kMicrosPerSecond;
    if (second != countedSecond_) {
      g_framesPerSecond = framesThisSecond_;
      framesThisSecond_ = 0;
      countedSecond_ = second;
    }
    ++framesThisSecond_;
  }

  // A Close is kept until the frame's input is in: the program may then ask
  // and save, which it cannot do in the middle of the platform's event pump.
  void Deliver(const InputEvent& event) {
    if (event.type == InputEvent::Type::Close)
      closeRequested_ = true;
    else
      ApplyInputEvent(event);
  }

  // Whether the game goes on once a Close that arrived was acted on.
  bool StillRunning() {
    if (closeRequested_) CloseWindow();
    return g_gameRunning;
  }

  void CloseWindow() {
    closeRequested_ = false;
    if (parts_.windowClosing) parts_.windowClosing();
    DebugOutput("###game_end###254\n");
    g_gameRunning = false;
  }

  void EndWithoutInput() {
    DebugOutput("###game_end###%d\n", g_exitCode);
    g_gameRunning = false;
  }

  void Present() {
    const Image& picture = parts_.canvas.FinishFrame();
    parts_.presenter.Present(g_frameNumber, picture, parts_.canvas.RepeatedPreviousFrame());
  }

  const FrameLoopParts& parts_;
  const int64_t period_;
  int64_t loopStart_ = 0;
  int64_t frameStart_ = 0;
  int64_t countedSecond_ = 0;
  int framesThisSecond_ = 0;
  bool closeRequested_ = false;
  FrameStats stats_;
};
}  // namespace

void RunFrameLoop(const FrameLoopParts& parts) { FrameLoop(parts).Run(); }

int FramesPerSecond() { return g_framesPerSecond; }
int64_t CurrentFrameNumber() { return g_frameNumber; }

void ResetFrameCounters() {
  g_framesPerSecond = 0;
  g_frameNumber = 0;
}
