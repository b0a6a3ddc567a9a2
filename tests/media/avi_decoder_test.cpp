// Compressed video of AVI files, decoded through libavcodec: an RGB codec delivers 32-bit
// frames, a YUV codec YUY2 frames; random access restarts at key frames; a chunk that does
// not decode fails its read and leaves the file readable.
#include <gtest/gtest.h>

#include "gpu/image/image_buffer.h"
#include "media/avi_test_codec.h"
#include "media/avi_test_file.h"
#include "media/avi_test_media.h"

namespace {

using namespace AviTest;

constexpr int kWidth = 8;
constexpr int kHeight = 6;

// Lossless RGB frames with key frames every four: pixel values come back exactly.
VideoStream losslessVideo(int count) {
  const auto encoded =
      encodeVideo("ffv1", AV_PIX_FMT_BGRA, kWidth, kHeight, count, 4, [](AVFrame& picture, int f) {
        for (int y = 0; y < kHeight; ++y)
          for (int x = 0; x < kWidth; ++x) {
            uint8_t* p = picture.data[0] + y * picture.linesize[0] + x * 4;
            const Bgr c = pixelOf(f, x, y);
            p[0] = c.b;
            p[1] = c.g;
            p[2] = c.r;
            p[3] = static_cast<uint8_t>(0x80 + f);
          }
      });
  VideoStream video;
  video.handler = tag("FFV1");
  video.compression = tag("FFV1");
  video.width = kWidth;
  video.height = kHeight;
  video.bitCount = 32;
  video.frames = encoded.packets;
  video.keyFrames = encoded.keyFrames;
  video.formatExtra = encoded.extradata;
  video.chunkSuffix = "dc";
  return video;
}

// Motion JPEG frames of one grey each: 40 + 15 x the frame number in full-range luma.
VideoStream greyJpegVideo(int count) {
  const auto encoded = encodeVideo(
      "mjpeg", AV_PIX_FMT_YUVJ420P, kWidth, kHeight, count, 1, [](AVFrame& picture, int f) {
        for (int plane = 0; plane < 3; ++plane) {
          const int rows = plane == 0 ? kHeight : kHeight / 2;
          for (int y = 0; y < rows; ++y)
            std::memset(picture.data[plane] + y * picture.linesize[plane],
                        plane == 0 ? 40 + 15 * f : 128, static_cast<std::size_t>(picture.linesize[plane]));
        }
      });
  VideoStream video;
  video.handler = tag("MJPG");
  video.compression = tag("MJPG");
  video.width = kWidth;
  video.height = kHeight;
  video.bitCount = 24;
  video.frames = encoded.packets;
  video.keyFrames = encoded.keyFrames;
  video.chunkSuffix = "dc";
  return video;
}

void expectLosslessFrame(const Media::ImageBuffer& image, int frame) {
  ASSERT_EQ(image.format, Plugin::PixelFormat::kBgra);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const uint8_t* p = image.row(static_cast<uint32_t>(y)) + x * 4;
      const Bgr want = pixelOf(frame, x, y);
      ASSERT_EQ(p[0], want.b) << "frame " << frame << " at " << x << "," << y;
      ASSERT_EQ(p[1], want.g);
      ASSERT_EQ(p[2], want.r);
      ASSERT_EQ(p[3], 0x80 + frame);
    }
}

// The limited-range luma of frame f's grey in a YUY2 frame.
int greyLuma(int frame) { return 16 + (40 + 15 * frame) * 219 / 255; }

TEST(AviDecoderTest, AnRgbCodecDeliversThirtyTwoBitFramesInAnyOrder) {
  File file;
  file.video = losslessVideo(12);
  ASSERT_EQ(file.video->frames.size(), 12u) << "the FFV1 encoder is missing";
  ASSERT_TRUE(file.video->keyFrames[4]);
  ASSERT_FALSE(file.video->keyFrames[5]);
  OpenedAvi avi(writeAvi(file));
  ASSERT_TRUE(avi);
  const auto& d = avi->description();
  EXPECT_EQ(d.kinds, Plugin::kKindVideo);
  EXPECT_EQ(d.frameCount, 12);
  EXPECT_EQ(d.pixelFormat, Plugin::PixelFormat::kBgra);
  // Forward in steps, back into the middle of a group of pictures, the same frame twice.
  for (int frame : {10, 11, 12, 5, 6, 6, 0, 3, 9, 2}) {
    SCOPED_TRACE(frame);
    const auto image = avi->readVideo(frame);
    ASSERT_TRUE(image);
    expectLosslessFrame(*image, std::min(frame, 11));
  }
}

TEST(AviDecoderTest, AYuvCodecDeliversYuy2Frames) {
  File file;
  file.video = greyJpegVideo(4);
  ASSERT_EQ(file.video->frames.size(), 4u) << "the MJPEG encoder is missing";
  OpenedAvi avi(writeAvi(file));
  ASSERT_TRUE(avi);
  EXPECT_EQ(avi->description().pixelFormat, Plugin::PixelFormat::kYuy2);
  for (int frame : {2, 0, 3}) {
    const auto image = avi->readVideo(frame);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->format, Plugin::PixelFormat::kYuy2);
    for (uint32_t y = 0; y < kHeight; ++y)
      for (uint32_t x = 0; x < kWidth; ++x) {
        ASSERT_NEAR(image->row(y)[x * 2], greyLuma(frame), 3) << frame;  // Y of each pixel
        ASSERT_NEAR(image->row(y)[x * 2 + 1], 128, 3);  // Cb of even pixels, Cr of odd ones
      }
  }
}

TEST(AviDecoderTest, AChunkThatDoesNotDecodeFailsOnlyItsOwnRead) {
  File file;
  file.video = greyJpegVideo(4);
  ASSERT_EQ(file.video->frames.size(), 4u);
  file.video->frames[2] = std::string(64, 'x');
  OpenedAvi avi(writeAvi(file));
  ASSERT_TRUE(avi);
  ASSERT_TRUE(avi->readVideo(1));
  try {
    avi->readVideo(2);
    FAIL() << "a chunk of garbage gave a frame";
  } catch (const std::exception& failure) {
    EXPECT_NE(std::string(failure.what()).find("failed to decode video frame."), std::string::npos);
  }
  for (int frame : {3, 1}) {
    const auto image = avi->readVideo(frame);
    ASSERT_TRUE(image);
    EXPECT_NEAR(image->row(0)[0], greyLuma(frame), 3);
  }
}

TEST(AviDecoderTest, ADroppedCompressedFrameShowsTheFrameBeforeIt) {
  File file;
  file.video = losslessVideo(6);
  ASSERT_EQ(file.video->frames.size(), 6u);
  file.video->frames[2].clear();
  file.video->keyFrames[2] = false;
  OpenedAvi avi(writeAvi(file));
  ASSERT_TRUE(avi);
  // Read in order, and straight at the dropped frame after another place.
  expectLosslessFrame(*avi->readVideo(1), 1);
  expectLosslessFrame(*avi->readVideo(2), 1);
  expectLosslessFrame(*avi->readVideo(5), 5);
  expectLosslessFrame(*avi->readVideo(2), 1);
}

}  // namespace
