// Fuzz target for the playback script parser: any bytes are either refused with
// a reason naming a line, or give a script that keeps its invariants. Every line
// that parses is written back by the recorder's formatter and must read back as
// the same command.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>
#include <tuple>

#include "platform/playback_format.h"
#include "platform/playback_script.h"

namespace {
void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "broken: %s\n", what);
  std::abort();
}

auto Fields(const ScriptLine& l) {
  const ScriptClock& c = l.clock;
  return std::tie(l.kind, l.number, l.x, l.y, l.button, l.wheelUp, l.answer, l.text, c.year, c.month, c.day, c.hour,
                  c.minute, c.second);
}

void CheckLineRoundTrip(std::string_view text) {
  ScriptLine line, again;
  std::string error;
  if (!ParseScriptLine(text, line, error)) return Require(!error.empty(), "a refused line gives a reason");
  if (line.kind == ScriptLine::Kind::Blank) return;
  Require(ParseScriptLine(FormatScriptLine(line), again, error), "a formatted line parses");
  Require(Fields(line) == Fields(again), "a formatted line reads back as the same command");
}

void CheckScript(std::string_view text) {
  PlaybackScript script;
  std::string error;
  if (!ParsePlaybackScript(text, script, error))
    return Require(error.rfind("line ", 0) == 0, "a refused script names the line");
  int64_t previous = 0;
  for (const PlaybackGroup& group : script.groups) {
    Require(group.frame > previous && !group.events.empty(), "non-empty groups in increasing frame order");
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
  for (size_t start = 0, end = 0; start <= text.size(); start = end + 1) {
    end = std::min(text.find('\n', start), text.size());
    CheckLineRoundTrip(text.substr(start, end - start));
  }
  return 0;
}
