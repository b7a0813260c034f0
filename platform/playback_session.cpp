#include "platform/playback_session.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "graphics/png.h"
#include "runtime/debug_output.h"

void FailPlayback(const std::string& message) {
  std::fprintf(stderr, "Playback: %s\n", message.c_str());
  std::fflush(nullptr);
  std::_Exit(kPlaybackFailureExitCode);
}

PlaybackSession::PlaybackSession(PlaybackScript script, int gameSpeed)
    : script_(std::move(script)), gameSpeed_(gameSpeed > 0 ? gameSpeed : 60) {}

PlaybackSession::~PlaybackSession() {
  for (size_t i = nextShot_; i < script_.shots.size(); ++i)
    DebugOutput("Playback: shot %s of frame %lld (line %d) was not taken: the game ended before\n",
                script_.shots[i].path.c_str(), (long long)script_.shots[i].frame, script_.shots[i].line);
  // An answer no dialog took means a dialog the script expected never came: a
  // replay that passes over it would prove nothing about that dialog.
  if (nextAnswer_ < script_.answers.size())
    FailPlayback(std::to_string(script_.answers.size() - nextAnswer_) + " answer(s) left unused, the first on line " +
                 std::to_string(script_.answers[nextAnswer_].line));
}

void PlaybackSession::Pump(int64_t frame, const std::function<void(const InputEvent&)>& deliver) {
  if (exhausted_) return;
  frame_ = frame;
  for (; nextGroup_ < script_.groups.size() && script_.groups[nextGroup_].frame <= frame; ++nextGroup_) {
    if (script_.groups[nextGroup_].frame > script_.endAfterFrame) break;
    for (const InputEvent& event : script_.groups[nextGroup_].events) deliver(event);
  }
  if (frame >= script_.endAfterFrame) exhausted_ = true;
}

int64_t PlaybackSession::WallClockSeconds() const {
  if (!script_.clockStart) return int64_t(std::time(nullptr));
  int64_t elapsedFrames = frame_ > 1 ? frame_ - 1 : 0;
  return *script_.clockStart + elapsedFrames / gameSpeed_;
}

const PlaybackAnswer& PlaybackSession::TakeAnswer(const char* dialog,
                                                  std::initializer_list<ScriptLine::AnswerKind> accepted) {
  std::string expected;
  for (ScriptLine::AnswerKind kind : accepted)
    expected += std::string(expected.empty() ? "" : " or ") + AnswerKindName(kind);
  if (nextAnswer_ == script_.answers.size())
    FailPlayback(std::string("no answer left for the ") + dialog + " dialog (expected answer " + expected + ")");
  const PlaybackAnswer& answer = script_.answers[nextAnswer_++];
  for (ScriptLine::AnswerKind kind : accepted)
    if (answer.kind == kind) return answer;
  FailPlayback(std::string("the ") + dialog + " dialog got \"answer " + AnswerKindName(answer.kind) + "\" (line " +
               std::to_string(answer.line) + "), expected answer " + expected);
}

void PlaybackSession::TakeShots(int64_t frame, const Image& picture) {
  for (; nextShot_ < script_.shots.size() && script_.shots[nextShot_].frame <= frame; ++nextShot_) {
    const PlaybackShot& shot = script_.shots[nextShot_];
    std::error_code ignored;
    std::filesystem::path parent = std::filesystem::path(shot.path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ignored);
    std::string reason;
    if (!WritePng(shot.path, picture, &reason))
      FailPlayback("cannot write the shot " + shot.path + " (line " + std::to_string(shot.line) + "): " + reason);
  }
}
