// engine/frame_loop.h — the main loop: frame pacing, frame counting, input
// delivery, the step and draw of each frame, presenting, and room changes.
//
// A frame starts 1 000 000 / speed µs after the start of the previous one (60
// frames a second when the speed is not positive); a frame that ran longer than
// that is followed by the next at once. While waiting, the loop keeps pumping
// input into the latches. `fps` is the number of frames started in the previous
// whole second of the clock (counted from the loop's start). The loop runs while
// the running flag is set; a Close event or an exhausted event source ends it as
// closing the window does ("###game_end###254").
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
};

void RunFrameLoop(const FrameLoopParts& parts);

// Frames counted in the last whole second, and the number of the last frame.
int FramesPerSecond();
int64_t CurrentFrameNumber();
void ResetFrameCounters();
