// The pixel-format conversion: the YUV matrices and their choice, images going into the
// working format on the GPU, frames coming out as YUV, and the pairs that are refused.
#include "gpu/resource_convert.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <utility>

#include "gpu/gl/texture_copy.h"
#include "gpu/gpu_test_support.h"
#include "gpu/render_buffer.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/builtin_pixel_shaders.h"
#include "gpu/shader/constant_buffer.h"
#include "gpu/shader/pixel_shader.h"
#include "gpu/yuv_matrix.h"

namespace {

using Media::ImageBuffer;
using Media::RenderBuffer;
using Media::ResourceBuffer;
using Media::ResourceConvert;
using Media::YuvMatrix;
using testing::AllOf;
using testing::HasSubstr;
using TestSupport::GpuTest;
using TestSupport::halfPixel;
using TestSupport::nearHalf;
using TestSupport::Rgba;

using Vec3 = std::array<float, 3>;

// transform x (v + offset, 1), as the input shaders compute it.
Vec3 applyInput(const Media::ConversionConstants& c, const Vec3& v) {
  Vec3 out{};
  for (int r = 0; r < 3; ++r) {
    float sum = c.transform[r * 4 + 3];
    for (int k = 0; k < 3; ++k) sum += c.transform[r * 4 + k] * (v[k] + c.offset[k]);
    out[r] = sum;
  }
  return out;
}

// transform x v + offset, as the output shader computes it for an opaque pixel.
Vec3 applyOutput(const Media::ConversionConstants& c, const Vec3& v) {
  Vec3 out{};
  for (int r = 0; r < 3; ++r) {
    float sum = c.offset[r] + c.transform[r * 4 + 3];
    for (int k = 0; k < 3; ++k) sum += c.transform[r * 4 + k] * v[k];
    out[r] = sum;
  }
  return out;
}

TEST(YuvMatrixTest, TheSettingOrTheHeightChoosesTheMatrix) {
  struct Case {
    int32_t setting;
    uint32_t height;
    YuvMatrix expected;
  };
  const Case cases[] = {
      {0, 719, YuvMatrix::Bt601}, {0, 720, YuvMatrix::Bt709},  {3, 719, YuvMatrix::Bt601},
      {3, 720, YuvMatrix::Bt709}, {-1, 1080, YuvMatrix::Bt709}, {1, 1080, YuvMatrix::Bt601},
      {2, 480, YuvMatrix::Bt709},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Media::chooseYuvMatrix(c.setting, c.height), c.expected)
        << "setting " << c.setting << " height " << c.height;
}

// Each output matrix followed by its input matrix gives the colour back: the two tables
// are inverses of each other (in the YUY2 case after the GPU's (U, Y, V) reading order).
TEST(YuvMatrixTest, OutputThenInputReturnsTheColour) {
  const Vec3 colours[] = {{1, 1, 1}, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0.3f, 0.6f, 0.2f}};
  for (const YuvMatrix matrix : {YuvMatrix::Bt601, YuvMatrix::Bt709}) {
    for (const bool packed : {true, false}) {
      const auto* out = Media::outputConversion(packed ? 107 : 13, matrix);
      const auto* in = Media::inputConversion(packed ? 69 : 13, matrix);
      ASSERT_NE(out, nullptr);
      ASSERT_NE(in, nullptr);
      for (const Vec3& colour : colours) {
        const Vec3 ycbcr = applyOutput(*out, colour);
        const Vec3 read = packed ? Vec3{ycbcr[1], ycbcr[0], ycbcr[2]} : ycbcr;
        const Vec3 back = applyInput(*in, read);
        for (int k = 0; k < 3; ++k)
          EXPECT_NEAR(back[k], colour[k], 0.003f)
              << (packed ? "YUY2" : "13") << " BT." << (matrix == YuvMatrix::Bt601 ? 601 : 709)
              << " channel " << k;
      }
    }
  }
  EXPECT_EQ(Media::inputConversion(28, YuvMatrix::Bt601), nullptr);
  EXPECT_EQ(Media::outputConversion(28, YuvMatrix::Bt709), nullptr);
}

// A YUY2 image of one colour: pairs of (Y, U, Y, V).
std::shared_ptr<ImageBuffer> yuy2Image(uint32_t width, uint32_t height, uint8_t y, uint8_t u,
                                       uint8_t v) {
  auto image = ImageBuffer::makeShared(107, width, height);
  for (uint32_t row = 0; row < height; ++row)
    for (uint32_t pair = 0; pair < (width + 1) / 2; ++pair) {
      uint8_t* bytes = image->row(row) + pair * 4;
      bytes[0] = y, bytes[1] = u, bytes[2] = y, bytes[3] = v;
    }
  return image;
}

