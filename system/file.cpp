#include "system/file.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <utility>

#include "system/exception.h"

namespace System {
namespace {

constexpr const char* kOpenPlace = "System::File::open";
constexpr const char* kOpenFailed = "failed to open file.";
// How much a safely written file grows between two starts of its writeback to disk.
constexpr uint64_t kWritebackInterval = uint64_t{32} << 20;

struct DirectoryCloser {
  void operator()(DIR* directory) const { ::closedir(directory); }
};
using DirectoryHandle = std::unique_ptr<DIR, DirectoryCloser>;

// Closes a descriptor at the end of a scope unless it was released.
class DescriptorGuard {
 public:
  explicit DescriptorGuard(int fd) : fd_(fd) {}
  DescriptorGuard(const DescriptorGuard&) = delete;
  DescriptorGuard& operator=(const DescriptorGuard&) = delete;
  ~DescriptorGuard() {
    if (fd_ >= 0) ::close(fd_);
  }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// The failure of an open: the system's error is logged first, then replaced by the text the
// user sees, with the path as its note.
[[noreturn]] void throwOpenFailure(const char* call, const std::string& path, int error) {
  (void)makeErrnoException(call, kOpenPlace, error);
  throw makeFormattedException(kOpenPlace, kOpenFailed, "%s", path.c_str());
}

std::size_t findLastSeparator(std::string_view path) { return path.find_last_of("/\\"); }

// The search folder and the name pattern of a wildcard pattern ("/a/*.log" gives "/a" and
// "*.log"; "*.log" searches the working directory; "/*.log" the root).
std::pair<std::string, std::string> splitPattern(std::string_view pattern) {
  const auto separator = findLastSeparator(pattern);
  if (separator == std::string_view::npos) return {".", std::string(pattern)};
  std::string folder(pattern.substr(0, separator));
  if (folder.empty()) folder = "/";
  return {folder, std::string(pattern.substr(separator + 1))};
}

// Wildcard match of one name, without regard to case, "\" taken literally. A pattern that
// ends with ".*" also matches a name without any dot ("*.*" lists every name).
bool matchName(const std::string& pattern, const std::string& name) {
  constexpr int flags = FNM_NOESCAPE | FNM_CASEFOLD;
  if (::fnmatch(pattern.c_str(), name.c_str(), flags) == 0) return true;
  if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0 &&
      name.find('.') == std::string::npos) {
    const std::string stem = pattern.substr(0, pattern.size() - 2);
    return ::fnmatch(stem.c_str(), name.c_str(), flags) == 0;
  }
  return false;
}

// The text after the last "." of a name, if it has one.
std::optional<std::string_view> nameExtension(std::string_view name) {
  const auto dot = name.find_last_of('.');
  if (dot == std::string_view::npos) return std::nullopt;
  return name.substr(dot + 1);
}

int64_t modificationTime(const struct stat& info) {
  return static_cast<int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
}

// Visits the entries of a folder in the order the file system lists them, with the status
// of what each entry names (links followed). A missing or unreadable folder has none.
template <class Visitor>
void forEachEntry(const std::string& folder, Visitor visit) {
  DirectoryHandle directory(::opendir(folder.c_str()));
  if (!directory) return;
  const int folderFd = ::dirfd(directory.get());
  while (const dirent* entry = ::readdir(directory.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat info {};
    if (::fstatat(folderFd, name.c_str(), &info, 0) != 0) continue;  // gone, or a dead link
    visit(name, info);
  }
}

std::vector<File::FileInfo> listFiles(std::string_view pattern,
                                      const std::optional<std::string>& directory) {
  std::vector<File::FileInfo> files;
  // Named copies rather than a structured binding: clang 14 (the fuzz build) cannot capture
  // structured bindings in a lambda.
  const auto parts = splitPattern(pattern);
  const auto& folder = parts.first;
  const auto& namePattern = parts.second;
  // Only patterns with a concrete extension are served ("*.log", not "*.*" nor "*").
  const auto patternExtension = nameExtension(namePattern);
  if (!patternExtension || patternExtension->empty() || patternExtension->front() == '*')
    return files;
  const std::size_t extensionLength = patternExtension->size();
  forEachEntry(folder, [&](const std::string& name, const struct stat& info) {
    if (!S_ISREG(info.st_mode)) return;
    // "*.log" lists a.log but not a.logx, whatever the matcher thinks of it.
    const auto extension = nameExtension(name);
    if (!extension || extension->size() != extensionLength) return;
    if (!matchName(namePattern, name)) return;
    File::FileInfo file;
    file.path = FileName::expandVariable(directory ? *directory + "/" + name : name);
    file.size = static_cast<uint64_t>(info.st_size);
    file.lastWriteTime = modificationTime(info);
    files.push_back(std::move(file));
  });
  return files;
}

// The permission bits a new file gets from the process's file-creation mask.
mode_t newFileMode() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Umask:", 0) == 0) {
      const unsigned long mask = std::strtoul(line.c_str() + 6, nullptr, 8);
      return static_cast<mode_t>(0666 & ~mask);
    }
  }
  return 0644;
}

}  // namespace

