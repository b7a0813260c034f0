#include "platform/playback_format.h"

#include <gtest/gtest.h>

#include "runtime/debug_output.h"

namespace {

using Kind = ScriptLine::Kind;
using AnswerKind = ScriptLine::AnswerKind;

ScriptLine Parse(std::string_view text) {
  ScriptLine line;
  std::string error;
  EXPECT_TRUE(ParseScriptLine(text, line, error)) << text << ": " << error;
  return line;
}

std::string ErrorOf(std::string_view text) {
  ScriptLine line;
  std::string error;
  EXPECT_FALSE(ParseScriptLine(text, line, error)) << text;
  return error;
}

TEST(PlaybackFormat, CommentsBlanksAndEscapes) {
  EXPECT_EQ(Parse("").kind, Kind::Blank);
  EXPECT_EQ(Parse("   \t ").kind, Kind::Blank);
  EXPECT_EQ(Parse("# a comment").kind, Kind::Blank);
  EXPECT_EQ(Parse("  click 1 2   # trailing comment").kind, Kind::Click);
  EXPECT_EQ(Parse("move 1 2\r").y, 2);  // a CR LF line end
  EXPECT_EQ(Parse("answer text \"a # is no comment\" # but this is").text, "a # is no comment");
  EXPECT_EQ(Parse(R"(answer text "q\"b\\s\nl\tt")").text, "q\"b\\s\nl\tt");
  EXPECT_EQ(Parse("answer text \"Zażółć gęślą jaźń\"").text, "Zażółć gęślą jaźń");
}

TEST(PlaybackFormat, RejectsMalformedLines) {
  EXPECT_EQ(ErrorOf("jump 3"), "unknown command");
  EXPECT_EQ(ErrorOf("move 1"), "move takes 2 argument(s)");
  EXPECT_EQ(ErrorOf("move 1 2 3"), "move takes 2 argument(s)");
  EXPECT_EQ(ErrorOf("move 1 x"), "bad position");
  EXPECT_EQ(ErrorOf("move 1.5 2"), "bad position");
  EXPECT_EQ(ErrorOf("move 99999 2"), "bad position");
  EXPECT_EQ(ErrorOf("press both"), "button must be left, right or middle");
  EXPECT_EQ(ErrorOf("wheel sideways"), "wheel must be up or down");
  EXPECT_EQ(ErrorOf("keydown 256"), "key code must be 0 to 255");
  EXPECT_EQ(ErrorOf("keydown -1"), "key code must be 0 to 255");
  EXPECT_EQ(ErrorOf("@0"), "bad frame number");
  EXPECT_EQ(ErrorOf("@x"), "bad frame number");
  EXPECT_EQ(ErrorOf("@"), "bad frame number");
  EXPECT_EQ(ErrorOf("@5 move 1 2"), "bad frame number");
  EXPECT_EQ(ErrorOf("answer maybe"), "unknown answer");
  EXPECT_EQ(ErrorOf("answer text"), "text needs a string");
  EXPECT_EQ(ErrorOf("answer yes \"x\""), "answer takes ok, yes, no, cancel, text \"...\" or file \"...\"");
  EXPECT_EQ(ErrorOf("answer text \"open"), "unterminated string");
  EXPECT_EQ(ErrorOf("answer text \"ends in \\"), "unterminated string");
  EXPECT_EQ(ErrorOf("answer text \"bad \\x escape\""), "unknown escape \\x");
  EXPECT_EQ(ErrorOf("answer text \"a\"b"), "text right after a closing quote");
  EXPECT_EQ(ErrorOf("shot a\"b"), "quote inside a word");
  EXPECT_EQ(ErrorOf("shot \"\""), "empty file name");
  EXPECT_EQ(ErrorOf("clock 2024-02-30 10:00:00"), "clock wants YYYY-MM-DD HH:MM:SS");
  EXPECT_EQ(ErrorOf("clock 2024-5-13 10:00:00"), "clock wants YYYY-MM-DD HH:MM:SS");
  EXPECT_EQ(ErrorOf("clock 2024-05-13 24:00:00"), "clock wants YYYY-MM-DD HH:MM:SS");
  EXPECT_EQ(ErrorOf("\"move\" 1 2"), "a line starts with a command");
  Parse("clock 2024-02-29 23:59:59");  // a leap day is a date
  ErrorOf("clock 2023-02-29 00:00:00");
}

// Every command parsed and written back as it was: the fields it carries survive.
TEST(PlaybackFormat, FormattedLinesParseBack) {
  std::vector<std::string> lines = {"kalvora-input 1",
                                    "clock 2024-05-13 09:30:00",
                                    "@7",
                                    "move -3 40",
                                    "click 5 6",
                                    "press middle",
                                    "release right",
                                    "wheel up",
                                    "wheel down",
                                    "keydown 27",
                                    "keyup 162",
                                    "close",
                                    "end",
                                    "shot \"a b.png\"",
                                    "answer ok",
                                    "answer yes",
                                    "answer no",
                                    "answer cancel",
                                    R"(answer text "say \"hi\"\n\tand \\ bye")",
                                    R"(answer file "/tmp/x.csv")"};
  for (const std::string& text : lines) {
    ScriptLine line = Parse(text);
    EXPECT_EQ(FormatScriptLine(line), text);
  }
  EXPECT_EQ(QuoteText("a\"b\\c\nd\te"), R"("a\"b\\c\nd\te")");
}

