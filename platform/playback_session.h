// platform/playback_session.h — a running playback: the parsed script and how far
// the game has got through it. The playback pieces of the platform (events, clock,
// dialogs, shots) share one session.
//
// Invariants: groups, answers and shots are each consumed in order and never
// twice; once endAfterFrame has been pumped the session is exhausted and
// delivers nothing more. The end of a script is not a close of the window: only
// the script's `close` lines deliver a Close.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "platform/playback_script.h"

struct Image;

// The process exit code of a failed playback (bad script, missing or wrong answer,
// answers left unused when the session ends, a shot that cannot be written).
inline constexpr int kPlaybackFailureExitCode = 3;

// Writes "Playback: <message>" to standard error and ends the process with
// kPlaybackFailureExitCode.
[[noreturn]] void FailPlayback(const std::string& message);

class PlaybackSession {
 public:
  PlaybackSession(PlaybackScript script, int gameSpeed);
  // Logs shots never taken; answers never used fail the playback (the process
  // ends with kPlaybackFailureExitCode, naming the first unused answer's line).
  ~PlaybackSession();
  PlaybackSession(const PlaybackSession&) = delete;
  PlaybackSession& operator=(const PlaybackSession&) = delete;

  // Delivers the events of every group up to `frame` (none after
  // endAfterFrame); the session is exhausted once endAfterFrame had its input.
  void Pump(int64_t frame, const std::function<void(const InputEvent&)>& deliver);
  bool Exhausted() const { return exhausted_; }

  // The script's clock during the current frame, or the real clock without one.
  int64_t WallClockSeconds() const;

  // The next answer, which must be one of `accepted`; otherwise the playback fails
  // with a message naming `dialog` (and the answer's line).
  const PlaybackAnswer& TakeAnswer(const char* dialog, std::initializer_list<ScriptLine::AnswerKind> accepted);

  // Writes the shots due by `frame` from `picture`; a shot that cannot be written
  // fails the playback.
  void TakeShots(int64_t frame, const Image& picture);

 private:
  PlaybackScript script_;
  int gameSpeed_;
  int64_t frame_ = 1;
  size_t nextGroup_ = 0;
  size_t nextAnswer_ = 0;
  size_t nextShot_ = 0;
  bool exhausted_ = false;
};
