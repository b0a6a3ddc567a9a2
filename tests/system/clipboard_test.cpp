#include "system/clipboard.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <thread>
#include <vector>

#include "fake_ui_bridge.h"
#include "log_capture.h"
#include "system/descriptor.h"
#include "system/dialog.h"
#include "system/event_service.h"
#include "system/exception.h"
#include "thread_test_support.h"

using namespace std::chrono_literals;
using System::Clipboard;
using System::ClipboardImage;
using System::ClipboardStatus;
using TestSupport::FakeUiBridge;
using TestSupport::LogCapture;

namespace {

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Whether one ERROR record names the failed call.
bool loggedFailedCall(const LogCapture& log, const std::string& call) {
  for (const std::string& text : log.texts("ERROR"))
    if (contains(text, call + "() failed")) return true;
  return false;
}

// A 3 x 2 image whose rows are 16 bytes apart (4 bytes of padding), every byte distinct.
struct TestImage {
  std::vector<uint8_t> bytes;
  ClipboardImage image;
  explicit TestImage(uint32_t format) : bytes(16 * 2) {
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i + 1);
    image = {3, 2, 16, format, bytes};
  }
  // The pixels of row y, without padding.
  std::vector<uint8_t> row(int y) const {
    return {bytes.begin() + y * 16, bytes.begin() + y * 16 + 12};
  }
};

TEST(ClipboardTest, WithoutAUiThereIsNoClipboardToOpen) {
  LogCapture log;
  std::string text = "kept";
  EXPECT_FALSE(Clipboard::getText(text));
  EXPECT_EQ(text, "kept");
  EXPECT_TRUE(loggedFailedCall(log, "OpenClipboard"));

  log.clear();
  EXPECT_FALSE(Clipboard::setText("x"));
  TestImage picture(ClipboardImage::kFormatBgra);
  EXPECT_FALSE(Clipboard::setImage(picture.image));
  // Writes show the failure: the exception box logs its text.
  int shown = 0;
  for (const auto& record : log.records())
    if (record.place == "Dialog::showException" &&
        contains(record.text, "OpenClipboard() failed") &&
        contains(record.text, "System::Clipboard::Clipboard()"))
      ++shown;
  EXPECT_EQ(shown, 2);
}

TEST(ClipboardTest, TextGoesOnAndComesBackUpToItsFirstNul) {
  FakeUiBridge bridge;
  EXPECT_TRUE(Clipboard::setText("h\xC3\xA9llo"));
  std::string text;
  EXPECT_TRUE(Clipboard::getText(text));
  EXPECT_EQ(text, "h\xC3\xA9llo");
  EXPECT_EQ(bridge.lastMaxBytes, Clipboard::kMaxTextBytes);

  EXPECT_TRUE(Clipboard::setText(std::string("xy\0z", 4)));
  EXPECT_EQ(*bridge.clipboard, "xy");
  bridge.clipboard = std::string("ab\0cd", 5);
  EXPECT_TRUE(Clipboard::getText(text));
  EXPECT_EQ(text, "ab");
}

TEST(ClipboardTest, NoTextOnTheClipboardGivesFalseWithoutAMessage) {
  FakeUiBridge bridge;
  LogCapture log;
  std::string text = "kept";
  EXPECT_FALSE(Clipboard::getText(text));
  EXPECT_EQ(text, "kept");
  EXPECT_TRUE(log.records().empty());
}

TEST(ClipboardTest, ReadFailuresAreLoggedAndGiveFalse) {
  struct Case {
    ClipboardStatus status;
    const char* call;
    const char* detail;
  };
  const Case cases[] = {
      {ClipboardStatus::Failed, "GetClipboardData", "Unspecified error"},
      {ClipboardStatus::TooLarge, "GetClipboardData", "Not enough memory"},
      {ClipboardStatus::Unavailable, "OpenClipboard", "No such device"},
  };
  for (const Case& c : cases) {
    FakeUiBridge bridge;
    bridge.clipboard = "text";
    bridge.readStatus = c.status;
    LogCapture log;
    std::string text = "kept";
    EXPECT_FALSE(Clipboard::getText(text)) << c.call;
    EXPECT_EQ(text, "kept");
    ASSERT_TRUE(loggedFailedCall(log, c.call)) << c.call;
    EXPECT_TRUE(contains(log.texts("ERROR").front(), c.detail)) << log.texts("ERROR").front();
    EXPECT_TRUE(bridge.boxes.empty());
  }
}

// A clipboard owner that ignores the bound it is given.
class OverlongBridge : public FakeUiBridge {
 public:
  ClipboardStatus clipboardText(std::string& text, std::size_t) override {
    text.assign(Clipboard::kMaxTextBytes + 1, 'a');
    return ClipboardStatus::Done;
  }
};

TEST(ClipboardTest, ATextBeyondTheBoundIsRefusedWhateverTheBridgeDid) {
  OverlongBridge bridge;
  LogCapture log;
  std::string text;
  EXPECT_FALSE(Clipboard::getText(text));
  EXPECT_TRUE(text.empty());
  EXPECT_TRUE(loggedFailedCall(log, "GetClipboardData"));
}

