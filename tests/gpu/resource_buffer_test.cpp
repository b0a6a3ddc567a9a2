#include "gpu/resource_buffer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "gpu/copy_pass.h"
#include "gpu/gpu_test_support.h"
#include "gpu/render_buffer.h"

namespace {

using Media::ImageBuffer;
using Media::ResourceBuffer;
using testing::HasSubstr;
using TestSupport::GpuTest;
using TestSupport::halfPixel;
using TestSupport::nearHalf;
using TestSupport::Rgba;

constexpr const char* kInvalidArgument = "HRESULT: 0x80070057";

// Bytes per pixel of the layouts in main memory (YUY2: a pair in four bytes).
uint32_t memoryBytes(int32_t format) {
  switch (format) {
    case 10: case 11: case 13: return 8;
    case 28: case 87: case 88: case 41: return 4;
    case 65: return 1;
    case 107: return 2;
  }
  return 0;
}

// An image whose rows are longer than their pixels (the pitch is not the default one), with
// values that every format holds exactly.
std::shared_ptr<ImageBuffer> patternImage(int32_t format, uint32_t width, uint32_t height,
                                          uint32_t seed) {
  const uint32_t pitch = ((width * memoryBytes(format) + 31) & ~31u) + 32;
  auto image = std::make_shared<ImageBuffer>(format, width, height, pitch);
  std::memset(image->data(), 0xEE, image->usedSize());
  std::mt19937 random(seed);
  for (uint32_t y = 0; y < height; ++y) {
    uint8_t* row = image->row(y);
    if (format == 10) {
      auto* halves = reinterpret_cast<uint16_t*>(row);
      for (uint32_t i = 0; i < width * 4; ++i)
        halves[i] = TestSupport::floatToHalf(static_cast<float>(random() % 256) / 64.0f - 2.0f);
    } else if (format == 41) {
      auto* floats = reinterpret_cast<float*>(row);
      for (uint32_t i = 0; i < width; ++i) floats[i] = static_cast<float>(random() % 10000) / 7.0f - 500.0f;
    } else if (format == 13) {
      // -32768 and -32767 both read as -1: keep to the values with one meaning.
      auto* shorts = reinterpret_cast<int16_t*>(row);
      for (uint32_t i = 0; i < width * 4; ++i)
        shorts[i] = static_cast<int16_t>(static_cast<int32_t>(random() % 65535) - 32767);
    } else {
      for (uint32_t i = 0; i < width * memoryBytes(format); ++i) row[i] = static_cast<uint8_t>(random());
    }
  }
  return image;
}

// The colour a shader reads from pixel (x, y) of an image: the CPU reference of the
// texture formats.
Rgba expectedTexel(const ImageBuffer& image, uint32_t x, uint32_t y) {
  const uint8_t* row = image.row(y);
  auto u16 = [&](int c) { uint16_t v; std::memcpy(&v, row + x * 8 + c * 2, 2); return v; };
  auto s16 = [&](int c) { int16_t v; std::memcpy(&v, row + x * 8 + c * 2, 2); return v; };
  auto byte = [&](int c) { return static_cast<float>(row[x * 4 + c]) / 255.0f; };
  switch (image.format) {
    case 10: return {TestSupport::halfToFloat(u16(0)), TestSupport::halfToFloat(u16(1)),
                     TestSupport::halfToFloat(u16(2)), TestSupport::halfToFloat(u16(3))};
    case 11: return {u16(0) / 65535.0f, u16(1) / 65535.0f, u16(2) / 65535.0f, u16(3) / 65535.0f};
    case 13: return {std::max(s16(0) / 32767.0f, -1.0f), std::max(s16(1) / 32767.0f, -1.0f),
                     std::max(s16(2) / 32767.0f, -1.0f), std::max(s16(3) / 32767.0f, -1.0f)};
    case 28: return {byte(0), byte(1), byte(2), byte(3)};
    case 87: return {byte(2), byte(1), byte(0), byte(3)};
    case 88: return {byte(2), byte(1), byte(0), 1.0f};
    case 65: return {0.0f, 0.0f, 0.0f, static_cast<float>(row[x]) / 255.0f};
    case 41: { float v; std::memcpy(&v, row + x * 4, 4); return {v, 0.0f, 0.0f, 1.0f}; }
  }
  return {};
}

// Every format goes up and comes back byte for byte, whatever its pitch.
TEST_F(GpuTest, UploadAndReadBackKeepEveryByteOfEveryFormat) {
  struct Case {
    int32_t format;
    int32_t textureFormat;
    uint32_t width;
  };
  for (const Case c : {Case{10, 10, 5}, Case{11, 11, 5}, Case{13, 13, 3}, Case{28, 28, 7},
                       Case{87, 87, 7}, Case{88, 88, 6}, Case{65, 65, 5}, Case{41, 41, 9},
                       Case{107, 69, 6}}) {
    SCOPED_TRACE(testing::Message() << "format " << c.format);
    const auto image = patternImage(c.format, c.width, 3, static_cast<uint32_t>(c.format));
    ResourceBuffer buffer;
    buffer.create(*image);
    EXPECT_EQ(buffer.format(), c.textureFormat);
    EXPECT_EQ(buffer.width(), c.width);

    const auto back = buffer.readBack();
    EXPECT_EQ(back->format, c.textureFormat);
    ASSERT_EQ(back->width, c.width);
    ASSERT_EQ(back->height, 3u);
    EXPECT_EQ(back->pitch % 32, 0u);
    const uint32_t rowBytes = c.width * memoryBytes(c.format);
    for (uint32_t y = 0; y < 3; ++y)
      EXPECT_EQ(std::memcmp(back->row(y), image->row(y), rowBytes), 0) << "row " << y;
  }
}

// What shaders read of each format, drawn into a half-float frame and compared with the
// CPU's reading of the same bytes: channel order, normalisation, the alpha of masks and
// the forced alpha of B8G8R8X8.
TEST_F(GpuTest, ShadersReadEveryFormatAsTheCpuReferenceDoes) {
  for (const int32_t format : {10, 11, 13, 28, 87, 88, 65, 41}) {
    SCOPED_TRACE(testing::Message() << "format " << format);
    const auto image = patternImage(format, 4, 3, 100u + static_cast<uint32_t>(format));
    ResourceBuffer source;
    source.create(*image);
    Media::RenderBuffer frame(4, 3, 10);
    Media::drawCopy(Media::CopyKind::Plain, *source.createShaderResourceView(),
                    *frame.createRenderTargetView());
    const auto back = frame.readBack();
    for (uint32_t y = 0; y < 3; ++y)
      for (uint32_t x = 0; x < 4; ++x) {
        Rgba expected = expectedTexel(*image, x, y);
        // A half float holds these to about one part in two thousand.
        EXPECT_TRUE(nearHalf(halfPixel(*back, x, y), expected)) << "pixel " << x << ", " << y;
      }
  }
}

TEST_F(GpuTest, SidesAreClampedOrRefusedAsTheirCreatorAsks) {
  ResourceBuffer empty(0u, 0u);
  EXPECT_TRUE(empty.empty());
  EXPECT_THAT([&] { empty.createShaderResourceView(); },
              testing::ThrowsMessage<std::exception>(HasSubstr("Direct3D.device->CreateShaderResourceView() failed.")));

  ResourceBuffer wide(20000u, 10u);
  EXPECT_EQ(wide.width(), 16384u);
  EXPECT_EQ(wide.height(), 10u);
  ASSERT_FALSE(wide.empty());
  EXPECT_EQ(wide.texture()->width(), 16384u);

  ResourceBuffer source(8, 8);
  const std::vector<std::pair<std::string, std::function<void()>>> refused = {
      {"one side 0", [] { ResourceBuffer buffer(0, 10); }},
      {"other side 0", [] { ResourceBuffer buffer(10, 0); }},
      // A negative side must not become a huge unsigned one (clamped, a full-size texture).
      {"width -1", [] { ResourceBuffer buffer(-1, 1); }},
      {"height -1", [] { ResourceBuffer buffer(1, -1); }},
      {"both sides negative", [] { ResourceBuffer buffer(-16384, -16384); }},
      {"lowest width", [] { ResourceBuffer buffer(INT32_MIN, 1); }},
      {"negative side in a format", [] { ResourceBuffer::createBuffer(-1, 4, 28); }},
      {"crop to width -1", [&] { source.crop(-1, 4, 0, 0); }},
      {"crop to height -1", [&] { source.crop(4, -1, 0, 0); }},
      {"crop to a negative square", [&] { source.crop(-1, -1, 0, 0); }},
      {"crop to one side 0", [&] { source.crop(0, 4, 0, 0); }},
      {"unknown format", [] { ResourceBuffer::createBuffer(4, 4, 999); }},
      {"format 0", [] { ResourceBuffer::createBuffer(4, 4, 0); }},
      {"image wider than the limit", [] {
         ResourceBuffer buffer;
         buffer.create(ImageBuffer(10, 16385, 1));
       }},
      {"image of 0 x 0", [] {
         ResourceBuffer buffer;
         buffer.create(ImageBuffer(10, 0, 0));
       }},
  };
  for (const auto& [name, make] : refused) {
    SCOPED_TRACE(name);
    try {
      make();
      ADD_FAILURE() << "made";
    } catch (const std::exception& failure) {
      EXPECT_THAT(failure.what(), HasSubstr("Direct3D.device->CreateTexture2D() failed."));
      EXPECT_THAT(failure.what(), HasSubstr(kInvalidArgument));
      EXPECT_THAT(failure.what(), HasSubstr("Media::ResourceBuffer::createTexture2D()"));
    }
  }
}

// Pixels that do not cover the image are refused before anything is read.
TEST_F(GpuTest, AnImageWhosePixelsDoNotCoverItIsRefused) {
  ImageBuffer image(28, 8, 8);
  image.pitch = 16;  // shorter than a row of 8 pixels
  ResourceBuffer buffer;
  EXPECT_THAT([&] { buffer.create(image); },
              testing::ThrowsMessage<std::exception>(HasSubstr(kInvalidArgument)));
  ImageBuffer tall(28, 8, 8);
  tall.height = 9;  // one row more than the block holds
  EXPECT_THAT([&] { buffer.create(tall); },
              testing::ThrowsMessage<std::exception>(HasSubstr(kInvalidArgument)));
}

TEST_F(GpuTest, OnlyDrawableFormatsGetRenderTargetAndUnorderedViews) {
  auto pixels = ResourceBuffer::createBuffer(4, 4, 10);
  EXPECT_NE(pixels->createRenderTargetView(), nullptr);
  EXPECT_NE(pixels->createUnorderedAccessView(), nullptr);
  auto mask = ResourceBuffer::createBuffer(4, 4, 65);
  EXPECT_NE(mask->createRenderTargetView(), nullptr);
  auto depth = ResourceBuffer::createBuffer(4, 4, 41);
  EXPECT_NE(depth->createUnorderedAccessView(), nullptr);

  auto bytes = ResourceBuffer::createBuffer(4, 4, 28);
  EXPECT_NE(bytes->createShaderResourceView(), nullptr);
  EXPECT_THAT([&] { bytes->createRenderTargetView(); },
              testing::ThrowsMessage<std::exception>(AllOf(
                  HasSubstr("Direct3D.device->CreateRenderTargetView() failed."),
                  HasSubstr("Media::ResourceBuffer::createRenderTargetView()"))));
  EXPECT_THAT([&] { bytes->createUnorderedAccessView(); },
              testing::ThrowsMessage<std::exception>(
                  HasSubstr("Direct3D.device->CreateUnorderedAccessView() failed.")));
  EXPECT_THAT([&] { bytes->clear(0.5f); },
              testing::ThrowsMessage<std::exception>(
                  HasSubstr("Direct3D.device->CreateUnorderedAccessView() failed.")));
}

// Pixel (x, y) of the marked image holds (x / 128, y / 128, 1, 1), exact in half floats.
std::unique_ptr<ResourceBuffer> markedBuffer(uint32_t width, uint32_t height) {
  auto image = ImageBuffer::makeShared(10, width, height);
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x)
      TestSupport::setHalfPixel(*image, x, y, {x / 128.0f, y / 128.0f, 1.0f, 1.0f});
  auto buffer = std::make_unique<ResourceBuffer>();
  buffer->create(*image);
  return buffer;
}

