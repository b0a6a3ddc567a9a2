#pragma once
// Error boxes of the core shown with the toolkit's message box. On the offscreen platform
// (tests, a run without a display) nobody could close a box, so the text goes to standard
// error instead.
#include "system/ui_bridge.h"

namespace App {

class MessageBoxBridge : public System::UiBridge {
 public:
  System::DesktopMetrics desktopMetrics() override;
  void showErrorBox(const std::string& text, const std::string& caption) override;
};

}  // namespace App
