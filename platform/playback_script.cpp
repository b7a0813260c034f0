#include "platform/playback_script.h"

#include <ctime>
#include <fstream>
#include <sstream>

namespace {

using Kind = ScriptLine::Kind;

// The state of parsing between lines.
class ScriptBuilder {
 public:
  explicit ScriptBuilder(PlaybackScript& script) : script_(script) {}

  // Adds one parsed line; false with a reason when it does not fit where it stands.
  bool Add(const ScriptLine& line, int lineNumber, std::string& error) {
    switch (line.kind) {
      case Kind::Blank: return true;
      case Kind::Header: return Fail(error, "the header must be the first line only");
      case Kind::Clock:
        if (frame_ > 0) return Fail(error, "clock must come before the first @N");
        if (script_.clockStart) return Fail(error, "a second clock line");
        script_.clockStart = LocalTimeToSeconds(line.clock);
        return true;
      case Kind::Frame:
        if (line.number <= frame_)
          return Fail(error, "frame numbers must increase (previous @" + std::to_string(frame_) + ")");
        frame_ = line.number;
        if (!ended_) script_.endAfterFrame = frame_;
        return true;
      case Kind::Answer: script_.answers.push_back({line.answer, line.text, lineNumber}); return true;
      default: break;
    }
    if (frame_ == 0) return Fail(error, "an @N line must come first");
    if (line.kind == Kind::Shot) {
      script_.shots.push_back({frame_, line.text, lineNumber});
    } else if (line.kind == Kind::End) {
      if (!ended_) script_.endAfterFrame = frame_;
      ended_ = true;
    } else {
      if (script_.groups.empty() || script_.groups.back().frame != frame_) script_.groups.push_back({frame_, {}});
      AppendScriptLineEvents(line, pointer_, script_.groups.back().events);
    }
    return true;
  }

 private:
  static bool Fail(std::string& error, std::string reason) {
    error = std::move(reason);
    return false;
  }

  PlaybackScript& script_;
  int64_t frame_ = 0;
  bool ended_ = false;
  ScriptPointer pointer_;
};

std::string_view WithoutLineEnd(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

bool LineError(int number, const std::string& reason, std::string_view text, std::string& error) {
  error = "line " + std::to_string(number) + ": " + reason + ": " + std::string(text);
  return false;
}

bool CheckHeader(std::string_view first, std::string& error) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (first.substr(0, kByteOrderMark.size()) == kByteOrderMark) first.remove_prefix(kByteOrderMark.size());
  ScriptLine line;
  std::string reason;
  if (!ParseScriptLine(first, line, reason) || line.kind != Kind::Header)
    return LineError(1, "the first line must be \"" + std::string(kScriptHeader) + "\"", first, error);
  if (line.number != kScriptVersion)
    return LineError(1, "unsupported version " + std::to_string(line.number), first, error);
  return true;
}

}  // namespace

int64_t LocalTimeToSeconds(const ScriptClock& clock) {
  std::tm tm{};
  tm.tm_year = clock.year - 1900;
  tm.tm_mon = clock.month - 1;
  tm.tm_mday = clock.day;
  tm.tm_hour = clock.hour;
  tm.tm_min = clock.minute;
  tm.tm_sec = clock.second;
  tm.tm_isdst = -1;  // let the time zone rules decide
  return int64_t(std::mktime(&tm));
}

bool ParsePlaybackScript(std::string_view text, PlaybackScript& script, std::string& error) {
  script = PlaybackScript();
  ScriptBuilder builder(script);
  int number = 0;
  while (!text.empty() || number == 0) {
    size_t end = text.find('\n');
    std::string_view raw = WithoutLineEnd(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++number;
    if (number == 1) {
      if (!CheckHeader(raw, error)) return false;
      continue;
    }
    ScriptLine line;
    std::string reason;
    if (!ParseScriptLine(raw, line, reason) || !builder.Add(line, number, reason))
      return LineError(number, reason, raw, error);
  }
  return true;
}

bool LoadPlaybackScript(const std::string& path, PlaybackScript& script, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot open the playback script " + path;
    return false;
  }
  std::ostringstream content;
  content << file.rdbuf();
  if (file.bad()) {
    error = "cannot read the playback script " + path;
    return false;
  }
  if (ParsePlaybackScript(content.str(), script, error)) return true;
  error = path + ", " + error;
  return false;
}
