#pragma once
// A periodic timer whose expiry the UI loop watches.
//
// It is a timerfd: descriptor() becomes readable at each expiry and stays so until the
// expiries are taken (tryWait or takeExpirations), which is the auto-reset of the timer. It
// does nothing by itself: its owner hands the descriptor to the UI loop, whose callback
// takes the expiries and does the periodic work on the UI thread.
#include <chrono>
#include <cstdint>

#include "system/descriptor.h"

namespace Sync {

class Timer {
 public:
  // Created unarmed. Failure: the failed system call "timerfd_create" in "Sync::Timer::Timer".
  Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  // Arms the timer to expire one period after the call and then every period; expiries not
  // yet taken are forgotten. A period of 0 expires once, at once. Failure: "timerfd_settime"
  // in "Sync::Timer::setInterval".
  void setInterval(uint32_t milliseconds);
  // Disarms the timer and forgets expiries not yet taken. Failure: "timerfd_settime" in
  // "Sync::Timer::clear".
  void clear();

  // Takes every expiry since the last take; 0 when there was none. Never blocks.
  uint64_t takeExpirations();
  // Takes the expiries; true when there was at least one.
  bool tryWait() { return takeExpirations() > 0; }
  // Waits for an expiry without a time limit, and takes it.
  void wait();
  // Waits at most `timeout`; true (and the expiries taken) when the timer expired.
  bool waitFor(std::chrono::milliseconds timeout);

  int descriptor() const { return descriptor_.get(); }

 private:
  System::UniqueDescriptor descriptor_;
};

}  // namespace Sync
