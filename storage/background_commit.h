// storage/background_commit.h — the durable end of a save, on a worker thread.
//
// A save whose bytes are all in its writer's temporary file hands the writer to
// CommitInBackground and goes on at once. One worker thread commits the writers
// in the order they were handed over (AtomicFileWriter's commit: flush, rename
// over the target, flush of the folder), so a file is as crash-safe as with a
// commit made on the spot: at every moment it holds its old bytes or all of the
// new ones. The worker does nothing else: it reports nothing and waits for
// nothing. It runs only while commits are pending, so a process forked while
// none is (as tests do) starts without one and starts its own when needed.
//
// Nobody sees a file's old content after its save was handed over:
// - whatever looks at one file (file_io's reading, existence test, opening of a
//   writer) first waits for that file's pending commits: WaitForCommitsOf. The
//   file is matched with every link followed, so another name of it waits too;
// - whatever changes files at once (a commit made on the spot, a removal) or
//   shows folders to the user (file dialogs) first waits for all of them:
//   WaitForAllCommits. So changes reach the disk in the order they were made;
// - the end of the game waits for all of them (the program's gameEnded hook),
//   and so does the end of the process (exit(), the return from main).
//
// The main thread learns of every finished commit exactly once, at the first of:
// a wait, the start of a frame (ReportFinishedCommits, the program's
// frameStarted hook). A failed commit is
// reported as every failed write is (ReportWriteFailure: a debug output line and
// the notifier's dialog); a successful one, like every successful write, silently.
// The functions below are called on the main thread only.
#pragma once

#include <memory>
#include <string>

#include "storage/file_io.h"

// Commits `writer` (opened, all bytes appended) on the worker thread. A writer
// that already failed is handed over too: its failure is reported like any other.
void CommitInBackground(std::unique_ptr<AtomicFileWriter> writer);

// Waits until no commit of the file `path` names is pending, then reports the
// commits that finished.
void WaitForCommitsOf(const std::string& path);

// Waits until no commit is pending, then reports the commits that finished.
void WaitForAllCommits();

// Reports the commits that finished, without waiting.
void ReportFinishedCommits();

// Tests: while held, the worker starts no commit (the waits wait until released).
void HoldCommitsForTesting(bool held);
