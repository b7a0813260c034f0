// engine/options_file.h — runtime options from the file "options.ini" in the game
// file's folder.
//
// The file is INI text, read as the INI built-ins read it; its section [Runtime]
// holds the options as keys named without their leading "-":
//   headless     1 or true: run without a window (0 or false: leave it to the command line)
//   sleepmargin  as -sleepmargin: milliseconds of each frame wait spent spinning
// The command line wins: the file only fills in what the command line left unset.
// Options that name a file to read or write (game, playback, record, output,
// debugoutput) are never taken from it, nor is any other key. A missing file is
// no error; a file that cannot be read, a key that is not taken and a value that
// does not read are each told by a line on the debug output and otherwise ignored.
#pragma once

#include <string>

#include "engine/command_line.h"

inline constexpr const char* kOptionsFileName = "options.ini";
inline constexpr const char* kOptionsFileSection = "Runtime";

// Adds the options of the options file in `gameDirectory` to `options`, which
// holds those of the command line.
void TakeOptionsFile(const std::string& gameDirectory, RuntimeOptions& options);
