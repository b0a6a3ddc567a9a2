// The shaders that draw shapes from the pixel's position: the coverage of "斜めクリッピング",
// "扇クリッピング" and "マスク", and the gradient of "グラデーション", each checked at every
// pixel of a small target against the same maths done here, edges of width 0 included.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "builtin/filter/angle_clip_filter.h"
#include "builtin/filter/gradation_filter.h"
#include "builtin/filter/line_clip_filter.h"
#include "builtin/filter/mask_filter.h"
#include "colour_reference.h"
#include "gpu/shader/sampler_state_list.h"
#include "gpu/shader_run_support.h"

namespace {

using namespace Effect;
using TestSupport::centre;
using TestSupport::edgeRatio;
using TestSupport::matchesEverywhere;
using TestSupport::Rgba;
using TestSupport::shadersOf;
using TestSupport::runPixelShader;
using TestSupport::softStep;

constexpr int kWidth = 12, kHeight = 8;

Rgba coverage(float alpha) { return {0.0f, 0.0f, 0.0f, alpha}; }

using ShapeShaderTest = TestSupport::GpuTest;

TEST_F(ShapeShaderTest, TheLineClipCoversAHalfPlaneOrABand) {
  struct Case {
    const char* what;
    LineClipFilter::Shader shader;
    LineClipFilter::Constants constants;
  };
  const float c = std::cos(0.5f), s = std::sin(0.5f);
  const Case cases[] = {
      {"soft half-plane", LineClipFilter::kEdgeShader, {{-6.0f, -4.0f}, {c, s}, 5.0f, 0.0f}},
      {"band kept", LineClipFilter::kBandShader, {{-6.0f, -4.0f}, {s, -c}, 2.0f, 2.5f}},
      {"band cut away", LineClipFilter::kBandShader, {{-6.0f, -4.0f}, {c, s}, 3.0f, -2.0f}},
      {"no width: nothing", LineClipFilter::kBandShader, {{-6.0f, -4.0f}, {c, s}, 2.0f, 0.0f}},
  };
  const auto shaders = shadersOf<LineClipFilter>();
  for (const Case& k : cases) {
    const LineClipFilter::Constants& q = k.constants;
    const auto result = runPixelShader(shaders->pixelShader(k.shader), kWidth, kHeight, {}, q);
    EXPECT_TRUE(matchesEverywhere(result, [&](int x, int y) {
      const float d = (centre(x) + q.offset[0]) * q.direction[0] +
                      (centre(y) + q.offset[1]) * q.direction[1];
      if (k.shader == LineClipFilter::kEdgeShader)
        return coverage(softStep(edgeRatio(d + q.length / 2, q.length)));
      const float sign = q.range > 0 ? 1.0f : q.range < 0 ? -1.0f : 0.0f;
      return coverage(softStep(edgeRatio(q.range - sign * std::fabs(d), q.length)));
    })) << k.what;
  }
}

// Without blur the edges are steps: the column whose centre lies on neither side by a
// quarter pixel decides.
TEST_F(ShapeShaderTest, ALineClipWithoutBlurHasHardEdges) {
  const auto shaders = shadersOf<LineClipFilter>();
  const LineClipFilter::Constants edge{{-5.25f, 0.0f}, {1.0f, 0.0f}, 0.0f, 1.5f};
  const auto half =
      runPixelShader(shaders->pixelShader(LineClipFilter::kEdgeShader), 8, 1, {}, edge);
  const auto band =
      runPixelShader(shaders->pixelShader(LineClipFilter::kBandShader), 8, 1, {}, edge);
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(half.get(x, 0)[3], x >= 5 ? 1.0f : 0.0f) << x;
    EXPECT_EQ(band.get(x, 0)[3], x >= 4 && x <= 6 ? 1.0f : 0.0f) << x;
  }
}

