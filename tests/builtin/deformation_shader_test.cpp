// The shaders of the deformation filters ("波紋", "ディスプレイスメントマップ", "ラスター",
// "極座標変換") drawn on small pictures and checked at every pixel against the same maths
// done here, with the bilinear filtering of the sampler they are drawn with.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "builtin/filter/displacement_filter.h"
#include "builtin/filter/polar_filter.h"
#include "builtin/filter/raster_filter.h"
#include "builtin/filter/ripple_filter.h"
#include "gpu/resource/lookup_tables.h"
#include "gpu/shader_run_support.h"

namespace {

using namespace Effect;
using TestSupport::CpuImage;
using TestSupport::Expected;
using TestSupport::kLinearBorder;
using TestSupport::kLinearClamp;
using TestSupport::kLinearWrap;
using TestSupport::loadTexel;
using TestSupport::matchesEverywhere;
using TestSupport::Rgba;
using TestSupport::runPixelShader;
using TestSupport::sample;
using TestSupport::Sampler;

constexpr float kPi = std::numbers::pi_v<float>;
// Bilinear weights are kept to 8 bits by the software rasterizer: sampled colours may differ
// from exact filtering by a few thousandths.
constexpr float kSampledTolerance = 0.01f;

class DeformationShaderTest : public TestSupport::GpuTest {};

// Whether v lies within `margin` of a value where a count or a choice made from it changes.
bool nearStep(float v, float margin) { return std::fabs(v - std::round(v)) < margin; }

// The mean of a grid of samples over a box of boxX x boxY pixels centred on (x, y), or one
// sample at its centre when the box is under 1.05 pixels both ways; none when the box's size
// lies close to (but not on) one of those thresholds.
std::optional<Rgba> areaSample(const CpuImage& image, float x, float y, float boxX, float boxY,
                               const Sampler& sampler) {
  const float w = float(image.width), h = float(image.height);
  const float margin = 0.03f;
  for (const float box : {std::fabs(boxX), std::fabs(boxY)}) {
    const float count = box * 0.5f + 1.5f;
    if (std::fabs(box - 1.05f) < margin ||
        (nearStep(count, margin / 2) && count != std::round(count)))
      return {};
  }
  if (std::fabs(boxX) < 1.05f && std::fabs(boxY) < 1.05f)
    return sample(image, x / w, y / h, sampler);
  const int nx = int(std::min(std::trunc(std::fabs(boxX) * 0.5f + 1.5f), 16.0f));
  const int ny = int(std::min(std::trunc(std::fabs(boxY) * 0.5f + 1.5f), 16.0f));
  Rgba sum{};
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) {
      const Rgba c = sample(image, (x + boxX * ((float(i) + 0.5f) / float(nx) - 0.5f)) / w,
                            (y + boxY * ((float(j) + 0.5f) / float(ny) - 0.5f)) / h, sampler);
      for (int k = 0; k < 4; ++k) sum[k] += c[k] / float(nx * ny);
    }
  return sum;
}

Rgba ripple(const CpuImage& image, int x, int y, const RippleConstants& c) {
  const float px = float(x) + 0.5f, py = float(y) + 0.5f;
  const float dx = px - c.center[0], dy = py - c.center[1];
  const float r = std::sqrt(dx * dx + dy * dy);
  const Rgba texel = loadTexel(image, x, y);
  if (r == 0.0f) return texel;
  const float q = (c.offset - r) * c.multiply[0];
  const float n = std::floor(q);
  if (c.rippleNum > 0 && (n < 0.0f || n >= float(c.rippleNum))) return texel;
  if (c.interval > 0 && std::fmod(std::fabs(n), float(c.interval)) != 0.0f) return texel;
  float k = (std::cos(2.0f * kPi * (q - n)) - 1.0f) * c.multiply[1] / r;
  const float a = float(c.amplifier);
  if (c.amplifier > 0 && n < a) k = k * n / a;
  if (c.amplifier < 0) k = n < -a ? -k * (1.0f + n / a) : 0.0f;
  return sample(image, (px + dx * k) / float(image.width), (py + dy * k) / float(image.height),
                kLinearClamp);
}

