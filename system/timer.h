#pragma once
// A timer that runs a callable on the UI thread, again and again, without a window of its
// own: the caret of the edit controls, tooltips, the automatic project backup, the export
// notice.
//
// Each set timer is a timerfd that the UI loop watches through the UI bridge; the loop's
// callback is timerProc, which looks the timer's identifier up in one process-wide table
// and runs the callable stored there. Expiries that piled up while the UI thread was busy
// run the callable once, as one late tick.
//
// Without a UI bridge nothing watches the descriptor. A headless loop or a test drives the
// timer itself: it waits until descriptor() is readable and calls
// System::Timer::timerProc(timer.identifier()).
#include <cstdint>
#include <functional>

#include "system/descriptor.h"

namespace System {

class UiBridge;

class Timer {
 public:
  // The timer's identifier in the table; 0 while the timer is not set.
  using Identifier = uintptr_t;
  using Callable = std::function<void()>;

  // Shorter periods are raised to this one, as short periods would only load the UI thread.
  static constexpr uint32_t kMinimumPeriodMs = 10;

  Timer() = default;
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  // Clears the timer; nothing can fail there.
  ~Timer();

  // Runs `callable` every `periodMs` milliseconds from now on, on the UI thread. A timer
  // that is set already is re-armed with the new period under the same identifier (expiries
  // not yet run are forgotten) and its callable is replaced. Failures: the failed system
  // call "timerfd_create" or "timerfd_settime" in "System::Timer::set", thrown before the
  // callable is stored.
  void set(uint32_t periodMs, Callable callable);
  // Stops the timer and removes its callable; nothing when the timer is not set. Safe inside
  // the timer's own callable, which then runs to its end.
  void clear();

  Identifier identifier() const { return identifier_; }
  bool isSet() const { return identifier_ != 0; }
  // Readable while an expiry waits to be run; -1 while the timer is not set.
  int descriptor() const { return descriptor_.get(); }

  // The loop's callback for one timer: takes the expiries waiting on the timer's descriptor
  // and runs its callable once. An identifier that the table does not hold (a timer that was
  // cleared meanwhile) is ignored. An exception of the callable reaches the caller.
  static void timerProc(Identifier identifier);

 private:
  Identifier identifier_ = 0;
  UniqueDescriptor descriptor_;
  // The bridge that watches the descriptor; null when none did at the time of setting.
  UiBridge* watchedBy_ = nullptr;
};

}  // namespace System
