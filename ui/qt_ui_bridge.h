#pragma once
// What the core asks of the toolkit: the desktop metrics and the message boxes (see
// ui/message_box.h for the boxes on the offscreen platform).
#include "system/ui_bridge.h"

namespace Window {

class QtUiBridge : public System::UiBridge {
 public:
  System::DesktopMetrics desktopMetrics() override;
  // Stops the preview player, leaving the cursor where playback was.
  void stopPlayer() override;
  void showErrorBox(const std::string& text, const std::string& caption) override;
  void showInformationBox(const std::string& text, const std::string& caption) override;
  void showWarningBox(const std::string& text, const std::string& caption) override;

  // Wait handles live in the window service's table; without it nothing is watched.
  void registerWaitHandle(int descriptor, std::function<void()> callback) override;
  void unregisterWaitHandle(int descriptor) override;
  bool processEventsExceptInput() override;

  System::ClipboardStatus clipboardText(std::string& text, std::size_t maxBytes) override;
  System::ClipboardStatus setClipboardText(const std::string& text) override;
  System::ClipboardStatus setClipboardImage(int width, int height, int stride,
                                            const uint8_t* bgraPixels) override;
};

}  // namespace Window