// Rings a few pixels high around an off-centre point: all of them, two, every second, and
// growing or fading over two rings; and a centre on a pixel, which that pixel keeps.
TEST_F(DeformationShaderTest, RippleRingsMoveThePictureByTheCosineOfTheDistance) {
  struct Case {
    float centerX, centerY;
    int32_t count, interval, amplifier;
  };
  const Case cases[] = {{7.3f, 5.6f, 0, 0, 0}, {7.3f, 5.6f, 2, 0, 0},  {7.3f, 5.6f, 0, 2, 0},
                        {7.3f, 5.6f, 0, 0, 2}, {7.3f, 5.6f, 0, 0, -2}, {8.5f, 6.5f, 0, 0, 0}};
  const auto picture = TestSupport::randomPicture(16, 12, 3);
  const auto input = TestSupport::upload(picture);
  Shader::SamplerStateList samplers;
  RippleFilter filter;
  filter.createResource();
  for (const Case& c : cases) {
    RippleConstants constants;
    constants.center[0] = c.centerX;
    constants.center[1] = c.centerY;
    constants.multiply[0] = 1.0f / 3.0f;
    constants.multiply[1] = 2.5f;
    constants.offset = 6.2f;
    constants.rippleNum = c.count;
    constants.interval = c.interval;
    constants.amplifier = c.amplifier;
    const auto result =
        runPixelShader(filter.resource().pixelShader(0), 16, 12, {input.get()},
                       filter.resource().writeConstants(&constants), samplers.get(kLinearClamp.entry));
    const Expected expected = [&](int x, int y) { return ripple(picture, x, y, constants); };
    EXPECT_TRUE(matchesEverywhere(result, expected, kSampledTolerance))
        << c.count << " rings, interval " << c.interval << ", amplifier " << c.amplifier;
  }
}

// The map's four values around the pixel: (R - A/2, G - A/2) of bilinear reads.
std::array<std::array<float, 2>, 4> mapValues(const CpuImage& map, float px, float py,
                                              const DisplacementConstants& c) {
  const float tx = (px + 0.5f) * c.angleC + (py + 0.5f) * c.angleS;
  const float ty = -(px + 0.5f) * c.angleS + (py + 0.5f) * c.angleC;
  const float u = (tx - 0.5f) * c.inverseMaskSize[0] + 0.5f;
  const float v = (ty - 0.5f) * c.inverseMaskSize[1] + 0.5f;
  std::array<std::array<float, 2>, 4> values;
  for (int i = 0; i < 4; ++i) {
    const Rgba m = sample(map, u + float(i & 1) * c.inverseMaskSize[0],
                          v + float(i >> 1) * c.inverseMaskSize[1], kLinearBorder);
    values[std::size_t(i)] = {m[0] - m[3] * 0.5f, m[1] - m[3] * 0.5f};
  }
  return values;
}

std::optional<Rgba> displaceMove(const CpuImage& picture, const CpuImage& map, int x, int y,
                                 const DisplacementConstants& c) {
  const float posX = float(x) + 0.5f, posY = float(y) + 0.5f;
  const float px = posX + c.offset[0], py = posY + c.offset[1];
  const auto values = mapValues(map, px, py, c);
  float low[2] = {1e30f, 1e30f}, high[2] = {-1e30f, -1e30f};
  for (const auto& value : values)
    for (int a = 0; a < 2; ++a) {
      low[a] = std::min(low[a], value[a] * c.len[a]);
      high[a] = std::max(high[a], value[a] * c.len[a]);
    }
  if (c.type == 1) {
    low[0] *= px, high[0] *= px;
    low[1] *= py, high[1] *= py;
  }
  return areaSample(picture, posX + (low[0] + high[0]) * 0.5f, posY + (low[1] + high[1]) * 0.5f,
                    high[0] - low[0], high[1] - low[1], kLinearBorder);
}

