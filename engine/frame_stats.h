// engine/frame_stats.h — an optional timing log of the frame loop, for the
// benchmarks: when the environment variable KALVORA_FRAME_STATS names a file,
// one line per frame is written to it:
//
//   <frame> <room> <lateness µs> <work µs> <wall clock µs> <CPU µs>
//
// room: the room the frame started in; lateness: how long after its deadline
// (the previous frame's start plus the frame period) the frame started, negative
// when it started early (headless frames do not wait); work: from the frame's
// start to the end of its room change, step, draw and present included; wall
// clock: microseconds since 1970 at the frame's end; CPU: the processor time the
// process used during the work (on a busy machine the work takes longer than
// that). Off by default; when off it costs one test per frame.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>

class FrameStats {
 public:
  FrameStats();
  ~FrameStats();
  FrameStats(const FrameStats&) = delete;
  FrameStats& operator=(const FrameStats&) = delete;

  bool Enabled() const { return file_ != nullptr; }
  // Called when the frame's work starts, then when it ends.
  void StartWork();
  void Record(int64_t frame, int32_t room, int64_t latenessMicros, int64_t workMicros);

 private:
  std::FILE* file_ = nullptr;
  std::clock_t workStart_ = 0;
};
