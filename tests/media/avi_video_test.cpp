// Uncompressed video of AVI files: the structure walk, the three kinds of index, the
// pass-through pixel formats and how frame numbers are read.
#include <gtest/gtest.h>

#include "gpu/image/image_buffer.h"
#include "media/avi_test_file.h"
#include "media/avi_test_media.h"
#include "system/log_capture.h"

namespace {

using namespace AviTest;

// Checks every pixel of a 24-bit image against frame `frame`'s colours.
void expectRgbFrame(const Media::ImageBuffer& image, int frame, bool alpha) {
  for (uint32_t y = 0; y < image.height; ++y)
    for (uint32_t x = 0; x < image.width; ++x) {
      const uint8_t* p = image.row(y) + x * 4;
      const Bgr want = pixelOf(frame, static_cast<int>(x), static_cast<int>(y));
      ASSERT_EQ(p[0], want.b) << "frame " << frame << " at " << x << "," << y;
      ASSERT_EQ(p[1], want.g);
      ASSERT_EQ(p[2], want.r);
      ASSERT_EQ(p[3], alpha ? 0x80 + frame : 0);
    }
}

TEST(AviReaderTest, TheReaderClaimsAviFilesForVideoAndAudio) {
  Plugin::AviFileReader reader;
  EXPECT_EQ(reader.name(), "AVI/AVI2 File Reader");
  EXPECT_EQ(reader.kinds(), 3);
  EXPECT_EQ(reader.information(), "");
  ASSERT_EQ(reader.filter().size(), 1u);
  EXPECT_EQ(reader.filter()[0].description, "AviFile (*.avi)");
  EXPECT_EQ(reader.getExtList(), std::vector<std::string>{"avi"});
}

TEST(AviVideoTest, EveryKindOfIndexFindsTheSameFrames) {
  const struct {
    const char* name;
    Index index;
  } cases[] = {
      {"idx1 relative to movi", Index::Idx1Relative},
      {"idx1 from the file start", Index::Idx1Absolute},
      {"no index: movi scanned", Index::None},
      {"OpenDML with an AVIX part", Index::OpenDml},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    File file;
    file.video = rgbVideo(5, 5, 3, 24);  // odd width: rows carry padding
    file.video->rate = 30000;
    file.video->scale = 1001;
    file.index = c.index;
    file.secondPartFrom = 3;
    OpenedAvi avi(writeAvi(file));
    ASSERT_TRUE(avi);
    const auto& d = avi->description();
    EXPECT_EQ(d.kinds, Plugin::kKindVideo);
    EXPECT_EQ(d.frameCount, 5);
    EXPECT_EQ(d.rate, 30000);
    EXPECT_EQ(d.scale, 1001);
    EXPECT_EQ(d.width, 5);
    EXPECT_EQ(d.height, 3);
    EXPECT_EQ(d.pixelFormat, Plugin::PixelFormat::kBgrx);
    for (int frame : {0, 4, 1, 3}) {  // the last two lie in the AVIX part with OpenDML
      const auto image = avi->readVideo(frame);
      ASSERT_TRUE(image);
      EXPECT_EQ(image->format, Plugin::PixelFormat::kBgrx);
      expectRgbFrame(*image, frame, false);
    }
  }
}

TEST(AviVideoTest, FrameNumbersOutsideTheStreamReadTheNearestFrame) {
  File file;
  file.video = rgbVideo(3, 4, 2, 32);
  OpenedAvi avi(writeAvi(file));
  ASSERT_TRUE(avi);
  EXPECT_EQ(avi->description().pixelFormat, Plugin::PixelFormat::kBgra);
  expectRgbFrame(*avi->readVideo(-5), 0, true);
  expectRgbFrame(*avi->readVideo(99), 2, true);
}

TEST(AviVideoTest, PackedAndSixtyFourBitFramesPassThroughAsStored) {
  const struct {
    const char* handler;
    uint16_t bits;
    int32_t format;
  } cases[] = {
      {"YUY2", 16, Plugin::PixelFormat::kYuy2},
      {"RU64", 64, Plugin::PixelFormat::kRgba64Unorm},
      {"RF64", 64, Plugin::PixelFormat::kRgba64Float},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.handler);
    const int width = 6;
    const int height = 2;
    const int rowBytes = width * c.bits / 8;
    File file;
    file.video = VideoStream{};
    file.video->handler = tag(*reinterpret_cast<const char(*)[5]>(c.handler));
    file.video->compression = file.video->handler;
    file.video->width = width;
    file.video->height = height;
    file.video->bitCount = c.bits;
    for (int f = 0; f < 2; ++f) {
      std::string frame(static_cast<std::size_t>(rowBytes) * height, '\0');
      for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<char>(i * 3 + f);
      file.video->frames.push_back(frame);
    }
    OpenedAvi avi(writeAvi(file));
    ASSERT_TRUE(avi);
    EXPECT_EQ(avi->description().pixelFormat, c.format);
    const auto image = avi->readVideo(1);
    ASSERT_TRUE(image);
    // These formats are stored top-down, row after row.
    for (int y = 0; y < height; ++y)
      for (int i = 0; i < rowBytes; ++i)
        ASSERT_EQ(image->row(static_cast<uint32_t>(y))[i], static_cast<uint8_t>((y * rowBytes + i) * 3 + 1));
  }
}

