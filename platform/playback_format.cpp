#include "platform/playback_format.h"

#include <charconv>
#include <cstdio>

#include "runtime/debug_output.h"

namespace {

struct Token {
  std::string text;
  bool quoted = false;
};

bool Fail(std::string& error, std::string reason) {
  error = std::move(reason);
  return false;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool ReadQuoted(std::string_view text, size_t& pos, std::string& out, std::string& error) {
  for (++pos; pos < text.size(); ++pos) {
    char c = text[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++pos == text.size()) break;
    switch (text[pos]) {
      case '"': out += '"'; break;
      case '\\': out += '\\'; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      default: return Fail(error, std::string("unknown escape \\") + text[pos]);
    }
  }
  return Fail(error, "unterminated string");
}

// Splits a line into words and quoted strings, stopping at a comment.
bool Tokenize(std::string_view text, std::vector<Token>& tokens, std::string& error) {
  size_t pos = 0;
  while (true) {
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
    if (pos == text.size() || text[pos] == '#') return true;
    Token token;
    if (text[pos] == '"') {
      token.quoted = true;
      if (!ReadQuoted(text, pos, token.text, error)) return false;
      if (pos < text.size() && !IsSpace(text[pos]) && text[pos] != '#')
        return Fail(error, "text right after a closing quote");
    } else {
      while (pos < text.size() && !IsSpace(text[pos]) && text[pos] != '#' && text[pos] != '"')
        token.text += text[pos++];
      if (pos < text.size() && text[pos] == '"') return Fail(error, "quote inside a word");
    }
    tokens.push_back(std::move(token));
  }
}

bool ParseInt(const Token& token, int64_t min, int64_t max, int64_t& value) {
  if (token.quoted) return false;
  const char* first = token.text.data();
  const char* last = first + token.text.size();
  auto [end, ec] = std::from_chars(first, last, value);
  return ec == std::errc() && end == last && value >= min && value <= max;
}

bool ParseButton(const std::string& name, int& button) {
  if (name == "left")
    button = 1;
  else if (name == "right")
    button = 2;
  else if (name == "middle")
    button = 3;
  else
    return false;
  return true;
}

const char* ButtonName(int button) {
  switch (button) {
    case 1: return "left";
    case 2: return "right";
    case 3: return "middle";
    default: return nullptr;
  }
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool ParseClock(const Token& date, const Token& time, ScriptClock& clock) {
  char tail = 0;
  if (date.quoted || time.quoted) return false;
  if (std::sscanf(date.text.c_str(), "%4d-%2d-%2d%c", &clock.year, &clock.month, &clock.day, &tail) != 3) return false;
  if (std::sscanf(time.text.c_str(), "%2d:%2d:%2d%c", &clock.hour, &clock.minute, &clock.second, &tail) != 3)
    return false;
  if (date.text.size() != 10 || time.text.size() != 8) return false;
  return clock.year >= 1970 && clock.month >= 1 && clock.month <= 12 && clock.day >= 1 &&
         clock.day <= DaysInMonth(clock.year, clock.month) && clock.hour >= 0 && clock.hour <= 23 &&
         clock.minute >= 0 && clock.minute <= 59 && clock.second >= 0 && clock.second <= 59;
}

bool ParseAnswer(const std::vector<Token>& args, ScriptLine& line, std::string& error) {
  using Answer = ScriptLine::AnswerKind;
  const std::string& kind = args.empty() ? std::string() : args[0].text;
  if (args.size() == 1 && !args[0].quoted) {
    if (kind == "ok")
      line.answer = Answer::Ok;
    else if (kind == "yes")
      line.answer = Answer::Yes;
    else if (kind == "no")
      line.answer = Answer::No;
    else if (kind == "cancel")
      line.answer = Answer::Cancel;
    else if (kind == "text" || kind == "file")
      return Fail(error, kind + " needs a string");
    else
      return Fail(error, "unknown answer");
    return true;
  }
  if (args.size() == 2 && !args[0].quoted && (kind == "text" || kind == "file")) {
    line.answer = kind == "text" ? Answer::Text : Answer::File;
    line.text = args[1].text;
    return true;
  }
  return Fail(error, "answer takes ok, yes, no, cancel, text \"...\" or file \"...\"");
}

using Kind = ScriptLine::Kind;

struct CommandSyntax {
  const char* name;
  Kind kind;
  size_t arguments;
};

constexpr CommandSyntax kCommands[] = {
    {"clock", Kind::Clock, 2},     {"move", Kind::Move, 2},   {"click", Kind::Click, 2},     {"press", Kind::Press, 1},
    {"release", Kind::Release, 1}, {"wheel", Kind::Wheel, 1}, {"keydown", Kind::KeyDown, 1}, {"keyup", Kind::KeyUp, 1},
    {"close", Kind::Close, 0},     {"end", Kind::End, 0},     {"shot", Kind::Shot, 1},
};

bool ParseArguments(const std::vector<Token>& args, ScriptLine& line, std::string& error) {
  int64_t value = 0;
  switch (line.kind) {
    case Kind::Clock: return ParseClock(args[0], args[1], line.clock) || Fail(error, "clock wants YYYY-MM-DD HH:MM:SS");
    case Kind::Move:
    case Kind::Click: {
      int64_t x = 0, y = 0;
      if (!ParseInt(args[0], -32768, 32767, x) || !ParseInt(args[1], -32768, 32767, y))
        return Fail(error, "bad position");
      line.x = int(x);
      line.y = int(y);
      return true;
    }
    case Kind::Press:
    case Kind::Release:
      return (!args[0].quoted && ParseButton(args[0].text, line.button)) ||
             Fail(error, "button must be left, right or middle");
    case Kind::Wheel:
      line.wheelUp = args[0].text == "up";
      return (!args[0].quoted && (line.wheelUp || args[0].text == "down")) || Fail(error, "wheel must be up or down");
    case Kind::KeyDown:
    case Kind::KeyUp:
      if (!ParseInt(args[0], 0, 255, value)) return Fail(error, "key code must be 0 to 255");
      line.number = value;
      return true;
    case Kind::Shot: line.text = args[0].text; return !line.text.empty() || Fail(error, "empty file name");
    default: return true;
  }
}

}  // namespace

bool ParseScriptLine(std::string_view text, ScriptLine& line, std::string& error) {
  line = ScriptLine();
  std::vector<Token> tokens;
  if (!Tokenize(text, tokens, error)) return false;
  if (tokens.empty()) return true;
  const Token& head = tokens[0];
  std::vector<Token> args(tokens.begin() + 1, tokens.end());
  if (head.quoted) return Fail(error, "a line starts with a command");
  if (head.text == "kalvora-input") {
    line.kind = Kind::Header;
    if (args.size() != 1 || !ParseInt(args[0], 0, 1000000, line.number)) return Fail(error, "bad header");
    return true;
  }
  if (head.text[0] == '@') {
    line.kind = Kind::Frame;
    Token number{head.text.substr(1), false};
    if (!args.empty() || !ParseInt(number, 1, INT64_MAX / 2, line.number)) return Fail(error, "bad frame number");
    return true;
  }
  if (head.text == "answer") {
    line.kind = Kind::Answer;
    return ParseAnswer(args, line, error);
  }
  for (const CommandSyntax& command : kCommands) {
    if (head.text != command.name) continue;
    line.kind = command.kind;
    if (args.size() != command.arguments)
      return Fail(error, head.text + " takes " + std::to_string(command.arguments) + " argument(s)");
    return ParseArguments(args, line, error);
  }
  return Fail(error, "unknown command");
}

const char* AnswerKindName(ScriptLine::AnswerKind kind) {
  switch (kind) {
    case ScriptLine::AnswerKind::Ok: return "ok";
    case ScriptLine::AnswerKind::Yes: return "yes";
    case ScriptLine::AnswerKind::No: return "no";
    case ScriptLine::AnswerKind::Text: return "text";
    case ScriptLine::AnswerKind::File: return "file";
    case ScriptLine::AnswerKind::Cancel: return "cancel";
  }
  return "?";
}

std::string FormatScriptLine(const ScriptLine& line) {
  auto position = [&](const char* name) {
    return std::string(name) + " " + std::to_string(line.x) + " " + std::to_string(line.y);
  };
  switch (line.kind) {
    case Kind::Blank: return "";
    case Kind::Header: return "kalvora-input " + std::to_string(line.number);
    case Kind::Clock: {
      char buffer[64];
      const ScriptClock& c = line.clock;
      std::snprintf(buffer, sizeof buffer, "clock %04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day, c.hour,
                    c.minute, c.second);
      return buffer;
    }
    case Kind::Frame: return "@" + std::to_string(line.number);
    case Kind::Move: return position("move");
    case Kind::Click: return position("click");
    case Kind::Press: return std::string("press ") + ButtonName(line.button);
    case Kind::Release: return std::string("release ") + ButtonName(line.button);
    case Kind::Wheel: return line.wheelUp ? "wheel up" : "wheel down";
    case Kind::KeyDown: return "keydown " + std::to_string(line.number);
    case Kind::KeyUp: return "keyup " + std::to_string(line.number);
    case Kind::Close: return "close";
    case Kind::End: return "end";
    case Kind::Shot: return "shot " + QuoteText(line.text);
    case Kind::Answer: {
      std::string out = std::string("answer ") + AnswerKindName(line.answer);
      if (line.answer == ScriptLine::AnswerKind::Text || line.answer == ScriptLine::AnswerKind::File)
        out += " " + QuoteText(line.text);
      return out;
    }
  }
  return "";
}

void AppendScriptLineEvents(const ScriptLine& line, ScriptPointer& pointer, std::vector<InputEvent>& events) {
  auto add = [&](InputEvent::Type type, int button = 0) {
    InputEvent event;
    event.type = type;
    event.button = button;
    if (type == InputEvent::Type::MouseMove || button != 0) {
      event.x = pointer.x;
      event.y = pointer.y;
    }
    events.push_back(event);
    return &events.back();
  };
  switch (line.kind) {
    case Kind::Move:
    case Kind::Click:
      pointer = {line.x, line.y};
      add(InputEvent::Type::MouseMove);
      if (line.kind == Kind::Click) {
        add(InputEvent::Type::ButtonDown, 1);
        add(InputEvent::Type::ButtonUp, 1);
      }
      break;
    case Kind::Press: add(InputEvent::Type::ButtonDown, line.button); break;
    case Kind::Release: add(InputEvent::Type::ButtonUp, line.button); break;
    case Kind::Wheel:
      add(InputEvent::Type::Wheel)->wheelDelta = line.wheelUp ? kWheelNotchDelta : -kWheelNotchDelta;
      break;
    case Kind::KeyDown: add(InputEvent::Type::KeyDown)->key = int(line.number); break;
    case Kind::KeyUp: add(InputEvent::Type::KeyUp)->key = int(line.number); break;
    case Kind::Close: add(InputEvent::Type::Close); break;
    default: break;
  }
}

bool ScriptLineForEvent(const InputEvent& event, ScriptLine& line) {
  line = ScriptLine();
  switch (event.type) {
    case InputEvent::Type::MouseMove:
      line.kind = Kind::Move;
      line.x = event.x;
      line.y = event.y;
      return true;
    case InputEvent::Type::ButtonDown:
    case InputEvent::Type::ButtonUp:
      line.kind = event.type == InputEvent::Type::ButtonDown ? Kind::Press : Kind::Release;
      line.button = event.button;
      return ButtonName(event.button) != nullptr;
    case InputEvent::Type::Wheel:
      line.kind = Kind::Wheel;
      line.wheelUp = event.wheelDelta > 0;
      return event.wheelDelta != 0;
    case InputEvent::Type::KeyDown:
    case InputEvent::Type::KeyUp:
      line.kind = event.type == InputEvent::Type::KeyDown ? Kind::KeyDown : Kind::KeyUp;
      line.number = event.key;
      return event.key >= 0 && event.key <= 255 && !event.repeat;
    case InputEvent::Type::Close: line.kind = Kind::Close; return true;
    case InputEvent::Type::Character:
    case InputEvent::Type::Activate: return false;
  }
  return false;
}
