#include "platform/heap_tuning.h"

#include <cstdint>
#include <cstdlib>  // defines __GLIBC__ with the C library's other names

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

void TuneHeapForLargeBuffers() {
#if defined(__GLIBC__)
  constexpr int kLargestHeapBlock = 32 << 20;  // the largest threshold glibc accepts
  constexpr int kKeptFreeMemory = 512 << 20;
  constexpr int kHugePageHeap = 256 << 20;
  constexpr size_t kGrowthProbe = 1 << 20;  // more than the young heap has free
  constexpr int kDefaultTopPad = 128 << 10;
  mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
  mallopt(M_TRIM_THRESHOLD, kKeptFreeMemory);

  // The heap grows by the request plus the top pad: one probe makes it grow by
  // the whole huge-page area at once, which is then marked while still untouched.
  mallopt(M_TOP_PAD, kHugePageHeap);
  void* probe = std::malloc(kGrowthProbe);
  const auto probeAddress = reinterpret_cast<uintptr_t>(probe);
  const auto heapEnd = reinterpret_cast<uintptr_t>(sbrk(0));
  std::free(probe);
  mallopt(M_TOP_PAD, kDefaultTopPad);  // later growth as usual
  const auto page = uintptr_t(sysconf(_SC_PAGESIZE));
  const uintptr_t start = (probeAddress + page - 1) & ~(page - 1);
  // Only when the probe came from the brk heap and the area is what was asked for.
  if (!probe || heapEnd == uintptr_t(-1) || start >= heapEnd || heapEnd - start > 2 * uintptr_t(kHugePageHeap)) return;
  madvise(reinterpret_cast<void*>(start), heapEnd - start, MADV_HUGEPAGE);
#endif
}
