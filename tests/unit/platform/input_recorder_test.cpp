#include "platform/input_recorder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>

#include "platform/cancelling_dialogs.h"

namespace {

using T = InputEvent::Type;

InputEvent Event(T type, int value = 0, int x = 0, int y = 0) {
  InputEvent event;
  event.type = type;
  event.key = event.button = event.wheelDelta = value;
  event.character = uint32_t(value);
  event.x = x;
  event.y = y;
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
};

// The record file says what the user did in the playback format; the scenarios'
// record-and-replay runs check that it plays back the same. Left out: what the
// format cannot carry, and moves overtaken by later moves of the same frame.
TEST(InputRecorder, RecordsFramesAnswersTheClockAndTheEnd) {
  setenv("TZ", "Europe/Warsaw", 1);
  tzset();
  std::string path = testing::TempDir() + "input_recorder_test.txt";
  {
    std::string error;
    std::shared_ptr<InputRecorder> recorder = InputRecorder::Open(path, 1715585400, error);
    ASSERT_TRUE(recorder) << error;
    auto scripted = std::make_unique<ScriptedSource>();
    scripted->frames = {
        {2, {Event(T::MouseMove, 0, 1, 1), Event(T::MouseMove, 0, 5, 5), Event(T::MouseMove, 0, 100, 250)}},
        {3, {Event(T::ButtonDown, 1, 100, 250), Event(T::Character, 'a'), Event(T::ButtonUp, 1, 100, 250)}},
        {4, {Event(T::ButtonDown, 2, 300, 40), Event(T::Activate), Event(T::ButtonUp, 2, 301, 41)}},
        {7, {Event(T::KeyDown, 27), Event(T::KeyUp, 27), Event(T::Wheel, 120), Event(T::Wheel, -120)}},
        {9, {Event(T::Close)}}};
    RecordingEventSource source(recorder, std::move(scripted));
    RecordingDialogs dialogs(recorder, std::make_unique<FixedDialogs>());
    std::string answer;
    EXPECT_TRUE(dialogs.ShowQuestion("q"));  // before the first frame
    for (int64_t frame = 1; frame <= 10; ++frame) {
      source.Pump(frame, [](const InputEvent&) {});
      if (frame != 5) continue;
      EXPECT_TRUE(dialogs.GetString("p", "d", answer));
      EXPECT_EQ(dialogs.GetSaveFilename("*.csv|*.csv", "x"), "/tmp/out file.csv");
      EXPECT_EQ(dialogs.GetOpenFilename("", ""), "");
      dialogs.ShowMessage("m");
    }
    EXPECT_EQ(dialogs.ShowErrorDialog("e", false), 1);  // passed on, not recorded
  }
  std::ifstream file(path);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}),
            "kalvora-input 1\nclock 2024-05-13 09:30:00\nanswer yes\n"
            "@2\nmove 100 250\n"
            "@3\npress left\nrelease left\n"
            "@4\nmove 300 40\npress right\nmove 301 41\nrelease right\n"
            "answer text \"a \\\"quoted\\\"\\nline\"\nanswer file \"/tmp/out file.csv\"\nanswer cancel\nanswer ok\n"
            "@7\nkeydown 27\nkeyup 27\nwheel up\nwheel down\n"
            "@9\nclose\n@10\nend\n");
}

}  // namespace
