#include "system/process.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

#include "system/exception.h"
#include "system/settings_access.h"

namespace System::Process {

void SetThreadPriority(const char* key) {
  const int value = Setting::readConfigInt(key, 0);
  if (value == 0) return;
  const auto thread = static_cast<id_t>(syscall(SYS_gettid));
  if (setpriority(PRIO_PROCESS, thread, value) != 0) {
    // Built for its log line, then dropped: the start goes on at the old priority.
    (void)makeLastErrorException("setpriority", "System::Process::SetThreadPriority");
  }
}

}  // namespace System::Process
