// Writing PNG and JPEG files through the image service: the pixel layout the encoder picks,
// the conversion of the caller's layout, the quality option, and failures that leave no
// file behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "media/image/format_guid.h"
#include "media/image_test_support.h"

namespace {

using ImageTestSupport::failureOf;
using ImageTestSupport::near;
using ImageTestSupport::Pixel;
using ImageTestSupport::pixelAt;
using ::testing::HasSubstr;
namespace Format = Media::ImageFormat;

class ImageSaveTest : public ImageTestSupport::ImageFixture {
 protected:
  // Two pixels of a 2 x 1 picture, 4 bytes each, in a row with padding behind it.
  static constexpr uint32_t kPitch = 12;
  std::vector<uint8_t> row(std::initializer_list<uint8_t> first, std::initializer_list<uint8_t> second) {
    std::vector<uint8_t> out(first);
    out.insert(out.end(), second);
    out.resize(kPitch, 0xee);
    return out;
  }
};

TEST_F(ImageSaveTest, PngKeepsAlphaOnlyWhenTheSourceHasIt) {
  const struct {
    const char* name;
    Media::FormatGuid source;
    std::vector<uint8_t> pixels;
    Media::FormatGuid written;
    Pixel first, second;
  } cases[] = {
      // Premultiplied B, G, R comes back straight.
      {"pbgra", Format::kPixel32bppPbgra, row({16, 32, 64, 128}, {0, 0, 0, 0}),
       Format::kPixel32bppBgra, {128, 64, 32, 128}, {0, 0, 0, 0}},
      {"bgra", Format::kPixel32bppBgra, row({16, 32, 64, 128}, {1, 2, 3, 0}),
       Format::kPixel32bppBgra, {64, 32, 16, 128}, {3, 2, 1, 0}},
      {"rgba", Format::kPixel32bppRgba, row({16, 32, 64, 128}, {1, 2, 3, 255}),
       Format::kPixel32bppBgra, {16, 32, 64, 128}, {1, 2, 3, 255}},
      // The unused fourth byte is not alpha.
      {"bgr", Format::kPixel32bppBgr, row({16, 32, 64, 0}, {1, 2, 3, 0}),
       Format::kPixel24bppBgr, {64, 32, 16, 255}, {3, 2, 1, 255}},
  };
  for (const auto& c : cases) {
    const std::string path = folder_ / (std::string(c.name) + ".png");
    Media::FormatGuid request = Format::kContainerPng;
    service().saveToFile(path, c.pixels.data(), 2, 1, kPitch, c.source, request);
    EXPECT_EQ(request, c.written) << c.name;
    const auto image = service().loadFromFile(path);
    EXPECT_EQ(pixelAt(*image, 0, 0), c.first) << c.name;
    EXPECT_EQ(pixelAt(*image, 1, 0), c.second) << c.name;
  }
}

TEST_F(ImageSaveTest, JpegWritesOpaqueColourAtTheRequestedQuality) {
  constexpr uint32_t kSide = 32;
  std::vector<uint8_t> pixels(kSide * kSide * 4);
  for (std::size_t i = 0; i < pixels.size(); i += 4) {
    pixels[i] = 40;  // B
    pixels[i + 1] = 140;
    pixels[i + 2] = 220;
    pixels[i + 3] = 0;
  }
  // Fine detail makes the quality show in the size.
  for (uint32_t y = 0; y < kSide; ++y) pixels[(y * kSide + y) * 4] = 255;

  std::uintmax_t sizes[2] = {};
  const float qualities[2] = {0.1f, 1.0f};
  for (int i = 0; i < 2; ++i) {
    const std::string path = folder_ / ("q" + std::to_string(i) + ".jpg");
    Media::FormatGuid request = Format::kContainerJpeg;
    service().saveToFile(path, pixels.data(), kSide, kSide, kSide * 4, Format::kPixel32bppBgr,
                         request, Media::EncoderOption{"ImageQuality", qualities[i]});
    EXPECT_EQ(request, Format::kPixel24bppBgr);
    sizes[i] = std::filesystem::file_size(path);
    if (i == 1) {
      const auto image = service().loadFromFile(path);
      EXPECT_TRUE(near(pixelAt(*image, 20, 4), {220, 140, 40, 255}, 6));
    }
  }
  EXPECT_LT(sizes[0], sizes[1]);
  // Without the option the default quality applies.
  Media::FormatGuid request = Format::kContainerJpeg;
  service().saveToFile(folder_ / "default.jpg", pixels.data(), kSide, kSide, kSide * 4,
                       Format::kPixel32bppBgr, request);
  EXPECT_TRUE(std::filesystem::exists(folder_ / "default.jpg"));
}

TEST_F(ImageSaveTest, FailuresAfterTheFileWasCreatedRemoveIt) {
  const auto pixels = row({1, 2, 3, 4}, {5, 6, 7, 8});
  const Media::FormatGuid unknown{0x12345678, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
  const struct {
    const char* name;
    Media::FormatGuid container;
    Media::FormatGuid source;
    uint32_t width;
    uint32_t pitch;
    std::optional<Media::EncoderOption> option;
    const char* failure;
  } cases[] = {
      {"container", unknown, Format::kPixel32bppBgra, 2, kPitch, {},
       "factory->CreateEncoder() failed."},
      {"source", Format::kContainerPng, unknown, 2, kPitch, {},
       "IWICFormatConverter can not convert."},
      {"png-option", Format::kContainerPng, Format::kPixel32bppBgra, 2, kPitch,
       Media::EncoderOption{"ImageQuality", 0.5f}, "frame->Initialize() failed."},
      {"option-name", Format::kContainerJpeg, Format::kPixel32bppBgra, 2, kPitch,
       Media::EncoderOption{"Quality", 0.5f}, "frame->Initialize() failed."},
      {"option-range", Format::kContainerJpeg, Format::kPixel32bppBgra, 2, kPitch,
       Media::EncoderOption{"ImageQuality", 1.5f}, "frame->Initialize() failed."},
      {"zero-width", Format::kContainerPng, Format::kPixel32bppBgra, 0, kPitch, {},
       "frame->SetSize() failed."},
      {"huge-width", Format::kContainerPng, Format::kPixel32bppBgra, 100000, kPitch, {},
       "frame->SetSize() failed."},
      {"short-pitch", Format::kContainerPng, Format::kPixel32bppBgra, 2, 7, {},
       "factory->CreateBitmapFromMemory() failed."},
  };
  for (const auto& c : cases) {
    const std::string path = folder_ / (std::string(c.name) + ".out");
    Media::FormatGuid request = c.container;
    EXPECT_THAT(failureOf([&] {
                  service().saveToFile(path, pixels.data(), c.width, 1, c.pitch, c.source,
                                       request, c.option);
                }),
                HasSubstr(c.failure))
        << c.name;
    EXPECT_FALSE(std::filesystem::exists(path)) << c.name;
  }
}

TEST_F(ImageSaveTest, AFileThatCannotBeCreatedNamesTheStreamStep) {
  const auto pixels = row({1, 2, 3, 4}, {5, 6, 7, 8});
  std::vector<std::string> paths{folder_ / "missing-folder/out.png"};
  // A folder without write access stops everyone but the superuser.
  if (::geteuid() != 0) {
    const std::string locked = folder_ / "locked";
    std::filesystem::create_directory(locked);
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::owner_exec);
    paths.push_back(locked + "/out.png");
  }
  for (const auto& path : paths) {
    Media::FormatGuid request = Format::kContainerPng;
    EXPECT_THAT(failureOf([&] {
                  service().saveToFile(path, pixels.data(), 2, 1, kPitch,
                                       Format::kPixel32bppBgra, request);
                }),
                HasSubstr("stream->InitializeFromFilename() failed."))
        << path;
    EXPECT_FALSE(std::filesystem::exists(path)) << path;
  }
}

TEST_F(ImageSaveTest, AnExistingFileIsReplaced) {
  const std::string path = write("old.png", "old contents");
  const auto pixels = row({1, 2, 3, 255}, {5, 6, 7, 255});
  Media::FormatGuid request = Format::kContainerPng;
  service().saveToFile(path, pixels.data(), 2, 1, kPitch, Format::kPixel32bppBgra, request);
  EXPECT_EQ(pixelAt(*service().loadFromFile(path), 1, 0), (Pixel{7, 6, 5, 255}));
}

}  // namespace