// ---- File --------------------------------------------------------------------------------

File::File(File&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      writebackInterval_(other.writebackInterval_),
      unsentBytes_(std::exchange(other.unsentBytes_, 0)) {}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = std::exchange(other.fd_, -1);
    writebackInterval_ = other.writebackInterval_;
    unsentBytes_ = std::exchange(other.unsentBytes_, 0);
  }
  return *this;
}

void File::open(const std::string& path, int mode) {
  close();
  int flags = O_CLOEXEC;
  switch (mode) {
    case Read:
      flags |= O_RDONLY;
      break;
    case WriteExclusive:
      // Not truncated here: a second writer must fail on the lock before it touches the file.
      flags |= O_WRONLY | O_CREAT;
      break;
    case WriteShared:
      flags |= O_WRONLY | O_CREAT | O_TRUNC;
      break;
    default:
      throwOpenFailure("open", path, EINVAL);
  }
  int fd;
  do fd = ::open(path.c_str(), flags, 0666);
  while (fd < 0 && errno == EINTR);
  if (fd < 0) throwOpenFailure("open", path, errno);
  DescriptorGuard guard(fd);

  struct stat info {};
  if (::fstat(fd, &info) != 0) throwOpenFailure("fstat", path, errno);
  // A folder is not a file, even though the system lets it be opened for reading.
  if (S_ISDIR(info.st_mode)) throwOpenFailure("open", path, EISDIR);

  if (mode == WriteExclusive) {
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) throwOpenFailure("flock", path, errno);
    if (S_ISREG(info.st_mode) && ::ftruncate(fd, 0) != 0)
      throwOpenFailure("ftruncate", path, errno);
  }
  fd_ = guard.release();
}

void File::readBlock(void* buffer, std::size_t count) {
  constexpr const char* place = "System::File::readBlock";
  auto* bytes = static_cast<uint8_t*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t got = ::read(fd_, bytes + done, count - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw makeLastErrorException("read", place);
    }
    if (got == 0) break;  // end of the file
    done += static_cast<std::size_t>(got);
  }
  if (done < count) throw makeWin32ErrorException(place, kWin32ErrorReadFault);
}

void File::write(const void* buffer, std::size_t count) {
  constexpr const char* place = "System::File::write";
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t put = ::write(fd_, bytes + done, count - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      // A failure after part of the block went out (the disk filled up half-way) is a
      // short write; a failure before any byte went out is the call's own failure.
      if (done > 0) break;
      throw makeLastErrorException("write", place);
    }
    if (put == 0) break;
    done += static_cast<std::size_t>(put);
  }
  if (done < count) throw makeWin32ErrorException(place, kWin32ErrorWriteFault);
  startWriteback(count);
}

void File::startWriteback(std::size_t written) {
  if (writebackInterval_ == 0) return;
  unsentBytes_ += written;
  if (unsentBytes_ < writebackInterval_) return;
  unsentBytes_ = 0;
  // Only a hint: a file system that cannot take it still writes the pages later, and the
  // final flush reports any failure.
  ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
}

void File::close() {
  if (fd_ >= 0) ::close(std::exchange(fd_, -1));
}

uint64_t File::size() const {
  struct stat info {};
  if (::fstat(fd_, &info) != 0) throw makeLastErrorException("fstat", "System::File::size");
  return static_cast<uint64_t>(info.st_size);
}

uint64_t File::position() const {
  const off_t offset = ::lseek(fd_, 0, SEEK_CUR);
  if (offset < 0) throw makeLastErrorException("lseek", "System::File::position");
  return static_cast<uint64_t>(offset);
}

