#pragma once
// Thread priorities of the program's own threads.

namespace System::Process {

// Reads the integer under `key` in [Config] of system.conf (default 0). 0 leaves the calling
// thread's priority alone; any other value becomes its nice value (setpriority on the
// thread). A refusal is logged as a failed system call and dropped: priority is best effort.
// Safe on any thread: reading never changes the settings store.
void SetThreadPriority(const char* key);

}  // namespace System::Process
