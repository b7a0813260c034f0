// Fuzz target for the playback script parser: any bytes are either refused with
// a reason naming a line, or give a script that keeps its invariants. Every line
// that parses is written back by the recorder's formatter and must read back as
// the same command.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>

#include "platform/playback_format.h"
#include "platform/playback_script.h"

namespace {
void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "broken: %s\n", what);
  std::abort();
}

bool SameCommand(const ScriptLine& a, const ScriptLine& b) {
  const auto& ca = a.clock;
  const auto& cb = b.clock;
  return a.kind == b.kind && a.number == b.number && a.x == b.x && a.y == b.y && a.button == b.button &&
         a.wheelUp == b.wheelUp && a.answer == b.answer && a.text == b.text && ca.year == cb.year &&
         ca.month == cb.month && ca.day == cb.day && ca.hour == cb.hour && ca.minute == cb.minute &&
         ca.second == cb.second;
}

void CheckLineRoundTrip(std::string_view text) {
  ScriptLine line;
  std::string error;
  if (!ParseScriptLine(text, line, error)) {
    Require(!error.empty(), "a refused line gives a reason");
    return;
  }
  if (line.kind == ScriptLine::Kind::Blank) return;
  std::string written = FormatScriptLine(line);
  ScriptLine again;
  Require(ParseScriptLine(written, again, error), "a formatted line parses");
  Require(SameCommand(line, again), "a formatted line reads back as the same command");
}

void CheckScript(std::string_view text) {
  PlaybackScript script;
  std::string error;
  if (!ParsePlaybackScript(text, script, error)) {
    Require(error.rfind("line ", 0) == 0, "a refused script names the line");
    return;
  }
  int64_t previous = 0;
  for (const PlaybackGroup& group : script.groups) {
    Require(group.frame > previous, "groups in increasing frame order");
    Require(!group.events.empty(), "no empty group");
    previous = group.frame;
  }
  for (const PlaybackShot& shot : script.shots) Require(shot.frame >= 1, "shots belong to a frame");
  Require(script.endAfterFrame >= 0, "the end is a frame");
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool kZoned = (setenv("TZ", "Europe/Warsaw", 1), tzset(), true);
  (void)kZoned;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckScript(text);
  for (size_t start = 0; start <= text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    CheckLineRoundTrip(text.substr(start, end - start));
    start = end + 1;
  }
  return 0;
}
