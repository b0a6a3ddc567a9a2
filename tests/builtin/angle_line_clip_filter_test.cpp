// "扇クリッピング" and "斜めクリッピング" on small pictures against their masks computed here:
// the fan on both sides of a half turn, reversed and centred on its base, cleared from a full
// turn, the half-plane and the kept or cut band of the line, and the soft edge that stays one
// pixel wide without softness.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "builtin/filter/angle_clip_filter.h"
#include "builtin/filter/line_clip_filter.h"
#include "gpu/shader_run_support.h"
#include "in_place_filter_support.h"
#include "render/render_test_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::Rgba;

constexpr double kRadian = std::numbers::pi / 180.0;

double smooth(double t) {
  const double u = std::clamp(t, 0.0, 1.0);
  return u * u * (3.0 - 2.0 * u);
}

// A pixel's centre from the clipping centre.
struct Offset {
  double x, y;
};
Offset fromCentre(const CpuImage& image, int x, int y, double cx, double cy) {
  return {x + 0.5 - (image.width / 2.0 + cx), y + 0.5 - (image.height / 2.0 + cy)};
}

CpuImage masked(const CpuImage& source, const std::function<double(int x, int y)>& alpha) {
  CpuImage out = source;
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x)
      for (float& c : out.at(x, y)) c *= static_cast<float>(alpha(x, y));
  return out;
}

struct Fan {
  double base = 0, angle = 90, cx = 0, cy = 0;
  int soft = 1;
  bool centring = false;
};

CpuImage fanOnCpu(const CpuImage& source, Fan f) {
  double s = f.base, w = f.angle;
  if (f.centring) {
    if (w < 0) s += 180;
    s -= w / 2;
  }
  if (w < 0) s += w, w = -w;
  if (w <= 0) return source;
  if (w >= 360) return masked(source, [](int, int) { return 0.0; });
  const auto n = [](double degrees) {
    return Offset{-std::sin(degrees * kRadian), std::cos(degrees * kRadian)};
  };
  const Offset ns = n(s), ne = n(s + w + 180), nl = n(s + w / 2 - 90);
  const double range = (f.soft + 1) / 2.0;
  const double limit =
      (std::max(90 - std::abs(w - 180), 0.0) / 45 + std::sin(w / 2 * kRadian) * 0.5 + 1) * range;
  return masked(source, [&](int x, int y) {
    const Offset p = fromCentre(source, x, y, f.cx, f.cy);
    const double ds = p.x * ns.x + p.y * ns.y, de = p.x * ne.x + p.y * ne.y;
    const double dl = p.x * nl.x + p.y * nl.y;
    if (w < 180)
      return 1 - smooth((range - std::max(ds, de)) / (2 * range)) * smooth((limit - dl) / limit);
    return smooth((std::min(ds, de) + range) / (2 * range)) * smooth((dl + limit) / limit);
  });
}

struct Line {
  double angle = 0;
  int width = 0;
  double cx = 0, cy = 0;
  int soft = 1;
};

CpuImage lineOnCpu(const CpuImage& source, Line l) {
  const Offset direction{std::sin(l.angle * kRadian), -std::cos(l.angle * kRadian)};
  const double length = l.soft + 1, range = l.width / 2.0;
  return masked(source, [&](int x, int y) {
    const Offset p = fromCentre(source, x, y, l.cx, l.cy);
    const double d = p.x * direction.x + p.y * direction.y;
    if (l.width == 0) return smooth((d + length / 2) / length);
    return smooth((range - (range < 0 ? -1 : 1) * std::abs(d)) / length);
  });
}

class AngleLineClipTest : public ::testing::Test {
 protected:
  void SetUp() override { world_.emplace(); }
  void TearDown() override { world_.reset(); }

  CpuImage runFan(const CpuImage& source, const Fan& f) {
    Effect::AngleClipFilter filter;
    filter.baseAngle.setValue(f.base, 0);
    filter.rangeAngle.setValue(f.angle, 0);
    filter.centerX.setValue(f.cx, 0);
    filter.centerY.setValue(f.cy, 0);
    filter.blur.setValue(f.soft, 0);
    filter.centerOnBase.value = f.centring;
    return TestSupport::runInPlace(filter, source);
  }
  CpuImage runLine(const CpuImage& source, const Line& l) {
    Effect::LineClipFilter filter;
    filter.angle.setValue(l.angle, 0);
    filter.width.setValue(l.width, 0);
    filter.centerX.setValue(l.cx, 0);
    filter.centerY.setValue(l.cy, 0);
    filter.blur.setValue(l.soft, 0);
    return TestSupport::runInPlace(filter, source);
  }

  std::optional<TestSupport::RenderWorld> world_;
};

CpuImage opaque(int width, int height) {
  return TestSupport::pictureOf(width, height, [](int x, int y) {
    return Rgba{0.1f + 0.05f * static_cast<float>(x % 5), 0.5f,
                0.25f * static_cast<float>(y % 4), 1};
  });
}

