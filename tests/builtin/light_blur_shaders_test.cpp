// The shaders of the light and blur filters on the device, each against the same maths on
// the CPU: the glow's and the directional blur's streaks, the border blur's four passes, the
// diffusion light and the lens blur's three kernels. None of them gives NaN, whatever its
// constants.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "builtin/filter/blur_direction_filter.h"
#include "builtin/filter/bokeh_filter.h"
#include "builtin/filter/border_blur_filter.h"
#include "builtin/filter/diffusion_filter.h"
#include "builtin/filter/glow_filter.h"
#include "gpu/shader/sampler_state_list.h"
#include "gpu/shader/shader_binding.h"
#include "gpu/shader_run_support.h"
#include "bokeh_reference.h"
#include "streak_reference.h"

namespace {

using namespace Effect;
using TestSupport::CpuImage;
using TestSupport::cpuBokeh;
using TestSupport::cpuStreak;
using TestSupport::download;
using TestSupport::kGlowWeight;
using TestSupport::imagesNear;
using TestSupport::noisePicture;
using TestSupport::Rgba;
using TestSupport::smooth;
using TestSupport::StreakWeight;
using TestSupport::upload;

using LightBlurShadersTest = TestSupport::GpuTest;

// Shader `index` of the set drawn over a new width x height image with the constants, the
// input at texture slot 0 and `second`, when given, at slot 1.
template <class Constants>
CpuImage drawShader(FilterShaderSet& set, std::size_t index, const Constants& constants,
                    int width, int height, Media::ResourceBuffer& input,
                    Media::ResourceBuffer* second = nullptr) {
  EXPECT_EQ(sizeof(Constants), set.constantBytes());
  const auto lock = set.lock();
  Media::ConstantBufferCommon& buffer = set.writeConstants(&constants);
  Media::PixelShader& shader = set.pixelShader(index);
  if (second) return TestSupport::runPixelShader(shader, width, height, {&input, second}, buffer);
  return TestSupport::runPixelShader(shader, width, height, {&input}, buffer);
}

Rgba scaled(const Rgba& color, float factor) {
  return {color[0] * factor, color[1] * factor, color[2] * factor, color[3] * factor};
}

// ---------------------------------------------------------------------------------------------
// Streaks: the glow and the directional blur.

const StreakWeight kDirectionWeight = [](float i, float n) { return 1.0f - i * i / (n * n); };

TEST_F(LightBlurShadersTest, GlowStreaksFadeSmoothlyBothWays) {
  GlowShaders glow;
  const CpuImage picture = noisePicture(12, 9, 21);
  Effect::OwnedImage input = upload(picture);
  const StreakConstants cases[] = {
      {{-3.0f, -2.0f}, {1.25f, -0.5f}, 0.5f, 6, {0, 0}},  // backward steps half as long
      {{0.0f, 0.0f}, {0.0f, 2.0f}, 1.0f, 4, {0, 0}},      // vertical, both ways alike
      {{1.0f, 1.0f}, {1.0f, 1.0f}, 1.0f, 1, {0, 0}},      // one tap: the pixel itself
      {{-1.0f, 0.0f}, {1.0f, 0.0f}, 1.0f, 0, {0, 0}},     // no taps: unblurred
  };
  for (const StreakConstants& c : cases)
    EXPECT_TRUE(imagesNear(drawShader(glow, 0, c, 16, 11, *input),
                           cpuStreak(picture, c, 16, 11, kGlowWeight)))
        << "taps " << c.sampleNum;
}

TEST(StreakLayoutTest, TheDirectionalBlurGrowsAlongItsSmear) {
  struct Case {
    float range, angle;
    bool fixed;
    int width, height, taps;
  };
  const Case cases[] = {
      {10, 0, false, 100, 120, 10},    // 0 degrees smears vertically
      {10, 90, false, 120, 102, 10},   // cos 90 degrees in single precision is not quite 0
      {10, 90, true, 100, 100, 10},
      {3, 0, false, 100, 106, 5},      // at least 5 taps
      {1000, 45, false, 1516, 1516, 142},  // no more taps than the diagonal
      {20000, 0, false, 100, 16384, 142},  // no side above 16384
  };
  for (const Case& c : cases) {
    const auto layout = BlurDirectionFilter::streakLayout(100, 100, c.range, c.angle, 1.0f, c.fixed);
    EXPECT_EQ(layout.width, c.width) << c.range << " " << c.angle;
    EXPECT_EQ(layout.height, c.height) << c.range << " " << c.angle;
    EXPECT_EQ(layout.constants.sampleNum, c.taps) << c.range << " " << c.angle;
    EXPECT_FLOAT_EQ(layout.constants.offset[0], (100.0f - c.width) * 0.5f);
    EXPECT_FLOAT_EQ(layout.constants.offset[1], (100.0f - c.height) * 0.5f);
  }
}

TEST_F(LightBlurShadersTest, DirectionalBlurWeighsByOneMinusTheSquaredDistance) {
  BlurDirectionFilter filter;
  const CpuImage picture = noisePicture(13, 10, 22);
  Effect::OwnedImage input = upload(picture);
  struct Case {
    float range, angle, ratio;
    bool fixed;
  };
  for (const Case& c : {Case{3, 0, 1, false}, Case{6, 30, 1, false}, Case{5, -120, 0.5f, true}}) {
    const auto layout = BlurDirectionFilter::streakLayout(13, 10, c.range, c.angle, c.ratio, c.fixed);
    Effect::OwnedImage output = filter.directionBlur(*input, c.range, c.angle, c.ratio, c.fixed);
    EXPECT_TRUE(imagesNear(download(*output), cpuStreak(picture, layout.constants, layout.width,
                                                        layout.height, kDirectionWeight)))
        << c.range << " " << c.angle;
  }
  // Without a range: a copy, not the input.
  Effect::OwnedImage copy = filter.directionBlur(*input, 0.0f, 30.0f, 1.0f, false);
  EXPECT_NE(copy.get(), input.get());
  EXPECT_TRUE(imagesNear(download(*copy), picture));
}

// ---------------------------------------------------------------------------------------------
// The border blur.

TEST_F(LightBlurShadersTest, BorderFadeFollowsTheDistanceFromTheNearerEdge) {
  BorderBlurShaders shaders;
  const CpuImage picture = noisePicture(16, 12, 23);
  Effect::OwnedImage input = upload(picture);
  const auto fade = [](float position, float length, int range) {
    if (range <= 0) return 0.0f;
    return 1.0f - smooth(std::min(position, length - position) / static_cast<float>(range));
  };
  for (const BorderBlurConstants c : {BorderBlurConstants{{4, 3}, {0, 0}},
                                      BorderBlurConstants{{0, 5}, {0, 0}},
                                      BorderBlurConstants{{40, 40}, {0, 0}}}) {
    CpuImage expected(16, 12);
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 16; ++x) {
        const float fx = fade(static_cast<float>(x) + 0.5f, 16.0f, c.range[0]);
        const float fy = fade(static_cast<float>(y) + 0.5f, 12.0f, c.range[1]);
        expected.at(x, y) =
            scaled(picture.get(x, y), std::max(1.0f - std::hypot(fx, fy), 0.0f));
      }
    EXPECT_TRUE(imagesNear(drawShader(shaders, 0, c, 16, 12, *input), expected))
        << c.range[0] << " x " << c.range[1];
  }
}

