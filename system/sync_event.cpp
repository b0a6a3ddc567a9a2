#include "system/sync_event.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "system/exception.h"

namespace Sync {

Event::Event() : descriptor_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (!descriptor_) throw System::makeLastErrorException("eventfd", "Sync::Event::Event");
}

void Event::set() {
  generation_.fetch_add(1, std::memory_order_release);
  // The counter only has to be non-zero; a full counter (EAGAIN) is just as signalled.
  const uint64_t one = 1;
  ssize_t written;
  do {
    written = ::write(descriptor_.get(), &one, sizeof one);
  } while (written < 0 && errno == EINTR);
}

void Event::reset() {
  // One read empties the counter; EAGAIN means it already was empty.
  uint64_t count;
  ssize_t read;
  do {
    read = ::read(descriptor_.get(), &count, sizeof count);
  } while (read < 0 && errno == EINTR);
}

bool Event::isSet() const {
  if (!System::isReadable(descriptor_.get())) return false;
  (void)generation_.load(std::memory_order_acquire);
  return true;
}

void Event::wait() const {
  const int descriptor = descriptor_.get();
  System::waitReadable({&descriptor, 1}, std::nullopt, "Sync::Event::wait");
  (void)generation_.load(std::memory_order_acquire);
}

bool Event::waitFor(std::chrono::milliseconds timeout) const {
  const int descriptor = descriptor_.get();
  if (System::waitReadable({&descriptor, 1}, timeout, "Sync::Event::wait") != 0) return false;
  (void)generation_.load(std::memory_order_acquire);
  return true;
}

}  // namespace Sync
