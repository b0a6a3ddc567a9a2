#pragma once
// What the core needs of the user interface. The core never links the toolkit: the UI
// installs an implementation at start-up, and without one (tests, benchmarks, a headless
// run) the core logs and goes on.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace System {

// What a clipboard call of the bridge reports. Unavailable: there is no clipboard to open
// (no display, or a bridge without one); NoData: the clipboard holds no text; TooLarge: the
// text is longer than the caller accepts; Failed: the clipboard refused the data.
enum class ClipboardStatus { Done, NoData, TooLarge, Unavailable, Failed };

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
  // A modal information message box, for notices such as an installed language file. Runs on
  // the UI thread. A UI without one shows nothing; the caller has logged the notice.
  virtual void showInformationBox(const std::string& text, const std::string& caption) {}
  // A modal warning box: the program goes on after it, possibly with less. Runs on the UI
  // thread. A UI without one shows nothing; the caller has logged the warning.
  virtual void showWarningBox(const std::string& text, const std::string& caption) {}
  // Stops the preview player without keeping its position: before a modal box, and before
  // the edit data changes under it. UI thread only. Without a player nothing happens.
  virtual void stopPlayer() {}

  // --- Wait handles of the UI loop (UI thread only) --------------------------------------
  // Watches `descriptor` and runs `callback` on the UI thread each time it is readable. The
  // watch is level-triggered: the callback takes what made the descriptor readable, or it
  // runs again at once. A descriptor that is already watched keeps its first callback. The
  // defaults watch nothing (a bridge that only shows message boxes).
  virtual void registerWaitHandle(int descriptor, std::function<void()> callback) {}
  // Stops watching `descriptor`; an unknown one is ignored. Safe inside a callback, also the
  // descriptor's own.
  virtual void unregisterWaitHandle(int descriptor) {}
  // Runs the UI events that are already waiting, user input excepted (painting, timers and
  // posted commands go on; keys, mouse input, menu commands and close requests are dropped),
  // while the UI thread waits for something outside the program. False when the user asked
  // to end the program meanwhile: the waiting caller gives up.
  virtual bool processEventsExceptInput() { return true; }

  // --- Clipboard (UI thread only) --------------------------------------------------------
  // The clipboard's text as UTF-8 into `text`. A text longer than `maxBytes` bytes is never
  // handed over: TooLarge.
  virtual ClipboardStatus clipboardText(std::string& text, std::size_t maxBytes) {
    return ClipboardStatus::Unavailable;
  }
  virtual ClipboardStatus setClipboardText(const std::string& text) {
    return ClipboardStatus::Unavailable;
  }
  // Puts an image on the clipboard: `height` rows of `width` pixels of 8-bit B, G, R, A,
  // the top row first, rows `stride` bytes apart. The pixels are copied before the return.
  virtual ClipboardStatus setClipboardImage(int width, int height, int stride,
                                            const uint8_t* bgraPixels) {
    return ClipboardStatus::Unavailable;
  }
};

// Installs the bridge (nullptr removes it). Called on the UI thread before and after the
// loop runs, never while workers run.
void setUiBridge(UiBridge* bridge);
UiBridge* uiBridge();

// The installed bridge's stopPlayer; nothing without a bridge.
void stopPreviewPlayer();

}  // namespace System