TEST_F(LightBlurShadersTest, BorderMaskKeepsWhatIsAtLeastHalfCovered) {
  BorderBlurShaders shaders;
  const CpuImage picture = noisePicture(10, 8, 24);
  const CpuImage mask = noisePicture(10, 8, 25);
  Effect::OwnedImage input = upload(picture);
  Effect::OwnedImage maskImage = upload(mask);
  CpuImage expected(10, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) {
      const Rgba texel = picture.get(x, y);
      expected.at(x, y) =
          scaled(texel, std::clamp(2.0f * mask.get(x, y)[3] * texel[3] - 1.0f, 0.0f, 1.0f));
    }
  const BorderBlurConstants none{{0, 0}, {0, 0}};
  EXPECT_TRUE(imagesNear(drawShader(shaders, 1, none, 10, 8, *input, maskImage.get()), expected));
}

TEST_F(LightBlurShadersTest, BorderAlphaSumsRunAlongTheirAxis) {
  BorderBlurShaders shaders;
  const CpuImage picture = noisePicture(11, 9, 26);
  Effect::OwnedImage input = upload(picture);
  const BorderBlurConstants c{{2, 3}, {1.0f / 5.0f, 1.0f / 7.0f}};
  for (const int axis : {0, 1}) {
    CpuImage expected(11, 9);
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 11; ++x) {
        float sum = 0.0f;
        for (int i = -c.range[axis]; i <= c.range[axis]; ++i)
          sum += picture.get(axis == 0 ? x + i : x, axis == 0 ? y : y + i)[3];
        expected.at(x, y) = {0, 0, 0, sum * c.divide[axis]};
      }
    EXPECT_TRUE(imagesNear(drawShader(shaders, 2 + static_cast<std::size_t>(axis), c, 11, 9, *input),
                           expected))
        << "axis " << axis;
  }
}