Rgba mark(uint32_t x, uint32_t y) { return {x / 128.0f, y / 128.0f, 1.0f, 1.0f}; }

TEST_F(GpuTest, CropPlacesTheImageAtTheOffsetOnTransparentBlack) {
  const auto source = markedBuffer(100, 100);
  const auto cropped = source->crop(120, 80, 10, -10);
  ASSERT_EQ(cropped->width(), 120u);
  ASSERT_EQ(cropped->height(), 80u);
  const auto image = cropped->readBack();
  for (uint32_t y = 0; y < 80; ++y)
    for (uint32_t x = 0; x < 120; ++x) {
      const bool inside = x >= 10 && x < 110;
      const Rgba expected = inside ? mark(x - 10, y + 10) : Rgba{0, 0, 0, 0};
      ASSERT_TRUE(nearHalf(halfPixel(*image, x, y), expected)) << x << ", " << y;
    }
}

TEST_F(GpuTest, CopyRectTakesABoxOfTheSourceAndSkipsNegativeCorners) {
  const auto source = markedBuffer(8, 8);
  struct Case {
    const char* name;
    int32_t x;
    int32_t y;
    uint32_t copied;  // side of the square copied to (0, 0); 0: nothing
  };
  for (const Case c : {Case{"inside", 2, 3, 4}, Case{"x = -1", -1, 0, 0}, Case{"y = -1", 0, -1, 0},
                       Case{"beyond the source: clipped", 6, 6, 2}}) {
    SCOPED_TRACE(c.name);
    ResourceBuffer target(4u, 4u);
    const float marker[4] = {0.5f, 0.5f, 0.5f, 0.5f};
    target.clearRenderTarget(marker);
    target.copyRect(*source, c.x, c.y, 4, 4);
    const auto image = target.readBack();
    for (uint32_t y = 0; y < 4; ++y)
      for (uint32_t x = 0; x < 4; ++x) {
        const bool copied = x < c.copied && y < c.copied;
        const Rgba expected = copied ? mark(x + c.x, y + c.y) : Rgba{0.5f, 0.5f, 0.5f, 0.5f};
        EXPECT_TRUE(nearHalf(halfPixel(*image, x, y), expected)) << x << ", " << y;
      }
  }
}

