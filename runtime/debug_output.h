// runtime/debug_output.h — the runtime's debug output: start-up steps, the end of
// the game, runtime errors and the dialog log. Standard error unless a log file
// was named with -output or -debugoutput.
#pragma once

#include <string>
#include <string_view>

// printf-style; the text is written as given (callers add their own "\n").
void DebugOutput(const char* format, ...) __attribute__((format(printf, 1, 2)));
void DebugOutputText(const std::string& text);

// Redirects the output to a file (appending). Returns false when it cannot be opened;
// the output then stays where it was.
bool SetDebugOutputFile(const std::string& path);

// Tests capture the output: every line written goes to the capture too while set.
void SetDebugOutputCapture(std::string* capture);

// `text` in double quotes with the escapes \" \\ \n \t: how log lines and input
// scripts write strings.
std::string QuoteText(std::string_view text);
