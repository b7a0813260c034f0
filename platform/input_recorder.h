// platform/input_recorder.h — recording a session as an input script that
// playback can replay: the header and the start time, then for each frame that
// had input an @N group of what the user did, and one answer line per dialog in
// the order they were answered. On destruction the recording ends with an `end`
// after the last frame the game ran.
//
// What the script cannot say is left out: typed characters, focus changes,
// buttons 4 and 5, auto-repeats, and the error dialog's answer. Each frame's
// group is flushed to the file as it is written, so a crash loses nothing.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/platform.h"
#include "platform/playback_format.h"

class InputRecorder {
 public:
  // Creates the file and writes its head; null with a reason when it cannot.
  // `startSeconds` is the wall clock at frame 1 (written as local time).
  static std::unique_ptr<InputRecorder> Open(const std::string& path, int64_t startSeconds, std::string& error);
  ~InputRecorder();
  InputRecorder(const InputRecorder&) = delete;
  InputRecorder& operator=(const InputRecorder&) = delete;

  // The input delivered before frame `frame`'s input update.
  void RecordFrame(int64_t frame, const std::vector<InputEvent>& events);
  void RecordAnswer(ScriptLine::AnswerKind kind, const std::string& text = "");

 private:
  explicit InputRecorder(FILE* file) : file_(file) {}
  void WriteLine(const ScriptLine& line);
  void WriteFrameHeader(int64_t frame);

  FILE* file_;
  int64_t lastFrame_ = 0;     // the last frame pumped
  int64_t writtenFrame_ = 0;  // the frame of the last @N written
  ScriptPointer pointer_;     // where playback will think the pointer is
};

// Passes the events of `inner` on and records them.
class RecordingEventSource : public EventSource {
 public:
  RecordingEventSource(std::shared_ptr<InputRecorder> recorder, std::unique_ptr<EventSource> inner)
      : recorder_(std::move(recorder)), inner_(std::move(inner)) {}
  void Pump(int64_t frame, const std::function<void(const InputEvent&)>& deliver) override;
  bool Exhausted() const override { return inner_->Exhausted(); }

 private:
  std::shared_ptr<InputRecorder> recorder_;
  std::unique_ptr<EventSource> inner_;
  std::vector<InputEvent> frameEvents_;
};

// Passes the dialogs on to `inner` and records their answers.
class RecordingDialogs : public DialogHost {
 public:
  RecordingDialogs(std::shared_ptr<InputRecorder> recorder, std::unique_ptr<DialogHost> inner)
      : recorder_(std::move(recorder)), inner_(std::move(inner)) {}
  void ShowMessage(const std::string& text) override;
  bool ShowQuestion(const std::string& text) override;
  bool GetString(const std::string& prompt, const std::string& initial, std::string& answer) override;
  std::string GetOpenFilename(const std::string& filter, const std::string& name) override;
  std::string GetSaveFilename(const std::string& filter, const std::string& name) override;
  int ShowErrorDialog(const std::string& text, bool allowIgnore) override {
    return inner_->ShowErrorDialog(text, allowIgnore);
  }
  void SetCaption(const std::string& utf8) override { inner_->SetCaption(utf8); }

 private:
  std::string RecordFile(const std::string& path);

  std::shared_ptr<InputRecorder> recorder_;
  std::unique_ptr<DialogHost> inner_;
};