Rgba expectedFromYuy2(YuvMatrix matrix, uint8_t y, uint8_t u, uint8_t v) {
  const Vec3 rgb = applyInput(*Media::inputConversion(69, matrix),
                              {u / 255.0f, y / 255.0f, v / 255.0f});
  return {rgb[0], rgb[1], rgb[2], 1.0f};
}

// A colour whose BT.601 and BT.709 readings differ by far more than the tolerance.
TEST_F(GpuTest, YuyvImagesChooseTheirMatrixByTheSettingAndHeight) {
  struct Case {
    int32_t setting;
    uint32_t height;
    YuvMatrix expected;
  };
  const Case cases[] = {
      {0, 720, YuvMatrix::Bt709}, {0, 719, YuvMatrix::Bt601}, {3, 720, YuvMatrix::Bt709},
      {3, 719, YuvMatrix::Bt601}, {1, 720, YuvMatrix::Bt601}, {2, 8, YuvMatrix::Bt709},
  };
  constexpr uint8_t kY = 128, kU = 64, kV = 200;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "setting " << c.setting << " height " << c.height);
    service().inputYUVColorSpace = c.setting;
    const uint32_t width = c.height > 8 ? 1280 : 4;
    const auto image = yuy2Image(width, c.height, kY, kU, kV);
    ResourceBuffer target;
    ResourceConvert().convert(*image, target);
    ASSERT_EQ(target.width(), width);
    ASSERT_EQ(target.height(), c.height);
    const auto result = target.readBack();
    const Rgba expected = expectedFromYuy2(c.expected, kY, kU, kV);
    const Rgba other = expectedFromYuy2(
        c.expected == YuvMatrix::Bt601 ? YuvMatrix::Bt709 : YuvMatrix::Bt601, kY, kU, kV);
    ASSERT_GT(std::fabs(expected[0] - other[0]), 0.05f);
    for (const uint32_t x : {0u, 1u, width - 1})
      EXPECT_TRUE(nearHalf(halfPixel(*result, x, c.height - 1), expected, 3e-3f)) << "x " << x;
  }
}

// Both pixels of a pair keep their own luma.
TEST_F(GpuTest, EachPixelOfAYuyvPairKeepsItsLuma) {
  service().inputYUVColorSpace = 1;
  auto image = ImageBuffer::makeShared(107, 3, 1);
  const uint8_t pairs[8] = {16, 128, 235, 128, 126, 128, 0, 128};
  std::memcpy(image->row(0), pairs, sizeof(pairs));
  ResourceBuffer target;
  ResourceConvert().convert(*image, target);
  const auto result = target.readBack();
  EXPECT_TRUE(nearHalf(halfPixel(*result, 0, 0), {0, 0, 0, 1}, 3e-3f));
  EXPECT_TRUE(nearHalf(halfPixel(*result, 1, 0), {1, 1, 1, 1}, 3e-3f));
  EXPECT_TRUE(nearHalf(halfPixel(*result, 2, 0), {0.5f, 0.5f, 0.5f, 1}, 3e-3f));
}

// A YUY2 picture of distinct pairs: luma counts the columns and rows, chroma the pairs.
std::shared_ptr<ImageBuffer> yuy2Ramp(uint32_t width, uint32_t height) {
  auto image = ImageBuffer::makeShared(107, width, height);
  for (uint32_t row = 0; row < height; ++row)
    for (uint32_t pair = 0; pair < (width + 1) / 2; ++pair) {
      uint8_t* bytes = image->row(row) + pair * 4;
      bytes[0] = static_cast<uint8_t>(16 + pair * 20 + row * 7);
      bytes[1] = static_cast<uint8_t>(40 + pair * 30);
      bytes[2] = static_cast<uint8_t>(26 + pair * 20 + row * 7);
      bytes[3] = static_cast<uint8_t>(220 - row * 25);
    }
  return image;
}

