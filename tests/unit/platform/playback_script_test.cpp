#include "platform/playback_script.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>

namespace {

PlaybackScript ParseOk(const std::string& text) {
  PlaybackScript script;
  std::string error;
  EXPECT_TRUE(ParsePlaybackScript(text, script, error)) << error;
  return script;
}

std::string ErrorOf(const std::string& text) {
  PlaybackScript script;
  std::string error;
  EXPECT_FALSE(ParsePlaybackScript(text, script, error)) << text;
  return error;
}

TEST(PlaybackScript, GroupsAnswersShotsAndEnd) {
  PlaybackScript script = ParseOk(
      "kalvora-input 1\n"
      "# the menu\n"
      "answer ok\n"
      "@1\n"
      "@3\n"
      "click 100 250\n"
      "answer text \"12.05.2024\"\n"
      "shot menu.png\n"
      "@10\n"
      "wheel up\n"
      "answer file \"/tmp/a.csv\"\n"
      "@11\n"
      "shot after.png\n");
  ASSERT_EQ(script.groups.size(), 2u);  // @1 and @11 have no events
  EXPECT_EQ(script.groups[0].frame, 3);
  EXPECT_EQ(script.groups[0].events.size(), 3u);
  EXPECT_EQ(script.groups[1].frame, 10);
  ASSERT_EQ(script.answers.size(), 3u);
  EXPECT_EQ(script.answers[0].kind, ScriptLine::AnswerKind::Ok);
  EXPECT_EQ(script.answers[0].line, 3);
  EXPECT_EQ(script.answers[1].text, "12.05.2024");
  EXPECT_EQ(script.answers[1].line, 7);
  EXPECT_EQ(script.answers[2].kind, ScriptLine::AnswerKind::File);
  ASSERT_EQ(script.shots.size(), 2u);
  EXPECT_EQ(script.shots[0].frame, 3);
  EXPECT_EQ(script.shots[0].path, "menu.png");
  EXPECT_EQ(script.shots[1].frame, 11);
  EXPECT_EQ(script.shots[1].line, 13);
  EXPECT_EQ(script.endAfterFrame, 11);
  EXPECT_FALSE(script.clockStart.has_value());

  EXPECT_EQ(ParseOk("kalvora-input 1\n@5\nend\n@9\nclose\n@12\nend\n").endAfterFrame, 5);  // the first end counts
  EXPECT_EQ(ParseOk("kalvora-input 1\n").endAfterFrame, 0);
  EXPECT_EQ(ParseOk("\xEF\xBB\xBFkalvora-input 1\r\n@2\r\nmove 1 2\r\n").groups.size(), 1u);
}

TEST(PlaybackScript, ErrorsNameTheLineAndItsText) {
  EXPECT_EQ(ErrorOf(""), "line 1: the first line must be \"kalvora-input 1\": ");
  EXPECT_EQ(ErrorOf("@1\n"), "line 1: the first line must be \"kalvora-input 1\": @1");
  EXPECT_EQ(ErrorOf("kalvora-input 2\n"), "line 1: unsupported version 2: kalvora-input 2");
  EXPECT_EQ(ErrorOf("kalvora-input 1\n@1\nmove 1 2\n\njump\n"), "line 5: unknown command: jump");
  EXPECT_EQ(ErrorOf("kalvora-input 1\nmove 1 2\n"), "line 2: an @N line must come first: move 1 2");
  EXPECT_EQ(ErrorOf("kalvora-input 1\nshot a.png\n"), "line 2: an @N line must come first: shot a.png");
  EXPECT_EQ(ErrorOf("kalvora-input 1\n@4\n@4\n"), "line 3: frame numbers must increase (previous @4): @4");
  EXPECT_EQ(ErrorOf("kalvora-input 1\n@4\n@2\n"), "line 3: frame numbers must increase (previous @4): @2");
  EXPECT_EQ(ErrorOf("kalvora-input 1\n@1\nclock 2024-05-13 09:30:00\n"),
            "line 3: clock must come before the first @N: clock 2024-05-13 09:30:00");
  EXPECT_EQ(ErrorOf("kalvora-input 1\nclock 2024-05-13 09:30:00\nclock 2024-05-13 09:30:00\n"),
            "line 3: a second clock line: clock 2024-05-13 09:30:00");
  EXPECT_EQ(ErrorOf("kalvora-input 1\n@1\nkalvora-input 1\n"),
            "line 3: the header must be the first line only: kalvora-input 1");
  EXPECT_EQ(ErrorOf("kalvora-input 1\r\n@1\r\nanswer text \"x\r\n"), "line 3: unterminated string: answer text \"x");
}

TEST(PlaybackScript, LoadsFilesAndNamesThemInErrors) {
  std::string path = testing::TempDir() + "playback_script_test.txt";
  std::ofstream(path) << "kalvora-input 1\n@2\nwheel left\n";
  PlaybackScript script;
  std::string error;
  EXPECT_FALSE(LoadPlaybackScript(path, script, error));
  EXPECT_EQ(error, path + ", line 3: wheel must be up or down: wheel left");
  std::ofstream(path) << "kalvora-input 1\n@2\nwheel up\n";
  EXPECT_TRUE(LoadPlaybackScript(path, script, error)) << error;
  EXPECT_EQ(script.groups.size(), 1u);
  EXPECT_FALSE(LoadPlaybackScript(path + ".missing", script, error));
  EXPECT_EQ(error, "cannot open the playback script " + path + ".missing");
}

}  // namespace
