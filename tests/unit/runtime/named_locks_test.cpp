#include "runtime/named_locks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {
TEST(RecursiveLock, ReentersOnItsThreadAndExcludesOthers) {
  RecursiveLock lock;
  long counter = 0;
  auto work = [&] {
    for (int i = 0; i < 20000; ++i) {
      std::lock_guard outer(lock);
      std::lock_guard inner(lock);  // re-entered by the holder
      ++counter;
    }
  };
  std::thread first(work), second(work);
  first.join();
  second.join();
  EXPECT_EQ(counter, 40000);

  // Held twice, released once: still held, so another thread waits.
  lock.lock();
  lock.lock();
  lock.unlock();
  std::atomic<bool> entered{false};
  std::thread waiter([&] {
    std::lock_guard guard(lock);
    entered = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(entered);
  lock.unlock();
  waiter.join();
  EXPECT_TRUE(entered);
}

}  // namespace
