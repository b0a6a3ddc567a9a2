// The shaders of "ノイズ", "ノイズ除去", "モザイク", "シャープ" and "インターレース解除" drawn on
// small pictures and checked at every pixel against the same maths done here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <random>
#include <vector>

#include "builtin/filter/deinterlace_filter.h"
#include "builtin/filter/mosaic_filter.h"
#include "builtin/filter/noise_filter.h"
#include "builtin/filter/noise_reduction_filter.h"
#include "builtin/filter/shape_filter.h"
#include "gpu/shader_run_support.h"

namespace {

using namespace Effect;
using TestSupport::kLinearWrap;
using TestSupport::loadTexel;
using TestSupport::matchesEverywhere;
using TestSupport::Rgba;
using TestSupport::runPixelShader;

constexpr double kPi = std::numbers::pi;

class ProcessingShaderTest : public TestSupport::GpuTest {};

// The noise as the shader makes it, from a table of lattice values (row by row, 256 x 256).
class NoiseReference {
 public:
  NoiseReference(const std::vector<float>& table, const NoiseConstants& c) : table_(table), c_(c) {}

  float alpha(int x, int y) const {
    const double qx = double(x) * c_.cycle[0] + c_.offset[0];
    const double qy = double(y) * c_.cycle[1] + c_.offset[1];
    double v;
    if (c_.type == 3) {
      const double t = 10.0 * c_.accelerate, layer = std::floor(t);
      v = std::lerp(bilinear(qx + 79.0 * layer, qy + 79.0 * layer),
                    bilinear(qx + 79.0 * (layer + 1), qy + 79.0 * (layer + 1)), t - layer);
      v = std::clamp(v - c_.limit, 0.0, 1.0);
    } else {
      double q[2] = {qx, qy}, z = c_.accelerate, sum = 0.0, sumAbs = 0.0;
      for (int octave = 0; octave < 6; ++octave) {
        const double n = valueNoise(q[0], q[1], z);
        sum = sum * 0.5 + n;
        sumAbs = sumAbs * 0.5 + std::fabs(n);
        q[0] = q[0] * 0.5 + c_.step[0];
        q[1] = q[1] * 0.5 + c_.step[1];
        z = z * 0.5 + c_.step[2];
      }
      switch (c_.type) {
        case 0:
          v = sum + 0.5;
          break;
        case 1:
          v = 1.0 - 2.0 * sumAbs;
          break;
        case 2:
          v = 2.0 * sumAbs;
          break;
        case 4:
          v = 0.5 + 0.5 * std::sin(4.0 * kPi * (0.5 - sumAbs + qx / 256.0));
          break;
        default:
          v = 0.5 + 0.5 * std::sin(2.0 * kPi * std::sin(8.0 * kPi * sum));
          break;
      }
      v = std::clamp((v - c_.limit) * c_.limitRatio, 0.0, 1.0);
    }
    return float(c_.level > 1.0f ? (2.0 - c_.level) * v : 1.0 + (v - 1.0) * c_.level);
  }

 private:
  double at(int i, int j) const { return table_[std::size_t((j & 255) * 256 + (i & 255))]; }

  double lattice(int i, int j, int k) const { return at(i + 79 * k, j + 79 * k); }

  static double weight(double f) { return (1.0 - std::cos(kPi * f)) * 0.5; }

  double valueNoise(double qx, double qy, double z) const {
    const double bx = std::floor(qx), by = std::floor(qy), bz = std::floor(z);
    const int i = int(bx), j = int(by), k = int(bz);
    const double wx = weight(qx - bx), wy = weight(qy - by), wz = weight(z - bz);
    double layers[2];
    for (int l = 0; l < 2; ++l) {
      const double top = std::lerp(lattice(i, j, k + l), lattice(i + 1, j, k + l), wx);
      const double bottom = std::lerp(lattice(i, j + 1, k + l), lattice(i + 1, j + 1, k + l), wx);
      layers[l] = std::lerp(top, bottom, wy);
    }
    return std::lerp(layers[0], layers[1], wz);
  }

