#include "storage/file_io.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "runtime/debug_output.h"

namespace {
FileFailureNotifier g_fileFailureNotifier = nullptr;

int64_t g_writeAttempts = 0;
int64_t g_faultAtWrite = 0;  // the attempt number that fails; 0 for none
size_t g_faultBytes = 0;
bool g_faultEnvironmentRead = false;

// KALVORA_FAIL_WRITE=n or n:k, read once.
void ReadFaultFromEnvironment() {
  if (g_faultEnvironmentRead) return;
  g_faultEnvironmentRead = true;
  const char* setting = std::getenv("KALVORA_FAIL_WRITE");
  if (!setting || !*setting) return;
  char* rest = nullptr;
  long long nth = std::strtoll(setting, &rest, 10);
  if (nth <= 0) return;
  g_faultAtWrite = nth;
  if (*rest == ':') g_faultBytes = size_t(std::strtoull(rest + 1, nullptr, 10));
}

std::string ParentFolder(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

IoResult Errno(const std::string& what) { return IoResult::Failure(what, errno); }

IoResult FlushFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return Errno("could not open the folder " + folder + " to flush it");
  IoResult result = ::fsync(fd) == 0 ? IoResult::Success() : Errno("could not flush the folder " + folder);
  ::close(fd);
  return result;
}

IoResult WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), std::min(bytes.size(), size_t(SSIZE_MAX)));
    if (written < 0) {
      if (errno == EINTR) continue;
      return Errno("could not write");
    }
    bytes.remove_prefix(size_t(written));
  }
  return IoResult::Success();
}

// The name of the temporary files of writes to `target`: ".<name>.tmp-" + pid + "-" + sequence.
std::string TemporaryPrefix(const std::string& target) { return "." + BaseName(target) + ".tmp-"; }

// Removes the temporary files that writes of `target` by processes no longer
// running left behind (a write killed before its rename).
void RemoveAbandonedTemporaries(const std::string& folder, const std::string& target) {
  std::string prefix = TemporaryPrefix(target);
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    std::string name = entry.path().filename().string();
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
    if (pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH) ::unlink(entry.path().c_str());
  }
}

// The file a write to `path` replaces: the one a symbolic link names, else `path`.
std::string FollowLink(const std::string& path) {
  struct stat info;
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char resolved[PATH_MAX];
  return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}
}  // namespace

IoResult IoResult::Failure(std::string what, int error) {
  IoResult result;
  result.ok = false;
  result.error = error;
  result.reason = std::move(what);
  if (error) result.reason += std::string(": ") + std::strerror(error);
  return result;
}

AtomicFileWriter::~AtomicFileWriter() { Abandon(); }

void AtomicFileWriter::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

IoResult AtomicFileWriter::Fail(IoResult failure) {
  failure_ = failure;
  Abandon();
  return failure;
}

