#pragma once
// A manual-reset event: once set it stays signalled, waking every waiter, until reset.
//
// It is an eventfd, so the UI loop can watch descriptor() beside its own input and other
// waits can take it together with further descriptors (System::waitReadable). Waiting
// never changes the state.
#include <atomic>
#include <chrono>
#include <cstdint>

#include "system/descriptor.h"

namespace Sync {

class Event {
 public:
  // Created not signalled. Failure: the failed system call "eventfd" in "Sync::Event::Event".
  Event();
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  void set();
  void reset();
  // Whether the event is signalled now; never blocks.
  bool isSet() const;
  // The same test under the name the three synchronisation objects share: what a wait
  // would take once the descriptor is readable. An event gives nothing up.
  bool tryWait() const { return isSet(); }
  // Waits without a time limit. Failure: "poll" in "Sync::Event::wait".
  void wait() const;
  // Waits at most `timeout`; true when the event is signalled.
  bool waitFor(std::chrono::milliseconds timeout) const;

  int descriptor() const { return descriptor_.get(); }

 private:
  // Counts the sets. A waiter that saw the descriptor readable reads it, which orders what
  // the setter did before set() before what the waiter does next, in the language's own
  // memory model and not only through the kernel.
  std::atomic<uint64_t> generation_{0};
  System::UniqueDescriptor descriptor_;
};

}  // namespace Sync
