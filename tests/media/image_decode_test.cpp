// Decoding still pictures through the image service: every PNG colour type, JPEG, BMP and
// GIF into straight-alpha R8G8B8A8, the decoder chosen from the content, and damaged or
// oversized files refused with the failing step's error before any large allocation.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "gpu/pixel_format.h"
#include "media/image_test_files.h"
#include "media/image_test_support.h"
#include "system/log_capture.h"

namespace {

using ImageTestFiles::Bytes;
using ImageTestSupport::failureOf;
using ImageTestSupport::near;
using ImageTestSupport::Pixel;
using ImageTestSupport::pixelAt;
using ::testing::HasSubstr;

class ImageDecodeTest : public ImageTestSupport::ImageFixture {};

Bytes bytes(std::initializer_list<int> values) {
  Bytes out;
  for (int value : values) out.push_back(static_cast<char>(value));
  return out;
}

std::vector<uint8_t> noise(std::size_t count, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> out(count);
  for (auto& value : out) value = static_cast<uint8_t>(random());
  return out;
}

Bytes noisePng(uint32_t width, uint32_t height) {
  ImageTestFiles::PngPicture picture{width, height, PNG_COLOR_TYPE_RGB};
  const auto values = noise(std::size_t{width} * height * 3, 7);
  for (uint32_t y = 0; y < height; ++y)
    picture.rows.emplace_back(reinterpret_cast<const char*>(&values[y * width * 3]), width * 3);
  return ImageTestFiles::makePng(picture);
}

TEST_F(ImageDecodeTest, EveryPngColourTypeBecomesStraightRgba) {
  struct Case {
    const char* name;
    ImageTestFiles::PngPicture picture;
    std::vector<Pixel> expected;  // row by row
  };
  const std::vector<png_color> twoColours{{255, 0, 0}, {0, 255, 0}};
  const Case cases[] = {
      // Alpha stays straight, and a transparent pixel keeps its colour.
      {"rgba8", {2, 1, PNG_COLOR_TYPE_RGBA, 8, false, {bytes({200, 100, 50, 128, 10, 20, 30, 0})}},
       {{200, 100, 50, 128}, {10, 20, 30, 0}}},
      {"rgb8", {1, 1, PNG_COLOR_TYPE_RGB, 8, false, {bytes({1, 2, 3})}}, {{1, 2, 3, 255}}},
      {"grey8", {1, 1, PNG_COLOR_TYPE_GRAY, 8, false, {bytes({77})}}, {{77, 77, 77, 255}}},
      {"greyAlpha8", {1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, {bytes({77, 9})}},
       {{77, 77, 77, 9}}},
      {"grey1", {2, 1, PNG_COLOR_TYPE_GRAY, 1, false, {bytes({0x80})}},
       {{255, 255, 255, 255}, {0, 0, 0, 255}}},
      {"grey16", {1, 1, PNG_COLOR_TYPE_GRAY, 16, false, {bytes({0x80, 0x80})}},
       {{128, 128, 128, 255}}},
      {"rgba16",
       {1, 1, PNG_COLOR_TYPE_RGBA, 16, false, {bytes({0xff, 0xff, 0, 0, 0x80, 0x80, 0x40, 0x40})}},
       {{255, 0, 128, 64}}},
      // A palette entry made transparent by tRNS.
      {"palette8", {2, 1, PNG_COLOR_TYPE_PALETTE, 8, false, {bytes({0, 1})}, twoColours, {255, 0}},
       {{255, 0, 0, 255}, {0, 255, 0, 0}}},
      {"palette2", {3, 1, PNG_COLOR_TYPE_PALETTE, 2, false, {bytes({0x44})}, twoColours},
       {{0, 255, 0, 255}, {255, 0, 0, 255}, {0, 255, 0, 255}}},
  };
  for (const auto& c : cases) {
    const auto image = load(std::string(c.name) + ".png", ImageTestFiles::makePng(c.picture));
    ASSERT_TRUE(image) << c.name;
    EXPECT_EQ(image->format, Media::DxgiFormat::R8G8B8A8_UNORM) << c.name;
    EXPECT_EQ(image->width, c.picture.width) << c.name;
    EXPECT_EQ(image->height, c.picture.height) << c.name;
    EXPECT_EQ(image->pitch, Media::ImageBuffer::getDefaultPitchSize(28, c.picture.width)) << c.name;
    for (std::size_t i = 0; i < c.expected.size(); ++i)
      EXPECT_EQ(pixelAt(*image, static_cast<uint32_t>(i % c.picture.width),
                        static_cast<uint32_t>(i / c.picture.width)),
                c.expected[i])
          << c.name << " pixel " << i;
  }
}

TEST_F(ImageDecodeTest, InterlacedPngGivesEveryPixelOnce) {
  constexpr uint32_t kSide = 9;
  ImageTestFiles::PngPicture picture{kSide, kSide, PNG_COLOR_TYPE_RGB, 8, true};
  for (uint32_t y = 0; y < kSide; ++y) {
    Bytes row;
    for (uint32_t x = 0; x < kSide; ++x) row += bytes({int(x * 20), int(y * 20), int(x + y)});
    picture.rows.push_back(row);
  }
  const auto image = load("interlaced.png", ImageTestFiles::makePng(picture));
  for (uint32_t y = 0; y < kSide; ++y)
    for (uint32_t x = 0; x < kSide; ++x)
      ASSERT_EQ(pixelAt(*image, x, y), (Pixel{int(x * 20), int(y * 20), int(x + y), 255}))
          << x << "," << y;
}

TEST_F(ImageDecodeTest, JpegDecodesWithinTheCodecsError) {
  // Left half orange, right half blue, in an odd size that fills no whole block.
  constexpr int kWidth = 29, kHeight = 13;
  std::vector<uint8_t> rgb;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const bool left = x < kWidth / 2;
      rgb.insert(rgb.end(), {uint8_t(left ? 230 : 20), uint8_t(left ? 120 : 60), uint8_t(left ? 30 : 200)});
    }
  const auto image = load("picture.jpg", ImageTestFiles::makeJpeg(rgb, kWidth, kHeight));
  ASSERT_EQ(image->width, uint32_t{kWidth});
  ASSERT_EQ(image->height, uint32_t{kHeight});
  EXPECT_EQ(image->format, 28);
  // Away from the edge between the halves the colour is the written one.
  EXPECT_TRUE(near(pixelAt(*image, 2, 6), {230, 120, 30, 255}, 6));
  EXPECT_TRUE(near(pixelAt(*image, kWidth - 3, 11), {20, 60, 200, 255}, 6));
  for (uint32_t y = 0; y < image->height; ++y)
    for (uint32_t x = 0; x < image->width; ++x) ASSERT_EQ(pixelAt(*image, x, y)[3], 255);
}