std::optional<Rgba> displaceTurn(const CpuImage& picture, const CpuImage& map, int x, int y,
                                 const DisplacementConstants& c) {
  const float posX = float(x) + 0.5f, posY = float(y) + 0.5f;
  const float px = posX + c.offset[0], py = posY + c.offset[1];
  float low[2] = {1e30f, 1e30f}, high[2] = {-1e30f, -1e30f};
  const auto values = mapValues(map, px, py, c);
  // Corner i (x by i & 1, y by i >> 1) turns by the angle of value i.
  for (int i = 0; i < 4; ++i) {
    const float angle = values[std::size_t(i)][0] * c.len[0];
    const float s = std::sin(angle), co = std::cos(angle);
    const float cx = px + float(i & 1), cy = py + float(i >> 1);
    const float turned[2] = {cx * co - cy * s, cx * s + cy * co};
    for (int a = 0; a < 2; ++a) {
      low[a] = std::min(low[a], turned[a]);
      high[a] = std::max(high[a], turned[a]);
    }
  }
  const float shiftX = posX - px - 0.5f, shiftY = posY - py - 0.5f;
  return areaSample(picture, (low[0] + high[0]) * 0.5f + shiftX, (low[1] + high[1]) * 0.5f + shiftY,
                    high[0] - low[0], high[1] - low[1], kLinearBorder);
}

// A map turned by 30 degrees over the picture's centre: moving, scaling about the centre and
// turning, with boxes from under a pixel to several pixels wide.
TEST_F(DeformationShaderTest, DisplacementMapsMoveScaleAndTurnThePicture) {
  const auto picture = TestSupport::randomPicture(16, 12, 5);
  const auto map = TestSupport::pictureOf(8, 8, [](int x, int y) {
    const float a = 0.4f + 0.075f * float(x);
    return Rgba{a * (0.1f + 0.1f * float(y)), a * (0.9f - 0.11f * float(x)), 0.0f, a};
  });
  const auto input = TestSupport::upload(picture);
  const auto mapInput = TestSupport::upload(map);
  Shader::SamplerStateList samplers;
  DisplacementFilter filter;
  filter.createResource();
  struct Case {
    DisplacementFilter::Shader shader;
    int32_t type;
    float lenX, lenY;
  };
  const Case cases[] = {{DisplacementFilter::kMoveShader, 0, 7.0f, -5.0f},
                        {DisplacementFilter::kMoveShader, 1, 0.6f, 0.45f},
                        {DisplacementFilter::kTurnShader, 0, 1.3f, 0.0f}};
  for (const Case& c : cases) {
    DisplacementConstants constants;
    constants.offset[0] = -8.0f;
    constants.offset[1] = -6.0f;
    constants.len[0] = c.lenX;
    constants.len[1] = c.lenY;
    constants.inverseMaskSize[0] = constants.inverseMaskSize[1] = 1.0f / 8.0f;
    constants.angleS = std::sin(kPi / 6);
    constants.angleC = std::cos(kPi / 6);
    constants.type = c.type;
    const auto result =
        runPixelShader(filter.resource().pixelShader(c.shader), 16, 12, {input.get(), mapInput.get()},
                       filter.resource().writeConstants(&constants), samplers.get(kLinearBorder.entry));
    const Expected expected = [&](int x, int y) {
      return c.shader == DisplacementFilter::kMoveShader
                 ? displaceMove(picture, map, x, y, constants)
                 : displaceTurn(picture, map, x, y, constants);
    };
    EXPECT_TRUE(matchesEverywhere(result, expected, kSampledTolerance))
        << "shader " << c.shader << " type " << c.type;
  }
}

