// "境界ぼかし" on small pictures against the same maths on the CPU: the fade towards the
// rectangular border with the aspect's radii, and the cut of the alpha border where the
// blurred alpha and the pixel's own alpha together fall below one half.
#include "builtin/filter/border_blur_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "gpu/shader_run_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::download;
using TestSupport::imagesNear;
using TestSupport::noisePicture;
using TestSupport::Rgba;
using TestSupport::upload;

class BorderBlurFilterTest : public TestSupport::GpuTest {
 protected:
  Effect::OwnedImage run(Effect::OwnedImage input, double range, double aspect, bool alpha) {
    filter_.range.setValue(range, 0);
    filter_.aspect.setValue(aspect, 0);
    filter_.alphaBorder.value = alpha;
    Effect::EffectContext context;
    return filter_.filterVideo(context, std::move(input));
  }
  CpuImage runOn(const CpuImage& picture, double range, double aspect, bool alpha) {
    Effect::OwnedImage output = run(upload(picture), range, aspect, alpha);
    return output ? download(*output) : CpuImage();
  }

  Effect::BorderBlurFilter filter_;
};

Rgba scaled(Rgba color, float factor) {
  for (float& channel : color) channel *= factor;
  return color;
}

// The fade of one axis at a pixel centre: 1 - S(distance to the nearer edge / radius).
float fade(float position, float length, int radius) {
  if (radius <= 0) return 0.0f;
  const float t = std::clamp(std::min(position, length - position) / static_cast<float>(radius),
                             0.0f, 1.0f);
  return 1.0f - t * t * (3.0f - 2.0f * t);
}

CpuImage cpuFade(const CpuImage& picture, int horizontal, int vertical) {
  CpuImage output(picture.width, picture.height);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      const float fx = fade(static_cast<float>(x) + 0.5f, static_cast<float>(picture.width), horizontal);
      const float fy = fade(static_cast<float>(y) + 0.5f, static_cast<float>(picture.height), vertical);
      output.at(x, y) = scaled(picture.get(x, y), std::max(0.0f, 1.0f - std::hypot(fx, fy)));
    }
  return output;
}

// The alpha averaged over the (2h + 1) x (2v + 1) box, transparent outside; the pixel kept by
// clamp(2 x mean x alpha - 1, 0, 1).
CpuImage cpuAlphaBorder(const CpuImage& picture, int horizontal, int vertical) {
  CpuImage output(picture.width, picture.height);
  const auto count = static_cast<float>((2 * horizontal + 1) * (2 * vertical + 1));
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      float sum = 0.0f;
      for (int j = -vertical; j <= vertical; ++j)
        for (int i = -horizontal; i <= horizontal; ++i) sum += picture.get(x + i, y + j)[3];
      const Rgba texel = picture.get(x, y);
      output.at(x, y) = scaled(texel, std::clamp(2.0f * sum / count * texel[3] - 1.0f, 0.0f, 1.0f));
    }
  return output;
}

struct Case {
  double range, aspect;
  int horizontal, vertical;  // the radii the aspect leaves
};
const Case kCases[] = {
    {4, 0, 4, 4},
    {6, 50, 6, 3},     // a positive aspect shortens the vertical radius
    {5, -30, 3, 5},    // a negative one the horizontal radius, truncated
    {4, 100, 4, 0},    // only across
    {3.5, -100, 0, 4}, // only down; the range rounds half away from zero
    {40, 0, 40, 40},   // wider than the picture
};

// Both ways with each pair of radii: the fade towards the border, and the cut of the alpha
// border on a picture with an opaque block in noise.
TEST_F(BorderBlurFilterTest, MatchesTheCpuWithTheAspectsRadii) {
  CpuImage picture = noisePicture(15, 11, 41);
  for (int y = 2; y < 8; ++y)
    for (int x = 3; x < 10; ++x) picture.at(x, y) = {0.5f, 0.25f, 0.75f, 1.0f};
  for (const bool alpha : {false, true})
    for (const Case& c : kCases) {
      const CpuImage expected = alpha ? cpuAlphaBorder(picture, c.horizontal, c.vertical)
                                      : cpuFade(picture, c.horizontal, c.vertical);
      EXPECT_TRUE(imagesNear(runOn(picture, c.range, c.aspect, alpha), expected))
          << c.range << " " << c.aspect << (alpha ? " alpha border" : " fade");
    }
}

TEST_F(BorderBlurFilterTest, AnOpaquePictureKeepsItsMiddleAndLosesItsCorners) {
  CpuImage opaque(40, 30);
  for (Rgba& pixel : opaque.pixels) pixel = {0.25f, 0.5f, 0.75f, 1.0f};
  const CpuImage faded = runOn(opaque, 10, 0, false);
  ASSERT_EQ(faded.width, 40);
  ASSERT_EQ(faded.height, 30);
  for (int y = 10; y < 20; ++y)
    for (int x = 10; x < 30; ++x)
      EXPECT_TRUE(TestSupport::nearHalf(faded.get(x, y), opaque.get(x, y))) << x << ", " << y;
  EXPECT_EQ(faded.get(0, 0)[3], 0.0f);
  EXPECT_EQ(faded.get(39, 29)[3], 0.0f);
  EXPECT_GT(faded.get(20, 0)[3], 0.0f) << "an edge's middle fades along one axis only";
  EXPECT_LT(faded.get(20, 0)[3], 0.1f);
}

// Without a radius the plain fade hands the picture back; the alpha border still cuts what
// is less than 1/√2 opaque: a pixel of alpha a is scaled by clamp(2a² - 1, 0, 1).
TEST_F(BorderBlurFilterTest, ZeroRangeKeepsThePictureOrCutsThinAlpha) {
  CpuImage picture(4, 1);
  picture.at(0, 0) = {1, 1, 1, 1};
  picture.at(1, 0) = {0.7f, 0.7f, 0.7f, 0.7f};
  picture.at(2, 0) = {0.5f, 0.0f, 0.0f, 0.8f};
  picture.at(3, 0) = {0.9f, 0.45f, 0.0f, 0.9f};
  Effect::OwnedImage input = upload(picture);
  const Media::ResourceBuffer* before = input.get();
  Effect::OwnedImage same = run(std::move(input), 0, 50, false);
  EXPECT_EQ(same.get(), before);

  const CpuImage cut = runOn(picture, 0, 0, true);
  const float factors[] = {1.0f, 0.0f, 2 * 0.64f - 1, 2 * 0.81f - 1};
  for (int x = 0; x < 4; ++x)
    EXPECT_TRUE(TestSupport::nearHalf(cut.get(x, 0), scaled(picture.get(x, 0), factors[x]), 4e-3f))
        << x;
}

}  // namespace
