// storage/save_area_lock.h — one running program per save area.
//
// A program that works on a save area holds an exclusive lock on the file
// ".kalvora.lock" in it for the rest of its life, so that a second start on the
// same save area cannot save over the first one's changes from an older copy of
// the database. The lock is the kernel's (flock): it goes with the process,
// however the process ends, so a crash never keeps the user out. The lock file
// stays behind; nothing is ever written into it.
//
// Only a program that may change the files takes the lock; one that only reads
// them needs none.
#pragma once

#include <string>

enum class SaveAreaLock {
  Held,         // this process holds the lock until it ends
  InUse,        // another process holds it
  Unavailable,  // no lock could be had (no lock file, no locks on this file system)
};

// Locks `saveArea` (created when missing) for the rest of the process. Tells
// on the debug output when the lock is in use or unavailable.
SaveAreaLock LockSaveArea(const std::string& saveArea);
