#include "engine/command_line.h"

#include <charconv>
#include <cstring>

namespace {
std::vector<std::string> g_parameters;

// Options followed by values, and how many.
struct OptionWithValues {
  const char* name;
  int values;
};
constexpr OptionWithValues kOptionsWithValues[] = {
    {"-game", 1},     {"-exit", 1},   {"-dir", 1},         {"-minidumpdir", 1}, {"-vqdebugpath", 1}, {"-record", 1},
    {"-playback", 1}, {"-output", 1}, {"-debugoutput", 1}, {"-profiledump", 2}, {"-sleepmargin", 1}, {"-monitor", 1},
};

int ValueCount(const std::string& token) {
  for (const OptionWithValues& option : kOptionsWithValues)
    if (token == option.name) return option.values;
  return 0;
}

bool IsContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

std::string WithinLimit(const std::string& token) {
  if (token.size() <= kMaxParameterBytes) return token;
  size_t end = kMaxParameterBytes;
  while (end > 0 && IsContinuationByte(token[end])) --end;
  return token.substr(0, end);
}

void ApplyOption(RuntimeOptions& options, const std::string& name, const std::string& value) {
  if (name == "-game")
    options.gamePath = value;
  else if (name == "-playback")
    options.playbackPath = value;
  else if (name == "-record")
    options.recordPath = value;
  else if (name == "-output" || name == "-debugoutput")
    options.logPath = value;
  else if (name == "-sleepmargin")
    ParseSleepMargin(value, options.sleepMarginMs);
}
}  // namespace

std::vector<std::string> TokenizeCommandLine(std::string_view commandLine) {
  std::vector<std::string> tokens;
  size_t i = 0;
  auto separator = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (i < commandLine.size()) {
    while (i < commandLine.size() && separator(commandLine[i])) ++i;
    if (i == commandLine.size()) break;
    std::string token;
    bool quoted = false;
    for (; i < commandLine.size() && (quoted || !separator(commandLine[i])); ++i) {
      if (commandLine[i] == '"')
        quoted = !quoted;
      else
        token += commandLine[i];
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

void SetParameters(const std::vector<std::string>& tokens) {
  g_parameters.clear();
  for (size_t i = 0; i < tokens.size() && i < kMaxParameters; ++i) g_parameters.push_back(WithinLimit(tokens[i]));
}

const std::vector<std::string>& Parameters() { return g_parameters; }

bool ParseSleepMargin(const std::string& text, double& milliseconds) {
  double value;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end || value < 0) return false;
  milliseconds = value;
  return true;
}

RuntimeOptions ParseRuntimeOptions(const std::vector<std::string>& parameters) {
  RuntimeOptions options;
  for (size_t i = 1; i < parameters.size(); ++i) {
    const std::string& token = parameters[i];
    if (token == "-headless") {
      options.headless = true;
      continue;
    }
    int values = ValueCount(token);
    if (values == 0) continue;
    if (i + 1 < parameters.size()) ApplyOption(options, token, parameters[i + 1]);
    i += size_t(values);
  }
  return options;
}