TEST(PlaybackFormat, LinesBecomeEvents) {
  ScriptPointer pointer;
  std::vector<InputEvent> events;
  for (const char* text :
       {"move 10 20", "press right", "click 30 40", "release right", "wheel down", "keydown 27", "close"})
    AppendScriptLineEvents(Parse(text), pointer, events);
  ASSERT_EQ(events.size(), 9u);
  EXPECT_EQ(events[0].type, InputEvent::Type::MouseMove);
  EXPECT_EQ(events[1].type, InputEvent::Type::ButtonDown);
  EXPECT_EQ(events[1].button, 2);
  EXPECT_EQ(events[1].x, 10);  // pressed where the pointer was moved to
  EXPECT_EQ(events[1].y, 20);
  EXPECT_EQ(events[2].type, InputEvent::Type::MouseMove);
  EXPECT_EQ(events[3].type, InputEvent::Type::ButtonDown);
  EXPECT_EQ(events[3].button, 1);
  EXPECT_EQ(events[4].type, InputEvent::Type::ButtonUp);
  EXPECT_EQ(events[4].x, 30);
  EXPECT_EQ(events[5].type, InputEvent::Type::ButtonUp);
  EXPECT_EQ(events[5].button, 2);
  EXPECT_EQ(events[5].x, 30);  // the click moved the pointer
  EXPECT_EQ(events[6].wheelDelta, -kWheelNotchDelta);
  EXPECT_EQ(events[7].key, 27);
  EXPECT_FALSE(events[7].repeat);
  EXPECT_EQ(events[8].type, InputEvent::Type::Close);
}

TEST(PlaybackFormat, EventsTheScriptCannotSay) {
  ScriptLine line;
  InputEvent event;
  event.type = InputEvent::Type::Character;
  EXPECT_FALSE(ScriptLineForEvent(event, line));
  event.type = InputEvent::Type::Activate;
  EXPECT_FALSE(ScriptLineForEvent(event, line));
  event.type = InputEvent::Type::ButtonDown;
  event.button = 4;
  EXPECT_FALSE(ScriptLineForEvent(event, line));
  event.type = InputEvent::Type::KeyDown;
  event.key = 65;
  event.repeat = true;
  EXPECT_FALSE(ScriptLineForEvent(event, line));
  event.repeat = false;
  EXPECT_TRUE(ScriptLineForEvent(event, line));
  EXPECT_EQ(FormatScriptLine(line), "keydown 65");
  event.type = InputEvent::Type::Wheel;
  event.wheelDelta = 0;
  EXPECT_FALSE(ScriptLineForEvent(event, line));
}

}  // namespace
