// Frames between images and device-independent bitmaps: the header of each format, the row
// order and pixel repacking in both directions, and the size checks.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "gpu/pixel_format.h"
#include "media/image/dib_convert.h"
#include "system/exception_text.h"

namespace {

using ::testing::HasSubstr;
namespace Dxgi = Media::DxgiFormat;

// An image whose every byte tells where it is: row y, byte x of the row.
Media::ImageBuffer patterned(int32_t format, uint32_t width, uint32_t height, uint32_t pitch = 0) {
  Media::ImageBuffer image(format, width, height, pitch);
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < image.pitch; ++x)
      image.row(y)[x] = static_cast<uint8_t>(y * 64 + x + 1);
  return image;
}

Media::BitmapInfoHeader headerFor(int32_t format, int32_t width, int32_t height) {
  Media::BitmapInfoHeader header;
  Media::getBitmapInfoHeader(header, format, width, height);
  return header;
}

TEST(DibHeaderTest, DescribesEachFormat) {
  struct Case {
    int32_t format;
    uint16_t bits;
    const char* compression;  // four characters, or empty for plain RGB
    uint32_t sizeImage;       // of a 3 x 2 image
  };
  const Case cases[] = {
      {Dxgi::B8G8R8A8_UNORM, 32, "", 12 * 2},
      {Dxgi::B8G8R8X8_UNORM, 24, "", 12 * 2},  // 9 bytes padded to 12
      {Dxgi::YUY2, 16, "YUY2", 8 * 2},         // 6 bytes padded to 8
      {Dxgi::R16G16B16A16_UNORM, 64, "RU64", 24 * 2},
      {Dxgi::R16G16B16A16_FLOAT, 64, "RF64", 24 * 2},
      {Dxgi::R16G16B16A16_SNORM, 48, "YCC6", 20 * 2},  // 18 bytes padded to 20
  };
  for (const auto& c : cases) {
    Media::BitmapInfoHeader header;
    header.size = 0;
    header.planes = 0;
    header.xPelsPerMeter = 77;
    header.clrUsed = 5;
    Media::getBitmapInfoHeader(header, c.format, 3, 2);
    uint32_t compression = 0;
    if (*c.compression) std::memcpy(&compression, c.compression, 4);
    EXPECT_EQ(header.size, 40u) << c.format;
    EXPECT_EQ(header.width, 3);
    EXPECT_EQ(header.height, 2);
    EXPECT_EQ(header.planes, 1);
    EXPECT_EQ(header.bitCount, c.bits) << c.format;
    EXPECT_EQ(header.compression, compression) << c.format;
    EXPECT_EQ(header.sizeImage, c.sizeImage) << c.format;
    // Fields the description does not cover are left alone.
    EXPECT_EQ(header.xPelsPerMeter, 77);
    EXPECT_EQ(header.clrUsed, 5u);
  }
}

TEST(DibHeaderTest, RefusesOtherFormatsAndImpossibleSizes) {
  Media::BitmapInfoHeader header;
  const std::string format =
      TestSupport::whatOf([&] { Media::getBitmapInfoHeader(header, 28, 4, 4); });
  EXPECT_THAT(format, HasSubstr("image format not supported."));
  EXPECT_THAT(format, HasSubstr("dxgi format = 28"));
  EXPECT_THAT(format, HasSubstr("Media::ImageBuffer::getBitmapInfoHeader"));
  for (const auto& [width, height] : {std::pair{-1, 4}, {4, -1}, {65536, 65536}})
    EXPECT_THAT(TestSupport::whatOf([&] {
                  Media::getBitmapInfoHeader(header, Dxgi::B8G8R8A8_UNORM, width, height);
                }),
                HasSubstr("invalid image size."))
        << width << " x " << height;
  EXPECT_EQ(header.bitCount, 0);
}

