#include "platform/playback_platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "graphics/image.h"
#include "graphics/png.h"

namespace {

std::shared_ptr<PlaybackSession> Session(const std::string& text, int speed = 60) {
  PlaybackScript script;
  std::string error;
  EXPECT_TRUE(ParsePlaybackScript(text, script, error)) << error;
  return std::make_shared<PlaybackSession>(std::move(script), speed);
}

std::vector<InputEvent> Pump(EventSource& source, int64_t frame) {
  std::vector<InputEvent> events;
  source.Pump(frame, [&](const InputEvent& event) { events.push_back(event); });
  return events;
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

// The end of a script is no close of the window: the source is exhausted
// once the last frame had its input, and no Close is delivered.
TEST(PlaybackPlatform, EventsArriveAtTheirFrameAndTheLastFrameExhaustsTheSource) {
  PlaybackEventSource source(Session("kalvora-input 1\n@2\nkeydown 27\n@4\nkeyup 27\nmove 5 6\n"), nullptr);
  EXPECT_TRUE(Pump(source, 1).empty());
  std::vector<InputEvent> second = Pump(source, 2);
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(second[0].type, InputEvent::Type::KeyDown);
  EXPECT_TRUE(Pump(source, 2).empty());  // delivered once only
  EXPECT_TRUE(Pump(source, 3).empty());
  EXPECT_FALSE(source.Exhausted());
  EXPECT_EQ(Pump(source, 4).size(), 2u);
  EXPECT_TRUE(source.Exhausted());
  EXPECT_TRUE(Pump(source, 5).empty());
}

TEST(PlaybackPlatform, EndStopsAfterItsFrameAndSkippedFramesCatchUp) {
  PlaybackEventSource source(Session("kalvora-input 1\n@2\nclick 1 1\n@3\nwheel up\nend\n@8\nkeydown 65\n"), nullptr);
  EXPECT_EQ(Pump(source, 3).size(), 4u);  // frames 2 and 3 together
  EXPECT_TRUE(source.Exhausted());
  EXPECT_TRUE(Pump(source, 8).empty());
}

TEST(PlaybackPlatform, WindowPassesOnlyItsCloseButton) {
  auto window = std::make_unique<FakeWindowEvents>();
  FakeWindowEvents* fake = window.get();
  PlaybackEventSource source(Session("kalvora-input 1\n@100\n"), std::move(window));
  InputEvent key;
  key.type = InputEvent::Type::KeyDown;
  key.key = 65;
  InputEvent close;
  close.type = InputEvent::Type::Close;
  fake->pending = {key, close};
  std::vector<InputEvent> events = Pump(source, 1);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].type, InputEvent::Type::Close);
  EXPECT_FALSE(source.Exhausted());
}

TEST(PlaybackPlatform, ClockAdvancesOneSecondPerGameSpeedFrames) {
  setenv("TZ", "Europe/Warsaw", 1);
  tzset();
  auto session = Session("kalvora-input 1\nclock 2024-05-13 09:30:00\n@200\n", 30);
  PlaybackEventSource source(session, nullptr);
  PlaybackClock clock(session);
  const int64_t start = 1715585400;
  EXPECT_EQ(clock.WallClockSeconds(), start);  // before the first frame: frame 1's time
  Pump(source, 1);
  EXPECT_EQ(clock.WallClockSeconds(), start);
  Pump(source, 30);
  EXPECT_EQ(clock.WallClockSeconds(), start);  // (30 - 1) / 30 rounds down
  Pump(source, 31);
  EXPECT_EQ(clock.WallClockSeconds(), start + 1);
  Pump(source, 121);
  EXPECT_EQ(clock.WallClockSeconds(), start + 4);
  int64_t before = clock.MonotonicMicros();
  EXPECT_GE(clock.MonotonicMicros(), before);

  PlaybackClock real(Session("kalvora-input 1\n@1\n"));
  int64_t now = int64_t(std::time(nullptr));
  EXPECT_LE(std::abs(real.WallClockSeconds() - now), 1);
}

TEST(PlaybackPlatform, DialogsTakeAnswersInFileOrder) {
  PlaybackDialogs dialogs(
      Session("kalvora-input 1\nanswer ok\nanswer yes\n@5\nanswer no\nanswer text \"nowa wartość\"\nanswer cancel\n"
              "answer file \"/tmp/kopia.vtab\"\nanswer file \"sub/../out.csv\"\nanswer cancel\n"));
  dialogs.ShowMessage("Zapisano");
  EXPECT_TRUE(dialogs.ShowQuestion("Usunąć?"));
  EXPECT_FALSE(dialogs.ShowQuestion("Usunąć?"));
  std::string answer = "old";
  EXPECT_TRUE(dialogs.GetString("Data:", "01.01.2024", answer));
  EXPECT_EQ(answer, "nowa wartość");
  EXPECT_FALSE(dialogs.GetString("Data:", "01.01.2024", answer));
  EXPECT_EQ(answer, "");
  EXPECT_EQ(dialogs.GetOpenFilename("*.vtab|*.vtab", "Kopia_Bazy"), "/tmp/kopia.vtab");
  EXPECT_EQ(dialogs.GetSaveFilename("*.csv|*.csv", "Tabela"), (std::filesystem::current_path() / "out.csv").string());
  EXPECT_EQ(dialogs.GetSaveFilename("", ""), "");
  EXPECT_EQ(dialogs.ShowErrorDialog("boom", true), 1);  // takes no answer
}

