#include "engine/at_sign_files.h"

#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {
// The relative path a name stands for, or nothing when it would leave the directory.
std::optional<fs::path> PathFromName(const std::string& name) {
  if (name.back() == '@') return std::nullopt;
  fs::path relative;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('@', start);
    if (end == std::string::npos) end = name.size();
    std::string part = name.substr(start, end - start);
    if (part == "." || part == "..") return std::nullopt;
    if (!part.empty()) relative /= part;
    start = end + 1;
  }
  return relative;
}

void MoveFile(const fs::path& directory, const fs::directory_entry& entry) {
  std::error_code error;
  std::optional<fs::path> relative = PathFromName(entry.path().filename().string());
  if (!relative) return;
  fs::path target = directory / *relative;
  if (fs::exists(fs::symlink_status(target, error))) return;
  fs::create_directories(target.parent_path(), error);
  if (error) return;
  fs::rename(entry.path(), target, error);
}
}  // namespace

void MoveAtSignFiles(const fs::path& programDirectory) {
  std::error_code error;
  std::vector<fs::directory_entry> candidates;
  if (programDirectory.empty()) return;
  for (fs::directory_iterator it(programDirectory, error), end; !error && it != end; it.increment(error)) {
    const fs::directory_entry& entry = *it;
    std::error_code statusError;
    bool plainFile = entry.is_regular_file(statusError) && !entry.is_symlink(statusError);
    if (plainFile && entry.path().filename().string().find('@') != std::string::npos) candidates.push_back(entry);
  }
  for (const fs::directory_entry& entry : candidates) MoveFile(programDirectory, entry);
}
