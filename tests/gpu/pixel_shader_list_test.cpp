// The built-in pixel shaders checked against the same maths on the CPU at every pixel of a
// small image: a table of entry, constants and the expected colour of each pixel. The
// entries that sample their input are checked against bilinear or nearest filtering done
// here, at positions whose filter weights are exact in 8 bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <optional>
#include <random>
#include <utility>
#include <vector>

#include "gpu/gpu_test_support.h"
#include "gpu/shader_run_support.h"
#include "gpu/gl/shader_program.h"
#include "gpu/resource/pixel_shader_list.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/blend_state_list.h"
#include "gpu/shader/builtin_shader_code.h"
#include "gpu/shader/sampler_state_list.h"
#include "gpu/shader/shader_binding.h"

namespace {

using Resource::PixelShaderList;
using TestSupport::CpuImage;
using TestSupport::halfPixel;
using TestSupport::nearHalf;
using TestSupport::Rgba;
using TestSupport::runPixelShader;
using TestSupport::Sampler;
using TestSupport::kLinearBorder;
using TestSupport::kLinearClamp;
using TestSupport::kNearestClamp;
using TestSupport::matchesEverywhere;
using TestSupport::sample;

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

// The resize rule: the pixel centre times the inverse ratio in source pixels; one sample
// when neither side shrinks by 1.05 or more, else the mean of a grid over the footprint
// (half a ratio plus 1.5 samples per axis, at most 16), each sample half a spacing in.
Rgba resampled(const Media::ImageBuffer& image, int x, int y, float ratioX, float ratioY,
               const Sampler& sampler) {
  const float w = float(image.width), h = float(image.height);
  const float u = (float(x) + 0.5f) * ratioX / w, v = (float(y) + 0.5f) * ratioY / h;
  if (std::fabs(ratioX) < 1.05f && std::fabs(ratioY) < 1.05f) return sample(image, u, v, sampler);
  const int nx = int(std::min(std::trunc(std::fabs(ratioX) * 0.5f + 1.5f), 16.0f));
  const int ny = int(std::min(std::trunc(std::fabs(ratioY) * 0.5f + 1.5f), 16.0f));
  const float footX = ratioX / w, footY = ratioY / h;
  const float stepX = footX / float(nx), stepY = footY / float(ny);
  Rgba sum{};
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) {
      const Rgba c = sample(image, u - footX * 0.5f + stepX * (float(i) + 0.5f),
                            v - footY * 0.5f + stepY * (float(j) + 0.5f), sampler);
      for (int k = 0; k < 4; ++k) sum[k] += c[k] / float(nx * ny);
    }
  return sum;
}

// A wipe's mask from the picture's luma, zoomed about the centre by `scale`.
Rgba luminanceKey(const Media::ImageBuffer& image, int x, int y, uint32_t width, uint32_t height,
                  float limitMin, float limitMax, float scale, const Sampler& sampler) {
  const float u = ((float(x) + 0.5f) / float(width) - 0.5f) * scale + 0.5f;
  const float v = ((float(y) + 0.5f) / float(height) - 0.5f) * scale + 0.5f;
  const Rgba c = sample(image, u, v, sampler);
  const float luma = 0.299f * c[0] + 0.587f * c[1] + 0.114f * c[2];
  const float k = std::clamp((1.0f - luma - limitMin) / (limitMax - limitMin), 0.0f, 1.0f);
  return Rgba{0, 0, 0, k * k * (3.0f - 2.0f * k)};
}

