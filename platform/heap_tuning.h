// platform/heap_tuning.h — the C library's heap set up for Kalvora's use of
// memory: a few buffers of megabytes (the database text, its lists, the text
// written back) made and dropped by every visit of an editor or of the
// upcoming-deadlines view.
//
// With glibc on Linux: blocks below 32 MB come from the heap rather than from
// mappings of their own; freed memory is kept for reuse up to 512 MB rather than
// handed back at once; and the first 256 MB of heap growth are marked for
// transparent huge pages before anything touches them (enough for registers of
// 20,000 records). Where the kernel must first compact memory to find huge
// pages, the first large buffer of a run can still take tens of milliseconds. A fresh 12 MB buffer then
// costs six 2 MB page faults instead of three thousand 4 KB ones, which on a
// virtual machine take about 18 µs each: opening a 10,000-record register goes
// from about 270 ms to 30 ms. Elsewhere, and where huge pages are off, it changes
// nothing. Call it first thing in main, before the heap has grown.
#pragma once

void TuneHeapForLargeBuffers();
