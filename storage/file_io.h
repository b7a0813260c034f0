// storage/file_io.h — the only place in the core that changes files on disk.
//
// Every write is crash-safe: the bytes go to a temporary file in the target's
// folder, which is flushed to disk, renamed over the target, and the folder is
// flushed too. At every moment the target holds either its old bytes or all of
// the new ones; a failed write removes its temporary file and leaves the target
// untouched. Missing parent folders are created. Results must be looked at.
// A process killed during a write leaves its temporary file; the next write of
// the same file removes it.
//
// A failed write is made visible through ReportWriteFailure (a failed read that
// the user must know of, through ReportReadFailure): a line on the debug output
// and the notifier that the application sets (a dialog naming the file).
//
// A file the user may not write (read-only) is not replaced, although the
// rename over it would succeed: the write fails as writing into it would. Nor is
// a symbolic link whose file cannot be reached (a network share not mounted):
// the write fails instead of putting a new file in the link's place.
//
// Tests inject failures: the environment variable KALVORA_FAIL_WRITE=n or n:k
// (counted from the start of the process), or SetWriteFaultForTesting (counted
// from the call), makes the n-th write fail after k bytes of it (0 when k is not
// given) reached its temporary file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

struct [[nodiscard]] IoResult {
  bool ok = true;
  int error = 0;       // errno of the failure
  std::string reason;  // what failed, for messages; empty on success

  explicit operator bool() const { return ok; }
  static IoResult Success() { return {}; }
  static IoResult Failure(std::string what, int error);
};

// Writes one file crash-safely, in pieces: Open, any number of Append, Commit.
// After the first failure the writer keeps that failure: further Appends do
// nothing and Commit returns it. A writer destroyed without a successful Commit
// removes its temporary file.
class AtomicFileWriter {
 public:
  AtomicFileWriter() = default;
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
  ~AtomicFileWriter();

  // Creates missing parent folders of `target` and the temporary file beside it.
  // A symbolic link as target is followed: the file it names is replaced. Fails
  // when the target exists and may not be written, or is a link that cannot be
  // followed to its file.
  IoResult Open(const std::string& target);
  IoResult Append(std::string_view bytes);
  // Flushes the temporary file, renames it over the target and flushes the folder.
  IoResult Commit();

  const std::string& Target() const { return target_; }

 private:
  IoResult Fail(IoResult failure);
  void Abandon();

  int fd_ = -1;
  std::string target_;
  std::string temporary_;
  IoResult failure_;
  int64_t bytesBeforeFault_ = -1;  // injected failure: bytes still allowed, -1 for none
};

// Writes `bytes` as the whole content of `target`.
IoResult WriteFileAtomically(const std::string& target, std::string_view bytes);

// Reads a whole file into `bytes`.
IoResult ReadWholeFile(const std::string& path, std::string& bytes);

// Removes a file (and asks for its folder to be flushed).
IoResult RemoveFile(const std::string& path);

// True when `path` names an existing regular file (symbolic links followed).
bool IsExistingFile(const std::string& path);

// True when `path` is a symbolic link that cannot be followed to its file: the
// file, or a folder on the way to it, is missing (or closed to the user).
bool IsUnreachableLink(const std::string& path);

// --- Making failures visible -------------------------------------------------
// Reach: the file is a symbolic link that cannot be followed to its file.
enum class FileOperation { Read, Write, Reach };
// Called with the file's path and the reason after a read or a write failed; none
// by default.
using FileFailureNotifier = void (*)(FileOperation operation, const std::string& path, const std::string& reason);
void SetFileFailureNotifier(FileFailureNotifier notifier);
// Write "Unable to write file '<path>': <reason>" (or "Unable to read file ...")
// to the debug output and call the notifier.
void ReportWriteFailure(const std::string& path, const std::string& reason);
void ReportReadFailure(const std::string& path, const std::string& reason);
// The same for a symbolic link that cannot be followed to its file: "Unable to
// reach file '<path>': ..." and the notifier.
void ReportUnreachableFile(const std::string& path);

// --- Tests ---------------------------------------------------------------------
// Writes opened so far in this process (each AtomicFileWriter::Open counts one).
int64_t WriteAttemptCount();
// Makes the `nthWrite`-th write from now fail once `bytesBeforeFailure` bytes of
// it were written; nthWrite 0 removes a pending fault.
void SetWriteFaultForTesting(int64_t nthWrite, size_t bytesBeforeFailure = 0);
