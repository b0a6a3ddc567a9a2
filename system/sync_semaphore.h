#pragma once
// A counting semaphore that may not exist yet: setMax creates it once.
//
// It is an eventfd in semaphore mode: each unit is one count of the descriptor, so
// descriptor() is readable while a unit is free.
#include <atomic>
#include <cstdint>

#include "system/sync_event.h"

namespace Sync {

class Semaphore {
 public:
  Semaphore() = default;
  Semaphore(const Semaphore&) = delete;
  Semaphore& operator=(const Semaphore&) = delete;
  ~Semaphore();

  // Creates the semaphore with `count` units free and a maximum of `count`; when it already
  // exists it stays as it is. A count below 1 cannot make a semaphore: the failed system
  // call "eventfd" (EINVAL) in "Sync::Semaphore::setMax".
  void setMax(int32_t count);
  bool exists() const { return descriptor_.load(std::memory_order_acquire) >= 0; }
  // The maximum given to setMax; 0 while none exists.
  int32_t maximum() const { return maximum_.load(std::memory_order_acquire); }

  // Takes one unit, waiting without a time limit. Failure: "poll" in
  // "Sync::Semaphore::acquire". Without a semaphore it returns at once.
  void acquire();
  // Takes one unit unless `cancel` is (or becomes) set first; false then, and nothing taken.
  bool acquire(const Event& cancel);
  // Takes one unit when one is free; never blocks. Without a semaphore: true.
  bool tryWait();
  // Gives `count` units back; the result is not examined.
  void release(int32_t count = 1);

  // -1 while no semaphore exists.
  int descriptor() const { return descriptor_.load(std::memory_order_acquire); }

 private:
  // Written once by setMax, read by any thread: atomic rather than under a lock.
  std::atomic<int> descriptor_{-1};
  std::atomic<int32_t> maximum_{0};
};

}  // namespace Sync
