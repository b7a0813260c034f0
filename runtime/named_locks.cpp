#include "runtime/named_locks.h"

namespace {
constinit NamedMutex g_dsMutex{"DsMutex", {}};
constinit NamedMutex g_memoryManagerMutex{"MemoryManagerMutex", {}};
constinit NamedMutex g_nurseryMutex{"NurseryMutex", {}};
}  // namespace

NamedMutex& DsMutex() { return g_dsMutex; }
NamedMutex& MemoryManagerMutex() { return g_memoryManagerMutex; }
NamedMutex& NurseryMutex() { return g_nurseryMutex; }