void File::seek(uint64_t offset) {
  if (offset > static_cast<uint64_t>(INT64_MAX))
    throw makeErrnoException("lseek", "System::File::seek", EINVAL);
  if (::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0)
    throw makeLastErrorException("lseek", "System::File::seek");
}

void File::createDirectory(const std::string& path) {
  constexpr const char* place = "System::File::createDirectory";
  if (path.empty()) throw makeErrnoException("mkdir", place, ENOENT);
  // Every missing folder on the way is made, like `mkdir -p`. A folder that is already there
  // is fine (even on a read-only or unwritable parent); anything else in its place is not.
  std::size_t end = 0;
  while (end != std::string::npos) {
    end = path.find_first_of("/\\", end + 1);
    const std::string part = path.substr(0, end);
    if (part.back() == '/' || part.back() == '\\') continue;
    if (::mkdir(part.c_str(), 0777) == 0) continue;
    const int error = errno;
    struct stat info {};
    if (::stat(part.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) continue;
    throw makeErrnoException("mkdir", place, error == EEXIST ? ENOTDIR : error);
  }
}

bool File::exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

bool File::removeFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

File::DeleteGuard::~DeleteGuard() {
  if (name_) ::unlink(name_->c_str());
}

// ---- listings ------------------------------------------------------------------------------

std::vector<File::FileInfo> File::findFiles(std::string_view pattern, std::string_view directory) {
  return listFiles(pattern, directory.empty() ? std::nullopt
                                              : std::optional<std::string>(directory));
}

std::vector<File::FileInfo> File::findFilesByPattern(std::string_view pattern) {
  // The pattern's own folder, kept even when it is the root ("/*.log" gives "/a.log").
  const auto separator = findLastSeparator(pattern);
  if (separator == std::string_view::npos) return listFiles(pattern, std::nullopt);
  return listFiles(pattern, std::string(pattern.substr(0, separator)));
}

std::vector<std::string> File::findDirectories(std::string_view pattern) {
  std::vector<std::string> names;
  const auto parts = splitPattern(pattern);
  const auto& folder = parts.first;
  const auto& namePattern = parts.second;
  forEachEntry(folder, [&](const std::string& name, const struct stat& info) {
    if (!S_ISDIR(info.st_mode) || name.front() == '.') return;
    if (matchName(namePattern, name)) names.push_back(name);
  });
  return names;
}

// ---- SafeFileWriter ------------------------------------------------------------------------

SafeFileWriter::SafeFileWriter(std::string path) : path_(std::move(path)) {
  std::string pattern = path_ + ".XXXXXX";
  const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) throwOpenFailure("mkstemp", path_, errno);
  DescriptorGuard guard(fd);
  temporaryPath_ = pattern;
  // The new file keeps the permissions of the one it replaces; a new one gets the usual
  // ones rather than the private mode of a temporary file.
  struct stat target {};
  const mode_t mode = ::stat(path_.c_str(), &target) == 0 ? (target.st_mode & 07777)
                                                           : newFileMode();
  if (::fchmod(fd, mode) != 0) {
    const int error = errno;
    ::unlink(temporaryPath_.c_str());
    throwOpenFailure("fchmod", path_, error);
  }
  file_.fd_ = guard.release();
  file_.setWritebackInterval(kWritebackInterval);
}

SafeFileWriter::~SafeFileWriter() {
  if (committed_) return;
  file_.close();
  ::unlink(temporaryPath_.c_str());
}

void SafeFileWriter::commit() {
  constexpr const char* place = "System::SafeFileWriter::commit";
  if (committed_) return;
  if (!file_.isOpen()) throw makeErrnoException("fsync", place, EBADF);
  if (::fsync(file_.descriptor()) != 0) throw makeLastErrorException("fsync", place);
  // close() can report a failed delayed write (network file systems); it must not be lost.
  const int fd = std::exchange(file_.fd_, -1);
  if (::close(fd) != 0 && errno != EINTR) throw makeLastErrorException("close", place);
  if (::rename(temporaryPath_.c_str(), path_.c_str()) != 0)
    throw makeLastErrorException("rename", place);
  committed_ = true;
  // Make the rename itself durable; a folder that cannot be synced is no failure.
  std::string folder = FileName::getDirectory(path_);
  if (folder.empty()) folder = path_.find('/') == 0 ? "/" : ".";
  const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd >= 0) {
    ::fsync(folderFd);
    ::close(folderFd);
  }
}

}  // namespace System
