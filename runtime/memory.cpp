#include "runtime/memory.h"

#include <cstdlib>
#include <cstring>

#include "runtime/debug_output.h"
#include "runtime/error.h"
#include "runtime/named_locks.h"

namespace {
constexpr uint32_t kBlockTag = 0x4B564D4Du;  // marks blocks this manager handed out

struct alignas(16) BlockHeader {
  uint64_t size;
  uint32_t tag;
  uint32_t reserved;
};
static_assert(sizeof(BlockHeader) == 16, "keeps user blocks 16-byte aligned");

MemoryFigures g_figures;
size_t g_testLimit = 0;

BlockHeader* HeaderOf(void* block) { return static_cast<BlockHeader*>(block) - 1; }

void Account(int64_t delta, int64_t blockDelta) {
  NamedLock lock(MemoryManagerMutex().mutex);
  g_figures.inUse += delta;
  g_figures.blocks += blockDelta;
  if (g_figures.inUse > g_figures.peak) g_figures.peak = g_figures.inUse;
}

void WriteFigure(const char* label, int64_t amount) {
  if (amount == 0) return;
  DebugOutput("%s = %lld (0x%08llx) bytes %.2fMB\n", label, (long long)amount, (unsigned long long)amount,
              double(amount) / (1024.0 * 1024.0));
}

// True while a failed allocation is being reported on this thread. The report
// allocates too; a failure inside it yields null without a second report, which
// would recurse.
thread_local bool t_reportingFailure = false;

void ReportFailure(size_t size) {
  if (t_reportingFailure) return;
  struct Reporting {
    Reporting() { t_reportingFailure = true; }
    ~Reporting() { t_reportingFailure = false; }
  } reporting;
  MemoryFigures figures = CurrentMemoryFigures();
  WriteFigure("Total memory used", figures.inUse);
  WriteFigure("Peak memory used", figures.peak);
  ReportRuntimeError("Memory allocation failed: Attempting to allocate %llu bytes\n", (unsigned long long)size);
}

bool OverTestLimit(size_t size) { return g_testLimit != 0 && size > g_testLimit; }
}  // namespace

void* MemAlloc(size_t size, const char* file, int line, bool zeroFill) {
  (void)file;
  (void)line;
  if (size == 0) return nullptr;
  void* raw = nullptr;
  if (!OverTestLimit(size) && size <= SIZE_MAX - sizeof(BlockHeader))
    raw = zeroFill ? std::calloc(1, sizeof(BlockHeader) + size) : std::malloc(sizeof(BlockHeader) + size);
  if (!raw) {
    ReportFailure(size);
    return nullptr;
  }
  auto* header = static_cast<BlockHeader*>(raw);
  header->size = size;
  header->tag = kBlockTag;
  Account(int64_t(size), 1);
  return header + 1;
}

void* MemRealloc(void* block, size_t size, const char* file, int line) {
  if (!block) return MemAlloc(size, file, line);
  BlockHeader* header = HeaderOf(block);
  if (header->tag != kBlockTag) {
    DebugOutput("Why are we reallocing a block that we didn't alloc?!\n");
    return nullptr;
  }
  if (size == 0) {
    MemFree(block);
    return nullptr;
  }
  size_t oldSize = header->size;
  void* raw = nullptr;
  if (!OverTestLimit(size) && size <= SIZE_MAX - sizeof(BlockHeader))
    raw = std::realloc(header, sizeof(BlockHeader) + size);
  if (!raw) {
    ReportFailure(size);
    return nullptr;
  }
  header = static_cast<BlockHeader*>(raw);
  header->size = size;
  Account(int64_t(size) - int64_t(oldSize), 0);
  return header + 1;
}

void MemFree(void* block) {
  if (!block) return;
  BlockHeader* header = HeaderOf(block);
  Account(-int64_t(header->size), -1);
  header->tag = 0;
  std::free(header);
}

void MemFreeSized(void* block, size_t) { MemFree(block); }

MemoryFigures CurrentMemoryFigures() {
  NamedLock lock(MemoryManagerMutex().mutex);
  return g_figures;
}

void SetAllocationLimitForTesting(size_t bytes) { g_testLimit = bytes; }