// A map of half-transparent grey, or none at all under the picture, moves nothing: the
// moving shader gives the picture back.
TEST_F(DeformationShaderTest, ANeutralMapLeavesThePicture) {
  const auto picture = TestSupport::randomPicture(9, 7, 8);
  const auto grey = TestSupport::pictureOf(4, 4, [](int, int) {
    return Rgba{0.25f, 0.25f, 0.1f, 0.5f};
  });
  const auto input = TestSupport::upload(picture);
  const auto mapInput = TestSupport::upload(grey);
  Shader::SamplerStateList samplers;
  DisplacementFilter filter;
  filter.createResource();
  DisplacementConstants constants;
  constants.len[0] = constants.len[1] = 40.0f;
  constants.inverseMaskSize[0] = constants.inverseMaskSize[1] = 0.25f;
  const auto result =
      runPixelShader(filter.resource().pixelShader(DisplacementFilter::kMoveShader), 9, 7,
                     {input.get(), mapInput.get()}, filter.resource().writeConstants(&constants),
                     samplers.get(kLinearBorder.entry));
  EXPECT_TRUE(matchesEverywhere(result, [&](int x, int y) { return loadTexel(picture, x, y); }));
}

struct RasterWave {
  const RasterConstants& c;
  const std::vector<float>* random;  // the random table, for the uneven wave

  // A texel of the random table, 0 outside it.
  float randomAt(int column, int row) const {
    if (column < 0 || row < 0 || column > 255 || row > 255) return 0.0f;
    return (*random)[std::size_t(row * 256 + column)];
  }

  float operator()(int index) const {
    if (!random) return std::sin((float(index) + c.cycle) * c.PI2divideRange);
    // Three phases at three frequencies, each term's amplitude a table texel picked by its
    // wave number: along row k', down column 7 + k'' and on the diagonal.
    const float phases[3] = {float(index) + c.cycle, float(index) + c.cycle / 2,
                             float(index) + c.cycle / 4};
    const int frequencies[3] = {1, 2, 4};
    const float weights[3][3] = {{16, 8, 4}, {8, 4, 2}, {4, 2, 1}};
    float sum = 0.0f;
    for (int f = 0; f < 3; ++f)
      for (int p = 0; p < 3; ++p) {
        const float q = phases[p] * float(frequencies[f]);
        const int n = int(std::trunc(q * c.divideRange)) + 1 + 6 * p + f;
        const int m = n % 256;
        const float amplitude = p == 0 ? randomAt(m, f + 1) : p == 1 ? randomAt(7 + f, m)
                                                                     : randomAt(m, m);
        sum += weights[f][p] / 49.0f * std::sin(q * c.PI2divideRange) * amplitude;
      }
    return sum;
  }
};

// The mean of the run a raster pixel covers, along rows (or columns when `columns`); none
// where an end of the run is on the rounding step.
std::optional<Rgba> rasterRun(const CpuImage& image, int x, int y, bool columns,
                              const RasterWave& wave) {
  const int along = columns ? y : x, across = columns ? x : y;
  const float before = wave(across - 1), after = wave(across + 1);
  const float length = wave.c.length;
  const auto nearest = [](float v) { return std::trunc(v + 0.5f); };
  for (const float w : {before, after})
    if (nearStep(length * w + 0.5f, 2e-3f)) return {};
  const float start = float(along) - std::trunc(length);
  const int first = int(start + nearest(length * std::min(before, after)));
  const int last = int(start + nearest(length * std::max(before, after)));
  Rgba sum{};
  for (int i = first; i <= last; ++i) {
    const Rgba t = columns ? loadTexel(image, across, i) : loadTexel(image, i, across);
    for (int k = 0; k < 4; ++k) sum[k] += t[k] / float(last - first + 1);
  }
  return sum;
}

