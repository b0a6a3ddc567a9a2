#pragma once
// The life of the process: platform set-up, the services in their fixed order, the event
// loop, and the shut-down in reverse order.

namespace App {

// Returns the process's exit code: 0 in every case, as a failure has been shown by then.
int run(int argc, char** argv);

}  // namespace App
