// engine/command_line.h — the parameter list of the command line and the runtime
// options read from it.
//
// The list holds at most 100 entries of at most 4095 bytes (cut at a character
// boundary); further tokens are dropped. Entry 0 is the program's path. Runtime
// options and their values stay in the list in their places: scripts see every
// token through parameter_count and parameter_string.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

constexpr size_t kMaxParameters = 100;
constexpr size_t kMaxParameterBytes = 4095;

// Splits a whole command line into tokens: characters up to code 32 separate
// tokens outside double quotes; a double quote toggles quoting and is dropped.
std::vector<std::string> TokenizeCommandLine(std::string_view commandLine);

// Makes `tokens` (already split, as the system hands them to the program) the
// parameter list, within its limits. The list is rebuilt from empty.
void SetParameters(const std::vector<std::string>& tokens);
const std::vector<std::string>& Parameters();

// The runtime options that have a meaning here; every other option is accepted
// and ignored (with its values, so that they are not mistaken for options).
struct RuntimeOptions {
  std::string gamePath;       // -game
  bool headless = false;      // -headless
  std::string playbackPath;   // -playback
  std::string recordPath;     // -record
  std::string logPath;        // -output or -debugoutput
  double sleepMarginMs = -1;  // -sleepmargin; negative: the platform's own choice
};

RuntimeOptions ParseRuntimeOptions(const std::vector<std::string>& parameters);

// A -sleepmargin value: a number of milliseconds, 0 or more, and nothing else.
// `milliseconds` is left as it was when the text does not read.
bool ParseSleepMargin(const std::string& text, double& milliseconds);