TEST_F(ImageDecodeTest, CmykJpegBecomesRgb) {
  // Ink stored inverted, as print programs write it: 255 is no ink, so cyan 255 with
  // magenta and yellow 0 and no black is red.
  std::vector<uint8_t> cmyk(16 * 16 * 4);
  for (std::size_t i = 0; i < cmyk.size(); i += 4) {
    cmyk[i] = 255;
    cmyk[i + 3] = 255;
  }
  tjhandle handle = tjInitCompress();
  unsigned char* output = nullptr;
  unsigned long size = 0;
  ASSERT_EQ(tjCompress2(handle, cmyk.data(), 16, 64, 16, TJPF_CMYK, &output, &size, TJSAMP_444,
                        95, 0),
            0);
  const Bytes file(reinterpret_cast<char*>(output), size);
  tjFree(output);
  tjDestroy(handle);
  const auto image = load("print.jpg", file);
  ASSERT_EQ(image->width, 16u);
  EXPECT_TRUE(near(pixelAt(*image, 7, 7), {255, 0, 0, 255}, 3));
}

TEST_F(ImageDecodeTest, TheContentChoosesTheDecoderNotTheExtension) {
  const std::vector<uint8_t> grey(8 * 8 * 3, 100);
  const uint8_t palette[4][3] = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {0, 0, 0}};
  const struct {
    const char* name;
    Bytes file;
    Pixel expected;
  } cases[] = {
      {"jpeg.png", ImageTestFiles::makeJpeg(grey, 8, 8), {100, 100, 100, 255}},
      {"png.jpg", ImageTestFiles::makePng({1, 1, PNG_COLOR_TYPE_RGB, 8, false, {bytes({5, 6, 7})}}),
       {5, 6, 7, 255}},
      {"gif.bmp", ImageTestFiles::makeGif(1, 1, palette, {{2}}), {70, 80, 90, 255}},
      {"bmp.noextension", ImageTestFiles::makeBmp24({9, 8, 7}, 1, 1), {9, 8, 7, 255}},
      {"tiff.gif", ImageTestFiles::makeTiffRgb({3, 2, 1, 6, 5, 4}, 2, 1), {3, 2, 1, 255}},
  };
  for (const auto& c : cases) {
    const auto image = load(c.name, c.file);
    EXPECT_TRUE(near(pixelAt(*image, 0, 0), c.expected, 2)) << c.name;
  }
}

