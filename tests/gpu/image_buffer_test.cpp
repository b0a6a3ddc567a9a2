#include "gpu/image/image_buffer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Media::ImageBuffer;
using testing::HasSubstr;

TEST(ImageBufferTest, RowsAreRoundedUpTo32BytesAndTheBlockIsAligned) {
  struct Case {
    int32_t format;
    uint32_t width;
    uint32_t height;
    uint32_t pitch;
    uint64_t used;
  };
  const Case cases[] = {
      {28, 1, 1, 32, 32},    {10, 3, 2, 32, 64},    {107, 1, 1, 32, 32}, {87, 9, 1, 64, 64},
      {11, 5, 3, 64, 192},   {13, 4, 2, 32, 64},    {88, 8, 3, 32, 96},  {107, 17, 2, 64, 128},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "format " << c.format << ", " << c.width << " x " << c.height);
    const auto image = ImageBuffer::makeShared(c.format, c.width, c.height);
    EXPECT_EQ(image->pitch, c.pitch);
    EXPECT_EQ(image->usedSize(), c.used);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(image->data()) % 32, 0u);
    EXPECT_EQ(image->width, c.width);
    EXPECT_EQ(image->height, c.height);
    EXPECT_EQ(image->format, c.format);
  }
}

TEST(ImageBufferTest, AFormatWithoutAPixelSizeIsNotSupported) {
  for (const int32_t format : {65, 41, 69, 0, -1, 999}) {
    SCOPED_TRACE(format);
    try {
      ImageBuffer::makeShared(format, 4, 4);
      ADD_FAILURE() << "made an image";
    } catch (const std::exception& failure) {
      EXPECT_THAT(failure.what(), HasSubstr("image format not supported."));
      EXPECT_THAT(failure.what(), HasSubstr("dxgi format = " + std::to_string(format)));
      EXPECT_THAT(failure.what(), HasSubstr("Media::ImageBuffer::getDefaultPitchSize()"));
    }
  }
}

// With a pitch given, any format can be held (read-back images of masks, say).
TEST(ImageBufferTest, AGivenPitchIsKeptForAnyFormat) {
  ImageBuffer mask(65, 5, 3, 32);
  EXPECT_EQ(mask.pitch, 32u);
  EXPECT_EQ(mask.usedSize(), 96u);
}

TEST(ImageBufferTest, TheBlockOnlyGrows) {
  ImageBuffer image(28, 64, 64);
  const uint8_t* block = image.data();
  const uint64_t capacity = image.pixels.capacity();
  image.allocate(8, 8, 0);
  EXPECT_EQ(image.data(), block);
  EXPECT_EQ(image.pixels.capacity(), capacity);
  EXPECT_EQ(image.usedSize(), 8u * 32u);
  image.allocate(128, 64, 0);
  EXPECT_EQ(image.usedSize(), 64u * 512u);
  EXPECT_GE(image.pixels.capacity(), image.usedSize());
}

TEST(ImageBufferTest, ARowTooLongForItsPitchIsOutOfMemory) {
  ImageBuffer image;
  image.format = 10;
  try {
    image.allocate(0x20000000u, 1, 0);
    ADD_FAILURE() << "allocated";
  } catch (const std::exception& failure) {
    EXPECT_THAT(failure.what(), HasSubstr("Not enough memory resources"));
  }
}

TEST(ImageBufferTest, PackingYuy2KeepsTheFirstPixelsChroma) {
  // Y, Cb, Cr, unused per pixel; rows exactly as long as their pixels.
  const std::vector<uint8_t> source = {
      10, 20, 30, 0, 11, 21, 31, 0, 12, 22, 32, 0,  // row 0
      40, 50, 60, 0, 41, 51, 61, 0, 42, 52, 62, 0,  // row 1
  };
  {
    auto even = ImageBuffer::makeShared(107, 2, 2);
    even->packYuy2(source.data(), 2, 2, 12);
    EXPECT_THAT(std::vector<uint8_t>(even->row(0), even->row(0) + 4), testing::ElementsAre(10, 20, 11, 30));
    EXPECT_THAT(std::vector<uint8_t>(even->row(1), even->row(1) + 4), testing::ElementsAre(40, 50, 41, 60));
  }
  {
    // The odd last pixel is a pair of its own; its missing partner repeats its Y, and no byte
    // past the row is read (the source ends with the row).
    auto odd = ImageBuffer::makeShared(107, 3, 2);
    odd->packYuy2(source.data(), 3, 2, 12);
    EXPECT_THAT(std::vector<uint8_t>(odd->row(0), odd->row(0) + 8),
                testing::ElementsAre(10, 20, 11, 30, 12, 22, 12, 32));
    EXPECT_THAT(std::vector<uint8_t>(odd->row(1) + 4, odd->row(1) + 8),
                testing::ElementsAre(42, 52, 42, 62));
  }
}

}  // namespace
