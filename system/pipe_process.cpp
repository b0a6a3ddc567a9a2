#include "system/pipe_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <thread>
#include <vector>

#include "system/exception.h"
#include "system/log.h"
#include "system/pipe.h"
#include "system/ui_bridge.h"

extern char** environ;

namespace System {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr const char* kStartPlace = "System::PipeProcess::start";
constexpr const char* kTerminatePlace = "System::PipeProcess::terminate";
constexpr const char* kWaitPlace = "System::PipeProcess::waitMutexProcessMessage";
// How often a wait looks at the lock and lets the UI run its events.
constexpr milliseconds kWaitStep{10};
// The child's descriptors 0 to 3 are set by the start; everything above is closed.
constexpr int kFirstFreeChildDescriptor = PipeProcess::kChildMutexDescriptor + 1;

// A descriptor number as the child reads it from its command line.
std::string handleText(int descriptor) {
  char text[24];
  std::snprintf(text, sizeof text, "%016llX", static_cast<unsigned long long>(descriptor));
  return text;
}

// Gives `descriptor` a number of at least `minimum`, so that setting up the child's
// descriptors 0 to 3 can never overwrite one of its sources.
void moveToAtLeast(UniqueDescriptor& descriptor, int minimum) {
  if (descriptor.get() >= minimum) return;
  const int moved = ::fcntl(descriptor.get(), F_DUPFD_CLOEXEC, minimum);
  if (moved < 0) throw makeLastErrorException("fcntl", kStartPlace);
  descriptor.reset(moved);
}

void checkSpawnCall(int error) {
  if (error != 0) throw makeErrnoException("posix_spawn", kStartPlace, error);
}

struct SpawnActions {
  posix_spawn_file_actions_t value;
  SpawnActions() { checkSpawnCall(::posix_spawn_file_actions_init(&value)); }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;
  ~SpawnActions() { ::posix_spawn_file_actions_destroy(&value); }
};

struct SpawnAttributes {
  posix_spawnattr_t value;
  SpawnAttributes() { checkSpawnCall(::posix_spawnattr_init(&value)); }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  ~SpawnAttributes() { ::posix_spawnattr_destroy(&value); }
};

int openProcessDescriptor(pid_t pid) {
#ifdef SYS_pidfd_open
  return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
  return -1;
#endif
}

// Sleeps at most `timeout`, waking early when the child ends (when its descriptor exists).
void pauseForChild(int processDescriptor, milliseconds timeout) {
  const int waitMs = static_cast<int>(std::max<milliseconds::rep>(0, timeout.count()));
  if (processDescriptor >= 0) {
    pollfd entry{processDescriptor, POLLIN, 0};
    if (::poll(&entry, 1, waitMs) >= 0 || errno == EINTR) return;
  }
  std::this_thread::sleep_for(std::min(timeout, kWaitStep));
}

}  // namespace

PipeProcess::~PipeProcess() { terminate(); }