// Rows and columns along the sine and the uneven wave, drawn into a picture wider (or
// taller) by twice the amplitude; the uneven wave reads the program's smooth noise table,
// its phase far enough back that some wave numbers fall before the table, its amplitude
// large enough that every term moves the ends of the runs.
TEST_F(DeformationShaderTest, RasterLinesAverageTheRunsTheirWaveSweeps) {
  const auto picture = TestSupport::randomPicture(14, 16, 13);
  const auto input = TestSupport::upload(picture);
  const std::vector<float> random = Resource::smoothNoiseTableValues();
  const auto table = TestSupport::uploadTable(256, 256, random);
  RasterFilter filter;
  filter.createResource();
  RasterConstants constants;
  constants.length = 60.6f;
  constants.cycle = -9.75f;
  constants.PI2divideRange = 2.0f * kPi / 7.0f;
  constants.divideRange = 1.0f / 7.0f;
  for (const auto shader : {RasterFilter::kRowShader, RasterFilter::kColumnShader,
                            RasterFilter::kRandomRowShader, RasterFilter::kRandomColumnShader}) {
    const bool columns =
        shader == RasterFilter::kColumnShader || shader == RasterFilter::kRandomColumnShader;
    const bool uneven = shader >= RasterFilter::kRandomRowShader;
    const uint32_t grow = 2 * uint32_t(std::trunc(constants.length));
    const uint32_t width = columns ? 14 : 14 + grow, height = columns ? 16 + grow : 16;
    Media::ConstantBufferCommon& buffer = filter.resource().writeConstants(&constants);
    const auto result = uneven ? runPixelShader(filter.resource().pixelShader(shader), width, height,
                                                {input.get(), table.get()}, buffer)
                               : runPixelShader(filter.resource().pixelShader(shader), width, height,
                                                {input.get()}, buffer);
    const RasterWave wave{constants, uneven ? &random : nullptr};
    EXPECT_TRUE(matchesEverywhere(
        result, [&](int x, int y) { return rasterRun(picture, x, y, columns, wave); }))
        << "shader " << shader;
  }
}

std::optional<Rgba> polar(const CpuImage& image, int x, int y, const PolarConstants& c) {
  const float w = float(image.width);
  const float dx = float(x) + 0.5f - c.rsize, dy = float(y) + 0.5f - c.rsize;
  const float rho = std::sqrt(dx * dx + dy * dy);
  const float theta = rho > 0.0f ? std::atan2(dy, dx) : 0.0f;
  float sx = ((c.pix + c.pia * (c.rsize - rho)) - theta) * c.kx;
  sx -= w * std::floor(sx / w);
  const float sy = rho * c.ky - c.offset;
  const float across = c.kx / std::max(rho, 1.0f) * std::numbers::sqrt2_v<float> + c.pio;
  return areaSample(image, sx, sy, across, 1.0f, kLinearWrap);
}

// The picture wrapped around a disc of radius 6, with a swirl; the arcs near the centre
// average several columns, those near the rim one sample; the centre pixel has no angle.
TEST_F(DeformationShaderTest, PolarCoordinatesWrapTheColumnsAroundTheCentre) {
  const auto picture = TestSupport::randomPicture(16, 8, 21);
  const auto input = TestSupport::upload(picture);
  Shader::SamplerStateList samplers;
  PolarFilter filter;
  filter.createResource();
  struct Case {
    float rsize, pia, pio;
  };
  for (const Case& c : {Case{6.0f, 0.05f, 0.3f}, Case{5.5f, 0.0f, 0.0f}}) {
    PolarConstants constants;
    constants.rsize = c.rsize;
    constants.offset = 0.25f;
    constants.pix = 0.3f;
    constants.pia = c.pia;
    constants.pio = c.pio;
    constants.kx = 16.0f / (2.0f * kPi);
    constants.ky = 8.0f / 6.0f;
    const uint32_t side = uint32_t(2.0f * c.rsize);
    const auto result =
        runPixelShader(filter.resource().pixelShader(0), side, side, {input.get()},
                       filter.resource().writeConstants(&constants), samplers.get(kLinearWrap.entry));
    EXPECT_TRUE(matchesEverywhere(
        result, [&](int x, int y) { return polar(picture, x, y, constants); }, kSampledTolerance))
        << "radius " << c.rsize;
  }
}

}  // namespace