TEST_F(ShapeShaderTest, TheAngleClipCutsOrKeepsAFan) {
  struct Case {
    const char* what;
    AngleClipFilter::Shader shader;
    AngleClipFilter::Constants constants;
  };
  const float r = std::sqrt(0.5f);
  // The fan opens to the lower right of (6.25, 4.25): between the normals (0, 1) and (1, 0),
  // its middle along (r, r).
  const AngleClipFilter::Constants soft{{-6.25f, -4.25f}, {0.0f, 1.0f}, {1.0f, 0.0f}, {r, r},
                                        1.5f, 2.0f};
  const AngleClipFilter::Constants hard{{-6.25f, -4.25f}, {0.0f, 1.0f}, {1.0f, 0.0f}, {r, r},
                                        0.0f, 0.0f};
  const AngleClipFilter::Constants wide{{-5.0f, -3.0f}, {-0.6f, 0.8f}, {0.8f, 0.6f}, {0.0f, 1.0f},
                                        3.0f, 1.0f};
  const Case cases[] = {
      {"cut away", AngleClipFilter::kOutsideShader, soft},
      {"kept", AngleClipFilter::kInsideShader, soft},
      {"cut away, no blur", AngleClipFilter::kOutsideShader, hard},
      {"kept, no blur", AngleClipFilter::kInsideShader, hard},
      {"wider blur", AngleClipFilter::kInsideShader, wide},
  };
  const auto shaders = shadersOf<AngleClipFilter>();
  for (const Case& k : cases) {
    const AngleClipFilter::Constants& q = k.constants;
    const auto result = runPixelShader(shaders->pixelShader(k.shader), kWidth, kHeight, {}, q);
    EXPECT_TRUE(matchesEverywhere(result, [&](int x, int y) {
      const float px = centre(x) + q.offset[0], py = centre(y) + q.offset[1];
      const float dS = px * q.directionS[0] + py * q.directionS[1];
      const float dE = px * q.directionE[0] + py * q.directionE[1];
      const float dL = px * q.directionL[0] + py * q.directionL[1];
      if (k.shader == AngleClipFilter::kOutsideShader)
        return coverage(1.0f - softStep(edgeRatio(q.range - std::max(dS, dE), 2 * q.range)) *
                                   softStep(edgeRatio(q.limit - dL, q.limit)));
      return coverage(softStep(edgeRatio(std::min(dS, dE) + q.range, 2 * q.range)) *
                      softStep(edgeRatio(dL + q.limit, q.limit)));
    })) << k.what;
  }
}

// A 4 x 4 mask of distinct lumas, straight greys and colours.
TestSupport::CpuImage maskPicture() {
  return TestSupport::pictureOf(4, 4, [](int x, int y) {
    const float v = static_cast<float>(x + 4 * y) / 15.0f;
    return Rgba{v, 1.0f - v, 0.5f * v, 1.0f};
  });
}

// Bilinear filtering of the mask with clamped addressing, at texel coordinates.
Rgba bilinear(const TestSupport::CpuImage& image, float tx, float ty) {
  const auto texel = [&](int x, int y) {
    return image.get(std::clamp(x, 0, image.width - 1), std::clamp(y, 0, image.height - 1));
  };
  const float x0 = std::floor(tx - 0.5f), y0 = std::floor(ty - 0.5f);
  const float fx = tx - 0.5f - x0, fy = ty - 0.5f - y0;
  const int ix = static_cast<int>(x0), iy = static_cast<int>(y0);
  Rgba r;
  for (int i = 0; i < 4; ++i)
    r[i] = (texel(ix, iy)[i] * (1 - fx) + texel(ix + 1, iy)[i] * fx) * (1 - fy) +
           (texel(ix, iy + 1)[i] * (1 - fx) + texel(ix + 1, iy + 1)[i] * fx) * fy;
  return r;
}

