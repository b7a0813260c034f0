// runtime/string_blocks.h — the blocks that string bodies live in.
//
// A frame builds and drops thousands of short strings (texts joined for drawing,
// released as soon as they are drawn). Blocks of up to kLargestKeptBlock bytes
// are therefore kept when released, on one list per 16-byte size class, and
// handed out again to the next string of the same class, instead of going back
// to the memory manager each time. At most kKeptPerClass blocks are kept per
// class; a kept block still counts as in use in the memory figures.
//
// Invariant: a block is given back with the byte count it was taken with (the
// same size class). The kept lists are guarded by MemoryManagerMutex: TakeStringBlock
// and GiveBackStringBlock take it; GiveBackStringBlockHeld is for a caller that
// already holds it (the release of a string body, which decides under that lock
// whether the body dies), so that a freed string takes the lock once.
#pragma once

#include <cstddef>

constexpr size_t kLargestKeptBlock = 256;
constexpr int kKeptPerClass = 32;

// A block of at least `bytes` bytes (not zeroed); null when the memory manager failed.
void* TakeStringBlock(size_t bytes);
// Releases a block taken with TakeStringBlock(bytes).
void GiveBackStringBlock(void* block, size_t bytes);
// The same, for a caller that holds MemoryManagerMutex.
void GiveBackStringBlockHeld(void* block, size_t bytes);
