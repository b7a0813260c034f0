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
      if (!value || *value != entry.value) return false;
    }
  }
  return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  IniFile first = IniFile::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  std::string text = first.Serialise();
  IniFile second = IniFile::Parse(text);
  Require(SameContent(first, second));
  Require(second.Serialise() == text);  // same order of sections and keys too
  return 0;
}