// ---------------------------------------------------------------------------------------------
// The diffusion light.

TEST_F(LightBlurShadersTest, DiffusionTakesTheBrighterOfPictureAndFrame) {
  DiffusionShaders shaders;
  const CpuImage picture = noisePicture(10, 8, 27);
  CpuImage frame = noisePicture(16, 12, 28);
  for (Rgba& pixel : frame.pixels) pixel = scaled(pixel, 1.5f);  // brighter than the picture
  Effect::OwnedImage input = upload(picture);
  Effect::OwnedImage frameImage = upload(frame);
  // The second offset puts part of the picture beyond the frame.
  for (const DiffusionConstants c : {DiffusionConstants{{3, 2}, 0.8f, 0},
                                     DiffusionConstants{{-2, 9}, 1.0f, 0}}) {
    CpuImage expected(10, 8);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 10; ++x) {
        const Rgba s = picture.get(x, y);
        const Rgba f = frame.get(x + c.offset[0], y + c.offset[1]);
        expected.at(x, y) = scaled({std::max(s[0], f[0] * s[3]), std::max(s[1], f[1] * s[3]),
                                    std::max(s[2], f[2] * s[3]), s[3]},
                                   c.level);
      }
    EXPECT_TRUE(imagesNear(drawShader(shaders, 0, c, 10, 8, *input, frameImage.get()), expected))
        << c.offset[0] << ", " << c.offset[1];
  }
}

// ---------------------------------------------------------------------------------------------
// The lens blur.

// The kernel as a picture: tap (i, j) weighs alpha(i, j).
CpuImage kernelPicture(int size, const std::function<float(int, int)>& alpha) {
  CpuImage kernel(size, size);
  for (int j = 0; j < size; ++j)
    for (int i = 0; i < size; ++i) {
      const float a = alpha(i, j);
      kernel.at(i, j) = {a, a, a, a};
    }
  return kernel;
}

// Bilinear filtering with clamped addressing, at a position in pixels.
Rgba bilinear(const CpuImage& image, float x, float y) {
  return TestSupport::sample(image, x / static_cast<float>(image.width),
                             y / static_cast<float>(image.height), TestSupport::kLinearClamp);
}

