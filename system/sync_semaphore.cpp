#include "system/sync_semaphore.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>

#include "system/exception.h"

namespace Sync {

Semaphore::~Semaphore() {
  const int descriptor = descriptor_.exchange(-1);
  if (descriptor >= 0) ::close(descriptor);
}

void Semaphore::setMax(int32_t count) {
  if (exists()) return;
  if (count < 1) throw System::makeErrnoException("eventfd", "Sync::Semaphore::setMax", EINVAL);
  System::UniqueDescriptor created(
      ::eventfd(static_cast<unsigned>(count), EFD_CLOEXEC | EFD_NONBLOCK | EFD_SEMAPHORE));
  if (!created) throw System::makeLastErrorException("eventfd", "Sync::Semaphore::setMax");
  int expected = -1;
  maximum_.store(count, std::memory_order_release);
  // Two first calls at once: the first one to publish wins, the other closes its own.
  if (descriptor_.compare_exchange_strong(expected, created.get(), std::memory_order_acq_rel))
    created.release();
}

bool Semaphore::tryWait() {
  const int descriptor = this->descriptor();
  if (descriptor < 0) return true;
  uint64_t unit;
  for (;;) {
    if (::read(descriptor, &unit, sizeof unit) == sizeof unit) return true;
    if (errno != EINTR) return false;
  }
}

void Semaphore::acquire() {
  const int descriptor = this->descriptor();
  while (!tryWait())
    System::waitReadable({&descriptor, 1}, std::nullopt, "Sync::Semaphore::acquire");
}

bool Semaphore::acquire(const Event& cancel) {
  const int descriptors[2] = {cancel.descriptor(), this->descriptor()};
  for (;;) {
    if (cancel.isSet()) return false;
    if (tryWait()) return true;
    System::waitReadable(descriptors, std::nullopt, "Sync::Semaphore::acquire");
  }
}

void Semaphore::release(int32_t count) {
  const int descriptor = this->descriptor();
  if (descriptor < 0 || count < 1) return;
  const uint64_t units = static_cast<uint64_t>(count);
  (void)!::write(descriptor, &units, sizeof units);
}

}  // namespace Sync
