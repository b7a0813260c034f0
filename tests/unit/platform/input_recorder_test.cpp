#include "platform/input_recorder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/cancelling_dialogs.h"
#include "platform/playback_platform.h"
#include "platform/playback_script.h"

namespace {

InputEvent Event(InputEvent::Type type, int a = 0, int b = 0, int c = 0) {
  InputEvent event;
  event.type = type;
  switch (type) {
    case InputEvent::Type::KeyDown:
    case InputEvent::Type::KeyUp: event.key = a; break;
    case InputEvent::Type::ButtonDown:
    case InputEvent::Type::ButtonUp:
      event.button = a;
      event.x = b;
      event.y = c;
      break;
    case InputEvent::Type::MouseMove:
      event.x = a;
      event.y = b;
      break;
    case InputEvent::Type::Wheel: event.wheelDelta = a; break;
    case InputEvent::Type::Character: event.character = uint32_t(a); break;
    default: break;
  }
  return event;
}

// Gives a fixed list of events per frame.
class ScriptedSource : public EventSource {
 public:
  std::map<int64_t, std::vector<InputEvent>> frames;
  void Pump(int64_t frame, const std::function<void(const InputEvent&)>& deliver) override {
    for (const InputEvent& event : frames[frame]) deliver(event);
  }
};

// Answers dialogs from fixed values.
class FixedDialogs : public CancellingDialogs {
 public:
  bool ShowQuestion(const std::string&) override { return true; }
  bool GetString(const std::string&, const std::string&, std::string& answer) override {
    answer = "a \"quoted\"\nline";
    return true;
  }
  std::string GetSaveFilename(const std::string&, const std::string&) override { return "/tmp/out file.csv"; }
  void ShowMessage(const std::string&) override {}
  std::string GetOpenFilename(const std::string&, const std::string&) override { return ""; }
};

bool SameEvent(const InputEvent& a, const InputEvent& b) {
  return a.type == b.type && a.key == b.key && a.button == b.button && a.x == b.x && a.y == b.y &&
         (a.wheelDelta > 0) == (b.wheelDelta > 0);
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(InputRecorder, WhatIsRecordedPlaysBackTheSame) {
  setenv("TZ", "Europe/Warsaw", 1);
  tzset();
  std::string path = testing::TempDir() + "input_recorder_test.txt";
  using T = InputEvent::Type;
  std::map<int64_t, std::vector<InputEvent>> frames = {
      {2, {Event(T::MouseMove, 1, 1), Event(T::MouseMove, 5, 5), Event(T::MouseMove, 100, 250)}},
      {3, {Event(T::ButtonDown, 1, 100, 250), Event(T::Character, 'a'), Event(T::ButtonUp, 1, 100, 250)}},
      {4, {Event(T::ButtonDown, 2, 300, 40), Event(T::Activate), Event(T::ButtonUp, 2, 301, 41)}},
      {7, {Event(T::KeyDown, 27), Event(T::KeyUp, 27), Event(T::Wheel, 120), Event(T::Wheel, -120)}},
      {9, {Event(T::Close)}},
  };
  std::vector<std::pair<int64_t, InputEvent>> delivered;
  {
    std::string error;
    std::shared_ptr<InputRecorder> recorder = InputRecorder::Open(path, 1715585400, error);
    ASSERT_TRUE(recorder) << error;
    auto scripted = std::make_unique<ScriptedSource>();
    scripted->frames = frames;
    RecordingEventSource source(recorder, std::move(scripted));
    RecordingDialogs dialogs(recorder, std::make_unique<FixedDialogs>());
    dialogs.SetCaption("Kalvora");
    EXPECT_TRUE(dialogs.ShowQuestion("q"));  // before the first frame
    for (int64_t frame = 1; frame <= 9; ++frame) {
      source.Pump(frame, [&](const InputEvent& event) { delivered.emplace_back(frame, event); });
      if (frame == 5) {
        std::string answer;
        EXPECT_TRUE(dialogs.GetString("p", "d", answer));
        EXPECT_EQ(dialogs.GetSaveFilename("*.csv|*.csv", "x"), "/tmp/out file.csv");
        EXPECT_EQ(dialogs.GetOpenFilename("", ""), "");
        dialogs.ShowMessage("m");
      }
    }
    EXPECT_EQ(dialogs.ShowErrorDialog("e", false), 1);  // passed on, not recorded
  }
  EXPECT_EQ(ReadFile(path),
            "kalvora-input 1\n"
            "clock 2024-05-13 09:30:00\n"
            "answer yes\n"
            "@2\nmove 100 250\n"
            "@3\npress left\nrelease left\n"
            "@4\nmove 300 40\npress right\nmove 301 41\nrelease right\n"
            "answer text \"a \\\"quoted\\\"\\nline\"\n"
            "answer file \"/tmp/out file.csv\"\n"
            "answer cancel\n"
            "answer ok\n"
            "@7\nkeydown 27\nkeyup 27\nwheel up\nwheel down\n"
            "@9\nclose\nend\n");

  PlaybackScript script;
  std::string error;
  ASSERT_TRUE(LoadPlaybackScript(path, script, error)) << error;
  auto session = std::make_shared<PlaybackSession>(std::move(script), 60);
  PlaybackEventSource replay(session, nullptr);
  std::vector<std::pair<int64_t, InputEvent>> replayed;
  for (int64_t frame = 1; frame <= 9; ++frame)
    replay.Pump(frame, [&](const InputEvent& event) { replayed.emplace_back(frame, event); });
  // What the format cannot carry, and moves overtaken by other moves, are left out.
  std::vector<std::pair<int64_t, InputEvent>> expected;
  for (const auto& [frame, event] : delivered) {
    bool sayable = event.type != T::Character && event.type != T::Activate;
    bool overtaken = frame == 2 && event.x != 100;
    if (sayable && !overtaken) expected.emplace_back(frame, event);
  }
  ASSERT_EQ(replayed.size(), expected.size() + 2);  // the two moves written before the right button
  size_t e = 0;
  for (const auto& [frame, event] : replayed) {
    if (event.type == T::MouseMove && frame == 4) continue;
    ASSERT_LT(e, expected.size());
    EXPECT_EQ(frame, expected[e].first);
    EXPECT_TRUE(SameEvent(event, expected[e].second)) << "event " << e;
    ++e;
  }
  PlaybackDialogs answers(session);
  PlaybackClock clock(session);
  EXPECT_EQ(clock.WallClockSeconds(), 1715585400 + 8 / 60);
  EXPECT_TRUE(answers.ShowQuestion("q"));
  std::string answer;
  EXPECT_TRUE(answers.GetString("p", "d", answer));
  EXPECT_EQ(answer, "a \"quoted\"\nline");
  EXPECT_EQ(answers.GetSaveFilename("", ""), "/tmp/out file.csv");
  EXPECT_EQ(answers.GetOpenFilename("", ""), "");
  answers.ShowMessage("m");
}

TEST(InputRecorder, EndsAfterTheLastFrameAndReportsUnwritableFiles) {
  std::string path = testing::TempDir() + "input_recorder_end.txt";
  {
    std::string error;
    std::shared_ptr<InputRecorder> recorder = InputRecorder::Open(path, 0, error);
    ASSERT_TRUE(recorder);
    RecordingEventSource source(recorder, std::make_unique<ScriptedSource>());
    for (int64_t frame = 1; frame <= 42; ++frame) source.Pump(frame, [](const InputEvent&) {});
  }
  std::string text = ReadFile(path);
  EXPECT_NE(text.find("\n@42\nend\n"), std::string::npos) << text;
  PlaybackScript script;
  std::string error;
  ASSERT_TRUE(LoadPlaybackScript(path, script, error)) << error;
  EXPECT_EQ(script.endAfterFrame, 42);

  EXPECT_EQ(InputRecorder::Open(testing::TempDir() + "no/such/folder/rec.txt", 0, error), nullptr);
  EXPECT_NE(error.find("cannot create the record file"), std::string::npos);
}

}  // namespace