  // The table read between texel centres with wrapping: the texel at (i, j) holds the value
  // of lattice point (i, j).
  double bilinear(double x, double y) const {
    const double bx = std::floor(x), by = std::floor(y);
    const int i = int(bx), j = int(by);
    const double fx = x - bx, fy = y - by;
    return std::lerp(std::lerp(at(i, j), at(i + 1, j), fx),
                     std::lerp(at(i, j + 1), at(i + 1, j + 1), fx), fy);
  }

  const std::vector<float>& table_;
  const NoiseConstants& c_;
};

// Every noise type, fading in and out, at a position with negative lattice coordinates and
// one past the table's last row; only the alpha carries the noise.
TEST_F(ProcessingShaderTest, NoiseTypesShapeOctavesOfValueNoise) {
  std::vector<float> values(256 * 256);
  std::mt19937 random(29);
  std::uniform_real_distribution<float> unit(-0.5f, 0.5f);
  for (float& value : values) value = unit(random);
  const auto table = TestSupport::uploadTable(256, 256, values);
  Shader::SamplerStateList samplers;
  NoiseFilter filter;
  filter.createResource();
  struct Case {
    int32_t type;
    float level;
    float offsetX, offsetY;
  };
  const Case cases[] = {{0, 0.8f, -4.2f, 250.7f}, {1, 1.4f, 3.3f, 1.1f},  {2, 1.0f, -4.2f, 250.7f},
                        {3, 0.8f, 3.3f, 250.7f},  {4, 0.5f, -4.2f, 1.1f}, {5, 1.9f, 3.3f, 1.1f}};
  for (const Case& c : cases) {
    NoiseConstants constants;
    constants.step[0] = 0.37f;
    constants.step[1] = 1.91f;
    constants.step[2] = 0.53f;
    constants.type = c.type;
    constants.offset[0] = c.offsetX;
    constants.offset[1] = c.offsetY;
    constants.cycle[0] = 0.31f;
    constants.cycle[1] = 0.47f;
    constants.accelerate = 1.37f;
    constants.level = c.level;
    constants.limit = 0.2f;
    constants.limitRatio = 1.6f;
    const auto result =
        runPixelShader(filter.resource().pixelShader(0), 12, 10, {table.get()},
                       filter.resource().writeConstants(&constants), samplers.get(kLinearWrap.entry));
    const NoiseReference reference(values, constants);
    EXPECT_TRUE(matchesEverywhere(
        result,
        [&](int x, int y) -> std::optional<Rgba> {
          return Rgba{0, 0, 0, reference.alpha(x, y)};
        },
        c.type == 3 ? 0.01f : 3e-3f))
        << "type " << c.type;
  }
}

// Small differences pull a pixel towards its neighbours, large ones fade out past the
// threshold; transparent pixels and neighbours beyond the edge count nothing.
TEST_F(ProcessingShaderTest, NoiseReductionSumsTheSmallDifferences) {
  const auto picture = TestSupport::randomPicture(11, 8, 37);
  const auto input = TestSupport::upload(picture);
  NoiseReductionFilter filter;
  filter.createResource();
  for (const float limit : {0.1f, 0.6f}) {
    NoiseReductionConstants constants;
    constants.range = 2;
    constants.level = 0.15f;
    constants.limit = limit;
    const auto result =
        runPixelShader(filter.resource().pixelShader(0), 11, 8, {input.get()}, constants);
    EXPECT_TRUE(matchesEverywhere(
        result,
        [&](int x, int y) -> std::optional<Rgba> {
          const Rgba c = loadTexel(picture, x, y);
          if (c[3] < 0.001f) return c;
          Rgba out = c;
          for (int j = -2; j <= 2; ++j)
            for (int i = -2; i <= 2; ++i) {
              const Rgba n = loadTexel(picture, x + i, y + j);
              for (int k = 0; k < 3; ++k) {
                const float d = n[k] - c[k], size = std::fabs(d);
                const float e = std::min(std::max(size - 2.0f * std::max(size - limit, 0.0f), 0.0f),
                                         std::min(c[3], n[3]));
                out[k] += constants.level * (d > 0 ? e : d < 0 ? -e : 0.0f);
              }
            }
          return out;
        }))
        << "limit " << limit;
  }
}

// Tiles of 3.5 pixels (and, from a size of 0, of one pixel) over a picture reduced to one
// texel per tile; tiles past the reduced picture are clear.
TEST_F(ProcessingShaderTest, MosaicTilesTakeTheirReducedTexel) {
  const auto reduced = TestSupport::randomPicture(4, 3, 41);
  const auto input = TestSupport::upload(reduced);
  MosaicFilter filter;
  filter.createResource();
  for (const float length : {3.5f, 0.0f}) {
    MosaicConstants constants;
    constants.offset[0] = 1.0f;
    constants.offset[1] = 0.5f;
    constants.length = length;
    const auto result =
        runPixelShader(filter.resource().pixelShader(0), 15, 11, {input.get()}, constants);
    EXPECT_TRUE(matchesEverywhere(result,
                                  [&](int x, int y) -> std::optional<Rgba> {
                                    const float size = std::max(length, 1.0f);
                                    return loadTexel(reduced, int((float(x) + 1.5f) / size),
                                                     int((float(y) + 1.0f) / size));
                                  }))
        << "length " << length;
  }
}

// The picture pushed away from its blur, within 0 ... alpha.
TEST_F(ProcessingShaderTest, SharpenPushesThePictureAwayFromItsBlur) {
  const auto picture = TestSupport::randomPicture(9, 7, 43);
  const auto blurred = TestSupport::randomPicture(9, 7, 47);
  const auto input = TestSupport::upload(picture);
  const auto blur = TestSupport::upload(blurred);
  ShapeFilter filter;
  filter.createResource();
  SharpenConstants constants;
  constants.level = 1.5f;
  const auto result =
      runPixelShader(filter.resource().pixelShader(0), 9, 7, {input.get(), blur.get()}, constants);
  EXPECT_TRUE(matchesEverywhere(result, [&](int x, int y) -> std::optional<Rgba> {
    const Rgba c = loadTexel(picture, x, y), b = loadTexel(blurred, x, y);
    Rgba out = c;
    for (int k = 0; k < 3; ++k)
      out[k] = std::min(std::max(c[k] + 1.5f * (c[k] - b[k]), 0.0f), c[3]);
    return out;
  }));
}

// Odd rows rebuilt (type 0), even rows rebuilt (type 1), every row blended (type 2), with
// the rows beyond the edges repeating the first and last; a type of neither parity rebuilds
// every row.
TEST_F(ProcessingShaderTest, DeinterlacingRebuildsOrBlendsRows) {
  const auto picture = TestSupport::randomPicture(6, 7, 53);
  const auto input = TestSupport::upload(picture);
  DeinterlaceFilter filter;
  filter.createResource();
  for (const int32_t type : {0, 1, 2, 5}) {
    DeinterlaceConstants constants;
    constants.type = type;
    const auto result =
        runPixelShader(filter.resource().pixelShader(0), 6, 7, {input.get()}, constants);
    EXPECT_TRUE(matchesEverywhere(result,
                                  [&](int x, int y) -> std::optional<Rgba> {
                                    const Rgba c = loadTexel(picture, x, y);
                                    const Rgba above = loadTexel(picture, x, std::max(y - 1, 0));
                                    const Rgba below = loadTexel(picture, x, std::min(y + 1, 6));
                                    Rgba out = c;
                                    for (int k = 0; k < 4; ++k) {
                                      if (type == 2)
                                        out[k] = (2.0f * c[k] + above[k] + below[k]) * 0.25f;
                                      else if ((y & 1) != type)
                                        out[k] = (above[k] + below[k]) * 0.5f;
                                    }
                                    return out;
                                  }))
        << "type " << type;
  }
}

}  // namespace