TEST(DibConvertTest, Rgb24RowsArePaddedAndBottomUp) {
  const Media::ImageBuffer image = patterned(Dxgi::B8G8R8X8_UNORM, 3, 2);
  const auto header = headerFor(Dxgi::B8G8R8X8_UNORM, 3, 2);
  std::vector<uint8_t> dib(header.sizeImage, 0xEE);
  Media::copyToDib(image, header, dib.data(), dib.size());
  // Image row 1 first: its pixels' first three bytes, then three zero padding bytes.
  const std::vector<uint8_t> expected = {
      65, 66, 67, 69, 70, 71, 73, 74, 75, 0, 0, 0,  // image row 1
      1,  2,  3,  5,  6,  7,  9,  10, 11, 0, 0, 0,  // image row 0
  };
  EXPECT_EQ(dib, expected);

  // Back again: the fourth byte of each pixel is 0.
  Media::ImageBuffer back = patterned(Dxgi::B8G8R8X8_UNORM, 3, 2);
  Media::copyFromDib(back, header, dib.data(), dib.size());
  for (uint32_t y = 0; y < 2; ++y)
    for (uint32_t x = 0; x < 3; ++x)
      for (uint32_t c = 0; c < 4; ++c)
        EXPECT_EQ(back.row(y)[x * 4 + c], c == 3 ? 0 : image.row(y)[x * 4 + c]) << x << "," << y;
}

TEST(DibConvertTest, PixelFormatsSurviveTheRoundTrip) {
  // Sizes with and without row padding, and for 64 bits with the pitch equal to the stride
  // (width 4: 32 bytes) and not (width 3: 24 bytes in a 32-byte pitch).
  struct Case {
    int32_t format;
    uint32_t width, height;
    bool flipped;
    bool fourthZero;  // the image's fourth component does not cross
  };
  const Case cases[] = {
      {Dxgi::B8G8R8A8_UNORM, 3, 3, true, false},
      {Dxgi::B8G8R8X8_UNORM, 8, 2, true, true},
      {Dxgi::YUY2, 6, 3, false, false},
      {Dxgi::YUY2, 4, 2, false, false},
      {Dxgi::R16G16B16A16_UNORM, 4, 3, false, false},
      {Dxgi::R16G16B16A16_FLOAT, 3, 2, false, false},
      {Dxgi::R16G16B16A16_SNORM, 5, 2, false, true},
      {Dxgi::R16G16B16A16_SNORM, 4, 1, false, true},
  };
  for (const auto& c : cases) {
    const Media::ImageBuffer image = patterned(c.format, c.width, c.height);
    const auto header =
        headerFor(c.format, static_cast<int32_t>(c.width), static_cast<int32_t>(c.height));
    std::vector<uint8_t> dib(header.sizeImage, 0xEE);
    Media::copyToDib(image, header, dib.data(), dib.size());

    // The first DIB row is the image's top row, or its bottom row for the bottom-up forms.
    const uint32_t firstRow = c.flipped ? c.height - 1 : 0;
    EXPECT_EQ(dib[0], image.row(firstRow)[0]) << c.format;
    EXPECT_EQ(dib[1], image.row(firstRow)[1]) << c.format;

    Media::ImageBuffer back(c.format, c.width, c.height);
    std::memset(back.data(), 0xCC, back.usedSize());
    Media::copyFromDib(back, header, dib.data(), dib.size());
    const uint32_t pixelBytes = Media::ImageBuffer::getBytesPerPixel(c.format);
    for (uint32_t y = 0; y < c.height; ++y)
      for (uint32_t i = 0; i < c.width * pixelBytes; ++i) {
        const bool fourth = c.fourthZero && i % pixelBytes >= pixelBytes / 4 * 3;
        ASSERT_EQ(back.row(y)[i], fourth ? 0 : image.row(y)[i])
            << "format " << c.format << " row " << y << " byte " << i;
      }
  }
}