TEST_F(ImageDecodeTest, BmpRowsArePaddedAndStoredBottomUp) {
  const std::vector<uint8_t> rgb{1, 2, 3, 4, 5, 6, 7, 8, 9,  // top row
                                 10, 11, 12, 13, 14, 15, 16, 17, 18};
  const auto image = load("picture.bmp", ImageTestFiles::makeBmp24(rgb, 3, 2));
  ASSERT_EQ(image->width, 3u);
  ASSERT_EQ(image->height, 2u);
  for (uint32_t i = 0; i < 6; ++i)
    EXPECT_EQ(pixelAt(*image, i % 3, i / 3),
              (Pixel{rgb[i * 3], rgb[i * 3 + 1], rgb[i * 3 + 2], 255}))
        << i;
}

TEST_F(ImageDecodeTest, GifGivesItsFirstFrameWithTheTransparentIndexClear) {
  const uint8_t palette[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}};
  const auto image = load("animated.gif",
                          ImageTestFiles::makeGif(2, 2, palette, {{0, 1, 2, 3}, {1, 1, 1, 1}}, 3));
  ASSERT_EQ(image->width, 2u);
  ASSERT_EQ(image->height, 2u);
  EXPECT_EQ(pixelAt(*image, 0, 0), (Pixel{255, 0, 0, 255}));
  EXPECT_EQ(pixelAt(*image, 1, 0), (Pixel{0, 255, 0, 255}));
  EXPECT_EQ(pixelAt(*image, 0, 1), (Pixel{0, 0, 255, 255}));
  EXPECT_EQ(pixelAt(*image, 1, 1)[3], 0);
}

// Replaces the picture size in a JPEG's start-of-frame segment.
Bytes withJpegSize(Bytes jpeg, uint16_t width, uint16_t height) {
  const auto frame = jpeg.find("\xff\xc0");
  if (frame == Bytes::npos) return {};
  jpeg[frame + 5] = static_cast<char>(height >> 8);
  jpeg[frame + 6] = static_cast<char>(height);
  jpeg[frame + 7] = static_cast<char>(width >> 8);
  jpeg[frame + 8] = static_cast<char>(width);
  return jpeg;
}

Bytes hugeBmpHeader() {
  Bytes bmp = ImageTestFiles::makeBmp24({1, 2, 3}, 1, 1);
  const uint32_t side = 100000;
  for (int i = 0; i < 4; ++i) {
    bmp[18 + i] = static_cast<char>(side >> (8 * i));
    bmp[22 + i] = static_cast<char>(side >> (8 * i));
  }
  return bmp;
}

TEST_F(ImageDecodeTest, DamagedAndOversizedFilesAreRefusedByTheFailingStep) {
  const std::vector<uint8_t> grey(16 * 16 * 3, 90);
  const Bytes jpeg = ImageTestFiles::makeJpeg(noise(64 * 64 * 3, 3), 64, 64);
  const Bytes png = noisePng(64, 64);
  const auto randomBytes = noise(4096, 11);
  const uint8_t palette[4][3] = {};
  Bytes hugeGif = ImageTestFiles::makeGif(1, 1, palette, {{0}});
  hugeGif[6] = hugeGif[7] = hugeGif[8] = hugeGif[9] = '\xff';
  const struct {
    const char* name;
    Bytes file;
    const char* call;
  } cases[] = {
      {"empty.png", "", "factory->CreateDecoderFromFilename"},
      {"random.png", "x" + Bytes(randomBytes.begin(), randomBytes.end()),
       "factory->CreateDecoderFromFilename"},
      {"signature-only.png", ImageTestFiles::kPngSignature, "factory->CreateDecoderFromFilename"},
      {"no-pixels.png", ImageTestFiles::pngHeaderOnly(4, 4), "factory->CreateDecoderFromFilename"},
      // Neither size is allocated: the header is checked first.
      {"huge.png", ImageTestFiles::pngHeaderOnly(100000, 100000), "frame->GetSize"},
      {"wide.png", ImageTestFiles::pngHeaderOnly(16385, 1), "frame->GetSize"},
      {"huge.jpg", withJpegSize(ImageTestFiles::makeJpeg(grey, 16, 16), 60000, 60000),
       "frame->GetSize"},
      {"zero.jpg", withJpegSize(ImageTestFiles::makeJpeg(grey, 16, 16), 0, 16),
       "factory->CreateDecoderFromFilename"},
      {"cut.png", png.substr(0, png.size() / 2), "converter->CopyPixels"},
      {"cut.jpg", jpeg.substr(0, jpeg.size() / 2), "converter->CopyPixels"},
      {"cut-header.jpg", jpeg.substr(0, 20), "factory->CreateDecoderFromFilename"},
      {"huge.bmp", hugeBmpHeader(), "converter->CopyPixels"},
      {"huge.gif", hugeGif, "converter->CopyPixels"},
      {"cut.bmp", ImageTestFiles::makeBmp24(grey, 16, 16).substr(0, 100), "converter->CopyPixels"},
  };
  for (const auto& c : cases) {
    const std::string path = write(c.name, c.file);
    EXPECT_THAT(failureOf([&] { service().loadFromFile(path); }),
                HasSubstr(std::string(c.call) + "() failed."))
        << c.name;
  }
}

