#include "platform/playback_format.h"

#include <gtest/gtest.h>

#include "platform/event_text.h"

namespace {

ScriptLine Parse(std::string_view text) {
  ScriptLine line;
  std::string error;
  EXPECT_TRUE(ParseScriptLine(text, line, error)) << text << ": " << error;
  return line;
}

TEST(PlaybackFormat, LinesParseAndFormatBack) {
  for (const char* text :
       {"kalvora-input 1", "clock 2024-05-13 09:30:00", "clock 2024-02-29 23:59:59", "@7", "move -32768 32767",
        "click 5 -6", "press middle", "release right", "wheel up", "wheel down", "keydown 27", "keyup 162", "close",
        "end", "shot \"a b.png\"", "answer ok", "answer yes", "answer no", "answer cancel"})
    EXPECT_EQ(FormatScriptLine(Parse(text)), text);
  for (const char* text : {R"(answer text "say \"hi\"\n\tand \\ bye")", "answer text \"Zażółć gęślą jaźń\"",
                           R"(answer file "/tmp/x.csv")"})
    EXPECT_EQ(FormatScriptLine(Parse(text)), text);
  for (auto [text, meant] : std::initializer_list<std::pair<const char*, const char*>>{
           {"   \t ", ""},
           {"# a comment", ""},
           {"  click 1 2   # trailing comment", "click 1 2"},
           {"move 1 2\r", "move 1 2"},
           {"answer text \"a # is no comment\" # but this is", "answer text \"a # is no comment\""}})
    EXPECT_EQ(FormatScriptLine(Parse(text)), meant);
}

TEST(PlaybackFormat, MalformedLinesAreRefusedWithTheReason) {
  const std::vector<std::pair<std::string, std::vector<const char*>>> cases = {
      {"unknown command", {"jump 3"}},
      {"move takes 2 argument(s)", {"move 1", "move 1 2 3"}},
      {"bad position", {"move 1 x", "move 1.5 2", "click -32769 0", "move 0 32768"}},
      {"button must be left, right or middle", {"press both"}},
      {"wheel must be up or down", {"wheel sideways"}},
      {"key code must be 0 to 255", {"keydown 256", "keydown -1"}},
      {"bad frame number", {"@0", "@x", "@", "@5 move 1 2"}},
      {"unknown answer", {"answer maybe"}},
      {"text needs a string", {"answer text"}},
      {"answer takes ok, yes, no, cancel, text \"...\" or file \"...\"", {"answer yes \"x\""}},
      {"unterminated string", {"answer text \"open", "answer text \"ends in \\"}},
      {"unknown escape \\x", {"answer text \"bad \\x escape\""}},
      {"text right after a closing quote", {"answer text \"a\"b"}},
      {"quote inside a word", {"shot a\"b"}},
      {"empty file name", {"shot \"\""}},
      {"clock wants YYYY-MM-DD HH:MM:SS",
       {"clock 2023-02-29 00:00:00", "clock 2024-04-31 10:00:00", "clock 2024-5-13 10:00:00",
        "clock 2024-05-13 24:00:00"}},
      {"a line starts with a command", {"\"move\" 1 2"}}};
  for (const auto& [reason, texts] : cases)
    for (const char* text : texts) {
      ScriptLine line;
      std::string error;
      EXPECT_FALSE(ParseScriptLine(text, line, error)) << text;
      EXPECT_EQ(error, reason) << text;
    }
}

TEST(PlaybackFormat, LinesBecomeEventsAtThePointer) {
  ScriptPointer pointer;
  std::vector<InputEvent> events;
  for (const char* text :
       {"move 10 20", "press right", "click 30 40", "release right", "wheel down", "keydown 27", "close"})
    AppendScriptLineEvents(Parse(text), pointer, events);
  EXPECT_EQ(EventTexts(events),
            (std::vector<std::string>{"move 10,20", "press 2 10,20", "move 30,40", "press 1 30,40", "release 1 30,40",
                                      "release 2 30,40", "wheel -120", "down 27", "close"}));
}

TEST(PlaybackFormat, EventsTheScriptCannotSayAreLeftOut) {
  using T = InputEvent::Type;
  struct Row {
    T type;
    int value;
    bool repeat;
    const char* line;
  };
  for (const Row& row : std::initializer_list<Row>{{T::Character, 65, false, ""},
                                                   {T::Activate, 0, false, ""},
                                                   {T::ButtonDown, 4, false, ""},
                                                   {T::KeyDown, 65, true, ""},
                                                   {T::KeyDown, 65, false, "keydown 65"},
                                                   {T::Wheel, 0, false, ""}}) {
    InputEvent event;
    event.type = row.type;
    event.key = event.button = event.wheelDelta = row.value;
    event.repeat = row.repeat;
    ScriptLine line;
    EXPECT_EQ(ScriptLineForEvent(event, line) ? FormatScriptLine(line) : "", row.line) << EventText(event);
  }
}

}  // namespace