TEST(ClipboardTest, ARefusedWriteIsShownInTheExceptionBox) {
  FakeUiBridge bridge;
  bridge.writeStatus = ClipboardStatus::Failed;
  EXPECT_FALSE(Clipboard::setText("text"));
  TestImage picture(ClipboardImage::kFormatBgra);
  EXPECT_FALSE(Clipboard::setImage(picture.image));
  ASSERT_EQ(bridge.boxes.size(), 2u);
  EXPECT_EQ(bridge.boxes[0].caption, Dialog::kExceptionCaption);
  EXPECT_TRUE(contains(bridge.boxes[0].text, "SetClipboardData() failed."));
  EXPECT_TRUE(contains(bridge.boxes[0].text, "[Place]\nSystem::Clipboard::setText()"));
  EXPECT_TRUE(contains(bridge.boxes[1].text, "[Place]\nSystem::Clipboard::setImage()"));
  EXPECT_FALSE(bridge.clipboard);
  EXPECT_FALSE(bridge.image);
}

TEST(ClipboardTest, ABgraImageKeepsItsAlphaAndABgrxImageBecomesOpaque) {
  FakeUiBridge bridge;
  TestImage bgra(ClipboardImage::kFormatBgra);
  ASSERT_TRUE(Clipboard::setImage(bgra.image));
  ASSERT_TRUE(bridge.image);
  EXPECT_EQ(bridge.image->width, 3);
  EXPECT_EQ(bridge.image->height, 2);
  std::vector<uint8_t> expected = bgra.row(0);
  const std::vector<uint8_t> second = bgra.row(1);
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(bridge.image->pixels, expected);

  TestImage bgrx(ClipboardImage::kFormatBgrx);
  const std::vector<uint8_t> original = bgrx.bytes;
  ASSERT_TRUE(Clipboard::setImage(bgrx.image));
  for (std::size_t alpha = 3; alpha < expected.size(); alpha += 4) expected[alpha] = 0xFF;
  EXPECT_EQ(bridge.image->pixels, expected);
  EXPECT_EQ(bgrx.bytes, original);  // the caller's pixels are not touched
}

TEST(ClipboardTest, AnImageWhoseSizesDoNotFitItsPixelsIsRefused) {
  struct Case {
    const char* what;
    int32_t width;
    int32_t height;
    int32_t rowPitch;
    uint32_t format;
    std::size_t byteCount;
  };
  const Case cases[] = {
      {"no width", 0, 2, 16, ClipboardImage::kFormatBgra, 32},
      {"negative height", 3, -2, 16, ClipboardImage::kFormatBgra, 32},
      {"other format", 3, 2, 16, 28, 32},
      {"rows overlap", 3, 2, 8, ClipboardImage::kFormatBgra, 32},
      {"pixels end early", 3, 2, 16, ClipboardImage::kFormatBgra, 27},
      {"huge", 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, ClipboardImage::kFormatBgrx, 32},
  };
  for (const Case& c : cases) {
    FakeUiBridge bridge;
    std::vector<uint8_t> bytes(32, 7);
    const ClipboardImage image{c.width, c.height, c.rowPitch, c.format,
                               std::span<const uint8_t>(bytes.data(), c.byteCount)};
    EXPECT_FALSE(Clipboard::setImage(image)) << c.what;
    EXPECT_FALSE(bridge.image) << c.what;
    ASSERT_EQ(bridge.boxes.size(), 1u) << c.what;
    EXPECT_TRUE(contains(bridge.boxes[0].text, "GlobalAlloc() failed.")) << c.what;
    EXPECT_TRUE(contains(bridge.boxes[0].text, "The parameter is incorrect.")) << c.what;
  }
}

TEST(ClipboardTest, AWorkerPutsAnImageThereThroughTheUiThread) {
  TestSupport::Watchdog watchdog("clipboard image from a worker");
  FakeUiBridge bridge;
  Event::EventService events;
  TestImage picture(ClipboardImage::kFormatBgra);
  bool placed = false;
  std::thread worker([&] { placed = Clipboard::sendImage(picture.image); });

  const int descriptor = events.sentCommandDescriptor();
  ASSERT_EQ(System::waitReadable({&descriptor, 1}, 30s, "test"), 0);
  events.processEventCommands();
  worker.join();
  EXPECT_TRUE(placed);
  ASSERT_TRUE(bridge.image);
  EXPECT_EQ(bridge.image->width, 3);
  EXPECT_EQ(bridge.imageThread, std::this_thread::get_id());
}

TEST(ClipboardTest, WithoutAnEventServiceAWorkerCannotReachTheClipboard) {
  FakeUiBridge bridge;
  TestImage picture(ClipboardImage::kFormatBgra);
  bool placed = true;
  std::thread worker([&] { placed = Clipboard::sendImage(picture.image); });
  worker.join();
  EXPECT_FALSE(placed);
  EXPECT_FALSE(bridge.image);
}

}  // namespace