TEST_F(GpuTest, CloneIsAFullCopyOfItsOwn) {
  const auto source = markedBuffer(6, 5);
  const auto copy = source->clone();
  EXPECT_NE(copy->texture(), source->texture());
  const auto image = copy->readBack();
  for (uint32_t y = 0; y < 5; ++y)
    for (uint32_t x = 0; x < 6; ++x) EXPECT_TRUE(nearHalf(halfPixel(*image, x, y), mark(x, y)));
  // The copy does not follow later changes of the original.
  source->clear(0.0f);
  EXPECT_TRUE(nearHalf(halfPixel(*copy->readBack(), 5, 4), mark(5, 4)));
}

TEST_F(GpuTest, ClearSetsEveryChannelAndAMaskTakesItAsAlpha) {
  ResourceBuffer pixels(3u, 2u);
  pixels.clear(0.25f);
  EXPECT_TRUE(nearHalf(halfPixel(*pixels.readBack(), 2, 1), {0.25f, 0.25f, 0.25f, 0.25f}));

  auto mask = ResourceBuffer::createBuffer(3, 2, 65);
  mask->clear(0.25f);
  const auto image = mask->readBack();
  EXPECT_EQ(image->row(1)[2], 64);
}

TEST_F(GpuTest, ImagesInTheDevicesFormatAreUploadedAsTheyAre) {
  EXPECT_EQ(ResourceBuffer::createFromImageBuffer(nullptr), nullptr);
  const auto image = TestSupport::solidHalfImage(3, 3, {0.5f, 0.25f, 0.0f, 0.5f});
  const auto buffer = ResourceBuffer::createFromImageBuffer(image.get());
  EXPECT_EQ(buffer->format(), 10);
  EXPECT_TRUE(nearHalf(halfPixel(*buffer->readBack(), 1, 1), {0.5f, 0.25f, 0.0f, 0.5f}));

  // Other formats go through the conversion, which has no path for a mask.
  const auto mask = std::make_shared<ImageBuffer>(65, 3, 3, 32);
  EXPECT_THAT([&] { ResourceBuffer::createFromImageBuffer(mask.get()); },
              testing::ThrowsMessage<std::exception>(
                  AllOf(HasSubstr("unsupported convert format."), HasSubstr("DXGI format 65 -> 10"))));
}

