#include "system/descriptor.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "system/exception.h"

namespace System {

void UniqueDescriptor::reset(int descriptor) noexcept {
  if (descriptor_ >= 0 && descriptor_ != descriptor) ::close(descriptor_);
  descriptor_ = descriptor;
}

int waitReadable(std::span<const int> descriptors,
                 std::optional<std::chrono::milliseconds> timeout, const char* place) {
  std::vector<pollfd> entries;
  entries.reserve(descriptors.size());
  for (const int descriptor : descriptors) entries.push_back({descriptor, POLLIN, 0});

  using Clock = std::chrono::steady_clock;
  const auto deadline = timeout ? Clock::now() + *timeout : Clock::time_point::max();
  for (;;) {
    int waitMilliseconds = -1;
    if (timeout) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
      waitMilliseconds = static_cast<int>(std::max<std::chrono::milliseconds::rep>(
          0, std::min<std::chrono::milliseconds::rep>(left.count(), 0x7FFFFFFF)));
    }
    const int result = ::poll(entries.data(), entries.size(), waitMilliseconds);
    if (result < 0) {
      if (errno == EINTR) continue;
      throw makeLastErrorException("poll", place);
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].revents & POLLNVAL) throw makeErrnoException("poll", place, EBADF);
      if (entries[i].revents & (POLLIN | POLLERR | POLLHUP)) return static_cast<int>(i);
    }
    if (timeout && Clock::now() >= deadline) return -1;
  }
}

bool isReadable(int descriptor) {
  pollfd entry{descriptor, POLLIN, 0};
  return ::poll(&entry, 1, 0) > 0 && (entry.revents & (POLLIN | POLLERR | POLLHUP));
}

}  // namespace System
