#pragma once
// What the core needs of the user interface. The core never links the toolkit: the UI
// installs an implementation at start-up, and without one (tests, benchmarks, a headless
// run) the core logs and goes on.
#include <string>

namespace System {

class UiBridge {
 public:
  virtual ~UiBridge() = default;
  // A modal error message box; returns when the user closed it. Runs on the UI thread.
  virtual void showErrorBox(const std::string& text, const std::string& caption) = 0;
};

// Installs the bridge (nullptr removes it). Called on the UI thread before and after the
// loop runs, never while workers run.
void setUiBridge(UiBridge* bridge);
UiBridge* uiBridge();

}  // namespace System
