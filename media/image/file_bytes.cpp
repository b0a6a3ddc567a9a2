#include "media/image/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "media/image/imaging_codes.h"
#include "system/exception.h"
#include "system/log.h"

namespace Media {
namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::vector<uint8_t> readFileBytes(const std::string& path, uint64_t maxBytes, const char* call,
                                   const char* place) {
  // Non-blocking, so that opening a pipe with no writer does not wait for one.
  Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (file.get() < 0) throw System::makeLastErrorException(call, place);
  struct stat status {};
  if (::fstat(file.get(), &status) != 0) throw System::makeLastErrorException(call, place);
  if (!S_ISREG(status.st_mode)) throw System::makeErrnoException(call, place, EACCES);
  const auto size = static_cast<uint64_t>(status.st_size);
  if (size > maxBytes) {
    System::Log::warn(place, "file of %llu bytes refused\n%s",
                      static_cast<unsigned long long>(size), path.c_str());
    throw System::makeHresultException(call, place, ImagingCode::kImageSizeOutOfRange);
  }
  std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t count = ::read(file.get(), bytes.data() + done, bytes.size() - done);
    if (count < 0) {
      if (errno == EINTR) continue;
      throw System::makeLastErrorException(call, place);
    }
    if (count == 0) break;  // the file became shorter while it was read
    done += static_cast<std::size_t>(count);
  }
  bytes.resize(done);
  return bytes;
}

}  // namespace Media
