// "極座標変換" on small pictures against the wrapping computed here: the disc's size, its
// empty middle, zoom, turns in either direction, swirls that widen each pixel's footprint
// into several samples; the object's centre offset cleared.
#include "builtin/filter/polar_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "colour_reference.h"
#include "filter_run_support.h"

namespace {

using Effect::PolarFilter;
using TestSupport::CpuImage;
using TestSupport::Rgba;

struct Settings {
  double centerWidth = 0, zoom = 100, rotation = 0, swirl = 0;
};

// Bilinear filtering with the columns mirrored past either side and a clear border above
// and below the picture.
Rgba sampleMirroredRows(const CpuImage& image, float tx, float ty) {
  const float x0 = std::floor(tx - 0.5f), y0 = std::floor(ty - 0.5f);
  const float fx = tx - 0.5f - x0, fy = ty - 0.5f - y0;
  const auto texel = [&](int x, int y) {
    const int w = image.width;
    int m = ((x % (2 * w)) + 2 * w) % (2 * w);
    if (m >= w) m = 2 * w - 1 - m;
    return image.get(m, y);
  };
  const int ix = static_cast<int>(x0), iy = static_cast<int>(y0);
  const Rgba a = texel(ix, iy), b = texel(ix + 1, iy), c = texel(ix, iy + 1),
             d = texel(ix + 1, iy + 1);
  Rgba r;
  for (int i = 0; i < 4; ++i)
    r[i] = (a[i] * (1 - fx) + b[i] * fx) * (1 - fy) + (c[i] * (1 - fx) + d[i] * fx) * fy;
  return r;
}

// The expected disc, or none for pixels whose column sits on the seam where the angle wraps
// round (rounding may put it on either side).
std::optional<Rgba> polarPixel(const CpuImage& source, const Effect::PolarConstants& c, int x,
                               int y) {
  const double dx = TestSupport::centre(x) - c.rsize, dy = TestSupport::centre(y) - c.rsize;
  const double r = std::hypot(dx, dy);
  const double phi = r > 0.0 ? std::atan2(dy, dx) : 0.0;
  const double w = source.width;
  double u = (c.pix + (c.rsize - r) * c.pia - phi) * c.kx;
  u -= w * std::floor(u / w);
  const double v = r * c.ky - c.offset;
  const double a = c.kx / std::max(r, 1.0) * std::numbers::sqrt2 + c.pio;
  if (std::min(u, w - u) < 2e-3 * w) return std::nullopt;
  if (std::fabs(a) < 1.05) return sampleMirroredRows(source, float(u), float(v));
  const int m = std::min(static_cast<int>(std::floor(std::fabs(a) / 2 + 1.5)), 16);
  Rgba sum{};
  for (const double row : {v - 0.25, v + 0.25})
    for (int j = 0; j < m; ++j) {
      const Rgba s = sampleMirroredRows(source, float(u - a / 2 + (j + 0.5) * a / m), float(row));
      for (int k = 0; k < 4; ++k) sum[k] += s[k];
    }
  return TestSupport::scaled(sum, 1.0f / static_cast<float>(2 * m));
}

class PolarFilterTest : public TestSupport::FilterWorldTest {
 protected:
  static CpuImage run(const CpuImage& source, const Settings& s, Effect::EffectContext& context) {
    PolarFilter polar;
    polar.centerWidth.setValue(s.centerWidth, 0);
    polar.zoom.setValue(s.zoom, 0);
    polar.rotation.setValue(s.rotation, 0);
    polar.swirl.setValue(s.swirl, 0);
    return TestSupport::filtered(polar, source, context);
  }
};

TEST_F(PolarFilterTest, ThePictureWrapsAroundTheDisc) {
  const CpuImage source = TestSupport::randomPicture(12, 7, 137);
  const Settings cases[] = {
      {},
      {.centerWidth = 4},
      {.zoom = 250},
      {.rotation = -90},
      {.rotation = 450},
      {.swirl = 0.5},
      {.centerWidth = 2, .swirl = -2},
      {.zoom = 130, .rotation = 33, .swirl = 8},
  };
  for (const Settings& s : cases) {
    Effect::EffectContext context;
    const CpuImage disc = run(source, s, context);
    const PolarFilter::Layout expected = PolarFilter::layout(
        source.width, source.height, s.centerWidth, s.zoom, s.rotation, s.swirl);
    ASSERT_EQ(disc.width, expected.side);
    ASSERT_EQ(disc.height, expected.side);
    EXPECT_TRUE(TestSupport::matchesEverywhere(
        disc, [&](int x, int y) { return polarPixel(source, expected.constants, x, y); }, 4e-3f))
        << "centre " << s.centerWidth << ", zoom " << s.zoom << ", rotation " << s.rotation
        << ", swirl " << s.swirl;
  }
}

TEST_F(PolarFilterTest, TheDiscsSizeAndConstants) {
  constexpr double kPi = std::numbers::pi;
  // 100 % and no middle: a diameter of 2 (w + h) / pi, rounded up.
  const PolarFilter::Layout plain = PolarFilter::layout(30, 20, 0, 100, 0, 0);
  EXPECT_EQ(plain.side, static_cast<int>(std::ceil(2.0 * 50.0 / kPi)));
  EXPECT_FLOAT_EQ(plain.constants.pix, static_cast<float>(3.5 * kPi));
  EXPECT_FLOAT_EQ(plain.constants.ky, static_cast<float>(20.0 / (50.0 / kPi)));
  EXPECT_EQ(plain.constants.pia, 0.0f);
  EXPECT_EQ(plain.constants.pio, 0.0f);

  const PolarFilter::Layout hollow = PolarFilter::layout(30, 20, 10, 200, 0, 1);
  const double radius = 2.0 * 50.0 / kPi + 10.0;
  EXPECT_EQ(hollow.side, static_cast<int>(std::ceil(2.0 * radius)));
  EXPECT_FLOAT_EQ(hollow.constants.offset, 10.0f);
  EXPECT_FLOAT_EQ(hollow.constants.pia, static_cast<float>(2.0 * kPi / (radius - 10.0)));
  // The swirl's footprint never exceeds the picture's width.
  EXPECT_FLOAT_EQ(PolarFilter::layout(30, 20, 0, 100, 0, 8).constants.pio, 30.0f);

  // A negative turn is the same angle as its positive counterpart.
  EXPECT_FLOAT_EQ(PolarFilter::layout(30, 20, 0, 100, -90, 0).constants.pix,
                  PolarFilter::layout(30, 20, 0, 100, 270, 0).constants.pix);
  // A huge zoom of a large picture stays within the largest image side.
  EXPECT_EQ(PolarFilter::layout(16384, 16384, 2000, 800, 0, 0).side, 16384);
}

TEST_F(PolarFilterTest, TheCentreOffsetIsCleared) {
  Effect::EffectContext context;
  context.outputView.centerX = 12.0f;
  context.outputView.centerY = -7.0f;
  context.outputView.x = 5.0f;
  run(TestSupport::randomPicture(6, 4, 139), {}, context);
  EXPECT_EQ(context.outputView.centerX, 0.0f);
  EXPECT_EQ(context.outputView.centerY, 0.0f);
  EXPECT_EQ(context.outputView.x, 5.0f);
}

}  // namespace
