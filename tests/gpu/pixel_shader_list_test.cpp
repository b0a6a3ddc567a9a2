// The built-in pixel shaders checked against the same maths on the CPU at every pixel of a
// small image: a table of entry, constants and the expected colour of each pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "gpu/gpu_test_support.h"
#include "gpu/resource/pixel_shader_list.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/shader_binding.h"

namespace {

using Resource::PixelShaderList;
using TestSupport::halfPixel;
using TestSupport::nearHalf;
using TestSupport::Rgba;

constexpr uint32_t kWidth = 9, kHeight = 5;

// Premultiplied colours, some of them fully transparent, a few above 1.
std::shared_ptr<Media::ImageBuffer> sourceImage() {
  auto image = Media::ImageBuffer::makeShared(10, kWidth, kHeight);
  std::mt19937 random(11);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  for (uint32_t y = 0; y < kHeight; ++y)
    for (uint32_t x = 0; x < kWidth; ++x) {
      const float alpha = (x + y) % 4 == 0 ? 0.0f : unit(random);
      const float boost = x == 3 ? 1.5f : 1.0f;
      TestSupport::setHalfPixel(*image, x, y,
                                {unit(random) * alpha * boost, unit(random) * alpha, unit(random) * alpha, alpha});
    }
  return image;
}

// 16 bytes of constants written as floats or integers.
struct Constants {
  uint8_t bytes[16] = {};
  Constants& f(int at, float value) {
    std::memcpy(bytes + at * 4, &value, 4);
    return *this;
  }
  Constants& i(int at, int32_t value) {
    std::memcpy(bytes + at * 4, &value, 4);
    return *this;
  }
};

using Reference = std::function<Rgba(const Media::ImageBuffer&, int x, int y)>;

Rgba at(const Media::ImageBuffer& image, int x, int y) {
  return halfPixel(image, static_cast<uint32_t>(x), static_cast<uint32_t>(y));
}
bool inside(int x, int y) { return x >= 0 && y >= 0 && x < int(kWidth) && y < int(kHeight); }

class PixelShaderListTest : public TestSupport::GpuTest {
 protected:
  void SetUp() override {
    GpuTest::SetUp();
    list_ = std::make_unique<PixelShaderList>();
  }
  void TearDown() override {
    list_.reset();
    GpuTest::TearDown();
  }
  std::unique_ptr<PixelShaderList> list_;
};

TEST_F(PixelShaderListTest, EveryEntryIsLoaded) {
  for (int i = 0; i < PixelShaderList::kEntryCount; ++i)
    EXPECT_TRUE(list_->entry(i).loaded()) << PixelShaderList::entryName(i);
}

TEST_F(PixelShaderListTest, SingleInputEntriesMatchTheCpu) {
  struct Case {
    int entry;
    Constants constants;
    Reference expected;
  };
  const float kBase = 0.7f;
  const Case cases[] = {
      {PixelShaderList::kFill, Constants().f(0, 0.1f).f(1, 0.2f).f(2, 0.3f).f(3, 0.4f),
       [](auto&, int, int) { return Rgba{0.1f, 0.2f, 0.3f, 0.4f}; }},
      {PixelShaderList::kWhite, {}, [](auto&, int, int) { return Rgba{1, 1, 1, 1}; }},
      {PixelShaderList::kCopyOffset, Constants().i(0, 2).i(1, -1),
       [](auto& s, int x, int y) { return inside(x + 2, y - 1) ? at(s, x + 2, y - 1) : Rgba{}; }},
      {PixelShaderList::kCopyOffsetClamp, Constants().i(0, 2).i(1, -1),
       [](auto& s, int x, int y) {
         return at(s, std::clamp(x + 2, 0, int(kWidth) - 1), std::clamp(y - 1, 0, int(kHeight) - 1));
       }},
      {PixelShaderList::kCoverageColor, Constants().f(0, 1).f(1, 0.5f).f(2, 0).f(3, 1),
       [](auto& s, int x, int y) {
         const float a = at(s, x, y)[3];
         return Rgba{a, a * 0.5f, 0, a};
       }},
      {PixelShaderList::kOpacityOffset, Constants().f(0, 0.5f).i(1, -1).i(2, 1),
       [](auto& s, int x, int y) {
         if (!inside(x - 1, y + 1)) return Rgba{};
         Rgba c = at(s, x - 1, y + 1);
         for (float& v : c) v *= 0.5f;
         return c;
       }},
      // A transparent pixel becomes transparent black, never NaN.
      {PixelShaderList::kUnpremultiply, {},
       [](auto& s, int x, int y) {
         const Rgba c = at(s, x, y);
         return c[3] > 0 ? Rgba{c[0] / c[3], c[1] / c[3], c[2] / c[3], c[3]} : Rgba{};
       }},
      {PixelShaderList::kClampToAlpha, {},
       [](auto& s, int x, int y) {
         Rgba c = at(s, x, y);
         for (float& v : c) v = std::min(c[3], std::max(v, 0.0f));
         return c;
       }},
      {PixelShaderList::kSaturate, {},
       [](auto& s, int x, int y) {
         Rgba c = at(s, x, y);
         for (float& v : c) v = std::clamp(v, 0.0f, 1.0f);
         return c;
       }},
      // Columns 0-3 into column 0, 4-7 into 1, and the last column repeated past the edge.
      {PixelShaderList::kBoxReduceHorizontal, Constants().i(0, 4).i(1, 0),
       [](auto& s, int x, int y) {
         Rgba sum{};
         for (int i = 0; i < 4; ++i)
           for (int c = 0; c < 4; ++c) sum[c] += at(s, std::min(x * 4 + i, int(kWidth) - 1), y)[c] / 4;
         return sum;
       }},
      {PixelShaderList::kBoxReduceVertical, Constants().i(0, 2).i(1, 1),
       [](auto& s, int x, int y) {
         Rgba sum{};
         for (int i = 0; i < 2; ++i)
           for (int c = 0; c < 4; ++c) sum[c] += at(s, x, std::min(y * 2 + 1 + i, int(kHeight) - 1))[c] / 2;
         return sum;
       }},
      {PixelShaderList::kBrightPass, Constants().f(0, 0.2f).f(1, 3.0f).f(2, 0.8f),
       [](auto& s, int x, int y) {
         const Rgba c = at(s, x, y);
         const float w = std::max(0.299f * c[0] + 0.587f * c[1] + 0.114f * c[2] - 0.2f, 0.0f) * 3.0f;
         return Rgba{std::min(c[0] * w, 0.8f), std::min(c[1] * w, 0.8f), std::min(c[2] * w, 0.8f),
                     std::min(w, 1.0f)};
       }},
      {PixelShaderList::kExponential, Constants().f(0, kBase),
       [kBase](auto& s, int x, int y) {
         const Rgba c = at(s, x, y);
         Rgba r;
         for (int i = 0; i < 3; ++i) r[i] = std::exp(std::clamp(c[i], 0.0f, 1.0f) * kBase + 1.0f);
         r[3] = c[3];
         return r;
       }},
  };
  const auto image = sourceImage();
  Media::ResourceBuffer source;
  source.create(*image);
  for (const auto& c : cases) {
    Media::ResourceBuffer target(kWidth, kHeight);
    Media::ConstantBufferCommon constants;
    Media::ConstantBufferCommon::create(constants, c.constants.bytes, sizeof c.constants.bytes);
    list_->entry(c.entry).drawInputWithConstants(target, source, constants, nullptr);
    const auto result = target.readBack();
    for (int y = 0; y < int(kHeight); ++y)
      for (int x = 0; x < int(kWidth); ++x)
        ASSERT_TRUE(nearHalf(halfPixel(*result, x, y), c.expected(*image, x, y)))
            << PixelShaderList::entryName(c.entry) << " at " << x << ", " << y;
  }
}

// The logarithmic spread undoes the exponential one for colours inside 0 ... 1.
TEST_F(PixelShaderListTest, TheLogarithmicSpreadUndoesTheExponentialOne) {
  auto image = Media::ImageBuffer::makeShared(10, 3, 1);
  TestSupport::setHalfPixel(*image, 0, 0, {0.0f, 0.25f, 0.5f, 1.0f});
  TestSupport::setHalfPixel(*image, 1, 0, {0.75f, 1.0f, 0.125f, 0.5f});
  TestSupport::setHalfPixel(*image, 2, 0, {0.3f, 0.6f, 0.9f, 0.0f});
  Media::ResourceBuffer source, spread(3, 1), back(3, 1);
  source.create(*image);
  const float base = 2.0f;
  Media::ConstantBufferCommon up, down;
  Media::ConstantBufferCommon::create(up, Constants().f(0, base).bytes, 16);
  Media::ConstantBufferCommon::create(down, Constants().f(0, 1.0f / base).bytes, 16);
  list_->entry(PixelShaderList::kExponential).drawInputWithConstants(spread, source, up, nullptr);
  list_->entry(PixelShaderList::kLogarithmic).drawInputWithConstants(back, spread, down, nullptr);
  const auto result = back.readBack();
  for (uint32_t x = 0; x < 3; ++x)
    EXPECT_TRUE(nearHalf(halfPixel(*result, x, 0), halfPixel(*image, x, 0), 0.01f)) << x;
}

// Blend modes over a frame: normal is the source, difference of identical opaque pictures is
// black, luma of identical pictures gives the frame back.
TEST_F(PixelShaderListTest, BlendModesOverTheFrame) {
  auto image = Media::ImageBuffer::makeShared(10, 2, 1);
  TestSupport::setHalfPixel(*image, 0, 0, {0.8f, 0.3f, 0.1f, 1.0f});
  TestSupport::setHalfPixel(*image, 1, 0, {0.2f, 0.6f, 0.4f, 1.0f});
  Media::ResourceBuffer source, frame;
  source.create(*image);
  frame.create(*image);
  struct Case {
    int mode;
    std::array<Rgba, 2> expected;
  };
  const Case cases[] = {
      {0, {Rgba{0.8f, 0.3f, 0.1f, 1}, Rgba{0.2f, 0.6f, 0.4f, 1}}},
      {12, {Rgba{0, 0, 0, 1}, Rgba{0, 0, 0, 1}}},
      {8, {Rgba{0.8f, 0.3f, 0.1f, 1}, Rgba{0.2f, 0.6f, 0.4f, 1}}},
      {3, {Rgba{0.64f, 0.09f, 0.01f, 1}, Rgba{0.04f, 0.36f, 0.16f, 1}}},
  };
  for (const auto& c : cases) {
    Media::ResourceBuffer target(2, 1);
    Media::ConstantBufferCommon constants;
    Media::ConstantBufferCommon::create(constants, Constants().i(0, c.mode).f(1, 1.0f).bytes, 16);
    Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0, &constants);
    list_->entry(PixelShaderList::kBlendMode).drawTwoInputs(target, source, frame, nullptr);
    Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0, nullptr);
    const auto result = target.readBack();
    for (uint32_t x = 0; x < 2; ++x)
      EXPECT_TRUE(nearHalf(halfPixel(*result, x, 0), c.expected[x], 0.003f)) << c.mode << " at " << x;
  }
}

}  // namespace