TEST_F(LightBlurShadersTest, LensBlurWeighsItsTapsByTheKernelsAlpha) {
  BokehShaders shaders;
  const CpuImage picture = noisePicture(12, 10, 29);
  Effect::OwnedImage input = upload(picture);
  const std::function<float(int, int)> kernels[] = {
      [](int i, int j) { return (i + j) % 2 == 0 ? 1.0f : 0.25f; },  // a chequered kernel
      [](int, int) { return 0.0f; },                                  // no weight: unblurred
  };
  Shader::SamplerStateList samplers;
  for (const auto& alpha : kernels) {
    const CpuImage kernel = kernelPicture(3, alpha);
    Effect::OwnedImage kernelImage = upload(kernel);
    const BokehConstants steps{{-1.0f, 1.0f}, {0, 0}, {0, 0}, 3, 0};
    const auto stepTap = [&](float px, float py, int i, int j, bool clamp) {
      int x = static_cast<int>(std::floor(px + steps.offset[0])) + i;
      int y = static_cast<int>(std::floor(py + steps.offset[1])) - 1 - j;
      if (clamp) {
        x = std::clamp(x, 0, picture.width - 1);
        y = std::clamp(y, 0, picture.height - 1);
      }
      return picture.get(x, y);
    };
    for (const bool clamp : {false, true}) {
      const CpuImage expected = cpuBokeh(kernel, 3, 12, 10, [&](float px, float py, int i, int j) {
        return stepTap(px, py, i, j, clamp);
      });
      EXPECT_TRUE(imagesNear(drawShader(shaders, clamp ? 1 : 0, steps, 12, 10, *input,
                                        kernelImage.get()),
                             expected))
          << (clamp ? "clamped" : "transparent outside");
    }

    // Positions on quarter pixels, which the filtering resolves exactly.
    const BokehConstants samples{{0.25f, 0.75f}, {1.5f, 1.25f}, {0.5f, 0.5f}, 3, 0};
    const CpuImage expected = cpuBokeh(kernel, 3, 20, 16, [&](float px, float py, int i, int j) {
      return bilinear(picture, px * samples.ratio[0] + samples.offset[0] + i * samples.step[0],
                      py * samples.ratio[1] + samples.offset[1] - j * samples.step[1]);
    });
    Media::ShaderBindings::setSampler(0, samplers.get(1));  // linear, clamp
    const CpuImage drawn = drawShader(shaders, 2, samples, 20, 16, *input, kernelImage.get());
    Media::ShaderBindings::setSampler(0, nullptr);
    EXPECT_TRUE(imagesNear(drawn, expected, 8e-3f)) << "sampled";
  }
}

// ---------------------------------------------------------------------------------------------
// No NaN.

// Every shader with all its constants zero, and with a picture that is transparent in
// parts, gives finite colours: no division by an empty weight or a zero range.
TEST_F(LightBlurShadersTest, ZeroConstantsNeverGiveNaN) {
  CpuImage picture = noisePicture(6, 5, 30);
  for (int x = 0; x < 6; ++x) picture.at(x, 2) = {0, 0, 0, 0};
  Effect::OwnedImage input = upload(picture);
  Effect::OwnedImage second = upload(noisePicture(6, 5, 31));
  GlowShaders glow;
  DirectionBlurShaders direction;
  BorderBlurShaders border;
  DiffusionShaders diffusion;
  BokehShaders bokeh;
  const uint8_t zeros[32] = {};
  struct Entry {
    FilterShaderSet* set;
    const char* name;
  };
  Shader::SamplerStateList samplers;
  Media::ShaderBindings::setSampler(0, samplers.get(1));
  for (const Entry& entry : {Entry{&glow, "glow"}, Entry{&direction, "direction"},
                             Entry{&border, "border"}, Entry{&diffusion, "diffusion"},
                             Entry{&bokeh, "bokeh"}}) {
    for (std::size_t i = 0; i < entry.set->pixelShaderCount(); ++i) {
      const auto lock = entry.set->lock();
      const CpuImage drawn =
          TestSupport::runPixelShader(entry.set->pixelShader(i), 6, 5, {input.get(), second.get()},
                                      entry.set->writeConstants(zeros));
      ASSERT_TRUE(TestSupport::matchesEverywhere(drawn, [](int, int) { return std::nullopt; }))
          << entry.name << " shader " << i;
    }
  }
  Media::ShaderBindings::setSampler(0, nullptr);
}

}  // namespace
