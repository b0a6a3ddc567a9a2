// The shaders of "縁取り", "凸エッジ" and "色ずれ" drawn on small pictures and checked at every
// pixel against the same maths done here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "builtin/filter/bevel_filter.h"
#include "builtin/filter/border_filter.h"
#include "builtin/filter/color_shift_filter.h"
#include "gpu/shader_run_support.h"

namespace {

using namespace Effect;
using TestSupport::CpuImage;
using TestSupport::kLinearBorder;
using TestSupport::loadTexel;
using TestSupport::matchesEverywhere;
using TestSupport::Rgba;
using TestSupport::runPixelShader;
using TestSupport::sample;

class DecorationShaderTest : public TestSupport::GpuTest {};

float neighbourWeight(int x, int y, const BorderConstants& c) {
  return 1.0f - std::min(std::sqrt(float(x * x + y * y)) * c.inverseRange, 1.0f);
}

Rgba borderColor(float sum, const BorderConstants& c) {
  const float t =
      c.limit > 0.0f ? std::clamp(sum / c.limit, 0.0f, 1.0f) : (sum > 0.0f ? 1.0f : 0.0f);
  const float s = t * t * (3.0f - 2.0f * t);
  return Rgba{c.color[0] * s, c.color[1] * s, c.color[2] * s, c.color[3] * s};
}

// A blob of partly transparent pixels in the middle of a clear picture.
CpuImage blob() {
  return TestSupport::pictureOf(14, 10, [](int x, int y) {
    const float dx = float(x) - 6.5f, dy = float(y) - 4.5f;
    const float a = std::clamp(1.6f - std::sqrt(dx * dx + dy * dy) / 3.0f, 0.0f, 1.0f);
    return Rgba{0.5f * a, 0.2f * a, 0.9f * a, a};
  });
}

// The texel border around a blob drawn into a larger picture, at a few ranges and limits:
// the columns run from -range to range - 1; a limit of 0 makes any coverage full, a range
// of 0 draws nothing.
TEST_F(DecorationShaderTest, BorderTexelsWeighTheirNeighboursAlphaByDistance) {
  const auto picture = blob();
  const auto input = TestSupport::upload(picture);
  BorderFilter filter;
  filter.createResource();
  struct Case {
    int32_t range;
    float limit;
  };
  for (const Case& c : {Case{3, 2.5f}, Case{1, 0.4f}, Case{2, 0.0f}, Case{0, 1.0f}}) {
    BorderConstants constants;
    const float color[4] = {0.3f, 0.6f, 0.9f, 1.0f};
    std::copy(color, color + 4, constants.color);
    constants.offset[0] = constants.offset[1] = -2.0f;
    constants.range = c.range;
    constants.inverseRange = c.range > 0 ? 1.0f / float(c.range) : 0.0f;
    constants.limit = c.limit;
    const auto result = runPixelShader(filter.resource().pixelShader(BorderFilter::kTexelShader), 18, 14,
                                       {input.get()}, filter.resource().writeConstants(&constants));
    EXPECT_TRUE(matchesEverywhere(result,
                                  [&](int x, int y) -> std::optional<Rgba> {
                                    float sum = 0.0f;
                                    for (int j = -c.range; j <= c.range; ++j)
                                      for (int i = -c.range; i < c.range; ++i)
                                        sum += loadTexel(picture, x - 2 + i, y - 2 + j)[3] *
                                               neighbourWeight(i, j, constants);
                                    return borderColor(sum, constants);
                                  }))
        << "range " << c.range << " limit " << c.limit;
  }
}

// The sampled border reads a picture of half the target's size, a step of one source texel
// apart, through a sampler with a clear border.
TEST_F(DecorationShaderTest, BorderSamplesReadAPictureOfAnotherSize) {
  const auto picture = blob();
  const auto input = TestSupport::upload(picture);
  Shader::SamplerStateList samplers;
  BorderFilter filter;
  filter.createResource();
  BorderConstants constants;
  const float color[4] = {0.8f, 0.4f, 0.0f, 0.8f};
  std::copy(color, color + 4, constants.color);
  constants.ratio[0] = 1.0f / 28.0f;
  constants.ratio[1] = 1.0f / 20.0f;
  constants.offset[0] = 0.25f / 14.0f;
  constants.step[0] = 1.0f / 14.0f;
  constants.step[1] = 1.0f / 10.0f;
  constants.range = 2;
  constants.inverseRange = 0.5f;
  constants.limit = 1.5f;
  const auto result =
      runPixelShader(filter.resource().pixelShader(BorderFilter::kSampledShader), 28, 20, {input.get()},
                     filter.resource().writeConstants(&constants), samplers.get(kLinearBorder.entry));
  EXPECT_TRUE(matchesEverywhere(
      result,
      [&](int x, int y) -> std::optional<Rgba> {
        const float u = (float(x) + 0.5f) * constants.ratio[0] + constants.offset[0];
        const float v = (float(y) + 0.5f) * constants.ratio[1] + constants.offset[1];
        float sum = 0.0f;
        for (int j = -2; j <= 2; ++j)
          for (int i = -2; i < 2; ++i)
            sum += sample(picture, u + float(i) * constants.step[0],
                          v + float(j) * constants.step[1], kLinearBorder)[3] *
                   neighbourWeight(i, j, constants);
        return borderColor(sum, constants);
      },
      0.01f));
}

// Light from the upper right over a blob and a random picture: the edges facing the light
// brighten, the others darken, within 0 ... alpha; clear pixels stay as they are.
TEST_F(DecorationShaderTest, BevelShadesByTheAlphaAheadAndBehind) {
  BevelFilter filter;
  filter.createResource();
  BevelConstants constants;
  constants.step[0] = 0.6f;
  constants.step[1] = -0.45f;
  constants.depth = 0.8f;
  constants.sampleNum = 4;
  for (const auto& picture : {blob(), TestSupport::randomPicture(14, 10, 4)}) {
    const auto input = TestSupport::upload(picture);
    const auto result = runPixelShader(filter.resource().pixelShader(0), 14, 10, {input.get()},
                                       filter.resource().writeConstants(&constants));
    const auto alphaAt = [&](float px, float py) {
      if (px < 0.0f || py < 0.0f) return 0.0f;
      return loadTexel(picture, int(px), int(py))[3];
    };
    EXPECT_TRUE(matchesEverywhere(result, [&](int x, int y) -> std::optional<Rgba> {
      const Rgba c = loadTexel(picture, x, y);
      if (c[3] < 0.001f) return c;
      const float px = float(x) + 0.5f, py = float(y) + 0.5f;
      float d = 0.0f;
      for (int i = 1; i <= constants.sampleNum; ++i)
        d += alphaAt(px + float(i) * constants.step[0], py + float(i) * constants.step[1]) -
             alphaAt(px - float(i) * constants.step[0], py - float(i) * constants.step[1]);
      Rgba r;
      for (int k = 0; k < 3; ++k)
        r[k] = std::clamp(c[k] / c[3] + d * constants.depth, 0.0f, 1.0f) * c[3];
      r[3] = c[3];
      return r;
    }));
  }
}

// The channels read apart by their own shifts and mixed over the picture by the strength,
// with the colours weighted by the mean alpha (mode 0) or not (mode 1); the picture's own
// texel is clear above its first row.
TEST_F(DecorationShaderTest, ColourShiftReadsEachChannelFromItsOwnOffset) {
  const auto picture = TestSupport::randomPicture(12, 9, 17);
  const auto input = TestSupport::upload(picture);
  Shader::SamplerStateList samplers;
  ColorShiftFilter filter;
  filter.createResource();
  for (const int32_t mode : {0, 1}) {
    ColorShiftConstants constants;
    constants.inverseSize[0] = 1.0f / 12.0f;
    constants.inverseSize[1] = 1.0f / 9.0f;
    constants.offset[0] = 1.0f;
    constants.offset[1] = -1.0f;
    constants.offsetR[0] = 2.0f / 12.0f;
    constants.offsetG[1] = 1.5f / 9.0f;
    constants.offsetB[0] = -1.25f / 12.0f;
    constants.offsetB[1] = 0.5f / 9.0f;
    constants.alpha = 0.7f;
    constants.mode = mode;
    const auto result =
        runPixelShader(filter.resource().pixelShader(0), 12, 9, {input.get()},
                       filter.resource().writeConstants(&constants), samplers.get(kLinearBorder.entry));
    EXPECT_TRUE(matchesEverywhere(
        result,
        [&](int x, int y) -> std::optional<Rgba> {
          const float px = float(x) + 0.5f + constants.offset[0];
          const float py = float(y) + 0.5f + constants.offset[1];
          const float u = px * constants.inverseSize[0], v = py * constants.inverseSize[1];
          const Rgba r =
              sample(picture, u + constants.offsetR[0], v + constants.offsetR[1], kLinearBorder);
          const Rgba g =
              sample(picture, u + constants.offsetG[0], v + constants.offsetG[1], kLinearBorder);
          const Rgba b =
              sample(picture, u + constants.offsetB[0], v + constants.offsetB[1], kLinearBorder);
          Rgba shifted{r[0], g[1], b[2], (r[3] + g[3] + b[3]) / 3.0f};
          if (mode == 0)
            for (int k = 0; k < 3; ++k) shifted[k] *= shifted[3];
          const Rgba texel = px < 0.0f || py < 0.0f ? Rgba{} : loadTexel(picture, int(px), int(py));
          Rgba out;
          for (int k = 0; k < 4; ++k) out[k] = texel[k] + constants.alpha * (shifted[k] - texel[k]);
          return out;
        },
        0.01f))
        << "mode " << mode;
  }
}

}  // namespace