// The blend-mode rule: source s (premultiplied) over the frame texel d, before the opacity.
Rgba blendMode(const Rgba& s, const Rgba& d, int mode) {
  const float sa = s[3];
  const Rgba D{sa * d[0], sa * d[1], sa * d[2], 0};
  const auto luma = [](const Rgba& c) { return 0.299f * c[0] + 0.587f * c[1] + 0.114f * c[2]; };
  const auto cb = [](const Rgba& c) { return -0.169f * c[0] - 0.331f * c[1] + 0.5f * c[2]; };
  const auto cr = [](const Rgba& c) { return 0.5f * c[0] - 0.419f * c[1] - 0.081f * c[2]; };
  const auto rgb = [sa](float y, float b, float r) {
    return Rgba{y + 1.402f * r, y - 0.344f * b - 0.714f * r, y + 1.772f * b, sa};
  };
  // Modes 20 to 23 work on all four channels: c scaled to the new alpha, less the frame.
  const auto toAlpha = [&d](const Rgba& sum, float divisor, float alpha) {
    Rgba r;
    for (int i = 0; i < 4; ++i) r[i] = sum[i] / divisor * alpha - d[i];
    return r;
  };
  Rgba r{s[0], s[1], s[2], sa};
  for (int i = 0; i < 3; ++i) {
    switch (mode) {
      case 1: r[i] = s[i] + D[i]; break;
      case 2: r[i] = D[i] - s[i]; break;
      case 3: r[i] = s[i] * d[i]; break;
      case 4: r[i] = s[i] + d[i] * (sa - s[i]); break;
      case 5: r[i] = d[i] < 0.5f ? 2 * d[i] * s[i] : 2 * (s[i] + d[i] * (sa - s[i])) - sa; break;
      case 6: r[i] = std::max(s[i], D[i]); break;
      case 7: r[i] = std::min(s[i], D[i]); break;
      case 10: r[i] = std::min(sa, std::max(s[i] + D[i] - sa, 0.0f)); break;
      case 11: r[i] = std::min(sa, std::max(2 * s[i] + D[i] - sa, 0.0f)); break;
      case 12: r[i] = std::fabs(D[i] - s[i]); break;
      default: break;
    }
  }
  Rgba sum;
  for (int i = 0; i < 4; ++i) sum[i] = d[i] + s[i];
  switch (mode) {
    case 8: return rgb(luma(s), cb(D), cr(D));
    case 9: return rgb(luma(D), cb(s), cr(s));
    case 20: return toAlpha(sum, d[3] + sa, std::min(d[3] + sa, 1.0f));
    case 21: {
      Rgba over;
      for (int i = 0; i < 4; ++i) over[i] = d[i] * (1 - sa) + s[i];
      return toAlpha(over, over[3], std::min(d[3] + sa, 1.0f));
    }
    case 22: return toAlpha(sum, d[3] + sa, std::max(d[3], sa));
    case 23: return toAlpha(s, sa, std::max(d[3] - sa, 0.0f));
    default: return r;
  }
}

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
    const CpuImage result =
        runPixelShader(list_->entry(c.entry), kWidth, kHeight, {&source}, c.constants);
    ASSERT_TRUE(matchesEverywhere(
        result, [&](int x, int y) -> std::optional<Rgba> { return c.expected(*image, x, y); }))
        << PixelShaderList::entryName(c.entry);
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

