#include "platform/playback_script.h"

#include <gtest/gtest.h>

namespace {

// A script's parts as one text: each frame with its count of events, the answers
// (line, kind, text), the shots (line, frame, file) and the frame the run ends after.
std::string Outline(const std::string& text) {
  PlaybackScript script;
  std::string error, out;
  EXPECT_TRUE(ParsePlaybackScript(text, script, error)) << error;
  EXPECT_FALSE(script.clockStart.has_value());
  for (const PlaybackGroup& group : script.groups)
    out += "@" + std::to_string(group.frame) + ":" + std::to_string(group.events.size()) + " ";
  for (const PlaybackAnswer& answer : script.answers)
    out += std::to_string(answer.line) + ":" + std::to_string(int(answer.kind)) + answer.text + " ";
  for (const PlaybackShot& shot : script.shots)
    out += std::to_string(shot.line) + "@" + std::to_string(shot.frame) + ":" + shot.path + " ";
  return out + "end " + std::to_string(script.endAfterFrame);
}

TEST(PlaybackScript, GroupsEventsAnswersShotsAndTheEnd) {
  EXPECT_EQ(Outline("kalvora-input 1\n# the menu\nanswer ok\n@1\n@3\nclick 100 250\nanswer text \"12.05.2024\"\n"
                    "shot menu.png\n@10\nwheel up\nanswer file \"/tmp/a.csv\"\n@11\nshot after.png\n"),
            "@3:3 @10:1 3:0 7:312.05.2024 11:4/tmp/a.csv 8@3:menu.png 13@11:after.png end 11");
  EXPECT_EQ(Outline("kalvora-input 1\n@5\nend\n@9\nclose\n@12\nend\n"), "@9:1 end 5");  // the first end counts
  EXPECT_EQ(Outline("kalvora-input 1\n"), "end 0");
  EXPECT_EQ(Outline("\xEF\xBB\xBFkalvora-input 1\r\n@2\r\nmove 1 2\r\n"), "@2:1 end 2");
}

// Besides the reasons of single lines (and those the hostile playback cases check).
TEST(PlaybackScript, ErrorsNameTheLineAndItsText) {
  for (auto [text, expected] : std::initializer_list<std::pair<const char*, const char*>>{
           {"@1\n", "line 1: the first line must be \"kalvora-input 1\": @1"},
           {"kalvora-input 2\n", "line 1: unsupported version 2: kalvora-input 2"},
           {"kalvora-input 1\nmove 1 2\n", "line 2: an @N line must come first: move 1 2"},
           {"kalvora-input 1\nshot a.png\n", "line 2: an @N line must come first: shot a.png"},
           {"kalvora-input 1\n@4\n@4\n", "line 3: frame numbers must increase (previous @4): @4"},
           {"kalvora-input 1\n@1\nclock 2024-05-13 09:30:00\n",
            "line 3: clock must come before the first @N: clock 2024-05-13 09:30:00"},
           {"kalvora-input 1\nclock 2024-05-13 09:30:00\nclock 2024-05-13 09:30:00\n",
            "line 3: a second clock line: clock 2024-05-13 09:30:00"},
           {"kalvora-input 1\n@1\nkalvora-input 1\n",
            "line 3: the header must be the first line only: kalvora-input 1"},
           {"kalvora-input 1\r\n@1\r\nanswer text \"x\r\n", "line 3: unterminated string: answer text \"x"}}) {
    PlaybackScript script;
    std::string error;
    EXPECT_FALSE(ParsePlaybackScript(text, script, error)) << text;
    EXPECT_EQ(error, expected);
  }
}

// The scenarios load their scripts; the hostile cases load broken ones.
TEST(PlaybackScript, AScriptThatCannotBeReadIsNamed) {
  PlaybackScript script;
  std::string error, path = testing::TempDir() + "no_such_script.txt";
  EXPECT_FALSE(LoadPlaybackScript(path, script, error));
  EXPECT_EQ(error, "cannot open the playback script " + path);
}

}  // namespace
