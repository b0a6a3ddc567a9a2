#include "system/pipe.h"

#include <signal.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <limits>
#include <mutex>

#include "system/exception.h"

namespace System {
namespace {

// The protocol's values are little-endian; they are copied as they lie in memory.
static_assert(std::endian::native == std::endian::little);

constexpr const char* kReadPlace = "System::Pipe::read";
constexpr const char* kWritePlace = "System::Pipe::write";
constexpr const char* kBlockPlace = "System::Pipe::readBlock";
constexpr const char* kStringPlace = "System::Pipe::readString";

}  // namespace

void ignoreBrokenPipeSignal() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction current {};
    if (::sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
      ::signal(SIGPIPE, SIG_IGN);
  });
}

Pipe::Pipe(int readDescriptor, int writeDescriptor)
    : read_(readDescriptor),
      write_(writeDescriptor),
      broken_(readDescriptor < 0 || writeDescriptor < 0) {
  ignoreBrokenPipeSignal();
}

void Pipe::checkUsable(const char* place) const {
  if (broken_) throw makeWin32ErrorException(place, kWin32ErrorBrokenPipe);
}

void Pipe::failBroken(const char* place) {
  broken_ = true;
  throw makeWin32ErrorException(place, kWin32ErrorBrokenPipe);
}

void Pipe::read(void* buffer, std::size_t size) {
  checkUsable(kReadPlace);
  auto* bytes = static_cast<uint8_t*>(buffer);
  while (size > 0) {
    const ssize_t count = ::read(read_, bytes, size);
    if (count < 0) {
      if (errno == EINTR) continue;
      broken_ = true;
      throw makeLastErrorException("read", kReadPlace);
    }
    if (count == 0) failBroken(kReadPlace);
    bytes += count;
    size -= static_cast<std::size_t>(count);
  }
}

int32_t Pipe::readInt() {
  int32_t value = 0;
  read(&value, sizeof value);
  return value;
}

int64_t Pipe::readInt64() {
  int64_t value = 0;
  read(&value, sizeof value);
  return value;
}

uint32_t Pipe::readBlock(void* buffer, uint32_t capacity) {
  const auto size = static_cast<uint32_t>(readInt());
  // The bytes stay unread: the stream is out of step from here on.
  if (size > capacity) failBroken(kBlockPlace);
  read(buffer, size);
  return size;
}

void Pipe::readString(std::u16string& text) {
  const auto count = static_cast<uint32_t>(readInt());
  if (count > kMaxStringUnits) failBroken(kStringPlace);
  text.resize(count);
  read(text.data(), std::size_t{count} * sizeof(char16_t));
}

void Pipe::write(const void* data, std::size_t size) {
  checkUsable(kWritePlace);
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (size > 0) {
    const ssize_t count = ::write(write_, bytes, size);
    if (count < 0) {
      if (errno == EINTR) continue;
      broken_ = true;
      throw makeLastErrorException("write", kWritePlace);
    }
    if (count == 0) failBroken(kWritePlace);
    bytes += count;
    size -= static_cast<std::size_t>(count);
  }
}

void Pipe::writeInt(int32_t value) { write(&value, sizeof value); }

void Pipe::writeString(std::u16string_view text) {
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()))
    throw makeErrnoException("write", kWritePlace, EINVAL);
  writeInt(static_cast<int32_t>(text.size()));
  write(text.data(), text.size() * sizeof(char16_t));
}

void Pipe::writeBlock(const void* data, uint32_t size) {
  writeInt(static_cast<int32_t>(size));
  write(data, size);
}

}  // namespace System
