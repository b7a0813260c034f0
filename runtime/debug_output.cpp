#include "runtime/debug_output.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {
FILE* g_output = nullptr;  // null means standard error
std::string* g_capture = nullptr;

FILE* Output() { return g_output ? g_output : stderr; }
}  // namespace

void DebugOutputText(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), Output());
  std::fflush(Output());
  if (g_capture) g_capture->append(text);
}

void DebugOutput(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::vector<char> buffer(size_t(length > 0 ? length : 0) + 1);
  std::vsnprintf(buffer.data(), buffer.size(), format, args);
  va_end(args);
  DebugOutputText(std::string(buffer.data(), size_t(length > 0 ? length : 0)));
}

bool SetDebugOutputFile(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "ab");
  if (!file) return false;
  if (g_output) std::fclose(g_output);
  g_output = file;
  return true;
}

void SetDebugOutputCapture(std::string* capture) { g_capture = capture; }

std::string QuoteText(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  return out + "\"";
}