void PipeProcess::start(const std::string& path, const std::optional<std::string>& extra) {
  terminate();
  try {
    // The path reaches the system as a C string: a NUL inside it would start another
    // program.
    if (path.find('\0') != std::string::npos ||
        (extra && extra->find('\0') != std::string::npos))
      throw makeErrnoException("posix_spawn", kStartPlace, EINVAL);
    std::string readText = handleText(kChildReadDescriptor);
    std::string writeText = handleText(kChildWriteDescriptor);
    std::string extraText = extra.value_or(std::string());
    const std::size_t extraLength = extra ? extraText.size() + 1 : 0;
    if (path.size() + 1 + readText.size() + 1 + writeText.size() + 1 + extraLength >
        kMaxCommandLine)
      throw makeErrnoException("posix_spawn", kStartPlace, ENAMETOOLONG);

    // Both pipes are made close-on-exec: this process's ends never reach the child, and the
    // child's ends reach it only as its descriptors 0 and 1.
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) throw makeLastErrorException("pipe2", kStartPlace);
    read_.reset(ends[0]);
    UniqueDescriptor childWrite(ends[1]);
    if (::pipe2(ends, O_CLOEXEC) != 0) throw makeLastErrorException("pipe2", kStartPlace);
    UniqueDescriptor childRead(ends[0]);
    write_.reset(ends[1]);
    mutex_.reset(::memfd_create("velumo2-pipe-mutex", MFD_CLOEXEC));
    if (!mutex_) throw makeLastErrorException("memfd_create", kStartPlace);

    moveToAtLeast(childRead, kFirstFreeChildDescriptor);
    moveToAtLeast(childWrite, kFirstFreeChildDescriptor);
    moveToAtLeast(mutex_, kFirstFreeChildDescriptor);
    ignoreBrokenPipeSignal();

    SpawnActions actions;
    checkSpawnCall(::posix_spawn_file_actions_adddup2(&actions.value, childRead.get(),
                                                      kChildReadDescriptor));
    checkSpawnCall(::posix_spawn_file_actions_adddup2(&actions.value, childWrite.get(),
                                                      kChildWriteDescriptor));
    checkSpawnCall(::posix_spawn_file_actions_adddup2(&actions.value, mutex_.get(),
                                                      kChildMutexDescriptor));
    // Descriptors that other code opened without close-on-exec stay here.
    checkSpawnCall(
        ::posix_spawn_file_actions_addclosefrom_np(&actions.value, kFirstFreeChildDescriptor));

    // The child starts with the default reaction to the signals this program ignores or
    // blocks, whatever thread starts it.
    SpawnAttributes attributes;
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int number : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGCHLD})
      sigaddset(&defaults, number);
    sigset_t noneBlocked;
    sigemptyset(&noneBlocked);
    checkSpawnCall(::posix_spawnattr_setsigdefault(&attributes.value, &defaults));
    checkSpawnCall(::posix_spawnattr_setsigmask(&attributes.value, &noneBlocked));
    checkSpawnCall(::posix_spawnattr_setflags(&attributes.value,
                                              POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK));

    std::string program = path;
    std::vector<char*> arguments{program.data(), readText.data(), writeText.data()};
    if (extra) arguments.push_back(extraText.data());
    arguments.push_back(nullptr);
    pid_t pid = -1;
    checkSpawnCall(::posix_spawn(&pid, path.c_str(), &actions.value, &attributes.value,
                                 arguments.data(), environ));
    pid_ = pid;
    reaped_ = false;
    processDescriptor_.reset(openProcessDescriptor(pid));
    if (processDescriptor_.get() < 0) processDescriptor_.reset();
  } catch (...) {
    // The child's pipe ends are closed by now; this closes the rest.
    terminate();
    throw;
  }
}

void PipeProcess::terminate() {
  mutex_.reset();
  write_.reset();
  read_.reset();
  if (pid_ < 0) return;
  if (!waitForEnd(kTerminateWait)) {
    Log::warn(kTerminatePlace, "kill pipe process [%016llX]",
              static_cast<unsigned long long>(pid_));
    // Not reaped yet, so the id is still this child's.
    ::kill(pid_, SIGKILL);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
  }
  pid_ = -1;
  processDescriptor_.reset();
  reaped_ = false;
}

bool PipeProcess::isRunning() { return pid_ >= 0 && !reapIfEnded(); }

bool PipeProcess::reapIfEnded() {
  if (pid_ < 0 || reaped_) return true;
  for (;;) {
    int status = 0;
    const pid_t result = ::waitpid(pid_, &status, WNOHANG);
    if (result == 0) return false;
    if (result < 0 && errno == EINTR) continue;
    // Ended, or reaped by someone else (ECHILD): either way it is gone and its id must not
    // be signalled any more.
    reaped_ = true;
    return true;
  }
}

bool PipeProcess::waitForEnd(milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    if (reapIfEnded()) return true;
    const auto left = std::chrono::ceil<milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    pauseForChild(processDescriptor_.get(), left);
  }
}

bool PipeProcess::mutexIsFree() {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  for (;;) {
    if (::fcntl(mutex_.get(), F_SETLK, &lock) == 0) break;
    if (errno == EINTR) continue;
    if (errno == EACCES || errno == EAGAIN) return false;
    throw makeLastErrorException("fcntl", kWaitPlace);
  }
  lock.l_type = F_UNLCK;
  ::fcntl(mutex_.get(), F_SETLK, &lock);
  return true;
}

void PipeProcess::waitMutexProcessMessage(std::optional<milliseconds> limit) {
  const auto deadline = limit ? Clock::now() + *limit : Clock::time_point::max();
  for (;;) {
    // Checked on every turn: an event that ran meanwhile may have ended this helper.
    if (!mutex_ || pid_ < 0) throw makeErrnoException("poll", kWaitPlace, EBADF);
    // A helper that ended never gives a reply, even when its end freed the lock.
    if (reapIfEnded()) throw makeErrnoException("poll", kWaitPlace, ESRCH);
    if (mutexIsFree()) return;
    if (UiBridge* bridge = uiBridge(); bridge && !bridge->processEventsExceptInput())
      throw makeErrnoException("poll", kWaitPlace, ECANCELED);
    const auto now = Clock::now();
    if (now >= deadline) throw makeErrnoException("poll", kWaitPlace, ETIMEDOUT);
    const auto left = std::chrono::ceil<milliseconds>(deadline - now);
    pauseForChild(processDescriptor_.get(), std::min(left, kWaitStep));
  }
}

}  // namespace System
