#include "engine/options_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

#include "builtins/ini_file.h"
#include "runtime/debug_output.h"

namespace fs = std::filesystem;

namespace {
bool ReadText(const fs::path& path, std::string& text) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !file.bad();
}

bool ParseSwitch(std::string_view value, bool& on) {
  on = value == "1" || value == "true";
  return on || value == "0" || value == "false";
}

// False when the value does not read; a key that names no option taken from the
// file is told by the caller.
bool TakeOption(std::string_view key, std::string_view value, RuntimeOptions& options, bool& known) {
  known = true;
  if (key == "headless") {
    bool on;
    if (!ParseSwitch(value, on)) return false;
    options.headless = options.headless || on;
    return true;
  }
  if (key == "sleepmargin") {
    double milliseconds;
    if (!ParseSleepMargin(std::string(value), milliseconds)) return false;
    if (options.sleepMarginMs < 0) options.sleepMarginMs = milliseconds;
    return true;
  }
  known = false;
  return true;
}
}  // namespace

void TakeOptionsFile(const std::string& gameDirectory, RuntimeOptions& options) {
  const fs::path path = fs::path(gameDirectory) / kOptionsFileName;
  const std::string shown = path.string();
  std::error_code error;
  fs::file_status status = fs::status(path, error);
  if (!fs::exists(status)) return;
  std::string text;
  if (!fs::is_regular_file(status) || !ReadText(path, text)) {
    DebugOutput("Unable to read the options file %s\n", shown.c_str());
    return;
  }
  IniFile ini = IniFile::Parse(std::move(text));
  auto section = ini.Sections().find(kOptionsFileSection);
  if (section == ini.Sections().end()) {
    DebugOutput("The options file %s has no [%s] section\n", shown.c_str(), kOptionsFileSection);
    return;
  }
  for (const auto& [key, entry] : section->second.keys) {
    bool known;
    if (!TakeOption(key, entry.value, options, known))
      DebugOutput("The options file %s gives option %s a value that does not read: %.*s\n", shown.c_str(), key.c_str(),
                  int(entry.value.size()), entry.value.data());
    else if (!known)
      DebugOutput("The options file %s: option %s is not taken from it\n", shown.c_str(), key.c_str());
  }
}
