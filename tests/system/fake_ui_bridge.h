#pragma once
// A UI bridge for tests: its "loop" polls the registered descriptors when the test turns
// it, its clipboard is a few fields, and it installs itself for its lifetime.
#include <poll.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "system/ui_bridge.h"

namespace TestSupport {

class FakeUiBridge : public System::UiBridge {
 public:
  FakeUiBridge() { System::setUiBridge(this); }
  FakeUiBridge(const FakeUiBridge&) = delete;
  FakeUiBridge& operator=(const FakeUiBridge&) = delete;
  ~FakeUiBridge() override { System::setUiBridge(nullptr); }

  System::DesktopMetrics desktopMetrics() override { return {}; }
  void showErrorBox(const std::string& text, const std::string& caption) override {
    boxes.push_back({text, caption});
  }
  void stopPlayer() override { ++playerStops; }

  void registerWaitHandle(int descriptor, std::function<void()> callback) override {
    ++registrations;
    handles.emplace(descriptor, std::move(callback));  // an existing entry stays
  }
  void unregisterWaitHandle(int descriptor) override { handles.erase(descriptor); }

  // One turn of the loop: waits at most `timeout` for a registered descriptor to become
  // readable and runs the callback of the lowest ready one, from a copy (it may unregister
  // itself). False when nothing became readable.
  bool pumpOnce(std::chrono::milliseconds timeout) {
    std::vector<pollfd> entries;
    std::vector<std::function<void()>> callbacks;
    for (const auto& [descriptor, callback] : handles) {
      entries.push_back({descriptor, POLLIN, 0});
      callbacks.push_back(callback);
    }
    if (::poll(entries.data(), entries.size(), static_cast<int>(timeout.count())) <= 0)
      return false;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].revents & POLLIN) {
        callbacks[i]();
        return true;
      }
    }
    return false;
  }

  bool processEventsExceptInput() override {
    ++eventTurns;
    if (onEventTurn) onEventTurn(eventTurns);
    return !giveUpAfterTurns || eventTurns < *giveUpAfterTurns;
  }

  System::ClipboardStatus clipboardText(std::string& text, std::size_t maxBytes) override {
    lastMaxBytes = maxBytes;
    if (readStatus != System::ClipboardStatus::Done) return readStatus;
    if (!clipboard) return System::ClipboardStatus::NoData;
    text = *clipboard;
    return System::ClipboardStatus::Done;
  }
  System::ClipboardStatus setClipboardText(const std::string& text) override {
    if (writeStatus != System::ClipboardStatus::Done) return writeStatus;
    clipboard = text;
    return System::ClipboardStatus::Done;
  }
  System::ClipboardStatus setClipboardImage(int width, int height, int stride,
                                            const uint8_t* bgraPixels) override {
    if (writeStatus != System::ClipboardStatus::Done) return writeStatus;
    image = Image{width, height, {}};
    imageThread = std::this_thread::get_id();
    for (int y = 0; y < height; ++y) {
      const uint8_t* row = bgraPixels + static_cast<std::ptrdiff_t>(y) * stride;
      image->pixels.insert(image->pixels.end(), row, row + width * 4);
    }
    return System::ClipboardStatus::Done;
  }

  struct Box {
    std::string text;
    std::string caption;
  };
  struct Image {
    int width;
    int height;
    std::vector<uint8_t> pixels;  // rows without padding
  };

  std::map<int, std::function<void()>> handles;
  int registrations = 0;
  int playerStops = 0;
  int eventTurns = 0;
  std::optional<int> giveUpAfterTurns;  // the turn that answers "give up"
  std::function<void(int turn)> onEventTurn;
  std::vector<Box> boxes;
  std::optional<std::string> clipboard;
  std::optional<Image> image;
  std::thread::id imageThread;
  std::size_t lastMaxBytes = 0;
  System::ClipboardStatus readStatus = System::ClipboardStatus::Done;
  System::ClipboardStatus writeStatus = System::ClipboardStatus::Done;
};

}  // namespace TestSupport
