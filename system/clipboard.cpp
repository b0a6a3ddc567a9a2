#include "system/clipboard.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <new>
#include <vector>

#include "system/dialog.h"
#include "system/event_service.h"
#include "system/exception.h"
#include "system/ui_bridge.h"

namespace System {
namespace {

constexpr const char* kOpenPlace = "System::Clipboard::Clipboard";
constexpr const char* kGetTextPlace = "System::Clipboard::getText";
constexpr const char* kSetTextPlace = "System::Clipboard::setText";
constexpr const char* kSetImagePlace = "System::Clipboard::setImage";
constexpr int32_t kUnspecifiedError = static_cast<int32_t>(0x80004005);

Exception unavailable() { return makeErrnoException("OpenClipboard", kOpenPlace, ENODEV); }

Exception outOfMemory(const char* call, const char* place) {
  return makeHresultException(call, place, hresultFromWin32(kWin32ErrorOutOfMemory));
}

// What a write that did not succeed reports.
Exception writeFailure(ClipboardStatus status, const char* place) {
  if (status == ClipboardStatus::Unavailable) return unavailable();
  if (status == ClipboardStatus::TooLarge) return outOfMemory("SetClipboardData", place);
  return makeHresultException("SetClipboardData", place, kUnspecifiedError);
}

// Whether the image's sizes describe pixels that are really there.
bool fits(const ClipboardImage& image) {
  if (image.width <= 0 || image.height <= 0) return false;
  if (image.pixelFormat != ClipboardImage::kFormatBgra &&
      image.pixelFormat != ClipboardImage::kFormatBgrx)
    return false;
  const uint64_t width = static_cast<uint64_t>(image.width);
  const uint64_t height = static_cast<uint64_t>(image.height);
  const uint64_t rowBytes = width * 4;
  if (image.rowPitch < 0 || static_cast<uint64_t>(image.rowPitch) < rowBytes) return false;
  if (width * height * 4 > Clipboard::kMaxImageBytes) return false;
  const uint64_t needed = (height - 1) * static_cast<uint64_t>(image.rowPitch) + rowBytes;
  return image.pixels.data() != nullptr && needed <= image.pixels.size();
}

}  // namespace

Clipboard::Clipboard() : bridge_(uiBridge()) {
  if (!bridge_) throw unavailable();
}

bool Clipboard::getText(std::string& text) {
  try {
    Clipboard clipboard;
    std::string data;
    const ClipboardStatus status = clipboard.bridge_->clipboardText(data, kMaxTextBytes);
    switch (status) {
      case ClipboardStatus::Done:
        break;
      case ClipboardStatus::NoData:
        return false;
      case ClipboardStatus::Unavailable:
        throw unavailable();
      case ClipboardStatus::TooLarge:
        throw outOfMemory("GetClipboardData", kGetTextPlace);
      case ClipboardStatus::Failed:
        throw makeHresultException("GetClipboardData", kGetTextPlace, kUnspecifiedError);
    }
    // The bound holds whatever the bridge did with it.
    if (data.size() > kMaxTextBytes) throw outOfMemory("GetClipboardData", kGetTextPlace);
    const std::size_t end = data.find('\0');
    if (end != std::string::npos) data.resize(end);
    text = std::move(data);
    return true;
  } catch (const Exception&) {
    // Built and logged by its factory; reading fails quietly.
    return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool Clipboard::setText(const std::string& text) {
  try {
    Clipboard clipboard;
    const std::size_t end = text.find('\0');
    const ClipboardStatus status = end == std::string::npos
                                       ? clipboard.bridge_->setClipboardText(text)
                                       : clipboard.bridge_->setClipboardText(text.substr(0, end));
    if (status != ClipboardStatus::Done) throw writeFailure(status, kSetTextPlace);
    return true;
  } catch (const Exception& exception) {
    Dialog::showException(exception);
    return false;
  } catch (const std::bad_alloc&) {
    Dialog::showException(outOfMemory("GlobalAlloc", kSetTextPlace));
    return false;
  }
}

bool Clipboard::setImage(const ClipboardImage& image) {
  try {
    Clipboard clipboard;
    if (!fits(image)) throw makeErrnoException("GlobalAlloc", kSetImagePlace, EINVAL);
    ClipboardStatus status;
    if (image.pixelFormat == ClipboardImage::kFormatBgra) {
      status = clipboard.bridge_->setClipboardImage(image.width, image.height, image.rowPitch,
                                                    image.pixels.data());
    } else {
      // The fourth byte of a BGRX pixel means nothing: the clipboard gets it opaque.
      const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 4;
      std::vector<uint8_t> opaque;
      try {
        opaque.resize(rowBytes * static_cast<std::size_t>(image.height));
      } catch (const std::bad_alloc&) {
        throw outOfMemory("GlobalAlloc", kSetImagePlace);
      }
      for (int32_t y = 0; y < image.height; ++y) {
        const uint8_t* source = image.pixels.data() + static_cast<std::size_t>(y) * image.rowPitch;
        uint8_t* target = opaque.data() + static_cast<std::size_t>(y) * rowBytes;
        std::memcpy(target, source, rowBytes);
        for (std::size_t alpha = 3; alpha < rowBytes; alpha += 4) target[alpha] = 0xFF;
      }
      status = clipboard.bridge_->setClipboardImage(image.width, image.height,
                                                    static_cast<int>(rowBytes), opaque.data());
    }
    if (status != ClipboardStatus::Done) throw writeFailure(status, kSetImagePlace);
    return true;
  } catch (const Exception& exception) {
    Dialog::showException(exception);
    return false;
  }
}

bool Clipboard::sendImage(const ClipboardImage& image) {
  // The command runs to its end before sendCommand returns, or never runs at all, so the
  // borrowed image and the result outlive every use.
  bool placed = false;
  Event::Callable work = [&image, &placed] { placed = setImage(image); };
  if (!Event::EventService::sendCommand(Event::EventCommandType::SetClipboardImage,
                                        std::move(work)))
    return false;
  return placed;
}

}  // namespace System
