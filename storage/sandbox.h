// storage/sandbox.h — where the file names of scripts lead on disk: the save
// area (every write, and the first place every read looks), the program
// directory (where reads look next), and the paths the user chose in file
// dialogs.
//
// Rules, with the sandbox on:
// - A relative name lands in the save area; one that climbs out of it with ".."
//   is refused.
// - An absolute path under the save area is kept. One the user chose in a file
//   dialog is kept for the access that dialog granted (open: reading; save:
//   writing, and reading back). One under the current directory or the program directory is
//   redirected into the save area (the longer of the two matching prefixes is
//   replaced). Anything else is refused with the log line
//   "Error! not allowing file operation with filename '%s'.\n".
// - Reads fall back to the program directory: a name is taken against the
//   current directory and re-rooted from there into the program directory.
// With the sandbox off, absolute paths are used as they are.
//
// Invariants: paths are normalised lexically ("." and ".." removed, "/" runs
// collapsed) before any prefix test, so ".." can never step out of a folder
// unnoticed; stored folders carry no trailing "/". Main thread only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct SandboxConfig {
  std::string saveArea;          // the per-user folder, e.g. $XDG_DATA_HOME/Kalvora/
  std::string programDirectory;  // the folder of the game data file
  bool sandboxEnabled = true;
};

// Set once at start-up (again in tests); logs "SavePrePend = <save area>/".
// Relative folders are taken against the current directory.
void ConfigureSandbox(const SandboxConfig& config);

// The file dialogs call these with the full path the user chose.
void AllowPathForReading(const std::string& path);
void AllowPathForWriting(const std::string& path);

enum class FileAccess { Read, Write };

// The save-area path of `name`, or nothing when the name is empty or refused.
std::optional<std::string> ResolveSaveAreaPath(std::string_view name, FileAccess access);
// The program-directory path of `name` for reading, or nothing when refused.
std::optional<std::string> ResolveProgramDirectoryPath(std::string_view name);
// The existing file a read of `name` opens: the save-area copy, else the copy in
// the program directory; nothing when neither exists. A save-area path that is a
// symbolic link that cannot be followed (a network share not mounted) is no file
// and hides the program directory's copy; it is put into `unreachable` when given.
std::optional<std::string> FindReadableFile(std::string_view name, std::string* unreachable = nullptr);
