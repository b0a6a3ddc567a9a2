#pragma once
// Text and images between the program and the desktop's clipboard.
//
// The clipboard belongs to the UI, so every operation goes through the UI bridge and runs
// on the UI thread. Without a bridge there is no clipboard to open: reading fails quietly
// (logged) with false, writing shows the failure and returns false, as any other clipboard
// failure does.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace System {

class UiBridge;

// A picture in main memory as the render engine hands it over: rows top to bottom,
// `rowPitch` bytes apart, in one of two pixel formats.
struct ClipboardImage {
  static constexpr uint32_t kFormatBgra = 87;  // 8-bit B, G, R, A; alpha kept
  static constexpr uint32_t kFormatBgrx = 88;  // 8-bit B, G, R and an unused byte; opaque

  int32_t width = 0;
  int32_t height = 0;
  int32_t rowPitch = 0;
  uint32_t pixelFormat = kFormatBgra;
  std::span<const uint8_t> pixels;
};

class Clipboard {
 public:
  // The longest text that is taken from the clipboard; a longer one is refused rather than
  // copied, whatever the clipboard's owner claims.
  static constexpr std::size_t kMaxTextBytes = std::size_t{64} << 20;
  // The largest image that is put on the clipboard (width x height x 4 bytes).
  static constexpr std::size_t kMaxImageBytes = std::size_t{1} << 30;

  // The clipboard's text, up to its first NUL, into `text`; true when there was one. No
  // text on the clipboard gives false without a message. Failures are logged as failed
  // calls ("OpenClipboard" in "System::Clipboard::Clipboard", "GetClipboardData" in
  // "System::Clipboard::getText") and give false; `text` is then unchanged.
  static bool getText(std::string& text);
  // Puts the text, up to its first NUL, on the clipboard; true when it is there. Failures
  // ("OpenClipboard" in "System::Clipboard::Clipboard", "SetClipboardData" in
  // "System::Clipboard::setText") are shown in the exception box and give false.
  static bool setText(const std::string& text);
  // Puts the image on the clipboard: a BGRA image as it is, a BGRX image as opaque. True
  // when it is there. An image whose sizes do not fit its pixels, or of another format, is
  // refused as "GlobalAlloc" with an invalid parameter; failures are shown as for setText,
  // with the place "System::Clipboard::setImage". UI thread only.
  static bool setImage(const ClipboardImage& image);
  // setImage for any thread: event command 6, sent to the UI thread and waited for, so the
  // image is only borrowed until the return. False when no event service runs commands, or
  // when the wait was given up (the command then never runs), or when setImage failed.
  static bool sendImage(const ClipboardImage& image);

 private:
  // Opens the clipboard for one operation: finds the bridge that owns it. Failure:
  // "OpenClipboard" in "System::Clipboard::Clipboard".
  Clipboard();

  UiBridge* bridge_;
};

}  // namespace System
