#include "platform/platform_paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string HomeDirectory() {
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
  const passwd* user = getpwuid(getuid());
  return user && user->pw_dir ? user->pw_dir : "/";
}

// $variable when it holds an absolute path, else ~/fallback.
std::string XdgFolder(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  if (value && value[0] == '/') return WithSlash(value);
  return WithSlash(HomeDirectory()) + fallback;
}

}  // namespace

std::string SaveAreaPath(const std::string& gameName, bool roaming) {
  std::string base = roaming ? XdgFolder("XDG_CONFIG_HOME", ".config/") : XdgFolder("XDG_DATA_HOME", ".local/share/");
  return WithSlash(base + gameName);
}

std::string ExecutableDirectory() {
  std::error_code failed;
  std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", failed);
  if (failed) return "";
  return WithSlash(executable.parent_path().string());
}