TEST_F(ImageDecodeTest, ZeroSidedPngIsRefused) {
  for (const auto& [width, height] : {std::pair{0u, 4u}, std::pair{4u, 0u}}) {
    const std::string text = failureOf(
        [&] { load("zero.png", ImageTestFiles::pngHeaderOnly(width, height)); });
    EXPECT_THAT(text, HasSubstr("frame->GetSize() failed.")) << width << "x" << height;
  }
}

TEST_F(ImageDecodeTest, FilesThatCannotBeReadNameTheSystemsReason) {
  const std::string missing = folder_ / "missing.png";
  EXPECT_THAT(failureOf([&] { service().loadFromFile(missing); }),
              HasSubstr("factory->CreateDecoderFromFilename() failed.\n\n[Note]\nHRESULT: 0x80070002"));
  EXPECT_THAT(failureOf([&] { service().loadFromFile(folder_.path()); }),
              HasSubstr("factory->CreateDecoderFromFilename() failed."));
}

TEST_F(ImageDecodeTest, TheLibrarysReasonIsLoggedWithThePath) {
  TestSupport::LogCapture log;
  const Bytes png = noisePng(8, 8);
  const std::string path = write("cut.png", png.substr(0, png.size() - 30));
  EXPECT_THROW(service().loadFromFile(path), std::exception);
  bool warned = false;
  for (const auto& record : log.records())
    if (record.level == "WARN" && record.place == "Media::ImageService::loadFromFile" &&
        record.text.find(path) != std::string::npos)
      warned = true;
  EXPECT_TRUE(warned);
  EXPECT_THAT(log.texts("ERROR"), ::testing::Contains(HasSubstr("converter->CopyPixels")));
}

TEST_F(ImageDecodeTest, TheServicesLimitsBoundThePicture) {
  const Media::ImageService small({.maxSide = 4, .maxPixels = 12});
  const auto png = [](uint32_t width, uint32_t height) {
    ImageTestFiles::PngPicture picture{width, height, PNG_COLOR_TYPE_GRAY};
    picture.rows.assign(height, Bytes(width, '\x40'));
    return ImageTestFiles::makePng(picture);
  };
  const struct {
    uint32_t width, height;
    bool fits;
  } cases[] = {{4, 3, true}, {3, 4, true}, {5, 1, false}, {1, 5, false}, {4, 4, false}};
  for (const auto& c : cases) {
    const Bytes file = png(c.width, c.height);
    const std::span<const uint8_t> memory(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    const std::string text = failureOf([&] { small.loadFromMemory(memory); });
    if (c.fits)
      EXPECT_EQ(text, "") << c.width << "x" << c.height;
    else
      EXPECT_THAT(text, HasSubstr("frame->GetSize() failed.")) << c.width << "x" << c.height;
  }
}

TEST_F(ImageDecodeTest, MemoryDecodingNamesTheStreamStep) {
  const std::span<const uint8_t> nothing;
  EXPECT_THAT(failureOf([&] { service().loadFromMemory(nothing); }),
              HasSubstr("factory->CreateDecoderFromStream() failed."));
  EXPECT_THAT(failureOf([&] { service().loadFromMemory(nothing); }),
              HasSubstr("Media::ImageService::loadFromMemory()"));
}

}  // namespace
