#include "storage/background_commit.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {
// The name of the file `path` leads to, whichever name it is given: the path
// with every link followed; for a file that does not exist yet, its folder's
// such path and its own name.
std::string FileIdentity(const std::string& path) {
  std::error_code failed;
  std::filesystem::path identity = std::filesystem::weakly_canonical(path, failed);
  return failed || identity.empty() ? path : identity.string();
}
}  // namespace

// The commits handed over and not yet reported, and the worker that commits
// them. Invariant: while a commit is pending, exactly one worker runs; the
// front of `pending_` is the one it commits.
class BackgroundCommitter {
 public:
  ~BackgroundCommitter() { WaitForAll(); }  // the end of the process waits too

  void Add(std::unique_ptr<AtomicFileWriter> writer) {
    std::string file = FileIdentity(writer->Target());
    std::unique_lock lock(mutex_);
    pending_.push_back({std::move(writer), std::move(file), ++handedOver_});
    if (workerRunning_) return;
    workerRunning_ = true;
    lock.unlock();
    try {
      std::thread([this] { Work(); }).detach();
    } catch (const std::system_error&) {
      Work();  // no thread to be had: commit on the spot
    }
  }

  void WaitForFile(const std::string& path) {
    std::unique_lock lock(mutex_);
    if (!pending_.empty()) {
      lock.unlock();
      std::string file = FileIdentity(path);
      lock.lock();
      uint64_t last = 0;
      for (const PendingCommit& commit : pending_)
        if (commit.file == file) last = commit.number;
      changed_.wait(lock, [&] { return committed_ >= last; });
    }
    ReportFinished(lock);
  }

  void WaitForAll() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !workerRunning_; });
    ReportFinished(lock);
  }

  void ReportFinished() {
    std::unique_lock lock(mutex_);
    ReportFinished(lock);
  }

  void Hold(bool held) {
    std::lock_guard lock(mutex_);
    held_ = held;
    changed_.notify_all();
  }

 private:
  struct PendingCommit {
    std::unique_ptr<AtomicFileWriter> writer;
    std::string file;  // FileIdentity of the target
    uint64_t number;   // 1, 2, ... in the order of hand-over
  };
  struct FinishedCommit {
    std::string target;
    IoResult result;
  };

  // The worker: commits the pending writers one by one, in order, until none is left.
  void Work() {
    std::unique_lock lock(mutex_);
    while (!pending_.empty()) {
      changed_.wait(lock, [&] { return !held_; });
      AtomicFileWriter& writer = *pending_.front().writer;
      lock.unlock();
      IoResult result = writer.CommitNow();
      lock.lock();
      finished_.push_back({writer.Target(), std::move(result)});
      pending_.pop_front();
      ++committed_;
      changed_.notify_all();
    }
    workerRunning_ = false;
    changed_.notify_all();
  }

  // Takes the finished commits and reports them with the lock released (the
  // failure notifier shows a dialog).
  void ReportFinished(std::unique_lock<std::mutex>& lock) {
    std::vector<FinishedCommit> finished;
    finished.swap(finished_);
    lock.unlock();
    for (const FinishedCommit& commit : finished)
      if (!commit.result) ReportWriteFailure(commit.target, commit.result.reason);
  }

  std::mutex mutex_;
  std::condition_variable changed_;  // a commit finished, the worker stopped, or the hold changed
  std::deque<PendingCommit> pending_;
  std::vector<FinishedCommit> finished_;  // not yet reported
  uint64_t handedOver_ = 0;
  uint64_t committed_ = 0;
  bool workerRunning_ = false;
  bool held_ = false;
};

namespace {
// Made at its first use, after every global the reports need, so that it is
// destroyed (and waits) before them.
BackgroundCommitter& Committer() {
  static BackgroundCommitter committer;
  return committer;
}
}  // namespace

void CommitInBackground(std::unique_ptr<AtomicFileWriter> writer) { Committer().Add(std::move(writer)); }
void WaitForCommitsOf(const std::string& path) { Committer().WaitForFile(path); }
void WaitForAllCommits() { Committer().WaitForAll(); }
void ReportFinishedCommits() { Committer().ReportFinished(); }
void HoldCommitsForTesting(bool held) { Committer().Hold(held); }
