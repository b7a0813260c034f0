#include "runtime/named_locks.h"

NamedMutex& DsMutex() {
  static NamedMutex lock{"DsMutex", {}};
  return lock;
}

NamedMutex& MemoryManagerMutex() {
  static NamedMutex lock{"MemoryManagerMutex", {}};
  return lock;
}

NamedMutex& NurseryMutex() {
  static NamedMutex lock{"NurseryMutex", {}};
  return lock;
}
