#pragma once
// Exceptions never cross the toolkit's frames: every entry from the event loop runs through
// runGuarded, which keeps the first exception, ends the loop, and lets the code that ran the
// loop throw it again where the loop returns.
#include <exception>
#include <functional>

namespace Window {

void runGuarded(const std::function<void()>& work);
// Throws the kept exception, if any, and forgets it.
void rethrowPending();
bool hasPendingException();

// Ends every running event loop with the code. With no loop running it does nothing: the
// toolkit would otherwise end every later loop at once, so that a context menu or a dialog
// shown afterwards returned before the user saw it.
void exitRunningLoops(int code);

}  // namespace Window
