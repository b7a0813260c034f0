#include "storage/save_area_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "runtime/debug_output.h"

namespace {
constexpr const char* kLockFileName = ".kalvora.lock";

std::string LockFilePath(const std::string& saveArea) {
  return saveArea + (saveArea.empty() || saveArea.back() != '/' ? "/" : "") + kLockFileName;
}

SaveAreaLock Unavailable(const std::string& path, int error) {
  DebugOutput("Save area lock: unable to lock '%s' (%s); running without it\n", path.c_str(), std::strerror(error));
  return SaveAreaLock::Unavailable;
}
}  // namespace

SaveAreaLock LockSaveArea(const std::string& saveArea) {
  std::error_code created;
  std::filesystem::create_directories(saveArea, created);
  const std::string path = LockFilePath(saveArea);
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0 && errno == EACCES) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);  // another user's lock file
  if (fd < 0) return Unavailable(path, errno);
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return SaveAreaLock::Held;  // fd stays open: the lock lives with it
  int error = errno;
  ::close(fd);
  if (error != EWOULDBLOCK) return Unavailable(path, error);
  DebugOutput("Save area lock: '%s' is held by another process\n", path.c_str());
  return SaveAreaLock::InUse;
}