TEST(AviVideoTest, ANegativeHeightStoresRgbRowsTopDown) {
  File file;
  file.video = rgbVideo(1, 3, 2, 32);
  file.video->height = -2;
  // The same rows in the other order.
  const std::string& bottomUp = file.video->frames[0];
  file.video->frames[0] = bottomUp.substr(12) + bottomUp.substr(0, 12);
  OpenedAvi avi(writeAvi(file));
  ASSERT_TRUE(avi);
  EXPECT_EQ(avi->description().height, 2);
  expectRgbFrame(*avi->readVideo(0), 0, true);
}

TEST(AviVideoTest, ADroppedFrameShowsTheFrameBeforeIt) {
  File file;
  file.video = rgbVideo(4, 4, 2, 24);
  file.video->frames[2].clear();
  file.video->keyFrames = {true, true, false, true};
  OpenedAvi avi(writeAvi(file));
  ASSERT_TRUE(avi);
  EXPECT_EQ(avi->description().frameCount, 4);
  expectRgbFrame(*avi->readVideo(2), 1, false);
  expectRgbFrame(*avi->readVideo(3), 3, false);
}

TEST(AviVideoTest, AShortChunkLeavesTheRestOfTheFrameBlack) {
  File file;
  file.video = rgbVideo(1, 4, 2, 24);
  file.video->frames[0].resize(12);  // the bottom row only
  OpenedAvi avi(writeAvi(file));
  ASSERT_TRUE(avi);
  const auto image = avi->readVideo(0);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->row(1)[0], pixelOf(0, 0, 1).b);
  EXPECT_EQ(image->row(0)[0], 0);
  EXPECT_EQ(image->row(0)[2], 0);
}

TEST(AviVideoTest, AHeaderThatAnnouncesMoreFramesThanIndexedIsCut) {
  TestSupport::LogCapture log;
  File file;
  file.video = rgbVideo(3, 4, 2, 24);
  file.video->length = 1000;
  OpenedAvi avi(writeAvi(file));
  ASSERT_TRUE(avi);
  EXPECT_EQ(avi->description().frameCount, 3);
  const auto info = log.texts("INFO");
  EXPECT_NE(std::find(info.begin(), info.end(), "invalid video frame num info."), info.end());
  expectRgbFrame(*avi->readVideo(999), 2, false);
}

TEST(AviVideoTest, FormatsWithoutAPixelFormatLeaveTheFileWithoutVideo) {
  const struct {
    const char* name;
    uint16_t bits;
    uint32_t handler;
  } cases[] = {
      {"16-bit RGB", 16, 0},
      {"8-bit palette", 8, 0},
      {"YUY2 with 24 bits", 24, tag("YUY2")},
      {"a FourCC no decoder knows", 24, tag("ZZZZ")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    File file;
    file.video = rgbVideo(2, 4, 2, 24);
    file.video->bitCount = c.bits;
    file.video->handler = c.handler;
    file.video->compression = c.handler;
    OpenedAvi avi(writeAvi(file));
    ASSERT_TRUE(avi);  // the file opens; the input service reports that it has no video
    EXPECT_EQ(avi->description().kinds, 0);
    EXPECT_EQ(avi->readVideo(0), nullptr);
  }
}

}  // namespace