TEST(PlaybackPlatform, LongTextAnswersAreLimited) {
  PlaybackDialogs dialogs(Session("kalvora-input 1\nanswer text \"" + std::string(5000, 'a') + "\"\n"));
  std::string answer;
  ASSERT_TRUE(dialogs.GetString("", "", answer));
  EXPECT_EQ(answer.size(), 4096u);
}

TEST(PlaybackPlatformDeathTest, AWrongMissingOrUnusedAnswerEndsWithCode3) {
  EXPECT_EXIT(
      {
        PlaybackDialogs dialogs(Session("kalvora-input 1\n@1\nanswer yes\n"));
        dialogs.ShowMessage("x");
      },
      testing::ExitedWithCode(3), "the show_message dialog got \"answer yes\" \\(line 3\\), expected answer ok");
  EXPECT_EXIT(
      {
        PlaybackDialogs dialogs(Session("kalvora-input 1\nanswer ok\n"));
        std::string answer;
        dialogs.GetString("p", "d", answer);
      },
      testing::ExitedWithCode(3),
      "the get_string dialog got \"answer ok\" \\(line 2\\), expected answer text or cancel");
  EXPECT_EXIT(
      {
        PlaybackDialogs dialogs(Session("kalvora-input 1\nanswer text \"a\"\n"));
        dialogs.GetOpenFilename("", "");
      },
      testing::ExitedWithCode(3),
      "get_open_filename dialog got \"answer text\" \\(line 2\\), expected answer file or cancel");
  EXPECT_EXIT(
      {
        PlaybackDialogs dialogs(Session("kalvora-input 1\nanswer yes\n"));
        dialogs.ShowQuestion("q");
        dialogs.ShowQuestion("q");
      },
      testing::ExitedWithCode(3), "no answer left for the show_question dialog \\(expected answer yes or no\\)");
  EXPECT_EXIT(
      {
        PlaybackDialogs dialogs(Session("kalvora-input 1\n"));
        dialogs.GetSaveFilename("", "");
      },
      testing::ExitedWithCode(3), "no answer left for the get_save_filename dialog");
  // An answer no dialog took: the dialog the script expected never came.
  EXPECT_EXIT(
      {
        Session("kalvora-input 1\nanswer yes\n@4\nanswer ok\nanswer no\n")
            ->TakeAnswer("show_question", {ScriptLine::AnswerKind::Yes});
      },
      testing::ExitedWithCode(3), "2 answer\\(s\\) left unused, the first on line 4");
}

class CountingPresenter : public FramePresenter {
 public:
  int presented = 0;
  void Present(int64_t, const Image&, bool) override { ++presented; }
  void SetCaption(const std::string&) override {}
};

TEST(PlaybackPlatform, ShotsAreWrittenAfterTheirFrame) {
  std::string folder = testing::TempDir() + "kalvora_shots/";
  std::filesystem::remove_all(folder);
  auto inner = std::make_unique<CountingPresenter>();
  CountingPresenter* counter = inner.get();
  ShotPresenter presenter(
      Session("kalvora-input 1\n@2\nshot \"" + folder + "two.png\"\n@4\nshot \"" + folder + "sub/four.png\"\n"),
      std::move(inner));
  Image first(3, 2, 0xFF000000);
  Image second(3, 2, 0xFF102030);
  second.At(2, 1) = 0xFFFF0000;
  presenter.Present(1, first, false);
  EXPECT_FALSE(std::filesystem::exists(folder + "two.png"));
  presenter.Present(2, second, false);
  presenter.Present(5, first, true);  // frame 4 was not presented: its shot comes from the next frame
  EXPECT_EQ(counter->presented, 3);
  Image read;
  ASSERT_TRUE(ReadPng(folder + "two.png", read));
  EXPECT_EQ(read.pixels, second.pixels);
  ASSERT_TRUE(ReadPng(folder + "sub/four.png", read));
  EXPECT_EQ(read.pixels, first.pixels);
}

TEST(PlaybackPlatformDeathTest, AShotThatCannotBeWrittenEndsWithCode3) {
  std::string blocker = testing::TempDir() + "kalvora_not_a_folder";
  { std::ofstream(blocker) << "x"; }
  EXPECT_EXIT(
      {
        ShotPresenter presenter(Session("kalvora-input 1\n@1\nshot \"" + blocker + "/a.png\"\n"),
                                std::make_unique<CountingPresenter>());
        presenter.Present(1, Image(2, 2), false);
      },
      testing::ExitedWithCode(3), "cannot write the shot .*kalvora_not_a_folder/a.png \\(line 3\\)");
}

}  // namespace
