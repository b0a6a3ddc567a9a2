#pragma once
// A child program joined to this one by two pipes and a lock that both processes share:
// the helper processes of the plug-ins that cannot be loaded into this process run
// through it.
//
// The child's side, fixed for every helper:
// - its standard input (descriptor 0) is the pipe from this process, its standard output
//   (descriptor 1) the pipe to this process; standard error is this process's own;
// - its arguments are its program path, then the numbers of its read and write descriptors
//   as 16 upper-case hexadecimal digits ("0000000000000000", "0000000000000001"). The path is
//   one argument of its own, so a path with blanks always starts that very program. A start
//   may add one more argument of its own choosing (the plug-in helpers get the folder of
//   the plug-ins there);
// - descriptor 3 (mutexHandle()) is the shared lock: a POSIX record lock on a memory file,
//   taken with fcntl(F_SETLKW, write lock over the whole file) and given back with F_UNLCK.
//   The helper learns the number through the pipe protocol.
//
// Why a record lock: it belongs to the process that took it, so parent and child exclude
// each other through the one inherited descriptor, and the kernel drops it when its holder
// ends, however it ends: a crashed helper cannot leave it taken. A lock of flock() would
// belong to the shared open file instead (the child's lock would not keep the parent out),
// and a robust pthread mutex in shared memory has a different layout in a 32-bit helper
// than in this program.
#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>

#include "system/descriptor.h"

namespace System {

class PipeProcess {
 public:
  static constexpr int kChildReadDescriptor = 0;
  static constexpr int kChildWriteDescriptor = 1;
  static constexpr int kChildMutexDescriptor = 3;
  // The longest command line, "path read write extra " with its blanks.
  static constexpr std::size_t kMaxCommandLine = 2047;
  // How long terminate waits for a child to end by itself before it is killed.
  static constexpr std::chrono::milliseconds kTerminateWait{5000};

  PipeProcess() = default;
  PipeProcess(const PipeProcess&) = delete;
  PipeProcess& operator=(const PipeProcess&) = delete;
  // terminate.
  ~PipeProcess();

  // Starts the program at `path` (a child started before is terminated first), with
  // `extra`, when given, as its fourth argument. Failures: "pipe2", "fcntl",
  // "memfd_create" or "posix_spawn" in "System::PipeProcess::start" (a path that is empty,
  // a path or extra argument that holds a NUL, or a command line longer than 2,047
  // characters fails as "posix_spawn"); everything made so far is closed and the child, if
  // any, terminated before the throw.
  void start(const std::string& path, const std::optional<std::string>& extra = std::nullopt);
  // Closes the lock, then the pipe to the child, then the pipe from it, so that the child
  // sees its input end; waits up to 5000 ms for the child to end, then kills it with the
  // warning "kill pipe process [%p]". Nothing to do when nothing was started.
  void terminate();
  // True while the started child has not ended; false before start, after its end and when
  // its state cannot be read.
  bool isRunning();

  // Waits on the UI thread until the child no longer holds the shared lock, then returns
  // (the lock itself is not kept). Meanwhile the UI keeps running its waiting events through
  // the bridge, without user input. The wait ends with a failed call "poll" in
  // "System::PipeProcess::waitMutexProcessMessage" when the child has ended (ESRCH) or was
  // never started (EBADF), when `limit` passed (ETIMEDOUT), or when the user asked to end
  // the program (ECANCELED); a failed lock call fails as "fcntl".
  void waitMutexProcessMessage(std::optional<std::chrono::milliseconds> limit = std::nullopt);

  // This process's ends, for the pipe protocol: it reads the child's output from one and
  // writes the child's input to the other. -1 before start.
  int readDescriptor() const { return read_.get(); }
  int writeDescriptor() const { return write_.get(); }
  // The lock's descriptor here, and its number in the child (-1 before start).
  int mutexDescriptor() const { return mutex_.get(); }
  int mutexHandle() const { return mutex_ ? kChildMutexDescriptor : -1; }
  // The child's process id; -1 before start and after terminate.
  pid_t processId() const { return pid_; }

 private:
  // Reaps the child when it has ended; true when it has (or can no longer be waited for).
  bool reapIfEnded();
  // Waits at most `timeout` for the child's end; true when it ended.
  bool waitForEnd(std::chrono::milliseconds timeout);
  // Takes and at once gives back the shared lock; false while someone else holds it.
  bool mutexIsFree();

  UniqueDescriptor read_;
  UniqueDescriptor write_;
  // The child: its id, and a descriptor that becomes readable when it ends (absent where
  // the kernel gives none; waits then look again every few milliseconds).
  pid_t pid_ = -1;
  UniqueDescriptor processDescriptor_;
  bool reaped_ = false;
  UniqueDescriptor mutex_;
};

}  // namespace System