// Kept as its pairs, a picture reports the working format and its size, and whatever use
// needs its pixels converts it first, to exactly what an upload that converts at once gives.
TEST_F(GpuTest, AYuyvPictureKeptAsPairsConvertsAtItsFirstUseAsAtOnce) {
  using Use = std::function<void(ResourceBuffer&)>;
  const std::pair<const char*, Use> uses[] = {
      {"texture", [](ResourceBuffer& b) { EXPECT_NE(b.texture(), nullptr); }},
      {"view", [](ResourceBuffer& b) { b.createShaderResourceView(); }},
      {"clone", [](ResourceBuffer& b) { EXPECT_EQ(b.clone()->packedPairs(), nullptr); }},
      {"read back", [](ResourceBuffer& b) { b.readBack(); }},
  };
  for (const uint32_t width : {6u, 5u}) {
    const auto image = yuy2Ramp(width, 4);
    const auto atOnce = ResourceBuffer::createFromImageBuffer(image.get())->readBack();
    for (const auto& [name, use] : uses) {
      SCOPED_TRACE(testing::Message() << name << ", width " << width);
      auto kept =
          ResourceBuffer::createFromImageBuffer(image.get(), ResourceBuffer::YuvUpload::Defer);
      ASSERT_NE(kept->packedPairs(), nullptr);
      EXPECT_EQ(kept->width(), width);
      EXPECT_EQ(kept->height(), 4u);
      EXPECT_EQ(kept->format(), 10);
      EXPECT_FALSE(kept->empty());
      use(*kept);
      EXPECT_EQ(kept->packedPairs(), nullptr);
      const auto converted = kept->readBack();
      ASSERT_EQ(converted->usedSize(), atOnce->usedSize());
      EXPECT_EQ(std::memcmp(converted->data(), atOnce->data(), atOnce->usedSize()), 0);
    }
  }
}

// Only YUY2 waits: other formats, and a picture of no pixels, convert at once; a resize or
// release drops the pairs.
TEST_F(GpuTest, OnlyYuyvPicturesKeepTheirPairs) {
  const auto rgba = ImageBuffer::makeShared(28, 2, 2);
  std::memset(rgba->data(), 255, rgba->usedSize());
  EXPECT_EQ(ResourceBuffer::createFromImageBuffer(rgba.get(), ResourceBuffer::YuvUpload::Defer)
                ->packedPairs(),
            nullptr);
  const auto empty = ImageBuffer::makeShared(107, 0, 0);
  const auto none =
      ResourceBuffer::createFromImageBuffer(empty.get(), ResourceBuffer::YuvUpload::Defer);
  EXPECT_EQ(none->packedPairs(), nullptr);
  EXPECT_TRUE(none->empty());

  auto kept = ResourceBuffer::createFromImageBuffer(yuy2Ramp(4, 2).get(),
                                                    ResourceBuffer::YuvUpload::Defer);
  kept->resize(3, 3, false);
  EXPECT_EQ(kept->packedPairs(), nullptr);
  EXPECT_EQ(kept->width(), 3u);
  kept = ResourceBuffer::createFromImageBuffer(yuy2Ramp(4, 2).get(),
                                               ResourceBuffer::YuvUpload::Defer);
  kept->release();
  EXPECT_TRUE(kept->empty());
}

