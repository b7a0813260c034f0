#include "platform/playback_platform.h"

#include <filesystem>

#include "platform/dialog_rules.h"
#include "platform/platform_clock.h"
#include "runtime/debug_output.h"

using AnswerKind = ScriptLine::AnswerKind;

PlaybackEventSource::PlaybackEventSource(std::shared_ptr<PlaybackSession> session,
                                         std::unique_ptr<EventSource> windowEvents)
    : session_(std::move(session)), windowEvents_(std::move(windowEvents)) {}

void PlaybackEventSource::Pump(int64_t frame, const std::function<void(const InputEvent&)>& deliver) {
  if (windowEvents_) {
    windowEvents_->Pump(frame, [&](const InputEvent& event) {
      if (event.type == InputEvent::Type::Close) deliver(event);
    });
  }
  session_->Pump(frame, deliver);
}

bool PlaybackEventSource::Exhausted() const { return session_->Exhausted(); }

int64_t PlaybackClock::MonotonicMicros() { return MonotonicMicrosNow(); }

int64_t PlaybackClock::WallClockSeconds() { return session_->WallClockSeconds(); }

void PlaybackDialogs::ShowMessage(const std::string&) { session_->TakeAnswer("show_message", {AnswerKind::Ok}); }

bool PlaybackDialogs::ShowQuestion(const std::string&) {
  return session_->TakeAnswer("show_question", {AnswerKind::Yes, AnswerKind::No}).kind == AnswerKind::Yes;
}

bool PlaybackDialogs::GetString(const std::string&, const std::string&, std::string& answer) {
  const PlaybackAnswer& given = session_->TakeAnswer("get_string", {AnswerKind::Text, AnswerKind::Cancel});
  answer = given.kind == AnswerKind::Text ? LimitInputText(given.text) : std::string();
  return given.kind == AnswerKind::Text;
}

// A file dialog returns full paths: a relative answer is taken from the current directory.
std::string PlaybackDialogs::TakeFile(const char* dialog) {
  const PlaybackAnswer& given = session_->TakeAnswer(dialog, {AnswerKind::File, AnswerKind::Cancel});
  if (given.kind == AnswerKind::Cancel || given.text.empty()) return "";
  std::error_code failed;
  std::filesystem::path full = std::filesystem::absolute(given.text, failed);
  return failed ? given.text : full.lexically_normal().string();
}

std::string PlaybackDialogs::GetOpenFilename(const std::string&, const std::string&) {
  return TakeFile("get_open_filename");
}

// As in the save chooser, a typed name gets the default extension of the filter
// (the first, which a chooser starts with).
std::string PlaybackDialogs::GetSaveFilename(const std::string& filter, const std::string&) {
  std::string path = TakeFile("get_save_filename");
  std::vector<FileFilter> filters = SplitFilter(filter);
  if (path.empty() || filters.empty()) return path;
  return WithDefaultExtension(path, DefaultExtension(filters.front()));
}

int PlaybackDialogs::ShowErrorDialog(const std::string&, bool) {
  DebugOutput("Playback: the Code Error dialog is answered Abort\n");
  return 1;
}

void ShotPresenter::Present(int64_t frame, const Image& picture, bool unchanged) {
  session_->TakeShots(frame, picture);
  inner_->Present(frame, picture, unchanged);
}
