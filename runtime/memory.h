// runtime/memory.h — the memory manager: every body, record and buffer of the
// value runtime comes from here.
//
// Each block carries a small header (size and a tag) so that the manager knows
// which blocks are its own and how much is in use. A failed allocation writes the
// usage figures to the debug output, reports "Memory allocation failed: ..."
// through the runtime error report and yields null (when the report returns).
// A request of 0 bytes yields null without a report.
#pragma once

#include <cstddef>
#include <cstdint>

void* MemAlloc(size_t size, const char* file, int line, bool zeroFill = true);
void* MemRealloc(void* block, size_t size, const char* file, int line);
void MemFree(void* block);
// For fixed-size records whose size the caller knows; same as MemFree.
void MemFreeSized(void* block, size_t size);

struct MemoryFigures {
  int64_t inUse = 0;
  int64_t peak = 0;
  int64_t blocks = 0;
};
MemoryFigures CurrentMemoryFigures();

// Tests: make every allocation larger than `bytes` fail (0 restores normal behaviour).
void SetAllocationLimitForTesting(size_t bytes);

#define KV_ALLOC(size) MemAlloc((size), __FILE__, __LINE__)
#define KV_REALLOC(block, size) MemRealloc((block), (size), __FILE__, __LINE__)