// Known colours from each layout into the working format.
TEST_F(GpuTest, ImagesOfEachFormatComeInPremultiplied) {
  struct Case {
    const char* name;
    int32_t format;
    std::vector<uint8_t> pixel;  // one pixel's bytes (YUY2: a pair of two equal pixels)
    Rgba expected;
  };
  auto halfBytes = [](const Rgba& colour) {
    std::vector<uint8_t> bytes(8);
    for (int c = 0; c < 4; ++c) {
      const uint16_t half = TestSupport::floatToHalf(colour[c]);
      std::memcpy(bytes.data() + c * 2, &half, 2);
    }
    return bytes;
  };
  auto shorts = [](std::array<int16_t, 4> values) {
    std::vector<uint8_t> bytes(8);
    std::memcpy(bytes.data(), values.data(), 8);
    return bytes;
  };
  const Case cases[] = {
      {"YUY2 black", 107, {16, 128, 16, 128}, {0, 0, 0, 1}},
      {"YUY2 white", 107, {235, 128, 235, 128}, {1, 1, 1, 1}},
      {"YUY2 red", 107, {81, 90, 81, 240}, {1, 0, 0, 1}},
      {"16-bit YUV white", 13, shorts({4096, 0, 0, 0}), {1, 1, 1, 1}},
      {"16-bit YUV black", 13, shorts({0, 0, 0, 32767}), {0, 0, 0, 1}},
      {"16-bit YUV red", 13, shorts({1225, -692, 2048, 0}), {1, 0, 0, 1}},
      {"RGBA straight", 28, {255, 0, 0, 128}, {0.502f, 0, 0, 0.502f}},
      {"BGRA straight", 87, {0, 0, 255, 128}, {0.502f, 0, 0, 0.502f}},
      {"BGRX opaque", 88, {64, 128, 255, 7}, {1, 0.502f, 0.251f, 1}},
      {"16-bit unsigned copied", 11, shorts({-1, 0, 16384, -32768}), {1, 0, 0.25f, 0.5f}},
      {"half float copied", 10, halfBytes({0.5f, -0.25f, 2.0f, 0.75f}), {0.5f, -0.25f, 2.0f, 0.75f}},
  };
  service().inputYUVColorSpace = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto image = ImageBuffer::makeShared(c.format, 2, 1);
    const std::size_t bytes = c.format == 107 ? 4 : c.pixel.size();
    for (std::size_t at = 0; at < ImageBuffer::getBytesPerPixel(c.format) * 2; at += bytes)
      std::memcpy(image->row(0) + at, c.pixel.data(), bytes);
    ResourceBuffer target(2, 1);
    ResourceConvert().convert(*image, target);
    // 8-bit YUV rounds to about 1/219 per channel.
    EXPECT_TRUE(nearHalf(halfPixel(*target.readBack(), 1, 0), c.expected,
                         c.format == 107 ? 8e-3f : 3e-3f));
  }
}

