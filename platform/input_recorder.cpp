#include "platform/input_recorder.h"

#include <cerrno>
#include <cstring>
#include <ctime>

using Kind = ScriptLine::Kind;
using AnswerKind = ScriptLine::AnswerKind;

namespace {

ScriptLine LineOfKind(Kind kind, int64_t number = 0) {
  ScriptLine line;
  line.kind = kind;
  line.number = number;
  return line;
}

ScriptLine ClockLine(int64_t seconds) {
  time_t time = time_t(seconds);
  std::tm local{};
  localtime_r(&time, &local);
  ScriptLine line = LineOfKind(Kind::Clock);
  line.clock = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
  return line;
}

// A move followed by another move before anything else happened adds nothing.
bool IsOvertaken(const std::vector<InputEvent>& events, size_t i) {
  return events[i].type == InputEvent::Type::MouseMove && i + 1 < events.size() &&
         events[i + 1].type == InputEvent::Type::MouseMove;
}

}  // namespace

std::unique_ptr<InputRecorder> InputRecorder::Open(const std::string& path, int64_t startSeconds, std::string& error) {
  FILE* file = std::fopen(path.c_str(), "w");
  if (!file) {
    error = "cannot create the record file " + path + ": " + std::strerror(errno);
    return nullptr;
  }
  std::unique_ptr<InputRecorder> recorder(new InputRecorder(file));
  recorder->WriteLine(LineOfKind(Kind::Header, kScriptVersion));
  recorder->WriteLine(ClockLine(startSeconds));
  std::fflush(file);
  return recorder;
}

InputRecorder::~InputRecorder() {
  WriteFrameHeader(lastFrame_ > 0 ? lastFrame_ : 1);
  WriteLine(LineOfKind(Kind::End));
  std::fclose(file_);
}

void InputRecorder::WriteLine(const ScriptLine& line) {
  std::string text = FormatScriptLine(line) + "\n";
  std::fwrite(text.data(), 1, text.size(), file_);
}

void InputRecorder::WriteFrameHeader(int64_t frame) {
  if (frame <= writtenFrame_) return;
  WriteLine(LineOfKind(Kind::Frame, frame));
  writtenFrame_ = frame;
}

void InputRecorder::RecordFrame(int64_t frame, const std::vector<InputEvent>& events) {
  if (frame > lastFrame_) lastFrame_ = frame;
  for (size_t i = 0; i < events.size(); ++i) {
    ScriptLine line;
    if (IsOvertaken(events, i) || !ScriptLineForEvent(events[i], line)) continue;
    const InputEvent& event = events[i];
    bool isButton = event.type == InputEvent::Type::ButtonDown || event.type == InputEvent::Type::ButtonUp;
    bool pointerMoved = event.x != pointer_.x || event.y != pointer_.y;
    if (line.kind == Kind::Move && !pointerMoved) continue;
    WriteFrameHeader(frame);
    if (isButton && pointerMoved) {
      ScriptLine move = LineOfKind(Kind::Move);
      move.x = event.x;
      move.y = event.y;
      WriteLine(move);
    }
    if (line.kind == Kind::Move || isButton) pointer_ = {event.x, event.y};
    WriteLine(line);
  }
  std::fflush(file_);
}

void InputRecorder::RecordAnswer(AnswerKind kind, const std::string& text) {
  ScriptLine line = LineOfKind(Kind::Answer);
  line.answer = kind;
  line.text = text;
  WriteLine(line);
  std::fflush(file_);
}

void RecordingEventSource::Pump(int64_t frame, const std::function<void(const InputEvent&)>& deliver) {
  frameEvents_.clear();
  inner_->Pump(frame, [&](const InputEvent& event) {
    frameEvents_.push_back(event);
    deliver(event);
  });
  recorder_->RecordFrame(frame, frameEvents_);
}

void RecordingDialogs::ShowMessage(const std::string& text) {
  inner_->ShowMessage(text);
  recorder_->RecordAnswer(AnswerKind::Ok);
}

bool RecordingDialogs::ShowQuestion(const std::string& text) {
  bool yes = inner_->ShowQuestion(text);
  recorder_->RecordAnswer(yes ? AnswerKind::Yes : AnswerKind::No);
  return yes;
}

bool RecordingDialogs::GetString(const std::string& prompt, const std::string& initial, std::string& answer) {
  bool given = inner_->GetString(prompt, initial, answer);
  recorder_->RecordAnswer(given ? AnswerKind::Text : AnswerKind::Cancel, answer);
  return given;
}

std::string RecordingDialogs::RecordFile(const std::string& path) {
  recorder_->RecordAnswer(path.empty() ? AnswerKind::Cancel : AnswerKind::File, path);
  return path;
}

std::string RecordingDialogs::GetOpenFilename(const std::string& filter, const std::string& name) {
  return RecordFile(inner_->GetOpenFilename(filter, name));
}

std::string RecordingDialogs::GetSaveFilename(const std::string& filter, const std::string& name) {
  return RecordFile(inner_->GetSaveFilename(filter, name));
}
