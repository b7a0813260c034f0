#include "storage/sandbox.h"

#include <unistd.h>

#include <climits>
#include <set>
#include <vector>

#include "runtime/debug_output.h"
#include "storage/file_io.h"

namespace {
struct SandboxState {
  std::string saveArea;          // normalised; empty until configured
  std::string programDirectory;  // normalised; may be empty
  bool enabled = true;
  std::set<std::string> allowedForReading;
  std::set<std::string> allowedForWriting;
};
SandboxState g_sandbox;

// "/a/./b//../c/" -> "/a/c"; ".." at the root stays at the root.
std::string Normalise(std::string_view absolute) {
  std::vector<std::string_view> parts;
  while (!absolute.empty()) {
    size_t slash = absolute.find('/');
    std::string_view part = absolute.substr(0, slash);
    absolute.remove_prefix(slash == std::string_view::npos ? absolute.size() : slash + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string result;
  for (std::string_view part : parts) result.append("/").append(part);
  return result.empty() ? "/" : result;
}

bool IsRelative(std::string_view name) { return name.front() != '/'; }

std::string MakeAbsolute(std::string_view name, const std::string& base) {
  return IsRelative(name) ? Normalise(base + "/" + std::string(name)) : Normalise(name);
}

std::string CurrentDirectory() {
  char buffer[PATH_MAX];
  return ::getcwd(buffer, sizeof buffer) ? Normalise(buffer) : std::string();
}

bool IsUnder(const std::string& path, const std::string& folder) {
  if (folder.empty()) return false;
  if (folder == "/") return true;
  return path.compare(0, folder.size(), folder) == 0 && (path.size() == folder.size() || path[folder.size()] == '/');
}

// The rest of `path` after `folder` and its separator.
std::string Remainder(const std::string& path, const std::string& folder) {
  size_t skip = folder == "/" ? 1 : folder.size() + 1;
  return skip >= path.size() ? std::string() : path.substr(skip);
}

std::string Join(const std::string& folder, const std::string& rest) {
  if (rest.empty()) return folder;
  return folder == "/" ? "/" + rest : folder + "/" + rest;
}

// A path chosen in a save dialog may also be read back (the program checks that
// its copy arrived); one chosen in an open dialog may only be read.
bool IsAllowed(const std::string& path, FileAccess access) {
  bool writable = g_sandbox.allowedForWriting.count(path) != 0;
  return access == FileAccess::Write ? writable : writable || g_sandbox.allowedForReading.count(path) != 0;
}

// A path under the current directory or the program directory, moved into the
// save area; the longer matching folder is the one replaced.
std::optional<std::string> RedirectIntoSaveArea(const std::string& path) {
  std::string currentDirectory = CurrentDirectory();
  const std::string* prefix = nullptr;
  for (const std::string* folder : {&currentDirectory, &g_sandbox.programDirectory})
    if (IsUnder(path, *folder) && (!prefix || folder->size() > prefix->size())) prefix = folder;
  if (!prefix) return std::nullopt;
  return Join(g_sandbox.saveArea, Remainder(path, *prefix));
}

std::optional<std::string> Refuse(std::string_view name) {
  DebugOutput("Error! not allowing file operation with filename '%.*s'.\n", int(name.size()), name.data());
  return std::nullopt;
}
}  // namespace

void ConfigureSandbox(const SandboxConfig& config) {
  std::string currentDirectory = CurrentDirectory();
  auto folder = [&](const std::string& path) { return path.empty() ? path : MakeAbsolute(path, currentDirectory); };
  g_sandbox = SandboxState{folder(config.saveArea), folder(config.programDirectory), config.sandboxEnabled, {}, {}};
  const std::string& saveArea = g_sandbox.saveArea;
  DebugOutput("SavePrePend = %s\n", (saveArea.empty() || saveArea == "/" ? saveArea : saveArea + "/").c_str());
}

void AllowPathForReading(const std::string& path) {
  if (!path.empty()) g_sandbox.allowedForReading.insert(MakeAbsolute(path, CurrentDirectory()));
}

void AllowPathForWriting(const std::string& path) {
  if (!path.empty()) g_sandbox.allowedForWriting.insert(MakeAbsolute(path, CurrentDirectory()));
}

std::optional<std::string> ResolveSaveAreaPath(std::string_view name, FileAccess access) {
  if (name.empty()) return std::nullopt;
  if (g_sandbox.saveArea.empty()) return Refuse(name);
  std::string path = MakeAbsolute(name, g_sandbox.saveArea);
  if (!g_sandbox.enabled || IsUnder(path, g_sandbox.saveArea)) return path;
  if (IsRelative(name)) return Refuse(name);  // climbed out with ".."
  if (IsAllowed(path, access)) return path;
  if (auto redirected = RedirectIntoSaveArea(path)) return redirected;
  return Refuse(name);
}

std::optional<std::string> ResolveProgramDirectoryPath(std::string_view name) {
  if (name.empty()) return std::nullopt;
  std::string currentDirectory = CurrentDirectory();
  if (IsRelative(name) && currentDirectory.empty()) return std::nullopt;
  std::string path = MakeAbsolute(name, currentDirectory);
  bool underCurrent = IsUnder(path, currentDirectory);
  if (g_sandbox.enabled && IsRelative(name) && !underCurrent) return std::nullopt;  // climbed out with ".."
  if (IsAllowed(path, FileAccess::Read) || IsUnder(path, g_sandbox.programDirectory)) return path;
  if (underCurrent && !g_sandbox.programDirectory.empty())
    return Join(g_sandbox.programDirectory, Remainder(path, currentDirectory));
  if (!g_sandbox.enabled) return path;
  return std::nullopt;
}

std::optional<std::string> FindReadableFile(std::string_view name, std::string* unreachable) {
  if (auto path = ResolveSaveAreaPath(name, FileAccess::Read)) {
    if (IsExistingFile(*path)) return path;
    if (IsUnreachableLink(*path)) {
      if (unreachable) *unreachable = *path;
      return std::nullopt;
    }
  }
  if (auto path = ResolveProgramDirectoryPath(name); path && IsExistingFile(*path)) return path;
  return std::nullopt;
}