// Below e, which the spread never gives, lies transparent black that a blur drew in from
// outside the picture: it gathers to 0, never to a negative colour or -inf.
TEST_F(PixelShaderListTest, TheLogarithmicSpreadGathersWhatLiesBelowEToZero) {
  auto image = Media::ImageBuffer::makeShared(10, 2, 1);
  TestSupport::setHalfPixel(*image, 0, 0, {0.0f, 1.0f, 2.5f, 0.0f});
  TestSupport::setHalfPixel(*image, 1, 0, {0.5f, 1.5f, 3.0f, 0.25f});
  Media::ResourceBuffer source, back(2, 1);
  source.create(*image);
  Media::ConstantBufferCommon down;
  Media::ConstantBufferCommon::create(down, Constants().f(0, 0.5f).bytes, 16);
  list_->entry(PixelShaderList::kLogarithmic).drawInputWithConstants(back, source, down, nullptr);
  const auto result = back.readBack();
  EXPECT_TRUE(nearHalf(halfPixel(*result, 0, 0), {0.0f, 0.0f, 0.0f, 0.0f}));
  const float above = (std::log(3.0f) - 1.0f) * 0.5f;
  EXPECT_TRUE(nearHalf(halfPixel(*result, 1, 0), {0.0f, 0.0f, above, 0.25f}));
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

// The entries that sample their input through the bound sampler, drawn into targets of
// other sizes than the input: the copy at the quad's coordinates, the resize on both sides
// of its one-sample threshold and at its 16-sample cap, and the luma key zoomed in and out.
TEST_F(PixelShaderListTest, SamplingEntriesMatchTheCpu) {
  struct Case {
    int entry;
    Sampler sampler;
    uint32_t width, height;
    Constants constants;
    Reference expected;
  };
  const auto copy = [](uint32_t w, uint32_t h, Sampler sampler) {
    return [=](const Media::ImageBuffer& s, int x, int y) {
      return sample(s, (float(x) + 0.5f) / float(w), (float(y) + 0.5f) / float(h), sampler);
    };
  };
  const auto resize = [](float rx, float ry) {
    return [=](const Media::ImageBuffer& s, int x, int y) { return resampled(s, x, y, rx, ry, kLinearClamp); };
  };
  const auto key = [](float low, float high, float scale, Sampler sampler) {
    return [=](const Media::ImageBuffer& s, int x, int y) {
      return luminanceKey(s, x, y, kWidth, kHeight, low, high, scale, sampler);
    };
  };
  const Case cases[] = {
      // Twice the size: the samples fall a quarter texel either side of the texel centres,
      // and at the edges either on the edge texel or half way to the border.
      {PixelShaderList::kSampledCopy, kLinearClamp, 18, 10, {}, copy(18, 10, kLinearClamp)},
      {PixelShaderList::kSampledCopy, kLinearBorder, 18, 10, {}, copy(18, 10, kLinearBorder)},
      {PixelShaderList::kSampledCopy, kNearestClamp, 4, 2, {}, copy(4, 2, kNearestClamp)},
      {PixelShaderList::kResample, kLinearClamp, kWidth, kHeight, Constants().f(0, 1).f(1, 1),
       [](auto& s, int x, int y) { return at(s, x, y); }},
      {PixelShaderList::kResample, kLinearClamp, 18, 10, Constants().f(0, 0.5f).f(1, 0.5f), resize(0.5f, 0.5f)},
      // Just under the threshold on both sides: still one bilinear sample.
      {PixelShaderList::kResample, kLinearClamp, 8, 5, Constants().f(0, 1.03125f).f(1, 0.96875f),
       resize(1.03125f, 0.96875f)},
      // One side shrinking is enough for the grid, on both axes: 2 x 2 samples.
      {PixelShaderList::kResample, kLinearClamp, 4, 5, Constants().f(0, 2.0f).f(1, 1.03125f),
       resize(2.0f, 1.03125f)},
      // A third across (3 samples on the texel centres), 2.5 down (2 samples).
      {PixelShaderList::kResample, kLinearClamp, 3, 2, Constants().f(0, 3.0f).f(1, 2.5f), resize(3.0f, 2.5f)},
      // 40 across would ask for 21 samples: 16 are taken, mostly past the edge.
      {PixelShaderList::kResample, kLinearClamp, 1, 5, Constants().f(0, 40.0f).f(1, 1.0f), resize(40.0f, 1.0f)},
      {PixelShaderList::kLuminanceKey, kLinearClamp, kWidth, kHeight,
       Constants().f(0, 0.2f).f(1, 0.7f).f(2, 1).f(3, 1), key(0.2f, 0.7f, 1, kLinearClamp)},
      {PixelShaderList::kLuminanceKey, kLinearClamp, kWidth, kHeight,
       Constants().f(0, -0.1f).f(1, 0.4f).f(2, 0.5f).f(3, 0.5f), key(-0.1f, 0.4f, 0.5f, kLinearClamp)},
      // Zoomed out past the picture: the border has luma 0, a key of 1 at this window.
      {PixelShaderList::kLuminanceKey, kLinearBorder, kWidth, kHeight,
       Constants().f(0, 0.5f).f(1, 0.9f).f(2, 2).f(3, 2), key(0.5f, 0.9f, 2, kLinearBorder)},
  };
  const auto image = sourceImage();
  Media::ResourceBuffer source;
  source.create(*image);
  Shader::SamplerStateList samplers;
  for (const auto& c : cases) {
    const CpuImage result =
        runPixelShader(list_->entry(c.entry), int(c.width), int(c.height), {&source},
                       c.constants, samplers.get(c.sampler.entry));
    ASSERT_TRUE(matchesEverywhere(
        result, [&](int x, int y) -> std::optional<Rgba> { return c.expected(*image, x, y); }))
        << PixelShaderList::entryName(c.entry) << " with sampler " << c.sampler.entry << " into "
        << c.width << " x " << c.height;
  }
}

// The two-target copy feeds dual-source blending: its first output is the colour, its
// second the mix factor, so the picture shows where the mask is clear and the frame stays
// where the mask is opaque (the other way round with the reversed mix).
TEST_F(PixelShaderListTest, TheTwoTargetCopyMixesByTheSecondInput) {
  const auto picture = sourceImage();
  auto mask = Media::ImageBuffer::makeShared(10, kWidth, kHeight);
  auto frame = Media::ImageBuffer::makeShared(10, kWidth, kHeight);
  for (uint32_t y = 0; y < kHeight; ++y)
    for (uint32_t x = 0; x < kWidth; ++x) {
      const float m = float(x) / float(kWidth - 1);
      TestSupport::setHalfPixel(*mask, x, y, {0.9f, 0.1f, 0.5f, m});
      TestSupport::setHalfPixel(*frame, x, y, {0.2f, 0.4f, 0.6f, float(y + 1) / float(kHeight)});
    }
  Media::ResourceBuffer pictureBuffer, maskBuffer;
  pictureBuffer.create(*picture);
  maskBuffer.create(*mask);
  Shader::BlendStateList blends;
  for (const bool reversed : {false, true}) {
    Media::ResourceBuffer target;
    target.create(*frame);
    list_->entry(PixelShaderList::kCopyTwoTargets)
        .drawTwoInputs(target, pictureBuffer, maskBuffer, blends.get(reversed ? 5 : 4));
    const auto result = target.readBack();
    for (int y = 0; y < int(kHeight); ++y)
      for (int x = 0; x < int(kWidth); ++x) {
        const float m = at(*mask, x, y)[3];
        const float keep = reversed ? 1 - m : m;
        Rgba expected;
        for (int c = 0; c < 4; ++c)
          expected[c] = at(*picture, x, y)[c] * (1 - keep) + at(*frame, x, y)[c] * keep;
        ASSERT_TRUE(nearHalf(halfPixel(*result, x, y), expected))
            << (reversed ? "reversed" : "mix") << " at " << x << ", " << y;
      }
  }
}

// GL takes the second blend source from index 1 of output location 0; a second location
// would be a second draw buffer, which no draw of the program binds, and the mix factor
// would then be undefined on drivers that keep the two apart.
TEST_F(PixelShaderListTest, TheTwoTargetCopysSecondOutputIsTheSecondBlendSource) {
  const auto& code = Media::findBuiltinShaderCode("copy_two_targets_ps");
  Media::ShaderProgram program(code.code, code.size, Media::ShaderStage::Pixel, "create", "test");
  const GLuint name = program.program().name();
  GLint outputs = 0;
  glGetProgramInterfaceiv(name, GL_PROGRAM_OUTPUT, GL_ACTIVE_RESOURCES, &outputs);
  ASSERT_EQ(outputs, 2);
  std::vector<std::pair<GLint, GLint>> placed;
  for (GLint i = 0; i < outputs; ++i) {
    const GLenum properties[] = {GL_LOCATION, GL_LOCATION_INDEX};
    GLint values[2] = {-1, -1};
    glGetProgramResourceiv(name, GL_PROGRAM_OUTPUT, GLuint(i), 2, properties, 2, nullptr, values);
    placed.emplace_back(values[0], values[1]);
  }
  std::sort(placed.begin(), placed.end());
  EXPECT_EQ(placed, (std::vector<std::pair<GLint, GLint>>{{0, 0}, {0, 1}}));
}

// The blend modes with an offset source and an opacity, every mode: pixels whose moved
// source lies outside the image or is (nearly) transparent are left as they were.
TEST_F(PixelShaderListTest, BlendModesWithAnOffsetMatchTheCpu) {
  auto image = sourceImage();
  // Under the discard limit, though not zero.
  TestSupport::setHalfPixel(*image, 4, 2, {0.0004f, 0.0002f, 0.0f, 0.0008f});
  auto frameImage = Media::ImageBuffer::makeShared(10, kWidth, kHeight);
  std::mt19937 random(5);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  for (uint32_t y = 0; y < kHeight; ++y)
    for (uint32_t x = 0; x < kWidth; ++x) {
      const float alpha = x == 6 ? 0.0f : (y == 1 ? 1.0f : unit(random));
      TestSupport::setHalfPixel(*frameImage, x, y,
                                {unit(random) * alpha, unit(random) * alpha, unit(random) * alpha, alpha});
    }
  Media::ResourceBuffer source, frame;
  source.create(*image);
  frame.create(*frameImage);
  const float untouched[4] = {0.25f, 0.5f, 0.75f, 1.0f};
  const int offsetX = 2, offsetY = -1;
  const float opacity = 0.75f;
  // 15 is not a mode: drawn as the normal one.
  for (const int mode : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15, 20, 21, 22, 23}) {
    Media::ResourceBuffer target(kWidth, kHeight);
    target.clearRenderTarget(untouched);
    Media::ConstantBufferCommon constants;
    Media::ConstantBufferCommon::create(
        constants, Constants().i(0, mode).f(1, opacity).i(2, offsetX).i(3, offsetY).bytes, 16);
    Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0, &constants);
    list_->entry(PixelShaderList::kBlendModeOffset).drawTwoInputs(target, source, frame, nullptr);
    Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0, nullptr);
    const auto result = target.readBack();
    for (int y = 0; y < int(kHeight); ++y)
      for (int x = 0; x < int(kWidth); ++x) {
        const int sx = x + offsetX, sy = y + offsetY;
        Rgba expected{untouched[0], untouched[1], untouched[2], untouched[3]};
        if (inside(sx, sy) && at(*image, sx, sy)[3] >= 0.001f) {
          expected = blendMode(at(*image, sx, sy), at(*frameImage, x, y), mode);
          for (float& v : expected) v *= opacity;
        }
        ASSERT_TRUE(nearHalf(halfPixel(*result, x, y), expected)) << "mode " << mode << " at " << x << ", " << y;
      }
  }
}

}  // namespace
