#pragma once
// What the core asks of the toolkit: the desktop metrics and error boxes. On the offscreen platform
// (tests, a run without a display) nobody could close a box, so the text goes to standard
// error instead.
#include "system/ui_bridge.h"

namespace Window {

class QtUiBridge : public System::UiBridge {
 public:
  System::DesktopMetrics desktopMetrics() override;
  void showErrorBox(const std::string& text, const std::string& caption) override;
};

}  // namespace Window
