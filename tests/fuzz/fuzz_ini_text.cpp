// Fuzz target for the INI parser: any bytes parse; the serialised text parses
// back to the same sections, keys and values, in the same order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "builtins/ini_file.h"

namespace {
void Require(bool condition) {
  if (!condition) std::abort();
}

bool SameContent(const IniFile& a, const IniFile& b) {
  if (a.Sections().size() != b.Sections().size()) return false;
  for (const auto& [name, section] : a.Sections()) {
    auto other = b.Sections().find(name);
    if (other == b.Sections().end() || other->second.keys.size() != section.keys.size()) return false;
    for (const auto& [key, entry] : section.keys) {
      std::optional<std::string_view> value = b.Find(name, key);
      if (!value || *value != entry.Value()) return false;
    }
  }
  return true;
}
// Rewrites one value with itself: the content stays, and the INI no longer
// takes its parsed text for what the writer makes. False when it has no value.
bool RewriteOneValue(IniFile& ini) {
  for (const auto& [name, section] : ini.Sections()) {
    if (section.keys.empty()) continue;
    const std::string sectionName = name, key = section.keys.begin()->first;
    const std::string value(section.keys.begin()->second.Value());
    ini.Write(sectionName, key, value);
    return true;
  }
  return false;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  IniFile first = IniFile::Parse(input);
  std::string text = first.Serialise();
  // A text taken as already in the writer's layout is exactly what the writer makes.
  if (first.UnchangedText() && RewriteOneValue(first)) Require(first.Serialise() == input);
  IniFile second = IniFile::Parse(text);
  Require(SameContent(first, second));
  // The writer's own text reads back to what it makes again, with or without
  // the parsed text taken as it is.
  Require(second.Serialise() == text);
  if (RewriteOneValue(second)) Require(second.Serialise() == text);  // same order of sections and keys too
  return 0;
}
