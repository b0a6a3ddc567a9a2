// The colour shaders: "色調補正", "単色化" and the three of "エッジ抽出", each checked at every
// pixel of a small picture against the same maths done here; and the scale of the edges'
// magnitudes, which the shaders choose.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "builtin/filter/color_filter.h"
#include "builtin/filter/edge_filter.h"
#include "builtin/filter/monochrome_filter.h"
#include "colour_reference.h"
#include "gpu/shader_run_support.h"

namespace {

using namespace Effect;
using TestSupport::fromLumaChroma;
using TestSupport::lumaChroma;
using TestSupport::matchesEverywhere;
using TestSupport::Rgba;
using TestSupport::shadersOf;
using TestSupport::runPixelShader;
using TestSupport::scaled;
using TestSupport::straight;
using TestSupport::Ycc;

constexpr int kWidth = 9, kHeight = 7;

// Premultiplied colours with varied coverage; some transparent, some almost so, a few
// channels above 1.
TestSupport::CpuImage colourPicture() {
  return TestSupport::pictureOf(kWidth, kHeight, [](int x, int y) {
    const int i = x + kWidth * y;
    const float a = i % 8 == 0 ? 0.0f : i % 13 == 5 ? 0.0004f : 0.25f + 0.75f * (i * 7 % 10) / 9.0f;
    const float t = static_cast<float>(i) * 1.3f;
    const float boost = i % 6 == 1 ? 1.4f : 1.0f;
    return Rgba{(0.5f + 0.45f * std::sin(t)) * a * boost, (0.5f + 0.45f * std::sin(t + 2.0f)) * a,
                (0.5f + 0.45f * std::sin(t + 4.0f)) * a, a};
  });
}

using ColourShaderTest = TestSupport::GpuTest;

TEST_F(ColourShaderTest, TheColourCorrectionWorksOnTheStraightColour) {
  struct Case {
    const char* what;
    ColorFilter::Constants constants;
  };
  const Case cases[] = {
      {"unchanged", {0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 0, 0}},
      {"brighter, more contrast, clamped", {0.2f, 1.5f, 0.0f, 1.0f, 1.0f, 1, 0}},
      {"brighter, not clamped", {0.2f, 1.5f, 0.0f, 1.0f, 1.0f, 0, 0}},
      {"hue, luma and saturation", {0.0f, 1.0f, 1.2f, 0.8f, 1.6f, 0, 1}},
      {"all of it, clamped", {-0.1f, 0.7f, -2.5f, 1.3f, 0.4f, 1, 1}},
  };
  const auto picture = colourPicture();
  const auto shaders = shadersOf<ColorFilter>();
  for (const Case& c : cases) {
    const ColorFilter::Constants& q = c.constants;
    const auto result = runPixelShader(shaders->pixelShader(ColorFilter::kCorrectShader), kWidth,
                                       kHeight, {&picture}, q);
    EXPECT_TRUE(matchesEverywhere(result, [&](int x, int y) {
      const Rgba texel = picture.get(x, y);
      if (texel[3] < 0.001f) return texel;
      Rgba rgb = straight(texel);
      if (q.processYUV) {
        const Ycc ycc = lumaChroma(rgb);
        const float cs = std::cos(q.hue), sn = std::sin(q.hue);
        rgb = fromLumaChroma({ycc[0] * q.luminance, (ycc[1] * cs - ycc[2] * sn) * q.chroma,
                              (ycc[2] * cs + ycc[1] * sn) * q.chroma},
                             texel[3]);
      }
      for (int i = 0; i < 3; ++i) rgb[i] = rgb[i] * q.contrast + q.brightness;
      if (q.processSaturate)
        for (float& v : rgb) v = std::clamp(v, 0.0f, 1.0f);
      return Rgba{rgb[0] * rgb[3], rgb[1] * rgb[3], rgb[2] * rgb[3], rgb[3]};
    }, 4e-3f)) << c.what;
  }
}

TEST_F(ColourShaderTest, TheMonochromeMovesTowardsItsColour) {
  const Ycc white = lumaChroma({1.0f, 1.0f, 1.0f, 1.0f});
  const Ycc orange = lumaChroma({1.0f, 0.5f, 0.0f, 1.0f});
  struct Case {
    const char* what;
    MonochromeFilter::Constants constants;
  };
  const Case cases[] = {
      {"all the way", {{1.0f, 1.0f, 1.0f, 0.0f}, {orange[0], orange[1], orange[2]}}},
      {"colour only, luma kept", {{0.0f, 1.0f, 1.0f, 0.0f}, {orange[0], orange[1], orange[2]}}},
      {"halfway to white", {{0.5f, 0.5f, 0.5f, 0.0f}, {white[0], white[1], white[2]}}},
      {"nothing", {{0.0f, 0.0f, 0.0f, 0.0f}, {orange[0], orange[1], orange[2]}}},
  };
  const auto picture = colourPicture();
  const auto shaders = shadersOf<MonochromeFilter>();
  for (const Case& c : cases) {
    const MonochromeFilter::Constants& q = c.constants;
    const auto result = runPixelShader(shaders->pixelShader(MonochromeFilter::kMonochromeShader),
                                       kWidth, kHeight, {&picture}, q);
    EXPECT_TRUE(matchesEverywhere(result, [&](int x, int y) {
      const Rgba texel = picture.get(x, y);
      Ycc ycc = lumaChroma(texel);
      for (int i = 0; i < 3; ++i) ycc[i] += q.level[i] * (q.yuv[i] * texel[3] - ycc[i]);
      return fromLumaChroma(ycc, texel[3]);
    })) << c.what;
  }
}

// The Prewitt pair of each of (Y, U, V, alpha) at a pixel, neighbours clamped to the picture.
std::array<float, 4> gradientMagnitudes(const TestSupport::CpuImage& image, int x, int y) {
  std::array<float, 4> gx{}, gy{};
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      const Rgba c = image.get(std::clamp(x + dx, 0, image.width - 1),
                        std::clamp(y + dy, 0, image.height - 1));
      const Ycc ycc = lumaChroma(c);
      const std::array<float, 4> v{ycc[0], ycc[1], ycc[2], c[3]};
      for (int i = 0; i < 4; ++i) {
        gx[i] += static_cast<float>(dx) * v[i];
        gy[i] += static_cast<float>(dy) * v[i];
      }
    }
  std::array<float, 4> m;
  for (int i = 0; i < 4; ++i) m[i] = std::hypot(gx[i], gy[i]);
  return m;
}