TEST_F(GpuTest, UnsupportedConversionsAreRefused) {
  struct Case {
    const char* name;
    std::shared_ptr<ImageBuffer> source;
    int32_t targetFormat;
    const char* note;
  };
  const Case cases[] = {
      {"mask source", std::make_shared<ImageBuffer>(65, 2, 2, 32), 10, "DXGI format 65 -> 10"},
      {"working-format source, other target", ImageBuffer::makeShared(10, 2, 2), 11,
       "DXGI format 10 -> 11"},
      {"YUY2 shows as its GPU layout", ImageBuffer::makeShared(107, 2, 2), 41,
       "DXGI format 69 -> 41"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResourceBuffer target(5, 5, c.targetFormat);
    EXPECT_THAT([&] { ResourceConvert().convert(*c.source, target); },
                testing::ThrowsMessage<std::exception>(
                    AllOf(HasSubstr("Media::ResourceConvert::convert"),
                          HasSubstr("unsupported convert format."), HasSubstr(c.note))));
    // The target has taken the source's size all the same.
    EXPECT_EQ(target.width(), 2u);
  }

  RenderBuffer frame(2, 2);
  for (const int32_t format : {28, 10, 65})
    EXPECT_THAT([&] {
      std::shared_ptr<ImageBuffer> result;
      ResourceConvert().convertFrame(result, frame, format);
    }, testing::ThrowsMessage<std::exception>(HasSubstr("unsupported convert format.")));
  RenderBuffer bytes(2, 2, 28);
  EXPECT_THAT([&] { bytes.createImageBuffer(13, false); },
              testing::ThrowsMessage<std::exception>(HasSubstr("DXGI format 28 -> 13")));
}

// A frame of distinct opaque colours, laid in through a working-format image.
void fillFrame(RenderBuffer& frame, const std::vector<Rgba>& colours) {
  auto image = ImageBuffer::makeShared(10, static_cast<uint32_t>(frame.width()),
                                       static_cast<uint32_t>(frame.height()));
  for (uint32_t y = 0; y < image->height; ++y)
    for (uint32_t x = 0; x < image->width; ++x)
      TestSupport::setHalfPixel(*image, x, y, colours[(y * image->width + x) % colours.size()]);
  ResourceBuffer source;
  source.create(*image);
  Media::copyTexture(*frame.texture(), *source.texture(), "test");
}

const std::vector<Rgba> kFrameColours = {
    {1, 1, 1, 1}, {0, 0, 0, 1}, {1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}, {0.3f, 0.6f, 0.2f, 1},
    {0.9f, 0.1f, 0.5f, 1},
};

TEST_F(GpuTest, FramesBecomeYuvAndComeBackUnchanged) {
  for (const int32_t setting : {1, 2}) {
    for (const int32_t format : {13, 107}) {
      SCOPED_TRACE(testing::Message() << "setting " << setting << " format " << format);
      service().inputYUVColorSpace = setting;
      service().outputYUVColorSpace = setting;
      RenderBuffer frame(7, 3);  // an odd width: the last YUY2 pair is half used
      fillFrame(frame, kFrameColours);
      const auto yuv = frame.createImageBuffer(format, false);
      ASSERT_EQ(yuv->format, format);
      ASSERT_EQ(yuv->width, 7u);
      ResourceBuffer back;
      ResourceConvert().convert(*yuv, back);
      const auto result = back.readBack();
      for (uint32_t x = 0; x < 7; ++x) {
        // YUY2 keeps the chroma of each pair's first pixel, so only those come back whole.
        if (format == 107 && x % 2 == 1) continue;
        const Rgba& colour = kFrameColours[(2 * 7 + x) % kFrameColours.size()];
        EXPECT_TRUE(nearHalf(halfPixel(*result, x, 2), colour, format == 13 ? 3e-3f : 1.2e-2f))
            << "x " << x;
      }
    }
  }
}

// The pairs are packed on the GPU: byte for byte what the per-pixel output transform into
// 8-bit (Y, Cb, Cr, a) packed in main memory gives, the first pixel's chroma in each pair and
// the last pair of an odd width repeating its one pixel's luma.
TEST_F(GpuTest, FramesPackIntoTheSameYuy2BytesAsPerPixelYuvPackedInMemory) {
  for (const int width : {6, 5, 1}) {
    SCOPED_TRACE(testing::Message() << "width " << width);
    service().outputYUVColorSpace = 1;
    RenderBuffer frame(width, 3);
    fillFrame(frame, kFrameColours);
    const auto packed = frame.createImageBuffer(107, false);

    RenderBuffer perPixel(width, 3, 28);
    Media::ConstantBufferCommon constants;
    const Media::ConversionConstants& conversion =
        *Media::outputConversion(107, Media::chooseYuvMatrix(1, 3));
    Media::ConstantBufferCommon::create(constants, &conversion, sizeof(conversion));
    service()
        .builtinPixelShaders()
        .get(Media::BuiltinPixel::OutputTransform)
        .drawViewToView(*perPixel.createRenderTargetView(), *frame.createShaderResourceView(),
                        &constants);
    const auto pixels = perPixel.readBack();
    auto expected = ImageBuffer::makeShared(107, static_cast<uint32_t>(width), 3);
    expected->packYuy2(pixels->data(), pixels->width, pixels->height, pixels->pitch);

    const uint32_t rowBytes = static_cast<uint32_t>(width + 1) / 2 * 4;
    for (uint32_t y = 0; y < 3; ++y)
      EXPECT_EQ(std::memcmp(packed->row(y), expected->row(y), rowBytes), 0) << "row " << y;
  }
}

// Known colours out: white, black and red in both layouts, alpha carried by the 16-bit one.
TEST_F(GpuTest, FramesBecomeKnownYuvValues) {
  struct Case {
    Rgba colour;
    std::array<int, 3> yuy2;        // Y, U, V
    std::array<int, 4> snorm;       // Y, Cb, Cr, A
  };
  const Case cases[] = {
      {{1, 1, 1, 1}, {235, 128, 128}, {4096, 0, 0, 32767}},
      {{0, 0, 0, 1}, {16, 128, 128}, {0, 0, 0, 32767}},
      {{1, 0, 0, 1}, {81, 90, 240}, {1225, -692, 2048, 32767}},
      {{0.25f, 0.25f, 0.25f, 0.5f}, {71, 128, 128}, {1024, 0, 0, 16384}},
  };
  service().outputYUVColorSpace = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.colour[0] << ", " << c.colour[1] << ", " << c.colour[2]
                                    << ", " << c.colour[3]);
    RenderBuffer frame(2, 1);
    fillFrame(frame, {c.colour});
    const auto packed = frame.createImageBuffer(107, false);
    const uint8_t* pair = packed->row(0);
    EXPECT_NEAR(pair[0], c.yuy2[0], 1);
    EXPECT_NEAR(pair[2], c.yuy2[0], 1);
    EXPECT_NEAR(pair[1], c.yuy2[1], 1);
    EXPECT_NEAR(pair[3], c.yuy2[2], 1);

    const auto wide = frame.createImageBuffer(13, false);
    int16_t values[4];
    std::memcpy(values, wide->row(0) + 8, sizeof(values));
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(values[k], c.snorm[k], 3) << "channel " << k;
  }
}

}  // namespace
