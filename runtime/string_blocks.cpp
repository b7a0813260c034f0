#include "runtime/string_blocks.h"

#include "runtime/memory.h"
#include "runtime/named_locks.h"

namespace {
constexpr size_t kClassBytes = 16;
constexpr size_t kClasses = kLargestKeptBlock / kClassBytes;

struct KeptBlocks {
  void* blocks[kKeptPerClass] = {};
  int count = 0;
};
KeptBlocks g_kept[kClasses];

// The class of a block of `bytes` (1 to kLargestKeptBlock) and the bytes its blocks hold.
size_t ClassOf(size_t bytes) { return (bytes - 1) / kClassBytes; }
size_t BytesOfClass(size_t sizeClass) { return (sizeClass + 1) * kClassBytes; }
}  // namespace

void* TakeStringBlock(size_t bytes) {
  if (bytes == 0 || bytes > kLargestKeptBlock) return MemAlloc(bytes, __FILE__, __LINE__, false);
  NamedLock lock(MemoryManagerMutex().mutex);
  const size_t sizeClass = ClassOf(bytes);
  KeptBlocks& kept = g_kept[sizeClass];
  if (kept.count > 0) return kept.blocks[--kept.count];
  return MemAlloc(BytesOfClass(sizeClass), __FILE__, __LINE__, false);
}

void GiveBackStringBlock(void* block, size_t bytes) {
  NamedLock lock(MemoryManagerMutex().mutex);
  GiveBackStringBlockHeld(block, bytes);
}

void GiveBackStringBlockHeld(void* block, size_t bytes) {
  if (!block) return;
  if (bytes > 0 && bytes <= kLargestKeptBlock) {
    KeptBlocks& kept = g_kept[ClassOf(bytes)];
    if (kept.count < kKeptPerClass) {
      kept.blocks[kept.count++] = block;
      return;
    }
  }
  MemFree(block);
}