TEST_F(AngleLineClipTest, TheFanMatchesItsMask) {
  const struct {
    const char* what;
    Fan fan;
  } cases[] = {
      {"a quarter from the left", {}},
      {"narrow, soft, off centre", {.base = 30, .angle = 40, .cx = 3, .cy = -2, .soft = 4}},
      {"more than a half turn", {.base = -60, .angle = 250, .soft = 2}},
      {"reversed: counter-clockwise of the base", {.base = 0, .angle = -90, .soft = 0}},
      {"centred on the base", {.base = 90, .angle = 60, .soft = 1, .centring = true}},
      {"centred and reversed", {.base = 45, .angle = -200, .soft = 3, .centring = true}},
      {"just below a half turn", {.base = 10, .angle = 179.9, .soft = 2}},
      {"just above a half turn", {.base = 10, .angle = 180.1, .soft = 2}},
  };
  const CpuImage source = TestSupport::noisePicture(16, 12, 5);
  for (const auto& c : cases)
    EXPECT_TRUE(TestSupport::imagesNear(runFan(source, c.fan), fanOnCpu(source, c.fan))) << c.what;
}

TEST_F(AngleLineClipTest, TheFansEndsAndItsDirection) {
  const CpuImage source = opaque(16, 12);
  EXPECT_TRUE(TestSupport::imagesNear(runFan(source, {.angle = 0}), source)) << "no fan";
  EXPECT_TRUE(TestSupport::imagesNear(runFan(source, {.angle = 360}), CpuImage(16, 12)));
  EXPECT_TRUE(TestSupport::imagesNear(runFan(source, {.angle = -400}), CpuImage(16, 12)));

  // Base 0 starts at the left and turns clockwise: a quarter cuts the upper left, -90 the
  // lower left.
  const CpuImage quarter = runFan(source, {.angle = 90, .soft = 0});
  EXPECT_NEAR(quarter.get(1, 1)[3], 0.0f, 1e-3f);
  EXPECT_NEAR(quarter.get(1, 10)[3], 1.0f, 1e-3f);
  EXPECT_NEAR(quarter.get(14, 1)[3], 1.0f, 1e-3f);
  const CpuImage back = runFan(source, {.angle = -90, .soft = 0});
  EXPECT_NEAR(back.get(1, 10)[3], 0.0f, 1e-3f);
  EXPECT_NEAR(back.get(1, 1)[3], 1.0f, 1e-3f);

  // Across a half turn the second shader takes over without a jump in the mask.
  const CpuImage below = runFan(source, {.base = 10, .angle = 179.95, .soft = 3});
  const CpuImage above = runFan(source, {.base = 10, .angle = 180.05, .soft = 3});
  EXPECT_TRUE(TestSupport::imagesNear(below, above, 0.02f));

  // Centred on the base, the cut lies symmetric about it: a mirror image across the
  // horizontal axis for a base pointing left.
  const CpuImage centred = runFan(source, {.angle = 100, .soft = 2, .centring = true});
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 16; ++x)
      EXPECT_NEAR(centred.get(x, y)[3], centred.get(x, 11 - y)[3], 2e-3f) << x << ", " << y;
}

TEST_F(AngleLineClipTest, TheLineMatchesItsMask) {
  const struct {
    const char* what;
    Line line;
  } cases[] = {
      {"half-plane, upper side kept", {}},
      {"half-plane turned and moved", {.angle = 35, .cx = 2, .cy = 1, .soft = 3}},
      {"band kept", {.angle = 90, .width = 6, .soft = 1}},
      {"band cut away", {.angle = -20, .width = -6, .cx = -1, .soft = 2}},
      {"no softness", {.angle = 180, .soft = 0}},
  };
  const CpuImage source = TestSupport::noisePicture(16, 12, 9);
  for (const auto& c : cases)
    EXPECT_TRUE(TestSupport::imagesNear(runLine(source, c.line), lineOnCpu(source, c.line)))
        << c.what;
}

TEST_F(AngleLineClipTest, TheLineKeepsTheUpperHalfOrTheBand) {
  const CpuImage source = opaque(20, 20);
  // The line through the centres of row 10: the rows above it kept, those below cut, and
  // without softness the edge still one pixel wide, half covered on the line.
  const CpuImage upper = runLine(source, {.cy = 0.5, .soft = 0});
  for (const int y : {0, 8, 9}) EXPECT_NEAR(upper.get(5, y)[3], 1.0f, 1e-3f) << y;
  EXPECT_NEAR(upper.get(5, 10)[3], 0.5f, 2e-3f);
  for (const int y : {11, 12, 19}) EXPECT_NEAR(upper.get(5, y)[3], 0.0f, 1e-3f) << y;

  // A band 10 wide around the vertical line: kept inside, cut outside; negative: reversed.
  const CpuImage band = runLine(source, {.angle = 90, .width = 10, .soft = 0});
  const CpuImage gap = runLine(source, {.angle = 90, .width = -10, .soft = 0});
  for (const int x : {7, 10, 12}) {
    EXPECT_NEAR(band.get(x, 3)[3], 1.0f, 1e-3f) << x;
    EXPECT_NEAR(gap.get(x, 3)[3], 0.0f, 1e-3f) << x;
  }
  for (const int x : {0, 3, 17, 19}) {
    EXPECT_NEAR(band.get(x, 3)[3], 0.0f, 1e-3f) << x;
    EXPECT_NEAR(gap.get(x, 3)[3], 1.0f, 1e-3f) << x;
  }
}

}  // namespace
