#include "platform/playback_platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "graphics/image.h"
#include "graphics/png.h"
#include "platform/event_text.h"

namespace {

std::shared_ptr<PlaybackSession> Session(const std::string& text, int speed = 60) {
  PlaybackScript script;
  std::string error;
  EXPECT_TRUE(ParsePlaybackScript(text, script, error)) << error;
  return std::make_shared<PlaybackSession>(std::move(script), speed);
}

// What the source gives at each of `frames`, one "frame: events" line each,
// ending in "done" once the source is exhausted.
std::string PumpFrames(EventSource& source, std::initializer_list<int64_t> frames) {
  std::string out;
  for (int64_t frame : frames) {
    out += std::to_string(frame) + ":";
    source.Pump(frame, [&](const InputEvent& event) { out += " " + EventText(event); });
    out += source.Exhausted() ? " done\n" : "\n";
  }
  return out;
}

// A stand-in for the window's own event source.
class FakeWindowEvents : public EventSource {
 public:
  std::vector<InputEvent> pending;
  void Pump(int64_t, const std::function<void(const InputEvent&)>& deliver) override {
    for (const InputEvent& event : pending) deliver(event);
    pending.clear();
  }
};

// Events come once, at their frame or the first frame after it; the source is
// exhausted (no Close is made up) after the last frame or the first `end`.
TEST(PlaybackPlatform, EventsArriveOnceAtTheirFrameUntilTheScriptEnds) {
  PlaybackEventSource plain(Session("kalvora-input 1\n@2\nkeydown 27\n@4\nkeyup 27\nmove 5 6\n"), nullptr);
  EXPECT_EQ(PumpFrames(plain, {1, 2, 2, 3, 4, 5}), "1:\n2: down 27\n2:\n3:\n4: up 27 move 5,6 done\n5: done\n");
  PlaybackEventSource ended(Session("kalvora-input 1\n@2\nclick 1 1\n@3\nwheel up\nend\n@8\nkeydown 65\n"), nullptr);
  EXPECT_EQ(PumpFrames(ended, {3, 8}), "3: move 1,1 press 1 1,1 release 1 1,1 wheel 120 done\n8: done\n");

  auto window = std::make_unique<FakeWindowEvents>();
  InputEvent key, close;
  key.type = InputEvent::Type::KeyDown;
  close.type = InputEvent::Type::Close;
  window->pending = {key, close};
  PlaybackEventSource withWindow(Session("kalvora-input 1\n@100\n"), std::move(window));
  EXPECT_EQ(PumpFrames(withWindow, {1}), "1: close\n");  // of the window's input, only its close button
}

TEST(PlaybackPlatform, ClockAdvancesOneSecondPerGameSpeedFrames) {
  setenv("TZ", "Europe/Warsaw", 1);
  tzset();
  auto session = Session("kalvora-input 1\nclock 2024-05-13 09:30:00\n@200\n", 30);
  PlaybackEventSource source(session, nullptr);
  PlaybackClock clock(session);
  const int64_t start = 1715585400;
  for (auto [frame, seconds] : {std::pair{0, 0}, {1, 0}, {30, 0}, {31, 1}, {121, 4}}) {
    if (frame > 0) PumpFrames(source, {frame});
    EXPECT_EQ(clock.WallClockSeconds(), start + seconds) << frame;
  }
  PlaybackClock real(Session("kalvora-input 1\n@1\n"));
  EXPECT_LE(std::abs(real.WallClockSeconds() - int64_t(std::time(nullptr))), 1);
}

// The scenarios answer every other dialog from their scripts.
TEST(PlaybackPlatform, TheCodeErrorDialogTakesNoAnswer) {
  PlaybackDialogs dialogs(Session("kalvora-input 1\nanswer cancel\n"));
  EXPECT_EQ(dialogs.ShowErrorDialog("boom", true), 1);
  std::string answer = "old";
  EXPECT_FALSE(dialogs.GetString("Data:", "01.01.2024", answer));  // the cancel is the prompt's
  EXPECT_EQ(answer, "");
}

class CountingPresenter : public FramePresenter {
 public:
  int presented = 0;
  void Present(int64_t, const Image&, bool) override { ++presented; }
  void SetCaption(const std::string&) override {}
};

// A shot is the picture of its frame, or of the next one presented when its own was skipped.
TEST(PlaybackPlatform, ShotsAreWrittenAfterTheirFrame) {
  std::string folder = testing::TempDir() + "kalvora_shots/";
  std::filesystem::remove_all(folder);
  auto inner = std::make_unique<CountingPresenter>();
  CountingPresenter* counter = inner.get();
  ShotPresenter presenter(
      Session("kalvora-input 1\n@2\nshot \"" + folder + "two.png\"\n@4\nshot \"" + folder + "sub/four.png\"\n"),
      std::move(inner));
  Image first(3, 2, 0xFF000000), second(3, 2, 0xFF102030), read;
  presenter.Present(1, first, false);
  EXPECT_FALSE(std::filesystem::exists(folder + "two.png"));
  presenter.Present(2, second, false);
  presenter.Present(5, first, true);
  EXPECT_EQ(counter->presented, 3);
  ASSERT_TRUE(ReadPng(folder + "two.png", read));
  EXPECT_EQ(read.pixels, second.pixels);
  ASSERT_TRUE(ReadPng(folder + "sub/four.png", read));
  EXPECT_EQ(read.pixels, first.pixels);
}

// A wrong, missing or unused answer, or a shot that cannot be written, ends the run with code 3.
TEST(PlaybackPlatformDeathTest, AScriptThatDoesNotFitTheRunEndsWithCode3) {
  std::string answer;
  struct Row {
    const char* script;
    std::function<void(PlaybackDialogs&)> ask;
    const char* message;
  };
  for (const Row& row : std::initializer_list<Row>{
           {"@1\nanswer yes\n", [](PlaybackDialogs& d) { d.ShowMessage("x"); },
            "the show_message dialog got \"answer yes\" \\(line 3\\), expected answer ok"},
           {"answer ok\n", [&](PlaybackDialogs& d) { d.GetString("p", "d", answer); },
            "the get_string dialog got \"answer ok\" \\(line 2\\), expected answer text or cancel"},
           {"answer text \"a\"\n", [](PlaybackDialogs& d) { d.GetOpenFilename("", ""); },
            "get_open_filename dialog got \"answer text\" \\(line 2\\), expected answer file or cancel"},
           {"answer yes\n", [](PlaybackDialogs& d) { d.ShowQuestion("q"), d.ShowQuestion("q"); },
            "no answer left for the show_question dialog \\(expected answer yes or no\\)"},
           {"", [](PlaybackDialogs& d) { d.GetSaveFilename("", ""); },
            "no answer left for the get_save_filename dialog"},
           {"answer yes\n@4\nanswer ok\nanswer no\n", [](PlaybackDialogs& d) { d.ShowQuestion("q"); },
            "2 answer\\(s\\) left unused, the first on line 4"}})
    EXPECT_EXIT(
        {
          PlaybackDialogs dialogs(Session(std::string("kalvora-input 1\n") + row.script));
          row.ask(dialogs);
        },
        testing::ExitedWithCode(3), row.message);

  std::string blocker = testing::TempDir() + "kalvora_not_a_folder";
  std::ofstream(blocker) << "x";
  EXPECT_EXIT(
      {
        ShotPresenter presenter(Session("kalvora-input 1\n@1\nshot \"" + blocker + "/a.png\"\n"),
                                std::make_unique<CountingPresenter>());
        presenter.Present(1, Image(2, 2), false);
      },
      testing::ExitedWithCode(3), "cannot write the shot .*kalvora_not_a_folder/a.png \\(line 3\\)");
}

}  // namespace
