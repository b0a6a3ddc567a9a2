#include "system/sync_timer.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>

#include "system/exception.h"

namespace Sync {

Timer::Timer() : descriptor_(::timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK)) {
  if (!descriptor_) throw System::makeLastErrorException("timerfd_create", "Sync::Timer::Timer");
}

void Timer::setInterval(uint32_t milliseconds) {
  itimerspec spec{};
  spec.it_interval.tv_sec = milliseconds / 1000;
  spec.it_interval.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
  spec.it_value = spec.it_interval;
  // A zero value would disarm the timer; a period of 0 means "once, now".
  if (milliseconds == 0) spec.it_value.tv_nsec = 1;
  if (::timerfd_settime(descriptor_.get(), 0, &spec, nullptr) != 0)
    throw System::makeLastErrorException("timerfd_settime", "Sync::Timer::setInterval");
}

void Timer::clear() {
  const itimerspec disarmed{};
  if (::timerfd_settime(descriptor_.get(), 0, &disarmed, nullptr) != 0)
    throw System::makeLastErrorException("timerfd_settime", "Sync::Timer::clear");
}

uint64_t Timer::takeExpirations() {
  uint64_t count = 0;
  for (;;) {
    if (::read(descriptor_.get(), &count, sizeof count) == sizeof count) return count;
    if (errno != EINTR) return 0;
  }
}

void Timer::wait() {
  const int descriptor = descriptor_.get();
  while (takeExpirations() == 0)
    System::waitReadable({&descriptor, 1}, std::nullopt, "Sync::Timer::wait");
}

bool Timer::waitFor(std::chrono::milliseconds timeout) {
  const int descriptor = descriptor_.get();
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    if (takeExpirations() > 0) return true;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() < 0) return false;
    if (System::waitReadable({&descriptor, 1}, left, "Sync::Timer::wait") < 0)
      return takeExpirations() > 0;
  }
}

}  // namespace Sync
