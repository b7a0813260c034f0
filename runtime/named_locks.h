// runtime/named_locks.h — the three process-wide locks that the runtime takes:
// "DsMutex" around list creation and clearing, "MemoryManagerMutex" around the
// release of shared string bodies and inside the memory manager, and
// "NurseryMutex" around the scratch area of the string argument getter.
//
// They are constant-initialised and never destroyed, so they exist before any
// code runs and stay usable during static destruction.
//
// RecursiveLock is made for locks that one thread takes and retakes all the time
// (every string a frame makes and drops passes MemoryManagerMutex): taking a
// free lock is one atomic exchange, retaking it on the thread that holds it is a
// counter increment, releasing it a store; a thread that finds it held by
// another yields until it is free.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

class RecursiveLock {
 public:
  constexpr RecursiveLock() = default;
  RecursiveLock(const RecursiveLock&) = delete;
  RecursiveLock& operator=(const RecursiveLock&) = delete;

  void lock() {
    const uintptr_t self = ThreadTag();
    if (owner_.load(std::memory_order_relaxed) == self) {
      ++depth_;
      return;
    }
    while (held_.exchange(true, std::memory_order_acquire)) std::this_thread::yield();
    owner_.store(self, std::memory_order_relaxed);
    depth_ = 1;
  }

  void unlock() {
    if (--depth_ != 0) return;
    owner_.store(0, std::memory_order_relaxed);
    held_.store(false, std::memory_order_release);
  }

 private:
  // Distinct for every live thread and never 0.
  static uintptr_t ThreadTag() {
    static thread_local char tag;
    return reinterpret_cast<uintptr_t>(&tag);
  }

  std::atomic<bool> held_{false};
  std::atomic<uintptr_t> owner_{0};  // the holder's tag, 0 when free
  int depth_ = 0;                    // written only by the holder
};

struct NamedMutex {
  const char* name;
  RecursiveLock mutex;
};

NamedMutex& DsMutex();
NamedMutex& MemoryManagerMutex();
NamedMutex& NurseryMutex();

using NamedLock = std::lock_guard<RecursiveLock>;
