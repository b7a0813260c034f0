// platform/playback_platform.h — the platform interfaces served from a playback
// session: input events, the wall clock, dialog answers and shots of frames.
//
// All of them share one PlaybackSession; a failing answer or shot ends the
// process with kPlaybackFailureExitCode (see playback_session.h).
#pragma once

#include <memory>

#include "engine/platform.h"
#include "platform/playback_session.h"

// Events come from the script. With a real window, `windowEvents` keeps the
// window alive and its close button working: only its Close events are passed on.
class PlaybackEventSource : public EventSource {
 public:
  PlaybackEventSource(std::shared_ptr<PlaybackSession> session, std::unique_ptr<EventSource> windowEvents);
  void Pump(int64_t frame, const std::function<void(const InputEvent&)>& deliver) override;
  bool Exhausted() const override;

 private:
  std::shared_ptr<PlaybackSession> session_;
  std::unique_ptr<EventSource> windowEvents_;
};

// The monotonic clock is real (pacing needs it); the wall clock is the script's.
class PlaybackClock : public PlatformClock {
 public:
  explicit PlaybackClock(std::shared_ptr<PlaybackSession> session) : session_(std::move(session)) {}
  int64_t MonotonicMicros() override;
  int64_t WallClockSeconds() override;

 private:
  std::shared_ptr<PlaybackSession> session_;
};

// Dialogs take their answers from the script's queue; a save dialog's answer
// gets the default extension as in the save chooser. The error dialog takes no
// answer: it is answered Abort, with a line on the debug output.
class PlaybackDialogs : public DialogHost {
 public:
  explicit PlaybackDialogs(std::shared_ptr<PlaybackSession> session) : session_(std::move(session)) {}
  void ShowMessage(const std::string& text) override;
  bool ShowQuestion(const std::string& text) override;
  bool GetString(const std::string& prompt, const std::string& initial, std::string& answer) override;
  std::string GetOpenFilename(const std::string& filter, const std::string& name) override;
  std::string GetSaveFilename(const std::string& filter, const std::string& name) override;
  int ShowErrorDialog(const std::string& text, bool allowIgnore) override;
  void SetCaption(const std::string&) override {}

 private:
  std::string TakeFile(const char* dialog);

  std::shared_ptr<PlaybackSession> session_;
};

// Writes the script's shots from the presented frames, then presents them on.
class ShotPresenter : public FramePresenter {
 public:
  ShotPresenter(std::shared_ptr<PlaybackSession> session, std::unique_ptr<FramePresenter> inner)
      : session_(std::move(session)), inner_(std::move(inner)) {}
  void Present(int64_t frame, const Image& picture, bool unchanged) override;
  void SetCaption(const std::string& utf8) override { inner_->SetCaption(utf8); }
  bool Visible() const override { return inner_->Visible(); }
  void BringToFront() override { inner_->BringToFront(); }
  void SetIcon(const Image& picture) override { inner_->SetIcon(picture); }

 private:
  std::shared_ptr<PlaybackSession> session_;
  std::unique_ptr<FramePresenter> inner_;
};
