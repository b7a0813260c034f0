// platform/playback_format.h — the line syntax of input scripts, the one definition
// shared by playback (which parses lines) and record (which writes them).
//
// A script is UTF-8 text, one command per line; '#' outside a string starts a
// comment; strings are double-quoted with the escapes \" \\ \n \t (a bare word
// without spaces is accepted where a string is expected). The commands:
//   kalvora-input 1                  header, first line
//   clock YYYY-MM-DD HH:MM:SS        local wall-clock time of frame 1
//   @N                               the following lines arrive before frame N
//   move X Y | click X Y             pointer position; click = move, press left, release left
//   press B | release B              B = left, right or middle
//   wheel up | wheel down            one notch
//   keydown K | keyup K              virtual-key code 0..255
//   close | end                      the user closes the window | stop after frame N
//   answer ok|yes|no|cancel          answers to dialogs, taken in file order
//   answer text "..." | answer file "..."
//   shot FILE                        write frame N's picture as PNG
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/platform.h"

inline constexpr std::string_view kScriptHeader = "kalvora-input 1";
inline constexpr int kScriptVersion = 1;
inline constexpr int kWheelNotchDelta = 120;

// A broken-down local time, as the clock line writes it.
struct ScriptClock {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct ScriptLine {
  enum class Kind : uint8_t {
    Blank,
    Header,
    Clock,
    Frame,
    Move,
    Press,
    Release,
    Click,
    Wheel,
    KeyDown,
    KeyUp,
    Close,
    End,
    Answer,
    Shot
  };
  enum class AnswerKind : uint8_t { Ok, Yes, No, Text, File, Cancel };

  Kind kind = Kind::Blank;
  int64_t number = 0;    // Header: version; Frame: N; KeyDown, KeyUp: key code
  int x = 0, y = 0;      // Move, Click
  int button = 0;        // Press, Release: 1 left, 2 right, 3 middle
  bool wheelUp = false;  // Wheel
  AnswerKind answer = AnswerKind::Ok;
  std::string text;   // Answer Text and File: the string; Shot: the file name
  ScriptClock clock;  // Clock
};

// Parses one line (without its line end). Blank and comment-only lines give
// Kind::Blank. On failure returns false with a short reason in `error`.
bool ParseScriptLine(std::string_view text, ScriptLine& line, std::string& error);

// The text of a line as ParseScriptLine reads it back (no line end).
std::string FormatScriptLine(const ScriptLine& line);

// The name a dialog answer has in a script: "ok", "yes", "text", ...
const char* AnswerKindName(ScriptLine::AnswerKind kind);

// Pointer position carried from line to line: press and release happen where
// the last move or click left the pointer.
struct ScriptPointer {
  int x = 0, y = 0;
};

// Appends the input events an event line stands for (none for other kinds).
void AppendScriptLineEvents(const ScriptLine& line, ScriptPointer& pointer, std::vector<InputEvent>& events);

// The line that stands for `event`; false when the script has no way to say it
// (typed characters, activation, extra buttons, auto-repeats).
bool ScriptLineForEvent(const InputEvent& event, ScriptLine& line);