// A 2-D drawing surface hands its bytes in B, G, R, A order.
TEST_F(GpuTest, WritePixelsConvertsFromTheSourceLayout) {
  ResourceBuffer buffer(4u, 4u);
  buffer.clear(0.0f);
  const uint8_t bgra[2 * 2 * 4] = {0, 0, 255, 255, 0, 255, 0, 255,   // red, green
                                   255, 0, 0, 255, 0, 0, 0, 0};      // blue, clear
  buffer.writePixels(1, 1, 2, 2, 87, bgra, 8, sizeof bgra);
  const auto image = buffer.readBack();
  EXPECT_TRUE(nearHalf(halfPixel(*image, 0, 0), {0, 0, 0, 0}));
  EXPECT_TRUE(nearHalf(halfPixel(*image, 1, 1), {1, 0, 0, 1}));
  EXPECT_TRUE(nearHalf(halfPixel(*image, 2, 1), {0, 1, 0, 1}));
  EXPECT_TRUE(nearHalf(halfPixel(*image, 1, 2), {0, 0, 1, 1}));
  EXPECT_THAT([&] { buffer.writePixels(3, 3, 2, 2, 87, bgra, 8, sizeof bgra); },
              testing::ThrowsMessage<std::exception>(HasSubstr(kInvalidArgument)));
}

}  // namespace
