#include "system/timer.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "system/exception.h"
#include "system/ui_bridge.h"

namespace System {
namespace {

constexpr const char* kSetPlace = "System::Timer::set";

// The callable is shared so that timerProc can run it outside the lock, and so that a
// callable that clears or re-sets its own timer does not destroy itself while it runs.
struct TimerEntry {
  int descriptor = -1;
  std::shared_ptr<Timer::Callable> callable;
};

// The timer table. Timers are used on the UI thread; the lock only keeps a stray use from
// another thread from corrupting the map.
std::mutex tableMutex;
std::unordered_map<Timer::Identifier, TimerEntry>& table() {
  static std::unordered_map<Timer::Identifier, TimerEntry> entries;
  return entries;
}

// Identifiers are never reused, so a late call of timerProc for a cleared timer can never
// reach a newer one.
std::atomic<Timer::Identifier> nextIdentifier{1};

void arm(int descriptor, uint32_t periodMs) {
  const uint32_t period = std::max(periodMs, Timer::kMinimumPeriodMs);
  itimerspec spec{};
  spec.it_interval.tv_sec = period / 1000;
  spec.it_interval.tv_nsec = static_cast<long>(period % 1000) * 1000000L;
  spec.it_value = spec.it_interval;
  if (::timerfd_settime(descriptor, 0, &spec, nullptr) != 0)
    throw makeLastErrorException("timerfd_settime", kSetPlace);
}

// Takes every expiry, so that the descriptor is no longer readable.
void takeExpirations(int descriptor) {
  uint64_t count = 0;
  while (::read(descriptor, &count, sizeof count) < 0 && errno == EINTR) {
  }
}

}  // namespace

Timer::~Timer() {
  try {
    clear();
  } catch (...) {
    // A destructor drops what clearing reports.
  }
}

void Timer::set(uint32_t periodMs, Callable callable) {
  auto shared = std::make_shared<Callable>(std::move(callable));
  if (identifier_ != 0) {
    arm(descriptor_.get(), periodMs);
    {
      std::lock_guard lock(tableMutex);
      table()[identifier_] = {descriptor_.get(), std::move(shared)};
    }
    // A timer set while no UI was installed is watched from the first set after it came.
    if (!watchedBy_) {
      if (UiBridge* bridge = uiBridge()) {
        const Identifier identifier = identifier_;
        bridge->registerWaitHandle(descriptor_.get(), [identifier] { timerProc(identifier); });
        watchedBy_ = bridge;
      }
    }
    return;
  }

  UniqueDescriptor descriptor(::timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK));
  if (!descriptor) throw makeLastErrorException("timerfd_create", kSetPlace);
  arm(descriptor.get(), periodMs);

  const Identifier identifier = nextIdentifier.fetch_add(1);
  {
    std::lock_guard lock(tableMutex);
    table()[identifier] = {descriptor.get(), std::move(shared)};
  }
  UiBridge* bridge = uiBridge();
  if (bridge) {
    try {
      bridge->registerWaitHandle(descriptor.get(), [identifier] { timerProc(identifier); });
    } catch (...) {
      std::lock_guard lock(tableMutex);
      table().erase(identifier);
      throw;
    }
  }
  identifier_ = identifier;
  descriptor_ = std::move(descriptor);
  watchedBy_ = bridge;
}

void Timer::clear() {
  if (identifier_ == 0) return;
  // Only the bridge that still is installed can be told; one that was removed took its
  // watches with it.
  if (watchedBy_ && watchedBy_ == uiBridge()) watchedBy_->unregisterWaitHandle(descriptor_.get());
  {
    std::lock_guard lock(tableMutex);
    table().erase(identifier_);
  }
  descriptor_.reset();
  identifier_ = 0;
  watchedBy_ = nullptr;
}

void Timer::timerProc(Identifier identifier) {
  std::shared_ptr<Callable> callable;
  {
    std::lock_guard lock(tableMutex);
    const auto found = table().find(identifier);
    if (found == table().end()) return;
    takeExpirations(found->second.descriptor);
    callable = found->second.callable;
  }
  if (callable && *callable) (*callable)();
}

}  // namespace System
