#pragma once
// File descriptors: single ownership, and waiting until one of several becomes readable.
//
// The synchronisation objects of the program (events, semaphores, timers, the event
// service's command signal) are descriptors so that the UI loop can watch them next to its
// own input, and so that one wait can cover several of them (a task, and the request to
// stop its worker).
#include <chrono>
#include <optional>
#include <span>

namespace System {

class UniqueDescriptor {
 public:
  UniqueDescriptor() noexcept = default;
  explicit UniqueDescriptor(int descriptor) noexcept : descriptor_(descriptor) {}
  UniqueDescriptor(const UniqueDescriptor&) = delete;
  UniqueDescriptor& operator=(const UniqueDescriptor&) = delete;
  UniqueDescriptor(UniqueDescriptor&& other) noexcept : descriptor_(other.release()) {}
  UniqueDescriptor& operator=(UniqueDescriptor&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueDescriptor() { reset(); }

  int get() const noexcept { return descriptor_; }
  explicit operator bool() const noexcept { return descriptor_ >= 0; }
  int release() noexcept {
    const int descriptor = descriptor_;
    descriptor_ = -1;
    return descriptor;
  }
  // Closes the held descriptor (if any) and takes `descriptor`.
  void reset(int descriptor = -1) noexcept;

 private:
  int descriptor_ = -1;
};

// Waits until one of `descriptors` is readable (or reports an error or hang-up) and
// returns the lowest such index; -1 when `timeout` passed first (no timeout: no limit).
// An interrupted wait goes on with the time that remains. A failed poll throws the failed
// system call "poll" with `place`.
int waitReadable(std::span<const int> descriptors,
                 std::optional<std::chrono::milliseconds> timeout, const char* place);

// Whether the descriptor is readable right now.
bool isReadable(int descriptor);

}  // namespace System
