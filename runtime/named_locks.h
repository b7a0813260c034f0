// runtime/named_locks.h — the three process-wide locks that the runtime takes:
// "DsMutex" around list creation and clearing, "MemoryManagerMutex" around the
// release of shared string bodies and inside the memory manager, and
// "NurseryMutex" around the scratch area of the string argument getter.
//
// Each is created on first use and lives until the process ends.
#pragma once

#include <mutex>

struct NamedMutex {
  const char* name;
  std::recursive_mutex mutex;
};

NamedMutex& DsMutex();
NamedMutex& MemoryManagerMutex();
NamedMutex& NurseryMutex();

using NamedLock = std::lock_guard<std::recursive_mutex>;