TEST_F(ColourShaderTest, TheEdgesAreDrawnInTheirColour) {
  struct Case {
    EdgeFilter::Shader shader;
    float limit;
    float ratio;
  };
  const Case cases[] = {
      {EdgeFilter::kColorShader, 0.3f, 1.5f},
      {EdgeFilter::kLumaShader, 0.2f, 2.0f},
      {EdgeFilter::kAlphaShader, 0.5f, 0.8f},
      {EdgeFilter::kLumaShader, 0.0f, 100.0f},
  };
  const auto picture = colourPicture();
  const auto shaders = shadersOf<EdgeFilter>();
  for (const Case& c : cases) {
    const EdgeFilter::Constants q{{1.0f, 0.5f, 0.0f, 1.0f}, c.limit, c.ratio};
    const auto result =
        runPixelShader(shaders->pixelShader(c.shader), kWidth, kHeight, {&picture}, q);
    EXPECT_TRUE(matchesEverywhere(result, [&](int x, int y) {
      const auto m = gradientMagnitudes(picture, x, y);
      const float magnitude = c.shader == EdgeFilter::kColorShader  ? m[0] + m[1] + m[2]
                              : c.shader == EdgeFilter::kLumaShader ? m[0]
                                                                    : m[3];
      const float e = std::clamp((magnitude - q.limit) * q.ratio, 0.0f, 1.0f);
      return scaled(Rgba{q.color[0], q.color[1], q.color[2], q.color[3]},
                    picture.get(x, y)[3] * e);
    }, 4e-3f)) << "shader " << c.shader << ", limit " << c.limit;
  }
}

// The magnitudes are not normalised: a step from black to white across the picture gives 3
// in the two columns beside it, and 0 along the picture's own edges, which repeat outward.
TEST_F(ColourShaderTest, AnEdgeFromBlackToWhiteHasMagnitudeThree) {
  const auto picture = TestSupport::pictureOf(
      6, 2, [](int x, int) { return x < 3 ? Rgba{0, 0, 0, 1} : Rgba{1, 1, 1, 1}; });
  const auto shaders = shadersOf<EdgeFilter>();
  for (const float limit : {2.9f, 3.1f}) {
    const EdgeFilter::Constants q{{1.0f, 1.0f, 1.0f, 1.0f}, limit, 100.0f};
    const auto result =
        runPixelShader(shaders->pixelShader(EdgeFilter::kLumaShader), 6, 2, {&picture}, q);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 6; ++x)
        EXPECT_EQ(result.get(x, y)[3], limit < 3 && (x == 2 || x == 3) ? 1.0f : 0.0f)
            << x << ", " << y << " at limit " << limit;
  }
}

}  // namespace
