// platform/playback_script.h — a whole input script, parsed up front so that every
// error surfaces before the game runs.
//
// Invariants of a parsed script: groups are in strictly increasing frame order
// and none is empty; answers and shots are in file order; endAfterFrame is the
// frame of the first `end`, or else the last `@N` of the file (0 when there is none).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/playback_format.h"

struct PlaybackGroup {
  int64_t frame = 0;
  std::vector<InputEvent> events;
};

struct PlaybackAnswer {
  ScriptLine::AnswerKind kind = ScriptLine::AnswerKind::Ok;
  std::string text;
  int line = 0;
};

struct PlaybackShot {
  int64_t frame = 0;
  std::string path;
  int line = 0;
};

struct PlaybackScript {
  std::optional<int64_t> clockStart;  // wall clock of frame 1, seconds since 1970 (UTC)
  std::vector<PlaybackGroup> groups;
  std::vector<PlaybackAnswer> answers;
  std::vector<PlaybackShot> shots;
  int64_t endAfterFrame = 0;
};

// Parses `text`; local times of the clock line are read in the TZ of the
// environment. On failure returns false with "line N: reason: text" in `error`.
bool ParsePlaybackScript(std::string_view text, PlaybackScript& script, std::string& error);

// Reads and parses the file; the error names the file as well.
bool LoadPlaybackScript(const std::string& path, PlaybackScript& script, std::string& error);

// Seconds since 1970 of a local time in the TZ of the environment.
int64_t LocalTimeToSeconds(const ScriptClock& clock);
