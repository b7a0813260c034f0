// engine/frame_loop.h — the main loop: frame pacing, frame counting, input
// delivery, the step and draw of each frame, presenting, and room changes.
//
// A frame starts 1 000 000 / speed µs after the start of the previous one (60
// frames a second when the speed is not positive); a frame that ran longer than
// that is followed by the next at once. While waiting, the loop keeps pumping
// input into the latches; while frames are frozen (the game's freeze-when-inactive
// option and an inactive window) it sleeps through the wait instead, and each
// frame only takes its input. `fps` is the number of frames started in the previous
// whole second of the clock (counted from the loop's start). The loop runs while
// the running flag is set. A Close event (the user closed the window) is acted
// on between frames, once the input it arrived with is in (before the step of
// the frame it came for): the windowClosing hook runs, then the game ends
// ("###game_end###254"). An event
// source that is exhausted (a playback script that ran out) ends the game after
// its last frame, without the hook ("###game_end###" and the exit code).
#pragma once

#include <cstdint>

#include "engine/platform.h"

class FrameCanvas;

struct FrameLoopParts {
  PlatformClock& clock;
  FrameWaiter& waiter;
  EventSource& events;
  FramePresenter& presenter;
  FrameCanvas& canvas;
  int gameSpeed = 60;
  std::function<void()> windowClosing;  // optional: called when a Close arrived, before the game ends
};

void RunFrameLoop(const FrameLoopParts& parts);

// Frames counted in the last whole second, and the number of the last frame.
int FramesPerSecond();
int64_t CurrentFrameNumber();
void ResetFrameCounters();
