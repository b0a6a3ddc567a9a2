#pragma once
// What the core needs of the user interface. The core never links the toolkit: the UI
// installs an implementation at start-up, and without one (tests, benchmarks, a headless
// run) the core logs and goes on.
#include <string>

namespace System {

// What the desktop tells of the user's input timing and the screen. Values the desktop does
// not give keep these defaults.
struct DesktopMetrics {
  int keyDelayMs = 500;
  int keyRepeatIntervalMs = 100;
  int caretBlinkMs = 500;
  int dragWidth = 6;
  int dragHeight = 6;
  int doubleClickMs = 500;
  int screenWidth = 1920;
  int screenHeight = 1080;
  int dpi = 96;
};

class UiBridge {
 public:
  virtual ~UiBridge() = default;
  virtual DesktopMetrics desktopMetrics() = 0;
  // A modal error message box; returns when the user closed it. Runs on the UI thread.
  virtual void showErrorBox(const std::string& text, const std::string& caption) = 0;
};

// Installs the bridge (nullptr removes it). Called on the UI thread before and after the
// loop runs, never while workers run.
void setUiBridge(UiBridge* bridge);
UiBridge* uiBridge();

}  // namespace System