IoResult AtomicFileWriter::Open(const std::string& target) {
  Abandon();
  failure_ = IoResult::Success();
  target_ = FollowLink(target);
  ReadFaultFromEnvironment();
  bytesBeforeFault_ = (++g_writeAttempts == g_faultAtWrite) ? int64_t(g_faultBytes) : -1;

  if (IsUnreachableLink(target_))
    return Fail(IoResult::Failure("the symbolic link cannot be followed to its file", ENOENT));

  if (::access(target_.c_str(), W_OK) != 0 && (errno == EACCES || errno == EPERM))
    return Fail(Errno("the file is write-protected"));

  std::string folder = ParentFolder(target_);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return Fail(IoResult::Failure("could not create the folder " + folder, error.value()));

  RemoveAbandonedTemporaries(folder, target_);

  static unsigned sequence = 0;
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temporary_ =
        folder + "/" + TemporaryPrefix(target_) + std::to_string(::getpid()) + "-" + std::to_string(++sequence);
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    IoResult failure = Errno("could not create a temporary file in " + folder);
    temporary_.clear();
    return Fail(failure);
  }
  struct stat existing;
  if (::stat(target_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
    (void)::fchmod(fd_, existing.st_mode & 07777);  // a replaced file keeps its permissions
  return IoResult::Success();
}

IoResult AtomicFileWriter::Append(std::string_view bytes) {
  if (!failure_) return failure_;
  if (fd_ < 0) return Fail(IoResult::Failure("the file is not open", EBADF));
  if (bytesBeforeFault_ >= 0) {
    size_t allowed = std::min(bytes.size(), size_t(bytesBeforeFault_));
    IoResult partial = WriteAll(fd_, bytes.substr(0, allowed));
    bytesBeforeFault_ -= int64_t(allowed);
    if (!partial) return Fail(partial);
    if (allowed < bytes.size()) return Fail(IoResult::Failure("could not write (injected failure)", ENOSPC));
    return IoResult::Success();
  }
  IoResult written = WriteAll(fd_, bytes);
  return written ? written : Fail(written);
}

IoResult AtomicFileWriter::Commit() {
  if (!failure_) return failure_;
  if (fd_ < 0) return Fail(IoResult::Failure("the file is not open", EBADF));
  if (bytesBeforeFault_ >= 0) return Fail(IoResult::Failure("could not flush to disk (injected failure)", EIO));
  if (::fsync(fd_) != 0) return Fail(Errno("could not flush to disk"));
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return Fail(Errno("could not close"));
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) return Fail(Errno("could not replace " + target_));
  temporary_.clear();
  return FlushFolder(ParentFolder(target_));
}

IoResult WriteFileAtomically(const std::string& target, std::string_view bytes) {
  AtomicFileWriter writer;
  if (IoResult opened = writer.Open(target); !opened) return opened;
  if (IoResult appended = writer.Append(bytes); !appended) return appended;
  return writer.Commit();
}

IoResult ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Errno("could not open " + path);
  struct stat info;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) bytes.reserve(size_t(info.st_size));
  char buffer[32768];
  for (;;) {
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      IoResult failure = Errno("could not read " + path);
      ::close(fd);
      bytes.clear();
      return failure;
    }
    bytes.append(buffer, size_t(got));
  }
  ::close(fd);
  return IoResult::Success();
}

IoResult RemoveFile(const std::string& path) {
  if (::unlink(path.c_str()) != 0) return Errno("could not delete " + path);
  (void)FlushFolder(ParentFolder(path));  // the file is gone either way; the flush only hurries it
  return IoResult::Success();
}

bool IsExistingFile(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsUnreachableLink(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) && ::stat(path.c_str(), &info) != 0;
}

void SetFileFailureNotifier(FileFailureNotifier notifier) { g_fileFailureNotifier = notifier; }

void ReportWriteFailure(const std::string& path, const std::string& reason) {
  DebugOutput("Unable to write file '%s': %s\n", path.c_str(), reason.c_str());
  if (g_fileFailureNotifier) g_fileFailureNotifier(FileOperation::Write, path, reason);
}

void ReportReadFailure(const std::string& path, const std::string& reason) {
  DebugOutput("Unable to read file '%s': %s\n", path.c_str(), reason.c_str());
  if (g_fileFailureNotifier) g_fileFailureNotifier(FileOperation::Read, path, reason);
}

void ReportUnreachableFile(const std::string& path) {
  const std::string reason = "the symbolic link cannot be followed to its file";
  DebugOutput("Unable to reach file '%s': %s\n", path.c_str(), reason.c_str());
  if (g_fileFailureNotifier) g_fileFailureNotifier(FileOperation::Reach, path, reason);
}

int64_t WriteAttemptCount() { return g_writeAttempts; }

void SetWriteFaultForTesting(int64_t nthWrite, size_t bytesBeforeFailure) {
  ReadFaultFromEnvironment();
  g_faultAtWrite = nthWrite > 0 ? g_writeAttempts + nthWrite : 0;
  g_faultBytes = bytesBeforeFailure;
}