TEST(DibConvertTest, Ycc6CarriesThreeInt16PerPixel) {
  Media::ImageBuffer image(Dxgi::R16G16B16A16_SNORM, 2, 1);
  const int16_t pixels[8] = {1000, -2000, 3000, 77, -32768, 32767, 0, -1};
  std::memcpy(image.data(), pixels, sizeof(pixels));
  const auto header = headerFor(Dxgi::R16G16B16A16_SNORM, 2, 1);
  ASSERT_EQ(header.sizeImage, 12u);
  std::vector<uint8_t> dib(12);
  Media::copyToDib(image, header, dib.data(), dib.size());
  int16_t written[6];
  std::memcpy(written, dib.data(), sizeof(written));
  EXPECT_THAT(written, ::testing::ElementsAre(1000, -2000, 3000, -32768, 32767, 0));

  Media::copyFromDib(image, header, dib.data(), dib.size());
  int16_t restored[8];
  std::memcpy(restored, image.data(), sizeof(restored));
  EXPECT_THAT(restored, ::testing::ElementsAre(1000, -2000, 3000, 0, -32768, 32767, 0, 0));
}

TEST(DibConvertTest, AnUnknownPairingZeroesTheImageAndWritesNoDib) {
  Media::ImageBuffer yuy2 = patterned(Dxgi::YUY2, 4, 2);
  const auto rgb32 = headerFor(Dxgi::B8G8R8A8_UNORM, 4, 2);
  std::vector<uint8_t> dib(rgb32.sizeImage, 0xEE);
  Media::copyToDib(yuy2, rgb32, dib.data(), dib.size());
  EXPECT_EQ(dib, std::vector<uint8_t>(rgb32.sizeImage, 0xEE));
  Media::copyFromDib(yuy2, rgb32, dib.data(), dib.size());
  EXPECT_EQ(std::vector<uint8_t>(yuy2.data(), yuy2.data() + yuy2.usedSize()),
            std::vector<uint8_t>(yuy2.usedSize(), 0));
}

TEST(DibConvertTest, RefusesAHeaderOrBufferThatDoesNotFit) {
  // Each case would read or write past a buffer if it were copied.
  struct Case {
    const char* what;
    int32_t headerWidth, headerHeight;
    uint64_t bytesShort;  // pixel bytes fewer than the header's image size
    uint32_t imagePitch;  // 0: the default pitch
  };
  const Case cases[] = {
      {"wider header", 5, 2, 0, 0},       {"taller header", 4, 3, 0, 0},
      {"narrower header", 3, 2, 0, 0},    {"negative height", 4, -2, 0, 0},
      {"short pixel buffer", 4, 2, 1, 0}, {"image pitch shorter than its row", 4, 2, 0, 8},
  };
  for (const auto& c : cases) {
    Media::ImageBuffer image = patterned(Dxgi::B8G8R8A8_UNORM, 4, 2, c.imagePitch);
    const std::vector<uint8_t> imageBefore(image.data(), image.data() + image.usedSize());
    Media::BitmapInfoHeader header = headerFor(Dxgi::B8G8R8A8_UNORM, 4, 2);
    header.width = c.headerWidth;
    header.height = c.headerHeight;
    const uint64_t described =
        Media::getDibStride(c.headerWidth, 32) * (c.headerHeight < 0 ? 2 : c.headerHeight);
    std::vector<uint8_t> dib(described - c.bytesShort, 0xEE);

    EXPECT_THAT(
        TestSupport::whatOf([&] { Media::copyToDib(image, header, dib.data(), dib.size()); }),
        HasSubstr("invalid image size."))
        << c.what;
    EXPECT_EQ(dib, std::vector<uint8_t>(dib.size(), 0xEE)) << c.what;
    EXPECT_THAT(
        TestSupport::whatOf([&] { Media::copyFromDib(image, header, dib.data(), dib.size()); }),
        HasSubstr("Media::ImageBuffer::copyFromDib"))
        << c.what;
    EXPECT_EQ(std::vector<uint8_t>(image.data(), image.data() + image.usedSize()), imageBefore)
        << c.what;
  }
}

}  // namespace