// The mask turned about its centre and scaled: a quarter turn at its own size lands every
// sample on a texel centre; twice its size puts them a quarter of a texel off, where the
// filter's weights are exact.
TEST_F(ShapeShaderTest, TheMaskIsTheTurnedPicturesLuma) {
  struct Case {
    const char* what;
    MaskFilter::Constants constants;
  };
  const Case cases[] = {
      {"quarter turn", {{-6.0f, -4.0f}, {0.25f, 0.25f}, 1.0f, 0.0f}},
      {"twice the size", {{-6.0f, -4.0f}, {0.125f, 0.125f}, 0.0f, 1.0f}},
      {"half turn, flattened", {{-5.0f, -3.0f}, {0.25f, 0.5f}, 0.0f, -1.0f}},
  };
  const auto mask = maskPicture();
  const auto shaders = shadersOf<MaskFilter>();
  Shader::SamplerStateList samplers;
  constexpr std::size_t kLinearClamp = 1;
  for (const Case& k : cases) {
    const MaskFilter::Constants& q = k.constants;
    Media::ShaderBindings::setSampler(0, samplers.get(kLinearClamp));
    const auto result =
        runPixelShader(shaders->pixelShader(MaskFilter::kMaskShader), kWidth, kHeight, {&mask}, q);
    Media::ShaderBindings::setSampler(0, nullptr);
    EXPECT_TRUE(matchesEverywhere(result, [&](int x, int y) {
      const float px = centre(x) + q.offset[0], py = centre(y) + q.offset[1];
      const float u = q.angleC * px + q.angleS * py, v = -q.angleS * px + q.angleC * py;
      const Rgba m = bilinear(mask, (u * q.inverseMaskSize[0] + 0.5f) * 4.0f,
                              (v * q.inverseMaskSize[1] + 0.5f) * 4.0f);
      return coverage(TestSupport::lumaChroma(m)[0]);
    })) << k.what;
  }
}

TEST_F(ShapeShaderTest, TheGradationFollowsItsShapeOnThePicturesCoverage) {
  // Coverage varying across the picture, transparent in one corner.
  const auto picture = TestSupport::pictureOf(kWidth, kHeight, [](int x, int y) {
    const float a = x + y == 0 ? 0.0f : static_cast<float>((x * 7 + y * 3) % 11) / 10.0f;
    return Rgba{0.3f * a, 0.6f * a, 0.9f * a, a};
  });
  const float c = std::cos(0.7f), s = std::sin(0.7f);
  const auto constants = [&](int type, float range) {
    return GradationFilter::Constants{{1.0f, 0.5f, 0.0f, 1.0f}, {0.0f, 0.2f, 0.8f, 0.8f},
                                      {-6.25f, -3.75f},         {c, s},
                                      range,                    type};
  };
  struct Case {
    const char* what;
    GradationFilter::Constants constants;
  };
  const Case cases[] = {
      {"linear", constants(0, 6.0f)},   {"circle", constants(1, 5.0f)},
      {"diamond", constants(2, 4.0f)},  {"band", constants(3, 3.0f)},
      {"unknown type", constants(7, 3.0f)}, {"circle without width", constants(1, 0.0f)},
      {"linear without width", constants(0, 0.0f)},
  };
  const auto shaders = shadersOf<GradationFilter>();
  for (const Case& k : cases) {
    const GradationFilter::Constants& q = k.constants;
    const auto result = runPixelShader(shaders->pixelShader(GradationFilter::kGradationShader),
                                       kWidth, kHeight, {&picture}, q);
    EXPECT_TRUE(matchesEverywhere(result, [&](int x, int y) {
      const float px = centre(x) + q.offset[0], py = centre(y) + q.offset[1];
      const float d = px * q.direction[0] + py * q.direction[1];
      const float across = -px * q.direction[1] + py * q.direction[0];
      float w = 0.0f;
      switch (q.type) {
        case 0: w = 1 - softStep(edgeRatio(d + q.range / 2, q.range)); break;
        case 1: w = softStep(edgeRatio(std::hypot(px, py), q.range)); break;
        case 2:
          w = 1 - softStep(edgeRatio(q.range - (std::fabs(d) + std::fabs(across)), q.range));
          break;
        case 3: w = 1 - softStep(edgeRatio(q.range - std::fabs(d), q.range)); break;
      }
      const float a = picture.get(x, y)[3];
      Rgba r;
      for (int i = 0; i < 4; ++i) r[i] = (q.col0[i] + w * (q.col1[i] - q.col0[i])) * a;
      return r;
    })) << k.what;
  }
}

}  // namespace
