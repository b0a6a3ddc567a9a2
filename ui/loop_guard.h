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

}  // namespace Window
